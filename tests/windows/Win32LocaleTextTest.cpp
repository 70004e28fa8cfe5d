#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TimeText.h"
#include "platform/win32/Win32LocaleText.h"
#include "tests/ContractRows.h"
#include "tests/windows/Win32TestFiles.h"

// These run in the zh_CN locale by default and again in en_US and de_DE (tests/CMakeLists.txt).
namespace timrose::win32 {
namespace {

// The rows of the process's region, which the simulated locales give too.
TEST(LocaleText, GivesWhatTheSimulatedLocaleOfItsRegionGives) {
  Win32LocaleText text;
  switch (PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID()))) {
    case LANG_CHINESE:
      return locale_rows::ExpectRowsOf(locale_rows::Region::ZhCN, text, true);
    case LANG_ENGLISH:
      return locale_rows::ExpectRowsOf(locale_rows::Region::EnUS, text, true);
    case LANG_GERMAN:
      return locale_rows::ExpectRowsOf(locale_rows::Region::DeDE, text, true);
  }
  ADD_FAILURE() << "no rows for the locale " << GetUserDefaultLCID();
}

Text LocaleInfo(LCTYPE type) {
  wchar_t buffer[16] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16);
  return FromWide(buffer);
}

std::vector<Date> RealDates() {
  std::vector<Date> dates = {
      Date::FromParts(2011, 3, 3, 15, 4, 5),   // afternoon
      Date::FromParts(2011, 3, 3, 3, 4, 5),    // morning
      Date::FromParts(2011, 3, 3, 9, 15, 0),   // morning, one-digit hour
      Date::FromParts(2011, 3, 3, 12, 0, 0),   // noon
      Date::FromParts(2011, 3, 3, 12, 30, 0),  // just after noon
      Date::FromParts(2011, 3, 3, 0, 0, 0),    // midnight
      Date::FromParts(2011, 3, 3, 0, 30, 0),   // half past midnight
      Date::FromParts(2011, 3, 3, 0, 0, 1),      Date::FromParts(2011, 12, 31, 23, 59, 59),
      Date::FromParts(2000, 2, 29, 11, 59, 59),  Date::FromParts(1601, 1, 1, 0, 0, 0),
      Date::FromParts(1899, 12, 30, 13, 0, 0),   Date::FromParts(1899, 12, 29, 6, 0, 0),
      Date::FromParts(100, 1, 1, 0, 0, 0),       Date::FromParts(100, 1, 1, 12, 0, 1),
      Date::FromParts(9999, 12, 31, 23, 59, 59), Date(),
  };
  // Every hour of a day, with minutes and seconds that differ from the hour.
  for (int hour = 0; hour < 24; ++hour) {
    dates.push_back(Date::FromParts(2024, 7, 14, hour, (hour * 7) % 60, (hour * 13) % 60));
  }
  // Months and years spread over the range, at times on either side of noon.
  for (int i = 0; i < 40; ++i) {
    dates.push_back(
        Date::FromParts(1601 + i * 211, 1 + i % 12, 1 + (i * 3) % 28, (i * 5) % 24, i % 60, 59 - i));
  }
  return dates;
}

TEST(LocaleText, FormatTime24ReadsBackAsTheSameDate) {
  Win32LocaleText text;
  for (const Date& date : RealDates()) {
    const Text shown = FormatTime24(text, date);
    SCOPED_TRACE(ToIsoText(date) + " shown as " + testing::Utf8(shown));
    EXPECT_TRUE(text.IsDate(shown));
    EXPECT_EQ(text.CDate(shown), date);
    // The 24-hour text keeps neither of the locale's designators. A time on the zero day is the
    // exception: the platform writes it without its date, it stays as given, and it still reads
    // back (above).
    const bool zeroDay = date.Seconds() >= 0 && date.Seconds() < Date::kSecondsPerDay;
    for (const Text& designator : {LocaleInfo(LOCALE_S1159), LocaleInfo(LOCALE_S2359)}) {
      if (!zeroDay && !designator.empty()) {
        EXPECT_EQ(shown.find(designator), Text::npos) << testing::Utf8(designator);
      }
    }
  }
}

TEST(LocaleText, DateTextReadsBackAsTheSameDate) {
  Win32LocaleText text;
  for (const Date& date : RealDates()) {
    const Text shown = text.DateText(date);
    SCOPED_TRACE(ToIsoText(date) + " shown as " + testing::Utf8(shown));
    EXPECT_EQ(text.CDate(shown), date);
  }
  // A date at midnight is written as its date alone.
  EXPECT_EQ(text.DateText(Date::FromParts(2011, 3, 3)).find(u':'), Text::npos);
  EXPECT_NE(text.DateText(Date::FromParts(2011, 3, 3, 0, 0, 1)).find(u':'), Text::npos);
}

TEST(LocaleText, DateTestRefusesWhatIsNoDateInRange) {
  Win32LocaleText text;
  for (const Text& bad : {Text(), Text(u"abc"), Text(u"10000-01-01"), Text(u"   "), Text(u"2011-02-30"),
                          Text(u"2011-3-3 25:00:00")}) {
    SCOPED_TRACE(testing::Utf8(bad));
    EXPECT_FALSE(text.IsDate(bad));
    const int number = RaisedNumber([&] { text.CDate(bad); });
    EXPECT_TRUE(number == kErrTypeMismatch || number == kErrOverflow) << number;
  }
  EXPECT_EQ(RaisedNumber([&] { text.CDate(u""); }), kErrTypeMismatch);
  EXPECT_EQ(RaisedNumber([&] { text.CDate(u"abc"); }), kErrTypeMismatch);
}

// What users type: no seconds, a one-digit hour, in the locale's own short date.
TEST(LocaleText, DateTestTakesTimesWithoutSeconds) {
  Win32LocaleText text;
  const Date wanted = Date::FromParts(2011, 3, 3, 9, 5, 0);
  Text typed = text.DateText(wanted);
  const size_t colon = typed.find(u':');
  ASSERT_NE(colon, Text::npos);
  typed.erase(colon + 3, 3);  // drops ":00", keeps any designator
  SCOPED_TRACE(testing::Utf8(typed));
  ASSERT_TRUE(text.IsDate(typed));
  EXPECT_EQ(text.CDate(typed), wanted);
  EXPECT_EQ(text.CDate(u"2011-3-3 9:05"), wanted);
}

TEST(LocaleText, SingleTextHasSevenDigitsAndTheUserSeparator) {
  Win32LocaleText text;
  const Text separator = LocaleInfo(LOCALE_SDECIMAL);
  EXPECT_EQ(text.SingleText(1024.0f), u"1024");
  EXPECT_EQ(text.SingleText(0.0f), u"0");
  EXPECT_EQ(text.SingleText(1.5f), u"1" + separator + u"5");
  for (float value : {1.464844f, 12.05566f, 2.793968f, 100.0f / 3.0f, 838.8608f, 150.5f}) {
    SCOPED_TRACE(value);
    const Text shown = text.SingleText(value);
    EXPECT_NE(shown.find(separator), Text::npos);
    size_t digits = 0;
    for (char16_t c : shown) digits += (c >= u'0' && c <= u'9') ? 1 : 0;
    EXPECT_LE(digits, 7u);
    EXPECT_NE(shown.back(), u'0');
    EXPECT_FLOAT_EQ(static_cast<float>(text.ReadNumberText(shown)), value);
  }
}

TEST(LocaleText, GroupedWholeNumbersReadBackExactly) {
  Win32LocaleText text;
  const Text thousands = LocaleInfo(LOCALE_STHOUSAND);
  for (int64_t value : {int64_t{0}, int64_t{999}, int64_t{1000}, int64_t{4294967301},
                        int64_t{9007199254740991}, int64_t{922337203685477}, int64_t{-1234567}}) {
    SCOPED_TRACE(value);
    const Text shown = text.GroupedWholeText(value);
    EXPECT_EQ(shown.find(LocaleInfo(LOCALE_SDECIMAL)), Text::npos) << testing::Utf8(shown);
    if (value >= 1000) {
      EXPECT_NE(shown.find(thousands), Text::npos) << testing::Utf8(shown);
    }
    EXPECT_EQ(text.ReadNumberText(shown), static_cast<double>(value)) << testing::Utf8(shown);
  }
  EXPECT_EQ(RaisedNumber([&] { text.ReadNumberText(u"abc"); }), kErrTypeMismatch);
  EXPECT_EQ(RaisedNumber([&] { text.ReadNumberText(u""); }), kErrTypeMismatch);
}

}  // namespace
}  // namespace timrose::win32
