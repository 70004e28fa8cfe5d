// The inspection of the path box (txtPath_Change) on the in-memory form and simulated volume.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/SizeText.h"
#include "tests/sim/SimPlatform.h"

namespace timrose {
namespace {

using sim::FormHarness;
using sim::Op;
using sim::ShownMessage;
using sim::TicksFromUtc;

constexpr char16_t kFile[] = u"C:\\data\\report.txt";
constexpr char16_t kNoFile[] = u"大小:当前没有选择文件";
const ShownMessage kDriveWarning{u"请勿直接拖拽磁盘盘符.", 48, u"提示"};
const ShownMessage kNotFound{u"没有找到文件.请确认是否选择了一个文件.", 64, u"提示"};
const ShownMessage kBadName{
    u"不可识别的文件名\r\n本错误可能是因为Unicode码无法显示造成\r\n"
    u"本工具对某些特殊Unicode字符暂时无法识别.\r\n\r\n请确保文件路径中未包含特殊字符",
    16, u"错误"};
const ShownMessage kFolderQuestion{u"本工具不对文件夹进行操作\r\n\r\n如果需要保留文件夹相关信息,请选择\"是\"",
                                   52, u"提示"};

class InspectTest : public ::testing::Test {
 protected:
  InspectTest() { h.sim.time.bias = -480; }

  // A file whose three stamps differ, so that each lands visibly in its own box.
  sim::SimEntry& AddReport(uint64_t size = 12345, uint32_t attributes = kAttrArchive) {
    sim::SimEntry& e = volume.AddFile(kFile, size, attributes);
    e.creation = TicksFromUtc(2011, 3, 3, 4, 0, 0);
    e.lastWrite = TicksFromUtc(2011, 3, 3, 20, 30, 15);
    e.lastAccess = TicksFromUtc(2010, 12, 31, 21, 0, 0);
    return e;
  }
  void SetPath(const Text& path) { form.SetText(ControlId::txtPath, path); }
  Text TextOf(ControlId c) { return form.GetText(c); }
  std::vector<int> Boxes() {
    return {form.GetValue(ControlId::chkReadOnly), form.GetValue(ControlId::chkHide),
            form.GetValue(ControlId::chkSystem), form.GetValue(ControlId::chkArchive)};
  }
  // Shows a file first, so that a reset that should follow can be seen.
  void ShowReportFirst() {
    AddReport();
    SetPath(kFile);
    ASSERT_TRUE(form.GetEnabled(ControlId::btnSet));
    ASSERT_NE(TextOf(ControlId::txtTime0), u"");
    volume.calls.clear();
    h.sim.messages.shown.clear();
    form.log.clear();
  }
  void ExpectResetDisplays() {
    EXPECT_EQ(TextOf(ControlId::txtTime0), u"");
    EXPECT_EQ(TextOf(ControlId::txtTime1), u"");
    EXPECT_EQ(TextOf(ControlId::txtTime2), u"");
    EXPECT_EQ(Boxes(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(TextOf(ControlId::lblSize), kNoFile);
    EXPECT_EQ(form.GetToolTip(ControlId::lblSize), u"");
  }

  FormHarness h;
  sim::SimVolume& volume = h.sim.volume;
  sim::MemoryForm& form = h.form;
  std::vector<ShownMessage>& shown = h.sim.messages.shown;
};

TEST_F(InspectTest, AFileFillsEveryDisplayAndNothingIsWritten) {
  AddReport();
  form.SetFocus(ControlId::txtTime1);
  SetPath(kFile);

  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(TextOf(ControlId::txtPath), kFile);
  EXPECT_TRUE(form.GetEnabled(ControlId::btnSet));
  EXPECT_EQ(TextOf(ControlId::txtTime0), u"2011/3/3 12:00:00");  // creation
  EXPECT_EQ(TextOf(ControlId::txtTime1), u"2011/3/4 4:30:15");   // last write
  EXPECT_EQ(TextOf(ControlId::txtTime2), u"2011/1/1 5:00:00");   // last access
  EXPECT_EQ(Boxes(), (std::vector<int>{0, 0, 0, 1}));
  EXPECT_EQ(TextOf(ControlId::lblSize), u"大小: 12345 字节");
  EXPECT_EQ(form.GetToolTip(ControlId::lblSize), u"12.0K");
  EXPECT_EQ(form.Focus(), ControlId::txtPath);
  EXPECT_EQ(form.SelStart(ControlId::txtPath), static_cast<int>(Text(kFile).size()));
  EXPECT_EQ(h.dialog.FileName, kFile);
  // One attribute read holds all four bits; looking writes nothing.
  EXPECT_EQ(volume.CallCount(Op::GetAttr), 1);
  EXPECT_EQ(volume.CallCount(Op::SetAttr), 0);
  EXPECT_EQ(volume.CallCount(Op::SetFileTime), 0);
  EXPECT_EQ(volume.Find(kFile)->attributes, static_cast<uint32_t>(kAttrArchive));
  EXPECT_EQ(volume.OpenHandles(), 0);
}

TEST_F(InspectTest, BoxesFollowTheAttributeBitsAndTheFileKeepsItsAttributes) {
  struct Case {
    uint32_t attributes;
    std::vector<int> boxes;  // read-only, hidden, system, archive
  };
  const Case cases[] = {
      {33, {1, 0, 0, 1}},
      {39, {1, 1, 1, 1}},
      {32, {0, 0, 0, 1}},
      {0, {0, 0, 0, 0}},
      {3, {1, 1, 0, 0}},
      {6, {0, 1, 1, 0}},
      // Higher bits (not indexed, temporary, offline) are no archive bit.
      {0x2000 | 1, {1, 0, 0, 0}},
      {0x100, {0, 0, 0, 0}},
      {0x1000 | 0x2000 | 2, {0, 1, 0, 0}},
      {0x2000 | 32 | 4, {0, 0, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    FormHarness fresh;
    fresh.sim.volume.AddFile(kFile, 10, c.attributes);
    fresh.form.SetText(ControlId::txtPath, kFile);
    EXPECT_TRUE(fresh.sim.messages.shown.empty());
    EXPECT_TRUE(fresh.form.GetEnabled(ControlId::btnSet));
    EXPECT_EQ((std::vector<int>{
                  fresh.form.GetValue(ControlId::chkReadOnly), fresh.form.GetValue(ControlId::chkHide),
                  fresh.form.GetValue(ControlId::chkSystem), fresh.form.GetValue(ControlId::chkArchive)}),
              c.boxes);
    EXPECT_EQ(fresh.sim.volume.CallCount(Op::SetAttr), 0);
    // Merely looking at a file must not change it.
    EXPECT_EQ(fresh.sim.volume.Find(kFile)->attributes, c.attributes);
  }
}

TEST_F(InspectTest, TheSizeCaptionTakesItsNumberFromTheRightSource) {
  struct Case {
    uint64_t size;
    const char16_t* caption;
    int fileLenCalls;
  };
  const Case cases[] = {
      {0, u"大小: 0 字节", 1},
      {1024, u"大小: 1024 字节", 1},
      {2147483647ull, u"大小: 2147483647 字节", 1},
      {2147483648ull, u"大小: 2147483648 字节", 0},
      {4294967296ull, u"大小: 4294967296 字节", 0},
      {4294967296ull + 5, u"大小: 4294967301 字节", 0},
      {3000000000000ull, u"大小: 3000000000000 字节", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    FormHarness fresh;
    fresh.sim.volume.AddFile(kFile, c.size);
    fresh.form.SetText(ControlId::txtPath, kFile);
    EXPECT_TRUE(fresh.sim.messages.shown.empty());
    EXPECT_EQ(fresh.form.GetText(ControlId::lblSize), c.caption);
    EXPECT_EQ(fresh.sim.volume.CallCount(Op::FileLen), c.fileLenCalls);
    EXPECT_EQ(fresh.form.GetToolTip(ControlId::lblSize), FormatSizeShort(fresh.sim.locale, c.caption));
  }
}

TEST_F(InspectTest, AnEmptyFileShowsZeroBytes) {
  AddReport(0);
  SetPath(kFile);
  EXPECT_EQ(TextOf(ControlId::lblSize), u"大小: 0 字节");
  EXPECT_EQ(form.GetToolTip(ControlId::lblSize), u"0B");
}

TEST_F(InspectTest, ABlankPathResetsTheWindowQuietly) {
  for (const char16_t* blank : {u"   ", u" "}) {
    SCOPED_TRACE(ToUtf8(blank));
    ShowReportFirst();
    SetPath(blank);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(TextOf(ControlId::txtPath), blank);
    EXPECT_FALSE(form.GetEnabled(ControlId::btnSet));
    ExpectResetDisplays();
    EXPECT_EQ(form.Focus(), ControlId::btnGet);
    EXPECT_TRUE(volume.calls.empty());
    SetPath(u"");
  }
}

TEST_F(InspectTest, OneToThreeCharactersAreRefusedAsADriveRoot) {
  for (const char16_t* path : {u"C:\\", u"C:", u"a", u"  C:\\  ", u" ab", u"D:\\"}) {
    SCOPED_TRACE(ToUtf8(path));
    ShowReportFirst();
    SetPath(path);
    EXPECT_EQ(shown, std::vector<ShownMessage>{kDriveWarning});
    EXPECT_EQ(TextOf(ControlId::txtPath), u"");
    EXPECT_FALSE(form.GetEnabled(ControlId::btnSet));
    ExpectResetDisplays();
    EXPECT_EQ(form.Focus(), ControlId::btnGet);
    EXPECT_TRUE(volume.calls.empty());
  }
}

TEST_F(InspectTest, FourCharactersGoOnToTheAttributeRead) {
  SetPath(u"C:\\a");
  EXPECT_EQ(shown, std::vector<ShownMessage>{kNotFound});
  ASSERT_FALSE(volume.calls.empty());
  EXPECT_EQ(volume.calls.front(), Op::GetAttr);

  shown.clear();
  volume.AddFile(u"C:\\a", 5);
  SetPath(u"C:\\a");
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(TextOf(ControlId::lblSize), u"大小: 5 字节");
  EXPECT_TRUE(form.GetEnabled(ControlId::btnSet));
}

TEST_F(InspectTest, AMissingNameShowsNotFoundAndEmptiesTheBox) {
  for (const char16_t* path : {u"C:\\data\\gone.txt", u"C:\\nowhere\\gone.txt"}) {
    SCOPED_TRACE(ToUtf8(path));
    ShowReportFirst();
    SetPath(path);
    EXPECT_EQ(shown, std::vector<ShownMessage>{kNotFound});
    EXPECT_EQ(TextOf(ControlId::txtPath), u"");
    EXPECT_FALSE(form.GetEnabled(ControlId::btnSet));
    ExpectResetDisplays();
    EXPECT_EQ(form.Focus(), ControlId::btnGet);
    EXPECT_EQ(volume.CallCount(Op::SetAttr), 0);
  }
}

TEST_F(InspectTest, ANameWindowsRefusesShowsTheFiveLineMessage) {
  volume.AddFile(u"C:\\data\\ab.txt", 10);
  for (const char16_t* path : {u"C:\\data\\a|b.txt", u"C:\\data\\a*.txt", u"C:\\data\\a\001b.txt"}) {
    SCOPED_TRACE(ToUtf8(path));
    ShowReportFirst();
    volume.calls.clear();
    SetPath(path);
    EXPECT_EQ(shown, std::vector<ShownMessage>{kBadName});
    EXPECT_EQ(TextOf(ControlId::txtPath), u"");
    EXPECT_FALSE(form.GetEnabled(ControlId::btnSet));
    ExpectResetDisplays();
    EXPECT_EQ(form.Focus(), ControlId::btnGet);
    // Refused at the attribute read, before any store operation sees the name.
    EXPECT_EQ(volume.calls, std::vector<Op>{Op::GetAttr});
  }
}

TEST_F(InspectTest, AFolderAnsweredYesKeepsItsDateAndAttributesOnShow) {
  sim::SimEntry& folder = volume.AddFolder(u"C:\\photos", kAttrDirectory | kAttrHidden | kAttrReadOnly);
  folder.lastWrite = TicksFromUtc(2011, 3, 3, 20, 30, 15);
  const auto before = volume.Snapshot();
  form.SetFocus(ControlId::txtTime1);
  h.sim.messages.answers.push_back(kAnswerYes);
  SetPath(u"C:\\photos");

  EXPECT_EQ(shown, std::vector<ShownMessage>{kFolderQuestion});
  EXPECT_EQ(TextOf(ControlId::txtPath), u"C:\\photos");
  EXPECT_FALSE(form.GetEnabled(ControlId::btnSet));
  EXPECT_EQ(TextOf(ControlId::txtTime0), u"2011/3/4 4:30:15");
  EXPECT_EQ(TextOf(ControlId::txtTime1), u"");
  EXPECT_EQ(TextOf(ControlId::txtTime2), u"");
  EXPECT_EQ(Boxes(), (std::vector<int>{1, 1, 0, 0}));
  EXPECT_EQ(TextOf(ControlId::lblSize), kNoFile);
  EXPECT_EQ(form.GetToolTip(ControlId::lblSize), u"");
  EXPECT_EQ(form.Focus(), ControlId::txtTime1);
  EXPECT_EQ(h.dialog.FileName, u"");
  EXPECT_EQ(volume.CallCount(Op::SetAttr), 0);
  EXPECT_EQ(volume.Snapshot(), before);
}

TEST_F(InspectTest, AFolderAnsweredNoEndsEmptyWithTheButtonEnabled) {
  ShowReportFirst();
  volume.AddFolder(u"C:\\photos", kAttrDirectory | kAttrSystem);
  const auto before = volume.Snapshot();
  h.sim.messages.answers.push_back(kAnswerNo);
  SetPath(u"C:\\photos");

  EXPECT_EQ(shown, std::vector<ShownMessage>{kFolderQuestion});
  EXPECT_EQ(TextOf(ControlId::txtPath), u"");
  EXPECT_TRUE(form.GetEnabled(ControlId::btnSet));
  ExpectResetDisplays();
  EXPECT_EQ(form.Focus(), ControlId::btnGet);
  EXPECT_EQ(volume.CallCount(Op::SetAttr), 0);
  EXPECT_EQ(volume.Snapshot(), before);
}

// Looking needs no write access: a file on a read-only medium, on a volume that takes no attribute
// write, or that the user may not change is shown like any other.
TEST_F(InspectTest, AFileThatCannotBeWrittenIsShownLikeAnyOther) {
  for (const char* where : {"write-protected", "readonly", "fat32"}) {
    SCOPED_TRACE(where);
    FormHarness fresh;
    sim::SimEntry& e = fresh.sim.volume.AddFile(kFile, 12345, kAttrArchive | kAttrReadOnly | kAttrSystem);
    e.lastWrite = TicksFromUtc(2011, 3, 3, 20, 30, 15);
    for (const VolumeProfile& p : kVolumeProfiles) {
      if (p.name == where) fresh.sim.volume.SetProfile(p);
    }
    if (std::string_view(where) == "write-protected") fresh.sim.volume.SetReadOnlyMedia(true);
    const auto before = fresh.sim.volume.Snapshot();
    fresh.form.SetText(ControlId::txtPath, kFile);
    EXPECT_TRUE(fresh.sim.messages.shown.empty());
    EXPECT_EQ(fresh.form.GetText(ControlId::txtPath), kFile);
    EXPECT_TRUE(fresh.form.GetEnabled(ControlId::btnSet));
    EXPECT_EQ(fresh.form.GetText(ControlId::txtTime1), u"2011/3/3 20:30:15");
    EXPECT_EQ(fresh.form.GetText(ControlId::lblSize), u"大小: 12345 字节");
    EXPECT_EQ(fresh.form.GetValue(ControlId::chkReadOnly), 1);
    EXPECT_EQ(fresh.form.GetValue(ControlId::chkSystem), 1);
    EXPECT_EQ(fresh.form.Focus(), ControlId::txtPath);
    EXPECT_EQ(fresh.dialog.FileName, kFile);
    EXPECT_EQ(fresh.sim.volume.Snapshot(), before);
  }
}

TEST_F(InspectTest, AnOtherErrorLeavesTheWindowAsTheFailureFoundIt) {
  // The services still answer for a file held open elsewhere, but the store cannot open it.
  sim::SimEntry& e = AddReport(12345, kAttrArchive | kAttrHidden);
  e.heldOpen = true;
  SetPath(kFile);
  EXPECT_EQ(shown, (std::vector<ShownMessage>{{u"70\r\n拒绝的权限", 16, u"错误"}}));
  EXPECT_EQ(TextOf(ControlId::txtPath), kFile);
  EXPECT_TRUE(form.GetEnabled(ControlId::btnSet));
  EXPECT_EQ(TextOf(ControlId::txtTime0), u"");
  EXPECT_EQ(Boxes(), (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ(TextOf(ControlId::lblSize), kNoFile);
  EXPECT_EQ(h.dialog.FileName, u"");
  EXPECT_EQ(volume.CallCount(Op::SetAttr), 0);
  EXPECT_EQ(volume.OpenHandles(), 0);
}

TEST_F(InspectTest, OnlyThePathTestsSeeTheTrimmedPath) {
  AddReport();
  const Text spaced = Text(kFile) + u"  ";
  std::vector<std::pair<Op, Text>> seen;
  volume.beforeCall = [&](Op op, const Text& path) { seen.emplace_back(op, path); };
  SetPath(spaced);

  EXPECT_TRUE(shown.empty());
  EXPECT_TRUE(form.GetEnabled(ControlId::btnSet));
  EXPECT_EQ(TextOf(ControlId::txtPath), spaced);
  EXPECT_EQ(form.SelStart(ControlId::txtPath), static_cast<int>(spaced.size()));
  EXPECT_EQ(h.dialog.FileName, spaced);
  ASSERT_FALSE(seen.empty());
  bool handlerExistenceTest = true;
  for (const auto& [op, path] : seen) {
    if (op == Op::Exists && handlerExistenceTest) {
      // The inspection's own existence test comes before any store operation.
      EXPECT_EQ(path, kFile);
      handlerExistenceTest = false;
    } else if (op != Op::GetFileInformationByHandle && op != Op::CloseHandle && op != Op::SetFileTime) {
      // Handle operations report the name the volume opened, not the text passed.
      EXPECT_EQ(path, spaced) << sim::OpName(op);
    }
  }
  EXPECT_FALSE(handlerExistenceTest);
}

TEST_F(InspectTest, LeadingSpacesReachTheAttributeReadUntrimmed) {
  AddReport();
  const Text spaced = u"  " + Text(kFile);
  std::vector<Text> attributeReads;
  volume.beforeCall = [&](Op op, const Text& path) {
    if (op == Op::GetAttr) attributeReads.push_back(path);
  };
  SetPath(spaced);
  ASSERT_FALSE(attributeReads.empty());
  EXPECT_EQ(attributeReads.front(), spaced);
  // Windows keeps leading spaces, so this text names no file: refused, and the box emptied.
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0] == kBadName || shown[0] == kNotFound);
  EXPECT_EQ(TextOf(ControlId::txtPath), u"");
}

}  // namespace
}  // namespace timrose
