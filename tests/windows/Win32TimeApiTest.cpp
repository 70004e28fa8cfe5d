#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32TimeApi.h"
#include "tests/windows/Win32TestFiles.h"

namespace timrose::win32 {
namespace {

std::string ZoneName() {
  char buffer[64] = {};
  const DWORD n = GetEnvironmentVariableA("TZ", buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer) : std::string();
}

TEST(TimeZone, BiasIsTheStandardOffsetOfTheZone) {
  Win32TimeApi api;
  TIME_ZONE_INFORMATION tzi;
  tzi.Bias = 12345;
  EXPECT_NE(api.GetTimeZoneInformation(tzi), TIME_ZONE_ID_INVALID);
  const std::string zone = ZoneName();
  // UTC = local time + Bias: eight hours east gives -480, five hours west 300, whatever the season.
  if (zone == "Asia/Shanghai") {
    EXPECT_EQ(tzi.Bias, -480);
  } else if (zone == "America/New_York") {
    EXPECT_EQ(tzi.Bias, 300);
    EXPECT_EQ(tzi.DaylightBias, -60);
  } else if (zone == "Europe/Berlin") {
    EXPECT_EQ(tzi.Bias, -60);
  } else if (zone == "UTC") {
    EXPECT_EQ(tzi.Bias, 0);
  } else {
    GTEST_SKIP() << "no known zone in TZ";
  }
}

TEST(TimeZone, FileTimeConversionsRoundTripToTheMillisecond) {
  Win32TimeApi api;
  struct Case {
    uint16_t year, month, day, hour, minute, second, ms;
  };
  const Case cases[] = {
      {1601, 1, 1, 0, 0, 0, 0},       {1899, 12, 30, 0, 0, 0, 1},      {2010, 12, 31, 21, 0, 0, 999},
      {2012, 2, 29, 12, 30, 15, 500}, {9999, 12, 31, 23, 59, 59, 999}, {30827, 12, 31, 23, 59, 59, 999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year);
    SYSTEMTIME in;
    in.wYear = c.year;
    in.wMonth = c.month;
    in.wDay = c.day;
    in.wHour = c.hour;
    in.wMinute = c.minute;
    in.wSecond = c.second;
    in.wMilliseconds = c.ms;
    FILETIME ft;
    ASSERT_TRUE(api.SystemTimeToFileTime(in, ft));
    SYSTEMTIME out;
    ASSERT_TRUE(api.FileTimeToSystemTime(ft, out));
    EXPECT_EQ(out.wYear, c.year);
    EXPECT_EQ(out.wMonth, c.month);
    EXPECT_EQ(out.wDay, c.day);
    EXPECT_EQ(out.wHour, c.hour);
    EXPECT_EQ(out.wMinute, c.minute);
    EXPECT_EQ(out.wSecond, c.second);
    EXPECT_EQ(out.wMilliseconds, c.ms);
  }
  // The first instant a file time holds is zero.
  SYSTEMTIME first;
  first.wYear = 1601;
  first.wMonth = first.wDay = 1;
  FILETIME zero{1, 1};
  ASSERT_TRUE(api.SystemTimeToFileTime(first, zero));
  EXPECT_EQ(zero.dwLowDateTime, 0u);
  EXPECT_EQ(zero.dwHighDateTime, 0u);
}

TEST(TimeZone, FailedConversionsLeaveTheRecordAlone) {
  Win32TimeApi api;
  SYSTEMTIME bad;
  bad.wYear = 2011;
  bad.wMonth = 2;
  bad.wDay = 30;
  FILETIME ft{7, 8};
  EXPECT_FALSE(api.SystemTimeToFileTime(bad, ft));
  bad.wYear = 1600;
  bad.wDay = 1;
  EXPECT_FALSE(api.SystemTimeToFileTime(bad, ft));
  EXPECT_EQ(ft.dwLowDateTime, 7u);
  EXPECT_EQ(ft.dwHighDateTime, 8u);
  SYSTEMTIME st;
  st.wYear = 77;
  EXPECT_FALSE(api.FileTimeToSystemTime(FILETIME{0, 0x80000000u}, st));
  EXPECT_EQ(st.wYear, 77);
}

}  // namespace
}  // namespace timrose::win32
