#pragma once
// The handlers' services: everything the window's handlers reach the platform through besides
// their window model and the file dialog (the store has its own three).
#include "core/Platform.h"
#include "window/MessageBox.h"
#include "window/ProcessInfo.h"
#include "window/WindowSystem.h"

namespace timrose {

struct HandlerServices {
  IFileSystem& files;
  ILocaleText& text;
  IMessageBox& messages;
  IProcessInfo& process;
  IWindowSystem& windows;
};

}  // namespace timrose
