#include "core/Date.h"

#include <cmath>

#include "core/Error.h"

namespace timrose {
namespace {

constexpr int64_t kZeroDays = kZeroDateDays;

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = FloorDiv(z, 146097);
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int>(y + (m <= 2));
  month = static_cast<int>(m);
  day = static_cast<int>(d);
}

}  // namespace

bool IsValidCalendarDay(int year, int month, int day) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int limit = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= limit;
}

Date Date::FromSeconds(int64_t secondsFromZero) {
  if (secondsFromZero < kMinSeconds || secondsFromZero > kMaxSeconds) RaiseError(kErrOverflow);
  return Date(secondsFromZero);
}

Date Date::FromParts(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999) RaiseError(kErrOverflow);
  if (!IsValidCalendarDay(year, month, day) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59) {
    RaiseError(kErrInvalidCall);
  }
  const int64_t days =
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kZeroDays;
  return FromSeconds(days * kSecondsPerDay + hour * 3600 + minute * 60 + second);
}

Date Date::FromSerial(double serial) {
  if (!std::isfinite(serial)) RaiseError(kErrOverflow);
  // Well outside the range already; keeps the arithmetic below in bounds.
  if (std::fabs(serial) > 3.0e6) RaiseError(kErrOverflow);
  const double whole = std::trunc(serial);
  const double fraction = std::fabs(serial - whole);
  auto days = static_cast<int64_t>(whole);
  auto time = static_cast<int64_t>(std::llround(fraction * kSecondsPerDay));
  // The time part counts forward within its day for negative day counts too (-1.25 is 06:00 of
  // day -1), so reaching 24:00 always carries into the next day.
  if (time >= kSecondsPerDay) {
    time -= kSecondsPerDay;
    days += 1;
  }
  return FromSeconds(days * kSecondsPerDay + time);
}

double Date::ToSerial() const {
  const int64_t days = FloorDiv(seconds_, kSecondsPerDay);
  const int64_t time = seconds_ - days * kSecondsPerDay;
  const double fraction = static_cast<double>(time) / kSecondsPerDay;
  return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

DateParts Date::Parts() const {
  DateParts p;
  const int64_t days = FloorDiv(seconds_, kSecondsPerDay);
  int64_t time = seconds_ - days * kSecondsPerDay;
  CivilFromDays(days + kZeroDays, p.year, p.month, p.day);
  p.hour = static_cast<int>(time / 3600);
  time %= 3600;
  p.minute = static_cast<int>(time / 60);
  p.second = static_cast<int>(time % 60);
  // 1970-01-01 was a Thursday.
  p.dayOfWeek = static_cast<int>(((days + kZeroDays) % 7 + 11) % 7);
  return p;
}

bool Date::IsMidnight() const {
  return seconds_ - FloorDiv(seconds_, kSecondsPerDay) * kSecondsPerDay == 0;
}

Date Date::AddSeconds(int64_t seconds) const {
  // Any in-range result lies within this span; larger steps are out of range anyway.
  constexpr int64_t kSpan = int64_t{400} * 10000 * 366 * 86400;
  if (seconds > kSpan || seconds < -kSpan) RaiseError(kErrOverflow);
  return FromSeconds(seconds_ + seconds);
}

Date Date::AddMinutes(int64_t minutes) const {
  constexpr int64_t kSpan = int64_t{10000} * 366 * 1440;
  if (minutes > kSpan || minutes < -kSpan) RaiseError(kErrOverflow);
  return AddSeconds(minutes * 60);
}

}  // namespace timrose
