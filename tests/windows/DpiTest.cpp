// Pixels become twips again for the drop point (twips to pixels: the window's placement at each DPI).
#include <gtest/gtest.h>

#include "platform/win32/Dpi.h"

namespace timrose::win32 {
namespace {

TEST(Dpi, PixelsConvertBackToTwips) {
  EXPECT_FLOAT_EQ(PixelsToTwips(334, 96), 5010.0f);
  EXPECT_FLOAT_EQ(PixelsToTwips(3, 144), 30.0f);
  EXPECT_FLOAT_EQ(PixelsToTwips(3, 0), 45.0f);
}

}  // namespace
}  // namespace timrose::win32
