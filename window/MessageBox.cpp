#include "window/MessageBox.h"

namespace timrose {

void ShowErrorBox(IMessageBox& messages, int number, const Text& description) {
  messages.MsgBox(DecimalText(number) + u"\r\n" + description, kMbCritical, kErrorTitle);
}

}  // namespace timrose
