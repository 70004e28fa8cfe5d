// The file dialog's records: the filter list and the file-name buffer it starts from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32CommonDialog.h"

namespace timrose::win32 {
namespace {

TEST(Win32CommonDialog, FilterBecomesADoubleNulList) {
  const std::vector<wchar_t> list = FilterList(u"所有文件(*.*)|*.*");
  const std::wstring expected(L"所有文件(*.*)\0*.*\0\0", 15);
  EXPECT_EQ(std::wstring(list.begin(), list.end()), expected);
  EXPECT_TRUE(FilterList(u"").empty());
  const std::vector<wchar_t> two = FilterList(u"a|*.a|b|*.b");
  EXPECT_EQ(std::wstring(two.begin(), two.end()), std::wstring(L"a\0*.a\0b\0*.b\0\0", 13));
}

TEST(Win32CommonDialog, StartNameIsCutToTheBuffer) {
  struct Case {
    Text name;
    int size;
    std::wstring start;
  };
  const Case cases[] = {
      {u"C:\\a.txt", 260, L"C:\\a.txt"}, {u"", 260, L""}, {u"abcdef", 4, L"abc"}, {u"ab", 1, L""}};
  for (const Case& c : cases) {
    const std::vector<wchar_t> buffer = FileNameBuffer(c.name, c.size);
    ASSERT_EQ(buffer.size(), static_cast<size_t>(c.size));
    EXPECT_EQ(std::wstring(buffer.data()), c.start);
    EXPECT_EQ(buffer.back(), L'\0');
  }
}

}  // namespace
}  // namespace timrose::win32
