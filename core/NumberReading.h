#pragma once
#include "core/Text.h"

namespace timrose {

// The number read from the start of a text: leading spaces (and tabs, line feeds) skipped,
// "." as the decimal point, an optional sign and exponent; reading stops at the first character
// that cannot continue a number; no digits give 0. Independent of the user's locale.
double Val(TextView text);

}  // namespace timrose
