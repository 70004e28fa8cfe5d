#pragma once
// The file dialog and the reading of a drop need two large system libraries that nothing else
// uses. They are loaded when first needed, from the system folder only, and stay loaded for the
// life of the process, so that starting the program maps only what the window needs.
#include <windows.h>

namespace timrose::win32 {

// The function `name` of the system library `library` ("comdlg32.dll"); nullptr when either is
// missing.
FARPROC SystemProcedure(const wchar_t* library, const char* name);

template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  // Through the generic function type: the sanctioned way between function pointer types.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(SystemProcedure(library, name)));
}

}  // namespace timrose::win32
