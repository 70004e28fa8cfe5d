#include <array>

#include "core/Error.h"
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

}  // namespace

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

    // The time write undoes its own failures; a failed attribute write after it must not leave
    // the file with new times and no attributes while the user is told the apply failed.
    const modFileAttribute::FileSnapshot original = store_.TakeSnapshot(path);
    store_.WriteFileTimes(path, creation, lastWrite, lastAccess);
    try {
      platform_.files.SetAttr(path, AttributeSum());
    } catch (const RaisedError&) {
      store_.RestoreSnapshot(path, original);
      throw;
    }
    platform_.messages.MsgBox(u"设置成功", kMbOkOnly + kMbInformation, kNoticeTitle);
  } catch (const RaisedError& e) {
    ShowErrorBox(platform_.messages, e.Number(), e.Description());
  }
}

}  // namespace timrose
