// File selection: the file-open dialog (btnGet_Click) and a drop on the path box
// (txtPath_OLEDragDrop), on the in-memory form with a scripted dialog and drop data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Error.h"
#include "tests/sim/SimPlatform.h"

namespace timrose {
namespace {

using sim::DialogOutcome;
using sim::DialogSettings;
using sim::FormHarness;
using sim::ShownMessage;
using sim::SimDropData;

constexpr char16_t kFileA[] = u"C:\\data\\a.txt";
constexpr char16_t kFileB[] = u"C:\\data\\b.log";
const ShownMessage kDropRefusal{u"请勿拖拽其他内容,如我的电脑,网上邻居,回收站,文本,网站,图像等.", 64,
                                u"提示"};
const ShownMessage kDriveWarning{u"请勿直接拖拽磁盘盘符.", 48, u"提示"};
const ShownMessage kNotFound{u"没有找到文件.请确认是否选择了一个文件.", 64, u"提示"};

int CountOf(const std::vector<std::string>& log, const std::string& line) {
  int n = 0;
  for (const std::string& l : log) n += l == line ? 1 : 0;
  return n;
}

class SelectTest : public ::testing::Test {
 protected:
  SelectTest() {
    volume.AddFile(kFileA, 100);
    volume.AddFile(kFileB, 2048, kAttrArchive | kAttrReadOnly);
  }
  void Pick(const Text& name) {
    h.dialog.outcomes.push_back(DialogOutcome::Pick(name));
    form.Click(ControlId::btnGet);
  }
  void Cancel() {
    h.dialog.outcomes.push_back(DialogOutcome::Cancel());
    form.Click(ControlId::btnGet);
  }
  Text Path() { return form.GetText(ControlId::txtPath); }
  Text Size() { return form.GetText(ControlId::lblSize); }

  FormHarness h;
  sim::SimVolume& volume = h.sim.volume;
  sim::MemoryForm& form = h.form;
  std::vector<ShownMessage>& shown = h.sim.messages.shown;
};

TEST_F(SelectTest, TheDialogGetsItsSettingsBeforeEveryUse) {
  // Whatever the component held is overwritten, each time.
  h.dialog.CancelError = true;
  h.dialog.DialogTitle = u"x";
  h.dialog.Filter = u"Text|*.txt";
  h.dialog.InitDir = u"D:\\";
  Pick(kFileA);
  h.dialog.CancelError = true;
  h.dialog.InitDir = u"C:\\data";
  Cancel();
  const std::vector<DialogSettings> expected = {
      {false, u"选择文件", u"所有文件(*.*)|*.*", u"C:\\", u"", 32768},
      {false, u"选择文件", u"所有文件(*.*)|*.*", u"C:\\", kFileA, 32768},
  };
  EXPECT_EQ(h.dialog.shown, expected);
}

TEST_F(SelectTest, APickShowsTheFileFilledIn) {
  Pick(kFileA);
  EXPECT_EQ(Path(), kFileA);
  EXPECT_EQ(Size(), u"大小: 100 字节");
  EXPECT_TRUE(form.GetEnabled(ControlId::btnSet));
  EXPECT_EQ(form.Focus(), ControlId::txtPath);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(h.dialog.FileName, kFileA);
}

TEST_F(SelectTest, PickingTheFileOnShowReadsItAgain) {
  Pick(kFileB);
  EXPECT_EQ(Size(), u"大小: 2048 字节");
  EXPECT_EQ(form.GetValue(ControlId::chkReadOnly), 1);
  volume.Find(kFileB)->size = 4096;
  volume.Find(kFileB)->attributes = kAttrHidden;
  form.log.clear();
  Pick(kFileB);
  EXPECT_EQ(Size(), u"大小: 4096 字节");
  EXPECT_EQ(form.GetValue(ControlId::chkReadOnly), 0);
  EXPECT_EQ(form.GetValue(ControlId::chkHide), 1);
  // Emptied first, then set: two inspections.
  EXPECT_EQ(CountOf(form.log, "change txtPath begin"), 2);
}

TEST_F(SelectTest, ACancelBeforeAnyNameLeavesTheBoxEmptyAndFocusesTheButton) {
  Cancel();
  EXPECT_EQ(Path(), u"");
  EXPECT_EQ(form.Focus(), ControlId::btnGet);
  EXPECT_TRUE(shown.empty());
  EXPECT_FALSE(form.GetEnabled(ControlId::btnSet));
  EXPECT_EQ(h.dialog.FileName, u"");
  EXPECT_TRUE(volume.calls.empty());
}

TEST_F(SelectTest, ACancelAfterAPickInspectsThatFileAgain) {
  Pick(kFileA);
  volume.Find(kFileA)->size = 7;
  form.SetFocus(ControlId::txtTime2);
  Cancel();
  EXPECT_EQ(Path(), kFileA);
  EXPECT_EQ(Size(), u"大小: 7 字节");
  EXPECT_EQ(form.Focus(), ControlId::txtPath);
  EXPECT_TRUE(shown.empty());
}

TEST_F(SelectTest, ACancelAfterADropInspectsTheDroppedFile) {
  Pick(kFileA);
  SimDropData data({kFileB});
  form.Drop(data);
  ASSERT_EQ(Path(), kFileB);
  EXPECT_EQ(h.dialog.FileName, kFileB);
  Cancel();
  EXPECT_EQ(Path(), kFileB);
  EXPECT_EQ(Size(), u"大小: 2048 字节");
  ASSERT_EQ(h.dialog.shown.size(), 2u);
  EXPECT_EQ(h.dialog.shown[1].fileName, kFileB);
}

TEST_F(SelectTest, ACancelAfterAFailedPickOffersTheChosenNameAgain) {
  Pick(kFileA);
  Pick(u"C:\\data\\missing.txt");
  EXPECT_EQ(shown, std::vector<ShownMessage>{kNotFound});
  EXPECT_EQ(Path(), u"");
  // The dialog keeps the name chosen last, not the last file read.
  EXPECT_EQ(h.dialog.FileName, u"C:\\data\\missing.txt");
  shown.clear();
  volume.AddFile(u"C:\\data\\missing.txt", 3);
  Cancel();
  EXPECT_EQ(Path(), u"C:\\data\\missing.txt");
  EXPECT_EQ(Size(), u"大小: 3 字节");
  EXPECT_TRUE(shown.empty());
}

TEST_F(SelectTest, AFailedDialogIsReportedAndChangesNothing) {
  // The longest path the program can open fits the buffer (its long form has 32,767 characters);
  // a name longer than any path Windows takes does not.
  const Text deep = u"C:\\" + Text(200, u'深') + u"\\" + Text(32555, u'x') + u".txt";
  ASSERT_EQ(deep.size(), 32763u);
  volume.AddFile(deep, 9);
  Pick(deep);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(Path(), deep);
  Pick(kFileA);
  form.SetFocus(ControlId::btnGet);
  const std::string before = form.Snapshot();
  volume.calls.clear();
  form.log.clear();

  Pick(deep + u"xxxxx");
  EXPECT_EQ(
      shown,
      (std::vector<ShownMessage>{{u"20476\r\n文件名缓冲区太小,所选文件名超过了长度限制", 16, u"错误"}}));
  EXPECT_EQ(form.Snapshot(), before);
  EXPECT_EQ(h.dialog.FileName, kFileA);
  EXPECT_EQ(CountOf(form.log, "change txtPath begin"), 0);
  EXPECT_TRUE(volume.calls.empty());

  // Any other failure of the dialog is reported the same way, each with its own text.
  const struct {
    int number;
    const char16_t* box;
  } failures[] = {
      {20477, u"20477\r\n文件名无效"},
      {32755, u"32755\r\n选定了取消"},
      {32765, u"32765\r\n文件对话框初始化失败"},
      {7, u"7\r\n内存不足"},
      {51, u"51\r\n内部错误"},
  };
  for (const auto& failure : failures) {
    shown.clear();
    h.dialog.outcomes.push_back(DialogOutcome::Fail(failure.number));
    form.Click(ControlId::btnGet);
    EXPECT_EQ(shown, (std::vector<ShownMessage>{{failure.box, 16, u"错误"}}));
    EXPECT_EQ(form.Snapshot(), before);
  }
}

TEST_F(SelectTest, ADropTakesTheFirstOfSeveralFiles) {
  SimDropData data({kFileB, kFileA, u"C:\\data"});
  form.Drop(data);
  EXPECT_EQ(Path(), kFileB);
  EXPECT_EQ(Size(), u"大小: 2048 字节");
  EXPECT_EQ(data.filesCalls, 1);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(form.lastDropEffect, 1);
}

TEST_F(SelectTest, DroppingTheFileOnShowReadsItAgain) {
  SimDropData data({kFileA});
  form.Drop(data);
  volume.Find(kFileA)->size = 55;
  form.Drop(data);
  EXPECT_EQ(Path(), kFileA);
  EXPECT_EQ(Size(), u"大小: 55 字节");
}

TEST_F(SelectTest, ADropWithoutFilesOnAnEmptyBoxOnlyShowsTheMessage) {
  for (bool hasEmptyList : {false, true}) {
    SCOPED_TRACE(hasEmptyList);
    FormHarness fresh;
    SimDropData data = hasEmptyList ? SimDropData(std::vector<Text>{}) : SimDropData::NoFileList();
    fresh.form.Drop(data);
    EXPECT_EQ(fresh.sim.messages.shown, std::vector<ShownMessage>{kDropRefusal});
    EXPECT_EQ(fresh.form.GetText(ControlId::txtPath), u"");
    EXPECT_EQ(CountOf(fresh.form.log, "change txtPath begin"), 0);
    EXPECT_TRUE(fresh.sim.volume.calls.empty());
  }
}

TEST_F(SelectTest, ADropWithoutFilesOnAFilledBoxInspectsItsPathAgainThenRefuses) {
  Pick(kFileB);
  volume.Find(kFileB)->size = 999;
  form.log.clear();
  SimDropData data = SimDropData::NoFileList();
  form.Drop(data);
  EXPECT_EQ(Path(), kFileB);
  EXPECT_EQ(Size(), u"大小: 999 字节");
  EXPECT_TRUE(form.GetEnabled(ControlId::btnSet));
  EXPECT_EQ(shown, std::vector<ShownMessage>{kDropRefusal});
  // Emptied, then put back and inspected, and only then the message.
  ASSERT_FALSE(form.log.empty());
  EXPECT_EQ(form.log.back(), "msgbox 提示");
  EXPECT_EQ(CountOf(form.log, "change txtPath begin"), 2);
}

TEST_F(SelectTest, ADroppedDriveRootGetsTheDriveWarning) {
  Pick(kFileA);
  SimDropData data({u"C:\\"});
  form.Drop(data);
  EXPECT_EQ(shown, std::vector<ShownMessage>{kDriveWarning});
  EXPECT_EQ(Path(), u"");
  EXPECT_EQ(form.Focus(), ControlId::btnGet);
  EXPECT_FALSE(form.GetEnabled(ControlId::btnSet));
}

TEST_F(SelectTest, AFailingInspectionOfADroppedNameIsNoDropRefusal) {
  SimDropData data({u"C:\\data\\gone.txt"});
  form.Drop(data);
  // The inspection reports its own failure; the drop's trap does not see it.
  EXPECT_EQ(shown, std::vector<ShownMessage>{kNotFound});
  EXPECT_EQ(Path(), u"");
}

TEST_F(SelectTest, ADroppedFolderGoesToTheFolderQuestion) {
  volume.AddFolder(u"C:\\photos");
  h.sim.messages.answers.push_back(kAnswerYes);
  SimDropData data({u"C:\\photos"});
  form.Drop(data);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].style, 52);
  EXPECT_EQ(Path(), u"C:\\photos");
  EXPECT_FALSE(form.GetEnabled(ControlId::btnSet));
}

}  // namespace
}  // namespace timrose
