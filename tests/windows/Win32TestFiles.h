#pragma once
// Real files for the Windows tests: a fresh folder under the user's temp folder per test, removed
// again with everything in it (attributes cleared first, so read-only entries go too).
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/Date.h"
#include "core/Error.h"
#include "core/Text.h"
#include "platform/win32/WideText.h"
#include "tests/Support.h"

namespace timrose::win32::testing {

inline Text TempRoot() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, buffer);
  Text root = FromWide(buffer);
  if (!root.empty() && root.back() == u'\\') root.pop_back();
  return root;
}

inline void RemoveTree(const Text& path) {
  SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_NORMAL);
  const DWORD attributes = GetFileAttributesW(Wide(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(Wide(path));
    return;
  }
  WIN32_FIND_DATAW found;
  const Text pattern = path + u"\\*";
  HANDLE search = FindFirstFileW(Wide(pattern), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const Text name = FromWide(found.cFileName);
      if (name != u"." && name != u"..") RemoveTree(path + u"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(Wide(path));
}

// One folder per test, made fresh and never shared. Wine numbers its processes from the same small
// ids after every start of its server, so a name made of the process id repeats from one run to the
// next, and between two runs at the same time in other prefixes: the folder takes the first free
// name of its kind instead of deleting what another process left or still uses under that name.
class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    const Text base = TempRoot() + u"\\trw" + DecimalText(GetCurrentProcessId()) + u"_";
    for (int tries = 0; tries < 1000 && !created_; ++tries) {
      path_ = base + DecimalText(++counter);
      created_ = CreateDirectoryW(Wide(path_), nullptr) != FALSE;
      if (!created_ && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
  }
  ~TempFolder() { RemoveTree(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool Created() const { return created_; }
  const Text& Path() const { return path_; }
  Text operator/(const Text& name) const { return path_ + u"\\" + name; }

 private:
  Text path_;
  bool created_ = false;
};

// Creates (or replaces) a file of the given size; sizes beyond the content are left sparse.
inline bool MakeFile(const Text& path, int64_t size = 3) {
  HANDLE file = CreateFileW(Wide(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER end;
  end.QuadPart = size;
  const bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return ok;
}

// A file path below `folder` of exactly `length` UTF-16 characters: folders of `filler` runs, each
// within 200 bytes of UTF-8 (Linux takes at most 255 in one name), then a file name of fillers
// padded with "y". The folders are made; the file is not.
inline Text MakeLongPath(const Text& folder, size_t length, const Text& filler) {
  const size_t fillerBytes = ToUtf8(filler).size();
  Text path = folder + u"\\";
  for (size_t segmentBytes = 0; path.size() + filler.size() < length; segmentBytes += fillerBytes) {
    if (segmentBytes + fillerBytes > 200) {
      CreateDirectoryW(Wide(path), nullptr);
      path += u"\\";
      segmentBytes = 0;
      if (path.size() + filler.size() >= length) break;
    }
    path += filler;
  }
  return path + Text(length - path.size(), u'y');
}

inline DWORD WideAttributes(const Text& path) {
  return GetFileAttributesW(Wide(path));
}

inline ::FILETIME ToFileTime(const Date& utc) {
  const DateParts p = utc.Parts();
  ::SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(p.year);
  st.wMonth = static_cast<WORD>(p.month);
  st.wDay = static_cast<WORD>(p.day);
  st.wHour = static_cast<WORD>(p.hour);
  st.wMinute = static_cast<WORD>(p.minute);
  st.wSecond = static_cast<WORD>(p.second);
  ::FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

inline Date FromFileTime(const ::FILETIME& ft) {
  ::SYSTEMTIME st{};
  FileTimeToSystemTime(&ft, &st);
  return Date::FromParts(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

inline std::string Utf8(const Text& text) {
  return ToUtf8(text);
}

}  // namespace timrose::win32::testing
