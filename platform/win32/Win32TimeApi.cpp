#include "platform/win32/Win32TimeApi.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

namespace timrose::win32 {
namespace {

static_assert(sizeof(SYSTEMTIME) == sizeof(::SYSTEMTIME));
static_assert(offsetof(SYSTEMTIME, wDayOfWeek) == offsetof(::SYSTEMTIME, wDayOfWeek));
static_assert(offsetof(SYSTEMTIME, wDay) == offsetof(::SYSTEMTIME, wDay));
static_assert(offsetof(SYSTEMTIME, wMilliseconds) == offsetof(::SYSTEMTIME, wMilliseconds));
static_assert(sizeof(FILETIME) == sizeof(::FILETIME));
static_assert(sizeof(TIME_ZONE_INFORMATION) == sizeof(::TIME_ZONE_INFORMATION));
static_assert(offsetof(TIME_ZONE_INFORMATION, StandardDate) ==
              offsetof(::TIME_ZONE_INFORMATION, StandardDate));
static_assert(offsetof(TIME_ZONE_INFORMATION, DaylightName) ==
              offsetof(::TIME_ZONE_INFORMATION, DaylightName));
static_assert(offsetof(TIME_ZONE_INFORMATION, DaylightBias) ==
              offsetof(::TIME_ZONE_INFORMATION, DaylightBias));

}  // namespace

uint32_t Win32TimeApi::GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) {
  ::TIME_ZONE_INFORMATION tzi{};
  const DWORD result = ::GetTimeZoneInformation(&tzi);
  std::memcpy(static_cast<void*>(&info), &tzi, sizeof tzi);
  return result;
}

bool Win32TimeApi::FileTimeToSystemTime(const FILETIME& fileTime, SYSTEMTIME& systemTime) {
  ::FILETIME ft;
  std::memcpy(&ft, &fileTime, sizeof ft);
  ::SYSTEMTIME st;
  if (!::FileTimeToSystemTime(&ft, &st)) return false;
  std::memcpy(static_cast<void*>(&systemTime), &st, sizeof st);
  return true;
}

bool Win32TimeApi::SystemTimeToFileTime(const SYSTEMTIME& systemTime, FILETIME& fileTime) {
  ::SYSTEMTIME st;
  std::memcpy(&st, &systemTime, sizeof st);
  ::FILETIME ft;
  if (!::SystemTimeToFileTime(&st, &ft)) return false;
  std::memcpy(static_cast<void*>(&fileTime), &ft, sizeof ft);
  return true;
}

}  // namespace timrose::win32
