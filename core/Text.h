#pragma once
// Texts are UTF-16 throughout, as Windows holds them; the Windows layer converts at its edge.
#include <string>
#include <string_view>

namespace timrose {

using Text = std::u16string;
using TextView = std::u16string_view;

// Removes leading and trailing U+0020 (not tabs or other blanks), as the window's path tests do.
Text TrimSpaces(TextView text);

// UTF-8 <-> UTF-16 for messages in tests and diagnostics; invalid input is replaced by U+FFFD.
std::string ToUtf8(TextView text);
Text FromUtf8(std::string_view text);

// Decimal digits of a whole number, with a minus sign when negative.
Text DecimalText(long long value);

}  // namespace timrose
