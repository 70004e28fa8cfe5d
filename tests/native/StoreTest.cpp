#include <gtest/gtest.h>

#include <functional>

#include "core/Error.h"
#include "core/modFileAttribute.h"
#include "tests/Support.h"
#include "tests/native/StoreWorld.h"

namespace timrose {
namespace {

using sim::Op;
using sim::TicksFromUtc;

Date Local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return Date::FromParts(y, mo, d, h, mi, s);
}

std::string OpsText(const std::vector<Op>& ops) {
  std::string out;
  for (Op op : ops) out += std::string(out.empty() ? "" : " ") + sim::OpName(op);
  return out;
}

class StoreTest : public ::testing::Test, public World {};

TEST_F(StoreTest, NoMatchReadsTheZeroDateAndWriteTouchesNothing) {
  volume.AddFile(u"C:\\data\\other.txt");
  for (const Text path : {u"C:\\data\\missing.txt", u"C:\\nowhere\\missing.txt"}) {
    for (int32_t kind : {kCreationTime, kLastAccessTime, kLastWriteTime}) {
      EXPECT_EQ(store.ReadFileTime(path, kind), Date());
    }
    const auto before = volume.Snapshot();
    volume.calls.clear();
    store.WriteFileTimes(path, Local(2011, 3, 3), Local(2011, 3, 3), Local(2011, 3, 3));
    EXPECT_EQ(OpsText(volume.calls), "Exists");
    EXPECT_EQ(volume.Snapshot(), before);
  }
  EXPECT_EQ(time.zoneCalls, 0);
}

TEST_F(StoreTest, EachArgumentLandsInItsOwnStamp) {
  time.bias = -480;
  sim::SimEntry& e = volume.AddFile(u"C:\\a.txt");
  const Date creation = Local(2001, 2, 3, 4, 5, 6);
  const Date lastWrite = Local(2002, 3, 4, 5, 6, 7);
  const Date lastAccess = Local(2003, 4, 5, 6, 7, 8);
  store.WriteFileTimes(u"C:\\a.txt", creation, lastWrite, lastAccess);
  EXPECT_EQ(e.creation, TicksFromUtc(2001, 2, 2, 20, 5, 6));
  EXPECT_EQ(e.lastWrite, TicksFromUtc(2002, 3, 3, 21, 6, 7));
  EXPECT_EQ(e.lastAccess, TicksFromUtc(2003, 4, 4, 22, 7, 8));
  EXPECT_EQ(store.ReadFileTime(u"C:\\a.txt", kCreationTime), creation);
  EXPECT_EQ(store.ReadFileTime(u"C:\\a.txt", kLastWriteTime), lastWrite);
  EXPECT_EQ(store.ReadFileTime(u"C:\\a.txt", kLastAccessTime), lastAccess);
  EXPECT_EQ(volume.OpenHandles(), 0);
}

// UTC stamp and the local Date it stands for, both ways.
TEST_F(StoreTest, OffsetsShiftBothWaysAndCarryAcrossDaysAndYears) {
  struct Case {
    int32_t bias;
    uint64_t utc;
    const char* local;
  } cases[] = {
      {-480, TicksFromUtc(2011, 3, 3, 20, 30, 15), "2011-03-04 04:30:15"},
      {300, TicksFromUtc(2011, 3, 3, 2, 0, 0), "2011-03-02 21:00:00"},
      {-480, TicksFromUtc(2010, 12, 31, 21, 0, 0), "2011-01-01 05:00:00"},
      {300, TicksFromUtc(2011, 1, 1, 3, 0, 0), "2010-12-31 22:00:00"},
      {300, TicksFromUtc(2012, 3, 1, 3, 59, 59), "2012-02-29 22:59:59"},
      {-345, TicksFromUtc(2011, 12, 31, 18, 15, 0), "2012-01-01 00:00:00"},
      {0, TicksFromUtc(1980, 1, 1, 0, 0, 0), "1980-01-01 00:00:00"},
      {-720, TicksFromUtc(9999, 12, 30, 23, 59, 59), "9999-12-31 11:59:59"},
  };
  sim::SimEntry& e = volume.AddFile(u"C:\\t.txt");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.local);
    time.bias = c.bias;
    e.creation = e.lastAccess = e.lastWrite = c.utc;
    for (int32_t kind : {kCreationTime, kLastAccessTime, kLastWriteTime}) {
      EXPECT_EQ(ToIsoText(store.ReadFileTime(u"C:\\t.txt", kind)), c.local);
    }
  }
  // Writing goes the other way: UTC = local + Bias.
  for (const auto& c : cases) {
    SCOPED_TRACE(c.local);
    time.bias = c.bias;
    int y, mo, d, h, mi, s;
    ASSERT_EQ(std::sscanf(c.local, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 6);
    store.WriteFileTimes(u"C:\\t.txt", Local(y, mo, d, h, mi, s), Local(y, mo, d, h, mi, s),
                         Local(y, mo, d, h, mi, s));
    EXPECT_EQ(e.creation, c.utc);
    EXPECT_EQ(e.lastAccess, c.utc);
    EXPECT_EQ(e.lastWrite, c.utc);
  }
}

TEST_F(StoreTest, TheWorkedExampleInAZoneEightHoursEast) {
  time.bias = -480;
  sim::SimEntry& e = volume.AddFile(u"C:\\x.txt");
  const Date noon = Local(2011, 3, 3, 12, 0, 0);
  store.WriteFileTimes(u"C:\\x.txt", noon, noon, noon);
  EXPECT_EQ(e.creation, TicksFromUtc(2011, 3, 3, 4, 0, 0));
  EXPECT_EQ(store.ReadFileTime(u"C:\\x.txt", kCreationTime), noon);
}

TEST_F(StoreTest, DaylightSavingNeverShiftsBeyondTheBias) {
  time.bias = 300;
  time.standardBias = 0;
  time.daylightBias = -60;
  sim::SimEntry& e = volume.AddFile(u"C:\\dst.txt");
  e.lastWrite = TicksFromUtc(2011, 7, 4, 16, 0, 0);
  e.lastAccess = TicksFromUtc(2011, 1, 4, 16, 0, 0);
  EXPECT_EQ(ToIsoText(store.ReadFileTime(u"C:\\dst.txt", kLastWriteTime)), "2011-07-04 11:00:00");
  EXPECT_EQ(ToIsoText(store.ReadFileTime(u"C:\\dst.txt", kLastAccessTime)), "2011-01-04 11:00:00");
  store.WriteFileTimes(u"C:\\dst.txt", Local(2011, 1, 1), Local(2011, 8, 1, 9), Local(2011, 12, 1, 9));
  EXPECT_EQ(e.lastWrite, TicksFromUtc(2011, 8, 1, 14, 0, 0));
  EXPECT_EQ(e.lastAccess, TicksFromUtc(2011, 12, 1, 14, 0, 0));
}

TEST_F(StoreTest, TheBiasIsFetchedAfreshOnEveryCall) {
  sim::SimEntry& e = volume.AddFile(u"C:\\z.txt");
  e.lastWrite = TicksFromUtc(2011, 3, 3, 12, 0, 0);
  time.bias = 0;
  EXPECT_EQ(ToIsoText(store.ReadFileTime(u"C:\\z.txt", kLastWriteTime)), "2011-03-03 12:00:00");
  time.bias = -480;
  EXPECT_EQ(ToIsoText(store.ReadFileTime(u"C:\\z.txt", kLastWriteTime)), "2011-03-03 20:00:00");
  time.bias = 60;
  store.WriteFileTimes(u"C:\\z.txt", Local(2011, 3, 3), Local(2011, 3, 3), Local(2011, 3, 3));
  EXPECT_EQ(e.lastWrite, TicksFromUtc(2011, 3, 3, 1, 0, 0));
  EXPECT_EQ(time.zoneCalls, 3);
}

TEST_F(StoreTest, MillisecondsAreDroppedOnReadAndCarriedIntoTheNextWrite) {
  sim::SimEntry& e = volume.AddFile(u"C:\\ms.txt");
  e.creation = TicksFromUtc(2011, 3, 3, 1, 2, 3, 123, 4567);
  e.lastAccess = TicksFromUtc(2011, 3, 3, 1, 2, 4, 456, 1);
  e.lastWrite = TicksFromUtc(2011, 3, 3, 1, 2, 5, 999, 9999);
  EXPECT_EQ(ToIsoText(store.ReadFileTime(u"C:\\ms.txt", kLastWriteTime)), "2011-03-03 01:02:05");
  // One read of any kind fills all three records, so each stamp carries its own fraction.
  store.WriteFileTimes(u"C:\\ms.txt", Local(2012, 1, 1), Local(2012, 1, 2), Local(2012, 1, 3));
  EXPECT_EQ(e.creation, TicksFromUtc(2012, 1, 1, 0, 0, 0, 123));
  EXPECT_EQ(e.lastWrite, TicksFromUtc(2012, 1, 2, 0, 0, 0, 999));
  EXPECT_EQ(e.lastAccess, TicksFromUtc(2012, 1, 3, 0, 0, 0, 456));

  // The carry follows the file read last, whichever file that is.
  sim::SimEntry& whole = volume.AddFile(u"C:\\whole.txt");
  whole.creation = whole.lastAccess = whole.lastWrite = TicksFromUtc(2011, 1, 1, 0, 0, 0);
  store.ReadFileTime(u"C:\\whole.txt", kCreationTime);
  store.WriteFileTimes(u"C:\\ms.txt", Local(2013, 1, 1), Local(2013, 1, 2), Local(2013, 1, 3));
  EXPECT_EQ(e.creation, TicksFromUtc(2013, 1, 1, 0, 0, 0));
  EXPECT_EQ(e.lastWrite, TicksFromUtc(2013, 1, 2, 0, 0, 0));
  EXPECT_EQ(e.lastAccess, TicksFromUtc(2013, 1, 3, 0, 0, 0));
}

TEST_F(StoreTest, AReadOnlyFileIsWrittenAndLeftWithOnlyTheForeignBits) {
  sim::SimEntry& e = AddTarget(u"C:\\ro.txt");
  store.WriteFileTimes(u"C:\\ro.txt", Local(2011, 3, 3, 8), Local(2011, 3, 3, 9), Local(2011, 3, 3, 10));
  EXPECT_EQ(e.attributes, kNotIndexed | kTemporary);
  EXPECT_EQ(e.creation, TicksFromUtc(2011, 3, 3, 8, 0, 0));
  EXPECT_EQ(e.lastWrite, TicksFromUtc(2011, 3, 3, 9, 0, 0));  // nothing read yet: no fraction carried
  EXPECT_EQ(volume.OpenHandles(), 0);
}

// What the Windows attribute write hands the system, in the numbers Windows gives the bits: the
// bits it would clear are handed back, the ones the system keeps itself are never passed.
TEST(AttributeWrite, HandsBackWhatWindowsWouldClearAndNothingItKeepsItself) {
  const struct {
    uint32_t current;
    int asked;
    uint32_t written;
  } cases[] = {
      {0x0, 0, 0x80},                   // nothing at all is "normal"
      {0x27, 0, 0x80},                  // the owned bits go
      {0x0, 39, 0x27},                  // and come as asked
      {0x100 | 0x2, 1, 0x101},          // temporary
      {0x1000, 32, 0x1020},             // offline
      {0x2000, 4, 0x2004},              // not content indexed
      {0x20000 | 0x80000, 0, 0xA0000},  // no scrub data, pinned
      {0x100000, 2, 0x100002},          // unpinned
      // Directory, volume, compressed, sparse, reparse point, encrypted: never given.
      {0x10 | 0x8 | 0x800 | 0x200 | 0x400 | 0x4000, 0, 0x80},
      {0x10 | 0x100, 16 | 8 | 2, 0x102},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AttributesToWrite(c.current, c.asked), c.written)
        << std::hex << c.current << " asked " << c.asked;
  }
}

TEST_F(StoreTest, TheWriteChecksEverythingBeforeItClearsThenOpensForWriting) {
  AddTarget(u"C:\\order.txt");
  int zoneCallsAtAttrRead = -1;
  uint32_t bitsAtOpen = 0xFFFF;
  volume.beforeCall = [&](Op op, const Text& path) {
    if (op == Op::GetAttr) zoneCallsAtAttrRead = time.zoneCalls;
    if (op == Op::OpenFile) bitsAtOpen = volume.Find(path)->attributes;
  };
  store.WriteFileTimes(u"C:\\order.txt", Local(2011, 3, 3), Local(2011, 3, 3), Local(2011, 3, 3));
  EXPECT_EQ(OpsText(volume.calls), "Exists GetAttr SetAttr OpenFile SetFileTime CloseHandle");
  EXPECT_EQ(zoneCallsAtAttrRead, 1);
  EXPECT_EQ(bitsAtOpen & kEveryOwnedBit, 0u);

  volume.calls.clear();
  store.ReadFileTime(u"C:\\order.txt", kLastWriteTime);
  EXPECT_EQ(OpsText(volume.calls), "Exists OpenFile GetFileInformationByHandle CloseHandle");
}

TEST_F(StoreTest, EdgesOfWhatAFileTimeAndADateHold) {
  sim::SimEntry& e = volume.AddFile(u"C:\\edge.txt");
  time.bias = -480;
  // Local 1601-01-01 08:00:00 is the FILETIME 0, which SetFileTime takes as "leave this stamp":
  // refused like a time before it, in any box, before anything is written.
  const sim::SimEntry original = e;
  EXPECT_EQ(RaisedNumber([&] {
              store.WriteFileTimes(u"C:\\edge.txt", Local(1601, 1, 1, 8, 0, 1), Local(2011, 1, 1, 0),
                                   Local(1601, 1, 1, 8));
            }),
            kErrOverflow);
  EXPECT_TRUE(e == original);
  EXPECT_EQ(volume.CallCount(sim::Op::SetAttr), 0);
  // A second later is the first instant written; the last Date second fits as well.
  store.WriteFileTimes(u"C:\\edge.txt", Local(1601, 1, 1, 8, 0, 1), Local(9999, 12, 31, 23, 59, 59),
                       Local(1601, 1, 1, 8, 0, 1));
  EXPECT_EQ(e.creation, 10000000u);
  EXPECT_EQ(e.lastWrite, TicksFromUtc(9999, 12, 31, 15, 59, 59));
  e.creation = 0;
  // A stamp whose local time lies past 9999 cannot be read.
  e.lastWrite = TicksFromUtc(9999, 12, 31, 20, 0, 0);
  EXPECT_EQ(RaisedNumber([&] { store.ReadFileTime(u"C:\\edge.txt", kLastWriteTime); }), kErrOverflow);
  // Only the local result has to be a Date: a UTC day in year 10000 is still 9999 to the west.
  time.bias = 300;
  e.lastWrite = TicksFromUtc(10000, 1, 1, 0, 30, 0);
  EXPECT_EQ(ToIsoText(store.ReadFileTime(u"C:\\edge.txt", kLastWriteTime)), "9999-12-31 19:30:00");
  EXPECT_EQ(ToIsoText(store.ReadFileTime(u"C:\\edge.txt", kCreationTime)), "1600-12-31 19:00:00");
  // Beyond what the conversion takes: an error, not the previous read's record.
  e.lastAccess = 0x8000000000000000ull;
  EXPECT_EQ(RaisedNumber([&] { store.ReadFileTime(u"C:\\edge.txt", kLastAccessTime); }), kErrOverflow);
}

TEST_F(StoreTest, AKindOtherThanOneTwoOrThreeIsRefused) {
  volume.AddFile(u"C:\\k.txt");
  for (int32_t kind : {0, 4, -1, 1000}) {
    EXPECT_EQ(RaisedNumber([&] { store.ReadFileTime(u"C:\\k.txt", kind); }), kErrInvalidCall) << kind;
  }
  EXPECT_TRUE(volume.calls.empty());
}

// A path of exactly that many characters, in folders of 200.
Text PathOfLength(size_t length, const Text& name = u"长") {
  Text path = u"C:";
  while (path.size() + 1 + 200 + 4 < length) path += u"\\" + Text(200, u'd');
  path += u"\\";
  while (path.size() + name.size() + 4 <= length) path += name;
  return path + Text(length - 4 - path.size(), u'x') + u".txt";
}

// Any name and any path up to the longest one Windows takes read and write like any other,
// fractions of a second carried; a name Windows refuses, or a longer path, raises 52 from the first
// operation and changes nothing.
TEST_F(StoreTest, AnyNameAndPathsUpToTheLimitWorkAndOthersChangeNothing) {
  time.bias = -480;
  const Text longest = PathOfLength(kMaxPathLength - 4);  // with "\\?\\", the limit exactly
  for (const Text& path : {Text(u"C:\\会议\\회의록 📅 记录.txt"), PathOfLength(259), PathOfLength(260),
                           PathOfLength(300, u"한😀文"), PathOfLength(1000, u"회의록📅"), longest}) {
    SCOPED_TRACE(path.size());
    ASSERT_EQ(volume.Find(path), nullptr);
    sim::SimEntry& e = AddTarget(path);
    EXPECT_EQ(volume.GetAttr(path) & kEveryOwnedBit, static_cast<int>(kEveryOwnedBit));
    EXPECT_EQ(ToIsoText(store.ReadFileTime(path, kLastWriteTime)), "2011-07-08 17:10:11");
    EXPECT_EQ(store.ReadFileSize(path), 1234.0);
    store.WriteFileTimes(path, Local(2011, 3, 3, 8), Local(2011, 3, 4, 9), Local(2011, 3, 5, 10));
    EXPECT_EQ(e.creation, TicksFromUtc(2011, 3, 3, 0, 0, 0, 120));
    EXPECT_EQ(e.lastWrite, TicksFromUtc(2011, 3, 4, 1, 0, 0, 560));
    EXPECT_EQ(e.lastAccess, TicksFromUtc(2011, 3, 5, 2, 0, 0, 340));
    EXPECT_EQ(e.attributes, kNotIndexed | kTemporary);
    EXPECT_EQ(volume.OpenHandles(), 0);
  }
  ASSERT_EQ(longest.size() + 4, size_t{kMaxPathLength});
  const Text tooLong = PathOfLength(kMaxPathLength - 3);
  AddTarget(tooLong);
  AddTarget(u"C:\\会议\\a.txt");
  const auto before = volume.Snapshot();
  const Date d = Local(2011, 3, 3);
  for (const Text& path : {tooLong, PathOfLength(kMaxPathLength + 1), Text(u"C:\\会议\\*.txt"),
                           Text(u"C:\\会议\\a|b.txt"), Text(u"C:\\会议\\a\tb.txt")}) {
    SCOPED_TRACE(ToUtf8(path.substr(0, 40)));
    volume.calls.clear();
    EXPECT_EQ(RaisedNumber([&] { store.ReadFileTime(path, kLastWriteTime); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { store.ReadFileSize(path); }), kErrBadFileName);
    EXPECT_EQ(RaisedNumber([&] { store.WriteFileTimes(path, d, d, d); }), kErrBadFileName);
    EXPECT_EQ(OpsText(volume.calls), "Exists OpenFile Exists");
  }
  EXPECT_EQ(volume.Snapshot(), before);
}

// Every way a write can fail: the error reaches the caller and the volume is exactly as before,
// times and every attribute bit of the target and of its neighbour included.
TEST_F(StoreTest, AFailedWriteRaisesAndLeavesTheVolumeAsItWas) {
  struct Case {
    const char* name;
    std::function<void(World&)> arrange;
    Text path;
    Date creation, lastWrite, lastAccess;
    int error;
  };
  const Date d = Local(2011, 3, 3, 12);
  const Date late = Local(9999, 12, 31, 23);  // past 9999 with Bias 300
  const Date year100 = Local(100, 1, 1);
  const Text target = u"C:\\数据\\目标.txt";
  const Case cases[] = {
      {"held open", [](World& t) { t.volume.Find(u"C:\\数据\\目标.txt")->heldOpen = true; }, target, d, d, d,
       kErrPermissionDenied},
      {"open refused", [](World& t) { t.volume.FailNext(Op::OpenFile, 5); }, target, d, d, d,
       kErrPermissionDenied},
      {"open sharing", [](World& t) { t.volume.FailNext(Op::OpenFile, 32); }, target, d, d, d,
       kErrPermissionDenied},
      {"time write refused", [](World& t) { t.volume.FailNext(Op::SetFileTime, 5); }, target, d, d, d,
       kErrPermissionDenied},
      {"time write device", [](World& t) { t.volume.FailNext(Op::SetFileTime, 1117); }, target, d, d, d,
       kErrPathFileAccess},
      {"attribute clear refused", [](World& t) { t.volume.SetReadOnlyMedia(true); }, target, d, d, d,
       kErrPermissionDenied},
      {"attribute read fails", [](World& t) { t.volume.FailNext(Op::GetAttr, 5); }, target, d, d, d,
       kErrPermissionDenied},
      {"zone unavailable", [](World& t) { t.time.failZone = true; }, target, d, d, d, kErrInvalidCall},
      {"folder", nullptr, u"C:\\数据", d, d, d, kErrPermissionDenied},
      {"bar in the name", nullptr, u"C:\\数据\\目|标.txt", d, d, d, kErrBadFileName},
      {"wildcard", nullptr, u"C:\\数据\\目?.txt", d, d, d, kErrBadFileName},
      {"path over the limit", nullptr, u"C:\\数据\\" + Text(kMaxPathLength - 6, u'长'), d, d, d,
       kErrBadFileName},
      {"creation past 9999", nullptr, target, late, d, d, kErrOverflow},
      {"last write past 9999", nullptr, target, d, late, d, kErrOverflow},
      {"last access past 9999", nullptr, target, d, d, late, kErrOverflow},
      {"creation before 1601", [](World& t) { t.time.bias = -480; }, target, Local(1601, 1, 1, 7, 59, 59), d,
       d, kErrOverflow},
      {"last write before 1601", [](World& t) { t.time.bias = -480; }, target, d,
       Local(1601, 1, 1, 7, 59, 59), d, kErrOverflow},
      {"last access before 1601", [](World& t) { t.time.bias = -480; }, target, d, d,
       Local(1601, 1, 1, 7, 59, 59), kErrOverflow},
      {"year 100", nullptr, target, year100, d, d, kErrOverflow},
      {"year 100 shifted below the range", [](World& t) { t.time.bias = -480; }, target, d, year100, d,
       kErrOverflow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    World w;
    w.time.bias = 300;
    w.volume.AddFolder(u"C:\\数据", kAttrDirectory | kAttrHidden | kAttrReadOnly | kNotIndexed);
    w.AddTarget(target);
    w.AddTarget(u"C:\\数据\\한국.txt");
    w.AddTarget(u"C:\\数据\\目标2.txt");
    // Something to carry: the target's own fractions in the shared records.
    w.store.ReadFileTime(target, kCreationTime);
    if (c.arrange) c.arrange(w);
    const auto before = w.volume.Snapshot();
    EXPECT_EQ(RaisedNumber([&] { w.store.WriteFileTimes(c.path, c.creation, c.lastWrite, c.lastAccess); }),
              c.error);
    EXPECT_EQ(w.volume.Snapshot(), before);
    EXPECT_EQ(w.volume.OpenHandles(), 0);
  }
}

TEST_F(StoreTest, AFileThatVanishesAfterTheExistenceTestIsReportedNotWritten) {
  AddTarget(u"C:\\gone.txt");
  volume.beforeCall = [&](Op op, const Text& path) {
    if (op == Op::OpenFile) volume.Remove(path);
  };
  EXPECT_EQ(RaisedNumber([&] {
              store.WriteFileTimes(u"C:\\gone.txt", Local(2011, 3, 3), Local(2011, 3, 3), Local(2011, 3, 3));
            }),
            kErrFileNotFound);
  EXPECT_EQ(volume.Find(u"C:\\gone.txt"), nullptr);
  // The restore after the failed open was tried, and its own failure did not hide the first one.
  EXPECT_EQ(OpsText(volume.calls), "Exists GetAttr SetAttr OpenFile SetAttr");
}

// A read that cannot open or query the file raises; it never hands back the times that an earlier
// read of another file left in the shared record.
// Both reads on a name that cannot be read: the records still hold the file read before, which
// must never come back; each read raises, or, for the time read of a name that matches nothing,
// gives the zero Date.
TEST_F(StoreTest, AFailedReadRaisesInsteadOfShowingAnEarlierFile) {
  struct Case {
    const char* name;
    std::function<void(World&)> arrange;
    Text path;
    int timeError, sizeError;  // 0: none
  };
  const Case cases[] = {
      {"missing", nullptr, u"C:\\none.txt", 0, kErrFileNotFound},
      {"missing folder", nullptr, u"C:\\none\\b.txt", 0, kErrFileNotFound},
      {"held open", [](World& t) { t.volume.Find(u"C:\\b.txt")->heldOpen = true; }, u"C:\\b.txt",
       kErrPermissionDenied, kErrPermissionDenied},
      {"folder", nullptr, u"C:\\dir", kErrPermissionDenied, kErrPermissionDenied},
      {"open fails", [](World& t) { t.volume.FailNext(Op::OpenFile, 2); }, u"C:\\b.txt", kErrFileNotFound,
       kErrFileNotFound},
      {"query fails", [](World& t) { t.volume.FailNext(Op::GetFileInformationByHandle, 6); }, u"C:\\b.txt",
       kErrPathFileAccess, kErrPathFileAccess},
      {"invalid name", nullptr, u"C:\\b<.txt", kErrBadFileName, kErrBadFileName},
      {"wildcard", nullptr, u"C:\\?.txt", kErrBadFileName, kErrBadFileName},
      // Only the time read needs the zone.
      {"zone unavailable", [](World& t) { t.time.failZone = true; }, u"C:\\b.txt", kErrInvalidCall, 0},
  };
  for (const auto& c : cases) {
    for (const bool size : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (size ? ", size" : ", time"));
      World w;
      w.volume.AddFile(u"C:\\a.txt", 5).lastWrite = TicksFromUtc(2011, 1, 1, 0, 0, 0);
      w.volume.AddFile(u"C:\\b.txt", 7).lastWrite = TicksFromUtc(2012, 2, 2, 0, 0, 0);
      w.volume.AddFolder(u"C:\\dir");
      if (size) {
        ASSERT_EQ(w.store.ReadFileSize(u"C:\\a.txt"), 5.0);
      } else {
        ASSERT_EQ(w.store.ReadFileTime(u"C:\\a.txt", kLastWriteTime), Local(2011, 1, 1));
      }
      if (c.arrange) c.arrange(w);
      double bytes = -1;
      Date date = Local(2000, 1, 1);
      const int raised = RaisedNumber([&] {
        if (size) {
          bytes = w.store.ReadFileSize(c.path);
        } else {
          date = w.store.ReadFileTime(c.path, kLastWriteTime);
        }
      });
      EXPECT_EQ(raised, size ? c.sizeError : c.timeError);
      // A read that goes through gives b's own size; a time read that finds nothing, the zero Date.
      if (raised == 0 && size) {
        EXPECT_EQ(bytes, 7.0);
      } else if (raised == 0) {
        EXPECT_EQ(date, Date());
      }
      EXPECT_EQ(w.volume.OpenHandles(), 0);
    }
  }
}

}  // namespace
}  // namespace timrose
