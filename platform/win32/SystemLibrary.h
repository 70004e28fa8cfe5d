#pragma once
// Every function of a system library that the program looks up at run time instead of importing:
// - functions newer than the oldest Windows the program runs on (Windows 7): the per-monitor DPI
//   functions of user32 (Windows 10) and of shcore (Windows 8.1), for Dpi.cpp;
// - functions of large libraries that one seldom used feature needs, so that starting the program
//   maps only what the window needs: comdlg32 for the file dialog (Win32CommonDialog.cpp), shell32
//   for reading a drop (Win32DropTarget.cpp) and offering a drag (Win32DragSource.cpp).
// A library comes from the system folder only, and stays loaded for the life of the process.
#include <windows.h>

namespace timrose::win32 {

// The function `name` of the system library `library` ("comdlg32.dll"); nullptr when either is
// missing.
FARPROC SystemProcedure(const wchar_t* library, const char* name);

template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  // Through the generic function type: the sanctioned way between function pointer types. The
  // signature comes from the Windows documentation of each name.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(SystemProcedure(library, name)));
}

}  // namespace timrose::win32
