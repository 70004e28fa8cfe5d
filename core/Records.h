#pragma once
// Platform records laid out exactly as Windows defines them, so that the Windows layer can hand
// them to the system unchanged. No Windows header is needed to use them.
#include <cstdint>

namespace timrose {

struct FILETIME {
  uint32_t dwLowDateTime = 0;
  uint32_t dwHighDateTime = 0;
};

struct SYSTEMTIME {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
};

struct BY_HANDLE_FILE_INFORMATION {
  uint32_t dwFileAttributes = 0;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  uint32_t dwVolumeSerialNumber = 0;
  uint32_t nFileSizeHigh = 0;
  uint32_t nFileSizeLow = 0;
  uint32_t nNumberOfLinks = 0;
  uint32_t nFileIndexHigh = 0;
  uint32_t nFileIndexLow = 0;
};

struct TIME_ZONE_INFORMATION {
  int32_t Bias = 0;
  char16_t StandardName[32] = {};
  SYSTEMTIME StandardDate;
  int32_t StandardBias = 0;
  char16_t DaylightName[32] = {};
  SYSTEMTIME DaylightDate;
  int32_t DaylightBias = 0;
};

// The open's buffer: its path field holds 128 bytes, terminating zero included.
constexpr int kOfsMaxPathName = 128;
struct OFSTRUCT {
  uint8_t cBytes = 0;
  uint8_t fFixedDisk = 0;
  uint16_t nErrCode = 0;
  uint16_t Reserved1 = 0;
  uint16_t Reserved2 = 0;
  char szPathName[kOfsMaxPathName] = {};
};

static_assert(sizeof(FILETIME) == 8);
static_assert(sizeof(SYSTEMTIME) == 16);
static_assert(sizeof(BY_HANDLE_FILE_INFORMATION) == 52);
static_assert(sizeof(TIME_ZONE_INFORMATION) == 172);
static_assert(sizeof(OFSTRUCT) == 136);

// The handle value OpenFile returns (an HFILE); kHfileError on failure.
using HFILE = int32_t;
constexpr HFILE kHfileError = -1;

// OpenFile styles.
constexpr uint32_t kOfRead = 0;
constexpr uint32_t kOfReadWrite = 2;

// File attribute bits.
enum Attribute : int {
  kAttrReadOnly = 1,
  kAttrHidden = 2,
  kAttrSystem = 4,
  kAttrVolume = 8,
  kAttrDirectory = 16,
  kAttrArchive = 32,
  kAttrAllMask = 63,
};
// The bits the attribute write replaces; every other bit of the file is kept.
constexpr int kAttrOwnedBits = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

// The other bits a file may carry that Windows' attribute write sets from its argument, so an
// attribute write must hand them back or it clears them; the rest (directory, compressed,
// sparse, encrypted...) the system keeps by itself and refuses to be given.
constexpr uint32_t kAttrNormal = 0x80;  // the value meaning "none at all"
constexpr uint32_t kAttrTemporary = 0x100;
constexpr uint32_t kAttrOffline = 0x1000;
constexpr uint32_t kAttrNotContentIndexed = 0x2000;
constexpr uint32_t kAttrNoScrubData = 0x20000;
constexpr uint32_t kAttrPinned = 0x80000;
constexpr uint32_t kAttrUnpinned = 0x100000;
constexpr uint32_t kAttrKeptBits =
    kAttrTemporary | kAttrOffline | kAttrNotContentIndexed | kAttrNoScrubData | kAttrPinned | kAttrUnpinned;

// What the attribute write gives Windows for a file that has `current`: the owned bits of
// `attributes` and the kept bits of `current`; where that leaves none, "normal", the value
// Windows documents for a file without attributes.
constexpr uint32_t AttributesToWrite(uint32_t current, int attributes) {
  const uint32_t wanted = (current & kAttrKeptBits) | (static_cast<uint32_t>(attributes) & kAttrOwnedBits);
  return wanted == 0 ? kAttrNormal : wanted;
}

}  // namespace timrose
