#include "platform/win32/Win32TimeApi.h"

#include <windows.h>

#include "platform/win32/SystemRecords.h"

namespace timrose::win32 {

uint32_t Win32TimeApi::GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) {
  ::TIME_ZONE_INFORMATION tzi{};
  const DWORD result = ::GetTimeZoneInformation(&tzi);
  FromSystem(tzi, info);
  return result;
}

bool Win32TimeApi::FileTimeToSystemTime(const FILETIME& fileTime, SYSTEMTIME& systemTime) {
  const ::FILETIME ft = ToSystem(fileTime);
  ::SYSTEMTIME st;
  if (!::FileTimeToSystemTime(&ft, &st)) return false;
  FromSystem(st, systemTime);
  return true;
}

bool Win32TimeApi::SystemTimeToFileTime(const SYSTEMTIME& systemTime, FILETIME& fileTime) {
  const ::SYSTEMTIME st = ToSystem(systemTime);
  ::FILETIME ft;
  if (!::SystemTimeToFileTime(&st, &ft)) return false;
  FromSystem(ft, fileTime);
  return true;
}

}  // namespace timrose::win32
