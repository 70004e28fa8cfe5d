#pragma once
// The path box's own behaviour, as a subclass of its edit control: every change of its text is
// reported nested inside the assignment, typing and Enter or Esc do nothing, Tab goes to the
// window, and a press on the selection drags the text out.
#include <windows.h>

#include <functional>

namespace timrose::win32 {

class PathBox {
 public:
  PathBox() = default;
  PathBox(const PathBox&) = delete;
  PathBox& operator=(const PathBox&) = delete;

  // Subclasses `box` until it is destroyed; `onChange` runs inside every WM_SETTEXT, ours or another
  // program's, that changes the text.
  void Attach(HWND box, std::function<void()> onChange);
  // True while a WM_SETTEXT runs: an EN_CHANGE it causes is not a second change.
  bool SettingText() const { return setTextDepth_ > 0; }

 private:
  static LRESULT CALLBACK Proc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR self);
  LRESULT OnSetText(HWND box, WPARAM wParam, LPARAM lParam);
  LRESULT OnKey(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnGetDlgCode(HWND box, WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonDown(HWND box, WPARAM wParam, LPARAM lParam);

  std::function<void()> onChange_;
  int setTextDepth_ = 0;
};

}  // namespace timrose::win32
