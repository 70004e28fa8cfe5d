// The size label's tooltip. FormatSizeShort over arbitrary captions never fails and never gives
// more than a number of four characters and a unit letter (only T may be longer); over the captions
// the inspection builds, the short text reads back as the size, cut and never rounded up.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>

#include "core/NumberReading.h"
#include "core/SizeText.h"
#include "core/modFileAttribute.h"
#include "fuzz/FuzzCheck.h"
#include "tests/sim/SimLocale.h"

namespace timrose {
namespace {

using fuzz::Check;
using fuzz::Quoted;

sim::SimLocale PickLocale(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      return sim::SimLocale::ZhCN();
    case 1:
      return sim::SimLocale::EnUS();
    default:
      return sim::SimLocale::DeDE();
  }
}

// The unit's place in B K M G T, or -1 when the text does not end in one.
int UnitIndex(const Text& text) {
  static constexpr char16_t kUnits[] = u"BKMGT";
  if (text.empty()) return -1;
  for (int i = 0; i < 5; ++i) {
    if (text.back() == kUnits[i]) return i;
  }
  return -1;
}

void CheckShape(const Text& caption, const Text& text, const std::string& where) {
  if (text.empty()) return;
  const int unit = UnitIndex(text);
  Check(unit >= 0, where + ": no unit letter at the end");
  Check(unit == 4 || text.size() <= 5, where + ": more than four characters before the unit");
  Check(caption.size() >= 4, where + ": a text for a caption shorter than four characters");
}

void ArbitraryCaption(FuzzedDataProvider& in) {
  sim::SimLocale locale = PickLocale(in);
  static constexpr char16_t kAlphabet[] = u"大小: 字节0123456789.,-+eE ";
  Text caption;
  const size_t length = in.ConsumeIntegralInRange<size_t>(0, 60);
  const bool wild = in.ConsumeBool();
  for (size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) {
    caption += wild ? in.ConsumeIntegral<char16_t>()
                    : kAlphabet[in.ConsumeIntegralInRange<size_t>(0, std::size(kAlphabet) - 2)];
  }
  const Text text = FormatSizeShort(locale, caption);
  CheckShape(caption, text, "FormatSizeShort(" + Quoted(caption) + ") gave " + Quoted(text));
}

void InspectionCaption(FuzzedDataProvider& in) {
  sim::SimLocale locale = PickLocale(in);
  // Sizes of every magnitude up to the largest the store reads.
  const int bits = in.ConsumeIntegralInRange<int>(0, 50);
  const int64_t size = std::min<int64_t>(in.ConsumeIntegralInRange<int64_t>(0, (int64_t{1} << bits) * 2 - 1),
                                         kMaxReadableFileSize);
  const Text caption = u"大小: " + DecimalText(size) + u" 字节";
  const Text text = FormatSizeShort(locale, caption);
  const std::string where = "FormatSizeShort(" + Quoted(caption) + ") gave " + Quoted(text);
  Check(!text.empty(), where + ": empty for a real size");
  CheckShape(caption, text, where);
  Text number = text.substr(0, text.size() - 1);
  for (char16_t& c : number) {
    if (c == locale.profile.decimal) c = u'.';
  }
  const double shown = Val(number) * std::pow(1024.0, UnitIndex(text));
  const double exact = static_cast<double>(size);
  if (size <= 1024) {
    Check(shown == exact, where + ": a size up to 1024 is not shown whole");
  } else {
    // Cut to three significant digits, through a single-precision number on the way.
    Check(shown <= exact * (1 + 1e-6) && shown > exact * 0.9899, where + ": does not read back as the size");
  }
}

}  // namespace
}  // namespace timrose

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    if (in.ConsumeBool()) {
      timrose::ArbitraryCaption(in);
    } else {
      timrose::InspectionCaption(in);
    }
  }
  return 0;
}
