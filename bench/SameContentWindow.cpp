// The second start-up and footprint floor: a window that shows what Timrose shows and nothing more.
// The same 19 controls from the same table, built by the program's own builder at their place for the
// window's DPI, in the program's caption font, with common controls 6 (the manifest), OLE initialised and a
// drop target registered on the path box, and the program's icon; but none of the program's logic: no events,
// no handlers, no store, no platform services.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "platform/win32/CaptionFont.h"
#include "platform/win32/ControlBuilder.h"
#include "platform/win32/Dpi.h"
#include "resources/ResourceIds.h"
#include "window/FormDescription.h"

namespace {

using namespace timrose;
using timrose::win32::TwipsToPixels;

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Takes every drop and does nothing with it.
class NoDropTarget final : public IDropTarget {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives as long as the program: a static object.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
};

NoDropTarget dropTarget;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  if (FAILED(OleInitialize(nullptr))) return 1;
  INITCOMMONCONTROLSEX common{sizeof(common), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);

  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(TIMROSE_ICON_GROUP));
  cls.lpszClassName = L"TimroseBenchSameContent";
  if (!RegisterClassExW(&cls)) return 1;

  const int dpi = win32::SystemDpi();
  const SIZE size = win32::WindowSizeForClient(TwipsToPixels(kForm.clientWidth, dpi),
                                               TwipsToPixels(kForm.clientHeight, dpi), kWindowStyle, 0, dpi);
  HWND window = CreateWindowExW(0, cls.lpszClassName, L"Same content", kWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;

  LOGFONTW logFont = win32::CaptionFont(win32::MessageFont(dpi));
  HFONT font = CreateFontIndirectW(&logFont);
  const win32::ControlHandles controls = win32::CreateControls(window, instance, dpi);
  for (HWND control : controls) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  RegisterDragDrop(controls[static_cast<size_t>(ControlId::txtPath)], &dropTarget);

  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(font);
  OleUninitialize();
  return static_cast<int>(message.wParam);
}
