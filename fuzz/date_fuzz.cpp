// The Date conversions over arbitrary calendar fields, second counts, day counts and spans: every
// conversion either lands inside the range and converts back to itself, or raises the one error
// the caller expects (6 for the range, 5 for fields that name no date or time of day).
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/Date.h"
#include "core/Error.h"
#include "fuzz/FuzzCheck.h"
#include "tests/Support.h"

namespace timrose {
namespace {

using fuzz::Check;

bool InRange(__int128 seconds) {
  return seconds >= Date::kMinSeconds && seconds <= Date::kMaxSeconds;
}

// Checked separately from the library's own table, so that a wrong table shows up as a mismatch.
int DaysInMonth(int year, int month) {
  if (month == 2) return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28;
  return (month == 4 || month == 6 || month == 9 || month == 11) ? 30 : 31;
}

// Every digit of a day count: the interesting ones differ from whole days only far past the point.
std::string SerialText(double serial) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", serial);
  return buffer;
}

void CheckRoundTrips(const Date& d, const std::string& where) {
  Check(InRange(d.Seconds()), where + ": a Date outside the range exists");
  const DateParts p = d.Parts();
  Check(p.year >= 100 && p.year <= 9999 && p.month >= 1 && p.month <= 12 && p.day >= 1 &&
            p.day <= DaysInMonth(p.year, p.month) && p.hour >= 0 && p.hour < 24 && p.minute >= 0 &&
            p.minute < 60 && p.second >= 0 && p.second < 60 && p.dayOfWeek >= 0 && p.dayOfWeek < 7,
        where + ": Parts out of their ranges " + ToIsoText(d));
  Check(Date::FromParts(p.year, p.month, p.day, p.hour, p.minute, p.second) == d,
        where + ": Parts do not convert back " + ToIsoText(d));
  Check(Date::FromSerial(d.ToSerial()) == d, where + ": the day count does not convert back " + ToIsoText(d));
  Check(Date::FromSeconds(d.Seconds()) == d, where + ": the second count does not convert back");
  Check(d.IsMidnight() == (p.hour == 0 && p.minute == 0 && p.second == 0), where + ": IsMidnight");
  if (InRange(__int128{d.Seconds()} + Date::kSecondsPerDay)) {
    const DateParts next = d.AddSeconds(Date::kSecondsPerDay).Parts();
    Check(next.dayOfWeek == (p.dayOfWeek + 1) % 7, where + ": day of week does not advance " + ToIsoText(d));
  }
}

void FuzzFields(FuzzedDataProvider& in) {
  // Mostly near the valid ranges, sometimes anything at all.
  const bool wild = in.ConsumeBool();
  auto field = [&](int lo, int hi) {
    return wild ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange<int>(lo, hi);
  };
  const int year = field(90, 10010), month = field(-1, 14), day = field(-1, 33);
  const int hour = field(-1, 25), minute = field(-1, 61), second = field(-1, 61);
  Date d;
  const int raised = RaisedNumber([&] { d = Date::FromParts(year, month, day, hour, minute, second); });
  const bool yearOk = year >= 100 && year <= 9999;
  const bool rest = month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month) && hour >= 0 &&
                    hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
  const int expected = !yearOk ? kErrOverflow : (!rest ? kErrInvalidCall : 0);
  Check(raised == expected, "FromParts(" + std::to_string(year) + "," + std::to_string(month) + "," +
                                std::to_string(day) + " " + std::to_string(hour) + ":" +
                                std::to_string(minute) + ":" + std::to_string(second) + ") raised " +
                                std::to_string(raised) + ", expected " + std::to_string(expected));
  if (raised != 0) return;
  const DateParts p = d.Parts();
  Check(p.year == year && p.month == month && p.day == day && p.hour == hour && p.minute == minute &&
            p.second == second,
        "FromParts then Parts changed the fields: " + ToIsoText(d));
  CheckRoundTrips(d, "fields");
}

void FuzzSeconds(FuzzedDataProvider& in) {
  const int64_t s = in.ConsumeBool() ? in.ConsumeIntegral<int64_t>()
                                     : in.ConsumeIntegralInRange<int64_t>(Date::kMinSeconds - 100000,
                                                                          Date::kMaxSeconds + 100000);
  Date d;
  const int raised = RaisedNumber([&] { d = Date::FromSeconds(s); });
  Check(raised == (InRange(s) ? 0 : kErrOverflow),
        "FromSeconds(" + std::to_string(s) + ") raised " + std::to_string(raised));
  if (raised != 0) return;
  Check(d.Seconds() == s, "FromSeconds kept another count");
  CheckRoundTrips(d, "seconds");

  // Spans, in seconds and in minutes, of any size and sign.
  const int64_t span = in.ConsumeBool() ? in.ConsumeIntegral<int64_t>()
                                        : in.ConsumeIntegralInRange<int64_t>(-10000000, 10000000);
  Date r;
  int got = RaisedNumber([&] { r = d.AddSeconds(span); });
  const __int128 sumSeconds = __int128{s} + span;
  Check(got == (InRange(sumSeconds) ? 0 : kErrOverflow),
        "AddSeconds(" + std::to_string(span) + ") from " + ToIsoText(d) + " raised " + std::to_string(got));
  if (got == 0) Check(r.Seconds() == sumSeconds, "AddSeconds is not exact");
  got = RaisedNumber([&] { r = d.AddMinutes(span); });
  const __int128 sumMinutes = __int128{s} + __int128{span} * 60;
  Check(got == (InRange(sumMinutes) ? 0 : kErrOverflow),
        "AddMinutes(" + std::to_string(span) + ") from " + ToIsoText(d) + " raised " + std::to_string(got));
  if (got == 0) Check(r.Seconds() == sumMinutes, "AddMinutes is not exact");
}

void FuzzSerial(FuzzedDataProvider& in) {
  double serial;
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      serial = in.ConsumeFloatingPoint<double>();
      break;
    case 1:
      serial = in.ConsumeFloatingPointInRange<double>(-700000.0, 3000000.0);
      break;
    default: {
      // Any bit pattern: NaNs, infinities, denormals.
      const uint64_t bits = in.ConsumeIntegral<uint64_t>();
      __builtin_memcpy(&serial, &bits, sizeof serial);
      break;
    }
  }
  Date d;
  const int raised = RaisedNumber([&] { d = Date::FromSerial(serial); });
  Check(raised == 0 || raised == kErrOverflow, "FromSerial raised " + std::to_string(raised));
  if (std::isnan(serial) || std::isinf(serial))
    Check(raised == kErrOverflow, "FromSerial took NaN or infinity");
  if (raised != 0) {
    // Only values beyond the range's day counts (with half a second to spare) may overflow.
    const double first = Date::FromSeconds(Date::kMinSeconds).ToSerial();
    const double last = Date::FromSeconds(Date::kMaxSeconds).ToSerial();
    Check(!(serial > first - 1.0 + 1.0 / 86400 && serial < last - 1.0 / 86400) || std::isnan(serial),
          "FromSerial refused a day count inside the range: " + SerialText(serial));
    return;
  }
  CheckRoundTrips(d, "serial");
  // The day count's own parts: whole days toward zero, and the fraction's absolute value as the
  // time of that day, whatever the sign.
  const double wholeDays = std::trunc(serial);
  const double timeSeconds = std::fabs(serial - wholeDays) * Date::kSecondsPerDay;
  const int64_t secondsIntoDay = d.Seconds() - static_cast<int64_t>(wholeDays) * Date::kSecondsPerDay;
  Check(std::fabs(static_cast<double>(secondsIntoDay) - timeSeconds) <= 0.5 + 1e-6,
        "FromSerial is not the nearest second for " + SerialText(serial) + ": " + ToIsoText(d));
}

}  // namespace
}  // namespace timrose

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
      case 0:
        timrose::FuzzFields(in);
        break;
      case 1:
        timrose::FuzzSeconds(in);
        break;
      default:
        timrose::FuzzSerial(in);
        break;
    }
  }
  return 0;
}
