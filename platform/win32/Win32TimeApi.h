#pragma once
#include "core/Platform.h"

namespace timrose::win32 {

// The zone record and the file-time conversions of Windows.
class Win32TimeApi final : public ITimeApi {
 public:
  uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) override;
  bool FileTimeToSystemTime(const FILETIME& fileTime, SYSTEMTIME& systemTime) override;
  bool SystemTimeToFileTime(const SYSTEMTIME& systemTime, FILETIME& fileTime) override;
};

}  // namespace timrose::win32
