// The file-time store on real files. Runs in Asia/Shanghai by default and again in
// America/New_York (tests/CMakeLists.txt). Wine on Linux stores no creation time (it reports the
// last write time in its place) and always reports the archive bit on files, so creation times
// and archive are left to the simulated volume.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/modFileAttribute.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32LocaleText.h"
#include "platform/win32/Win32TimeApi.h"
#include "tests/windows/Win32TestFiles.h"

namespace timrose::win32 {
namespace {

using testing::MakeFile;
using testing::TempFolder;
using testing::WideAttributes;

LONG StandardBias() {
  ::TIME_ZONE_INFORMATION tzi;
  ::GetTimeZoneInformation(&tzi);
  return tzi.Bias;
}

struct Stamps {
  Date lastAccess, lastWrite;
};

Stamps StoredUtc(const Text& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  EXPECT_TRUE(GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data));
  return {testing::FromFileTime(data.ftLastAccessTime), testing::FromFileTime(data.ftLastWriteTime)};
}

class FileTimeStore : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.Created()); }
  TempFolder dir;
  Win32FileSystem files;
  Win32TimeApi time;
  Win32LocaleText text;
  modFileAttribute store{files, time, text};
};

TEST_F(FileTimeStore, WrittenTimesReadBackAndAreStoredShiftedByTheBias) {
  const Text path = dir / u"times.txt";
  ASSERT_TRUE(MakeFile(path));
  const LONG bias = StandardBias();
  struct Case {
    Date lastWrite, lastAccess;
  };
  const Case cases[] = {
      {Date::FromParts(2011, 3, 3, 12, 0, 0), Date::FromParts(2011, 3, 4, 4, 30, 15)},
      // Summer and winter are both shifted by the standard offset alone.
      {Date::FromParts(2020, 7, 15, 23, 59, 59), Date::FromParts(2020, 1, 15, 0, 0, 1)},
      // Crossing a year boundary one way or the other.
      {Date::FromParts(2011, 1, 1, 5, 0, 0), Date::FromParts(1999, 12, 31, 22, 30, 0)},
      {Date::FromParts(2038, 1, 19, 11, 14, 8), Date::FromParts(1970, 1, 1, 0, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToIsoText(c.lastWrite) + " / " + ToIsoText(c.lastAccess));
    store.WriteFileTimes(path, c.lastWrite, c.lastWrite, c.lastAccess);
    EXPECT_EQ(store.ReadFileTime(path, kLastWriteTime), c.lastWrite);
    EXPECT_EQ(store.ReadFileTime(path, kLastAccessTime), c.lastAccess);
    const Stamps utc = StoredUtc(path);
    EXPECT_EQ(utc.lastWrite, c.lastWrite.AddMinutes(bias));
    EXPECT_EQ(utc.lastAccess, c.lastAccess.AddMinutes(bias));
  }
}

TEST_F(FileTimeStore, WriteClearsReadOnlyHiddenAndSystem) {
  const Text path = dir / u"ro.txt";
  ASSERT_TRUE(MakeFile(path));
  ASSERT_TRUE(SetFileAttributesW(Wide(path),
                                 FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  const Date when = Date::FromParts(2015, 6, 1, 8, 0, 0);
  store.WriteFileTimes(path, when, when, when);
  EXPECT_EQ(WideAttributes(path) & 7, 0u);
  EXPECT_EQ(store.ReadFileTime(path, kLastWriteTime), when);
}

TEST_F(FileTimeStore, NoMatchReadsTheZeroDateAndWritesNothing) {
  EXPECT_EQ(store.ReadFileTime(dir / u"missing.txt", kLastWriteTime), Date());
  store.WriteFileTimes(dir / u"missing.txt", Date(), Date(), Date());
  EXPECT_EQ(WideAttributes(dir / u"missing.txt"), INVALID_FILE_ATTRIBUTES);
}

// A name Windows refuses, or a path past the limit, raises 52 and reaches no file: neither the
// files a wildcard would match nor the one a cut name would be.
TEST_F(FileTimeStore, BadNameRaises52AndTouchesNothing) {
  for (const Text decoy : {u"a.txt", u"ab.txt", u"a"}) {
    ASSERT_TRUE(MakeFile(dir / decoy));
    ASSERT_TRUE(SetFileAttributesW(Wide(dir / decoy), FILE_ATTRIBUTE_HIDDEN));
  }
  const Stamps before = StoredUtc(dir / u"a.txt");
  const Date when = Date::FromParts(2011, 3, 3, 12, 0, 0);
  for (const Text& path :
       {dir / u"a*.txt", dir / u"a?.txt", dir / u"a|b.txt", dir / u"a<b.txt", dir / u"a\001b.txt",
        dir / Text(u"a\0b.txt", 7), dir / Text(kMaxPathLength, u'a')}) {
    SCOPED_TRACE(testing::Utf8(path.substr(0, 100)));
    EXPECT_EQ(RaisedNumber([&] { store.ReadFileTime(path, kLastWriteTime); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { store.WriteFileTimes(path, when, when, when); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { store.ReadFileSize(path); }), kErrBadFileName);
  }
  for (const Text decoy : {u"a.txt", u"ab.txt", u"a"}) {
    EXPECT_EQ(WideAttributes(dir / decoy) & 7, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(StoredUtc(dir / decoy).lastWrite, before.lastWrite);
  }
}

// A file another program holds without sharing: every operation raises, none shows or keeps the
// values of an earlier file, and the attributes the write cleared come back.
TEST_F(FileTimeStore, FileHeldWithoutSharingRaisesAndKeepsTheFile) {
  const Text other = dir / u"other.txt";
  const Text path = dir / u"held.txt";
  ASSERT_TRUE(MakeFile(other, 77));
  ASSERT_TRUE(MakeFile(path, 5));
  ASSERT_TRUE(SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  const Stamps before = StoredUtc(path);
  EXPECT_EQ(store.ReadFileSize(other), 77.0);
  store.ReadFileTime(other, kLastWriteTime);

  HANDLE held = CreateFileW(Wide(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const Date when = Date::FromParts(2011, 3, 3, 12, 0, 0);
  EXPECT_EQ(RaisedNumber([&] { store.ReadFileTime(path, kLastWriteTime); }), kErrPermissionDenied);
  EXPECT_EQ(RaisedNumber([&] { store.ReadFileSize(path); }), kErrPermissionDenied);
  EXPECT_EQ(RaisedNumber([&] { store.WriteFileTimes(path, when, when, when); }), kErrPermissionDenied);
  ::CloseHandle(held);

  EXPECT_EQ(WideAttributes(path) & 7, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(StoredUtc(path).lastWrite, before.lastWrite);
  EXPECT_EQ(store.ReadFileSize(path), 5.0);
}

uint64_t Ticks(const ::FILETIME& ft) {
  return (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
}

::FILETIME WithTicks(const ::FILETIME& ft, uint64_t extra) {
  const uint64_t ticks = Ticks(ft) + extra;
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// Long paths and names of every script read and write like short ones, in every code page: an
// ASCII path of 180 characters, a Chinese one of 150, and a file named with Hangul, an emoji and
// Chinese in a folder about 300 characters deep. The fractions of a second read are carried.
TEST_F(FileTimeStore, LongPathsReadAndWriteLikeShortOnes) {
  const Text deep = testing::MakeLongPath(dir.Path(), 290, u"深层文件夹");
  ASSERT_TRUE(CreateDirectoryW(Wide(deep), nullptr));
  const std::vector<Text> paths = {testing::MakeLongPath(dir.Path(), 180, u"n"),
                                   testing::MakeLongPath(dir.Path(), 150, u"长路径"),
                                   deep + u"\\회의록 📅 会议记录.txt"};
  const LONG bias = StandardBias();
  const Date written = Date::FromParts(2012, 12, 12, 12, 12, 12);
  const Date accessed = Date::FromParts(2013, 1, 2, 3, 4, 5);
  for (const Text& path : paths) {
    SCOPED_TRACE(testing::Utf8(path));
    ASSERT_TRUE(MakeFile(path, 9));
    const ::FILETIME stamp = WithTicks(testing::ToFileTime(Date::FromParts(2011, 3, 3, 7, 4, 5)), 1230000);
    HANDLE h = CreateFileW(Wide(path), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(::SetFileTime(h, nullptr, &stamp, &stamp));
    ::CloseHandle(h);
    ASSERT_TRUE(SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ(files.GetAttr(path) & 7, kAttrHidden | kAttrReadOnly);
    EXPECT_TRUE(files.Exists(path, kAttrHidden | kAttrReadOnly));
    EXPECT_EQ(store.ReadFileTime(path, kLastWriteTime),
              Date::FromParts(2011, 3, 3, 7, 4, 5).AddMinutes(-bias));
    EXPECT_EQ(store.ReadFileSize(path), 9.0);
    EXPECT_EQ(files.FileLen(path), 9);

    store.WriteFileTimes(path, written, written, accessed);
    files.SetAttr(path, kAttrSystem);
    EXPECT_EQ(store.ReadFileTime(path, kLastWriteTime), written);
    EXPECT_EQ(store.ReadFileTime(path, kLastAccessTime), accessed);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data));
    EXPECT_EQ(Ticks(data.ftLastWriteTime) % 10000000, 1230000u) << "the 123 ms read were not carried";
    EXPECT_EQ(WideAttributes(path) & 7, static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
  }
}

TEST_F(FileTimeStore, SizesBeyondThirtyTwoBitsReadExactly) {
  Win32FileSystem& fs = files;
  for (int64_t size : {int64_t{0}, int64_t{2147483648}, int64_t{4294967296}, int64_t{4294967301}}) {
    SCOPED_TRACE(size);
    const Text path = dir / (u"s" + DecimalText(size));
    ASSERT_TRUE(MakeFile(path, size));
    EXPECT_EQ(store.ReadFileSize(path), static_cast<double>(size));
    EXPECT_EQ(fs.FileLen(path), static_cast<int32_t>(static_cast<uint32_t>(size)));
  }
}

}  // namespace
}  // namespace timrose::win32
