#include "platform/win32/WindowText.h"

namespace timrose::win32 {

Text WindowText(HWND window) {
  if (!window) return Text();
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return Text();
  // The string's own terminator has room for the zero the call writes after the text.
  Text text(static_cast<size_t>(length), u'\0');
  const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace timrose::win32
