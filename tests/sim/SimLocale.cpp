#include "tests/sim/SimLocale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Error.h"

namespace timrose::sim {
namespace {

bool IsPatternLetter(char16_t c) {
  return c == u'd' || c == u'M' || c == u'y' || c == u'H' || c == u'h' || c == u'm' || c == u's' || c == u't';
}

Text Digits(int value, int width) {
  Text digits = DecimalText(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), u'0');
  return digits;
}

// Expands a pattern of runs of pattern letters and literal characters.
Text Expand(const Text& pattern, const DateParts& p, const LocaleProfile& profile) {
  Text out;
  size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    if (c == u'\'') {
      // A quoted literal, pattern letters and all ("HH:mm:ss 'Uhr'").
      const size_t close = pattern.find(u'\'', i + 1);
      const size_t end = close == Text::npos ? pattern.size() : close;
      out += pattern.substr(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (!IsPatternLetter(c)) {
      out += c;
      ++i;
      continue;
    }
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    i += run;
    const int width = run >= 2 ? 2 : 1;
    switch (c) {
      case u'd':
        out += Digits(p.day, width);
        break;
      case u'M':
        out += Digits(p.month, width);
        break;
      case u'y':
        out += run <= 2 ? Digits(p.year % 100, 2) : Digits(p.year, 4);
        break;
      case u'H':
        out += Digits(p.hour, width);
        break;
      case u'h':
        out += Digits(p.hour % 12 == 0 ? 12 : p.hour % 12, width);
        break;
      case u'm':
        out += Digits(p.minute, width);
        break;
      case u's':
        out += Digits(p.second, width);
        break;
      default: {  // t
        const Text& designator = p.hour < 12 ? profile.am : profile.pm;
        out += run >= 2 ? designator : designator.substr(0, 1);
        break;
      }
    }
  }
  return out;
}

// What the date reader sees: numbers, separators, blanks and designators.
struct Token {
  enum Kind { kNumber, kSeparator, kBlank, kAm, kPm } kind;
  int64_t value = 0;  // a number, saturated far beyond any field's range
  int digits = 0;
  char16_t separator = 0;
};

char16_t AsciiUpper(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

bool MatchesAt(const Text& text, size_t at, const Text& word) {
  if (word.empty() || at + word.size() > text.size()) return false;
  for (size_t k = 0; k < word.size(); ++k) {
    if (AsciiUpper(text[at + k]) != AsciiUpper(word[k])) return false;
  }
  return true;
}

bool IsDateSeparator(char16_t c) {
  return c == u'/' || c == u'-' || c == u'.';
}

std::optional<std::vector<Token>> Tokenize(const Text& text, const LocaleProfile& profile) {
  // The regional designators and the English ones the system always understands. Designators
  // are tried before separators so that "a.m." is not taken for a date; longer ones first.
  std::vector<std::pair<Text, Token::Kind>> words = {
      {profile.am, Token::kAm}, {profile.pm, Token::kPm}, {u"AM", Token::kAm}, {u"PM", Token::kPm}};
  std::stable_sort(words.begin(), words.end(),
                   [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c == u' ') {
      while (i < text.size() && text[i] == u' ') ++i;
      tokens.push_back({Token::kBlank});
      continue;
    }
    if (c >= u'0' && c <= u'9') {
      Token t{Token::kNumber};
      while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (t.value < 1000000000) t.value = t.value * 10 + (text[i] - u'0');
        ++t.digits;
        ++i;
      }
      tokens.push_back(t);
      continue;
    }
    bool matched = false;
    for (const auto& [word, kind] : words) {
      if (MatchesAt(text, i, word)) {
        tokens.push_back({kind});
        i += word.size();
        matched = true;
        break;
      }
    }
    if (matched) continue;
    if (c == u':' || IsDateSeparator(c)) {
      tokens.push_back({Token::kSeparator, 0, 0, c});
      ++i;
      continue;
    }
    return std::nullopt;
  }
  return tokens;
}

// The order of day, month and year in the short date pattern, as the letters 'd', 'M', 'y'.
std::u16string FieldOrder(const Text& pattern) {
  std::u16string order;
  for (char16_t c : pattern) {
    if ((c == u'd' || c == u'M' || c == u'y') && order.find(c) == std::u16string::npos) order += c;
  }
  return order.size() == 3 ? order : u"yMd";
}

class Reader {
 public:
  explicit Reader(const std::vector<Token>& tokens) : tokens_(tokens) {}

  // Raises 13 for a text that is no date, 6 for one outside the Date range.
  Date Read(const Text& shortDatePattern) {
    int year = 1899, month = 12, day = 30;
    if (IsDateAhead()) {
      const int64_t a = tokens_[pos_].value, b = tokens_[pos_ + 2].value, c = tokens_[pos_ + 4].value;
      std::u16string order = FieldOrder(shortDatePattern);
      // A first field of three or more digits is a year whatever the regional order.
      if (tokens_[pos_].digits > 2) order = u"yMd";
      int64_t y = 0, m = 0, d = 0;
      int yearDigits = 0;
      const int64_t values[3] = {a, b, c};
      for (int k = 0; k < 3; ++k) {
        if (order[k] == u'y') {
          y = values[k];
          yearDigits = tokens_[pos_ + 2 * k].digits;
        } else if (order[k] == u'M') {
          m = values[k];
        } else {
          d = values[k];
        }
      }
      if (m < 1 || m > 12 || d < 1 || d > 31) RaiseError(kErrTypeMismatch);
      if (yearDigits <= 2) y += y < 30 ? 2000 : 1900;
      if (y < 100 || y > 9999) RaiseError(kErrOverflow);
      if (!IsValidCalendarDay(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d))) {
        RaiseError(kErrTypeMismatch);
      }
      year = static_cast<int>(y);
      month = static_cast<int>(m);
      day = static_cast<int>(d);
      pos_ += 5;
      if (AtEnd()) return Date::FromParts(year, month, day);
      if (!Take(Token::kBlank)) RaiseError(kErrTypeMismatch);
    }
    int hour = 0, minute = 0, second = 0;
    if (!ReadTime(hour, minute, second) || !AtEnd()) RaiseError(kErrTypeMismatch);
    return Date::FromParts(year, month, day, hour, minute, second);
  }

 private:
  bool AtEnd() const { return pos_ >= tokens_.size(); }
  bool Is(size_t at, Token::Kind kind) const { return at < tokens_.size() && tokens_[at].kind == kind; }
  bool Take(Token::Kind kind) {
    if (!Is(pos_, kind)) return false;
    ++pos_;
    return true;
  }
  bool IsSeparator(size_t at, bool date) const {
    if (!Is(at, Token::kSeparator)) return false;
    return date ? IsDateSeparator(tokens_[at].separator) : tokens_[at].separator == u':';
  }
  bool IsDateAhead() const {
    return Is(pos_, Token::kNumber) && IsSeparator(pos_ + 1, true) && Is(pos_ + 2, Token::kNumber) &&
           IsSeparator(pos_ + 3, true) && Is(pos_ + 4, Token::kNumber);
  }
  // 0 none, 1 morning, 2 afternoon.
  int TakeDesignator() {
    if (Take(Token::kAm)) return 1;
    if (Take(Token::kPm)) return 2;
    return 0;
  }

  bool ReadTime(int& hour, int& minute, int& second) {
    int designator = TakeDesignator();
    if (designator != 0) Take(Token::kBlank);
    if (!(Is(pos_, Token::kNumber) && IsSeparator(pos_ + 1, false) && Is(pos_ + 2, Token::kNumber)))
      return false;
    int64_t h = tokens_[pos_].value;
    const int64_t m = tokens_[pos_ + 2].value;
    int64_t s = 0;
    pos_ += 3;
    if (IsSeparator(pos_, false) && Is(pos_ + 1, Token::kNumber)) {
      s = tokens_[pos_ + 1].value;
      pos_ += 2;
    }
    if (designator == 0) {
      const size_t mark = pos_;
      Take(Token::kBlank);
      designator = TakeDesignator();
      if (designator == 0) pos_ = mark;
    }
    if (m > 59 || s > 59) return false;
    // A 24-hour pattern may still carry a designator ("14:27:06 PM"): the hour then stands alone.
    if (h > 23 || (designator == 1 && h > 12)) return false;
    if (designator == 1 && h == 12) h = 0;
    if (designator == 2 && h < 12) h += 12;
    hour = static_cast<int>(h);
    minute = static_cast<int>(m);
    second = static_cast<int>(s);
    return true;
  }

  const std::vector<Token>& tokens_;
  size_t pos_ = 0;
};

}  // namespace

SimLocale::SimLocale(LocaleProfile p) : profile(std::move(p)) {}

SimLocale SimLocale::ZhCN() {
  return SimLocale({u"yyyy/M/d", u"H:mm:ss", u"上午", u"下午", u'.', u','});
}
SimLocale SimLocale::EnUS() {
  return SimLocale({u"M/d/yyyy", u"h:mm:ss tt", u"AM", u"PM", u'.', u','});
}
SimLocale SimLocale::DeDE() {
  return SimLocale({u"dd.MM.yyyy", u"HH:mm:ss", u"", u"", u',', u'.'});
}

Text SimLocale::DateText(const Date& date) {
  const DateParts p = date.Parts();
  Text text = Expand(profile.shortDate, p, profile);
  if (!date.IsMidnight()) text += u" " + Expand(profile.longTime, p, profile);
  return text;
}

bool SimLocale::IsDate(const Text& text) {
  try {
    CDate(text);
    return true;
  } catch (const RaisedError&) {
    return false;
  }
}

Date SimLocale::CDate(const Text& text) {
  const Text trimmed = TrimSpaces(text);
  const auto tokens = Tokenize(trimmed, profile);
  if (trimmed.empty() || !tokens) RaiseError(kErrTypeMismatch);
  return Reader(*tokens).Read(profile.shortDate);
}

Text SimLocale::SingleText(float value) {
  if (value == 0.0f) return u"0";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 7);
  std::string text(buffer, result.ptr);
  Text out;
  const size_t e = text.find('e');
  const std::string mantissa = text.substr(0, e);
  for (char c : mantissa) out += c == '.' ? profile.decimal : static_cast<char16_t>(c);
  if (e != std::string::npos) {
    // The system writes exponents as E+07 / E-05.
    out += u'E';
    out += static_cast<char16_t>(text[e + 1]);
    std::string digits = text.substr(e + 2);
    while (digits.size() > 2 && digits[0] == '0') digits.erase(0, 1);
    if (digits.size() < 2) digits.insert(0, "0");
    for (char c : digits) out += static_cast<char16_t>(c);
  }
  return out;
}

Text SimLocale::GroupedWholeText(int64_t value) {
  const bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  Text digits;
  int count = 0;
  do {
    if (count > 0 && count % 3 == 0) digits.insert(digits.begin(), profile.thousands);
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
    ++count;
  } while (magnitude != 0);
  if (negative) digits.insert(digits.begin(), u'-');
  return digits;
}

double SimLocale::ReadNumberText(const Text& text) {
  const Text trimmed = TrimSpaces(text);
  std::string ascii;
  size_t i = 0;
  if (i < trimmed.size() && (trimmed[i] == u'-' || trimmed[i] == u'+')) {
    if (trimmed[i] == u'-') ascii += '-';
    ++i;
  }
  bool digits = false, decimal = false;
  for (; i < trimmed.size(); ++i) {
    const char16_t c = trimmed[i];
    if (c >= u'0' && c <= u'9') {
      ascii += static_cast<char>(c);
      digits = true;
    } else if (c == profile.thousands && !decimal && digits) {
      continue;
    } else if (c == profile.decimal && !decimal) {
      ascii += '.';
      decimal = true;
    } else {
      RaiseError(kErrTypeMismatch);
    }
  }
  if (!digits) RaiseError(kErrTypeMismatch);
  double value = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec != std::errc() || !std::isfinite(value)) RaiseError(kErrOverflow);
  return value;
}

}  // namespace timrose::sim
