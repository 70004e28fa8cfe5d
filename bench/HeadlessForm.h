#pragma once
// A window model with no window and no log, for timing the handlers: what it costs is nothing
// the real program pays, so the figures are the handlers' and the platform's alone. It raises no
// events; the bench calls the handlers itself.
#include <array>

#include "window/WindowModel.h"

namespace timrose::bench {

class HeadlessForm final : public IWindowModel {
 public:
  Text GetText(ControlId control) override { return At(control).text; }
  void SetText(ControlId control, const Text& text) override { At(control).text = text; }
  int GetValue(ControlId control) override { return At(control).value; }
  void SetValue(ControlId control, int value) override { At(control).value = value; }
  void SetEnabled(ControlId control, bool enabled) override { At(control).enabled = enabled; }
  void SetFocus(ControlId control) override { focus = control; }
  void SetSelStart(ControlId control, int position) override { At(control).selStart = position; }
  void SetToolTip(ControlId control, const Text& text) override { At(control).toolTip = text; }
  void SetMousePointer(ControlId control, int pointer) override { At(control).pointer = pointer; }
  intptr_t NativeHandle() override { return 0; }

  // The bench's check that the inspection accepted its file.
  bool GetEnabled(ControlId control) { return At(control).enabled; }
  ControlId focus = ControlId::txtPath;

 private:
  struct State {
    Text text, toolTip;
    int value = 0, selStart = 0, pointer = 0;
    bool enabled = true;
  };
  State& At(ControlId control) { return controls_[static_cast<size_t>(control)]; }
  std::array<State, kControlCount> controls_{};
};

}  // namespace timrose::bench
