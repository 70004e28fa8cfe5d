#include <array>

#include "core/Error.h"
#include "window/FormDescription.h"
#include "window/frmFileAttribute.h"

namespace timrose {
namespace {

struct TimeBox {
  ControlId box;
  const char16_t* refusal;
};

// Tested and written in this order: creation, last write, last access.
constexpr std::array<TimeBox, 3> kTimeBoxes = {{
    {ControlId::txtTime0, u"创建时间不正确"},
    {ControlId::txtTime1, u"修改时间不正确"},
    {ControlId::txtTime2, u"访问时间不正确"},
}};

// The program's folder already ends in a backslash when the program sits in a drive root;
// doubling it there would let the program's own file through the refusal.
Text OwnExecutablePath(IProcessInfo& process) {
  Text path = process.AppPath();
  if (path.empty() || path.back() != u'\\') path += u'\\';
  return path + process.AppExeName() + u".exe";
}

struct KeptBit {
  ControlId box;
  int bit;
};

constexpr std::array<KeptBit, 4> kKeptBits = {{
    {ControlId::chkReadOnly, kAttrReadOnly},
    {ControlId::chkHide, kAttrHidden},
    {ControlId::chkSystem, kAttrSystem},
    {ControlId::chkArchive, kAttrArchive},
}};

}  // namespace

// Read back through the inspection's own conversion, so that a stamp the disk kept is judged as
// the window would show it; below a second nothing is told, as the window shows
// no finer.
Text frmFileAttribute::DifferencesOnDisk(const Text& path, const Date (&typed)[3], int attributes) {
  const int kept = platform_.files.GetAttr(path);
  const struct {
    ControlId label;
    int32_t kind;
  } stamps[3] = {{ControlId::lblInfo1, kCreationTime},
                 {ControlId::lblInfo3, kLastWriteTime},
                 {ControlId::lblInfo2, kLastAccessTime}};
  Text lines;
  for (int i = 0; i < 3; ++i) {
    const Date stored = store_.ReadFileTime(path, stamps[i].kind);
    // The zero Date is also what the read gives when the file went away since the attribute read.
    if (stored.Seconds() == Date().Seconds() && !platform_.files.Exists(path, kAttrAllMask)) {
      RaiseError(kErrFileNotFound);
    }
    if (stored.Seconds() == typed[i].Seconds()) continue;
    lines += u"\r\n" + Text(Describe(stamps[i].label).caption) + u":保存为 " + FormatTime24(stored);
  }
  for (const KeptBit& b : kKeptBits) {
    const bool wanted = (attributes & b.bit) != 0;
    if (wanted == ((kept & b.bit) != 0)) continue;
    lines += u"\r\n" + Text(Describe(b.box).caption) + (wanted ? u":没有设上" : u":没有去掉");
  }
  return lines;
}

void frmFileAttribute::btnSet_Click() {
  try {
    const Text trimmed = TrimSpaces(form_.GetText(ControlId::txtPath));
    if (trimmed.empty()) {
      platform_.messages.MsgBox(u"未选择文件.请选择或者拖拽一个文件", kMbOkOnly + kMbExclamation,
                                kNoticeTitle);
      form_.SetFocus(ControlId::btnGet);
      return;
    }
    if (trimmed == OwnExecutablePath(platform_.process)) {
      platform_.messages.MsgBox(
          u"请不要尝试修改本工具自身的信息\r\n\r\n如果一定要修改,请使用一份本工具的拷贝进行修改.",
          kMbOkOnly + kMbExclamation, u"警告");
      form_.SetFocus(ControlId::btnGet);
      return;
    }
    for (const TimeBox& t : kTimeBoxes) {
      if (!platform_.text.IsDate(form_.GetText(t.box))) {
        platform_.messages.MsgBox(t.refusal, kMbOkOnly + kMbExclamation, kNoticeTitle);
        form_.SetFocus(t.box);
        return;
      }
    }

    const Text path = form_.GetText(ControlId::txtPath);
    const Date creation = platform_.text.CDate(form_.GetText(kTimeBoxes[0].box));
    const Date lastWrite = platform_.text.CDate(form_.GetText(kTimeBoxes[1].box));
    const Date lastAccess = platform_.text.CDate(form_.GetText(kTimeBoxes[2].box));

    // The time write undoes its own failures; a failed attribute write or read-back after it must
    // not leave the file with new times and no attributes while the user is told the apply failed.
    const modFileAttribute::FileSnapshot original = store_.TakeSnapshot(path);
    const int attributes = AttributeSum();
    const Date typed[3] = {creation, lastWrite, lastAccess};
    Text differences;
    store_.WriteFileTimes(path, creation, lastWrite, lastAccess);
    try {
      platform_.files.SetAttr(path, attributes);
      differences = DifferencesOnDisk(path, typed, attributes);
    } catch (const RaisedError&) {
      store_.RestoreSnapshot(path, original);
      throw;
    }
    if (differences.empty()) {
      platform_.messages.MsgBox(u"设置成功", kMbOkOnly + kMbInformation, kNoticeTitle);
      return;
    }
    // Every call succeeded and the disk still keeps less (a FAT or exFAT stick, a network drive):
    // what it kept is the closest it can hold, so nothing is undone, and the window shows it.
    platform_.messages.MsgBox(u"设置完成,但磁盘没有按原样保存以下内容:" + differences,
                              kMbOkOnly + kMbExclamation, kNoticeTitle);
    txtPath_Change();
  } catch (const RaisedError& e) {
    ShowErrorBox(platform_.messages, e.Number(), e.Description());
  }
}

}  // namespace timrose
