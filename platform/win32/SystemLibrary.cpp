// This file alone sees the headers' declarations of Windows 10's functions, to hold the types
// written for them to the headers' own.
#undef WINVER
#define WINVER 0x0A00
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0A00
#include "platform/win32/SystemLibrary.h"

#include <type_traits>

#include "core/Text.h"

namespace timrose::win32::sys {

static_assert(std::is_same_v<GetDpiForWindowFunction, decltype(&::GetDpiForWindow)>);
static_assert(std::is_same_v<GetDpiForSystemFunction, decltype(&::GetDpiForSystem)>);
static_assert(std::is_same_v<AdjustWindowRectExForDpiFunction, decltype(&::AdjustWindowRectExForDpi)>);
static_assert(std::is_same_v<SystemParametersInfoForDpiFunction, decltype(&::SystemParametersInfoForDpi)>);
static_assert(std::is_same_v<GetDpiForMonitorFunction, decltype(&::GetDpiForMonitor)>);

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

template <typename Function>
Function Load(const wchar_t* library, const char* name) {
  HMODULE module = SystemLibrary(library);
  FARPROC procedure = module ? GetProcAddress(module, name) : nullptr;
  // Through the generic function type: the sanctioned way between function pointer types.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(procedure));
}

constexpr wchar_t kUser32[] = L"user32.dll";
constexpr wchar_t kShcore[] = L"shcore.dll";
constexpr wchar_t kComdlg32[] = L"comdlg32.dll";
constexpr wchar_t kShell32[] = L"shell32.dll";

}  // namespace

GetDpiForWindowFunction GetDpiForWindow() {
  static const auto function = Load<GetDpiForWindowFunction>(kUser32, "GetDpiForWindow");
  return function;
}

GetDpiForSystemFunction GetDpiForSystem() {
  static const auto function = Load<GetDpiForSystemFunction>(kUser32, "GetDpiForSystem");
  return function;
}

AdjustWindowRectExForDpiFunction AdjustWindowRectExForDpi() {
  static const auto function = Load<AdjustWindowRectExForDpiFunction>(kUser32, "AdjustWindowRectExForDpi");
  return function;
}

SystemParametersInfoForDpiFunction SystemParametersInfoForDpi() {
  static const auto function =
      Load<SystemParametersInfoForDpiFunction>(kUser32, "SystemParametersInfoForDpi");
  return function;
}

GetDpiForMonitorFunction GetDpiForMonitor() {
  static const auto function = Load<GetDpiForMonitorFunction>(kShcore, "GetDpiForMonitor");
  return function;
}

GetOpenFileNameWFunction GetOpenFileNameW() {
  static const auto function = Load<GetOpenFileNameWFunction>(kComdlg32, "GetOpenFileNameW");
  return function;
}

CommDlgExtendedErrorFunction CommDlgExtendedError() {
  static const auto function = Load<CommDlgExtendedErrorFunction>(kComdlg32, "CommDlgExtendedError");
  return function;
}

DragQueryFileWFunction DragQueryFileW() {
  static const auto function = Load<DragQueryFileWFunction>(kShell32, "DragQueryFileW");
  return function;
}

SHCreateStdEnumFmtEtcFunction SHCreateStdEnumFmtEtc() {
  static const auto function = Load<SHCreateStdEnumFmtEtcFunction>(kShell32, "SHCreateStdEnumFmtEtc");
  return function;
}

}  // namespace timrose::win32::sys
