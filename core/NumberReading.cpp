#include "core/NumberReading.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/Error.h"

namespace timrose {
namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

}  // namespace

double Val(TextView text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n')) ++i;

  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  // The mantissa's digits without leading zeros, and where the decimal point falls among them.
  std::string digits;
  long long pointShift = 0;  // decimal exponent that the mantissa's position contributes
  bool anyDigit = false;
  while (i < text.size() && IsDigit(text[i])) {
    anyDigit = true;
    if (!digits.empty() || text[i] != u'0') digits += static_cast<char>(text[i]);
    ++i;
  }
  if (i < text.size() && text[i] == u'.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      anyDigit = true;
      if (!digits.empty() || text[i] != u'0') digits += static_cast<char>(text[i]);
      --pointShift;
      ++i;
    }
  }
  if (!anyDigit || digits.empty()) return 0.0;

  // The exponent counts only when digits follow its letter; D is the double-precision spelling.
  long long exponent = 0;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
    size_t j = i + 1;
    bool expNegative = false;
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) expNegative = text[j++] == u'-';
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) {
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - u'0');
        ++j;
      }
      if (expNegative) exponent = -exponent;
    }
  }

  // Trailing zeros of a long fractional part only scale the exponent; keep the text short.
  const long long scale = exponent + pointShift;
  const long long magnitude = static_cast<long long>(digits.size()) + scale;  // value < 10^magnitude
  if (magnitude < -400) return negative ? -0.0 : 0.0;
  if (magnitude > 400) RaiseError(kErrOverflow);
  const std::string number = digits + "e" + std::to_string(scale);
  // strtod rather than from_chars: the C runtime already carries it, and the program never
  // changes the C locale, so "." is its decimal point.
  errno = 0;
  double value = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE) {
    if (magnitude <= 0) return negative ? -0.0 : 0.0;
    RaiseError(kErrOverflow);
  }
  if (!std::isfinite(value)) RaiseError(kErrOverflow);
  return negative ? -value : value;
}

}  // namespace timrose
