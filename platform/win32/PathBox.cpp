#include "platform/win32/PathBox.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "platform/win32/Win32DragSource.h"
#include "platform/win32/WindowText.h"

namespace timrose::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

void PathBox::Attach(HWND box, std::function<void()> onChange) {
  onChange_ = std::move(onChange);
  SetWindowSubclass(box, &PathBox::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK PathBox::Proc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR selfPointer) {
  auto* self = reinterpret_cast<PathBox*>(selfPointer);
  switch (message) {
    case WM_SETTEXT:
      return self->OnSetText(box, wParam, lParam);
    case WM_KEYDOWN:
    case WM_CHAR:
      return self->OnKey(box, message, wParam, lParam);
    case WM_GETDLGCODE:
      return self->OnGetDlgCode(box, wParam, lParam);
    case WM_LBUTTONDOWN:
      return self->OnLButtonDown(box, wParam, lParam);
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, &PathBox::Proc, kSubclassId);
      return DefSubclassProc(box, message, wParam, lParam);
    default:
      return DefSubclassProc(box, message, wParam, lParam);
  }
}

LRESULT PathBox::OnSetText(HWND box, WPARAM wParam, LPARAM lParam) {
  // A multi-line edit sends no EN_CHANGE for WM_SETTEXT, so the change is reported here, nested
  // inside the assignment, and only for a real change.
  const Text before = WindowText(box);
  ++setTextDepth_;
  const LRESULT result = DefSubclassProc(box, WM_SETTEXT, wParam, lParam);
  --setTextDepth_;
  if (result && WindowText(box) != before && onChange_) onChange_();
  return result;
}

LRESULT PathBox::OnKey(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  // In dialog mode a multi-line edit turns Esc into WM_CLOSE on its parent and Enter into the
  // default button; here Enter and Esc do nothing.
  if (wParam == VK_ESCAPE || wParam == VK_RETURN) return 0;
  return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT PathBox::OnGetDlgCode(HWND box, WPARAM wParam, LPARAM lParam) {
  LRESULT code = DefSubclassProc(box, WM_GETDLGCODE, wParam, lParam);
  // Tab, Enter and Esc go to the dialog manager; arrows, characters and the selection stay here.
  code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
  return code;
}

LRESULT PathBox::OnLButtonDown(HWND box, WPARAM wParam, LPARAM lParam) {
  const POINT client{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  // Without the focus the box hides its selection, and Shift extends the selection: both are
  // ordinary presses.
  std::optional<Text> selected;
  if (::GetFocus() == box && !(wParam & MK_SHIFT)) selected = SelectedTextAt(box, WindowText(box), client);
  if (!selected) return DefSubclassProc(box, WM_LBUTTONDOWN, wParam, lParam);
  POINT screen = client;
  ClientToScreen(box, &screen);
  if (!DraggedPastThreshold(box, screen)) {
    if (!IsWindow(box)) return 0;
    // Pressed and released in place: the click the box would have had, a caret in the text.
    DefSubclassProc(box, WM_LBUTTONDOWN, wParam, lParam);
    return DefSubclassProc(box, WM_LBUTTONUP, wParam & ~static_cast<WPARAM>(MK_LBUTTON), lParam);
  }
  // The box is locked: whatever the target answers, a move included, nothing leaves it, so no
  // change event and no inspection follow.
  DragTextOut(*selected);
  return 0;
}

}  // namespace timrose::win32
