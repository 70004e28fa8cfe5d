#pragma once
// The core keeps its own copies of the Windows records it passes around (core/Records.h), laid out
// exactly as the system's, so that it needs no Windows header. Here, once, the layouts are checked
// against the system's, and a record crosses between the two forms through one pair of converters.
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "core/Records.h"

namespace timrose::win32 {

// The core record and the system's record of the same name.
template <typename Core>
struct SystemRecordOf;
template <>
struct SystemRecordOf<FILETIME> {
  using type = ::FILETIME;
};
template <>
struct SystemRecordOf<SYSTEMTIME> {
  using type = ::SYSTEMTIME;
};
template <>
struct SystemRecordOf<BY_HANDLE_FILE_INFORMATION> {
  using type = ::BY_HANDLE_FILE_INFORMATION;
};
template <>
struct SystemRecordOf<TIME_ZONE_INFORMATION> {
  using type = ::TIME_ZONE_INFORMATION;
};
template <typename Core>
using SystemRecord = typename SystemRecordOf<Core>::type;

static_assert(sizeof(FILETIME) == sizeof(::FILETIME));
static_assert(offsetof(FILETIME, dwHighDateTime) == offsetof(::FILETIME, dwHighDateTime));
static_assert(sizeof(SYSTEMTIME) == sizeof(::SYSTEMTIME));
static_assert(offsetof(SYSTEMTIME, wDayOfWeek) == offsetof(::SYSTEMTIME, wDayOfWeek));
static_assert(offsetof(SYSTEMTIME, wDay) == offsetof(::SYSTEMTIME, wDay));
static_assert(offsetof(SYSTEMTIME, wMilliseconds) == offsetof(::SYSTEMTIME, wMilliseconds));
static_assert(sizeof(BY_HANDLE_FILE_INFORMATION) == sizeof(::BY_HANDLE_FILE_INFORMATION));
static_assert(offsetof(BY_HANDLE_FILE_INFORMATION, ftCreationTime) ==
              offsetof(::BY_HANDLE_FILE_INFORMATION, ftCreationTime));
static_assert(offsetof(BY_HANDLE_FILE_INFORMATION, ftLastAccessTime) ==
              offsetof(::BY_HANDLE_FILE_INFORMATION, ftLastAccessTime));
static_assert(offsetof(BY_HANDLE_FILE_INFORMATION, ftLastWriteTime) ==
              offsetof(::BY_HANDLE_FILE_INFORMATION, ftLastWriteTime));
static_assert(offsetof(BY_HANDLE_FILE_INFORMATION, nFileSizeHigh) ==
              offsetof(::BY_HANDLE_FILE_INFORMATION, nFileSizeHigh));
static_assert(offsetof(BY_HANDLE_FILE_INFORMATION, nFileSizeLow) ==
              offsetof(::BY_HANDLE_FILE_INFORMATION, nFileSizeLow));
static_assert(offsetof(BY_HANDLE_FILE_INFORMATION, nFileIndexLow) ==
              offsetof(::BY_HANDLE_FILE_INFORMATION, nFileIndexLow));
static_assert(sizeof(TIME_ZONE_INFORMATION) == sizeof(::TIME_ZONE_INFORMATION));
static_assert(offsetof(TIME_ZONE_INFORMATION, StandardDate) ==
              offsetof(::TIME_ZONE_INFORMATION, StandardDate));
static_assert(offsetof(TIME_ZONE_INFORMATION, DaylightName) ==
              offsetof(::TIME_ZONE_INFORMATION, DaylightName));
static_assert(offsetof(TIME_ZONE_INFORMATION, DaylightBias) ==
              offsetof(::TIME_ZONE_INFORMATION, DaylightBias));
// The open's buffer is only ever passed, never converted.
static_assert(sizeof(OFSTRUCT) == sizeof(::OFSTRUCT));
static_assert(offsetof(OFSTRUCT, nErrCode) == offsetof(::OFSTRUCT, nErrCode));
static_assert(offsetof(OFSTRUCT, szPathName) == offsetof(::OFSTRUCT, szPathName));
static_assert(kOfsMaxPathName == OFS_MAXPATHNAME);

// The system's form of a core record, byte for byte.
template <typename Core>
SystemRecord<Core> ToSystem(const Core& record) {
  SystemRecord<Core> out;
  std::memcpy(static_cast<void*>(&out), &record, sizeof out);
  return out;
}

// The core's form of a system record, byte for byte.
template <typename Core>
void FromSystem(const SystemRecord<Core>& record, Core& out) {
  std::memcpy(static_cast<void*>(&out), &record, sizeof out);
}

}  // namespace timrose::win32
