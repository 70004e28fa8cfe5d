#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/Error.h"
#include "tests/Support.h"
#include "tests/sim/SimPlatform.h"

namespace timrose::sim {
namespace {

constexpr char16_t kFile[] = u"C:\\data\\report.txt";
constexpr char16_t kOwnExe[] = u"C:\\Program Files\\Timrose\\Timrose.exe";
constexpr int kNotIndexed = 0x2000;

const ShownMessage kSuccess{u"设置成功", 64, u"提示"};

// What the volume holds for one file, all of it, so that "nothing lost" can be compared whole.
struct Snapshot {
  uint32_t attributes = 0;
  uint64_t creation = 0, lastAccess = 0, lastWrite = 0, size = 0;
  bool operator==(const Snapshot&) const = default;
};

void PrintTo(const Snapshot& s, std::ostream* os) {
  *os << "attr=" << s.attributes << " c=" << s.creation << " a=" << s.lastAccess << " w=" << s.lastWrite
      << " size=" << s.size;
}

class ApplyTest : public ::testing::Test {
 public:
  ApplyTest() { Reset(-480); }

  // A fresh window and volume, for each case of a table.
  void Reset(int bias) {
    harness = std::make_unique<FormHarness>();
    h = harness.get();
    h->sim.time.bias = bias;
  }

  // A file with fractions of a second in every stamp, so that the carried milliseconds show.
  SimEntry& AddFile(const Text& path, uint32_t attributes) {
    SimEntry& e = h->sim.volume.AddFile(path, 4096, attributes);
    e.creation = TicksFromUtc(2011, 2, 21, 1, 2, 3, 456, 7);
    e.lastWrite = TicksFromUtc(2011, 3, 3, 4, 5, 6, 789, 1);
    e.lastAccess = TicksFromUtc(2011, 3, 4, 7, 8, 9, 12, 3);
    return e;
  }

  // Names the file in the path box as the dialog or a drop would; the inspection fills the window.
  void Inspect(const Text& path) {
    h->form.SetText(ControlId::txtPath, path);
    ASSERT_TRUE(h->form.GetEnabled(ControlId::btnSet)) << "inspection did not accept the file";
    ASSERT_TRUE(h->sim.messages.shown.empty());
  }

  void TypeTimes(const Text& creation, const Text& lastWrite, const Text& lastAccess) {
    h->form.Type(ControlId::txtTime0, creation);
    h->form.Type(ControlId::txtTime1, lastWrite);
    h->form.Type(ControlId::txtTime2, lastAccess);
  }

  Snapshot Take(const Text& path) {
    const SimEntry* e = h->sim.volume.Find(path);
    if (e == nullptr) {
      ADD_FAILURE() << "missing: " << ToUtf8(path);
      return {};
    }
    return {e->attributes, e->creation, e->lastAccess, e->lastWrite, e->size};
  }

  // Clicks Set and returns the one message box it showed.
  ShownMessage Apply() {
    h->sim.messages.shown.clear();
    h->form.log.clear();
    callsBefore = h->sim.volume.calls.size();
    h->form.Click(ControlId::btnSet);
    EXPECT_EQ(h->sim.messages.shown.size(), 1u);
    return h->sim.messages.shown.empty() ? ShownMessage{} : h->sim.messages.shown.back();
  }

  // Whether the click touched the volume with anything that can change it.
  bool ClickWroteAnything() const {
    for (size_t i = callsBefore; i < h->sim.volume.calls.size(); ++i) {
      const Op op = h->sim.volume.calls[i];
      if (op == Op::SetAttr || op == Op::SetFileTime) return true;
    }
    return false;
  }

  bool LogHas(const std::string& entry) const {
    for (const std::string& e : h->form.log) {
      if (e == entry) return true;
    }
    return false;
  }

  // Written out, not taken from the program's table.
  static ShownMessage ErrorBox(int number) {
    const Text description = number == kErrFileNotFound       ? u"文件未找到"
                             : number == kErrPermissionDenied ? u"拒绝的权限"
                             : number == kErrOverflow         ? u"溢出"
                                                              : u"(no text written for this number)";
    return {DecimalText(number) + u"\r\n" + description, 16, u"错误"};
  }

  std::unique_ptr<FormHarness> harness;
  FormHarness* h = nullptr;
  size_t callsBefore = 0;
};

// Typed in local time (bias -480); the stamps are eight hours earlier in UTC and keep the
// milliseconds of the stamps the inspection read.
TEST_F(ApplyTest, WritesTheTypedTimesAndTheTickedAttributesAndKeepsTheTexts) {
  AddFile(kFile, kAttrArchive | kNotIndexed);
  Inspect(kFile);
  const Text typed[] = {u"2012/5/6 7:08", u"2010/12/31 23:59:59", u"2001/1/1 0:00:01"};
  TypeTimes(typed[0], typed[1], typed[2]);
  h->form.Click(ControlId::chkReadOnly);
  h->form.Click(ControlId::chkHide);

  EXPECT_EQ(Apply(), kSuccess);

  const Snapshot after = Take(kFile);
  EXPECT_EQ(after.creation, TicksFromUtc(2012, 5, 5, 23, 8, 0, 456));
  EXPECT_EQ(after.lastWrite, TicksFromUtc(2010, 12, 31, 15, 59, 59, 789));
  EXPECT_EQ(after.lastAccess, TicksFromUtc(2000, 12, 31, 16, 0, 1, 12));
  EXPECT_EQ(after.attributes, uint32_t{kAttrReadOnly | kAttrHidden | kAttrArchive | kNotIndexed});
  EXPECT_EQ(h->form.GetText(ControlId::txtTime0), typed[0]);
  EXPECT_EQ(h->form.GetText(ControlId::txtTime1), typed[1]);
  EXPECT_EQ(h->form.GetText(ControlId::txtTime2), typed[2]);
  EXPECT_EQ(h->form.GetText(ControlId::txtPath), kFile);
  EXPECT_TRUE(h->form.GetEnabled(ControlId::btnSet));
  EXPECT_EQ(h->form.Focus(), ControlId::btnSet);
  EXPECT_FALSE(LogHas("change txtPath begin")) << "nothing is read back after success";
  EXPECT_EQ(h->sim.volume.OpenHandles(), 0);
}

// The four boxes decide the four bits exactly, whatever the file had; other bits stay.
TEST_F(ApplyTest, AttributesEndAsTheBoxesShow) {
  struct Case {
    const char* name;
    uint32_t before;
    std::vector<ControlId> clicks;  // boxes flipped after the inspection
    uint32_t after;
  };
  const Case cases[] = {
      {"read-only, box cleared", kAttrReadOnly | kAttrArchive, {ControlId::chkReadOnly}, kAttrArchive},
      {"read-only, box kept", kAttrReadOnly | kAttrArchive, {}, kAttrReadOnly | kAttrArchive},
      {"archive cleared", kAttrArchive | kNotIndexed, {ControlId::chkArchive}, kNotIndexed},
      {"system and hidden kept", kAttrSystem | kAttrHidden, {}, kAttrSystem | kAttrHidden},
      {"all four ticked",
       0,
       {ControlId::chkReadOnly, ControlId::chkHide, ControlId::chkSystem, ControlId::chkArchive},
       kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive},
      {"all four cleared",
       kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive,
       {ControlId::chkReadOnly, ControlId::chkHide, ControlId::chkSystem, ControlId::chkArchive},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset(-480);
    AddFile(kFile, c.before);
    Inspect(kFile);
    for (ControlId box : c.clicks) h->form.Click(box);
    TypeTimes(u"2011/3/3 12:00:00", u"2011/3/3 12:00:01", u"2011/3/3 12:00:02");

    EXPECT_EQ(Apply(), kSuccess);
    const Snapshot after = Take(kFile);
    EXPECT_EQ(after.attributes, c.after);
    EXPECT_EQ(after.creation, TicksFromUtc(2011, 3, 3, 4, 0, 0, 456));
    EXPECT_EQ(after.lastWrite, TicksFromUtc(2011, 3, 3, 4, 0, 1, 789));
    EXPECT_EQ(after.lastAccess, TicksFromUtc(2011, 3, 3, 4, 0, 2, 12));
  }
}

// Each refusal: its message, then the focus, and nothing on disk touched.
TEST_F(ApplyTest, RefusalsShowTheirMessageMoveTheFocusAndWriteNothing) {
  struct Case {
    const char* name;
    std::function<void(ApplyTest&)> arrange;
    ShownMessage message;
    ControlId focus;
  };
  const Text ownExeRefusal =
      u"请不要尝试修改本工具自身的信息\r\n\r\n如果一定要修改,请使用一份本工具的拷贝进行修改.";
  const Case cases[] = {
      {"folder answered No leaves an empty path",
       [](ApplyTest& t) {
         t.h->sim.volume.AddFolder(u"C:\\data\\folder");
         t.h->sim.messages.answers.push_back(kAnswerNo);
         t.h->form.SetText(ControlId::txtPath, u"C:\\data\\folder");
       },
       {u"未选择文件.请选择或者拖拽一个文件", 48, u"提示"},
       ControlId::btnGet},
      {"own executable",
       [](ApplyTest& t) { t.Inspect(kOwnExe); },
       {ownExeRefusal, 48, u"警告"},
       ControlId::btnGet},
      {"own executable with trailing spaces",
       [](ApplyTest& t) { t.Inspect(Text(kOwnExe) + u"  "); },
       {ownExeRefusal, 48, u"警告"},
       ControlId::btnGet},
      {"own executable in a drive root",
       [](ApplyTest& t) {
         t.h->sim.process.appPath = u"C:\\";
         t.AddFile(u"C:\\Timrose.exe", kAttrArchive);
         t.Inspect(u"C:\\Timrose.exe");
       },
       {ownExeRefusal, 48, u"警告"},
       ControlId::btnGet},
      {"creation time not a date",
       [](ApplyTest& t) {
         t.Inspect(kFile);
         t.h->form.Type(ControlId::txtTime0, u"2011/2/30 1:00:00");
       },
       {u"创建时间不正确", 48, u"提示"},
       ControlId::txtTime0},
      {"last write time not a date",
       [](ApplyTest& t) {
         t.Inspect(kFile);
         t.h->form.Type(ControlId::txtTime1, u"明天");
       },
       {u"修改时间不正确", 48, u"提示"},
       ControlId::txtTime1},
      {"last access time empty",
       [](ApplyTest& t) {
         t.Inspect(kFile);
         t.h->form.Type(ControlId::txtTime2, u"");
       },
       {u"访问时间不正确", 48, u"提示"},
       ControlId::txtTime2},
      {"two bad boxes: only the first is reported",
       [](ApplyTest& t) {
         t.Inspect(kFile);
         t.h->form.Type(ControlId::txtTime2, u"x");
         t.h->form.Type(ControlId::txtTime1, u"");
       },
       {u"修改时间不正确", 48, u"提示"},
       ControlId::txtTime1},
      {"all three bad",
       [](ApplyTest& t) {
         t.Inspect(kFile);
         t.TypeTimes(u"a", u"b", u"c");
       },
       {u"创建时间不正确", 48, u"提示"},
       ControlId::txtTime0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset(-480);
    AddFile(kFile, kAttrReadOnly | kAttrArchive);
    AddFile(kOwnExe, kAttrArchive);
    c.arrange(*this);
    ASSERT_TRUE(h->form.GetEnabled(ControlId::btnSet));
    const auto volume = h->sim.volume.Snapshot();

    EXPECT_EQ(Apply(), c.message);
    EXPECT_EQ(h->form.Focus(), c.focus);
    // The message comes first, the focus after it.
    const std::vector<std::string> tail(h->form.log.end() - 2, h->form.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"msgbox " + ToUtf8(c.message.title),
                                              "focus " + ControlName(c.focus)}));
    EXPECT_EQ(h->sim.volume.calls.size(), callsBefore) << "a refusal reached the volume";
    EXPECT_TRUE(h->sim.volume.Snapshot() == volume);
    EXPECT_TRUE(h->form.GetEnabled(ControlId::btnSet));
  }
}

// Texts no inspection lets through (the path box is locked): put there with the events
// unplugged, so that the handler alone decides.
TEST_F(ApplyTest, TrimmedPathDecidesTheEmptyAndOwnExecutableRefusals) {
  const Text ownExeRefusal =
      u"请不要尝试修改本工具自身的信息\r\n\r\n如果一定要修改,请使用一份本工具的拷贝进行修改.";
  const struct {
    Text path;
    ShownMessage message;
  } cases[] = {
      {u"", {u"未选择文件.请选择或者拖拽一个文件", 48, u"提示"}},
      {u"    ", {u"未选择文件.请选择或者拖拽一个文件", 48, u"提示"}},
      {u"  " + Text(kOwnExe) + u" ", {ownExeRefusal, 48, u"警告"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.path));
    Reset(-480);
    AddFile(kOwnExe, kAttrArchive);
    const Snapshot own = Take(kOwnExe);
    h->form.SetEvents(nullptr);
    h->form.SetText(ControlId::txtPath, u"x");
    h->form.SetText(ControlId::txtPath, c.path);
    h->form.SetEvents(&h->frm);
    h->form.SetFocus(ControlId::btnSet);
    callsBefore = h->sim.volume.calls.size();
    h->frm.btnSet_Click();
    ASSERT_EQ(h->sim.messages.shown.size(), 1u);
    EXPECT_EQ(h->sim.messages.shown[0], c.message);
    EXPECT_EQ(h->form.Focus(), ControlId::btnGet);
    EXPECT_EQ(h->sim.volume.calls.size(), callsBefore) << "a refusal reached the volume";
    EXPECT_EQ(Take(kOwnExe), own);
  }
}

// Only the exact text of the own path is refused; every other spelling of it is applied.
TEST_F(ApplyTest, OtherSpellingsOfTheOwnExecutableAreAppliedLikeAnyFile) {
  const char* names[] = {"another letter case", "forward slashes", "relative path"};
  const Text paths[] = {u"C:\\program files\\timrose\\TIMROSE.EXE", u"C:/Program Files/Timrose/Timrose.exe",
                        u"Timrose.exe"};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(names[i]);
    Reset(-480);
    AddFile(kOwnExe, kAttrArchive);
    h->sim.volume.SetCurrentDirectory(u"C:\\Program Files\\Timrose");
    Inspect(paths[i]);
    TypeTimes(u"2011/3/3 12:00:00", u"2011/3/3 13:00:00", u"2011/3/3 14:00:00");
    h->form.Click(ControlId::chkHide);

    EXPECT_EQ(Apply(), kSuccess);
    const Snapshot after = Take(kOwnExe);
    EXPECT_EQ(after.creation, TicksFromUtc(2011, 3, 3, 4, 0, 0, 456));
    EXPECT_EQ(after.lastWrite, TicksFromUtc(2011, 3, 3, 5, 0, 0, 789));
    EXPECT_EQ(after.lastAccess, TicksFromUtc(2011, 3, 3, 6, 0, 0, 12));
    EXPECT_EQ(after.attributes, uint32_t{kAttrHidden | kAttrArchive});
  }
}

// The trimmed path serves the tests; the file operations get the text as the box holds it.
TEST_F(ApplyTest, TrailingSpacesPassTheTestsAndReachTheFileOperations) {
  AddFile(kFile, kAttrArchive);
  Inspect(Text(kFile) + u"  ");
  TypeTimes(u"2011/3/3 12:00:00", u"2011/3/3 12:00:00", u"2011/3/3 12:00:00");
  std::vector<Text> paths;
  h->sim.volume.beforeCall = [&](Op op, const Text& path) {
    // Handle operations report the name the open resolved, not the text passed.
    if (op != Op::SetFileTime && op != Op::CloseHandle && op != Op::GetFileInformationByHandle) {
      paths.push_back(path);
    }
  };

  EXPECT_EQ(Apply(), kSuccess);
  ASSERT_FALSE(paths.empty());
  for (const Text& p : paths) EXPECT_EQ(p, Text(kFile) + u"  ");
  EXPECT_EQ(Take(kFile).lastWrite, TicksFromUtc(2011, 3, 3, 4, 0, 0, 789));
}

// A name may begin with spaces: the trimmed text names another file, which stays untouched.
TEST_F(ApplyTest, LeadingSpacesReachTheFileOperationsUntrimmed) {
  h->sim.volume.SetCurrentDirectory(u"C:\\data");
  AddFile(u"C:\\data\\  x.txt", kAttrArchive);
  AddFile(u"C:\\data\\x.txt", kAttrArchive);
  const Snapshot other = Take(u"C:\\data\\x.txt");
  Inspect(u"  x.txt");
  TypeTimes(u"2011/3/3 12:00:00", u"2011/3/3 12:00:00", u"2011/3/3 12:00:00");
  h->form.Click(ControlId::chkHide);

  EXPECT_EQ(Apply(), kSuccess);
  EXPECT_EQ(Take(u"C:\\data\\  x.txt").attributes, uint32_t{kAttrHidden | kAttrArchive});
  EXPECT_EQ(Take(u"C:\\data\\  x.txt").lastWrite, TicksFromUtc(2011, 3, 3, 4, 0, 0, 789));
  EXPECT_EQ(Take(u"C:\\data\\x.txt"), other);
}

// A file removed after the inspection: the failure is reported with its number, nothing appears.
TEST_F(ApplyTest, FileDeletedAfterInspectionShowsError53) {
  AddFile(kFile, kAttrArchive);
  Inspect(kFile);
  h->sim.volume.Remove(kFile);

  EXPECT_EQ(Apply(), ErrorBox(kErrFileNotFound));
  EXPECT_EQ(h->sim.volume.Find(kFile), nullptr);
  EXPECT_EQ(h->form.Focus(), ControlId::btnSet);
  EXPECT_TRUE(h->form.GetEnabled(ControlId::btnSet));
}

// Failures at every stage of the write: the error is reported (never "设置成功"), and the file
// keeps its attributes and, unless the times really were written, its times. The bad date goes
// into the last box only, so that all three must be checked before anything is cleared.
TEST_F(ApplyTest, FailuresLeaveTheFileAsItWas) {
  // kRefused: refused before the first write; kUnchanged: the volume ends as it was (what was
  // written undone); kGone: another program removed the file while the click ran.
  enum Outcome { kRefused, kUnchanged, kGone };
  struct Case {
    const char* name;
    int bias;
    Text typed;  // typed into all three boxes
    std::function<void(ApplyTest&)> arrange;
    int number;
    Outcome outcome;
  };
  const Case cases[] = {
      {"held open by another program", -480, u"2011/3/3 12:00:00",
       [](ApplyTest& t) { t.h->sim.volume.Find(kFile)->heldOpen = true; }, kErrPermissionDenied, kUnchanged},
      {"read-only media", -480, u"2011/3/3 12:00:00",
       [](ApplyTest& t) { t.h->sim.volume.SetReadOnlyMedia(true); }, kErrPermissionDenied, kUnchanged},
      {"time write fails", -480, u"2011/3/3 12:00:00",
       [](ApplyTest& t) { t.h->sim.volume.FailNext(Op::SetFileTime, 5); }, kErrPermissionDenied, kUnchanged},
      {"shift leaves the Date range", 300, u"9999/12/31 23:00:00", nullptr, kErrOverflow, kRefused},
      {"before the first file time", -480, u"1601/1/1 7:59:59", nullptr, kErrOverflow, kRefused},
      {"last second before it", 0, u"1600/12/31 23:59:59", nullptr, kErrOverflow, kRefused},
      {"year 100", 0, u"100/1/1 0:00:00", nullptr, kErrOverflow, kRefused},
      {"final attribute write fails", -480, u"2011/3/3 12:00:00",
       [](ApplyTest& t) {
         // The store's clearing write goes through; the first one after the time write fails.
         t.h->sim.volume.beforeCall = [&t, armed = true](Op op, const Text&) mutable {
           if (op == Op::SetFileTime && armed) t.h->sim.volume.FailNext(Op::SetAttr, 5);
           armed = armed && op != Op::SetFileTime;
         };
       },
       kErrPermissionDenied, kUnchanged},
      {"final attribute write finds the file gone", -480, u"2011/3/3 12:00:00",
       [](ApplyTest& t) {
         t.h->sim.volume.beforeCall = [&t, seen = 0](Op op, const Text&) mutable {
           if (op == Op::SetAttr && ++seen == 2) t.h->sim.volume.Remove(kFile);
         };
       },
       kErrFileNotFound, kGone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset(c.bias);
    AddFile(kFile, kAttrReadOnly | kAttrHidden | kAttrArchive | kNotIndexed);
    Inspect(kFile);
    TypeTimes(u"2011/3/3 12:00:00", u"2011/3/3 12:00:00", c.typed);
    h->form.Click(ControlId::chkReadOnly);
    h->form.Click(ControlId::chkSystem);
    const Snapshot before = Take(kFile);
    if (c.arrange) c.arrange(*this);
    const auto volume = h->sim.volume.Snapshot();

    const ShownMessage shown = Apply();
    EXPECT_EQ(shown, ErrorBox(c.number));
    h->sim.volume.beforeCall = nullptr;
    h->sim.volume.SetReadOnlyMedia(false);
    auto expected = volume;
    if (c.outcome == kGone) {
      ASSERT_EQ(expected.erase(kFile), 1u);
    } else {
      EXPECT_EQ(Take(kFile), before);
    }
    EXPECT_TRUE(h->sim.volume.Snapshot() == expected);
    if (c.outcome == kRefused) {
      EXPECT_FALSE(ClickWroteAnything());
    }
    EXPECT_EQ(h->sim.volume.OpenHandles(), 0);
    EXPECT_EQ(h->form.Focus(), ControlId::btnSet);
    EXPECT_EQ(h->form.GetText(ControlId::txtTime2), c.typed);
  }
}

// What each kind of volume keeps of one apply: the typed times (odd seconds), read-only and hidden
// ticked, archive kept. Where the disk kept less, the notice lists it and the window shows the
// file as kept; a refused write is the error, with the file as it was.
TEST_F(ApplyTest, EachKindOfVolumeKeepsWhatItCanAndTheUserIsToldTheRest) {
  const Text notice = u"设置完成,但磁盘没有按原样保存以下内容:\r\n创建时间:保存为 2010/12/31 23:59:59";
  VolumeProfile windowsFat = kVolumeProfiles[2];  // FAT32 under Windows' own driver keeps attributes
  windowsFat.keptBits = kAttrOwnedBits;
  windowsFat.attributeWriteError = 0;
  struct Case {
    VolumeProfile profile;
    const char16_t* lastAccessTyped;
    ShownMessage message;
    uint32_t attributes;  // as stored
    bool kept;            // false: the file is as it was before the click
  };
  const Case cases[] = {
      {kVolumeProfiles[0], u"2001/1/1 0:00:01", kSuccess, kAttrReadOnly | kAttrHidden | kAttrArchive, true},
      {kVolumeProfiles[1],
       u"2001/1/1 0:00:01",
       {notice, 48, u"提示"},
       kAttrReadOnly | kAttrHidden | kAttrArchive,
       true},
      {kVolumeProfiles[2], u"2001/1/1 0:00:01", {u"75\r\n路径/文件访问错误", 16, u"错误"}, 0, false},
      {kVolumeProfiles[3],
       u"2001/1/1 0:00:01",
       {notice + u"\r\n只读:没有设上\r\n隐藏:没有设上", 48, u"提示"},
       kAttrArchive,
       true},
      {kVolumeProfiles[4],
       u"2001/1/1 0:00:01",
       {notice + u"\r\n只读:没有设上", 48, u"提示"},
       kAttrHidden | kAttrArchive,
       true},
      {kVolumeProfiles[5], u"2001/1/1 0:00:01", ErrorBox(kErrPermissionDenied), 0, false},
      {kNetworkDriveProfile,
       u"2001/1/1 0:00:01",
       {notice + u"\r\n只读:没有设上\r\n隐藏:没有设上", 48, u"提示"},
       0,
       true},
      {windowsFat, u"1979/12/31 23:59:59", {u"75\r\n路径/文件访问错误", 16, u"错误"}, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.profile.name) + " " + ToUtf8(c.lastAccessTyped));
    Reset(-480);
    AddFile(kFile, kAttrArchive);
    h->sim.volume.SetProfile(c.profile);
    Inspect(kFile);
    TypeTimes(u"2012/5/6 7:08:09", u"2010/12/31 23:59:59", c.lastAccessTyped);
    h->form.Click(ControlId::chkReadOnly);
    h->form.Click(ControlId::chkHide);
    const Snapshot before = Take(kFile);

    EXPECT_EQ(Apply(), c.message);
    const Snapshot after = Take(kFile);
    EXPECT_TRUE(h->form.GetEnabled(ControlId::btnSet));
    EXPECT_EQ(h->sim.volume.OpenHandles(), 0);
    if (!c.kept) {
      EXPECT_EQ(after, before);
      continue;
    }
    EXPECT_EQ(after.lastWrite / 10000000, TicksFromUtc(2010, 12, 31, 15, 59, 59) / 10000000);
    EXPECT_EQ(after.lastAccess / 10000000, TicksFromUtc(2000, 12, 31, 16, 0, 1) / 10000000);
    EXPECT_EQ(after.attributes, c.attributes);
    if (c.message == kSuccess) continue;
    // After the notice the window shows the file as the disk keeps it.
    EXPECT_EQ(h->form.GetText(ControlId::txtTime0), u"2010/12/31 23:59:59");
    EXPECT_EQ(h->form.GetText(ControlId::txtTime1), u"2010/12/31 23:59:59");
    EXPECT_EQ(h->form.GetText(ControlId::txtTime2), u"2001/1/1 0:00:01");
    EXPECT_EQ(h->form.GetValue(ControlId::chkReadOnly), (c.attributes & kAttrReadOnly) ? 1 : 0);
    EXPECT_EQ(h->form.GetValue(ControlId::chkHide), (c.attributes & kAttrHidden) ? 1 : 0);
    EXPECT_EQ(h->form.GetValue(ControlId::chkArchive), 1);
    EXPECT_EQ(h->form.GetText(ControlId::lblSize), u"大小: 4096 字节");
  }
}

// A read-back that fails is the error it is, never success, and the file is put back.
TEST_F(ApplyTest, AFailingReadBackIsReportedAndTheFileRestored) {
  for (const Op op : {Op::GetAttr, Op::OpenFile, Op::GetFileInformationByHandle}) {
    SCOPED_TRACE(OpName(op));
    Reset(-480);
    AddFile(kFile, kAttrArchive);
    Inspect(kFile);
    TypeTimes(u"2012/5/6 7:08:09", u"2010/12/31 23:59:59", u"2001/1/1 0:00:01");
    h->form.Click(ControlId::chkHide);
    const Snapshot before = Take(kFile);
    // The read-back starts after the second attribute write (the clear is the first).
    h->sim.volume.beforeCall = [this, op, writes = 0](Op called, const Text&) mutable {
      if (called == Op::SetAttr && ++writes == 2) h->sim.volume.FailNext(op, 5);
    };
    EXPECT_EQ(Apply(), ErrorBox(kErrPermissionDenied));
    h->sim.volume.beforeCall = nullptr;
    EXPECT_EQ(Take(kFile), before);
  }
}

}  // namespace
}  // namespace timrose::sim
