#include <gtest/gtest.h>

#include <functional>

#include "core/Error.h"
#include "core/modFileAttribute.h"
#include "tests/Support.h"
#include "tests/native/StoreWorld.h"

namespace timrose {
namespace {

using sim::Op;

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

}  // namespace
}  // namespace timrose
