#pragma once
#include "core/Platform.h"
#include "core/Text.h"

namespace timrose {

// The short size text for the size label's caption ("大小: 12345 字节" gives "12.0K"): at most
// four characters and a unit letter (longer only in T). A raised error inside gives ""; only out
// of memory leaves, as error 7.
Text FormatSizeShort(ILocaleText& locale, const Text& caption);

}  // namespace timrose
