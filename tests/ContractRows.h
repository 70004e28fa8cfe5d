#pragma once
// What the platform's text and time interfaces give: the rows that the simulated platform (native
// tests) and the real one (Windows tests, under Wine in each of the three regions the program is
// tested in) must both give, so that the simulation the native tests rely on cannot drift from
// Windows.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/Date.h"
#include "core/Error.h"
#include "core/Platform.h"
#include "tests/Support.h"

namespace timrose::locale_rows {

// A row marked wineDiffers holds the simulation alone: it follows Windows where Wine's own
// conversions give otherwise (Wine reads dates more laxly, writes another hour and day form and
// the year 100 with three digits, gives German designators and a point in an exponent form).

enum class Region { ZhCN, EnUS, DeDE };
inline constexpr Region kRegions[] = {Region::ZhCN, Region::EnUS, Region::DeDE};

inline const char* RegionName(Region region) {
  return region == Region::ZhCN ? "zh_CN" : region == Region::EnUS ? "en_US" : "de_DE";
}

// DateText(date) is `text`, and `text` reads back as `date`.
struct DateRow {
  Region region;
  Date date;
  const char16_t* text;
  bool wineDiffers = false;
};
inline const DateRow kDateRows[] = {
    {Region::ZhCN, Date::FromParts(2011, 3, 3, 15, 4, 5), u"2011/3/3 15:04:05"},
    {Region::ZhCN, Date::FromParts(2011, 3, 3, 0, 0, 1), u"2011/3/3 0:00:01", true},
    {Region::ZhCN, Date::FromParts(2011, 3, 3), u"2011/3/3"},
    {Region::ZhCN, Date::FromParts(2011, 12, 31, 10, 0, 59), u"2011/12/31 10:00:59"},
    {Region::ZhCN, Date::FromParts(100, 1, 1, 23, 59, 59), u"0100/1/1 23:59:59", true},
    {Region::EnUS, Date::FromParts(2011, 3, 3, 15, 4, 5), u"3/3/2011 3:04:05 PM"},
    {Region::EnUS, Date::FromParts(2011, 3, 3, 0, 30, 0), u"3/3/2011 12:30:00 AM"},
    {Region::EnUS, Date::FromParts(2011, 12, 31, 12, 0, 0), u"12/31/2011 12:00:00 PM"},
    {Region::DeDE, Date::FromParts(2011, 3, 3, 9, 4, 5), u"03.03.2011 09:04:05", true},
    {Region::DeDE, Date::FromParts(9999, 12, 31), u"31.12.9999"},
    {Region::DeDE, Date::FromParts(2011, 12, 31, 23, 4, 5), u"31.12.2011 23:04:05"},
};

// What users type: IsDate takes `text` and CDate reads it as `date`.
struct ReadRow {
  Region region;
  const char16_t* text;
  Date date;
  bool wineDiffers = false;
};
inline const ReadRow kReadRows[] = {
    {Region::ZhCN, u"2011/3/3 15:04", Date::FromParts(2011, 3, 3, 15, 4, 0)},
    {Region::ZhCN, u"2011-03-03 5:04:05", Date::FromParts(2011, 3, 3, 5, 4, 5)},
    {Region::ZhCN, u"  2011/3/3  ", Date::FromParts(2011, 3, 3)},
    {Region::ZhCN, u"2011/3/3 下午 3:04:05", Date::FromParts(2011, 3, 3, 15, 4, 5), true},
    {Region::ZhCN, u"2011/3/3 上午12:04:05", Date::FromParts(2011, 3, 3, 0, 4, 5), true},
    {Region::ZhCN, u"2011/3/3 3:04:05 PM", Date::FromParts(2011, 3, 3, 15, 4, 5)},
    {Region::ZhCN, u"15:04:05", Date::FromParts(1899, 12, 30, 15, 4, 5)},
    {Region::EnUS, u"3/3/2011 15:04:05", Date::FromParts(2011, 3, 3, 15, 4, 5)},
    {Region::EnUS, u"3/3/2011 12:30 am", Date::FromParts(2011, 3, 3, 0, 30, 0)},
    {Region::EnUS, u"3/3/2011 12:30:00PM", Date::FromParts(2011, 3, 3, 12, 30, 0)},
    {Region::EnUS, u"3/3/11", Date::FromParts(2011, 3, 3)},
    {Region::EnUS, u"2011-03-04", Date::FromParts(2011, 3, 4)},
    {Region::DeDE, u"4.3.2011 7:08", Date::FromParts(2011, 3, 4, 7, 8, 0)},
};

// Texts that are no date in the region: IsDate refuses them and CDate raises `error`.
struct RefusedRow {
  Region region;
  const char16_t* text;
  int error;
  bool wineDiffers = false;
};
inline const RefusedRow kRefusedRows[] = {
    {Region::ZhCN, u"", kErrTypeMismatch},
    {Region::ZhCN, u"   ", kErrTypeMismatch},
    {Region::ZhCN, u"abc", kErrTypeMismatch},
    {Region::ZhCN, u"2011/2/30", kErrTypeMismatch},
    {Region::ZhCN, u"2011/13/1", kErrTypeMismatch, true},
    {Region::ZhCN, u"2011/3/3 24:00", kErrTypeMismatch},
    {Region::ZhCN, u"2011/3/3 13:00 AM", kErrTypeMismatch, true},
    {Region::ZhCN, u"2011/3/3 1:60", kErrTypeMismatch},
    {Region::ZhCN, u"2011/3/3 x", kErrTypeMismatch},
    {Region::ZhCN, u"2011/3/3 15:04:05 6", kErrTypeMismatch},
    {Region::ZhCN, u"2011/3", kErrTypeMismatch, true},
    {Region::ZhCN, u"10000-01-01", kErrOverflow, true},
    {Region::ZhCN, u"0099/12/31", kErrOverflow, true},
    {Region::ZhCN, u"99999999999/1/1", kErrOverflow, true},
    {Region::EnUS, u"abc", kErrTypeMismatch},
    {Region::EnUS, u"2/30/2011", kErrTypeMismatch},
    {Region::DeDE, u"abc", kErrTypeMismatch},
    {Region::DeDE, u"30.2.2011", kErrTypeMismatch},
};

struct DesignatorRow {
  Region region;
  const char16_t* morning;
  const char16_t* afternoon;
  bool wineDiffers = false;
};
inline const DesignatorRow kDesignatorRows[] = {
    {Region::ZhCN, u"上午", u"下午"},
    {Region::EnUS, u"AM", u"PM"},
    {Region::DeDE, u"", u"", true},
};

// SingleText(value) is `text`.
struct SingleRow {
  Region region;
  float value;
  const char16_t* text;
  bool wineDiffers = false;
};
inline const SingleRow kSingleRows[] = {
    {Region::ZhCN, 0.0f, u"0"},
    {Region::ZhCN, -0.0f, u"0"},
    {Region::ZhCN, 1024.0f, u"1024"},
    {Region::ZhCN, 1500.0f / 1024.0f, u"1.464844"},
    {Region::ZhCN, 12345.0f / 1024.0f, u"12.05566"},
    {Region::ZhCN, 3000000000.0f / 1073741824.0f, u"2.793968"},
    {Region::ZhCN, 0.5f, u"0.5"},
    {Region::ZhCN, -12.25f, u"-12.25"},
    {Region::ZhCN, 1048575.0f, u"1048575"},
    {Region::ZhCN, 12345678.0f, u"1.234568E+07"},
    {Region::ZhCN, 0.00001f, u"1E-05", true},  // Wine 10 writes "0.00001"
    {Region::EnUS, 1500.0f / 1024.0f, u"1.464844"},
    {Region::DeDE, 0.0f, u"0"},
    {Region::DeDE, 1024.0f, u"1024"},
    {Region::DeDE, 1500.0f / 1024.0f, u"1,464844"},
    {Region::DeDE, 12345.0f / 1024.0f, u"12,05566"},
    {Region::DeDE, 3000000000.0f / 1073741824.0f, u"2,793968"},
    {Region::DeDE, 0.5f, u"0,5"},
    {Region::DeDE, -12.25f, u"-12,25"},
    {Region::DeDE, 12345678.0f, u"1,234568E+07", true},
};

// GroupedWholeText(value) is `text`, which reads back as the value.
struct GroupedRow {
  Region region;
  int64_t value;
  const char16_t* text;
};
inline const GroupedRow kGroupedRows[] = {
    {Region::ZhCN, 0, u"0"},
    {Region::ZhCN, 999, u"999"},
    {Region::ZhCN, 4294967296, u"4,294,967,296"},
    {Region::ZhCN, -1234, u"-1,234"},
    {Region::EnUS, 922337203685477, u"922,337,203,685,477"},
    {Region::DeDE, 922337203685477, u"922.337.203.685.477"},
    {Region::DeDE, 1000, u"1.000"},
};

// ReadNumberText(text) is `value`; a row with a zero `error` reads, any other raises it.
struct NumberReadRow {
  Region region;
  const char16_t* text;
  double value;
  int error;
};
inline const NumberReadRow kNumberReadRows[] = {
    {Region::ZhCN, u" 12.5 ", 12.5, 0},          {Region::DeDE, u"1.234,5", 1234.5, 0},
    {Region::ZhCN, u"", 0, kErrTypeMismatch},    {Region::ZhCN, u"abc", 0, kErrTypeMismatch},
    {Region::ZhCN, u"12x", 0, kErrTypeMismatch}, {Region::ZhCN, u"-", 0, kErrTypeMismatch},
    {Region::DeDE, u"abc", 0, kErrTypeMismatch},
};

// Every row of `region` on `text`; under Wine, those it gives too.
inline void ExpectRowsOf(Region region, ILocaleText& text, bool wine) {
  SCOPED_TRACE(RegionName(region));
  for (const DateRow& row : kDateRows) {
    if (row.region != region || (wine && row.wineDiffers)) continue;
    SCOPED_TRACE(ToUtf8(row.text));
    EXPECT_EQ(ToUtf8(text.DateText(row.date)), ToUtf8(row.text));
    Date read;
    EXPECT_EQ(RaisedNumber([&] { read = text.CDate(row.text); }), 0);
    EXPECT_EQ(read, row.date);
  }
  for (const ReadRow& row : kReadRows) {
    if (row.region != region || (wine && row.wineDiffers)) continue;
    SCOPED_TRACE(ToUtf8(row.text));
    EXPECT_TRUE(text.IsDate(row.text));
    Date read;
    EXPECT_EQ(RaisedNumber([&] { read = text.CDate(row.text); }), 0);
    EXPECT_EQ(read, row.date);
  }
  for (const RefusedRow& row : kRefusedRows) {
    if (row.region != region || (wine && row.wineDiffers)) continue;
    SCOPED_TRACE(ToUtf8(row.text));
    EXPECT_FALSE(text.IsDate(row.text));
    EXPECT_EQ(RaisedNumber([&] { text.CDate(row.text); }), row.error);
  }
  for (const DesignatorRow& row : kDesignatorRows) {
    if (row.region != region || (wine && row.wineDiffers)) continue;
    const TimeDesignators designators = text.Designators();
    EXPECT_EQ(ToUtf8(designators.morning), ToUtf8(row.morning));
    EXPECT_EQ(ToUtf8(designators.afternoon), ToUtf8(row.afternoon));
  }
  for (const SingleRow& row : kSingleRows) {
    if (row.region != region || (wine && row.wineDiffers)) continue;
    EXPECT_EQ(ToUtf8(text.SingleText(row.value)), ToUtf8(row.text)) << row.value;
  }
  for (const GroupedRow& row : kGroupedRows) {
    if (row.region != region) continue;
    EXPECT_EQ(ToUtf8(text.GroupedWholeText(row.value)), ToUtf8(row.text)) << row.value;
    double read = 0;
    EXPECT_EQ(RaisedNumber([&] { read = text.ReadNumberText(row.text); }), 0) << row.value;
    EXPECT_EQ(read, static_cast<double>(row.value)) << row.value;
  }
  for (const NumberReadRow& row : kNumberReadRows) {
    if (row.region != region) continue;
    SCOPED_TRACE(ToUtf8(row.text));
    double value = 0;
    EXPECT_EQ(RaisedNumber([&] { value = text.ReadNumberText(row.text); }), row.error);
    if (row.error == 0) {
      EXPECT_EQ(value, row.value);
    }
  }
}

}  // namespace timrose::locale_rows

namespace timrose::time_rows {

// A UTC calendar time and its file time, in 100-ns ticks since 1601: each converts to the other.
struct ConversionRow {
  uint16_t year, month, day, hour, minute, second, ms;
  uint64_t ticks;
};
inline const ConversionRow kConversionRows[] = {
    {1601, 1, 1, 0, 0, 0, 0, 0},
    {1899, 12, 30, 0, 0, 0, 1, 94353120000010000},
    {2010, 12, 31, 21, 0, 0, 999, 129383028009990000},
    {2012, 2, 29, 12, 30, 15, 500, 129749922155000000},
    {9999, 12, 31, 23, 59, 59, 999, 2650467743999990000},
    {30827, 12, 31, 23, 59, 59, 999, 9223149887999990000},
};

inline void ExpectRows(ITimeApi& time) {
  for (const ConversionRow& row : kConversionRows) {
    SCOPED_TRACE(row.year);
    SYSTEMTIME in{};
    in.wYear = row.year;
    in.wMonth = row.month;
    in.wDay = row.day;
    in.wHour = row.hour;
    in.wMinute = row.minute;
    in.wSecond = row.second;
    in.wMilliseconds = row.ms;
    FILETIME ft{1, 1};
    ASSERT_TRUE(time.SystemTimeToFileTime(in, ft));
    EXPECT_EQ((uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime, row.ticks);
    SYSTEMTIME out{};
    ASSERT_TRUE(time.FileTimeToSystemTime(ft, out));
    EXPECT_EQ((std::vector<int>{out.wYear, out.wMonth, out.wDay, out.wHour, out.wMinute, out.wSecond,
                                out.wMilliseconds}),
              (std::vector<int>{row.year, row.month, row.day, row.hour, row.minute, row.second, row.ms}));
  }
  // A day or a year the conversions refuse, and a file time past their range: the record stays.
  SYSTEMTIME bad{};
  bad.wYear = 2011;
  bad.wMonth = 2;
  bad.wDay = 30;
  FILETIME ft{7, 8};
  EXPECT_FALSE(time.SystemTimeToFileTime(bad, ft));
  bad.wYear = 1600;
  bad.wDay = 1;
  EXPECT_FALSE(time.SystemTimeToFileTime(bad, ft));
  EXPECT_EQ(ft.dwLowDateTime, 7u);
  EXPECT_EQ(ft.dwHighDateTime, 8u);
  SYSTEMTIME st{};
  st.wYear = 77;
  EXPECT_FALSE(time.FileTimeToSystemTime(FILETIME{0, 0x80000000u}, st));
  EXPECT_EQ(st.wYear, 77);
}

}  // namespace timrose::time_rows
