// The file dialog's records: the filter list and the file-name buffer it starts from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32CommonDialog.h"

namespace timrose::win32 {
namespace {

TEST(Win32CommonDialog, FilterBecomesADoubleNulList) {
  EXPECT_EQ(FilterList(u"所有文件(*.*)|*.*"), Text(u"所有文件(*.*)\0*.*\0\0", 15));
  EXPECT_TRUE(FilterList(u"").empty());
  EXPECT_EQ(FilterList(u"a|*.a|b|*.b"), Text(u"a\0*.a\0b\0*.b\0\0", 13));
}

TEST(Win32CommonDialog, StartNameIsCutToTheBuffer) {
  struct Case {
    Text name;
    int size;
    Text start;
  };
  const Case cases[] = {
      {u"C:\\a.txt", 260, u"C:\\a.txt"}, {u"", 260, u""}, {u"abcdef", 4, u"abc"}, {u"ab", 1, u""}};
  for (const Case& c : cases) {
    const Text buffer = FileNameBuffer(c.name, c.size);
    ASSERT_EQ(buffer.size(), static_cast<size_t>(c.size));
    EXPECT_EQ(Text(buffer.c_str()), c.start);
    EXPECT_EQ(buffer.back(), u'\0');
  }
}

}  // namespace
}  // namespace timrose::win32
