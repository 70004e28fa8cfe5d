#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32TimeApi.h"
#include "tests/ContractRows.h"
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

// The same rows as the simulated zone's.
TEST(TimeZone, ConversionsGiveWhatTheSimulatedZoneGives) {
  Win32TimeApi api;
  time_rows::ExpectRows(api);
}

}  // namespace
}  // namespace timrose::win32
