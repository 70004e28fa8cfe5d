#pragma once
#include "core/Platform.h"
#include "core/Text.h"

namespace timrose {

// The short size text for the size label's caption ("大小: 12345 字节" gives "12.0K"): at most
// four characters and a unit letter (longer only in T). Never fails: any failure gives "".
Text FormatSizeShort(ILocaleText& locale, const Text& caption);

}  // namespace timrose
