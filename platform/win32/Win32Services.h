#pragma once
#include <windows.h>

#include "window/MessageBox.h"
#include "window/ProcessInfo.h"
#include "window/WindowSystem.h"

namespace timrose::win32 {

class Win32MessageBox final : public IMessageBox {
 public:
  // The window the boxes belong to (modal to it); none until the main window exists.
  void SetOwner(HWND owner) { owner_ = owner; }
  int MsgBox(const Text& prompt, int style, const Text& title) override;

 private:
  HWND owner_ = nullptr;
};

class Win32ProcessInfo final : public IProcessInfo {
 public:
  Text AppPath() override;
  Text AppExeName() override;
};

class Win32WindowSystem final : public IWindowSystem {
 public:
  bool SetWindowPos(intptr_t window, intptr_t insertAfter, int x, int y, int cx, int cy,
                    uint32_t flags) override;
};

// The full path of the running executable.
Text ModuleFileName();

}  // namespace timrose::win32
