// Naming a file: the file-open dialog and a drop on the path box. Both only put a path into
// txtPath; the inspection that the change raises does the rest.
#include "core/Error.h"
#include "window/frmFileAttribute.h"

namespace timrose {

void frmFileAttribute::btnGet_Click() {
  cdgFile_.CancelError = false;
  // The dialog is titled as the button that opens it.
  cdgFile_.DialogTitle = Text(Describe(ControlId::btnGet).caption);
  cdgFile_.Filter = u"所有文件(*.*)|*.*";
  cdgFile_.InitDir = u"C:\\";
  try {
    cdgFile_.ShowOpen();
  } catch (const RaisedError& error) {
    // A failed dialog (a chosen name over its limit) names no file: report it and leave the
    // window as it stood, rather than emptying it or letting the error escape the event.
    ShowErrorBox(platform_.messages, error.Number(), error.Description());
    return;
  }
  // Emptying first makes choosing the file on show read it again from disk.
  form_.SetText(ControlId::txtPath, u"");
  form_.SetText(ControlId::txtPath, cdgFile_.FileName);
  if (TrimSpaces(form_.GetText(ControlId::txtPath)).empty()) form_.SetFocus(ControlId::btnGet);
}

void frmFileAttribute::txtPath_OLEDragDrop(IDropData& data, int32_t& /*effect*/, int16_t /*button*/,
                                           int16_t /*shift*/, float /*x*/, float /*y*/) {
  Text remembered;
  try {
    remembered = form_.GetText(ControlId::txtPath);
    form_.SetText(ControlId::txtPath, u"");
    form_.SetText(ControlId::txtPath, data.Files(1));
    return;
  } catch (const RaisedError&) {
    // No file list (text, a link, an image, a shell item that is no file): fall through.
  }
  form_.SetText(ControlId::txtPath, remembered);
  platform_.messages.MsgBox(u"请勿拖拽其他内容,如我的电脑,网上邻居,回收站,文本,网站,图像等.", kMbInformation,
                            kNoticeTitle);
}

}  // namespace timrose
