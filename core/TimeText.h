#pragma once
#include "core/Date.h"
#include "core/Platform.h"
#include "core/Text.h"

namespace timrose {

// The text a time box shows for a local Date: the regional date text, with a 12-hour clock
// whose designator follows the seconds rewritten to a 24-hour clock. The designator goes when it
// is the locale's own or one of AM, PM, 上午, 下午; any other word after the seconds ("Uhr") goes too,
// as long as the text still names the same moment without it (an afternoon in a word the program
// does not know keeps its word). A raised error inside gives the regional date text with outer
// spaces removed (or "" without it); only out of memory leaves, as error 7.
Text FormatTime24(ILocaleText& locale, const Date& date);

}  // namespace timrose
