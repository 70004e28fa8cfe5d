// The window and store tests trust the simulated volume to answer as Windows does; these pin the
// behaviour they rely on.
#include <gtest/gtest.h>

#include "core/Error.h"
#include "tests/Support.h"
#include "tests/sim/SimVolume.h"

namespace timrose::sim {
namespace {

// Tick tables in other test files are built by static initialisers, which may run before the
// simulation's own: the conversion must not depend on them.
const uint64_t kTicksAtStart = TicksFromUtc(1601, 1, 2, 0, 0, 1);

TEST(SimTime, TicksAreRightEvenFromAStaticInitialiser) {
  EXPECT_EQ(kTicksAtStart, 864010000000u);
  EXPECT_EQ(TicksFromUtc(1601, 1, 1, 0, 0, 0), 0u);
  EXPECT_EQ(TicksFromUtc(2011, 3, 3, 20, 30, 15, 999, 1), 129436578159990001u);
}

struct Volume {
  SimTime time;
  SimVolume volume{time};
};

TEST(SimVolume, NamesResolveAsWindowsResolvesThem) {
  struct Case {
    const char16_t* path;
    bool found;
  } cases[] = {
      {u"C:\\Data\\Report.txt", true},
      {u"c:/data/REPORT.TXT", true},
      {u"C:\\Data\\\\Report.txt", true},
      {u"C:\\Data\\Report.txt. . ", true},
      {u"C:\\Data\\.\\x\\..\\Report.txt", true},
      {u"Data\\Report.txt", true},
      {u"\\Data\\Report.txt", true},
      {u"C:Data\\Report.txt", true},
      {u"C:\\Data\\ Report.txt", false},
      {u"C:\\Data\\Report", false},
      {u"D:\\Data\\Report.txt", false},
      {u"C:\\Data\\Report.txt\\", false},
      {u"C:\\数据\\ÄÖ.TXT", true},
      {u"C:\\数据\\äö.txt", true},
  };
  Volume v;
  v.volume.AddFile(u"C:\\Data\\Report.txt");
  v.volume.AddFile(u"C:\\数据\\äö.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path));
    EXPECT_EQ(v.volume.Find(c.path) != nullptr, c.found);
  }
  v.volume.SetCurrentDirectory(u"C:\\Data");
  EXPECT_NE(v.volume.Find(u"Report.txt"), nullptr);
  EXPECT_NE(v.volume.Find(u"..\\Data\\Report.txt"), nullptr);
  EXPECT_EQ(v.volume.GetAttr(u"report.txt"), kAttrArchive);
}

// Any UTF-16 name reaches its file, in any locale, at any length the long form takes; a name
// Windows refuses reaches none.
TEST(SimVolume, AnyNameReachesItsFileAndARefusedOneNone) {
  const Text deep = u"C:\\" + Text(200, u'深') + u"\\" + Text(799, u'长') + u".txt";
  struct Case {
    Text name;
    bool carried;
  } cases[] = {
      {u"C:\\中文.txt", true}, {u"C:\\pīnyīn.txt", true},  {u"C:\\한국.txt", true},
      {u"C:\\a😀.txt", true},   {u"C:\\niño €.txt", true},  {deep, true},
      {u"C:\\a|b.txt", false}, {u"C:\\a\"b\".txt", false}, {u"C:\\a\037b.txt", false},
      {u"C:\\a>b.txt", false},
  };
  ASSERT_EQ(deep.size(), 1007u);
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.name));
    Volume v;
    SimEntry& e = v.volume.AddFile(u"C:\\ab.txt", 10, kAttrArchive | kAttrHidden);
    if (c.carried) v.volume.AddFile(c.name, 10, kAttrArchive | kAttrHidden);
    OFSTRUCT ofs;
    const HFILE h = v.volume.OpenFile(c.name, ofs, kOfReadWrite);
    if (c.carried) {
      EXPECT_NE(h, kHfileError);
      EXPECT_EQ(v.volume.GetAttr(c.name), kAttrArchive | kAttrHidden);
      EXPECT_TRUE(v.volume.Exists(c.name, kAttrHidden));
      v.volume.SetAttr(c.name, kAttrReadOnly);
      EXPECT_EQ(v.volume.Find(c.name)->attributes, uint32_t{kAttrReadOnly});
      v.volume.CloseHandle(h);
    } else {
      EXPECT_EQ(h, kHfileError);
      EXPECT_EQ(v.volume.GetLastError(), 123u);
      EXPECT_EQ(RaisedNumber([&] { v.volume.GetAttr(c.name); }), kErrBadFileName);
      EXPECT_EQ(RaisedNumber([&] { v.volume.Exists(c.name, kAttrAllMask); }), kErrBadFileName);
      EXPECT_EQ(RaisedNumber([&] { v.volume.SetAttr(c.name, 0); }), kErrBadFileName);
    }
    EXPECT_EQ(e.attributes, uint32_t{kAttrArchive | kAttrHidden});
  }
}

TEST(SimVolume, ExistenceTestFollowsTheMaskAndMatchesNoWildcard) {
  struct Case {
    uint32_t attributes;
    bool folder;
    int mask;
    bool found;
  } cases[] = {
      {0, false, 0, true},
      {kAttrReadOnly | kAttrArchive | 0x2000, false, 0, true},
      {kAttrHidden, false, 0, false},
      {kAttrHidden, false, kAttrHidden, true},
      {kAttrHidden | kAttrSystem, false, kAttrHidden, false},
      {kAttrHidden | kAttrSystem, false, kAttrHidden | kAttrSystem | kAttrReadOnly, true},
      {kAttrDirectory, true, kAttrHidden | kAttrSystem | kAttrReadOnly | kAttrArchive, false},
      {kAttrDirectory, true, kAttrDirectory, true},
      {kAttrDirectory | kAttrHidden, true, kAttrDirectory, false},
      {kAttrDirectory | kAttrHidden | kAttrSystem, true, kAttrAllMask, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.attributes << " mask " << c.mask);
    Volume v;
    if (c.folder) {
      v.volume.AddFolder(u"C:\\x", c.attributes);
    } else {
      v.volume.AddFile(u"C:\\x", 0, c.attributes);
    }
    EXPECT_EQ(v.volume.Exists(u"C:\\x", c.mask), c.found);
  }
  Volume v;
  v.volume.AddFile(u"C:\\a1.txt");
  EXPECT_FALSE(v.volume.Exists(u"C:\\a2.txt", kAttrAllMask));
  EXPECT_FALSE(v.volume.Exists(u"C:\\none\\a1.txt", kAttrAllMask));
  for (const Text wild : {u"C:\\a?.txt", u"C:\\*.txt", u"C:\\a<.txt"}) {
    EXPECT_EQ(RaisedNumber([&] { v.volume.Exists(wild, kAttrAllMask); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { v.volume.GetAttr(wild); }), kErrBadFileName);
  }
}

TEST(SimVolume, OpenFailsTheWayWindowsDoes) {
  // Names C:\d\f.txt, but in more characters than Windows takes.
  Text dots;
  while (dots.size() <= size_t{kMaxPathLength}) dots += u"\\.";
  struct Case {
    const char* name;
    Text path;
    uint32_t style;
    uint32_t error;
  } cases[] = {
      {"missing", u"C:\\d\\none.txt", kOfRead, 2},
      {"missing folder", u"C:\\no\\f.txt", kOfRead, 3},
      {"file as folder", u"C:\\d\\f.txt\\g", kOfRead, 3},
      {"folder", u"C:\\d", kOfRead, 5},
      {"read-only for writing", u"C:\\d\\ro.txt", kOfReadWrite, 5},
      {"held open", u"C:\\d\\held.txt", kOfRead, 32},
      {"wildcard", u"C:\\d\\*.txt", kOfRead, 123},
      {"no such drive", u"Q:\\f.txt", kOfRead, 3},
      {"long form past the limit", u"C:\\d\\" + Text(kMaxPathLength - 9, u'x') + u".txt", kOfRead, 206},
      {"path text past the limit", u"C:\\d" + dots + u"\\f.txt", kOfRead, 206},
  };
  Volume v;
  v.volume.AddFile(u"C:\\d\\f.txt");
  v.volume.AddFile(u"C:\\d\\ro.txt", 0, kAttrReadOnly);
  v.volume.AddFile(u"C:\\d\\held.txt").heldOpen = true;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OFSTRUCT ofs;
    EXPECT_EQ(v.volume.OpenFile(c.path, ofs, c.style), kHfileError);
    EXPECT_EQ(v.volume.GetLastError(), c.error);
  }
  // Reading a read-only file is fine (read-only media: the contract suite).
  OFSTRUCT ofs;
  const HFILE h = v.volume.OpenFile(u"C:\\d\\ro.txt", ofs, kOfRead);
  ASSERT_NE(h, kHfileError);
  EXPECT_EQ(ofs.cBytes, sizeof(OFSTRUCT));
  const FILETIME ft = FileTimeOf(5);
  EXPECT_FALSE(v.volume.SetFileTime(h, &ft, &ft, &ft));
  EXPECT_EQ(v.volume.GetLastError(), 5u);
  EXPECT_TRUE(v.volume.CloseHandle(h));
  EXPECT_EQ(v.volume.OpenHandles(), 0);
}

// Null, 0 and all ones set nothing (all ones also stops later updates through the handle, which no
// one here makes); the FILETIME 0 is in the contract suite.
TEST(SimVolume, SetFileTimeLeavesAStampWhosePointerIsNullOrAllOnes) {
  Volume v;
  SimEntry& e = v.volume.AddFile(u"C:\\f.txt");
  e.creation = 1;
  e.lastAccess = 2;
  e.lastWrite = 3;
  OFSTRUCT ofs;
  const HFILE h = v.volume.OpenFile(u"C:\\f.txt", ofs, kOfReadWrite);
  const FILETIME ft = FileTimeOf(99);
  EXPECT_TRUE(v.volume.SetFileTime(h, nullptr, &ft, nullptr));
  EXPECT_EQ(e.creation, 1u);
  EXPECT_EQ(e.lastAccess, 99u);
  EXPECT_EQ(e.lastWrite, 3u);
  const FILETIME ones{0xFFFFFFFFu, 0xFFFFFFFFu};
  EXPECT_TRUE(v.volume.SetFileTime(h, &ones, &ones, &ft));
  EXPECT_EQ(e.creation, 1u);
  EXPECT_EQ(e.lastAccess, 99u);
  EXPECT_EQ(e.lastWrite, 99u);
  v.volume.CloseHandle(h);
}

TEST(SimVolume, ServicesKeepForeignBitsAndTellTheTruncatedLength) {
  Volume v;
  SimEntry& e = v.volume.AddFile(u"C:\\f.bin", (uint64_t{1} << 32) + 5, kAttrReadOnly | 0x2000 | 0x100);
  e.heldOpen = true;  // metadata services do not open the data
  v.volume.SetAttr(u"C:\\f.bin", kAttrHidden | kAttrArchive | kAttrDirectory | kAttrVolume);
  EXPECT_EQ(e.attributes, uint32_t{kAttrHidden | kAttrArchive | 0x2000 | 0x100});
  EXPECT_EQ(v.volume.FileLen(u"C:\\f.bin"), 5);
  v.volume.AddFile(u"C:\\g.bin", uint64_t{1} << 31);
  EXPECT_EQ(v.volume.FileLen(u"C:\\g.bin"), INT32_MIN);
  EXPECT_EQ(RaisedNumber([&] { v.volume.FileLen(u"C:\\none.bin"); }), kErrFileNotFound);
  EXPECT_EQ(RaisedNumber([&] { v.volume.GetAttr(u"C:\\none\\f.bin"); }), kErrFileNotFound);
  EXPECT_EQ(RaisedNumber([&] { v.volume.SetAttr(u"C:\\none.bin", 0); }), kErrFileNotFound);

  e.lastWrite = TicksFromUtc(2011, 3, 3, 20, 30, 15, 999);
  v.time.bias = -480;
  EXPECT_EQ(ToIsoText(v.volume.FileDateTime(u"C:\\f.bin")), "2011-03-04 04:30:15");
}

TEST(SimVolume, ForcedFailuresHooksAndTheCallLog) {
  Volume v;
  v.volume.AddFile(u"C:\\f.txt");
  v.volume.FailNext(Op::GetAttr, 5, 2);
  EXPECT_EQ(RaisedNumber([&] { v.volume.GetAttr(u"C:\\f.txt"); }), kErrPermissionDenied);
  EXPECT_EQ(RaisedNumber([&] { v.volume.GetAttr(u"C:\\f.txt"); }), kErrPermissionDenied);
  EXPECT_EQ(v.volume.GetAttr(u"C:\\f.txt"), kAttrArchive);

  // The hook runs before the operation; what it calls itself is neither logged nor hooked.
  v.volume.calls.clear();
  std::vector<Text> seen;
  v.volume.beforeCall = [&](Op op, const Text& path) {
    seen.push_back(path);
    if (op == Op::Exists) v.volume.SetAttr(path, kAttrHidden);
  };
  EXPECT_FALSE(v.volume.Exists(u"C:\\f.txt", 0));
  OFSTRUCT ofs;
  const HFILE h = v.volume.OpenFile(u"C:\\f.txt", ofs, kOfRead);
  BY_HANDLE_FILE_INFORMATION info;
  EXPECT_TRUE(v.volume.GetFileInformationByHandle(h, info));
  v.volume.CloseHandle(h);
  EXPECT_EQ(v.volume.calls,
            (std::vector<Op>{Op::Exists, Op::OpenFile, Op::GetFileInformationByHandle, Op::CloseHandle}));
  EXPECT_EQ(seen, (std::vector<Text>{u"C:\\f.txt", u"C:\\f.txt", u"C:\\f.txt", u"C:\\f.txt"}));
  EXPECT_EQ(v.volume.CallCount(Op::SetAttr), 0);

  // No other program can delete or replace a file this one holds open; once closed, it can.
  const HFILE h2 = v.volume.OpenFile(u"C:\\f.txt", ofs, kOfRead);
  v.volume.Remove(u"C:\\");
  v.volume.Remove(u"C:\\f.txt");
  v.volume.AddFolder(u"C:\\f.txt");
  EXPECT_TRUE(v.volume.GetFileInformationByHandle(h2, info));
  EXPECT_FALSE(v.volume.Find(u"C:\\f.txt")->directory);
  EXPECT_TRUE(v.volume.CloseHandle(h2));
  v.volume.Remove(u"C:\\f.txt");
  EXPECT_EQ(v.volume.Find(u"C:\\f.txt"), nullptr);
  EXPECT_FALSE(v.volume.CloseHandle(h2));
  EXPECT_EQ(v.volume.GetLastError(), 6u);
}

}  // namespace
}  // namespace timrose::sim
