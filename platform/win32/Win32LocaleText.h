#pragma once
#include "core/Platform.h"

namespace timrose::win32 {

// Date and number text in the user's regional format, by the automation conversions of
// oleaut32 and the locale's number format: the texts the user reads are the ones Windows
// itself reads back.
class Win32LocaleText final : public ILocaleText {
 public:
  Text DateText(const Date& date) override;
  TimeDesignators Designators() override;
  bool IsDate(const Text& text) override;
  Date CDate(const Text& text) override;
  Text SingleText(float value) override;
  Text GroupedWholeText(int64_t value) override;
  double ReadNumberText(const Text& text) override;
};

}  // namespace timrose::win32
