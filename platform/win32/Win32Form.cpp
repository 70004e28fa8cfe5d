#include "platform/win32/Win32Form.h"

#include <commctrl.h>

#include <new>

#include "core/Error.h"
#include "platform/win32/CaptionFont.h"
#include "platform/win32/ControlBuilder.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {
namespace {

// Fixed single border, no sizing border and no maximize box: the window can never be resized.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = 0;

bool EnsureWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(instance, kMainWindowClass, &wc)) return true;
  wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

Win32Form::Win32Form(HINSTANCE instance, IMessageBox& messages)
    : instance_(instance), toolTips_(instance), messages_(messages) {
  for (const ControlDesc& desc : kControls) {
    pointers_[static_cast<size_t>(desc.id)] =
        HasFlag(desc, kFlagHandPointer) ? kPointerCustom : kPointerDefault;
  }
}

Win32Form::~Win32Form() {
  if (window_) DestroyWindow(window_);
}

bool Win32Form::Create(int showCommand) {
  if (window_) return true;
  if (!EnsureWindowClass(instance_, &Win32Form::WindowProc)) return false;

  const int startDpi = SystemDpi();
  const SIZE size = WindowSizeForClient(TwipsToPixels(kForm.clientWidth, startDpi),
                                        TwipsToPixels(kForm.clientHeight, startDpi), kWindowStyle,
                                        kWindowExStyle, startDpi);
  const Text caption(kForm.caption);
  HWND created = CreateWindowExW(kWindowExStyle, kMainWindowClass, Wide(caption), kWindowStyle, CW_USEDEFAULT,
                                 CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance_, this);
  if (!created) return false;

  ownHandCursor_.reset(static_cast<HCURSOR>(
      LoadImageW(instance_, MAKEINTRESOURCEW(kHandCursorId), IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR)));
  // A build without our resources (the test program) falls back to the system's shared hand.
  handCursor_ = ownHandCursor_ ? ownHandCursor_.get() : LoadCursorW(nullptr, IDC_HAND);

  // The controls are made at their place for the window's DPI, so that the start needs no second
  // layout pass.
  dpi_ = WindowDpi(window_);
  CreateControls();
  ApplyDpi(dpi_, dpi_ != startDpi);

  ShowWindow(window_, showCommand);
  if (showCommand != SW_HIDE) {
    UpdateWindow(window_);
    if (lastFocus_) ::SetFocus(lastFocus_);
  }

  // Registered once the window shows: nothing can be dropped on it before.
  RegisterDrops();
  return true;
}

void Win32Form::CreateControls() {
  controls_ = win32::CreateControls(window_, instance_, dpi_);
  for (const ControlDesc& desc : kControls) {
    if (HasFlag(desc, kFlagStartFocus) && Control(desc.id)) lastFocus_ = Control(desc.id);
  }
  if (HWND path = Control(kPathBox)) {
    pathBox_.Attach(path, [this] { RaiseEvent([&] { events_->OnChange(kPathBox); }); });
  }
}

void Win32Form::ApplyDpi(int dpi, bool relayout) {
  dpi_ = dpi;
  LOGFONTW logFont = CaptionFont(MessageFont(dpi));
  UniqueFont font(CreateFontIndirectW(&logFont));
  for (HWND control : controls_) {
    if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  // The old font may go only once no control uses it any more.
  font_ = std::move(font);

  UniqueIcon big(
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconGroupId), IMAGE_ICON,
                                    MulDiv(32, dpi, kDefaultDpi), MulDiv(32, dpi, kDefaultDpi), 0)));
  UniqueIcon small(
      static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconGroupId), IMAGE_ICON,
                                    MulDiv(16, dpi, kDefaultDpi), MulDiv(16, dpi, kDefaultDpi), 0)));
  if (big) SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  if (small) SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  if (big) bigIcon_ = std::move(big);
  if (small) smallIcon_ = std::move(small);

  if (!relayout) return;
  PlaceControls(controls_, dpi);
  const SIZE size =
      WindowSizeForClient(TwipsToPixels(kForm.clientWidth, dpi), TwipsToPixels(kForm.clientHeight, dpi),
                          kWindowStyle, kWindowExStyle, dpi);
  SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Form::RunMessageLoop() {
  looping_ = true;
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  looping_ = false;
  return static_cast<int>(message.wParam);
}

bool Win32Form::PreTranslate(MSG& message) {
  if (!window_) return false;
  // No button is the default or the cancel button: Enter and Esc press nothing, not even the
  // focused button, which the dialog manager would otherwise click.
  const bool enterOrEsc = (message.message == WM_KEYDOWN || message.message == WM_CHAR) &&
                          (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE);
  if (enterOrEsc && (message.hwnd == window_ || IsChild(window_, message.hwnd))) return true;
  return IsDialogMessageW(window_, &message);
}

LRESULT CALLBACK Win32Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Form* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(wParam, lParam);
    case WM_SETCURSOR:
      return OnSetCursor(wParam, lParam);
    case WM_NEXTDLGCTL:
      return OnNextDlgCtl(wParam, lParam);
    case WM_ACTIVATE:
      return OnActivate(wParam, lParam);
    case WM_SETFOCUS:
      return OnSetFocus();
    case WM_DPICHANGED:
      return OnDpiChanged(wParam, lParam);
    case kDeferredDropMessage:
      return OnDeferredDrop();
    case WM_DESTROY:
      return OnDestroy();
    case WM_NCDESTROY:
      return OnNcDestroy(wParam, lParam);
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

std::optional<ControlId> Win32Form::IdOf(HWND control) const {
  if (!control) return std::nullopt;
  const int index = GetDlgCtrlID(control) - DialogId(static_cast<ControlId>(0));
  if (index < 0 || index >= kControlCount || controls_[static_cast<size_t>(index)] != control)
    return std::nullopt;
  return static_cast<ControlId>(index);
}

LRESULT Win32Form::OnCommand(WPARAM wParam, LPARAM lParam) {
  // Enter and Esc reach here as IDOK and IDCANCEL without a control: there is no default or
  // cancel button, so they do nothing.
  const std::optional<ControlId> id = IdOf(reinterpret_cast<HWND>(lParam));
  if (!id) return 0;
  // BM_CLICK from another program reaches even a disabled button; a disabled control takes no
  // click (btnSet must never run while no file is read).
  if (!IsWindowEnabled(reinterpret_cast<HWND>(lParam))) return 0;
  const ControlDesc& desc = Describe(*id);
  const UINT code = HIWORD(wParam);
  switch (desc.kind) {
    case ControlKind::TextBox:
      // A change by EM_REPLACESEL or an undo; WM_SETTEXT is caught in the box itself, and a
      // multi-line box may or may not notify for it.
      if (*id == kPathBox && code == EN_CHANGE && !pathBox_.SettingText()) {
        RaiseEvent([&] { events_->OnChange(*id); });
      }
      break;
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::ToggleButton:
      if (code == BN_CLICKED) RaiseEvent([&] { events_->OnClick(*id); });
      break;
    case ControlKind::Label:
      if (code == STN_CLICKED) RaiseEvent([&] { events_->OnClick(*id); });
      break;
  }
  return 0;
}

LRESULT Win32Form::OnCtlColorStatic(WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  const std::optional<ControlId> id = IdOf(reinterpret_cast<HWND>(lParam));
  if (id && Describe(*id).kind == ControlKind::TextBox) {
    // A read-only edit asks as a static; the locked path box still looks like a text box.
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  if (id && HasFlag(Describe(*id), kFlagRedText)) {
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(window_, WM_CTLCOLORSTATIC, wParam, lParam);
}

LRESULT Win32Form::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  const std::optional<ControlId> id = IdOf(reinterpret_cast<HWND>(wParam));
  if (id && LOWORD(lParam) == HTCLIENT && pointers_[static_cast<size_t>(*id)] == kPointerCustom &&
      handCursor_) {
    SetCursor(handCursor_);
    return TRUE;
  }
  return DefWindowProcW(window_, WM_SETCURSOR, wParam, lParam);
}

LRESULT Win32Form::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) {
  // Sent by IsDialogMessage for Tab and by the multi-line path box, which keeps Tab for itself
  // and hands it on; the window is no dialog, so nothing else would move the focus.
  HWND target = nullptr;
  if (LOWORD(lParam)) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    HWND focus = GetFocus();
    if (focus && !IsChild(window_, focus)) focus = nullptr;
    target = GetNextDlgTabItem(window_, focus, wParam != 0);
  }
  if (target && IsChild(window_, target)) MoveFocusTo(target);
  return 0;
}

void Win32Form::MoveFocusTo(HWND control) {
  ::SetFocus(control);
  lastFocus_ = control;
  // As in a dialog: tabbing into a text box selects its whole text.
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}

LRESULT Win32Form::OnActivate(WPARAM wParam, LPARAM) {
  // The window is no dialog, so it keeps the focused control itself across deactivation (a
  // message box, another program) and gives it back on return.
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window_, focus)) lastFocus_ = focus;
    return 0;
  }
  if (!HIWORD(wParam)) OnSetFocus();
  return 0;
}

LRESULT Win32Form::OnSetFocus() {
  HWND target = lastFocus_;
  if (!target || !IsWindow(target) || !IsWindowEnabled(target))
    target = GetNextDlgTabItem(window_, nullptr, FALSE);
  if (target) ::SetFocus(target);
  return 0;
}

LRESULT Win32Form::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  ApplyDpi(HIWORD(wParam), true);
  if (suggested) {
    SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

LRESULT Win32Form::OnDestroy() {
  RevokeDrops();
  // Closing the window ends the program.
  if (looping_) PostQuitMessage(0);
  return 0;
}

LRESULT Win32Form::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  window_ = nullptr;
  controls_.fill(nullptr);
  lastFocus_ = nullptr;
  toolTips_.Destroy();
  return DefWindowProcW(window, WM_NCDESTROY, wParam, lParam);
}

void Win32Form::RaiseEvent(const std::function<void()>& event) {
  if (!events_) return;
  // No error may unwind through the system's window-procedure frames.
  try {
    event();
  } catch (const RaisedError& error) {
    ReportError(error.Number(), error.Description());
  } catch (const std::bad_alloc&) {
    ReportError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory));
  } catch (const std::exception&) {
    // A fault of the program itself, which must not pass for an invalid argument of the user's.
    ReportError(kErrInternal, ErrorDescription(kErrInternal));
  }
}

void Win32Form::ReportError(int number, const Text& description) {
  ShowErrorBox(messages_, number, description);
}

}  // namespace timrose::win32
