#include "platform/win32/ToolTips.h"

#include <commctrl.h>

#include "platform/win32/WideText.h"

namespace timrose::win32 {

void ToolTips::Set(HWND owner, HWND control, const Text& text, bool had) {
  if (!window_ && !text.empty()) {
    // Not owned by the window: Wine moves a window with owned popups to the top of the normal band
    // instead of into the topmost band, which would break the keep-on-top button. The tooltip is
    // topmost itself and shows only while the pointer is over its control, so it needs no owner.
    window_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, nullptr));
  }
  if (!window_ || !control) return;
  TTTOOLINFOW info{};
  // The older record size: comctl32 before version 6 rejects the larger one.
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  // The tooltip keeps its own copy of the text.
  info.lpszText = const_cast<wchar_t*>(Wide(text));
  UINT message = TTM_ADDTOOLW;
  if (text.empty()) {
    if (!had) return;
    message = TTM_DELTOOLW;
  } else if (had) {
    message = TTM_UPDATETIPTEXTW;
  }
  SendMessageW(window_.get(), message, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace timrose::win32
