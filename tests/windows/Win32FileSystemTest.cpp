#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/LongPath.h"
#include "platform/win32/Win32FileSystem.h"
#include "tests/windows/Win32TestFiles.h"

namespace timrose::win32 {
namespace {

using testing::MakeFile;
using testing::TempFolder;
using testing::WideAttributes;

class Win32Files : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.Created()); }
  TempFolder dir;
  Win32FileSystem files;
};

// Every name reaches its own file, whatever the ANSI code page holds: a "?" put in place of a
// character is a wildcard, a best-fit letter names another file. The decoys with such substituted
// names exist, so a substituted name would find one of them.
TEST_F(Win32Files, UnicodeNamesReachTheirOwnFileInEveryCodePage) {
  ASSERT_TRUE(MakeFile(dir / u"a.txt", 1));
  ASSERT_TRUE(MakeFile(dir / u"_.txt", 1));
  for (const Text name : {u"한.txt", u"😀.txt", u"ā.txt", u"文件 名.txt", u"회의록 📅 会议.txt"}) {
    SCOPED_TRACE(testing::Utf8(name));
    const Text path = dir / name;
    ASSERT_TRUE(MakeFile(path, 12));
    EXPECT_TRUE(files.Exists(path, 0));
    EXPECT_EQ(files.FileLen(path), 12);
    EXPECT_EQ(RaisedNumber([&] { files.FileDateTime(path); }), 0);
    files.SetAttr(path, kAttrHidden);
    EXPECT_EQ(files.GetAttr(path) & 7, kAttrHidden);
    EXPECT_EQ(WideAttributes(path) & 7, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    OFSTRUCT ofs;
    const HFILE handle = files.OpenFile(path, ofs, kOfReadWrite);
    ASSERT_NE(handle, kHfileError) << files.GetLastError();
    BY_HANDLE_FILE_INFORMATION info;
    EXPECT_TRUE(files.GetFileInformationByHandle(handle, info));
    EXPECT_EQ(info.nFileSizeLow, 12u);
    EXPECT_TRUE(files.CloseHandle(handle));
  }
  // The decoys kept their attributes and sizes.
  for (const Text decoy : {u"a.txt", u"_.txt"}) {
    EXPECT_EQ(WideAttributes(dir / decoy) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(files.FileLen(dir / decoy), 1);
  }
}

TEST_F(Win32Files, MissingAndWildcardNames) {
  ASSERT_TRUE(MakeFile(dir / u"x.txt"));
  struct Case {
    Text path;
    int number;
    uint32_t openError;
  };
  const std::vector<Case> cases = {
      {dir / u"missing.txt", kErrFileNotFound, ERROR_FILE_NOT_FOUND},
      {dir / u"no folder\\x.txt", kErrFileNotFound, ERROR_PATH_NOT_FOUND},
      // Windows answers a drive letter that does not exist with 3, Wine with 2: 53 all the same.
      {u"Q:\\x.txt", kErrFileNotFound, 0},
      {dir / u"*.txt", kErrBadFileName, ERROR_INVALID_NAME},
      {dir / u"?.txt", kErrBadFileName, ERROR_INVALID_NAME},
      {dir / u"<.txt", kErrBadFileName, ERROR_INVALID_NAME},
      {dir / u"x|.txt", kErrBadFileName, ERROR_INVALID_NAME},
      {dir / u"x\".txt", kErrBadFileName, ERROR_INVALID_NAME},
      {dir / u"x\001.txt", kErrBadFileName, ERROR_INVALID_NAME},
      // Past the limit, in the text itself or in the long form: refused before Windows sees it.
      {dir / Text(kMaxPathLength, u'x'), kErrBadFileName, ERROR_FILENAME_EXCED_RANGE},
      {dir / Text(kMaxPathLength - 4 - dir.Path().size(), u'x'), kErrBadFileName, ERROR_FILENAME_EXCED_RANGE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Utf8(c.path.substr(0, 100)));
    EXPECT_EQ(RaisedNumber([&] { files.GetAttr(c.path); }), c.number);
    EXPECT_EQ(RaisedNumber([&] { files.SetAttr(c.path, 0); }), c.number);
    EXPECT_EQ(RaisedNumber([&] { files.FileLen(c.path); }), c.number);
    EXPECT_EQ(RaisedNumber([&] { files.FileDateTime(c.path); }), c.number);
    OFSTRUCT ofs;
    EXPECT_EQ(files.OpenFile(c.path, ofs, kOfRead), kHfileError);
    if (c.openError) {
      EXPECT_EQ(files.GetLastError(), c.openError);
    }
    // Wildcards never find x.txt: they are names Windows refuses.
    if (c.number == kErrBadFileName) {
      EXPECT_EQ(RaisedNumber([&] { files.Exists(c.path, kAttrAllMask); }), kErrBadFileName);
    } else {
      EXPECT_FALSE(files.Exists(c.path, kAttrAllMask));
    }
  }
  EXPECT_EQ(WideAttributes(dir / u"x.txt") & 7, 0u);
}

TEST_F(Win32Files, ExistenceTestFollowsTheMask) {
  struct Case {
    const char16_t* name;
    bool folder;
    DWORD attributes;
    int mask;
    bool found;
  };
  // Read-only and archive never hide an entry; hidden, system and directory each need their bit.
  const Case cases[] = {
      {u"plain", false, 0, 0, true},
      {u"ro", false, FILE_ATTRIBUTE_READONLY, 0, true},
      {u"ro", false, FILE_ATTRIBUTE_READONLY, 1, true},
      {u"hid", false, FILE_ATTRIBUTE_HIDDEN, 0, false},
      {u"hid", false, FILE_ATTRIBUTE_HIDDEN, 1 + 32, false},
      {u"hid", false, FILE_ATTRIBUTE_HIDDEN, 2, true},
      {u"sys", false, FILE_ATTRIBUTE_SYSTEM, 2, false},
      {u"sys", false, FILE_ATTRIBUTE_SYSTEM, 4, true},
      {u"hs", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 2, false},
      {u"hs", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 4, false},
      {u"hs", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 6, true},
      {u"hs", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 39, true},
      {u"dir", true, 0, 39, false},
      {u"dir", true, 0, 16, true},
      {u"dir", true, 0, kAttrAllMask, true},
      {u"hdir", true, FILE_ATTRIBUTE_HIDDEN, 16, false},
      {u"hdir", true, FILE_ATTRIBUTE_HIDDEN, 18, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Utf8(c.name) + " mask " + std::to_string(c.mask));
    const Text path = dir / c.name;
    if (WideAttributes(path) == INVALID_FILE_ATTRIBUTES) {
      ASSERT_TRUE(c.folder ? CreateDirectoryW(Wide(path), nullptr) != FALSE : MakeFile(path));
      if (c.attributes) {
        ASSERT_TRUE(SetFileAttributesW(Wide(path), c.attributes));
      }
    }
    EXPECT_EQ(files.Exists(path, c.mask), c.found);
  }
}

// Wine always reports the archive bit on files and never on folders, so only the other three
// owned bits are compared here; the simulated volume covers archive.
TEST_F(Win32Files, AttributeWriteReplacesTheOwnedBits) {
  const Text file = dir / u"f.txt";
  const Text folder = dir / u"sub";
  ASSERT_TRUE(MakeFile(file));
  ASSERT_TRUE(CreateDirectoryW(Wide(folder), nullptr));
  for (int bits : {7, 0, 1, 2, 4, 3, 6, 5, 39, 32}) {
    SCOPED_TRACE(bits);
    files.SetAttr(file, bits);
    EXPECT_EQ(files.GetAttr(file) & 7, bits & 7);
    EXPECT_EQ(WideAttributes(file) & 7, static_cast<DWORD>(bits & 7));
    // Folders under Wine ignore read-only: compare hidden and system only.
    files.SetAttr(folder, bits);
    EXPECT_EQ(files.GetAttr(folder) & 6, bits & 6);
    EXPECT_EQ(files.GetAttr(folder) & kAttrDirectory, kAttrDirectory);
  }
}

TEST_F(Win32Files, AttributeWriteKeepsOtherBits) {
  const Text file = dir / u"kept.txt";
  ASSERT_TRUE(MakeFile(file));
  int kept = 0;
  for (DWORD other : {FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, FILE_ATTRIBUTE_TEMPORARY, FILE_ATTRIBUTE_OFFLINE}) {
    SCOPED_TRACE(other);
    ASSERT_TRUE(SetFileAttributesW(Wide(file), other | FILE_ATTRIBUTE_HIDDEN));
    if (!(WideAttributes(file) & other)) continue;  // this volume does not keep the bit at all
    ++kept;
    for (int bits : {1, 0, 6, 39}) {
      files.SetAttr(file, bits);
      EXPECT_EQ(WideAttributes(file) & other, other);
      EXPECT_EQ(files.GetAttr(file) & 7, bits & 7);
    }
  }
  if (kept == 0) GTEST_SKIP() << "Wine keeps none of the other attribute bits on this volume";
}

TEST_F(Win32Files, FileLenGivesTheLowHalfAsSigned) {
  struct Case {
    int64_t size;
    int32_t length;
  };
  const Case cases[] = {
      {0, 0}, {5, 5}, {2147483647, 2147483647}, {2147483649LL, -2147483647}, {4294967296LL + 5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const Text path = dir / (u"len" + DecimalText(c.size));
    ASSERT_TRUE(MakeFile(path, c.size));
    EXPECT_EQ(files.FileLen(path), c.length);
  }
}

TEST_F(Win32Files, FileDateTimeIsTheLastWriteInLocalTime) {
  const Text path = dir / u"dated.txt";
  ASSERT_TRUE(MakeFile(path));
  ::TIME_ZONE_INFORMATION tzi;
  const DWORD zone = ::GetTimeZoneInformation(&tzi);
  // The conversion to local time uses the offset in force now, summer or winter.
  const LONG bias = tzi.Bias + (zone == TIME_ZONE_ID_DAYLIGHT ? tzi.DaylightBias : tzi.StandardBias);
  for (const Date& utc : {Date::FromParts(2011, 3, 3, 20, 30, 15), Date::FromParts(2000, 1, 1, 0, 0, 59)}) {
    SCOPED_TRACE(ToIsoText(utc));
    const ::FILETIME ft = testing::ToFileTime(utc);
    HANDLE h = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(::SetFileTime(h, nullptr, nullptr, &ft));
    ::CloseHandle(h);
    EXPECT_EQ(files.FileDateTime(path), utc.AddMinutes(-bias));
  }
}

TEST_F(Win32Files, OpenQueryAndSetTimesThroughTheHandle) {
  const Text path = dir / u"open.txt";
  ASSERT_TRUE(MakeFile(path, 4294967296LL + 7));
  OFSTRUCT ofs;
  const HFILE handle = files.OpenFile(path, ofs, kOfReadWrite);
  ASSERT_NE(handle, kHfileError);
  BY_HANDLE_FILE_INFORMATION info;
  ASSERT_TRUE(files.GetFileInformationByHandle(handle, info));
  EXPECT_EQ(info.nFileSizeHigh, 1u);
  EXPECT_EQ(info.nFileSizeLow, 7u);

  const Date access = Date::FromParts(2011, 3, 3, 4, 0, 0);
  const Date write = Date::FromParts(2012, 2, 29, 23, 59, 58);
  const ::FILETIME a = testing::ToFileTime(access), w = testing::ToFileTime(write);
  FILETIME ta{a.dwLowDateTime, a.dwHighDateTime}, tw{w.dwLowDateTime, w.dwHighDateTime};
  ASSERT_TRUE(files.SetFileTime(handle, &tw, &ta, &tw));
  ASSERT_TRUE(files.GetFileInformationByHandle(handle, info));
  EXPECT_EQ(
      testing::FromFileTime({info.ftLastAccessTime.dwLowDateTime, info.ftLastAccessTime.dwHighDateTime}),
      access);
  EXPECT_EQ(testing::FromFileTime({info.ftLastWriteTime.dwLowDateTime, info.ftLastWriteTime.dwHighDateTime}),
            write);
  EXPECT_TRUE(files.CloseHandle(handle));
  // Closed: the handle is gone.
  EXPECT_FALSE(files.GetFileInformationByHandle(handle, info));
}

TEST_F(Win32Files, FailedOpenKeepsItsErrorAndItsHandleIsNeverUsed) {
  OFSTRUCT ofs;
  const HFILE handle = files.OpenFile(dir / u"missing.txt", ofs, kOfRead);
  ASSERT_EQ(handle, kHfileError);
  EXPECT_EQ(files.GetLastError(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  BY_HANDLE_FILE_INFORMATION info;
  info.nFileSizeLow = 99;
  EXPECT_FALSE(files.GetFileInformationByHandle(handle, info));
  EXPECT_EQ(info.nFileSizeLow, 99u);
  FILETIME t;
  EXPECT_FALSE(files.SetFileTime(handle, &t, &t, &t));
  EXPECT_FALSE(files.CloseHandle(handle));
}

TEST_F(Win32Files, OpenFailsOnAFileHeldWithoutSharing) {
  const Text path = dir / u"held.txt";
  ASSERT_TRUE(MakeFile(path));
  HANDLE held = CreateFileW(Wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (uint32_t style : {kOfRead, kOfReadWrite}) {
    OFSTRUCT ofs;
    EXPECT_EQ(files.OpenFile(path, ofs, style), kHfileError);
    EXPECT_EQ(files.GetLastError(), static_cast<uint32_t>(ERROR_SHARING_VIOLATION));
  }
  ::CloseHandle(held);
  OFSTRUCT ofs;
  const HFILE handle = files.OpenFile(path, ofs, kOfRead);
  EXPECT_NE(handle, kHfileError);
  files.CloseHandle(handle);
}

// Every length up to the limit, around MAX_PATH and far beyond it, in names of every script: each
// operation reaches the file and no other.
TEST_F(Win32Files, PathsOfEveryLengthUpToTheLimit) {
  const struct {
    size_t length;
    const char16_t* filler;
  } cases[] = {{127, u"x"}, {128, u"文"}, {259, u"x"}, {260, u"文"}, {300, u"한😀文"}, {1000, u"x"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    const Text path = testing::MakeLongPath(dir.Path(), c.length, c.filler);
    ASSERT_EQ(path.size(), c.length);
    ASSERT_TRUE(MakeFile(path, 9));
    OFSTRUCT ofs;
    for (uint32_t style : {kOfRead, kOfReadWrite}) {
      const HFILE handle = files.OpenFile(path, ofs, style);
      ASSERT_NE(handle, kHfileError) << files.GetLastError();
      EXPECT_TRUE(files.CloseHandle(handle));
    }
    EXPECT_TRUE(files.Exists(path, 0));
    files.SetAttr(path, kAttrHidden);
    EXPECT_EQ(files.GetAttr(path) & 7, kAttrHidden);
    EXPECT_EQ(WideAttributes(path) & 7, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(files.FileLen(path), 9);
    EXPECT_EQ(RaisedNumber([&] { files.FileDateTime(path); }), 0);
  }
}

// The text the file functions get: the path itself below MAX_PATH characters of full path, from
// there on the long form of the full path as Windows resolves it; refused past the limit.
TEST_F(Win32Files, TheLongFormIsMadeFromTheFullPathFromMaxPathOn) {
  wchar_t current[MAX_PATH];
  ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, current), 0u);
  Text cwd = FromWide(current);
  if (cwd.back() != u'\\') cwd += u'\\';
  const Text& d = dir.Path();
  const auto name = [&](size_t fullLength) { return Text(fullLength - d.size() - 1, u'n'); };
  const struct {
    Text path;
    Text given;
    uint32_t error;
  } cases[] = {
      {d + u"\\a.txt", d + u"\\a.txt", 0},
      {d + u"\\" + name(259), d + u"\\" + name(259), 0},
      {d + u"\\.\\" + name(259), d + u"\\.\\" + name(259), 0},
      {d + u"\\" + name(260), u"\\\\?\\" + d + u"\\" + name(260), 0},
      {d + u"/sub/..\\.\\" + name(300) + u". .", u"\\\\?\\" + d + u"\\" + name(300), 0},
      {u"\\\\?\\" + d + u"\\" + name(300), u"\\\\?\\" + d + u"\\" + name(300), 0},
      {u"\\\\server\\share\\" + Text(300, u'u'), u"\\\\?\\UNC\\server\\share\\" + Text(300, u'u'), 0},
      {Text(300, u'r'), u"\\\\?\\" + cwd + Text(300, u'r'), 0},
      {d + u"\\" + name(kMaxPathLength - 4), u"\\\\?\\" + d + u"\\" + name(kMaxPathLength - 4), 0},
      {u"\\\\?\\" + d + u"\\" + name(kMaxPathLength - 4), u"\\\\?\\" + d + u"\\" + name(kMaxPathLength - 4),
       0},
      {d + u"\\" + name(kMaxPathLength - 3), u"", ERROR_FILENAME_EXCED_RANGE},
      {u"\\\\?\\" + d + u"\\" + name(kMaxPathLength - 3), u"", ERROR_FILENAME_EXCED_RANGE},
      {d + u"\\a.txt" + Text(1, u'\0') + u"b", u"", ERROR_INVALID_NAME},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Utf8(c.path.substr(0, 60)) + " ... " + std::to_string(c.path.size()));
    const SystemPath system = ToSystemPath(c.path);
    EXPECT_EQ(system.error, c.error);
    EXPECT_EQ(testing::Utf8(system.text), testing::Utf8(c.given));
  }
  EXPECT_EQ(WithoutLongForm(u"\\\\?\\C:\\a.exe"), u"C:\\a.exe");
  EXPECT_EQ(WithoutLongForm(u"\\\\?\\UNC\\server\\share\\a.exe"), u"\\\\server\\share\\a.exe");
  EXPECT_EQ(WithoutLongForm(u"C:\\a.exe"), u"C:\\a.exe");
}

// The open is OpenFile's own open without OpenFile's 128-byte path buffer. Wherever OpenFile can
// open at all, both give what the callers rely on: a handle to the file that answers the query and
// a time write alike; the same error number for each failure (a missing folder is 2 to one and 3
// to the other, both "not found"); and the same answer to another program opening the file
// meanwhile (readers and writers admitted, deletion not).
TEST_F(Win32Files, OpenGivesWhatOpenFileGivesWhereverOpenFileOpens) {
  const Text file = dir / u"f.txt", readOnly = dir / u"ro.txt", held = dir / u"held.txt";
  ASSERT_TRUE(MakeFile(file, 5));
  ASSERT_TRUE(MakeFile(readOnly, 6));
  ASSERT_TRUE(SetFileAttributesW(Wide(readOnly), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(MakeFile(held, 7));
  ASSERT_TRUE(CreateDirectoryW(Wide(dir / u"sub"), nullptr));
  HANDLE holder = CreateFileW(Wide(held), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  struct Other {
    DWORD access, share;
  };
  const Other others[] = {
      {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
      {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
      {GENERIC_READ, FILE_SHARE_READ},
      {GENERIC_READ, FILE_SHARE_WRITE},
      {DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE},
  };
  // What one open yields: its error number, then the file's size through the handle, whether a
  // time write through it succeeds, and each other program's error code while it is open.
  const auto observe = [&](const Text& path, HANDLE handle, DWORD error) {
    std::vector<int64_t> seen = {error == 0 ? 0 : ErrorNumberFromSystemCode(error)};
    if (error != 0) return seen;
    ::BY_HANDLE_FILE_INFORMATION info{};
    seen.push_back(::GetFileInformationByHandle(handle, &info) ? info.nFileSizeLow : -1);
    seen.push_back(::SetFileTime(handle, nullptr, nullptr, &info.ftLastWriteTime) ? 1 : 0);
    for (const Other& o : others) {
      HANDLE other = CreateFileW(Wide(path), o.access, o.share, nullptr, OPEN_EXISTING, 0, nullptr);
      seen.push_back(other == INVALID_HANDLE_VALUE ? ::GetLastError() : 0);
      if (other != INVALID_HANDLE_VALUE) ::CloseHandle(other);
    }
    ::CloseHandle(handle);
    return seen;
  };
  for (const Text& path : {file, readOnly, held, dir / u"sub", dir / u"none.txt", dir / u"none\\f.txt"}) {
    for (uint32_t style : {kOfRead, kOfReadWrite}) {
      SCOPED_TRACE(testing::Utf8(path) + " style " + std::to_string(style));
      ::OFSTRUCT legacyBuffer{};
      const ::HFILE legacy = ::OpenFile(ToAnsiExact(path)->c_str(), &legacyBuffer, style);
      const DWORD legacyError = legacy == HFILE_ERROR ? ::GetLastError() : 0;
      const std::vector<int64_t> expected =
          observe(path, reinterpret_cast<HANDLE>(static_cast<intptr_t>(legacy)), legacyError);
      OFSTRUCT buffer;
      const HFILE opened = files.OpenFile(path, buffer, style);
      const std::vector<int64_t> got = observe(path, reinterpret_cast<HANDLE>(static_cast<intptr_t>(opened)),
                                               opened == kHfileError ? files.GetLastError() : 0);
      EXPECT_EQ(got, expected);
    }
  }
  ::CloseHandle(holder);
}

}  // namespace
}  // namespace timrose::win32
