// Twips become pixels at the window's DPI, and pixels become twips again for the drop point.
#include <gtest/gtest.h>

#include "platform/win32/Dpi.h"

namespace timrose::win32 {
namespace {

TEST(Dpi, TwipsConvertAtEachScale) {
  struct Case {
    int twips, dpi, pixels;
  };
  const Case cases[] = {
      {15, 96, 1},  {5010, 96, 334},  {2745, 96, 183},  {855, 96, 57},  {5010, 144, 501}, {2745, 144, 275},
      {15, 144, 2}, {5010, 192, 668}, {2745, 192, 366}, {255, 192, 34}, {0, 144, 0},      {-120, 96, -8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
  }
  EXPECT_FLOAT_EQ(PixelsToTwips(334, 96), 5010.0f);
  EXPECT_FLOAT_EQ(PixelsToTwips(3, 144), 30.0f);
}

}  // namespace
}  // namespace timrose::win32
