#include <windows.h>
#include <gtest/gtest.h>

#include "platform/win32/WideText.h"

namespace timrose::win32 {
namespace {

// The ANSI code page comes from the locale the test runs in (LANG/LC_ALL under Wine).
TEST(AnsiText, PlainAsciiPathsConvertExactly) {
  const Text path = u"C:\\windows\\temp\\a b.txt";
  const auto ansi = ToAnsiExact(path);
  ASSERT_TRUE(ansi.has_value());
  EXPECT_EQ(*ansi, "C:\\windows\\temp\\a b.txt");
  EXPECT_EQ(FromAnsi(*ansi), path);
}

TEST(AnsiText, CharactersOutsideTheCodePageAreRefusedNotSubstituted) {
  // A Korean syllable and an emoji fit neither 936 nor 1252.
  EXPECT_FALSE(ToAnsiExact(u"C:\\temp\\한.txt").has_value());
  EXPECT_FALSE(ToAnsiExact(u"C:\\temp\\😀.txt").has_value());
  // "ā" has a best-fit "a" in 1252 (never a look-alike name) and an exact form in 936.
  const auto macron = ToAnsiExact(u"C:\\temp\\ā.txt");
  if (GetACP() == 1252) {
    EXPECT_FALSE(macron.has_value());
  }
  if (GetACP() == 936) {
    EXPECT_EQ(FromAnsi(macron.value()), u"C:\\temp\\ā.txt");
  }
}

TEST(AnsiText, ChineseFitsOnlyTheChineseCodePage) {
  const auto ansi = ToAnsiExact(u"C:\\temp\\文件.txt");
  if (GetACP() == 936) {
    ASSERT_TRUE(ansi.has_value());
    EXPECT_EQ(ansi->size(), std::string("C:\\temp\\").size() + 4 + 4);
  } else {
    EXPECT_FALSE(ansi.has_value());
  }
}

}  // namespace
}  // namespace timrose::win32
