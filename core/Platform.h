#pragma once
// The platform operations of the file store and the texts, behind small interfaces: the real ones
// talk to Windows, the simulated ones (with the tests) to an in-memory volume, zone and locale. The
// services only the window uses (message boxes, the window's band, the running executable) are
// window/MessageBox.h, window/ProcessInfo.h and window/WindowSystem.h.
// Failures are raised as RaisedError by the services; the Windows functions report them the
// Windows way (a failure result and GetLastError) and their callers decide.
#include <cstdint>

#include "core/Date.h"
#include "core/Records.h"
#include "core/Text.h"

namespace timrose {

// The longest path the file functions take, in UTF-16 characters: the text, and its long form
// ("\\?\" and the full path) where it needs one, hold at most this many.
constexpr int kMaxPathLength = 32767;

// Windows file functions and file-system services.
class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // Windows functions, under their Windows names. Every path goes to Windows as the UTF-16 text it
  // is, through the wide functions: any name Windows can hold reaches its file. A path whose full
  // form needs MAX_PATH (260) characters or more is given in its long form, so every length up to
  // kMaxPathLength works; a longer one fails with ERROR_FILENAME_EXCED_RANGE (206), and a name
  // Windows refuses (wildcards, "|", "<", control characters) with ERROR_INVALID_NAME (123).
  // OpenFile opens an existing file as OpenFile's style 0 (read) or 2 (read and write) does, with
  // the same sharing, at any of those lengths; the buffer is passed and never read.
  virtual HFILE OpenFile(const Text& path, OFSTRUCT& buffer, uint32_t style) = 0;
  virtual bool GetFileInformationByHandle(HFILE handle, BY_HANDLE_FILE_INFORMATION& info) = 0;
  virtual bool CloseHandle(HFILE handle) = 0;
  // The creation, last access and last write times, in this order.
  virtual bool SetFileTime(HFILE handle, const FILETIME* creation, const FILETIME* lastAccess,
                           const FILETIME* lastWrite) = 0;
  // The system error code of the last failed Windows function above.
  virtual uint32_t GetLastError() = 0;

  // Existence test: true when a file or folder of exactly this name is found with the mask.
  // Entries with only read-only and archive bits are always found; one with the hidden, system
  // or directory bit only when each of those bits it has is in the mask. Wildcards match nothing:
  // they are names Windows refuses (below).
  virtual bool Exists(const Text& path, int mask) = 0;
  // Every service raises 52 for a name Windows refuses and for a path over the limit above.
  // Attribute read: raises 53 for a missing name or a missing folder on the path.
  virtual int GetAttr(const Text& path) = 0;
  // Attribute write: replaces the read-only, hidden, system and archive bits, keeps the others.
  virtual void SetAttr(const Text& path, int attributes) = 0;
  // File length as a signed 32-bit count (not the size for files of 2^31 bytes or more).
  virtual int32_t FileLen(const Text& path) = 0;
  // Last write date and time of a file or folder, as a local Date.
  virtual Date FileDateTime(const Text& path) = 0;
};

// The time-zone record and the file-time conversions.
class ITimeApi {
 public:
  virtual ~ITimeApi() = default;
  virtual uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) = 0;
  virtual bool FileTimeToSystemTime(const FILETIME& fileTime, SYSTEMTIME& systemTime) = 0;
  virtual bool SystemTimeToFileTime(const SYSTEMTIME& systemTime, FILETIME& fileTime) = 0;
};

// The words a 12-hour clock writes for the two halves of the day ("AM" and "PM", "上午" and
// "下午"); empty where the locale has none or cannot say.
struct TimeDesignators {
  Text morning;
  Text afternoon;
};

// Date and number text in the user's regional format.
class ILocaleText {
 public:
  virtual ~ILocaleText() = default;
  // The short date, a space and the long time; a Date at exactly midnight as its date alone.
  virtual Text DateText(const Date& date) = 0;
  // The designators DateText writes.
  virtual TimeDesignators Designators() = 0;
  // Whether the text is a date under the same rules (also what users type: no seconds, ...).
  virtual bool IsDate(const Text& text) = 0;
  // The Date a text names; raises 13 when it is no date, 6 outside the Date range.
  virtual Date CDate(const Text& text) = 0;
  // The ordinary text of a single-precision number: at most seven significant digits, the
  // user's decimal separator, no trailing zeros, no separator for a whole number.
  virtual Text SingleText(float value) = 0;
  // A whole number with the locale's thousands separators and no decimals.
  virtual Text GroupedWholeText(int64_t value) = 0;
  // A number text in the user's format read back as a double; raises 13 when it is none.
  virtual double ReadNumberText(const Text& text) = 0;
};

}  // namespace timrose
