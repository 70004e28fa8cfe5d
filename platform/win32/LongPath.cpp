#include "platform/win32/LongPath.h"

#include <windows.h>

#include "core/Platform.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {

static_assert(kMaxPathLength == UNICODE_STRING_MAX_CHARS);

SystemPath ToSystemPath(const Text& path) {
  constexpr size_t kLimit = kMaxPathLength;
  if (path.size() > kLimit) return {Text(), ERROR_FILENAME_EXCED_RANGE};
  if (path.find(u'\0') != Text::npos) return {Text(), ERROR_INVALID_NAME};
  if (path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\")) return {path, 0};

  wchar_t fits[MAX_PATH];
  const DWORD needed = GetFullPathNameW(Wide(path), MAX_PATH, fits, nullptr);
  // Short, or no full form at all: the call itself reports what is wrong with the name.
  if (needed < MAX_PATH) return {path, 0};
  Text longForm(needed, u'\0');
  const DWORD length = GetFullPathNameW(Wide(path), needed, WideBuffer(longForm), nullptr);
  if (length == 0 || length >= needed) return {path, 0};
  longForm.resize(length);

  if (longForm.starts_with(u"\\\\?\\") || longForm.starts_with(u"\\\\.\\")) {
    // Already a long or device form.
  } else if (longForm.starts_with(u"\\\\")) {
    longForm = u"\\\\?\\UNC\\" + longForm.substr(2);
  } else {
    longForm = u"\\\\?\\" + longForm;
  }
  if (longForm.size() > kLimit) return {Text(), ERROR_FILENAME_EXCED_RANGE};
  return {longForm, 0};
}

Text WithoutLongForm(const Text& path) {
  if (path.starts_with(u"\\\\?\\UNC\\")) return u"\\\\" + path.substr(8);
  if (path.starts_with(u"\\\\?\\")) return path.substr(4);
  return path;
}

}  // namespace timrose::win32
