#include "platform/win32/Dpi.h"

#include <cstddef>

#include "platform/win32/SystemLibrary.h"

namespace timrose::win32 {
namespace {

// Windows 8.1 has per-monitor DPI only in shcore, which is never imported.
int MonitorDpi(HWND window) {
  const auto getDpiForMonitor = sys::GetDpiForMonitor();
  if (!getDpiForMonitor) return 0;
  UINT x = 0, y = 0;
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  if (FAILED(getDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y))) return 0;
  return static_cast<int>(y);
}

}  // namespace

int TwipsToPixels(int twips, int dpi) {
  return MulDiv(twips, dpi, kTwipsPerInch);
}

float PixelsToTwips(int pixels, int dpi) {
  if (dpi <= 0) dpi = kDefaultDpi;
  return static_cast<float>(static_cast<double>(pixels) * kTwipsPerInch / dpi);
}

int SystemDpi() {
  if (const auto getDpiForSystem = sys::GetDpiForSystem()) return static_cast<int>(getDpiForSystem());
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
  const auto getDpiForWindow = sys::GetDpiForWindow();
  if (getDpiForWindow && window) {
    UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  if (window) {
    int dpi = MonitorDpi(window);
    if (dpi > 0) return dpi;
  }
  return SystemDpi();
}

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
  const auto adjustForDpi = sys::AdjustWindowRectExForDpi();
  RECT rect = {0, 0, clientWidth, clientHeight};
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    rect = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

LOGFONTW MessageFont(int dpi) {
  const auto infoForDpi = sys::SystemParametersInfoForDpi();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (infoForDpi &&
      infoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
    return metrics.lfMessageFont;
  }
  metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    // Windows before Vista rejects the larger record that carries iPaddedBorderWidth.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  }
  LOGFONTW font = metrics.lfMessageFont;
  // The system metrics come at the system DPI; a window on another monitor needs its own size.
  font.lfHeight = MulDiv(font.lfHeight, dpi, SystemDpi());
  return font;
}

}  // namespace timrose::win32
