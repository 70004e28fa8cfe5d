#pragma once
// The small window model the handlers are written against: the real window implements it with
// Windows controls, the tests with an in-memory form.
#include <cstdint>

#include "core/Text.h"
#include "window/FormDescription.h"

namespace timrose {

// The drop data of a drag-and-drop onto a control.
class IDropData {
 public:
  virtual ~IDropData() = default;
  // The full path of dropped entry `index`, counted from 1. Raises when the drop carries no
  // file list or the entry does not exist.
  virtual Text Files(int index) = 0;
};

// Where the model reports the events the program handles.
class IFormEvents {
 public:
  virtual ~IFormEvents() = default;
  virtual void OnChange(ControlId control) = 0;
  virtual void OnClick(ControlId control) = 0;
  virtual void OnOLEDragDrop(ControlId control, IDropData& data, int32_t& effect, int16_t button,
                             int16_t shift, float x, float y) = 0;
};

class IWindowModel {
 public:
  virtual ~IWindowModel() = default;

  // Setting the text of txtPath raises its change event at once, nested inside the assignment,
  // and only when the text actually changes.
  virtual Text GetText(ControlId control) = 0;
  virtual void SetText(ControlId control, const Text& text) = 0;
  // Check boxes: 0 clear, 1 ticked (pressed, for the toggle button).
  virtual int GetValue(ControlId control) = 0;
  virtual void SetValue(ControlId control, int value) = 0;
  virtual void SetEnabled(ControlId control, bool enabled) = 0;
  virtual void SetFocus(ControlId control) = 0;
  // Puts the caret (an empty selection) at the given 0-based position.
  virtual void SetSelStart(ControlId control, int position) = 0;
  virtual void SetToolTip(ControlId control, const Text& text) = 0;
  // kPointerDefault or kPointerCustom.
  virtual void SetMousePointer(ControlId control, int pointer) = 0;
  // The native handle of the window itself.
  virtual intptr_t NativeHandle() = 0;
};

}  // namespace timrose
