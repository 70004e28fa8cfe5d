#pragma once
// Message boxes: their styles and answers, the titles more than one box carries, and the one box
// for an error that no handler words itself.
#include "core/Text.h"

namespace timrose {

enum MsgBoxStyle : int {
  kMbOkOnly = 0,
  kMbYesNo = 4,
  kMbCritical = 16,
  kMbExclamation = 48,
  kMbInformation = 64,
};
enum MsgBoxAnswer : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };
// Notices, refusals and questions; errors.
inline constexpr char16_t kNoticeTitle[] = u"提示";
inline constexpr char16_t kErrorTitle[] = u"错误";

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Modal; returns the button pressed.
  virtual int MsgBox(const Text& prompt, int style, const Text& title) = 0;
};

// The number in decimal digits, CR LF and the description, with the error icon and the title "错误".
void ShowErrorBox(IMessageBox& messages, int number, const Text& description);

}  // namespace timrose
