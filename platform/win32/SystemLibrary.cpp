#include "platform/win32/SystemLibrary.h"

#include <string>

namespace timrose::win32 {

FARPROC SystemProcedure(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) {
    // A full path, so no other folder on the search path can supply a library of that name.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += library;
    module = LoadLibraryW(path.c_str());
  }
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace timrose::win32
