#pragma once
#include <cstdint>
#include <string>

namespace timrose {

struct DateParts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  int dayOfWeek = 6;  // 0 Sunday .. 6 Saturday
  bool operator==(const DateParts&) const = default;
};

// A calendar date and time of day to the whole second, from 100-01-01 00:00:00 to
// 9999-12-31 23:59:59 in the proleptic Gregorian calendar. The default value is the zero date,
// 1899-12-30 00:00:00. Every operation whose result leaves the range raises error 6.
class Date {
 public:
  static constexpr int64_t kSecondsPerDay = 86400;
  static const int64_t kMinSeconds;  // 100-01-01 00:00:00, counted from the zero date
  static const int64_t kMaxSeconds;  // 9999-12-31 23:59:59 (both defined below the class)

  constexpr Date() = default;

  // Raises 6 when the seconds lie outside the range.
  static Date FromSeconds(int64_t secondsFromZero);
  // Calendar fields must name a real date and a time 0:00:00..23:59:59 (else error 5);
  // a year outside 100..9999 raises 6.
  static Date FromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  // The floating day count of OLE automation dates: whole days from the zero date, and the
  // time of day as a fraction whose sign follows the day (-1.25 is 1899-12-29 06:00:00).
  // Rounded to the nearest second; raises 6 outside the range or for NaN.
  static Date FromSerial(double serial);

  int64_t Seconds() const { return seconds_; }
  double ToSerial() const;
  DateParts Parts() const;
  bool IsMidnight() const;

  // Exact calendar arithmetic; raises 6 when the result leaves the range.
  Date AddSeconds(int64_t seconds) const;
  Date AddMinutes(int64_t minutes) const;

  auto operator<=>(const Date&) const = default;

 private:
  explicit constexpr Date(int64_t s) : seconds_(s) {}
  int64_t seconds_ = 0;
};

// Floor division, for day counts before 1970.
constexpr int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Days from 1970-01-01 to the given proleptic Gregorian date (any year). Constant-evaluated, so
// tables of dates built before main() never see an unset constant.
constexpr int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const int64_t era = FloorDiv(year, 400);
  const auto yoe = static_cast<unsigned>(year - era * 400);
  const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// Days from 1970-01-01 to the zero date 1899-12-30.
inline constexpr int64_t kZeroDateDays = DaysFromCivil(1899, 12, 30);
inline constexpr int64_t Date::kMinSeconds =
    (DaysFromCivil(100, 1, 1) - kZeroDateDays) * Date::kSecondsPerDay;
inline constexpr int64_t Date::kMaxSeconds =
    (DaysFromCivil(9999, 12, 31) - kZeroDateDays) * Date::kSecondsPerDay + 86399;
bool IsValidCalendarDay(int year, int month, int day);

}  // namespace timrose
