#pragma once
// A real OLE drag from the driver process: a data object, a drop source, and a mouse that the
// system's input queue moves from outside the program's window onto a point of it. The program
// sees the drag exactly as one from the shell: DragEnter, DragOver, Drop through its registered
// target, with the data object marshalled back to this process.
#include <windows.h>
// After windows.h: DROPEFFECT_ and DRAGDROP_ live here once WIN32_LEAN_AND_MEAN is on.
#include <ole2.h>

#include <string>
#include <vector>

namespace timrose::gui {

// What a drag carries: a shell file list (CF_HDROP, full paths in order) or plain text only.
struct DragData {
  enum class Kind { kFiles, kText };
  Kind kind = Kind::kFiles;
  std::vector<std::wstring> files;
  std::wstring text;

  static DragData Files(std::vector<std::wstring> paths);
  static DragData Text(std::wstring text);
};

struct DragResult {
  HRESULT result = E_PENDING;  // DoDragDrop's result; DRAGDROP_S_DROP once dropped
  DWORD effect = DROPEFFECT_NONE;
  bool accepted = false;  // the target under the mouse answered with an effect other than none
  bool released = false;  // the button went up over the target and the source decided to drop
  bool watchdog = false;  // the drag had to be ended from outside
  std::string problem;    // why the watchdog stepped in, "" when it did not
};

// Drags `data` with the left button from `from` to `to` (screen pixels) and releases it there
// once the target has accepted the drag. Blocks until DoDragDrop returns, which for a target
// that shows a modal box inside its Drop is only after the box is answered: call it through
// App::Run. A drag that the target never accepts, or whose button-up never ends the drag loop,
// is ended by a watchdog after `watchdogMs` (Esc, then a cancelling drop source) and reported
// in `watchdog` and `problem`.
DragResult DragAndDrop(const DragData& data, POINT from, POINT to, int watchdogMs = 5000);

// A point on the desktop outside `window`, for a drag to start from.
POINT PointOutside(HWND window);
POINT Centre(const RECT& rect);

}  // namespace timrose::gui
