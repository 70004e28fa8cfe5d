#include "core/TimeText.h"

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

}  // namespace

Text FormatTime24(ILocaleText& locale, const Date& date) {
  Text s;
  try {
    s = TrimSpaces(locale.DateText(date));
  } catch (...) {
    // Without the platform's text there is nothing to fall back on.
    return Text();
  }
  try {
    const size_t colon = s.find(u':');
    // The hour needs two characters before the first colon; a bare date has no colon at all.
    if (colon == Text::npos || colon < 2) return s;
    const Text hour = TrimSpaces(TextView(s).substr(colon - 2, 2));
    Text designator;
    if (colon + 6 < s.size()) designator = TrimSpaces(TextView(s).substr(colon + 6));
    if (designator.size() > 3) designator.resize(3);

    Text result = s;
    if (designator == u"PM" || designator == u"下午") {
      ReplaceAll(result, designator, Text());
      const double value = Val(hour);
      if (value < 12) {
        ReplaceAll(result, u" " + hour + u":", u" " + DecimalText(static_cast<long long>(value) + 12) + u":");
      }
    } else if (!designator.empty()) {
      if (date.Parts().hour < 12) {
        // A morning designator: dropping it is right except for hour 12, which is hour 0 on a
        // 24-hour clock and would otherwise read back as noon.
        ReplaceAll(result, designator, Text());
        if (Val(hour) == 12) ReplaceAll(result, u" " + hour + u":", u" 0:");
      } else {
        // An afternoon designator we cannot name: it stays, so the text still reads as this moment.
        result = s;
      }
    }
    result = TrimSpaces(result);
    // Whatever the regional format did to the rewrite, the time box must name the same moment
    // the file holds, or applying it would move the file's time.
    if (locale.CDate(result) != date) return s;
    return result;
  } catch (...) {
    return s;
  }
}

}  // namespace timrose
