#pragma once
// The main window's logic: its event handlers, written against the window model, the file-open
// dialog component and the platform.
#include "core/Date.h"
#include "core/Platform.h"
#include "core/modFileAttribute.h"
#include "window/CommonDialog.h"
#include "window/HandlerServices.h"
#include "window/WindowModel.h"

namespace timrose {

class RaisedError;

class frmFileAttribute : public IFormEvents {
 public:
  frmFileAttribute(IWindowModel& form, CommonDialog& cdgFile, HandlerServices& platform,
                   modFileAttribute& store);

  // Routing: each event of the window reaches its one handler; every other event is ignored.
  using ClickHandler = void (frmFileAttribute::*)();
  // The handler of a click on `control`; nullptr for a control whose clicks nothing handles.
  static ClickHandler HandlerOfClick(ControlId control);
  void OnChange(ControlId control) override;
  void OnClick(ControlId control) override;
  void OnOLEDragDrop(ControlId control, IDropData& data, int32_t& effect, int16_t button, int16_t shift,
                     float x, float y) override;

  void txtPath_Change();
  void txtPath_OLEDragDrop(IDropData& data, int32_t& effect, int16_t button, int16_t shift, float x, float y);
  void btnGet_Click();
  void btnSet_Click();
  void chkOnTop_Click();
  void lblAbout_Click();

  // The About message: sixteen lines joined by CR LF.
  static Text AboutText();

 private:
  Text FormatTime24(const Date& date);
  Text FormatSizeShort(const Text& caption);
  int AttributeSum();

  // The inspection's steps, in the order it runs them.
  static Text NoFileCaption();
  void ResetDisplays();
  bool RefuseBlankOrDriveRoot(const Text& trimmed);
  void ShowAttributes(const Text& path);
  void AskAboutFolder(const Text& path);
  void ShowTimes(const Text& path);
  void ShowSize(const Text& path);
  void KeepPathInView(const Text& path);
  void ReportInspectionError(const RaisedError& error);

  // The apply's check of what the disk kept against what it was given: the lines of what differs.
  Text DifferencesOnDisk(const Text& path, const Date (&typed)[3], int attributes);

  IWindowModel& form_;
  CommonDialog& cdgFile_;
  HandlerServices& platform_;
  modFileAttribute& store_;
};

}  // namespace timrose
