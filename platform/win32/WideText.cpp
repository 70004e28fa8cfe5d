#include "platform/win32/WideText.h"

#include <windows.h>

namespace timrose::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::optional<std::string> ToAnsiExact(const Text& text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Wide(text), length, nullptr, 0, nullptr,
                                        &usedDefault);
  if (bytes <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Wide(text), length, out.data(), bytes, nullptr,
                      &usedDefault);
  if (usedDefault) return std::nullopt;
  // The round trip catches mappings that are not exact even without best fit.
  if (FromAnsi(out) != text) return std::nullopt;
  return out;
}

Text FromAnsi(const std::string& text) {
  if (text.empty()) return Text();
  const int length = static_cast<int>(text.size());
  const int chars = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (chars <= 0) return Text();
  Text out(static_cast<size_t>(chars), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, WideBuffer(out), chars);
  return out;
}

}  // namespace timrose::win32
