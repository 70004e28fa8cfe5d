#pragma once
// Twips to pixels at the window's actual DPI. The DPI functions of newer Windows are looked up at
// run time, so the program still starts on Windows 7, where it falls back to the system DPI.
#include <windows.h>

namespace timrose::win32 {

constexpr int kTwipsPerInch = 1440;
constexpr int kDefaultDpi = 96;

// The one conversion of positions and sizes: MulDiv(twips, dpi, 1440), rounded to nearest.
int TwipsToPixels(int twips, int dpi);
// The way back, for points the system reports in pixels (the drop point).
float PixelsToTwips(int pixels, int dpi);

// The DPI of the monitor the window is on (per-monitor aware), else the system DPI.
int WindowDpi(HWND window);
// The DPI new top-level windows start with, before they know their monitor.
int SystemDpi();

// The whole window rectangle for a client area of the given size at the given DPI.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

// The system's message font at the given DPI.
LOGFONTW MessageFont(int dpi);

}  // namespace timrose::win32
