#pragma once
// The GUI test driver: starts the real Timrose.exe as a separate process and operates it from
// outside, the way a user or an automation tool would. Tests speak in control names ("txtPath",
// "txtTime(1)"); raw handles stay in here.
#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "window/FormDescription.h"

namespace timrose::gui {

std::wstring Wide(std::u16string_view text);
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view text);

// The program under test, as a Windows path.
std::wstring ProgramPath();

// Icon styles of a message box, as MessageBox takes them.
enum IconStyle {
  kIconNone = 0,
  kIconError = 16,
  kIconQuestion = 32,
  kIconWarning = 48,
  kIconInformation = 64
};

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::wstring title;
  std::wstring text;
  std::vector<int> buttons;  // visible button ids, ascending
  int defaultButton = 0;     // the id of the button with the default style
  int icon = -1;             // IconStyle, -1 when the icon could not be recognised
  RECT rect{};               // screen coordinates
  explicit operator bool() const { return hwnd != nullptr; }
};

// A folder under Z:\tmp (or under `parent`) for the files of one test, removed with everything in
// it afterwards.
class TempFolder {
 public:
  explicit TempFolder(std::wstring_view parent = L"Z:\\tmp");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Path() const { return path_; }
  // Creates a file of `size` bytes (sparse beyond what is written) and returns its full path.
  std::wstring MakeFile(std::wstring_view name, long long size = 0);
  std::wstring MakeFolder(std::wstring_view name);

 private:
  std::wstring path_;
};

// One running instance of the program. The destructor kills it (also when a test failed).
class App {
 public:
  // `environment`: variables set for the program only ("LANG=en_US.UTF-8").
  explicit App(const std::vector<std::wstring>& environment = {});
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  bool Started() const { return main_ != nullptr; }
  HWND Main() const { return main_; }
  DWORD ProcessId() const { return pi_.dwProcessId; }
  HWND Control(std::string_view name) const;

  // State of controls.
  std::wstring Text(std::string_view name) const;
  bool Enabled(std::string_view name) const;
  bool Visible(std::string_view name) const;
  int Checked(std::string_view name) const;
  // The control's rectangle in the main window's client coordinates, in pixels.
  RECT ClientRect(std::string_view name) const;
  RECT ScreenRect(std::string_view name) const;
  // The name of the control holding the keyboard focus in the program, "" for none, or the
  // class of a foreign window in brackets.
  std::string Focus() const;
  // Waits until the focus is on `name`; false after a timeout.
  bool WaitFocus(std::string_view name, int timeoutMs = 2000) const;
  // Sends a message to a control ("" for the window itself) and returns its result.
  LRESULT SendMessageTo(std::string_view name, UINT message, WPARAM wParam, LPARAM lParam) const;
  // The tooltip text the program registered for the control ("" when none).
  std::wstring ToolTip(std::string_view name) const;

  // Posts Tab (down and up) to the focused control and waits until the focus moves. Returns the
  // new focus, or "" when it did not move.
  std::string PressTab();

  // Actions that may open a modal window run on a worker thread, so the test can look at and
  // answer whatever the program shows. Only one runs at a time.
  void SetText(std::string_view name, std::wstring_view text);
  void Click(std::string_view name);
  // Any other blocking operation (a drag-and-drop, for instance).
  void Run(std::function<void()> action);
  // True when the running action has returned.
  bool ActionDone() const { return !worker_.joinable() || actionDone_; }

  // Waits until a message box shows (returned) or the running action ends (an empty result).
  MessageBoxInfo NextBox(int timeoutMs = 5000);
  // Fails the test unless a message box shows, whether or not the running action has ended (a
  // drop's box comes after the drag).
  MessageBoxInfo ExpectBox(int timeoutMs = 5000);
  // Fails the test when a message box shows before the running action ends (the box is then
  // answered so the test can go on) or the action does not end in time.
  void ExpectNoBox(int timeoutMs = 5000);
  // Presses the box's button and waits until the box is gone.
  void Answer(const MessageBoxInfo& box, int buttonId);
  // The file-open dialog, once it shows; nullptr after a timeout.
  HWND WaitFileDialog(std::wstring_view title, int timeoutMs = 5000);
  // Types into the dialog's name box and presses Open, or presses Cancel.
  void ChooseInFileDialog(HWND dialog, std::wstring_view name);
  void CancelFileDialog(HWND dialog);

  // Real input through the system's input queue.
  void Foreground();
  void TypeText(std::wstring_view text);
  void PressKey(WORD vk, bool ctrl = false);
  void ClickAt(POINT screen);
  // Moves the mouse there without a click.
  void PointAt(POINT screen);
  // The text of the program's tooltip while one shows, "" while none does.
  std::wstring ShownToolTip() const;

  // Saves the screen area of the main window (or of `rect`) as a BMP under $TIMROSE_ARTIFACTS.
  void Screenshot(std::wstring_view fileName, const RECT* rect = nullptr) const;

  // Waits for the running action to end; false after the timeout.
  bool JoinAction(int timeoutMs);

 private:
  void Kill();
  std::optional<MessageBoxInfo> FindBox() const;

  PROCESS_INFORMATION pi_{};
  DWORD thread_ = 0;
  HWND main_ = nullptr;
  std::thread worker_;
  std::atomic<bool> actionDone_{true};
};

// Polls `condition` until it holds; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 3000);

// Reads a value of the version record of a file ("StringFileInfo\\080404B0\\ProductName").
std::optional<std::wstring> VersionString(const std::wstring& file, const std::wstring& key);

// Whole-second UTC times and attributes of a file, as the file system reports them.
struct FileFacts {
  ::FILETIME creation{}, access{}, write{};
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
};
std::optional<FileFacts> ReadFacts(const std::wstring& path);
// "2011-03-03 15:04:05.123" in UTC.
std::string UtcText(const ::FILETIME& time);

}  // namespace timrose::gui
