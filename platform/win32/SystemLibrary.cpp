#include "platform/win32/SystemLibrary.h"

#include "core/Text.h"

namespace timrose::win32 {
namespace {

HMODULE SystemLibrary(const wchar_t* library) {
  if (HMODULE loaded = GetModuleHandleW(library)) return loaded;
  // The system folder only, so that no other folder on the search path can supply a library of
  // that name.
  if (HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  // Windows 7 without its loader update does not know the flag; the full path does the same there.
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  Text path(reinterpret_cast<const char16_t*>(folder), length);
  path += u'\\';
  path += reinterpret_cast<const char16_t*>(library);
  return LoadLibraryW(reinterpret_cast<const wchar_t*>(path.c_str()));
}

}  // namespace

FARPROC SystemProcedure(const wchar_t* library, const char* name) {
  HMODULE module = SystemLibrary(library);
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace timrose::win32
