#pragma once
// The services of the window system that the window's handlers use besides their window model:
// message boxes, the window's band among other windows and the running executable; and the one
// record of every platform service the handlers reach.
#include <cstdint>

#include "core/Platform.h"
#include "core/Text.h"

namespace timrose {

// Message box styles and answers.
enum MsgBoxStyle : int {
  kMbOkOnly = 0,
  kMbYesNo = 4,
  kMbCritical = 16,
  kMbExclamation = 48,
  kMbInformation = 64,
};
enum MsgBoxAnswer : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };
// The titles that more than one box carries: notices, refusals and questions; errors.
inline constexpr char16_t kNoticeTitle[] = u"提示";
inline constexpr char16_t kErrorTitle[] = u"错误";

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Modal; returns the button pressed.
  virtual int MsgBox(const Text& prompt, int style, const Text& title) = 0;
};

// The running executable.
class IProcessInfo {
 public:
  virtual ~IProcessInfo() = default;
  // Folder of the executable, without a trailing backslash (except for a drive root).
  virtual Text AppPath() = 0;
  // Base name of the executable, without its extension.
  virtual Text AppExeName() = 0;
};

// Insert-after values and flags of SetWindowPos.
constexpr intptr_t kHwndTopmost = -1;
constexpr intptr_t kHwndNoTopmost = -2;
constexpr uint32_t kSwpNoSize = 1;
constexpr uint32_t kSwpNoMove = 2;

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;
  virtual bool SetWindowPos(intptr_t window, intptr_t insertAfter, int x, int y, int cx, int cy,
                            uint32_t flags) = 0;
};

// The one box for an error that no handler words itself: the number in decimal digits, CR LF and
// the description, with the error icon and the title "错误".
void ShowErrorBox(IMessageBox& messages, int number, const Text& description);

// Everything the window's handlers reach the platform through (the store has its own three).
struct Platform {
  IFileSystem& files;
  ITimeApi& time;
  ILocaleText& text;
  IMessageBox& messages;
  IProcessInfo& process;
  IWindowSystem& windows;
};

}  // namespace timrose
