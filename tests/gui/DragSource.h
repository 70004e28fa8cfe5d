#pragma once
// A real OLE drag from the driver process: a data object, a drop source, and a mouse that the
// system's input queue moves from outside the program's window onto a point of it. The program
// sees the drag exactly as one from the shell: DragEnter, DragOver, Drop through its registered
// target, with the data object marshalled back to this process.
#include <windows.h>
#include <ole2.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace timrose::gui {

// What a drag carries: a shell file list (CF_HDROP, full paths in order) or plain text only.
struct DragData {
  enum class Kind { kFiles, kText };
  Kind kind = Kind::kFiles;
  std::vector<std::wstring> files;
  std::wstring text;
  // What the source lets the target do with it.
  DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_LINK;

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

// ---- Drags out of the program: the driver's own drop target, and a mouse that drags from a
// point of the program.

// What the driver's drop target saw of the drags over it.
struct DropSeen {
  int overs = 0, leaves = 0, drops = 0;  // DragOver, DragLeave and Drop calls
  DWORD offered = DROPEFFECT_NONE;       // the effects the source allowed, as the last call saw them
  std::optional<std::wstring> unicode;   // CF_UNICODETEXT of the last drop, when offered
  std::optional<std::string> ansi;       // CF_TEXT of the last drop, when offered
};

// A window of the driver's own at `where` (screen pixels), on its own thread, registered with
// RegisterDragDrop. While a drag is over it, it answers `dropAnswer` when the source allows it
// and a copy otherwise; its Drop reads both text formats and answers `dropAnswer` whatever was
// allowed, as a careless target would.
class DropWindow {
 public:
  DropWindow(RECT where, DWORD dropAnswer);
  ~DropWindow();
  DropWindow(const DropWindow&) = delete;
  DropWindow& operator=(const DropWindow&) = delete;
  HWND Handle() const { return window_; }
  DropSeen Seen() const;

 private:
  // Shared with the target object, which OLE may hold a little longer than the window lives.
  std::shared_ptr<struct DropWindowState> state_;
  HWND window_ = nullptr;
  std::thread thread_;
};

// A drag made with the system's mouse, starting on a point of the program's window: the press,
// moves in steps, then a release or Esc. Each step returns once the program's thread has taken
// the input sent so far. A drag that does not end is ended with Esc (the watchdog), and the
// button never stays held after the object is gone.
class MouseDrag {
 public:
  explicit MouseDrag(HWND program);
  ~MouseDrag();
  MouseDrag(const MouseDrag&) = delete;
  MouseDrag& operator=(const MouseDrag&) = delete;
  // Presses the left button at `at`, with Shift held until the release when `shift`; true when the
  // program took the mouse.
  bool Press(POINT at, bool shift = false);
  void MoveTo(POINT to, int steps = 6);
  // Lets go where the mouse is, or presses Esc first; true when the program let the mouse go
  // again in time, false when the watchdog had to step in.
  bool Release(int timeoutMs = 5000);
  bool Escape(int timeoutMs = 5000);

 private:
  // The window of the program that holds the mouse capture, nullptr for none.
  HWND Capture() const;
  void Settle() const;
  void HoldShift() const;
  bool WaitLetGo(int timeoutMs);

  HWND program_;
  DWORD thread_;
  POINT at_{};
  bool down_ = false;
  bool shift_ = false;
};

}  // namespace timrose::gui
