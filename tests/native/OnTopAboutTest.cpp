#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sim/SimPlatform.h"

namespace timrose::sim {
namespace {

std::vector<Text> SplitLines(const Text& text) {
  std::vector<Text> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(u"\r\n", start);
    lines.push_back(text.substr(start, end == Text::npos ? Text::npos : end - start));
    if (end == Text::npos) return lines;
    start = end + 2;
  }
}

bool StartsWith(const Text& text, const Text& head) {
  return text.compare(0, head.size(), head) == 0;
}
bool EndsWith(const Text& text, const Text& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
bool Contains(const Text& text, const Text& part) {
  return text.find(part) != Text::npos;
}

TEST(AboutTextTest, SixteenLinesWithTheFixedOnesExact) {
  const Text text = frmFileAttribute::AboutText();
  ASSERT_FALSE(EndsWith(text, u"\r\n"));
  const std::vector<Text> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 16u);

  const struct {
    int line;
    Text content;
  } fixed[] = {
      {1, u"欢迎使用本工具"},
      {2, Text(100, u' ')},
      {4, u"本工具在32位Windows操作系统下编制完成.工程建于2011年2月21日."},
      {5, u"本工具是作者业余爱好写成,部分代码参考自网络"},
      {6, u"本工具目前版本为1.0.6,可执行文件最终生成日期为2011年3月3日."},
      {7, u""},
      {8, u"本工具实现了对文件属性中的三种时间属性的获取与修改"},
      {9, u"同时可以获取和修改文件的四大基本属性(只读,隐藏,系统,存档)"},
      {10, u""},
      {14, u""},
      {16, u"使用前请知悉:文件时间属性的修改是系统底层操作,请慎用"},
  };
  for (const auto& f : fixed) EXPECT_EQ(lines[f.line - 1], f.content) << "line " << f.line;

  // The lines in the author's own wording: what each must name.
  EXPECT_TRUE(Contains(lines[2], u"Brackenmoor") && Contains(lines[2], u"vantrelTooL")) << ToUtf8(lines[2]);
  EXPECT_EQ(lines[10], u"作者:Brackenmoor(Corvath)");
  EXPECT_TRUE(StartsWith(lines[11], u"邮箱:") && EndsWith(lines[11], u"@example.com")) << ToUtf8(lines[11]);
  EXPECT_TRUE(StartsWith(lines[12], u"主页:暂无主页.(") && EndsWith(lines[12], u")") &&
              Contains(lines[12], u"Corvath"))
      << ToUtf8(lines[12]);
  EXPECT_TRUE(Contains(lines[14], u"vantrelTooL")) << ToUtf8(lines[14]);

  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE("line " + std::to_string(i + 1));
    EXPECT_EQ(lines[i].find_first_of(u"\r\n\t"), Text::npos);
    // Punctuation is ASCII throughout: no fullwidth comma, stop, colon or parentheses.
    EXPECT_EQ(lines[i].find_first_of(u"，。：（）；！"), Text::npos) << ToUtf8(lines[i]);
  }
  // The text lines are Chinese sentences (ASCII names only inside them).
  for (int i : {3, 15}) {
    bool chinese = false;
    for (char16_t c : lines[i - 1]) chinese = chinese || (c >= 0x4E00 && c <= 0x9FFF);
    EXPECT_TRUE(chinese) << "line " << i;
  }
}

TEST(AboutClickTest, ShowsTheTextWithTheDefaultPointerWhileOpen) {
  FormHarness h;
  ASSERT_EQ(h.form.MousePointer(ControlId::lblAbout), kPointerCustom);
  std::vector<int> pointerWhileOpen;
  h.sim.messages.onShow = [&](const ShownMessage&) {
    pointerWhileOpen.push_back(h.form.MousePointer(ControlId::lblAbout));
  };

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    h.form.Click(ControlId::lblAbout);
    ASSERT_EQ(h.sim.messages.shown.size(), static_cast<size_t>(round + 1));
    EXPECT_EQ(h.sim.messages.shown.back(), (ShownMessage{frmFileAttribute::AboutText(), 64, u"关于"}));
    EXPECT_EQ(pointerWhileOpen.back(), kPointerDefault);
    EXPECT_EQ(h.form.MousePointer(ControlId::lblAbout), kPointerCustom);
  }
  EXPECT_TRUE(h.sim.windows.calls.empty());
  EXPECT_EQ(h.sim.volume.calls.size(), 0u);
}

TEST(OnTopClickTest, EachPressEntersOrLeavesTheTopmostBandWithoutMovingTheWindow) {
  FormHarness h;
  const intptr_t expected[] = {-1, -2, -1, -2};
  for (size_t i = 0; i < std::size(expected); ++i) {
    h.form.Click(ControlId::chkOnTop);
    EXPECT_EQ(h.form.GetValue(ControlId::chkOnTop), i % 2 == 0 ? 1 : 0);
    ASSERT_EQ(h.sim.windows.calls.size(), i + 1);
    EXPECT_EQ(h.sim.windows.calls.back(), (SetWindowPosCall{MemoryForm::kHandle, expected[i], 0, 0, 0, 0, 3}))
        << "click " << i + 1;
  }
  EXPECT_TRUE(h.sim.messages.shown.empty());
}

// The handler reads the value as it stands; it keeps no flag of its own.
TEST(OnTopClickTest, FollowsTheValueNotTheNumberOfClicks) {
  FormHarness h;
  const struct {
    int value;
    intptr_t insertAfter;
  } cases[] = {{1, kHwndTopmost}, {1, kHwndTopmost}, {0, kHwndNoTopmost}, {0, kHwndNoTopmost}};
  for (const auto& c : cases) {
    h.form.SetEvents(nullptr);
    h.form.SetValue(ControlId::chkOnTop, c.value);
    h.form.SetEvents(&h.frm);
    h.frm.chkOnTop_Click();
    EXPECT_EQ(h.sim.windows.calls.back(),
              (SetWindowPosCall{MemoryForm::kHandle, c.insertAfter, 0, 0, 0, 0, kSwpNoSize | kSwpNoMove}));
  }
  EXPECT_EQ(h.sim.windows.calls.size(), std::size(cases));
}

}  // namespace
}  // namespace timrose::sim
