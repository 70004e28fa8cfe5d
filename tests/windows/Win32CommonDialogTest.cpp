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

// A start name the dialog would refuse or cut starts as the bare name in the file's folder.
TEST(Win32CommonDialog, ADeepStartNameStartsAsTheNameInItsFolder) {
  const Text root = u"C:\\", name = u"会议记录.txt";
  const Text shallow = u"C:\\d\\" + Text(200, u'f'), deep = u"C:\\d\\" + Text(280, u'f');
  const auto shortForm = [](const Text& folder) {
    return folder.size() > 260 ? Text(u"C:\\D\\FFFFFF~1") : Text();
  };
  const auto none = [](const Text&) { return Text(); };
  struct Case {
    Text fileName;
    bool hasShortForm;
    DialogStart start;
  };
  const Case cases[] = {
      {u"C:\\d\\a.txt", true, {u"C:\\d\\a.txt", root, false}},
      {u"", true, {u"", root, false}},
      {Text(259, u'x'), true, {Text(259, u'x'), root, false}},
      {shallow + u"\\" + Text(60, u'n'), true, {Text(60, u'n'), shallow, false}},
      {deep + u"\\" + name, true, {name, u"C:\\D\\FFFFFF~1", true}},
      {deep + u"\\" + name, false, {name, root, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileName.size());
    const DialogStart start =
        StartFor(c.fileName, root, c.hasShortForm ? std::function<Text(const Text&)>(shortForm) : none);
    EXPECT_EQ(start.fileName, c.start.fileName);
    EXPECT_EQ(start.initialDir, c.start.initialDir);
    EXPECT_EQ(start.shortFolder, c.start.shortFolder);
  }
}

}  // namespace
}  // namespace timrose::win32
