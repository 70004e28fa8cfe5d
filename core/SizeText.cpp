#include "core/SizeText.h"

#include <cfloat>
#include <cmath>
#include <new>

#include "core/Error.h"
#include "core/NumberReading.h"

namespace timrose {
namespace {

constexpr int kCaptionPrefix = 4;  // "大小: "
constexpr float kStep = 1024.0f;
constexpr double kThreeDigitCutOff = 100;

float ToSingle(double value) {
  if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) RaiseError(kErrOverflow);
  return static_cast<float>(value);
}

// The first characters of a number's text, cut and never rounded. Three characters hold a whole
// part of three digits; a whole part of four (1000 up to 1024 in a unit) keeps all four, since
// three of them would show a tenth of the value.
Text CutWhole(const Text& text) {
  const Text four = text.substr(0, 4);
  if (Val(four) >= 1000) return four;
  return text.substr(0, 3);
}

}  // namespace

Text FormatSizeShort(ILocaleText& locale, const Text& caption) {
  try {
    const long long k = static_cast<long long>(caption.size()) - kCaptionPrefix;
    if (k < 0) return Text();
    float n = ToSingle(Val(TextView(caption).substr(caption.size() - static_cast<size_t>(k))));
    Text s = CutWhole(locale.SingleText(n)) + u"B";
    for (const char16_t* unit : {u"K", u"M", u"G", u"T"}) {
      if (!(n > kStep)) continue;
      const float t = n / kStep;
      s = locale.SingleText(t).substr(0, 4);
      if (Val(s) > kThreeDigitCutOff) {
        s = unit[0] == u'T' ? locale.SingleText(t) : CutWhole(s);
      }
      s += unit;
      n = n / kStep;
    }
    return s;
  } catch (const RaisedError&) {
    return Text();
  } catch (const std::bad_alloc&) {
    // Out of memory is no failure of the text: it reaches the handler as itself.
    RaiseError(kErrOutOfMemory);
  }
}

}  // namespace timrose
