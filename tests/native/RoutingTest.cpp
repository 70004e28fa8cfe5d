// Event routing of the main window and the nested change event of the path box, on the
// in-memory form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/Support.h"
#include "tests/sim/SimPlatform.h"

namespace timrose {
namespace {

using sim::FormHarness;
using sim::SimDropData;

constexpr char16_t kFile[] = u"C:\\data\\report.txt";
constexpr char16_t kDropRefusal[] = u"请勿拖拽其他内容,如我的电脑,网上邻居,回收站,文本,网站,图像等.";

// A harness whose path box names a file without having inspected it yet.
void PrepareQuietPath(FormHarness& h) {
  h.sim.volume.AddFile(kFile, 100);
  h.form.SetEvents(nullptr);
  h.form.SetText(ControlId::txtPath, kFile);
  h.form.SetEvents(&h.frm);
  h.form.log.clear();
}

TEST(RoutingTest, EveryEventReachesItsOneHandlerAndNoOther) {
  for (const ControlDesc& desc : kControls) {
    const ControlId c = desc.id;
    SCOPED_TRACE(ControlName(c));
    frmFileAttribute::ClickHandler click = nullptr;
    if (c == ControlId::btnGet) click = &frmFileAttribute::btnGet_Click;
    if (c == ControlId::btnSet) click = &frmFileAttribute::btnSet_Click;
    if (c == ControlId::chkOnTop) click = &frmFileAttribute::chkOnTop_Click;
    if (c == ControlId::lblAbout) click = &frmFileAttribute::lblAbout_Click;
    EXPECT_TRUE(frmFileAttribute::HandlerOfClick(c) == click);

    FormHarness h;
    PrepareQuietPath(h);
    h.frm.OnChange(c);
    // The inspection of the path box's file, and nothing else.
    EXPECT_EQ(!h.sim.volume.calls.empty(), c == ControlId::txtPath);
    h.sim.volume.calls.clear();
    SimDropData noFiles = SimDropData::NoFileList();
    int32_t effect = 1;
    h.frm.OnOLEDragDrop(c, noFiles, effect, 1, 0, 10.0f, 10.0f);
    if (c == ControlId::txtPath) {
      ASSERT_EQ(h.sim.messages.shown.size(), 1u);
      EXPECT_EQ(h.sim.messages.shown[0].prompt, kDropRefusal);
    } else {
      EXPECT_TRUE(h.sim.messages.shown.empty());
      EXPECT_TRUE(h.form.log.empty());
    }
  }
}

// The lines of the log that show the order of events, focus moves and boxes.
std::vector<std::string> OrderLines(const std::vector<std::string>& log) {
  std::vector<std::string> out;
  for (const std::string& line : log) {
    if (line.rfind("change ", 0) == 0 || line.rfind("msgbox ", 0) == 0 || line.rfind("focus ", 0) == 0 ||
        line.rfind("text txtPath=", 0) == 0 || line.rfind("enable ", 0) == 0) {
      out.push_back(line);
    }
  }
  return out;
}

TEST(RoutingTest, ClearingThePathBoxRunsTheNestedInspectionInsideTheAssignment) {
  FormHarness h;
  h.form.SetText(ControlId::txtPath, u"C:\\");
  const std::vector<std::string> expected = {
      "text txtPath=C:\\",  "change txtPath begin", "msgbox 提示",
      "text txtPath=",      "change txtPath begin", "focus btnGet",
      "change txtPath end", "focus btnGet",         "change txtPath end",
  };
  EXPECT_EQ(OrderLines(h.form.log), expected);
}

TEST(RoutingTest, TheFolderAnswerNoEnablesTheButtonAfterTheNestedReset) {
  FormHarness h;
  h.sim.volume.AddFolder(u"C:\\photos");
  h.sim.messages.answers.push_back(kAnswerNo);
  h.form.SetText(ControlId::txtPath, u"C:\\photos");
  const std::vector<std::string> expected = {
      "text txtPath=C:\\photos", "change txtPath begin", "msgbox 提示",        "text txtPath=",
      "change txtPath begin",    "focus btnGet",         "change txtPath end", "focus btnGet",
      "enable btnSet",           "change txtPath end",
  };
  EXPECT_EQ(OrderLines(h.form.log), expected);
  EXPECT_TRUE(h.form.GetEnabled(ControlId::btnSet));
}

TEST(RoutingTest, SettingTheSameTextAgainRaisesNothing) {
  FormHarness h;
  h.form.SetText(ControlId::txtPath, u"");
  EXPECT_TRUE(h.form.log.empty());

  h.sim.volume.AddFile(kFile, 100);
  h.form.SetText(ControlId::txtPath, kFile);
  ASSERT_FALSE(h.sim.volume.calls.empty());
  h.form.log.clear();
  h.sim.volume.calls.clear();
  h.form.SetText(ControlId::txtPath, kFile);
  EXPECT_TRUE(h.form.log.empty());
  EXPECT_TRUE(h.sim.volume.calls.empty());
  EXPECT_TRUE(h.sim.messages.shown.empty());
}

TEST(RoutingTest, ClicksThroughTheFormReachOnlyEnabledControls) {
  FormHarness h;
  // btnSet starts disabled: its click never reaches the handler.
  h.form.Click(ControlId::btnSet);
  EXPECT_TRUE(h.sim.messages.shown.empty());
  EXPECT_TRUE(h.form.log.empty());

  // The toggle flips first, so the handler sees the new value: pressed, then released.
  h.form.Click(ControlId::chkOnTop);
  h.form.Click(ControlId::chkOnTop);
  ASSERT_EQ(h.sim.windows.calls.size(), 2u);
  EXPECT_EQ(h.sim.windows.calls[0].insertAfter, kHwndTopmost);
  EXPECT_EQ(h.sim.windows.calls[1].insertAfter, kHwndNoTopmost);
  EXPECT_EQ(h.form.GetValue(ControlId::chkOnTop), 0);

  // The attribute boxes flip and nothing handles them.
  for (ControlId box :
       {ControlId::chkReadOnly, ControlId::chkHide, ControlId::chkSystem, ControlId::chkArchive}) {
    h.form.Click(box);
    EXPECT_EQ(h.form.GetValue(box), 1) << ControlName(box);
  }
  EXPECT_EQ(h.sim.windows.calls.size(), 2u);
  EXPECT_TRUE(h.sim.messages.shown.empty());
  EXPECT_TRUE(h.sim.volume.calls.empty());
}

TEST(RoutingTest, ADropOnThePathBoxReachesTheDropHandler) {
  FormHarness h;
  h.sim.volume.AddFile(kFile, 100);
  SimDropData data({kFile});
  h.form.Drop(data);
  EXPECT_EQ(h.form.GetText(ControlId::txtPath), kFile);
  EXPECT_EQ(data.filesCalls, 1);
  EXPECT_TRUE(h.form.GetEnabled(ControlId::btnSet));
}

}  // namespace
}  // namespace timrose
