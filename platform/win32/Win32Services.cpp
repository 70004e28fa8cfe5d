#include "platform/win32/Win32Services.h"

#include <string>

#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"

namespace timrose::win32 {

static_assert(kSwpNoSize == SWP_NOSIZE && kSwpNoMove == SWP_NOMOVE);
static_assert(kMbYesNo == MB_YESNO && kMbCritical == MB_ICONERROR && kMbExclamation == MB_ICONWARNING &&
              kMbInformation == MB_ICONINFORMATION);
static_assert(kAnswerOk == IDOK && kAnswerYes == IDYES && kAnswerNo == IDNO);

int Win32MessageBox::MsgBox(const Text& prompt, int style, const Text& title) {
  return MessageBoxW(owner_, Wide(prompt), Wide(title), static_cast<UINT>(style));
}

Text ModuleFileName() {
  // Paths may exceed MAX_PATH: grow until the name is no longer cut (a cut name fills the whole
  // buffer, with or without its terminating zero).
  Text buffer(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, WideBuffer(buffer), static_cast<DWORD>(buffer.size()));
    if (length == 0) return Text();
    if (length < buffer.size()) {
      buffer.resize(length);
      // A program started by its long form is named by it; a drop or the dialog names it without.
      return WithoutLongForm(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

Text Win32ProcessInfo::AppPath() {
  const Text path = ModuleFileName();
  const size_t slash = path.find_last_of(u"\\/");
  if (slash == Text::npos) return Text();
  // A drive root keeps its backslash ("C:\"); every other folder loses it.
  if (slash == 2 && path[1] == u':') return path.substr(0, 3);
  return path.substr(0, slash);
}

Text Win32ProcessInfo::AppExeName() {
  const Text path = ModuleFileName();
  const size_t slash = path.find_last_of(u"\\/");
  Text name = slash == Text::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind(u'.');
  if (dot != Text::npos) name.resize(dot);
  return name;
}

bool Win32WindowSystem::SetWindowPos(intptr_t window, intptr_t insertAfter, int x, int y, int cx, int cy,
                                     uint32_t flags) {
  return ::SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y, cx, cy,
                        flags) != FALSE;
}

}  // namespace timrose::win32
