#include "core/TimeText.h"

#include <new>

#include "core/Error.h"
#include "core/NumberReading.h"

namespace timrose {
namespace {

// Replaces every occurrence, searching on after each replacement; an empty search changes nothing.
void ReplaceAll(Text& text, const Text& search, const Text& replacement) {
  if (search.empty()) return;
  size_t at = 0;
  while ((at = text.find(search, at)) != Text::npos) {
    text.replace(at, search.size(), replacement);
    at += replacement.size();
  }
}

enum class DayHalf { kUnknown, kMorning, kAfternoon };

// Which half of the day the text after the seconds names. The locale's own designators come
// first: they are what its text was written with, even where they spell another locale's words.
// Designators it gives for both halves alike tell nothing.
DayHalf HalfNamedBy(const Text& designator, const TimeDesignators& own) {
  if (own.morning != own.afternoon) {
    if (!own.morning.empty() && designator == own.morning) return DayHalf::kMorning;
    if (!own.afternoon.empty() && designator == own.afternoon) return DayHalf::kAfternoon;
  }
  if (designator == u"AM" || designator == u"上午") return DayHalf::kMorning;
  if (designator == u"PM" || designator == u"下午") return DayHalf::kAfternoon;
  return DayHalf::kUnknown;
}

}  // namespace

Text FormatTime24(ILocaleText& locale, const Date& date) {
  Text s;
  try {
    s = TrimSpaces(locale.DateText(date));
  } catch (const RaisedError&) {
    // Without the platform's text there is nothing to fall back on.
    return Text();
  } catch (const std::bad_alloc&) {
    RaiseError(kErrOutOfMemory);
  }
  try {
    const size_t colon = s.find(u':');
    // The hour needs two characters before the first colon; a bare date has no colon at all.
    if (colon == Text::npos || colon < 2) return s;
    // Whatever follows the minutes, the second colon and the seconds.
    const size_t afterSeconds = colon + 6;
    if (afterSeconds >= s.size()) return s;
    const Text trailing = TrimSpaces(TextView(s).substr(afterSeconds));
    const DayHalf half = HalfNamedBy(trailing, locale.Designators());
    Text result;
    if (half == DayHalf::kUnknown) {
      // A word that names no half of the day ("Uhr") goes: the first three characters of what
      // follows the seconds, wherever they stand in the text.
      result = s;
      ReplaceAll(result, trailing.substr(0, 3), u"");
      result = TrimSpaces(result);
    } else {
      // A designator goes whole, however long its spelling, and the hour moves to the 24-hour clock.
      const Text hour = TrimSpaces(TextView(s).substr(colon - 2, 2));
      result = TrimSpaces(TextView(s).substr(0, afterSeconds));
      const double value = Val(hour);
      if (half == DayHalf::kAfternoon && value < 12) {
        ReplaceAll(result, u" " + hour + u":", u" " + DecimalText(static_cast<long long>(value) + 12) + u":");
      } else if (half == DayHalf::kMorning && value == 12) {
        // Hour 12 in the morning is hour 0 on a 24-hour clock; left as 12 it would read back as noon.
        ReplaceAll(result, u" " + hour + u":", u" 0:");
      }
    }
    // Whatever the regional format did to the rewrite, the time box must name the same moment
    // the file holds, or applying it would move the file's time: an afternoon written with a word
    // the program does not know keeps its word.
    if (locale.CDate(result) != date) return s;
    return result;
  } catch (const RaisedError&) {
    return s;
  } catch (const std::bad_alloc&) {
    // Out of memory is no failure of the text: it reaches the handler as itself.
    RaiseError(kErrOutOfMemory);
  }
}

}  // namespace timrose
