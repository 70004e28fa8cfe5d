#pragma once
// Texts are UTF-16 throughout, as Windows holds them; the Windows layer converts at its edge.
#include <string>
#include <string_view>

namespace timrose {

using Text = std::u16string;
using TextView = std::u16string_view;

// Removes leading and trailing U+0020 (not tabs or other blanks), as the window's path tests do.
Text TrimSpaces(TextView text);

// The UTF-8 form of a text, for a raised error's what() and for test messages; an unpaired
// surrogate becomes U+FFFD.
std::string ToUtf8(TextView text);

// Decimal digits of a whole number, with a minus sign when negative.
Text DecimalText(long long value);

}  // namespace timrose
