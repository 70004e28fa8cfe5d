#pragma once
// The running executable, as the apply asks it whether the chosen file is the program itself.
#include "core/Text.h"

namespace timrose {

class IProcessInfo {
 public:
  virtual ~IProcessInfo() = default;
  // Folder of the executable, without a trailing backslash (except for a drive root).
  virtual Text AppPath() = 0;
  // Base name of the executable, without its extension.
  virtual Text AppExeName() = 0;
};

}  // namespace timrose
