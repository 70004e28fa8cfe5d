#pragma once
// The file-open dialog component on Windows: GetOpenFileNameW, owned by the main window.
#include <windows.h>

#include <functional>
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

// Where the dialog starts: the name its name box shows and the folder it opens in.
struct DialogStart {
  Text fileName;
  Text initialDir;
  // The folder is in its 8.3 form: a name chosen there comes back in that form too.
  bool shortFolder = false;
};

// The dialog refuses or cuts a start name of MAX_PATH characters or more, so such a name starts
// as the file's own name in its folder, the folder in 8.3 form (from `shortForm`, "" when there
// is none) where it is itself too long; every other name starts as it is, in `initDir`.
DialogStart StartFor(const Text& fileName, const Text& initDir,
                     const std::function<Text(const Text&)>& shortForm);

// The dialog's starting name in a buffer of maxChars characters: the name, cut to fit, then NULs.
Text FileNameBuffer(const Text& fileName, int maxChars);

}  // namespace timrose::win32
