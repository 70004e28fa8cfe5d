#pragma once
// Scripted user-interface services for the native tests: message boxes, the file-open dialog,
// drop data, the running executable and the window system.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "window/CommonDialog.h"
#include "window/MessageBox.h"
#include "window/ProcessInfo.h"
#include "window/WindowModel.h"
#include "window/WindowSystem.h"

namespace timrose::sim {

struct ShownMessage {
  Text prompt;
  int style = 0;
  Text title;
  bool operator==(const ShownMessage&) const = default;
};

// Records every box. A Yes/No box (style with 4) takes the next scripted answer and throws
// std::logic_error when none is scripted; any other box answers OK and leaves the script alone.
class SimMessageBoxes : public IMessageBox {
 public:
  std::vector<ShownMessage> shown;
  std::deque<int> answers;
  // Runs while the box is "open", before it answers.
  std::function<void(const ShownMessage&)> onShow;
  // When set, "msgbox <title>" is appended to it for every box.
  std::vector<std::string>* log = nullptr;

  int MsgBox(const Text& prompt, int style, const Text& title) override;
};

// What one ShowOpen does.
struct DialogOutcome {
  enum class Kind { Pick, Cancel, Fail };
  Kind kind = Kind::Cancel;
  Text name;       // Pick: the full name the user chose
  int number = 0;  // Fail: the error number raised
  static DialogOutcome Pick(Text name) { return {Kind::Pick, std::move(name), 0}; }
  static DialogOutcome Cancel() { return {Kind::Cancel, {}, 0}; }
  static DialogOutcome Fail(int number) { return {Kind::Fail, {}, number}; }
};

// The component's settings at the moment ShowOpen was called.
struct DialogSettings {
  bool cancelError = false;
  Text dialogTitle;
  Text filter;
  Text initDir;
  Text fileName;
  int maxFileSize = 0;
  bool operator==(const DialogSettings&) const = default;
};

// The file-open dialog, scripted: each ShowOpen takes the next outcome (std::logic_error when
// none is left). A pick that does not fit MaxFileSize characters with its terminating zero raises
// kErrDialogBufferTooSmall and leaves FileName alone, as the component does; a cancel raises
// kErrDialogCancel only with CancelError.
class SimDialog : public CommonDialog {
 public:
  std::deque<DialogOutcome> outcomes;
  std::vector<DialogSettings> shown;
  // Runs while the dialog is "open", before the outcome is applied.
  std::function<void()> onShow;
  std::vector<std::string>* log = nullptr;

  void ShowOpen() override;
};

// Drop data: a list of full paths, or no file list at all (text, a link, an image ...).
class SimDropData : public IDropData {
 public:
  explicit SimDropData(std::vector<Text> files) : files_(std::move(files)), hasFileList_(true) {}
  static SimDropData NoFileList() { return SimDropData(); }

  // Raises 461 when the drop carries no file list and 9 for an index outside the list.
  Text Files(int index) override;
  int filesCalls = 0;

 private:
  SimDropData() = default;
  std::vector<Text> files_;
  bool hasFileList_ = false;
};

class SimProcessInfo : public IProcessInfo {
 public:
  Text appPath = u"C:\\Program Files\\Timrose";
  Text exeName = u"Timrose";
  Text AppPath() override { return appPath; }
  Text AppExeName() override { return exeName; }
};

struct SetWindowPosCall {
  intptr_t window = 0;
  intptr_t insertAfter = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  uint32_t flags = 0;
  bool operator==(const SetWindowPosCall&) const = default;
};

class SimWindowSystem : public IWindowSystem {
 public:
  std::vector<SetWindowPosCall> calls;
  bool SetWindowPos(intptr_t window, intptr_t insertAfter, int x, int y, int cx, int cy,
                    uint32_t flags) override;
};

}  // namespace timrose::sim
