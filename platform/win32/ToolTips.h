#pragma once
// The tooltips of the window's controls: one tooltip window, made when the first tip is set, so
// that a window that never shows a tip never pays for one.
#include <windows.h>

#include "core/Text.h"
#include "platform/win32/Handles.h"

namespace timrose::win32 {

class ToolTips {
 public:
  explicit ToolTips(HINSTANCE instance) : instance_(instance) {}

  // Gives `control`, a child of `owner`, the tip `text`; an empty text removes its tip. `had` says
  // whether the control has a tip now.
  void Set(HWND owner, HWND control, const Text& text, bool had);
  // With the window: the tooltip has no owner, so it does not go with the window by itself.
  void Destroy() { window_.reset(); }

 private:
  HINSTANCE instance_;
  UniqueWindow window_;
};

}  // namespace timrose::win32
