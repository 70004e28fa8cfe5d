#pragma once
// The one list of the functions of system libraries that the program looks up at run time instead
// of importing:
// - functions newer than the oldest Windows the program runs on (Windows 7): the per-monitor DPI
//   functions of user32 (Windows 10) and of shcore (Windows 8.1), for Dpi.cpp;
// - functions of large libraries that one seldom used feature needs, so that starting the program
//   maps only what the window needs: comdlg32 for the file dialog (Win32CommonDialog.cpp), shell32
//   for reading a drop (Win32DropTarget.cpp) and offering a drag (Win32DragSource.cpp).
// Each is named as Windows names it and gives the function, loaded on the first call, or nullptr
// when its library or the function is missing. A library comes from the system folder only, and
// stays loaded for the life of the process.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shellscalingapi.h>
#include <shlobj.h>

namespace timrose::win32::sys {

// The headers declare these only for a newer Windows than the program's, so their types are
// written here; SystemLibrary.cpp, which sees the headers' declarations, holds them to those.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI*)();
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*);

using GetOpenFileNameWFunction = decltype(&::GetOpenFileNameW);
using CommDlgExtendedErrorFunction = decltype(&::CommDlgExtendedError);
using DragQueryFileWFunction = decltype(&::DragQueryFileW);
using SHCreateStdEnumFmtEtcFunction = decltype(&::SHCreateStdEnumFmtEtc);

// user32
GetDpiForWindowFunction GetDpiForWindow();
GetDpiForSystemFunction GetDpiForSystem();
AdjustWindowRectExForDpiFunction AdjustWindowRectExForDpi();
SystemParametersInfoForDpiFunction SystemParametersInfoForDpi();
// shcore
GetDpiForMonitorFunction GetDpiForMonitor();
// comdlg32
GetOpenFileNameWFunction GetOpenFileNameW();
CommDlgExtendedErrorFunction CommDlgExtendedError();
// shell32
DragQueryFileWFunction DragQueryFileW();
SHCreateStdEnumFmtEtcFunction SHCreateStdEnumFmtEtc();

}  // namespace timrose::win32::sys
