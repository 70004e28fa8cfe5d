#include <gtest/gtest.h>

#include "core/Error.h"
#include "tests/ContractRows.h"
#include "tests/Support.h"
#include "tests/sim/SimLocale.h"
#include "tests/sim/SimTime.h"

namespace timrose::sim {
namespace {

SimLocale LocaleOf(locale_rows::Region region) {
  switch (region) {
    case locale_rows::Region::ZhCN:
      return SimLocale::ZhCN();
    case locale_rows::Region::EnUS:
      return SimLocale::EnUS();
    case locale_rows::Region::DeDE:
      break;
  }
  return SimLocale::DeDE();
}

// The rows the real locale gives under Windows too.
TEST(SimLocale, GivesWhatTheSystemGivesInEachRegion) {
  for (const locale_rows::Region region : locale_rows::kRegions) {
    SimLocale locale = LocaleOf(region);
    locale_rows::ExpectRowsOf(region, locale, false);
  }
}

TEST(SimTime, ConvertsAsTheSystemDoes) {
  SimTime time;
  time_rows::ExpectRows(time);
}

TEST(SimLocale, ATwelveHourChinesePatternWritesItsDesignatorsAndReadsThemBack) {
  SimLocale zh({u"yyyy-MM-dd", u"hh:mm:ss tt", u"上午", u"下午"});
  for (const auto& [date, text] :
       {std::pair{Date::FromParts(2011, 3, 3, 23, 4, 5), u"2011-03-03 11:04:05 下午"},
        std::pair{Date::FromParts(2011, 3, 3, 0, 4, 5), u"2011-03-03 12:04:05 上午"}}) {
    EXPECT_EQ(zh.DateText(date), text);
    EXPECT_EQ(zh.CDate(text), date);
  }
}

// A 24-hour regional time may still carry a designator; its own text must read back.
TEST(SimLocale, AcceptsAnAfternoonDesignatorBesideA24HourTime) {
  SimLocale zh = SimLocale::ZhCN();
  zh.profile.longTime = u"H:mm:ss tt";
  const Date d = Date::FromParts(2011, 3, 3, 14, 27, 6);
  EXPECT_EQ(zh.DateText(d), u"2011/3/3 14:27:06 下午");
  EXPECT_EQ(zh.CDate(zh.DateText(d)), d);
  EXPECT_EQ(zh.CDate(u"2011/3/3 13:00 PM"), Date::FromParts(2011, 3, 3, 13, 0, 0));
}

TEST(SimLocale, GroupsTheSmallestWholeNumber) {
  EXPECT_EQ(SimLocale::ZhCN().GroupedWholeText(INT64_MIN), u"-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace timrose::sim
