#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/Win32FileSystem.h"
#include "tests/win32/Win32TestFiles.h"

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

// Names the code page cannot hold must never reach Windows: a "?" put in their place is a
// wildcard, a best-fit letter names another file. Both the real file with that name and a decoy
// with the look-alike name exist, so a substituted name would find something.
TEST_F(Win32Files, BadNameUnconvertibleNamesRaise52AndTouchNothing) {
  std::vector<Text> names = {u"한.txt", u"😀.txt"};
  if (GetACP() == 1252) names.push_back(u"ā.txt");
  if (GetACP() != 936) names.push_back(u"文件.txt");
  ASSERT_TRUE(MakeFile(dir / u"a.txt"));
  ASSERT_TRUE(MakeFile(dir / u"_.txt"));
  for (const Text& name : names) {
    SCOPED_TRACE(testing::Utf8(name));
    const Text path = dir / name;
    ASSERT_TRUE(MakeFile(path));
    SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_HIDDEN);
    const DWORD before = WideAttributes(path);

    EXPECT_EQ(RaisedNumber([&] { files.GetAttr(path); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { files.Exists(path, kAttrAllMask); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { files.SetAttr(path, 0); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { files.FileLen(path); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { files.FileDateTime(path); }), kErrBadFileName);
    OFSTRUCT ofs;
    EXPECT_EQ(files.OpenFile(path, ofs, kOfReadWrite), kHfileError);
    EXPECT_EQ(files.GetLastError(), static_cast<uint32_t>(ERROR_INVALID_NAME));
    EXPECT_EQ(WideAttributes(path), before);
  }
  // The decoys kept their attributes as well.
  EXPECT_EQ(WideAttributes(dir / u"a.txt") & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(WideAttributes(dir / u"_.txt") & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(Win32Files, BadNameChineseNamesWorkUnderTheChineseCodePage) {
  if (GetACP() != 936) GTEST_SKIP() << "Chinese names need code page 936";
  const Text path = dir / u"文件 名.txt";
  ASSERT_TRUE(MakeFile(path, 12));
  EXPECT_TRUE(files.Exists(path, 0));
  EXPECT_EQ(files.FileLen(path), 12);
  files.SetAttr(path, kAttrHidden);
  EXPECT_EQ(files.GetAttr(path) & 7, kAttrHidden);
}

TEST_F(Win32Files, MissingAndWildcardNames) {
  ASSERT_TRUE(MakeFile(dir / u"x.txt"));
  struct Case {
    Text path;
    int number;
  };
  const std::vector<Case> cases = {
      {dir / u"missing.txt", kErrFileNotFound}, {dir / u"no folder\\x.txt", kErrFileNotFound},
      {dir / u"*.txt", kErrBadFileName},        {dir / u"?.txt", kErrBadFileName},
      {dir / u"<.txt", kErrBadFileName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Utf8(c.path));
    EXPECT_EQ(RaisedNumber([&] { files.GetAttr(c.path); }), c.number);
    EXPECT_EQ(RaisedNumber([&] { files.SetAttr(c.path, 0); }), c.number);
    EXPECT_EQ(RaisedNumber([&] { files.FileLen(c.path); }), c.number);
    EXPECT_EQ(RaisedNumber([&] { files.FileDateTime(c.path); }), c.number);
    // Wildcards never find x.txt.
    EXPECT_FALSE(files.Exists(c.path, kAttrAllMask));
  }
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

// The ANSI functions take 259 bytes of full path in the code page, not characters; every operation
// refuses one byte more with its own error, whatever Wine itself would take, and touches nothing.
TEST_F(Win32Files, PathsUpTo259AnsiBytesAndNotOneMore) {
  const Text filler = GetACP() == 936 ? u"文" : u"x";
  for (size_t total : {size_t{127}, size_t{128}, size_t{259}, size_t{260}}) {
    SCOPED_TRACE(total);
    const Text path = testing::MakeLongPath(dir.Path(), total, filler);
    ASSERT_EQ(ToAnsiExact(path)->size(), total);
    ASSERT_TRUE(MakeFile(path, 9));
    OFSTRUCT ofs;
    if (total <= 259) {
      for (uint32_t style : {kOfRead, kOfReadWrite}) {
        const HFILE handle = files.OpenFile(path, ofs, style);
        ASSERT_NE(handle, kHfileError) << files.GetLastError();
        EXPECT_TRUE(files.CloseHandle(handle));
      }
      EXPECT_TRUE(files.Exists(path, 0));
      files.SetAttr(path, kAttrHidden);
      EXPECT_EQ(files.GetAttr(path) & 7, kAttrHidden);
      EXPECT_EQ(files.FileLen(path), 9);
      EXPECT_EQ(RaisedNumber([&] { files.FileDateTime(path); }), 0);
    } else {
      ASSERT_TRUE(SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_HIDDEN));
      EXPECT_EQ(files.OpenFile(path, ofs, kOfReadWrite), kHfileError);
      EXPECT_EQ(files.GetLastError(), static_cast<uint32_t>(ERROR_FILENAME_EXCED_RANGE));
      EXPECT_EQ(RaisedNumber([&] { files.Exists(path, kAttrAllMask); }), kErrPathTooLong);
      EXPECT_EQ(RaisedNumber([&] { files.GetAttr(path); }), kErrPathTooLong);
      EXPECT_EQ(RaisedNumber([&] { files.SetAttr(path, 0); }), kErrPathTooLong);
      EXPECT_EQ(RaisedNumber([&] { files.FileLen(path); }), kErrPathTooLong);
      EXPECT_EQ(RaisedNumber([&] { files.FileDateTime(path); }), kErrPathTooLong);
      EXPECT_EQ(WideAttributes(path) & 7, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    }
  }
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
