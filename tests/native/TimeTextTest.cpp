#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "core/Error.h"
#include "core/TimeText.h"
#include "tests/Support.h"
#include "tests/sim/SimLocale.h"

namespace timrose {
namespace {

using sim::LocaleProfile;
using sim::SimLocale;

LocaleProfile ChineseDash24() {
  return {u"yyyy-M-d", u"H:mm:ss", u"上午", u"下午"};
}
LocaleProfile Chinese12Padded() {
  return {u"yyyy-MM-dd", u"hh:mm:ss tt", u"上午", u"下午"};
}
LocaleProfile ChineseDesignatorFirst() {
  return {u"yyyy-M-d", u"tt h:mm:ss", u"上午", u"下午"};
}
LocaleProfile DottedDesignators() {
  return {u"M/d/yyyy", u"h:mm:ss tt", u"a.m.", u"p.m."};
}
LocaleProfile LowerCaseDesignators() {
  return {u"M/d/yyyy", u"h:mm:ss tt", u"am", u"pm"};
}
LocaleProfile ShortLongTime() {
  return {u"d/M/yyyy", u"h:mm tt", u"AM", u"PM"};
}

struct Row {
  LocaleProfile profile;
  Date date;
  const char16_t* platformText;
  const char16_t* result;
};

void CheckRows(const std::vector<Row>& rows) {
  for (const auto& row : rows) {
    SCOPED_TRACE(ToUtf8(row.platformText));
    SimLocale locale(row.profile);
    ASSERT_EQ(locale.DateText(row.date), row.platformText);
    const Text text = FormatTime24(locale, row.date);
    EXPECT_EQ(text, row.result);
    EXPECT_EQ(locale.CDate(text), row.date) << ToUtf8(text);
  }
}

TEST(FormatTime24, WorkedResults) {
  const Date afternoon = Date::FromParts(2011, 3, 3, 15, 4, 5);
  CheckRows({
      {ChineseDash24(), afternoon, u"2011-3-3 15:04:05", u"2011-3-3 15:04:05"},
      {SimLocale::EnUS().profile, afternoon, u"3/3/2011 3:04:05 PM", u"3/3/2011 15:04:05"},
      {Chinese12Padded(), Date::FromParts(2011, 3, 3, 23, 4, 5), u"2011-03-03 11:04:05 下午",
       u"2011-03-03 23:04:05"},
      {Chinese12Padded(), afternoon, u"2011-03-03 03:04:05 下午", u"2011-03-03 15:04:05"},
      {SimLocale::EnUS().profile, Date::FromParts(2011, 3, 3, 12, 30, 0), u"3/3/2011 12:30:00 PM",
       u"3/3/2011 12:30:00"},
      {SimLocale::EnUS().profile, Date::FromParts(2011, 3, 3, 9, 15, 0), u"3/3/2011 9:15:00 AM",
       u"3/3/2011 9:15:00"},
      {ChineseDesignatorFirst(), afternoon, u"2011-3-3 下午 3:04:05", u"2011-3-3 下午 3:04:05"},
      {ChineseDash24(), Date::FromParts(2011, 3, 3), u"2011-3-3", u"2011-3-3"},
  });
}

TEST(FormatTime24, TwentyFourHourFormatsAndMidnightComeBackAsThePlatformWroteThem) {
  CheckRows({
      {SimLocale::ZhCN().profile, Date::FromParts(2011, 3, 3, 0, 30, 0), u"2011/3/3 0:30:00",
       u"2011/3/3 0:30:00"},
      {SimLocale::DeDE().profile, Date::FromParts(2011, 3, 3, 23, 59, 59), u"03.03.2011 23:59:59",
       u"03.03.2011 23:59:59"},
      {SimLocale::DeDE().profile, Date::FromParts(2011, 3, 3), u"03.03.2011", u"03.03.2011"},
      {SimLocale::EnUS().profile, Date::FromParts(2011, 3, 3), u"3/3/2011", u"3/3/2011"},
      {Chinese12Padded(), Date::FromParts(2011, 3, 3), u"2011-03-03", u"2011-03-03"},
  });
}

TEST(FormatTime24, AfternoonHoursGainTwelveWithoutALeadingZeroAndNoonStaysTwelve) {
  CheckRows({
      {Chinese12Padded(), Date::FromParts(2011, 3, 3, 13, 0, 0), u"2011-03-03 01:00:00 下午",
       u"2011-03-03 13:00:00"},
      {Chinese12Padded(), Date::FromParts(2011, 3, 3, 12, 59, 59), u"2011-03-03 12:59:59 下午",
       u"2011-03-03 12:59:59"},
      {SimLocale::EnUS().profile, Date::FromParts(2011, 12, 12, 12, 0, 0), u"12/12/2011 12:00:00 PM",
       u"12/12/2011 12:00:00"},
      // The hour's search text must not catch the day or month written with the same digits.
      {SimLocale::EnUS().profile, Date::FromParts(2011, 3, 3, 15, 3, 3), u"3/3/2011 3:03:03 PM",
       u"3/3/2011 15:03:03"},
      {Chinese12Padded(), Date::FromParts(2011, 3, 3, 11, 4, 5), u"2011-03-03 11:04:05 上午",
       u"2011-03-03 11:04:05"},
  });
}

TEST(FormatTime24, HourTwelveInTheMorningIsWrittenAsHourZero) {
  CheckRows({
      {SimLocale::EnUS().profile, Date::FromParts(2011, 3, 3, 0, 30, 0), u"3/3/2011 12:30:00 AM",
       u"3/3/2011 0:30:00"},
      {Chinese12Padded(), Date::FromParts(2011, 3, 3, 0, 0, 1), u"2011-03-03 12:00:01 上午",
       u"2011-03-03 0:00:01"},
      {LowerCaseDesignators(), Date::FromParts(2011, 3, 3, 0, 59, 0), u"3/3/2011 12:59:00 am",
       u"3/3/2011 0:59:00"},
      {ChineseDesignatorFirst(), Date::FromParts(2011, 3, 3, 0, 5, 0), u"2011-3-3 上午 12:05:00",
       u"2011-3-3 上午 12:05:00"},
  });
}

TEST(FormatTime24, TheLocalesOwnDesignatorsGoHoweverTheyAreSpelt) {
  CheckRows({
      {LowerCaseDesignators(), Date::FromParts(2011, 3, 3, 15, 4, 5), u"3/3/2011 3:04:05 pm",
       u"3/3/2011 15:04:05"},
      {LowerCaseDesignators(), Date::FromParts(2011, 3, 3, 12, 4, 5), u"3/3/2011 12:04:05 pm",
       u"3/3/2011 12:04:05"},
      {LowerCaseDesignators(), Date::FromParts(2011, 3, 3, 9, 4, 5), u"3/3/2011 9:04:05 am",
       u"3/3/2011 9:04:05"},
      {DottedDesignators(), Date::FromParts(2011, 3, 3, 15, 4, 5), u"3/3/2011 3:04:05 p.m.",
       u"3/3/2011 15:04:05"},
      {DottedDesignators(), Date::FromParts(2011, 3, 3, 0, 4, 5), u"3/3/2011 12:04:05 a.m.",
       u"3/3/2011 0:04:05"},
      // The locale's word wins over the English one it happens to spell.
      {{u"M/d/yyyy", u"h:mm:ss tt", u"PM", u"AM"},
       Date::FromParts(2011, 3, 3, 3, 4, 5),
       u"3/3/2011 3:04:05 PM",
       u"3/3/2011 3:04:05"},
      // A 24-hour clock that still writes a designator loses it and keeps its hour.
      {{u"yyyy/M/d", u"H:mm:ss tt", u"上午", u"下午"},
       Date::FromParts(2011, 3, 3, 12, 4, 5),
       u"2011/3/3 12:04:05 下午",
       u"2011/3/3 12:04:05"},
      // A word after the seconds that names no half of the day goes too.
      {{u"dd.MM.yyyy", u"HH:mm:ss 'Uhr'", u"", u""},
       Date::FromParts(2011, 3, 3, 15, 4, 5),
       u"03.03.2011 15:04:05 Uhr",
       u"03.03.2011 15:04:05"},
      // Without seconds the designator is not where the rewrite looks for it.
      {ShortLongTime(), Date::FromParts(2011, 3, 3, 15, 4, 0), u"3/3/2011 3:04 PM", u"3/3/2011 3:04 PM"},
  });
}

// A platform that cannot say what its designators are.
class SilentDesignators : public SimLocale {
 public:
  explicit SilentDesignators(LocaleProfile profile) : SimLocale(std::move(profile)) {}
  TimeDesignators Designators() override { return {}; }
};

// Without them an unknown word goes only where the time reads the same without it: in the morning.
TEST(FormatTime24, WithoutTheLocalesWordsAnAfternoonInAnUnknownWordKeepsIt) {
  const struct {
    LocaleProfile profile;
    Date date;
    const char16_t* result;
  } rows[] = {
      {SimLocale::EnUS().profile, Date::FromParts(2011, 3, 3, 15, 4, 5), u"3/3/2011 15:04:05"},
      {SimLocale::EnUS().profile, Date::FromParts(2011, 3, 3, 0, 4, 5), u"3/3/2011 0:04:05"},
      {Chinese12Padded(), Date::FromParts(2011, 3, 3, 15, 4, 5), u"2011-03-03 15:04:05"},
      {Chinese12Padded(), Date::FromParts(2011, 3, 3, 0, 0, 1), u"2011-03-03 0:00:01"},
      {LowerCaseDesignators(), Date::FromParts(2011, 3, 3, 15, 4, 5), u"3/3/2011 3:04:05 pm"},
      {LowerCaseDesignators(), Date::FromParts(2011, 3, 3, 9, 4, 5), u"3/3/2011 9:04:05"},
      {DottedDesignators(), Date::FromParts(2011, 3, 3, 0, 4, 5), u"3/3/2011 12:04:05 a.m."},
  };
  for (const auto& row : rows) {
    SilentDesignators locale(row.profile);
    const Text text = FormatTime24(locale, row.date);
    EXPECT_EQ(text, row.result);
    EXPECT_EQ(locale.CDate(text), row.date) << ToUtf8(text);
  }
}

// A platform whose date text and date reading fail as the tests say.
class FailingLocale : public SimLocale {
 public:
  FailingLocale() : SimLocale(SimLocale::EnUS()) {}
  std::function<void()> failText = [] {};
  std::function<void()> failReading = [] { RaiseError(kErrTypeMismatch); };
  Text DateText(const Date& date) override {
    failText();
    return SimLocale::DateText(date);
  }
  Date CDate(const Text& text) override {
    failReading();
    return SimLocale::CDate(text);
  }
};

TEST(FormatTime24, RaisedErrorsInsideGiveThePlatformTextOutOfMemoryLeavesAsSeven) {
  const Date date = Date::FromParts(2011, 3, 3, 15, 4, 5);
  FailingLocale locale;
  EXPECT_EQ(FormatTime24(locale, date), u"3/3/2011 3:04:05 PM");
  locale.failText = [] { RaiseError(kErrOverflow); };
  EXPECT_EQ(FormatTime24(locale, date), u"");

  for (auto* fail : {&locale.failText, &locale.failReading}) {
    locale.failText = [] {};
    locale.failReading = [] {};
    *fail = [] { throw std::bad_alloc(); };
    EXPECT_EQ(RaisedNumber([&] { FormatTime24(locale, date); }), kErrOutOfMemory);
    // A fault of the program is no failure of the text: it is not hidden behind the fallback.
    *fail = [] { throw std::out_of_range("a fault"); };
    EXPECT_THROW(FormatTime24(locale, date), std::out_of_range);
  }
}

// Every text a time box gets must name the moment the file holds, in every regional format.
TEST(FormatTime24, EveryResultReadsBackAsTheSameDate) {
  const std::vector<LocaleProfile> profiles = {
      SimLocale::ZhCN().profile, SimLocale::EnUS().profile, SimLocale::DeDE().profile,
      ChineseDash24(),           Chinese12Padded(),         ChineseDesignatorFirst(),
      DottedDesignators(),       LowerCaseDesignators(),    {u"yyyy/M/d", u"tt hh:mm:ss", u"AM", u"PM"},
  };
  std::vector<Date> dates;
  for (int hour = 0; hour < 24; ++hour) {
    for (int minute : {0, 1, 30, 59}) dates.push_back(Date::FromParts(2011, 3, 3, hour, minute, hour % 60));
  }
  for (int64_t s = Date::kMinSeconds; s <= Date::kMaxSeconds; s += 86400 * 3651 + 3607 * 7 + 13) {
    dates.push_back(Date::FromSeconds(s));
  }
  dates.push_back(Date::FromSeconds(Date::kMinSeconds));
  dates.push_back(Date::FromSeconds(Date::kMaxSeconds));
  dates.push_back(Date::FromParts(9999, 12, 31, 12, 0, 0));
  dates.push_back(Date::FromParts(100, 1, 1, 0, 30, 0));
  dates.push_back(Date());
  for (const auto& profile : profiles) {
    SimLocale locale(profile);
    for (const Date& d : dates) {
      const Text text = FormatTime24(locale, d);
      ASSERT_TRUE(locale.IsDate(text)) << ToUtf8(profile.longTime) << " " << ToUtf8(text);
      ASSERT_EQ(locale.CDate(text), d) << ToUtf8(profile.longTime) << " " << ToUtf8(text);
    }
  }
}

}  // namespace
}  // namespace timrose
