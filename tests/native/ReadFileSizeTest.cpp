#include <gtest/gtest.h>

#include <functional>

#include "core/Error.h"
#include "core/modFileAttribute.h"
#include "tests/Support.h"
#include "tests/sim/SimLocale.h"
#include "tests/sim/SimTime.h"
#include "tests/sim/SimVolume.h"

namespace timrose {
namespace {

using sim::Op;

// The number text service of a regional format, with a record of what went through it.
class SpyLocale : public sim::SimLocale {
 public:
  using SimLocale::SimLocale;
  std::vector<int64_t> grouped;
  std::vector<Text> read;
  Text GroupedWholeText(int64_t value) override {
    grouped.push_back(value);
    return SimLocale::GroupedWholeText(value);
  }
  double ReadNumberText(const Text& text) override {
    read.push_back(text);
    return SimLocale::ReadNumberText(text);
  }
};

struct World {
  sim::SimTime time;
  sim::SimVolume volume{time};
  SpyLocale locale{sim::SimLocale::ZhCN().profile};
  modFileAttribute store{volume, time, locale};
};

TEST(ReadFileSize, ExactSizesUpToTheCurrencyLimit) {
  const uint64_t sizes[] = {0,
                            1,
                            999,
                            2147483647,
                            2147483648,
                            3000000000,
                            4294967295,
                            uint64_t{1} << 32,
                            (uint64_t{1} << 32) + 5,
                            165476499980288,
                            9007199254740,
                            static_cast<uint64_t>(kMaxReadableFileSize)};
  World w;
  for (uint64_t size : sizes) {
    SCOPED_TRACE(size);
    w.volume.AddFile(u"C:\\big.bin", size);
    EXPECT_EQ(w.store.ReadFileSize(u"C:\\big.bin"), static_cast<double>(size));
    EXPECT_EQ(w.store.LastQueriedFileSize(), size);
  }
  EXPECT_EQ(w.volume.OpenHandles(), 0);
}

TEST(ReadFileSize, TheCountGoesThroughTheLocalesGroupedText) {
  World w;
  w.locale.profile = sim::SimLocale::DeDE().profile;
  w.volume.AddFile(u"C:\\big.bin", uint64_t{1} << 32);
  EXPECT_EQ(w.store.ReadFileSize(u"C:\\big.bin"), 4294967296.0);
  ASSERT_EQ(w.locale.grouped.size(), 1u);
  EXPECT_EQ(w.locale.grouped[0], 4294967296);
  ASSERT_EQ(w.locale.read.size(), 1u);
  EXPECT_EQ(w.locale.read[0], u"4.294.967.296");
  EXPECT_EQ(w.volume.calls, (std::vector<Op>{Op::OpenFile, Op::GetFileInformationByHandle, Op::CloseHandle}));
}

TEST(ReadFileSize, OneByteOverTheLimitOverflows) {
  const uint64_t sizes[] = {static_cast<uint64_t>(kMaxReadableFileSize) + 1, uint64_t{1} << 62,
                            0x7FFFFFFFFFFFFFFFull, 0x8000000000000000ull, 0xFFFFFFFFFFFFFFFFull};
  World w;
  for (uint64_t size : sizes) {
    SCOPED_TRACE(size);
    w.volume.AddFile(u"C:\\huge.bin", size);
    EXPECT_EQ(RaisedNumber([&] { w.store.ReadFileSize(u"C:\\huge.bin"); }), kErrOverflow);
    EXPECT_EQ(w.volume.OpenHandles(), 0);
  }
  EXPECT_TRUE(w.locale.grouped.empty());
}

// The shared record still holds the size of the file read before; a failure must not return it.
TEST(ReadFileSize, AFileThatCannotBeOpenedOrQueriedRaises) {
  struct Case {
    const char* name;
    std::function<void(World&)> arrange;
    Text path;
    int error;
  };
  const Case cases[] = {
      {"missing", nullptr, u"C:\\none.bin", kErrFileNotFound},
      {"missing folder", nullptr, u"C:\\none\\b.bin", kErrFileNotFound},
      {"held open", [](World& w) { w.volume.Find(u"C:\\b.bin")->heldOpen = true; }, u"C:\\b.bin",
       kErrPermissionDenied},
      {"folder", nullptr, u"C:\\dir", kErrPermissionDenied},
      {"wildcard", nullptr, u"C:\\?.bin", kErrBadFileName},
      {"query fails", [](World& w) { w.volume.FailNext(Op::GetFileInformationByHandle, 6); }, u"C:\\b.bin",
       kErrPathFileAccess},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    World w;
    w.volume.AddFile(u"C:\\a.bin", 5);
    w.volume.AddFile(u"C:\\b.bin", 7);
    w.volume.AddFolder(u"C:\\dir");
    ASSERT_EQ(w.store.ReadFileSize(u"C:\\a.bin"), 5.0);
    if (c.arrange) c.arrange(w);
    EXPECT_EQ(RaisedNumber([&] { w.store.ReadFileSize(c.path); }), c.error);
    EXPECT_EQ(w.volume.OpenHandles(), 0);
  }
}

}  // namespace
}  // namespace timrose
