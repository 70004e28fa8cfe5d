// The time boxes' text. FormatTime24 over any Date in many regional formats: what it returns is
// what the apply later reads back, so it must name the very same second. And the date test and
// conversion over arbitrary texts: the apply converts every text that passed the test, so a text
// that passes must convert, and one that fails must raise 13 or 6 and nothing else.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <iterator>
#include <string>

#include "core/Date.h"
#include "core/Error.h"
#include "core/TimeText.h"
#include "fuzz/FuzzCheck.h"
#include "tests/Support.h"
#include "tests/sim/SimLocale.h"

namespace timrose {
namespace {

using fuzz::Check;
using fuzz::Quoted;

constexpr std::array<const char16_t*, 8> kShortDates = {
    u"yyyy/M/d", u"M/d/yyyy", u"dd.MM.yyyy", u"yyyy-MM-dd",
    u"yyyy-M-d", u"d/M/yyyy", u"MM/dd/yyyy", u"yyyy.M.d",
};
// A 24-hour clock may carry a designator too ("H:mm:ss tt" gives "16:07:01 PM").
constexpr std::array<const char16_t*, 7> kLongTimes = {
    u"H:mm:ss", u"HH:mm:ss", u"h:mm:ss tt", u"hh:mm:ss tt", u"tt h:mm:ss", u"tt hh:mm:ss", u"H:mm:ss tt",
};
struct Designators {
  const char16_t* am;
  const char16_t* pm;
};
// Spellings the program knows and spellings it does not; a 12-hour clock always needs two
// different, non-empty designators, or the regional text itself could not tell 3 AM from 3 PM.
constexpr std::array<Designators, 9> kDesignators = {{
    {u"AM", u"PM"},
    {u"上午", u"下午"},
    {u"a.m.", u"p.m."},
    {u"am", u"pm"},
    {u"午前", u"午後"},
    {u"vorm.", u"nachm."},
    {u"AM", u"Pm"},
    {u"PM", u"AM"},
    {u"", u""},
}};

bool TwelveHour(const Text& longTime) {
  return longTime.find(u'h') != Text::npos;
}

sim::SimLocale PickLocale(FuzzedDataProvider& in) {
  sim::LocaleProfile p;
  p.shortDate = in.PickValueInArray(kShortDates);
  p.longTime = in.PickValueInArray(kLongTimes);
  const Designators d = in.PickValueInArray(kDesignators);
  p.am = d.am;
  p.pm = d.pm;
  if (TwelveHour(p.longTime) && p.am == p.pm) {
    p.am = u"AM";
    p.pm = u"PM";
  }
  p.decimal = in.ConsumeBool() ? u'.' : u',';
  p.thousands = p.decimal == u'.' ? u',' : u'.';
  return sim::SimLocale(p);
}

Date PickDate(FuzzedDataProvider& in) {
  // Any second of the range, or a day of it at one of the hours where 12-hour clocks go wrong.
  const int64_t seconds = in.ConsumeIntegralInRange<int64_t>(Date::kMinSeconds, Date::kMaxSeconds);
  if (in.ConsumeBool()) return Date::FromSeconds(seconds);
  static constexpr int64_t kTimes[] = {0,
                                       1,
                                       30 * 60,
                                       3600,
                                       11 * 3600 + 3599,
                                       12 * 3600,
                                       12 * 3600 + 1830,
                                       13 * 3600,
                                       15 * 3600 + 245,
                                       21 * 3600,
                                       23 * 3600 + 3599};
  const int64_t day = seconds - (seconds - Date::kMinSeconds) % Date::kSecondsPerDay;
  return Date::FromSeconds(day + in.PickValueInArray(kTimes));
}

void FormatTime24NamesTheSameSecond(FuzzedDataProvider& in) {
  sim::SimLocale locale = PickLocale(in);
  const Date date = PickDate(in);
  const Text text = FormatTime24(locale, date);
  const std::string where = "FormatTime24(" + ToIsoText(date) + ") in \"" + ToUtf8(locale.profile.shortDate) +
                            " " + ToUtf8(locale.profile.longTime) + "\" " + ToUtf8(locale.profile.am) + "/" +
                            ToUtf8(locale.profile.pm) + " gave " + Quoted(text);
  Check(!text.empty() && text.front() != u' ' && text.back() != u' ', where + ": empty or outer spaces");
  Check(locale.IsDate(text), where + ": not a date to the date test");
  Date back;
  const int raised = RaisedNumber([&] { back = locale.CDate(text); });
  Check(raised == 0, where + ": conversion raised " + std::to_string(raised));
  Check(back == date, where + ": reads back as " + ToIsoText(back));

  // A designator after the seconds is the locale's own, so it always goes: with a one-letter hour
  // the text is exactly the one a 24-hour clock writes.
  const Text& longTime = locale.profile.longTime;
  if (longTime.size() < 3 || longTime.compare(longTime.size() - 3, 3, u" tt") != 0) return;
  for (const Text& designator : {locale.profile.am, locale.profile.pm}) {
    Check(designator.empty() || text.find(designator) == Text::npos, where + ": kept " + Quoted(designator));
  }
  if (longTime == u"h:mm:ss tt" || longTime == u"H:mm:ss tt") {
    sim::LocaleProfile clock24 = locale.profile;
    clock24.longTime = u"H:mm:ss";
    const Text expected = sim::SimLocale(clock24).DateText(date);
    Check(text == expected, where + ": not the 24-hour text " + Quoted(expected));
  }
}

Text ArbitraryText(FuzzedDataProvider& in) {
  // Mostly characters that date texts are made of, sometimes any UTF-16 unit.
  static constexpr char16_t kAlphabet[] = u"0123456789 :/-.,年月日午前後上下AMPamp\t";
  Text text;
  const size_t length = in.ConsumeIntegralInRange<size_t>(0, 40);
  const bool wild = in.ConsumeBool();
  for (size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) {
    text += wild ? in.ConsumeIntegral<char16_t>()
                 : kAlphabet[in.ConsumeIntegralInRange<size_t>(0, std::size(kAlphabet) - 2)];
  }
  return text;
}

void DateTestAgreesWithConversion(FuzzedDataProvider& in) {
  sim::SimLocale locale = PickLocale(in);
  const Text text = ArbitraryText(in);
  const std::string where = Quoted(text) + " in \"" + ToUtf8(locale.profile.shortDate) + " " +
                            ToUtf8(locale.profile.longTime) + "\"";
  const bool isDate = locale.IsDate(text);
  Date date;
  const int raised = RaisedNumber([&] { date = locale.CDate(text); });
  if (isDate) {
    Check(raised == 0, where + ": passes the date test but its conversion raised " + std::to_string(raised));
  } else {
    Check(raised == kErrTypeMismatch || raised == kErrOverflow,
          where + ": fails the date test but its conversion gave " +
              (raised == 0 ? ToIsoText(date) : "error " + std::to_string(raised)));
  }
  if (raised != 0) return;
  // What the user typed comes back from the next inspection as the platform's own text.
  const Text own = locale.DateText(date);
  Check(locale.CDate(own) == date, where + ": its date's own text " + Quoted(own) + " names another date");
}

}  // namespace
}  // namespace timrose

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    if (in.ConsumeBool()) {
      timrose::FormatTime24NamesTheSameSecond(in);
    } else {
      timrose::DateTestAgreesWithConversion(in);
    }
  }
  return 0;
}
