// The inspection of the file named in the path box: it runs on every change of txtPath, the
// program's own assignments included, and the window's controls are its only output.
#include <cstdint>

#include "core/Error.h"
#include "window/frmFileAttribute.h"

namespace timrose {
namespace {

constexpr int64_t kTwoGiB = 2147483648LL;

}  // namespace

void frmFileAttribute::txtPath_Change() {
  try {
    ResetDisplays();
    // The trimmed path serves only the blank, short-path and existence tests (here and in the
    // apply). Every file operation, and the dialog's FileName, gets the text as the box holds it,
    // so that what is read and written is exactly the name the user was shown.
    const Text path = form_.GetText(ControlId::txtPath);
    const Text trimmed = TrimSpaces(path);
    if (RefuseBlankOrDriveRoot(trimmed)) return;
    ShowAttributes(path);
    // The mask never holds the directory bit, so a folder is not found and a file is.
    if (!platform_.files.Exists(trimmed, AttributeSum())) {
      AskAboutFolder(path);
      return;
    }
    form_.SetEnabled(ControlId::btnSet, true);
    ShowTimes(path);
    ShowSize(path);
    KeepPathInView(path);
    // Nothing is written back: the attributes on show are the file's own, and writing them again
    // could only fail, on a read-only medium or for a file the user may not change.
  } catch (const RaisedError& error) {
    ReportInspectionError(error);
  }
}

Text frmFileAttribute::NoFileCaption() {
  return Text(Describe(ControlId::lblSize).caption);
}

void frmFileAttribute::ResetDisplays() {
  form_.SetEnabled(ControlId::btnSet, false);
  form_.SetText(ControlId::txtTime0, u"");
  form_.SetText(ControlId::txtTime1, u"");
  form_.SetText(ControlId::txtTime2, u"");
  form_.SetValue(ControlId::chkReadOnly, 0);
  form_.SetValue(ControlId::chkHide, 0);
  form_.SetValue(ControlId::chkSystem, 0);
  form_.SetValue(ControlId::chkArchive, 0);
  form_.SetText(ControlId::lblSize, NoFileCaption());
  form_.SetToolTip(ControlId::lblSize, u"");
}

bool frmFileAttribute::RefuseBlankOrDriveRoot(const Text& trimmed) {
  if (trimmed.empty()) {
    form_.SetFocus(ControlId::btnGet);
    return true;
  }
  if (trimmed.size() > 3) return false;
  platform_.messages.MsgBox(u"请勿直接拖拽磁盘盘符.", kMbExclamation, kNoticeTitle);
  // Emptying the box runs the nested inspection, which resets the window before we go on.
  form_.SetText(ControlId::txtPath, u"");
  form_.SetFocus(ControlId::btnGet);
  return true;
}

void frmFileAttribute::ShowAttributes(const Text& path) {
  const int attributes = platform_.files.GetAttr(path);
  form_.SetValue(ControlId::chkReadOnly, (attributes & kAttrReadOnly) != 0 ? 1 : 0);
  form_.SetValue(ControlId::chkHide, (attributes & kAttrHidden) != 0 ? 1 : 0);
  form_.SetValue(ControlId::chkSystem, (attributes & kAttrSystem) != 0 ? 1 : 0);
  // Only the archive bit ticks its box: a higher bit (not indexed, temporary, offline ...) must
  // not, or the next apply would give the file an archive attribute it never had.
  form_.SetValue(ControlId::chkArchive, (attributes & kAttrArchive) != 0 ? 1 : 0);
}

void frmFileAttribute::AskAboutFolder(const Text& path) {
  const Text question =
      Text(u"本工具不对文件夹进行操作") + u"\r\n" + u"\r\n" + u"如果需要保留文件夹相关信息,请选择\"是\"";
  if (platform_.messages.MsgBox(question, kMbYesNo + kMbExclamation, kNoticeTitle) == kAnswerYes) {
    form_.SetEnabled(ControlId::btnSet, false);
    form_.SetText(ControlId::txtTime0, FormatTime24(platform_.files.FileDateTime(path)));
    form_.SetText(ControlId::txtTime1, u"");
    form_.SetText(ControlId::txtTime2, u"");
    form_.SetText(ControlId::lblSize, NoFileCaption());
    form_.SetToolTip(ControlId::lblSize, u"");
    return;
  }
  form_.SetText(ControlId::txtPath, u"");
  form_.SetFocus(ControlId::btnGet);
  // Enabled after the nested reset, on purpose: a click on btnSet in the empty window then meets
  // the apply's "no file chosen" refusal, which tells the user what to do instead.
  form_.SetEnabled(ControlId::btnSet, true);
}

void frmFileAttribute::ShowTimes(const Text& path) {
  form_.SetText(ControlId::txtTime0, FormatTime24(store_.ReadFileTime(path, kCreationTime)));
  form_.SetText(ControlId::txtTime1, FormatTime24(store_.ReadFileTime(path, kLastWriteTime)));
  form_.SetText(ControlId::txtTime2, FormatTime24(store_.ReadFileTime(path, kLastAccessTime)));
}

void frmFileAttribute::ShowSize(const Text& path) {
  // The 32-bit file length is no size from 2 GiB on, so the full size decides which to ask; the
  // time reads have just queried this file.
  const int64_t length = store_.LastQueriedFileSize() < static_cast<uint64_t>(kTwoGiB)
                             ? static_cast<int64_t>(platform_.files.FileLen(path))
                             : static_cast<int64_t>(store_.ReadFileSize(path));
  form_.SetText(ControlId::lblSize, u"大小: " + DecimalText(length) + u" 字节");
  form_.SetToolTip(ControlId::lblSize, FormatSizeShort(form_.GetText(ControlId::lblSize)));
}

void frmFileAttribute::KeepPathInView(const Text& path) {
  form_.SetFocus(ControlId::txtPath);
  form_.SetSelStart(ControlId::txtPath, static_cast<int>(path.size()));
  cdgFile_.FileName = path;
}

void frmFileAttribute::ReportInspectionError(const RaisedError& error) {
  IMessageBox& messages = platform_.messages;
  switch (error.Number()) {
    case kErrBadFileName:
      form_.SetText(ControlId::lblSize, NoFileCaption());
      messages.MsgBox(Text(u"不可识别的文件名") + u"\r\n" + u"本错误可能是因为Unicode码无法显示造成" +
                          u"\r\n" + u"本工具对某些特殊Unicode字符暂时无法识别." + u"\r\n" + u"\r\n" +
                          u"请确保文件路径中未包含特殊字符",
                      kMbCritical, kErrorTitle);
      form_.SetText(ControlId::txtPath, u"");
      break;
    case kErrFileNotFound:
      form_.SetText(ControlId::lblSize, NoFileCaption());
      messages.MsgBox(u"没有找到文件.请确认是否选择了一个文件.", kMbInformation, kNoticeTitle);
      form_.SetText(ControlId::txtPath, u"");
      break;
    default:
      ShowErrorBox(messages, error.Number(), error.Description());
      break;
  }
}

}  // namespace timrose
