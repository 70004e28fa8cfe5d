#include <gtest/gtest.h>

#include "core/Error.h"
#include "tests/Support.h"
#include "tests/sim/SimLocale.h"

namespace timrose::sim {
namespace {

SimLocale ChineseTwelveHour() {
  return SimLocale({u"yyyy-MM-dd", u"hh:mm:ss tt", u"上午", u"下午"});
}

TEST(SimLocale, DateTextOfTheThreeRegionsAndMidnightAsTheDateAlone) {
  struct Case {
    SimLocale locale;
    Date date;
    const char16_t* text;
  } cases[] = {
      {SimLocale::ZhCN(), Date::FromParts(2011, 3, 3, 15, 4, 5), u"2011/3/3 15:04:05"},
      {SimLocale::ZhCN(), Date::FromParts(2011, 3, 3, 0, 0, 1), u"2011/3/3 0:00:01"},
      {SimLocale::ZhCN(), Date::FromParts(2011, 3, 3), u"2011/3/3"},
      {SimLocale::ZhCN(), Date::FromParts(100, 1, 1, 23, 59, 59), u"0100/1/1 23:59:59"},
      {SimLocale::EnUS(), Date::FromParts(2011, 3, 3, 15, 4, 5), u"3/3/2011 3:04:05 PM"},
      {SimLocale::EnUS(), Date::FromParts(2011, 3, 3, 0, 30, 0), u"3/3/2011 12:30:00 AM"},
      {SimLocale::EnUS(), Date::FromParts(2011, 12, 31, 12, 0, 0), u"12/31/2011 12:00:00 PM"},
      {SimLocale::DeDE(), Date::FromParts(2011, 3, 3, 9, 4, 5), u"03.03.2011 09:04:05"},
      {SimLocale::DeDE(), Date::FromParts(9999, 12, 31), u"31.12.9999"},
      {ChineseTwelveHour(), Date::FromParts(2011, 3, 3, 23, 4, 5), u"2011-03-03 11:04:05 下午"},
      {ChineseTwelveHour(), Date::FromParts(2011, 3, 3, 0, 4, 5), u"2011-03-03 12:04:05 上午"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(c.locale.DateText(c.date), c.text);
    EXPECT_EQ(c.locale.CDate(c.text), c.date);
  }
}

TEST(SimLocale, ReadsWhatUsersTypeInTheirRegionalFormat) {
  struct Case {
    SimLocale locale;
    const char16_t* text;
    Date date;
  } cases[] = {
      {SimLocale::ZhCN(), u"2011/3/3 15:04", Date::FromParts(2011, 3, 3, 15, 4, 0)},
      {SimLocale::ZhCN(), u"2011-03-03 5:04:05", Date::FromParts(2011, 3, 3, 5, 4, 5)},
      {SimLocale::ZhCN(), u"  2011/3/3  ", Date::FromParts(2011, 3, 3)},
      {SimLocale::ZhCN(), u"2011/3/3 下午 3:04:05", Date::FromParts(2011, 3, 3, 15, 4, 5)},
      {SimLocale::ZhCN(), u"2011/3/3 上午12:04:05", Date::FromParts(2011, 3, 3, 0, 4, 5)},
      {SimLocale::ZhCN(), u"2011/3/3 3:04:05 PM", Date::FromParts(2011, 3, 3, 15, 4, 5)},
      {SimLocale::ZhCN(), u"15:04:05", Date::FromParts(1899, 12, 30, 15, 4, 5)},
      {SimLocale::EnUS(), u"3/3/2011 15:04:05", Date::FromParts(2011, 3, 3, 15, 4, 5)},
      {SimLocale::EnUS(), u"3/3/2011 12:30 am", Date::FromParts(2011, 3, 3, 0, 30, 0)},
      {SimLocale::EnUS(), u"3/3/2011 12:30:00PM", Date::FromParts(2011, 3, 3, 12, 30, 0)},
      {SimLocale::EnUS(), u"3/3/11", Date::FromParts(2011, 3, 3)},
      {SimLocale::EnUS(), u"2011-03-04", Date::FromParts(2011, 3, 4)},
      {SimLocale::DeDE(), u"4.3.2011 7:08", Date::FromParts(2011, 3, 4, 7, 8, 0)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_TRUE(c.locale.IsDate(c.text));
    EXPECT_EQ(c.locale.CDate(c.text), c.date);
  }
}

TEST(SimLocale, RefusesNonDatesWith13AndDatesOutsideTheRangeWith6) {
  struct Case {
    const char16_t* text;
    int error;
  } cases[] = {
      {u"", kErrTypeMismatch},
      {u"   ", kErrTypeMismatch},
      {u"abc", kErrTypeMismatch},
      {u"2011/2/30", kErrTypeMismatch},
      {u"2011/13/1", kErrTypeMismatch},
      {u"2011/3/3 24:00", kErrTypeMismatch},
      {u"2011/3/3 13:00 AM", kErrTypeMismatch},
      {u"2011/3/3 1:60", kErrTypeMismatch},
      {u"2011/3/3 x", kErrTypeMismatch},
      {u"2011/3/3 15:04:05 6", kErrTypeMismatch},
      {u"2011/3", kErrTypeMismatch},
      {u"10000-01-01", kErrOverflow},
      {u"0099/12/31", kErrOverflow},
      {u"99999999999/1/1", kErrOverflow},
  };
  SimLocale zh = SimLocale::ZhCN();
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_FALSE(zh.IsDate(c.text));
    EXPECT_EQ(RaisedNumber([&] { zh.CDate(c.text); }), c.error);
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

TEST(SimLocale, SingleTextHasSevenSignificantDigitsAndTheRegionalSeparator) {
  struct Case {
    float value;
    const char16_t* zh;
    const char16_t* de;
  } cases[] = {
      {0.0f, u"0", u"0"},
      {-0.0f, u"0", u"0"},
      {1024.0f, u"1024", u"1024"},
      {1500.0f / 1024.0f, u"1.464844", u"1,464844"},
      {12345.0f / 1024.0f, u"12.05566", u"12,05566"},
      {3000000000.0f / 1073741824.0f, u"2.793968", u"2,793968"},
      {0.5f, u"0.5", u"0,5"},
      {-12.25f, u"-12.25", u"-12,25"},
      {1048575.0f, u"1048575", u"1048575"},
      {12345678.0f, u"1.234568E+07", u"1,234568E+07"},
      {0.00001f, u"1E-05", u"1E-05"},
  };
  SimLocale zh = SimLocale::ZhCN();
  SimLocale de = SimLocale::DeDE();
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.zh));
    EXPECT_EQ(zh.SingleText(c.value), c.zh);
    EXPECT_EQ(de.SingleText(c.value), c.de);
  }
}

TEST(SimLocale, GroupedWholeNumbersReadBackUnchanged) {
  SimLocale zh = SimLocale::ZhCN();
  SimLocale de = SimLocale::DeDE();
  EXPECT_EQ(zh.GroupedWholeText(0), u"0");
  EXPECT_EQ(zh.GroupedWholeText(999), u"999");
  EXPECT_EQ(zh.GroupedWholeText(4294967296), u"4,294,967,296");
  EXPECT_EQ(de.GroupedWholeText(922337203685477), u"922.337.203.685.477");
  EXPECT_EQ(zh.GroupedWholeText(-1234), u"-1,234");
  EXPECT_EQ(zh.GroupedWholeText(INT64_MIN), u"-9,223,372,036,854,775,808");
  for (int64_t v :
       {int64_t{0}, int64_t{1000}, int64_t{4294967296}, int64_t{922337203685477}, int64_t{-5555}}) {
    EXPECT_EQ(zh.ReadNumberText(zh.GroupedWholeText(v)), static_cast<double>(v));
    EXPECT_EQ(de.ReadNumberText(de.GroupedWholeText(v)), static_cast<double>(v));
  }
  EXPECT_EQ(de.ReadNumberText(u"1.234,5"), 1234.5);
  EXPECT_EQ(zh.ReadNumberText(u" 12.5 "), 12.5);
  for (const char16_t* text : {u"", u"abc", u"12x", u",5", u"1.2.3", u"-"}) {
    SCOPED_TRACE(ToUtf8(text));
    EXPECT_EQ(RaisedNumber([&] { zh.ReadNumberText(text); }), kErrTypeMismatch);
  }
}

}  // namespace
}  // namespace timrose::sim
