// The text of txtPath through the whole inspection, on the simulated platform with a small volume
// of awkward entries, as each kind of volume keeps them. Whatever the text, the inspection runs to
// its end without a crash, leaves no handle open, changes nothing on the volume (it writes
// nothing), and what the window shows for a file is that file's own times and size. Some runs go
// on to apply edited values to whatever is on show.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <iterator>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "tests/Support.h"
#include "tests/sim/SimPlatform.h"

namespace timrose {
namespace {

using fuzz::Check;
using fuzz::Quoted;
using sim::SimEntry;
using sim::TicksFromUtc;

constexpr char16_t kNoFileCaption[] = u"大小:当前没有选择文件";

struct Entry {
  const char16_t* path;
  uint64_t size;
  uint32_t attributes;
  bool folder;
};
// Files and folders with every kind of attribute, a size beyond 4 GiB, names in Chinese, Greek,
// Latin-1 and Hangul with an emoji, spaces where Windows strips them, and two long paths.
constexpr std::array<Entry, 17> kEntries = {{
    {u"C:\\data\\a.txt", 1025, kAttrArchive, false},
    {u"C:\\data\\ro.txt", 0, kAttrReadOnly | kAttrArchive, false},
    {u"C:\\data\\hidden.sys", 4096, kAttrHidden | kAttrSystem, false},
    {u"C:\\data\\plain", 2147483647, 0, false},
    {u"C:\\data\\x2000.txt", 12345, 0x2000 | kAttrReadOnly, false},
    {u"C:\\data\\大文件.bin", 5368709120ull, kAttrArchive, false},
    {u"C:\\data\\Ωmega.txt", 103000, kAttrArchive | 0x100, false},
    {u"C:\\data\\naïve.txt", 1, kAttrArchive, false},
    {u"C:\\data\\회의록 📅.txt", 2, kAttrArchive, false},
    {u"C:\\data\\held.txt", 99, kAttrArchive, false},
    {u"C:\\data\\sub", 0, kAttrDirectory, true},
    {u"C:\\data\\sub\\inner.txt", 2147483648ull, kAttrArchive | kAttrHidden, false},
    {u"C:\\data\\hid dir", 0, kAttrDirectory | kAttrHidden, true},
    {u"C:\\a", 7, kAttrArchive, false},
    // 85 and 161 characters.
    {u"D:\\深\\层\\目录\\文件名很长很长很长"
     u"很长很长很长很长很长很长很长很长很长很长"
     u"很长很长很长很长很长很长很长很长很长很长"
     u"很长很长很长很长很长很长很长很长很长很长"
     u"很长.txt",
     1048577, kAttrArchive, false},
    {u"C:\\data\\过长"
     u"的路径的路径的路径的路径的路径的路径的路径"
     u"的路径的路径的路径的路径的路径的路径的路径"
     u"的路径的路径的路径的路径的路径的路径的路径"
     u"的路径的路径的路径的路径的路径的路径的路径"
     u"的路径的路径的路径的路径的路径的路径的路径"
     u"的路径的路径的路径的路径的路径的路径的路径"
     u"的路径的路径的路径的路径的路径的路径的路径"
     u".txt",
     5, kAttrArchive | kAttrHidden, false},
    {u"C:\\data\\edge.txt", 922337203685477ull, kAttrArchive, false},
}};

// Path pieces the mutations put together.
constexpr std::array<const char16_t*, 16> kPieces = {
    u" ", u"\\", u"/",     u".",  u"..", u"C:", u"data", u"sub",
    u"*", u"?",  u"A.TXT", u"대", u"😀",  u"\t", u":",    u"~1",
};

void Populate(sim::SimVolume& volume, FuzzedDataProvider& in) {
  for (const Entry& s : kEntries) {
    SimEntry& e =
        s.folder ? volume.AddFolder(s.path, s.attributes) : volume.AddFile(s.path, s.size, s.attributes);
    // Stamps with fractions of a second, and at the ends of what the Date and FILETIME hold.
    e.creation = TicksFromUtc(2001, 2, 3, 4, 5, 6, 789, 1234);
    e.lastWrite = TicksFromUtc(2011, 3, 3, 23, 59, 59, 999);
    e.lastAccess =
        in.ConsumeBool() ? TicksFromUtc(1601, 1, 1, 0, 0, 0) : TicksFromUtc(9999, 12, 31, 20, 0, 0);
  }
  volume.Find(u"C:\\data\\held.txt")->heldOpen = true;
}

Text PathText(FuzzedDataProvider& in) {
  Text text;
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: {
      // A real entry, dressed up.
      text = in.PickValueInArray(kEntries).path;
      const int edits = in.ConsumeIntegralInRange<int>(0, 4);
      for (int i = 0; i < edits && !text.empty(); ++i) {
        const size_t at = in.ConsumeIntegralInRange<size_t>(0, text.size());
        switch (in.ConsumeIntegralInRange<int>(0, 2)) {
          case 0:
            text.insert(at, in.PickValueInArray(kPieces));
            break;
          case 1:
            text.erase(at, in.ConsumeIntegralInRange<size_t>(0, 3));
            break;
          default:
            if (at < text.size() && text[at] >= u'a' && text[at] <= u'z') text[at] = text[at] - u'a' + u'A';
            break;
        }
      }
      break;
    }
    case 1:
      for (int i = in.ConsumeIntegralInRange<int>(0, 8); i > 0; --i) text += in.PickValueInArray(kPieces);
      break;
    default:
      for (int i = in.ConsumeIntegralInRange<int>(0, 300); i > 0 && in.remaining_bytes() > 0; --i) {
        text += in.ConsumeIntegral<char16_t>();
      }
      break;
  }
  return text;
}

Date LocalDate(uint64_t ticks, int32_t bias) {
  static const int64_t k1601 =
      (DaysFromCivil(1601, 1, 1) - DaysFromCivil(1899, 12, 30)) * Date::kSecondsPerDay;
  return Date::FromSeconds(static_cast<int64_t>(ticks / 10000000) + k1601 - int64_t{bias} * 60);
}

// What the volume reports of a file, as its profile keeps it: the stamps in the order of the time
// boxes (one not stored reads as the last write time), and the four owned bits.
struct Reported {
  uint64_t stamps[3];
  int bits;
};
Reported ReportedOf(const sim::SimVolume& volume, const SimEntry& e) {
  const VolumeProfile& p = volume.Profile();
  return {{p.creation == StampKept::Exact ? e.creation : e.lastWrite, e.lastWrite,
           p.lastAccess == StampKept::Exact ? e.lastAccess : e.lastWrite},
          static_cast<int>(e.attributes | static_cast<uint32_t>(p.forcedBits)) & kAttrOwnedBits};
}

// A file on show: every filled time box names that file's own stamp, and a complete inspection
// shows its size.
void CheckFileOnShow(sim::FormHarness& h, const Text& path, const std::string& where) {
  const SimEntry* entry = h.sim.volume.Find(path);
  Check(entry != nullptr && !entry->directory, where + ": btnSet enabled for no file");
  const Reported reported = ReportedOf(h.sim.volume, *entry);
  const std::array<std::pair<ControlId, uint64_t>, 3> boxes = {{
      {ControlId::txtTime0, reported.stamps[0]},
      {ControlId::txtTime1, reported.stamps[1]},
      {ControlId::txtTime2, reported.stamps[2]},
  }};
  for (const auto& [box, ticks] : boxes) {
    const Text shown = h.form.GetText(box);
    if (shown.empty()) continue;
    const Date expected = LocalDate(ticks, h.sim.time.bias);
    Check(h.sim.locale.IsDate(shown) && h.sim.locale.CDate(shown) == expected,
          where + ": " + ControlName(box) + " shows " + Quoted(shown) + ", the file holds " +
              ToIsoText(expected));
  }
  const Text caption = h.form.GetText(ControlId::lblSize);
  if (caption != kNoFileCaption) {
    Check(caption == u"大小: " + DecimalText(static_cast<long long>(entry->size)) + u" 字节",
          where + ": size caption " + Quoted(caption));
  }
}

// Then, sometimes, the apply of edited times and ticks, on whatever volume the run has: either the
// success message and the file holds exactly the typed seconds and the ticks, or the notice lists
// exactly the items that differ (and the window then shows the file), or the volume is exactly as
// it was (an error, a refusal).
void Apply(FuzzedDataProvider& in, sim::FormHarness& h) {
  static constexpr std::array<const char16_t*, 13> kTimes = {u"2020/2/29 13:14:15",
                                                             u"2011/3/3",
                                                             u"1601/1/1 8:00:00",
                                                             u"1601/1/1 7:59:59",
                                                             u"100/1/1 0:00:00",
                                                             u"9999/12/31 23:59:59",
                                                             u"2019-1-1 1:2",
                                                             u"2012/12/31 24:00:00",
                                                             u"abc",
                                                             u"",
                                                             u" 2001/2/3 4:05:06 ",
                                                             u"1899/12/30 0:00:00",
                                                             u"1979/12/31 23:59:59"};
  const ControlId boxes[] = {ControlId::txtTime0, ControlId::txtTime1, ControlId::txtTime2};
  for (ControlId box : boxes) {
    if (in.ConsumeBool()) h.form.Type(box, in.PickValueInArray(kTimes));
  }
  const struct {
    ControlId box;
    int bit;
    const char16_t* caption;
  } ticks[] = {{ControlId::chkReadOnly, kAttrReadOnly, u"只读"},
               {ControlId::chkHide, kAttrHidden, u"隐藏"},
               {ControlId::chkSystem, kAttrSystem, u"系统"},
               {ControlId::chkArchive, kAttrArchive, u"存档"}};
  int asked = 0;
  for (const auto& t : ticks) {
    if (in.ConsumeBool()) h.form.Click(t.box);
    asked += h.form.GetValue(t.box) * t.bit;
  }
  Date typed[3];
  for (int i = 0; i < 3; ++i) {
    const Text text = h.form.GetText(boxes[i]);
    if (h.sim.locale.IsDate(text)) typed[i] = h.sim.locale.CDate(text);
  }
  const Text path = h.form.GetText(ControlId::txtPath);
  const std::string where = "apply to " + Quoted(path) + " on " + std::string(h.sim.volume.Profile().name);
  const auto before = h.sim.volume.Snapshot();
  h.sim.messages.shown.clear();
  h.form.Click(ControlId::btnSet);

  Check(h.sim.volume.OpenHandles() == 0, where + ": a handle stayed open");
  const Text notice = u"设置完成,但磁盘没有按原样保存以下内容:";
  const Text prompt = h.sim.messages.shown.empty() ? Text() : h.sim.messages.shown.front().prompt;
  const bool success = prompt == u"设置成功";
  if (!success && !prompt.starts_with(notice)) {
    Check(h.sim.messages.shown.size() == 1, where + ": not exactly one message");
    Check(h.sim.volume.Snapshot() == before, where + ": failed, and the volume changed");
    return;
  }
  const SimEntry* entry = h.sim.volume.Find(path);
  Check(entry != nullptr, where + ": success or notice for no file");
  const Reported kept = ReportedOf(h.sim.volume, *entry);
  Text differences;
  const char16_t* labels[3] = {u"创建时间", u"最近一次修改时间", u"最后一次访问时间"};
  for (int i = 0; i < 3; ++i) {
    const Date stored = LocalDate(kept.stamps[i], h.sim.time.bias);
    if (stored != typed[i])
      differences += u"\r\n" + Text(labels[i]) + u":保存为 " + h.sim.locale.DateText(stored);
  }
  for (const auto& t : ticks) {
    const bool wanted = (asked & t.bit) != 0;
    if (wanted != ((kept.bits & t.bit) != 0))
      differences += Text(u"\r\n") + t.caption + (wanted ? u":没有设上" : u":没有去掉");
  }
  if (success) {
    Check(h.sim.messages.shown.size() == 1, where + ": more than the success message");
    Check(differences.empty(), where + ": success, but the disk holds otherwise:" + ToUtf8(differences));
    return;
  }
  Check(prompt == notice + differences,
        where + ": the notice " + Quoted(prompt) + " is not the list of what differs" + ToUtf8(differences));
  CheckFileOnShow(h, path, where + ", after the notice");
  for (const auto& t : ticks) {
    Check(h.form.GetValue(t.box) == ((kept.bits & t.bit) != 0 ? 1 : 0), where + ": a box after the notice");
  }
}

void Inspect(FuzzedDataProvider& in) {
  sim::FormHarness h;
  h.sim.time.bias = in.PickValueInArray({-480, 0, 300, -780, 720});
  Populate(h.sim.volume, in);
  const size_t profile = in.ConsumeIntegralInRange<size_t>(0, kVolumeProfiles.size());
  h.sim.volume.SetProfile(profile < kVolumeProfiles.size() ? kVolumeProfiles[profile] : kNetworkDriveProfile);
  // Answers to the folder question, and to any Yes/No box that should not be there.
  for (int i = 0; i < 8; ++i) h.sim.messages.answers.push_back(in.ConsumeBool() ? kAnswerYes : kAnswerNo);
  const bool drop = in.ConsumeBool();
  const Text path = PathText(in);
  const std::string where = "inspection of " + Quoted(path);

  const auto before = h.sim.volume.Snapshot();
  if (drop) {
    sim::SimDropData data({path});
    h.form.Drop(data);
  } else {
    h.form.SetText(ControlId::txtPath, path);
  }

  Check(h.sim.volume.Snapshot() == before, where + ": the volume changed");
  Check(h.sim.volume.OpenHandles() == 0, where + ": a handle stayed open");
  for (const auto& m : h.sim.messages.shown) {
    Check(m.title == u"提示" || m.title == u"错误", where + ": a message titled " + Quoted(m.title));
    Check(m.prompt != u"设置成功", where + ": a success message");
  }
  const Text shownPath = h.form.GetText(ControlId::txtPath);
  if (h.form.GetEnabled(ControlId::btnSet) && !TrimSpaces(shownPath).empty()) {
    CheckFileOnShow(h, shownPath, where);
  }
  if (h.form.GetEnabled(ControlId::btnSet) && in.ConsumeBool()) Apply(in, h);
}

}  // namespace
}  // namespace timrose

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  timrose::Inspect(in);
  return 0;
}
