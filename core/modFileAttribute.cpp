#include "core/modFileAttribute.h"

#include "core/Error.h"

namespace timrose {
namespace {

// Ours to return when the zone record cannot be fetched: GetTimeZoneInformation's failure value.
constexpr uint32_t kTimeZoneIdInvalid = 0xFFFFFFFFu;

// The first instant a FILETIME holds, 1601-01-01 00:00:00 UTC, as Date seconds.
constexpr int64_t kFirstFileTimeSeconds = (DaysFromCivil(1601, 1, 1) - kZeroDateDays) * Date::kSecondsPerDay;

// Opens the file for reading, queries it and closes it again, whatever the query did. The
// query's error is taken before the close can overwrite it; the record keeps an earlier file's
// values when the query fails, so a failure raises rather than letting them be read.
void QueryFile(IFileSystem& files, const Text& path, HFILE& handle, OFSTRUCT& buffer,
               BY_HANDLE_FILE_INFORMATION& info) {
  handle = files.OpenFile(path, buffer, kOfRead);
  if (handle == kHfileError) RaiseSystemError(files.GetLastError());
  const bool queried = files.GetFileInformationByHandle(handle, info);
  const uint32_t queryError = queried ? 0 : files.GetLastError();
  files.CloseHandle(handle);
  if (!queried) RaiseSystemError(queryError);
}

// Unlike the other Windows calls, the zone call's result is checked: a failed call leaves the
// record's Bias as the last call left it (zero before any), and every time read or written would
// be shifted by that stale offset without a word.
void FetchZone(ITimeApi& time, TIME_ZONE_INFORMATION& zone) {
  if (time.GetTimeZoneInformation(zone) == kTimeZoneIdInvalid) RaiseError(kErrInvalidCall);
}

// SetFileTime takes a FILETIME of 0 as "leave this stamp as it is" and all ones as "stop updating
// it": either would keep the old time while the apply reports the new one.
bool SetsNothing(const FILETIME& ft) {
  return (ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0) ||
         (ft.dwLowDateTime == 0xFFFFFFFFu && ft.dwHighDateTime == 0xFFFFFFFFu);
}

bool IsKnownKind(int32_t kind) {
  return kind == kCreationTime || kind == kLastAccessTime || kind == kLastWriteTime;
}

// Year to second from a Date; day of week and milliseconds are the record's own and stay.
void PutDate(const Date& date, SYSTEMTIME& st) {
  const DateParts p = date.Parts();
  st.wYear = static_cast<uint16_t>(p.year);
  st.wMonth = static_cast<uint16_t>(p.month);
  st.wDay = static_cast<uint16_t>(p.day);
  st.wHour = static_cast<uint16_t>(p.hour);
  st.wMinute = static_cast<uint16_t>(p.minute);
  st.wSecond = static_cast<uint16_t>(p.second);
}

// After a failure past the attribute clear: the file gets its own bits back before the error leaves.
[[noreturn]] void RestoreAndRaise(IFileSystem& files, const Text& path, int original, uint32_t systemCode) {
  try {
    files.SetAttr(path, original);
  } catch (const RaisedError&) {
    // The first failure is what the user must hear about.
  }
  RaiseSystemError(systemCode);
}

}  // namespace

modFileAttribute::modFileAttribute(IFileSystem& files, ITimeApi& time, ILocaleText& text)
    : files_(files), time_(time), text_(text) {}

Date modFileAttribute::ReadFileTime(const Text& path, int32_t kind) {
  if (!IsKnownKind(kind)) RaiseError(kErrInvalidCall);
  if (!files_.Exists(path, kAttrAllMask)) return Date();

  State& s = state_;
  QueryFile(files_, path, s.hFile, s.ofs, s.info);

  FetchZone(time_, s.tzi);
  const bool creationOk = time_.FileTimeToSystemTime(s.info.ftCreationTime, s.stCreation);
  const bool lastAccessOk = time_.FileTimeToSystemTime(s.info.ftLastAccessTime, s.stLastAccess);
  const bool lastWriteOk = time_.FileTimeToSystemTime(s.info.ftLastWriteTime, s.stLastWrite);

  const SYSTEMTIME* st = &s.stCreation;
  bool converted = creationOk;
  if (kind == kLastAccessTime) {
    st = &s.stLastAccess;
    converted = lastAccessOk;
  } else if (kind == kLastWriteTime) {
    st = &s.stLastWrite;
    converted = lastWriteOk;
  }
  // A stamp beyond what the conversion handles would leave an earlier time in the record.
  if (!converted) RaiseError(kErrOverflow);

  // The day plus hour, minute minus the offset and second as one span: minutes below 0 or above
  // 59 carry either way, and only the local result has to lie in the Date range.
  const int64_t days = DaysFromCivil(st->wYear, st->wMonth, st->wDay) - kZeroDateDays;
  const int64_t seconds = days * Date::kSecondsPerDay + int64_t{st->wHour} * 3600 +
                          (int64_t{st->wMinute} - s.tzi.Bias) * 60 + st->wSecond;
  return Date::FromSeconds(seconds);
}

void modFileAttribute::WriteFileTimes(const Text& path, const Date& creation, const Date& lastWrite,
                                      const Date& lastAccess) {
  if (!files_.Exists(path, kAttrAllMask)) return;

  State& s = state_;
  // Everything that can refuse the dates runs before the attributes are touched, so that a refusal
  // leaves the file as it was.
  FetchZone(time_, s.tzi);
  const auto shift = [&](const Date& local) {
    const Date utc = local.AddMinutes(s.tzi.Bias);
    if (utc.Seconds() < kFirstFileTimeSeconds) RaiseError(kErrOverflow);
    return utc;
  };
  const Date utcCreation = shift(creation);
  const Date utcLastAccess = shift(lastAccess);
  const Date utcLastWrite = shift(lastWrite);

  SYSTEMTIME stCreation = s.stCreation, stLastAccess = s.stLastAccess, stLastWrite = s.stLastWrite;
  PutDate(utcCreation, stCreation);
  PutDate(utcLastAccess, stLastAccess);
  PutDate(utcLastWrite, stLastWrite);
  FILETIME ftCreation, ftLastAccess, ftLastWrite;
  if (!time_.SystemTimeToFileTime(stLastAccess, ftLastAccess) ||
      !time_.SystemTimeToFileTime(stLastWrite, ftLastWrite) ||
      !time_.SystemTimeToFileTime(stCreation, ftCreation) || SetsNothing(ftLastAccess) ||
      SetsNothing(ftLastWrite) || SetsNothing(ftCreation)) {
    RaiseError(kErrOverflow);
  }
  s.stCreation = stCreation;
  s.stLastAccess = stLastAccess;
  s.stLastWrite = stLastWrite;
  s.ftCreation = ftCreation;
  s.ftLastAccess = ftLastAccess;
  s.ftLastWrite = ftLastWrite;

  // The clear must precede the open, or a read-only file could not be opened for writing.
  const int original = files_.GetAttr(path) & kAttrOwnedBits;
  files_.SetAttr(path, 0);

  s.hFile = files_.OpenFile(path, s.ofs, kOfReadWrite);
  if (s.hFile == kHfileError) RestoreAndRaise(files_, path, original, files_.GetLastError());
  const bool written = files_.SetFileTime(s.hFile, &s.ftCreation, &s.ftLastAccess, &s.ftLastWrite);
  const uint32_t writeError = written ? 0 : files_.GetLastError();
  files_.CloseHandle(s.hFile);
  if (!written) RestoreAndRaise(files_, path, original, writeError);
}

double modFileAttribute::ReadFileSize(const Text& path) {
  State& s = state_;
  QueryFile(files_, path, s.hFile, s.ofs, s.info);

  // The two halves make one 64-bit count; as a currency number that is the count / 10,000, and
  // multiplying it back by 10,000 overflows above kMaxReadableFileSize. A count with the top bit
  // set would read as a negative size: no file is that large, so it overflows as well.
  const uint64_t count = LastQueriedFileSize();
  if (count > static_cast<uint64_t>(kMaxReadableFileSize)) RaiseError(kErrOverflow);
  return text_.ReadNumberText(text_.GroupedWholeText(static_cast<int64_t>(count)));
}

uint64_t modFileAttribute::LastQueriedFileSize() const {
  return (uint64_t{state_.info.nFileSizeHigh} << 32) | state_.info.nFileSizeLow;
}

modFileAttribute::FileSnapshot modFileAttribute::TakeSnapshot(const Text& path) {
  FileSnapshot snapshot;
  snapshot.attributes = files_.GetAttr(path);
  // Its own records: the module state belongs to the three operations above.
  HFILE handle = 0;
  OFSTRUCT ofs;
  BY_HANDLE_FILE_INFORMATION info;
  QueryFile(files_, path, handle, ofs, info);
  snapshot.creation = info.ftCreationTime;
  snapshot.lastAccess = info.ftLastAccessTime;
  snapshot.lastWrite = info.ftLastWriteTime;
  return snapshot;
}

void modFileAttribute::RestoreSnapshot(const Text& path, const FileSnapshot& snapshot) {
  OFSTRUCT ofs;
  const HFILE handle = files_.OpenFile(path, ofs, kOfReadWrite);
  if (handle != kHfileError) {
    files_.SetFileTime(handle, &snapshot.creation, &snapshot.lastAccess, &snapshot.lastWrite);
    files_.CloseHandle(handle);
  }
  try {
    if ((files_.GetAttr(path) & kAttrOwnedBits) != (snapshot.attributes & kAttrOwnedBits)) {
      files_.SetAttr(path, snapshot.attributes & kAttrOwnedBits);
    }
  } catch (const RaisedError&) {
    // The failure being reported wins over one met while undoing it.
  }
}

}  // namespace timrose
