#include "tests/sim/SimTime.h"

#include "core/Date.h"

namespace timrose::sim {
namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
// Ticks of 1601-01-01 are zero; 30828-09-14 02:48:05.477 is the largest time Windows converts.
constexpr uint64_t kMaxConvertibleTicks = 0x7FFFFFFFFFFFFFFFull;
// A function, not a namespace constant: tests build tick tables in their own static initialisers,
// which may run before this file's.
int64_t Days1601() {
  return DaysFromCivil(1601, 1, 1);
}

}  // namespace

uint64_t TicksOf(const FILETIME& ft) {
  return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}

FILETIME FileTimeOf(uint64_t ticks) {
  return FILETIME{static_cast<uint32_t>(ticks & 0xFFFFFFFFu), static_cast<uint32_t>(ticks >> 32)};
}

uint64_t TicksFromUtc(int year, int month, int day, int hour, int minute, int second, int millis,
                      int hundredNanos) {
  const int64_t days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - Days1601();
  const int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second;
  return static_cast<uint64_t>(seconds) * kTicksPerSecond + static_cast<uint64_t>(millis) * 10000 +
         static_cast<uint64_t>(hundredNanos);
}

uint32_t SimTime::GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) {
  ++zoneCalls;
  if (failZone) return 0xFFFFFFFFu;
  info = TIME_ZONE_INFORMATION{};
  info.Bias = bias;
  info.StandardBias = standardBias;
  info.DaylightBias = daylightBias;
  if (daylightBias != 0) {
    info.StandardDate.wMonth = 11;
    info.StandardDate.wDay = 1;
    info.StandardDate.wHour = 2;
    info.DaylightDate.wMonth = 3;
    info.DaylightDate.wDay = 2;
    info.DaylightDate.wHour = 2;
    return 1;  // TIME_ZONE_ID_STANDARD
  }
  return 0;  // TIME_ZONE_ID_UNKNOWN
}

bool SimTime::FileTimeToSystemTime(const FILETIME& fileTime, SYSTEMTIME& systemTime) {
  const uint64_t ticks = TicksOf(fileTime);
  if (ticks > kMaxConvertibleTicks) return false;
  const auto seconds = static_cast<int64_t>(ticks / kTicksPerSecond);
  const int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  // Civil fields from the day count, via the Date type's calendar (valid for any year).
  const int64_t unixDays = days + Days1601();
  int64_t z = unixDays + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
  systemTime.wYear = static_cast<uint16_t>(y);
  systemTime.wMonth = static_cast<uint16_t>(m);
  systemTime.wDay = static_cast<uint16_t>(d);
  systemTime.wHour = static_cast<uint16_t>(rest / 3600);
  rest %= 3600;
  systemTime.wMinute = static_cast<uint16_t>(rest / 60);
  systemTime.wSecond = static_cast<uint16_t>(rest % 60);
  systemTime.wMilliseconds = static_cast<uint16_t>((ticks % kTicksPerSecond) / 10000);
  systemTime.wDayOfWeek = static_cast<uint16_t>((unixDays % 7 + 11) % 7);
  return true;
}

bool SimTime::SystemTimeToFileTime(const SYSTEMTIME& st, FILETIME& fileTime) {
  // Windows refuses years before 1601 and any field out of its range, and leaves the output alone.
  if (st.wYear < 1601 || st.wYear > 30827 || st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59 ||
      st.wMilliseconds > 999 || !IsValidCalendarDay(st.wYear, st.wMonth, st.wDay)) {
    return false;
  }
  fileTime = FileTimeOf(
      TicksFromUtc(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds));
  return true;
}

}  // namespace timrose::sim
