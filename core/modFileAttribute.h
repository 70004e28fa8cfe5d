#pragma once
// The file-time store: reads one of a file's three time stamps as a local Date, writes all
// three from local Dates, and reads a file's size. One set of platform records serves every
// call, as the module state; no file handle stays open between calls.
//
// What carries over between calls, on purpose:
// - The three calendar records. A read that finds a file fills all three; a write replaces only
//   their year to second, so each written stamp keeps the milliseconds (and day of week) of the
//   stamp of the same kind read last: after the inspection of the same file, that file's own.
// - The information record of the last successful query (a time read or a size read), whose
//   full size the inspection asks for through LastQueriedFileSize.
// Nothing else is remembered; a read that finds nothing changes none of it.
#include "core/Date.h"
#include "core/Platform.h"
#include "core/Records.h"
#include "core/Text.h"

namespace timrose {

enum FileTimeKind : int32_t {
  kCreationTime = 1,
  kLastAccessTime = 2,
  kLastWriteTime = 3,
};

// The largest size ReadFileSize can give: (2^63 - 1) / 10,000, the currency number's range.
constexpr int64_t kMaxReadableFileSize = 922337203685477;

class modFileAttribute {
 public:
  modFileAttribute(IFileSystem& files, ITimeApi& time, ILocaleText& text);

  // The chosen stamp as a local Date; the zero Date when nothing matches the path.
  Date ReadFileTime(const Text& path, int32_t kind);
  // Replaces all three stamps from local Dates (creation, last write, last access); on return
  // the file's read-only, hidden, system and archive bits are cleared.
  void WriteFileTimes(const Text& path, const Date& creation, const Date& lastWrite, const Date& lastAccess);
  // The size in bytes, for any size up to kMaxReadableFileSize; raises 6 above it.
  double ReadFileSize(const Text& path);

  // A file's stamps (exact to the 100 ns) and attributes, so that an apply that fails after the
  // times were written can be undone completely. Raises when the file cannot be read.
  struct FileSnapshot {
    FILETIME creation, lastAccess, lastWrite;
    int attributes = 0;
  };
  FileSnapshot TakeSnapshot(const Text& path);
  // Best effort: puts the stamps and the four owned attribute bits back. Raises nothing, since it
  // only ever runs while another failure is being reported (the file may be gone by then).
  void RestoreSnapshot(const Text& path, const FileSnapshot& snapshot);

  // The full 64-bit size of the file queried last by ReadFileTime or ReadFileSize; 0 before any.
  // The inspection's three time reads leave the file's own size here.
  uint64_t LastQueriedFileSize() const;

 private:
  // The module state, in the order it is kept.
  struct State {
    HFILE hFile = 0;
    OFSTRUCT ofs;
    TIME_ZONE_INFORMATION tzi;
    SYSTEMTIME stCreation, stLastAccess, stLastWrite;
    FILETIME ftCreation, ftLastAccess, ftLastWrite;
    BY_HANDLE_FILE_INFORMATION info;
  };

  IFileSystem& files_;
  ITimeApi& time_;
  ILocaleText& text_;
  State state_;
};

}  // namespace timrose
