#pragma once
// The in-memory form of the native tests: the window model of frmFileAttribute without Windows.
// It behaves as the real window does where the handlers can tell: setting the text of txtPath
// raises its change event nested inside the assignment (only when the text changes), a check
// box changed from code or by a click raises its click, a disabled control takes no click, and
// disabling the focused control moves the focus on in Tab order. tests/windows/FormContractTest.cpp
// holds it to the real window.
// Misuse that the real window would not survive (a value on a text box, the focus on a label)
// throws std::logic_error, so that the test fails loudly.
#include <array>
#include <string>
#include <vector>

#include "window/WindowModel.h"

namespace timrose::sim {

class MemoryForm : public IWindowModel {
 public:
  // The handle the form reports as its native window.
  static constexpr intptr_t kHandle = 0x5A17;

  // The start state of every control, from kControls.
  MemoryForm();

  void SetEvents(IFormEvents* events);

  // User actions. A click on a disabled control does nothing. A push button or check box takes
  // the focus first. Clicking a check box (chkOnTop included) flips its value, which raises the
  // click; any other control raises its click directly.
  void Click(ControlId control);
  // A drop on txtPath; the effect passed is the copy effect (1), kept in lastDropEffect.
  void Drop(IDropData& data);
  // The user types into an editable text box (a time box); a locked or disabled box ignores it.
  void Type(ControlId control, const Text& text);

  ControlId Focus() const { return focus_; }
  int SelStart(ControlId control) const;
  int MousePointer(ControlId control) const;
  int32_t lastDropEffect = 0;
  // Every control's text, value, enabled state, tooltip, pointer and caret, and the focus, one
  // line each: two equal snapshots mean the window looks and behaves the same.
  std::string Snapshot() const;

  // Everything that happened, in order: "change txtPath begin", "change txtPath end",
  // "text txtTime(0)=...", "value chkHide=1", "enable btnSet", "disable btnSet",
  // "focus btnGet", "click btnGet", "drop txtPath", "tooltip lblSize=...", "pointer lblAbout=0",
  // "selstart txtPath=12"; the simulated message boxes and dialog add "msgbox <title>" and
  // "dialog open" when wired to this log.
  std::vector<std::string> log;

  // What the handlers set and never read back.
  bool GetEnabled(ControlId control) const { return At(control).enabled; }
  Text GetToolTip(ControlId control) const { return At(control).toolTip; }

  // IWindowModel
  Text GetText(ControlId control) override;
  void SetText(ControlId control, const Text& text) override;
  int GetValue(ControlId control) override;
  void SetValue(ControlId control, int value) override;
  void SetEnabled(ControlId control, bool enabled) override;
  void SetFocus(ControlId control) override;
  void SetSelStart(ControlId control, int position) override;
  void SetToolTip(ControlId control, const Text& text) override;
  void SetMousePointer(ControlId control, int pointer) override;
  intptr_t NativeHandle() override { return kHandle; }

 private:
  struct ControlState {
    Text text;
    int value = 0;
    bool enabled = true;
    Text toolTip;
    int mousePointer = kPointerDefault;
    int selStart = 0;
  };
  ControlState& At(ControlId control);
  const ControlState& At(ControlId control) const;

  std::array<ControlState, kControlCount> controls_;
  ControlId focus_ = ControlId::txtPath;
  IFormEvents* events_ = nullptr;
};

}  // namespace timrose::sim
