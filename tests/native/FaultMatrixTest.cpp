// The fault matrix: the inspection and the apply run on the simulated platform while each platform
// operation they call fails in turn with each error it can raise, and while another program
// deletes or changes the file between two of their steps. Every cell checks the message the user
// sees, the window, and the volume: a failed apply leaves the file's times and attributes exactly
// as they were before the click, and an inspection never changes what the user can see on the
// volume. Each test prints its part of the matrix as a table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/Support.h"
#include "tests/sim/SimPlatform.h"

namespace timrose {
namespace {

using sim::Op;
using sim::OpName;
using sim::SimEntry;
using sim::TicksFromUtc;
using Volume = std::map<Text, SimEntry>;

const Text kTarget = u"C:\\工作\\报告.txt";
const Text kFolder = u"C:\\工作\\资料";
const Text kOther = u"C:\\other.txt";
constexpr char16_t kNoFileCaption[] = u"大小:当前没有选择文件";
// Not indexed: a bit the program does not own, which every write must keep.
constexpr uint32_t kForeignBit = 0x2000;

// What the user types before the apply; zh-CN text, bias -480.
const Text kTyped[3] = {u"2020/2/29 13:14:15", u"2021/12/31 23:59:59", u"2019/1/1 0:00:01"};
// The typed times in UTC, in seconds since 1601 (a function: the tick helpers have their own
// static data, not ready while this file's globals are made).
int64_t TypedUtcSeconds(int box) {
  const uint64_t ticks[3] = {TicksFromUtc(2020, 2, 29, 5, 14, 15), TicksFromUtc(2021, 12, 31, 15, 59, 59),
                             TicksFromUtc(2018, 12, 31, 16, 0, 1)};
  return static_cast<int64_t>(ticks[box] / 10000000);
}

// Errors each operation can raise, as system codes: 2 missing file, 3 missing folder, 5 access
// denied, 6 invalid handle, 15 no such drive, 19 read-only media, 21 drive not ready, 32 sharing
// violation, 53 network server gone, 67 network share gone, 112 disk full, 123 a name Windows
// refuses, 206 a path too long.
const std::map<Op, std::vector<uint32_t>> kCodes = {
    {Op::OpenFile, {2, 3, 5, 15, 19, 32, 53, 67, 123, 206}},
    {Op::GetFileInformationByHandle, {5, 6}},
    {Op::CloseHandle, {6}},
    {Op::SetFileTime, {5, 19, 32, 112}},
    {Op::Exists, {3, 5, 21, 123}},
    {Op::GetAttr, {2, 3, 5, 15, 21, 32, 53, 67, 123}},
    {Op::SetAttr, {2, 3, 5, 19, 32, 112, 123}},
    {Op::FileLen, {2, 5, 32, 123}},
    {Op::FileDateTime, {2, 5, 32, 123}},
};

// One simulated machine: the target file, a folder, and another file inspected first, so that
// the store's records hold someone else's times when the target's turn comes.
struct World {
  sim::FormHarness h;

  World() {
    h.sim.time.bias = -480;
    SimEntry& t = h.sim.volume.AddFile(kTarget, 3000, kAttrReadOnly | kAttrArchive | kForeignBit);
    t.creation = TicksFromUtc(2001, 2, 3, 4, 5, 6, 789, 1234);
    t.lastWrite = TicksFromUtc(2011, 3, 3, 20, 30, 15, 999);
    t.lastAccess = TicksFromUtc(2012, 12, 31, 23, 0, 0);
    SimEntry& f = h.sim.volume.AddFolder(kFolder, kAttrDirectory | kAttrHidden);
    f.lastWrite = TicksFromUtc(2010, 6, 1, 12, 0, 0);
    SimEntry& o = h.sim.volume.AddFile(kOther, 77, kAttrArchive);
    o.creation = o.lastWrite = o.lastAccess = TicksFromUtc(1999, 9, 9, 9, 9, 9);
    h.form.SetText(ControlId::txtPath, kOther);
    Reset();
  }
  void Reset() {
    h.sim.messages.shown.clear();
    h.sim.volume.calls.clear();
  }
  // The file the apply checks.
  Text target = kTarget;
  SimEntry* Target() { return h.sim.volume.Find(target); }
  void Inspect(const Text& path) {
    // The folder question, should it come, is answered Yes: the folder stays on show.
    h.sim.messages.answers.assign(4, kAnswerYes);
    h.form.SetText(ControlId::txtPath, path);
  }
  // The user's edits: three new times, read-only off, hidden on.
  void Edit() {
    h.form.Type(ControlId::txtTime0, kTyped[0]);
    h.form.Type(ControlId::txtTime1, kTyped[1]);
    h.form.Type(ControlId::txtTime2, kTyped[2]);
    if (h.form.GetValue(ControlId::chkReadOnly) == 1) h.form.Click(ControlId::chkReadOnly);
    if (h.form.GetValue(ControlId::chkHide) == 0) h.form.Click(ControlId::chkHide);
    h.form.SetFocus(ControlId::btnSet);
    Reset();
  }
};

// The nth call (from 1) of an operation, and what happens just before it.
struct Step {
  Op op;
  int nth;
};

std::vector<Step> StepsOf(const std::vector<Op>& calls) {
  std::vector<Step> steps;
  std::map<Op, int> seen;
  for (Op op : calls) steps.push_back({op, ++seen[op]});
  return steps;
}

// Runs `action` right before the given step; `hit` tells whether the step came at all.
void Before(sim::SimVolume& volume, Step step, std::function<void()> action, bool& hit) {
  auto count = std::make_shared<int>(0);
  volume.beforeCall = [step, action, count, &hit](Op op, const Text&) {
    if (op == step.op && ++*count == step.nth) {
      hit = true;
      action();
    }
  };
}

// The error the user must be shown for each system code the matrix injects, and for a date that
// cannot be stored: written out here, not taken from the program's own tables, so that a wrong
// number or a wrong description fails the cells.
struct Expected {
  int number;
  const char16_t* description;
  sim::ShownMessage Box() const {
    return {DecimalText(number) + u"\r\n" + description, kMbCritical, u"错误"};
  }
};
const std::map<uint32_t, Expected> kExpected = {
    {2, {53, u"文件未找到"}},            // file not found
    {3, {53, u"文件未找到"}},            // a folder on the path not found
    {5, {70, u"拒绝的权限"}},            // access denied
    {6, {75, u"路径/文件访问错误"}},     // invalid handle
    {15, {53, u"文件未找到"}},           // no such drive
    {19, {70, u"拒绝的权限"}},           // write-protected
    {21, {71, u"磁盘未准备好"}},         // drive not ready
    {32, {70, u"拒绝的权限"}},           // sharing violation
    {53, {53, u"文件未找到"}},           // the network server is gone
    {67, {53, u"文件未找到"}},           // the network share is gone
    {112, {61, u"磁盘已满"}},            // disk full
    {123, {52, u"文件名或文件号错误"}},  // a name Windows refuses
    {206, {52, u"文件名或文件号错误"}},  // a path over what the file functions take
};
constexpr Expected kOverflow = {6, u"溢出"};

const Text kBadNamePrompt = Text(u"不可识别的文件名") + u"\r\n" + u"本错误可能是因为Unicode码无法显示造成" +
                            u"\r\n" + u"本工具对某些特殊Unicode字符暂时无法识别." + u"\r\n" + u"\r\n" +
                            u"请确保文件路径中未包含特殊字符";
const Text kNotFoundPrompt = u"没有找到文件.请确认是否选择了一个文件.";
const Text kFolderQuestion =
    Text(u"本工具不对文件夹进行操作") + u"\r\n" + u"\r\n" + u"如果需要保留文件夹相关信息,请选择\"是\"";

// A cell of the matrix and what it found.
struct Cell {
  std::string scenario, fault, shown;
  std::vector<std::string> problems;
  void Expect(bool holds, const std::string& what) {
    if (!holds) problems.push_back(what);
  }
};

std::string Summary(const std::vector<sim::ShownMessage>& shown) {
  std::string out;
  for (const auto& m : shown) {
    std::string prompt = ToUtf8(m.prompt);
    for (size_t at; (at = prompt.find("\r\n")) != std::string::npos;) prompt.replace(at, 2, " | ");
    if (prompt.size() > 40) prompt = prompt.substr(0, 40) + "...";
    out += (out.empty() ? "" : " + ") + ToUtf8(m.title) + "/" + std::to_string(m.style) + " " + prompt;
  }
  return out.empty() ? "(no message)" : out;
}

// The only changes a test allows are the ones its own "other program" made.
std::string VolumeDifference(const Volume& expected, const Volume& actual) {
  if (expected.size() != actual.size()) return "entries added or removed";
  for (const auto& [path, entry] : expected) {
    const auto it = actual.find(path);
    if (it == actual.end()) return ToUtf8(path) + " is gone";
    const SimEntry& a = it->second;
    if (a.attributes != entry.attributes) {
      return ToUtf8(path) + " attributes " + std::to_string(entry.attributes) + " -> " +
             std::to_string(a.attributes);
    }
    if (a.creation != entry.creation || a.lastWrite != entry.lastWrite || a.lastAccess != entry.lastAccess) {
      return ToUtf8(path) + " times changed";
    }
    if (!(a == entry)) return ToUtf8(path) + " changed";
  }
  return "";
}

void ExpectResetWindow(Cell& cell, World& w) {
  sim::MemoryForm& f = w.h.form;
  cell.Expect(f.GetText(ControlId::txtPath).empty(), "path box not emptied");
  cell.Expect(!f.GetEnabled(ControlId::btnSet), "btnSet enabled after a refusal");
  for (ControlId box : {ControlId::txtTime0, ControlId::txtTime1, ControlId::txtTime2}) {
    cell.Expect(f.GetText(box).empty(), ControlName(box) + " not empty");
  }
  for (ControlId box :
       {ControlId::chkReadOnly, ControlId::chkHide, ControlId::chkSystem, ControlId::chkArchive}) {
    cell.Expect(f.GetValue(box) == 0, ControlName(box) + " still ticked");
  }
  cell.Expect(f.GetText(ControlId::lblSize) == kNoFileCaption, "size caption not reset");
  cell.Expect(f.GetToolTip(ControlId::lblSize).empty(), "size tooltip not reset");
  cell.Expect(f.Focus() == ControlId::btnGet, "focus not on btnGet");
}

// A window stopped part-way: each time box is empty or shows what a clean run shows there, in
// order; nothing from the file inspected before.
void ExpectPartialWindow(Cell& cell, World& w, const std::vector<Text>& clean) {
  bool emptySeen = false;
  const ControlId boxes[] = {ControlId::txtTime0, ControlId::txtTime1, ControlId::txtTime2};
  for (int i = 0; i < 3; ++i) {
    const Text shown = w.h.form.GetText(boxes[i]);
    if (shown.empty()) {
      emptySeen = true;
      continue;
    }
    cell.Expect(!emptySeen, ControlName(boxes[i]) + " filled after an empty box");
    cell.Expect(shown == clean[i],
                ControlName(boxes[i]) + " shows " + ToUtf8(shown) + ", not the file's " + ToUtf8(clean[i]));
  }
  const Text caption = w.h.form.GetText(ControlId::lblSize);
  cell.Expect(caption == kNoFileCaption || caption == clean[3], "size caption " + ToUtf8(caption));
}

std::vector<Text> WindowTexts(World& w) {
  return {w.h.form.GetText(ControlId::txtTime0), w.h.form.GetText(ControlId::txtTime1),
          w.h.form.GetText(ControlId::txtTime2), w.h.form.GetText(ControlId::lblSize)};
}

// The times and attributes the apply asked for, other bits kept. With another program at work
// after the file was opened for the write (`late`), its entry's stamps and other bits may stand
// instead.
std::string AppliedDifference(World& w, const SimEntry* late = nullptr, bool lateBits = false) {
  const SimEntry* t = w.Target();
  if (t == nullptr) return "the file is gone";
  const uint32_t owned = t->attributes & kAttrOwnedBits;
  const uint32_t others = t->attributes & ~uint32_t(kAttrOwnedBits);
  // Bits the other program set after the read-back may stand beside the ticked ones.
  const uint32_t asked = kAttrHidden | kAttrArchive;
  const bool lateOwned = lateBits && late != nullptr && (owned & asked) == asked &&
                         (owned & ~(asked | (late->attributes & kAttrOwnedBits))) == 0;
  if (owned != asked && !lateOwned) return "attributes " + std::to_string(t->attributes) + ", not as ticked";
  if (others != kForeignBit &&
      (late == nullptr || others != (late->attributes & ~uint32_t(kAttrOwnedBits)))) {
    return "other attribute bits " + std::to_string(others) + " changed";
  }
  const uint64_t stamps[3] = {t->creation, t->lastWrite, t->lastAccess};
  const uint64_t lateStamps[3] = {late ? late->creation : 0, late ? late->lastWrite : 0,
                                  late ? late->lastAccess : 0};
  for (int i = 0; i < 3; ++i) {
    if (static_cast<int64_t>(stamps[i] / 10000000) != TypedUtcSeconds(i) &&
        (late == nullptr || stamps[i] != lateStamps[i])) {
      return "time " + std::to_string(i) + " not written";
    }
  }
  return "";
}

class Table {
 public:
  explicit Table(std::string title) : title_(std::move(title)) {}
  void Add(const Cell& cell) {
    cells_.push_back(cell);
    if (!cell.problems.empty()) {
      std::string all;
      for (const auto& p : cell.problems) all += "\n    " + p;
      ADD_FAILURE() << cell.scenario << " | " << cell.fault << " | " << cell.shown << all;
    }
  }
  void Print() const {
    int failed = 0;
    std::cout << "\n== " << title_ << ": " << cells_.size() << " cells\n";
    for (const Cell& c : cells_) {
      failed += c.problems.empty() ? 0 : 1;
      std::cout << std::left << std::setw(14) << c.scenario << std::setw(52) << c.fault
                << (c.problems.empty() ? "ok    " : "FAIL  ") << c.shown << "\n";
    }
    std::cout << "== " << title_ << ": " << cells_.size() - failed << " of " << cells_.size()
              << " cells sound\n";
  }
  size_t Size() const { return cells_.size(); }

 private:
  std::string title_;
  std::vector<Cell> cells_;
};

// ---- inspection ------------------------------------------------------------------------------

struct CleanInspection {
  std::vector<Op> calls;
  std::vector<Text> texts;
};

CleanInspection InspectCleanly(const Text& path) {
  World w;
  w.Inspect(path);
  return {w.h.sim.volume.calls, WindowTexts(w)};
}

// The message and window an inspection must end with when the expected error stopped it.
void ExpectInspectionError(Cell& cell, World& w, const Expected& expected, const std::vector<Text>& clean,
                           const Text& path) {
  const auto& shown = w.h.sim.messages.shown;
  const sim::ShownMessage last = shown.empty() ? sim::ShownMessage{} : shown.back();
  if (expected.number == 52 || expected.number == 53) {
    const bool bad = expected.number == 52;
    cell.Expect(last == sim::ShownMessage{bad ? kBadNamePrompt : kNotFoundPrompt,
                                          bad ? kMbCritical : kMbInformation, bad ? u"错误" : u"提示"},
                "wrong message for error " + std::to_string(expected.number));
    ExpectResetWindow(cell, w);
    return;
  }
  cell.Expect(last == expected.Box(), "wanted the message of error " + std::to_string(expected.number));
  cell.Expect(w.h.form.GetText(ControlId::txtPath) == path, "path box changed");
  ExpectPartialWindow(cell, w, clean);
}

TEST(FaultMatrix, InspectionWithEachOperationFailing) {
  Table table("inspection, each operation failing");
  for (const Text& subject : {kTarget, kFolder}) {
    const CleanInspection clean = InspectCleanly(subject);
    const std::string scenario = subject == kTarget ? "inspect file" : "inspect dir";
    for (const Step step : StepsOf(clean.calls)) {
      for (const uint32_t code : kCodes.at(step.op)) {
        World w;
        bool hit = false;
        Before(
            w.h.sim.volume, step, [&] { w.h.sim.volume.FailNext(step.op, code); }, hit);
        const Volume before = w.h.sim.volume.Snapshot();
        w.Inspect(subject);
        Cell cell{
            scenario,
            std::string(OpName(step.op)) + " #" + std::to_string(step.nth) + " fails " + std::to_string(code),
            Summary(w.h.sim.messages.shown),
            {}};
        cell.Expect(hit, "the step never came");
        cell.Expect(VolumeDifference(before, w.h.sim.volume.Snapshot()).empty(),
                    "volume: " + VolumeDifference(before, w.h.sim.volume.Snapshot()));
        cell.Expect(w.h.sim.volume.OpenHandles() == 0, "a handle stayed open");
        const auto& shown = w.h.sim.messages.shown;
        const bool asked = !shown.empty() && shown.front().prompt == kFolderQuestion;
        cell.Expect(shown.size() == (asked ? 2u : 1u) ||
                        (step.op == Op::CloseHandle && shown.size() == (asked ? 1u : 0u)),
                    "wanted one message about the failure");
        if (step.op == Op::CloseHandle && shown.size() == (asked ? 1u : 0u)) {
          // The data was read before the close failed: a full window is sound too.
          cell.Expect(WindowTexts(w) == clean.texts, "window differs from a clean inspection");
        } else {
          ExpectInspectionError(cell, w, kExpected.at(code), clean.texts, subject);
        }
        table.Add(cell);
      }
    }
  }
  table.Print();
  EXPECT_GT(table.Size(), 50u);
}

// Another program acts on the file between two steps.
struct Meddling {
  const char* name;
  std::function<void(sim::SimVolume&)> act;
};
const std::vector<Meddling> kMeddlings = {
    {"deleted", [](sim::SimVolume& v) { v.Remove(kTarget); }},
    {"held open", [](sim::SimVolume& v) { v.Find(kTarget)->heldOpen = true; }},
    {"made read-only", [](sim::SimVolume& v) { v.Find(kTarget)->attributes |= kAttrReadOnly | kAttrSystem; }},
    {"touched", [](sim::SimVolume& v) { v.Find(kTarget)->lastWrite = TicksFromUtc(2030, 1, 1, 0, 0, 0); }},
    {"now a folder",
     [](sim::SimVolume& v) {
       // Only once the file is gone can a folder take its name.
       v.Remove(kTarget);
       if (v.Find(kTarget) == nullptr) v.AddFolder(kTarget);
     }},
};

// Lets the other program act; false when nothing changed (the file is open in our hands, and the
// open shares no deletion).
bool Meddle(const Meddling& m, sim::SimVolume& volume) {
  const Volume before = volume.Snapshot();
  m.act(volume);
  return volume.Snapshot() != before;
}

// The volume as the other program leaves it when nothing of ours runs: with the change of one
// other program racing ours, the file may end as it was or as that program made it, never
// otherwise.
Volume Meddled(const Meddling& m) {
  World w;
  m.act(w.h.sim.volume);
  return w.h.sim.volume.Snapshot();
}

std::string EitherDifference(const Volume& before, const Volume& meddled, const Volume& actual) {
  if (VolumeDifference(before, actual).empty() || VolumeDifference(meddled, actual).empty()) return "";
  // The attribute write-back or restore of the bits read from the file may land on what the other
  // program left under its name.
  Volume restored = meddled;
  const auto it = restored.find(kTarget);
  if (it != restored.end()) {
    it->second.attributes = (it->second.attributes & ~uint32_t(kAttrOwnedBits)) |
                            (before.at(kTarget).attributes & kAttrOwnedBits);
  }
  const std::string diff = VolumeDifference(restored, actual);
  return diff.empty() ? "" : diff + " (nor as it was before, nor as the other program left it)";
}

TEST(FaultMatrix, InspectionWhileAnotherProgramChangesTheFile) {
  Table table("inspection, the file changing between two steps");
  const CleanInspection clean = InspectCleanly(kTarget);
  const std::vector<Step> steps = StepsOf(clean.calls);
  for (const Meddling& m : kMeddlings) {
    const Volume meddled = Meddled(m);
    for (size_t i = 0; i < steps.size(); ++i) {
      World w;
      bool hit = false;
      const Volume before = w.h.sim.volume.Snapshot();
      bool refused = false;
      Before(
          w.h.sim.volume, steps[i], [&] { refused = !Meddle(m, w.h.sim.volume); }, hit);
      w.h.sim.messages.answers.assign(4, kAnswerNo);
      w.h.form.SetText(ControlId::txtPath, kTarget);
      Cell cell{"inspect file",
                std::string(m.name) + " before " + OpName(steps[i].op) + " #" + std::to_string(steps[i].nth) +
                    (refused ? " (refused)" : ""),
                Summary(w.h.sim.messages.shown),
                {}};
      cell.Expect(hit, "the step never came");
      if (refused) {
        // Our open handle kept the other program from deleting or replacing the file.
        cell.Expect(w.h.sim.messages.shown.empty(), "a message for a file that did not change");
        cell.Expect(WindowTexts(w) == clean.texts, "window differs from a clean inspection");
      }
      const std::string diff = EitherDifference(before, meddled, w.h.sim.volume.Snapshot());
      cell.Expect(diff.empty(), "volume: " + diff);
      cell.Expect(w.h.sim.volume.OpenHandles() == 0, "a handle stayed open");
      for (const auto& msg : w.h.sim.messages.shown)
        cell.Expect(msg.prompt != u"设置成功", "a success message");
      const bool folderQuestion =
          !w.h.sim.messages.shown.empty() && w.h.sim.messages.shown.front().prompt == kFolderQuestion;
      if (std::string(m.name) == "deleted" && folderQuestion) {
        // Gone just before the existence test, the name looks like a folder's: the question is
        // asked, answered No, and the window ends empty.
        cell.Expect(steps[i].op == Op::Exists && steps[i].nth == 1, "the folder question for a deleted file");
        cell.Expect(w.h.form.GetText(ControlId::txtPath).empty(), "path box not emptied");
      } else if (std::string(m.name) == "deleted" && !refused) {
        cell.Expect(
            !w.h.sim.messages.shown.empty() &&
                w.h.sim.messages.shown.back() == sim::ShownMessage{kNotFoundPrompt, kMbInformation, u"提示"},
            "no not-found message");
        ExpectResetWindow(cell, w);
      } else if (w.h.form.GetEnabled(ControlId::btnSet) && !w.h.form.GetText(ControlId::txtPath).empty()) {
        // A file on show: each time it shows is the file's, before or after the other program's change.
        const Text touched = w.h.sim.locale.DateText(Date::FromParts(2030, 1, 1, 8, 0, 0));
        for (int b = 0; b < 3; ++b) {
          const Text shown = WindowTexts(w)[b];
          cell.Expect(shown.empty() || shown == clean.texts[b] || (b == 1 && shown == touched),
                      "time box " + std::to_string(b) + " shows " + ToUtf8(shown));
        }
      }
      table.Add(cell);
    }
  }
  table.Print();
  EXPECT_GT(table.Size(), 50u);
}

// ---- apply -----------------------------------------------------------------------------------

struct ApplyRun {
  std::unique_ptr<World> w = std::make_unique<World>();
  Volume before;
  std::string formBefore;

  ApplyRun() {
    w->Inspect(kTarget);
    w->Edit();
    before = w->h.sim.volume.Snapshot();
    formBefore = w->h.form.Snapshot();
  }
  void Click() { w->h.form.Click(ControlId::btnSet); }
};

// A failed apply: one error message (the expected one, when the cell knows it), the window as it
// was, and the volume exactly as it was before the click (or, with another program at work, as
// that program left it).
void ExpectFailedApply(Cell& cell, ApplyRun& run, const Expected* expected, const Volume* meddled = nullptr,
                       bool keptWrittenTimes = false) {
  const auto& shown = run.w->h.sim.messages.shown;
  cell.Expect(shown.size() == 1, "wanted exactly one message");
  if (expected != nullptr) {
    cell.Expect(!shown.empty() && shown.back() == expected->Box(),
                "wanted the message of error " + std::to_string(expected->number));
  } else {
    cell.Expect(!shown.empty() && shown.back().style == kMbCritical && shown.back().title == u"错误",
                "wanted an error message");
  }
  const Volume now = run.w->h.sim.volume.Snapshot();
  std::string diff =
      meddled != nullptr ? EitherDifference(run.before, *meddled, now) : VolumeDifference(run.before, now);
  if (!diff.empty() && keptWrittenTimes && meddled != nullptr && meddled->count(kTarget) &&
      now.count(kTarget) && AppliedDifference(*run.w, nullptr, false).rfind("time", 0) != 0) {
    // Only the times as written may stand beside what the other program did.
    Volume written = *meddled;
    SimEntry& t = written.at(kTarget);
    t.creation = now.at(kTarget).creation;
    t.lastWrite = now.at(kTarget).lastWrite;
    t.lastAccess = now.at(kTarget).lastAccess;
    diff = EitherDifference(run.before, written, now);
  }
  cell.Expect(diff.empty(), "volume after the failed apply: " + diff);
  cell.Expect(run.w->h.form.Snapshot() == run.formBefore, "the window changed");
  cell.Expect(run.w->h.sim.volume.OpenHandles() == 0, "a handle stayed open");
}

// The apply's notice for the file as it now stands against what was asked (the typed times, hidden
// and archive ticked), and what the window must show after it: written out from the volume.
Text LocalText(World& w, uint64_t ticks) {
  const int64_t from1899 = (DaysFromCivil(1601, 1, 1) - DaysFromCivil(1899, 12, 30)) * Date::kSecondsPerDay;
  return w.h.sim.locale.DateText(
      Date::FromSeconds(from1899 + static_cast<int64_t>(ticks / 10000000) - int64_t{w.h.sim.time.bias} * 60));
}
sim::ShownMessage ExpectedNotice(World& w) {
  const SimEntry& t = *w.Target();
  const uint64_t stamps[3] = {t.creation, t.lastWrite, t.lastAccess};
  const char16_t* labels[3] = {u"创建时间", u"最近一次修改时间", u"最后一次访问时间"};
  Text prompt = u"设置完成,但磁盘没有按原样保存以下内容:";
  for (int i = 0; i < 3; ++i) {
    if (static_cast<int64_t>(stamps[i] / 10000000) != TypedUtcSeconds(i))
      prompt += Text(u"\r\n") + labels[i] + u":保存为 " + LocalText(w, stamps[i]);
  }
  const struct {
    const char16_t* caption;
    uint32_t bit;
    bool asked;
  } bits[] = {{u"只读", kAttrReadOnly, false},
              {u"隐藏", kAttrHidden, true},
              {u"系统", kAttrSystem, false},
              {u"存档", kAttrArchive, true}};
  for (const auto& b : bits) {
    const bool has = (t.attributes & b.bit) != 0;
    if (has != b.asked) prompt += Text(u"\r\n") + b.caption + (b.asked ? u":没有设上" : u":没有去掉");
  }
  return {prompt, kMbExclamation, u"提示"};
}
void ExpectNotice(Cell& cell, World& w) {
  const auto& shown = w.h.sim.messages.shown;
  cell.Expect(w.Target() != nullptr, "a notice for a file that is gone");
  if (w.Target() == nullptr) return;
  cell.Expect(shown.size() == 1 && shown[0] == ExpectedNotice(w), "the notice does not list what differs");
  const SimEntry& t = *w.Target();
  cell.Expect(WindowTexts(w)[0] == LocalText(w, t.creation) &&
                  WindowTexts(w)[1] == LocalText(w, t.lastWrite) &&
                  WindowTexts(w)[2] == LocalText(w, t.lastAccess),
              "the window does not show the file's times after the notice");
  cell.Expect(w.h.form.GetValue(ControlId::chkReadOnly) == ((t.attributes & kAttrReadOnly) ? 1 : 0) &&
                  w.h.form.GetValue(ControlId::chkSystem) == ((t.attributes & kAttrSystem) ? 1 : 0),
              "the window does not show the file's attributes after the notice");
  cell.Expect(w.h.form.GetEnabled(ControlId::btnSet), "btnSet disabled after the notice");
}
bool Noticed(World& w) {
  const auto& shown = w.h.sim.messages.shown;
  return !shown.empty() && shown[0].style == kMbExclamation && shown[0].title == u"提示";
}

bool Succeeded(ApplyRun& run) {
  const auto& shown = run.w->h.sim.messages.shown;
  return !shown.empty() && shown.back() == sim::ShownMessage{u"设置成功", kMbInformation, u"提示"};
}

TEST(FaultMatrix, ApplyWithEachOperationFailing) {
  Table table("apply, each operation failing");
  std::vector<Op> calls;
  {
    ApplyRun clean;
    clean.Click();
    ASSERT_TRUE(Succeeded(clean)) << Summary(clean.w->h.sim.messages.shown);
    ASSERT_EQ(AppliedDifference(*clean.w), "");
    calls = clean.w->h.sim.volume.calls;
  }
  for (const Step step : StepsOf(calls)) {
    for (const uint32_t code : kCodes.at(step.op)) {
      ApplyRun run;
      bool hit = false;
      Before(
          run.w->h.sim.volume, step, [&] { run.w->h.sim.volume.FailNext(step.op, code); }, hit);
      run.Click();
      Cell cell{
          "apply",
          std::string(OpName(step.op)) + " #" + std::to_string(step.nth) + " fails " + std::to_string(code),
          Summary(run.w->h.sim.messages.shown),
          {}};
      cell.Expect(hit, "the step never came");
      if (step.op == Op::CloseHandle && Succeeded(run)) {
        // The times were written before the close failed: success is the truth.
        cell.Expect(AppliedDifference(*run.w).empty(), AppliedDifference(*run.w));
      } else {
        ExpectFailedApply(cell, run, &kExpected.at(code));
      }
      table.Add(cell);
    }
  }
  table.Print();
  EXPECT_GT(table.Size(), 20u);
}

TEST(FaultMatrix, ApplyRefusesDatesThatCannotBeStored) {
  Table table("apply, dates that cannot be stored");
  struct Case {
    int box;
    const char16_t* text;
    int32_t bias;
    const char* why;
  } cases[] = {
      {0, u"100/1/1 1:00:00", -480, "before year 100 in UTC"},
      {1, u"1601/1/1 7:59:59", -480, "before 1601 in UTC"},
      {2, u"1000/6/15 12:00:00", 0, "before 1601"},
      {2, u"1601/1/1 8:00:00", -480, "the FILETIME 0, which sets nothing"},
      {0, u"9999/12/31 23:59:59", 300, "after 9999 in UTC"},
      {2, u"9999/12/31 20:00:00", 300, "after 9999 in UTC"},
  };
  for (const Case& c : cases) {
    ApplyRun run;
    run.w->h.sim.time.bias = c.bias;
    const ControlId box[] = {ControlId::txtTime0, ControlId::txtTime1, ControlId::txtTime2};
    run.w->h.form.Type(box[c.box], c.text);
    run.w->h.form.SetFocus(ControlId::btnSet);
    run.formBefore = run.w->h.form.Snapshot();
    run.Click();
    Cell cell{"apply",
              "txtTime(" + std::to_string(c.box) + ") " + ToUtf8(c.text) + ", " + c.why,
              Summary(run.w->h.sim.messages.shown),
              {}};
    ExpectFailedApply(cell, run, &kOverflow);
    table.Add(cell);
  }
  table.Print();
}

TEST(FaultMatrix, ApplyWhileAnotherProgramChangesTheFile) {
  Table table("apply, the file changing between two steps");
  std::vector<Op> calls;
  {
    ApplyRun clean;
    clean.Click();
    calls = clean.w->h.sim.volume.calls;
  }
  const std::vector<Step> steps = StepsOf(calls);
  // From the open on, the write is bound to the file opened, whatever then happens to its name.
  const auto opened = std::find_if(steps.begin(), steps.end(), [](Step s) { return s.op == Op::OpenFile; });
  // The read-back begins with the third attribute read (after the snapshot's and the time write's).
  const auto readBack =
      std::find_if(steps.begin(), steps.end(), [](Step s) { return s.op == Op::GetAttr && s.nth == 3; });
  for (const Meddling& m : kMeddlings) {
    const Volume meddled = Meddled(m);
    for (auto stepAt = steps.begin(); stepAt != steps.end(); ++stepAt) {
      const Step step = *stepAt;
      ApplyRun run;
      bool hit = false;
      bool refused = false;
      Before(
          run.w->h.sim.volume, step, [&] { refused = !Meddle(m, run.w->h.sim.volume); }, hit);
      run.Click();
      Cell cell{"apply",
                std::string(m.name) + " before " + OpName(step.op) + " #" + std::to_string(step.nth) +
                    (refused ? " (refused)" : ""),
                Summary(run.w->h.sim.messages.shown),
                {}};
      cell.Expect(hit, "the step never came");
      const auto late = meddled.find(kTarget);
      if (refused) {
        cell.Expect(Succeeded(run) && AppliedDifference(*run.w).empty(),
                    "the apply of an unchanged file failed");
      } else if (Succeeded(run)) {
        // Success must be true: the file holds exactly what was asked for, unless the other program
        // changed it after the times were written (its attributes, after they were read back).
        const std::string diff = AppliedDifference(
            *run.w, stepAt > opened && late != meddled.end() ? &late->second : nullptr, stepAt > readBack);
        cell.Expect(diff.empty(), "success reported, but " + diff);
        cell.Expect(run.w->h.sim.messages.shown.size() == 1, "more than one message");
      } else if (Noticed(*run.w)) {
        // Changed after the write: the notice tells what the file now holds.
        cell.Expect(stepAt > opened, "a notice before anything was written");
        ExpectNotice(cell, *run.w);
      } else {
        // Held open once written, the file cannot be put back: it keeps the times written.
        ExpectFailedApply(cell, run, nullptr, &meddled, stepAt > opened);
      }
      table.Add(cell);
    }
  }
  table.Print();
  EXPECT_GT(table.Size(), 20u);
}

TEST(FaultMatrix, WholeVolumeConditions) {
  Table table("conditions of the whole volume");
  {
    // Read-only media (every write fails with 19, write-protected): looking writes nothing, so the
    // file is shown like any other.
    World w;
    w.h.sim.volume.SetReadOnlyMedia(true);
    const Volume before = w.h.sim.volume.Snapshot();
    w.Inspect(kTarget);
    Cell cell{"inspect file", "read-only media", Summary(w.h.sim.messages.shown), {}};
    cell.Expect(w.h.sim.messages.shown.empty(), "a message for a file that can be read");
    cell.Expect(w.h.form.GetEnabled(ControlId::btnSet), "btnSet not enabled");
    cell.Expect(WindowTexts(w) == InspectCleanly(kTarget).texts, "window not filled");
    cell.Expect(VolumeDifference(before, w.h.sim.volume.Snapshot()).empty(), "volume changed");
    table.Add(cell);
  }
  {
    ApplyRun run;
    run.w->h.sim.volume.SetReadOnlyMedia(true);
    run.Click();
    Cell cell{"apply", "read-only media", Summary(run.w->h.sim.messages.shown), {}};
    ExpectFailedApply(cell, run, &kExpected.at(19));
    table.Add(cell);
  }
  {
    // A name with Hangul, an emoji and Chinese, 300 characters deep, is shown and applied like any
    // other.
    World w;
    w.target = u"C:\\工作\\" + Text(127, u'深') + u"\\" + Text(150, u'层') + u"\\회의록 📅 会议记录.txt";
    ASSERT_EQ(w.target.size(), 300u);
    w.h.sim.volume.AddFile(w.target) = *w.h.sim.volume.Find(kTarget);
    w.Inspect(w.target);
    Cell cell{"inspect+apply", "Hangul, emoji, Chinese, 300 characters", Summary(w.h.sim.messages.shown), {}};
    cell.Expect(w.h.sim.messages.shown.empty(), "a message on inspection");
    cell.Expect(WindowTexts(w) == InspectCleanly(kTarget).texts, "window not filled as for any file");
    w.Edit();
    w.h.form.Click(ControlId::btnSet);
    cell.shown = Summary(w.h.sim.messages.shown);
    cell.Expect(
        w.h.sim.messages.shown == std::vector<sim::ShownMessage>{{u"设置成功", kMbInformation, u"提示"}},
        "wanted the success message");
    const std::string diff = AppliedDifference(w);
    cell.Expect(diff.empty(), diff);
    table.Add(cell);
  }
  const Text tooLong = u"C:\\工作\\" + Text(200, u'深') + u"\\" + Text(kMaxPathLength - 207, u'长');
  for (const Text& name : {Text(u"C:\\工作\\报告|.txt"), Text(u"C:\\工作\\*.txt"), tooLong}) {
    // A name Windows refuses, or a path whose long form passes the limit, gets the bad-name message
    // from the first operation, and no file is touched.
    World w;
    if (name == tooLong) w.h.sim.volume.AddFile(name, 5, kAttrArchive | kAttrHidden);
    const Volume before = w.h.sim.volume.Snapshot();
    w.Inspect(name);
    Cell cell{"inspect file",
              name == tooLong ? "long form of " + std::to_string(name.size() + 4) + " characters"
                              : ToUtf8(name) + ": a name Windows refuses",
              Summary(w.h.sim.messages.shown),
              {}};
    cell.Expect(
        w.h.sim.messages.shown == std::vector<sim::ShownMessage>{{kBadNamePrompt, kMbCritical, u"错误"}},
        "wanted the bad-name message");
    cell.Expect(w.h.sim.volume.calls == std::vector<Op>{Op::GetAttr}, "operations after the refusal");
    ExpectResetWindow(cell, w);
    cell.Expect(VolumeDifference(before, w.h.sim.volume.Snapshot()).empty(), "volume changed");
    table.Add(cell);
  }
  table.Print();
}

}  // namespace
}  // namespace timrose
