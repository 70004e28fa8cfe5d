#include <gtest/gtest.h>

#include "core/Date.h"
#include "core/Error.h"
#include "tests/Support.h"

namespace timrose {
namespace {

TEST(Date, ZeroValueIsTheEndOf1899) {
  EXPECT_EQ(ToIsoText(Date()), "1899-12-30 00:00:00");
  EXPECT_EQ(Date().ToSerial(), 0.0);
  EXPECT_EQ(Date::FromParts(1899, 12, 30), Date());
}

TEST(Date, RangeEndsAreInsideAndOneSecondBeyondRaisesOverflow) {
  const Date first = Date::FromParts(100, 1, 1);
  const Date last = Date::FromParts(9999, 12, 31, 23, 59, 59);
  EXPECT_EQ(first.Seconds(), Date::kMinSeconds);
  EXPECT_EQ(last.Seconds(), Date::kMaxSeconds);
  EXPECT_EQ(RaisedNumber([&] { first.AddSeconds(-1); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([&] { last.AddSeconds(1); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([&] { last.AddMinutes(1); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { Date::FromParts(99, 12, 31, 23, 59, 59); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { Date::FromParts(10000, 1, 1); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { Date::FromSerial(2958466.0); }), kErrOverflow);
  EXPECT_EQ(RaisedNumber([] { Date::FromSerial(-657435.0); }), kErrOverflow);
}

TEST(Date, SerialDayCountMatchesAutomationDates) {
  struct Case {
    double serial;
    const char* iso;
  } cases[] = {
      {0.0, "1899-12-30 00:00:00"},        {1.0, "1899-12-31 00:00:00"},
      {-1.0, "1899-12-29 00:00:00"},       {-1.25, "1899-12-29 06:00:00"},
      {-0.5, "1899-12-30 12:00:00"},       {2.75, "1900-01-01 18:00:00"},
      {40605.0, "2011-03-03 00:00:00"},    {-657434.0, "0100-01-01 00:00:00"},
      {2958465.0, "9999-12-31 00:00:00"},  {60.0, "1900-02-28 00:00:00"},
      {61.0, "1900-03-01 00:00:00"},       {-1.9999999, "1899-12-30 00:00:00"},
      {-0.9999999, "1899-12-31 00:00:00"}, {1.9999999, "1900-01-01 00:00:00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.iso);
    const Date d = Date::FromSerial(c.serial);
    EXPECT_EQ(ToIsoText(d), c.iso);
    EXPECT_EQ(Date::FromSerial(d.ToSerial()), d);
  }
}

TEST(Date, SerialRoundTripIsExactToTheSecondAcrossTheRange) {
  for (int64_t s = Date::kMinSeconds; s <= Date::kMaxSeconds; s += 7777777 + 13) {
    const Date d = Date::FromSeconds(s);
    ASSERT_EQ(Date::FromSerial(d.ToSerial()).Seconds(), s) << ToIsoText(d);
  }
  const Date last = Date::FromSeconds(Date::kMaxSeconds);
  EXPECT_EQ(Date::FromSerial(last.ToSerial()), last);
}

TEST(Date, LeapDaysAndInvalidFields) {
  EXPECT_EQ(ToIsoText(Date::FromParts(2000, 2, 29)), "2000-02-29 00:00:00");
  EXPECT_EQ(ToIsoText(Date::FromParts(2012, 2, 28, 23, 59, 59).AddSeconds(1)), "2012-02-29 00:00:00");
  EXPECT_EQ(ToIsoText(Date::FromParts(2011, 2, 28, 23, 59, 59).AddSeconds(1)), "2011-03-01 00:00:00");
  EXPECT_EQ(RaisedNumber([] { Date::FromParts(1900, 2, 29); }), kErrInvalidCall);
  EXPECT_EQ(RaisedNumber([] { Date::FromParts(2011, 4, 31); }), kErrInvalidCall);
  EXPECT_EQ(RaisedNumber([] { Date::FromParts(2011, 1, 1, 24, 0, 0); }), kErrInvalidCall);
}

TEST(Date, MinuteOffsetsCarryInBothDirections) {
  const Date d = Date::FromParts(2011, 1, 1, 5, 0, 0);
  EXPECT_EQ(ToIsoText(d.AddMinutes(-480)), "2010-12-31 21:00:00");
  EXPECT_EQ(ToIsoText(Date::FromParts(2010, 12, 31, 21).AddMinutes(480)), "2011-01-01 05:00:00");
  EXPECT_EQ(ToIsoText(Date::FromParts(2011, 3, 3, 2).AddMinutes(-300)), "2011-03-02 21:00:00");
  EXPECT_EQ(ToIsoText(Date::FromParts(2012, 2, 28, 22, 30).AddMinutes(120)), "2012-02-29 00:30:00");
}

TEST(Date, PartsGiveTheDayOfWeek) {
  EXPECT_EQ(Date::FromParts(2011, 3, 3).Parts().dayOfWeek, 4);  // a Thursday
  EXPECT_EQ(Date().Parts().dayOfWeek, 6);                       // a Saturday
  EXPECT_EQ(Date::FromParts(100, 1, 1).Parts().dayOfWeek, 5);   // a Friday in the proleptic calendar
}

}  // namespace
}  // namespace timrose
