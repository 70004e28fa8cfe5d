#pragma once
// The file-open dialog component: its settings and the name it holds between uses.
#include "core/Platform.h"
#include "core/Text.h"

namespace timrose {

class CommonDialog {
 public:
  virtual ~CommonDialog() = default;

  bool CancelError = false;
  Text DialogTitle;
  // "description|pattern" pairs, joined by "|".
  Text Filter;
  Text InitDir;
  // The name chosen last, or set by the program; never cleared by a cancel.
  Text FileName;
  // The file-name buffer in characters, its terminating zero included: by default any path the
  // file functions take.
  int MaxFileSize = kMaxPathLength + 1;

  // Shows the platform's file-open dialog, modal, starting from FileName. A pick stores the full
  // name in FileName; one that does not fit the buffer raises kErrDialogBufferTooSmall. A
  // cancel returns and leaves FileName as it was (or raises kErrDialogCancel when CancelError is
  // true). A failure of the dialog raises an error and changes nothing.
  virtual void ShowOpen() = 0;
};

}  // namespace timrose
