#include <gtest/gtest.h>

#include <string>

#include "core/Error.h"
#include "core/NumberReading.h"

namespace timrose {
namespace {

TEST(Val, ReadsTheNumberAtTheStartAndStopsAtTheFirstForeignCharacter) {
  struct Case {
    const char16_t* text;
    double value;
  } cases[] = {
      {u"", 0},
      {u"abc", 0},
      {u"12345 字节", 12345},
      {u"   12", 12},
      {u"\t\n 5", 5},
      {u"12,345", 12},
      {u"12.5abc", 12.5},
      {u"-3.5", -3.5},
      {u"+7", 7},
      {u".5", 0.5},
      {u"100.", 100},
      {u"1.2.3", 1.2},
      {u"1e3", 1000},
      {u"1E-2", 0.01},
      {u"2D2", 200},
      {u"1e", 1},
      {u"1e+", 1},
      {u"3:04", 3},
      {u"0x10", 0},
      {u"１２", 0},
      {u"-", 0},
      {u".", 0},
      {u"838.8608T", 838.8608},
      {u"922337203685477", 922337203685477.0},
      {u"000000000000000000000000000042", 42},
      {u"1e-400", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(Val(c.text), c.value);
  }
}

TEST(Val, LongFractionsKeepTheirValueAndOnlyTooLargeNumbersOverflow) {
  const std::u16string tiny = u"0." + std::u16string(500, u'0') + u"1";
  EXPECT_EQ(Val(tiny), 0.0);
  const std::u16string small = u"0." + std::u16string(300, u'0') + u"25";
  EXPECT_DOUBLE_EQ(Val(small), 2.5e-301);
  const std::u16string manyDigits = u"1" + std::u16string(300, u'0');
  EXPECT_DOUBLE_EQ(Val(manyDigits), 1e300);
  for (const char16_t* text : {u"1e400", u"-1e309", u"1D99999999999"}) {
    SCOPED_TRACE(ToUtf8(text));
    int raised = 0;
    try {
      Val(text);
    } catch (const RaisedError& e) {
      raised = e.Number();
    }
    EXPECT_EQ(raised, kErrOverflow);
  }
}

}  // namespace
}  // namespace timrose
