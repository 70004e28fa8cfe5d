#pragma once
// The figures of the benchmark table: medians of repeated runs and their ratio to a floor
// measured in the same run. Portable: the host test and the Windows bench programs share it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace timrose::bench {

// The middle sample; the mean of the two middle ones for an even count. A median of nothing is
// NaN, so that a bench that measured nothing prints "n/a" instead of a plausible zero.
inline double Median(std::vector<double> samples) {
  if (samples.empty()) return std::numeric_limits<double>::quiet_NaN();
  const size_t mid = samples.size() / 2;
  std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(mid), samples.end());
  const double upper = samples[mid];
  if (samples.size() % 2 != 0) return upper;
  const double lower = *std::max_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(mid));
  return lower + (upper - lower) / 2;
}

// How many times the floor a figure is. A floor of zero or less (a clock too coarse to see it)
// has no meaningful ratio: NaN rather than infinity or a division fault.
inline double Ratio(double figure, double floor) {
  if (!(floor > 0) || std::isnan(figure)) return std::numeric_limits<double>::quiet_NaN();
  return figure / floor;
}

// A figure for the table with a fixed number of decimals; NaN shows as "n/a".
inline std::string Fixed(double value, int decimals) {
  if (std::isnan(value)) return "n/a";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}

// "yes" when the figure is known and within the limit, else "no".
inline const char* Met(double value, double limit) {
  return !std::isnan(value) && value <= limit ? "yes" : "no";
}

}  // namespace timrose::bench
