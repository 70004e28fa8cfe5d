// The window model side of the real window: what the handlers read and set on its controls.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/WindowText.h"

namespace timrose::win32 {

Text Win32Form::GetText(ControlId control) {
  return WindowText(Control(control));
}

void Win32Form::SetText(ControlId control, const Text& text) {
  if (HWND window = Control(control)) SetWindowTextW(window, Wide(text));
}

int Win32Form::GetValue(ControlId control) {
  if (!IsCheckKind(Describe(control).kind) || !Control(control)) return 0;
  return SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Form::SetValue(ControlId control, int value) {
  if (!IsCheckKind(Describe(control).kind) || !Control(control)) return;
  const int before = GetValue(control);
  const int after = value ? 1 : 0;
  SendMessageW(Control(control), BM_SETCHECK, after ? BST_CHECKED : BST_UNCHECKED, 0);
  // A check box's value changed from code raises its click, as a user's click does.
  if (before != after) RaiseEvent([&] { events_->OnClick(control); });
}

void Win32Form::SetEnabled(ControlId control, bool enabled) {
  HWND window = Control(control);
  if (!window) return;
  // A disabled control that keeps the focus would leave the keyboard dead: move it on first.
  if (!enabled && GetFocus() == window) {
    HWND next = GetNextDlgTabItem(window_, window, FALSE);
    if (next && next != window) MoveFocusTo(next);
  }
  EnableWindow(window, enabled ? TRUE : FALSE);
}

void Win32Form::SetFocus(ControlId control) {
  HWND window = Control(control);
  if (!window) return;
  lastFocus_ = window;
  ::SetFocus(window);
}

void Win32Form::SetSelStart(ControlId control, int position) {
  HWND window = Control(control);
  if (!window || Describe(control).kind != ControlKind::TextBox) return;
  if (position < 0) position = 0;
  SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(position), static_cast<LPARAM>(position));
  SendMessageW(window, EM_SCROLLCARET, 0, 0);
}

void Win32Form::SetToolTip(ControlId control, const Text& text) {
  if (!HasFlag(Describe(control), kFlagToolTip)) return;
  Text& current = toolTipTexts_[static_cast<size_t>(control)];
  const bool had = !current.empty();
  current = text;
  toolTips_.Set(window_, Control(control), current, had);
}

void Win32Form::SetMousePointer(ControlId control, int pointer) {
  pointers_[static_cast<size_t>(control)] = pointer;
  HWND window = Control(control);
  POINT cursor{};
  // The pointer shown right now follows at once, not only at the next mouse move.
  if (window && GetCursorPos(&cursor) && WindowFromPoint(cursor) == window) {
    SetCursor(pointer == kPointerCustom && handCursor_ ? handCursor_ : LoadCursorW(nullptr, IDC_ARROW));
  }
}

}  // namespace timrose::win32
