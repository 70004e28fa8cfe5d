#pragma once
// The file-open dialog component on Windows: GetOpenFileNameW, owned by the main window.
#include <windows.h>

#include <vector>

#include "window/CommonDialog.h"

namespace timrose::win32 {

class Win32CommonDialog final : public CommonDialog {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void ShowOpen() override;

 private:
  HWND owner_ = nullptr;
};

// "desc|pattern|desc|pattern" as the dialog takes it: each part ended by NUL, the list by a
// second NUL.
Text FilterList(const Text& filter);

// The dialog's starting name in a buffer of maxChars characters: the name, cut to fit, then NULs.
Text FileNameBuffer(const Text& fileName, int maxChars);

}  // namespace timrose::win32
