// The benchmark's own arithmetic: a wrong median or ratio would print a confident wrong table.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "bench/Stats.h"

namespace timrose::bench {
namespace {

struct MedianCase {
  std::vector<double> samples;
  double median;
};

TEST(BenchMathTest, MedianOfOddEvenAndUnsortedSamples) {
  const MedianCase cases[] = {
      {{7.0}, 7.0},
      {{3.0, 1.0, 2.0}, 2.0},
      {{10.0, 1.0}, 5.5},
      {{4.0, 1.0, 3.0, 2.0}, 2.5},
      {{5.0, 5.0, 1.0, 5.0}, 5.0},
      {{9.0, 100.0, 8.0, 1000.0, 7.0}, 9.0},  // outliers do not pull the median
      {{-2.0, 2.0}, 0.0},
      {{1e300, 1e300}, 1e300},  // the middle of two huge values must not overflow
  };
  for (const MedianCase& c : cases) {
    EXPECT_DOUBLE_EQ(Median(c.samples), c.median) << "samples: " << c.samples.size();
  }
}

TEST(BenchMathTest, MedianOfNothingIsUnknown) {
  EXPECT_TRUE(std::isnan(Median({})));
}

TEST(BenchMathTest, RatioToTheFloor) {
  struct Case {
    double figure, floor, ratio;
  };
  const Case cases[] = {{110.0, 100.0, 1.1}, {50.0, 200.0, 0.25}, {0.0, 4.0, 0.0}, {3.0, 3.0, 1.0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(Ratio(c.figure, c.floor), c.ratio) << c.figure << "/" << c.floor;

  const double nan = std::nan("");
  const double unknown[][2] = {{5.0, 0.0}, {5.0, -1.0}, {nan, 2.0}, {2.0, nan}};
  for (const auto& u : unknown) EXPECT_TRUE(std::isnan(Ratio(u[0], u[1]))) << u[0] << "/" << u[1];
}

TEST(BenchMathTest, TableTextAndGoals) {
  EXPECT_EQ(Fixed(1.23456, 2), "1.23");
  EXPECT_EQ(Fixed(1.0, 0), "1");
  EXPECT_EQ(Fixed(std::nan(""), 2), "n/a");
  EXPECT_STREQ(Met(1.10, 1.10), "yes");
  EXPECT_STREQ(Met(1.1001, 1.10), "no");
  EXPECT_STREQ(Met(std::nan(""), 1.10), "no");
}

}  // namespace
}  // namespace timrose::bench
