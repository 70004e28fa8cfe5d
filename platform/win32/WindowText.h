#pragma once
// The text a window or control shows, read as the wide functions give it.
#include <windows.h>

#include "core/Text.h"

namespace timrose::win32 {

// The whole text of a window or control; empty for no window.
Text WindowText(HWND window);

}  // namespace timrose::win32
