#pragma once
// A simulated time zone: a settable Bias (and, for tests of daylight saving, standard and
// daylight parts that the program must never apply), and the exact file-time conversions.
#include "core/Platform.h"

namespace timrose::sim {

// 100-ns ticks since 1601-01-01 00:00:00 UTC.
uint64_t TicksOf(const FILETIME& ft);
FILETIME FileTimeOf(uint64_t ticks);
// The ticks of a UTC calendar time, with milliseconds and extra 100-ns units.
uint64_t TicksFromUtc(int year, int month, int day, int hour, int minute, int second, int millis = 0,
                      int hundredNanos = 0);

class SimTime : public ITimeApi {
 public:
  int32_t bias = 0;
  int32_t standardBias = 0;
  int32_t daylightBias = 0;
  // Set to fail GetTimeZoneInformation (return TIME_ZONE_ID_INVALID) and leave the record alone.
  bool failZone = false;
  int zoneCalls = 0;

  uint32_t GetTimeZoneInformation(TIME_ZONE_INFORMATION& info) override;
  bool FileTimeToSystemTime(const FILETIME& fileTime, SYSTEMTIME& systemTime) override;
  bool SystemTimeToFileTime(const SYSTEMTIME& systemTime, FILETIME& fileTime) override;
};

}  // namespace timrose::sim
