#pragma once
// A simulated regional format: short date and long time patterns, designators and number
// separators, behaving like the system's own date and number text conversions.
#include <cstdint>

#include "core/Platform.h"

namespace timrose::sim {

struct LocaleProfile {
  Text shortDate;  // d, dd, M, MM, yyyy and literal separators, e.g. u"yyyy/M/d"
  Text longTime;   // H, HH, h, hh, mm, ss, tt (designator), 'literal', e.g. u"H:mm:ss", u"h:mm:ss tt"
  Text am, pm;     // designators, e.g. u"AM", u"PM" / u"上午", u"下午"
  char16_t decimal = u'.';
  char16_t thousands = u',';
};

class SimLocale : public ILocaleText {
 public:
  explicit SimLocale(LocaleProfile profile);
  // "yyyy/M/d" and "H:mm:ss", as a current Chinese Windows.
  static SimLocale ZhCN();
  // "M/d/yyyy" and "h:mm:ss tt" with AM/PM.
  static SimLocale EnUS();
  // "dd.MM.yyyy" and "HH:mm:ss", decimal comma and thousands dot.
  static SimLocale DeDE();

  // Tests may change it freely between calls.
  LocaleProfile profile;

  Text DateText(const Date& date) override;
  TimeDesignators Designators() override { return {profile.am, profile.pm}; }
  bool IsDate(const Text& text) override;
  Date CDate(const Text& text) override;
  Text SingleText(float value) override;
  Text GroupedWholeText(int64_t value) override;
  double ReadNumberText(const Text& text) override;
};

}  // namespace timrose::sim
