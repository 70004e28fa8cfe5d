#pragma once
// The bridge between the program's texts and Windows': UTF-16 for the wide functions, which every
// text and every path goes through; and the system ANSI code page only where ANSI text is really wanted (the
// CF_TEXT a drag out of the path box offers older programs), converted without best-fit mapping: a character
// the code page cannot hold must not turn into "?" (a wildcard) or a look-alike letter that names another
// file.
#include <optional>
#include <string>

#include "core/Text.h"

namespace timrose::win32 {

// The text in the ANSI code page, or nothing when some character has no exact form there.
std::optional<std::string> ToAnsiExact(const Text& text);
Text FromAnsi(const std::string& text);

// UTF-16 texts as the wide Windows functions take them (wchar_t is 16 bits on Windows).
inline const wchar_t* Wide(const Text& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline Text FromWide(const wchar_t* text) {
  return text ? Text(reinterpret_cast<const char16_t*>(text)) : Text();
}
// A text as a buffer a wide function writes into; its own terminator has room for the zero it adds.
inline wchar_t* WideBuffer(Text& text) {
  return reinterpret_cast<wchar_t*>(text.data());
}

}  // namespace timrose::win32
