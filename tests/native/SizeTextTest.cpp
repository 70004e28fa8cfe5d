#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "core/Error.h"
#include "core/SizeText.h"
#include "tests/Support.h"
#include "tests/sim/SimLocale.h"

namespace timrose {
namespace {

using sim::SimLocale;

Text Caption(long long bytes) {
  return u"大小: " + DecimalText(bytes) + u" 字节";
}

struct SizeCase {
  long long bytes;
  const char16_t* zh;
  const char16_t* de;
};

// zh-CN writes a decimal point, de-DE a decimal comma; the cut takes the comma like any other
// character, and the number read from a cut text stops at it.
constexpr SizeCase kSizes[] = {
    {0, u"0B", u"0B"},
    {7, u"7B", u"7B"},
    {999, u"999B", u"999B"},
    {1000, u"1000B", u"1000B"},
    {1023, u"1023B", u"1023B"},
    {1024, u"1024B", u"1024B"},
    {1025, u"1.00K", u"1,00K"},
    {1500, u"1.46K", u"1,46K"},
    {2048, u"2K", u"2K"},
    {10240, u"10K", u"10K"},
    {12345, u"12.0K", u"12,0K"},
    {65536, u"64K", u"64K"},
    {102400, u"100K", u"100K"},
    {103000, u"100.K", u"100,K"},
    {103424, u"101K", u"101K"},
    {500000, u"488K", u"488K"},
    {1048575, u"1023K", u"1023K"},
    {1048576, u"1024K", u"1024K"},
    {1048577, u"1.00M", u"1,00M"},
    {1072693248, u"1023M", u"1023M"},
    {3000000000, u"2.79G", u"2,79G"},
    {4294967296, u"4G", u"4G"},
    {1098437885952, u"1023G", u"1023G"},
    {1099511627776, u"1024G", u"1024G"},
    // Single precision cannot hold one byte over 1024 G: it stays in G.
    {1099511627777, u"1024G", u"1024G"},
    {1649267441664, u"1.5T", u"1,5T"},
    {165476499980288, u"150.5T", u"150,5T"},
    {922337203685477, u"838.8608T", u"838,8608T"},
    {1125899906842624, u"1024T", u"1024T"},
    {2251799813685248, u"2048T", u"2048T"},
};

TEST(FormatSizeShort, SizesInEveryUnitAreCutNotRounded) {
  SimLocale zh = SimLocale::ZhCN();
  SimLocale de = SimLocale::DeDE();
  for (const auto& c : kSizes) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(FormatSizeShort(zh, Caption(c.bytes)), c.zh);
    EXPECT_EQ(FormatSizeShort(de, Caption(c.bytes)), c.de);
  }
}

TEST(FormatSizeShort, TheCaptionIsReadFromItsFifthCharacter) {
  struct Case {
    const char16_t* caption;
    const char16_t* zh;
    const char16_t* de;
  } cases[] = {
      {u"", u"", u""},
      {u"大小:", u"", u""},
      {u"abc", u"", u""},
      {u"大小: ", u"0B", u"0B"},
      {u"1234", u"0B", u"0B"},
      {u"大小: 12,345 字节", u"12B", u"12B"},
      // A German grouping dot is the decimal point to the locale-free reading: 12.345 is cut.
      {u"大小: 12.345 字节", u"12.B", u"12,B"},
      // Four characters are skipped whatever they are.
      {u"大小:12345", u"2.29K", u"2,29K"},
      {u"大小: abc", u"0B", u"0B"},
      {u"大小: -5 字节", u"-5B", u"-5B"},
      // Beyond the single-precision range: the conversion fails inside.
      {u"大小: 1e39 字节", u"", u""},
  };
  SimLocale zh = SimLocale::ZhCN();
  SimLocale de = SimLocale::DeDE();
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.caption));
    EXPECT_EQ(FormatSizeShort(zh, c.caption), c.zh);
    EXPECT_EQ(FormatSizeShort(de, c.caption), c.de);
  }
}

class FailingNumberText : public SimLocale {
 public:
  FailingNumberText() : SimLocale(SimLocale::ZhCN()) {}
  std::function<void()> fail = [] { RaiseError(kErrOverflow); };
  Text SingleText(float value) override {
    fail();
    return SimLocale::SingleText(value);
  }
};

TEST(FormatSizeShort, ARaisedErrorGivesTheEmptyTextOutOfMemoryLeavesAsSeven) {
  FailingNumberText locale;
  EXPECT_EQ(FormatSizeShort(locale, Caption(12345)), u"");
  EXPECT_EQ(FormatSizeShort(locale, Caption(0)), u"");
  locale.fail = [] { throw std::bad_alloc(); };
  EXPECT_EQ(RaisedNumber([&] { FormatSizeShort(locale, Caption(12345)); }), kErrOutOfMemory);
  locale.fail = [] { throw std::out_of_range("a fault"); };
  EXPECT_THROW(FormatSizeShort(locale, Caption(12345)), std::out_of_range);
}

}  // namespace
}  // namespace timrose
