// The entry point: the real platform services, the file-time store, the window's logic and the
// window itself, then the message loop until the window is closed.
#include <windows.h>
#include <commctrl.h>

#include "core/Platform.h"
#include "core/modFileAttribute.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32CommonDialog.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Form.h"
#include "platform/win32/Win32LocaleText.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32TimeApi.h"
#include "window/frmFileAttribute.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace timrose;
  using namespace timrose::win32;

  // Drag-and-drop needs OLE on the window's thread; it lives until the loop has ended.
  OleInitialization ole;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  Win32FileSystem files;
  Win32TimeApi time;
  Win32LocaleText text;
  Win32MessageBox messages;
  Win32ProcessInfo process;
  Win32WindowSystem windows;
  HandlerServices services{files, text, messages, process, windows};
  modFileAttribute store(files, time, text);
  Win32CommonDialog cdgFile;

  Win32Form form(instance, messages);
  frmFileAttribute frm(form, cdgFile, services, store);
  form.SetEvents(&frm);
  if (!form.Create(showCommand)) return 1;
  // Message boxes and the file dialog are owned by the main window.
  messages.SetOwner(form.Handle());
  cdgFile.SetOwner(form.Handle());
  return form.RunMessageLoop();
}
