#include "winapp/dpi_scale.h"

#include <gtest/gtest.h>

namespace orvalen {
namespace {

TEST(DpiScale, RoundsHalfAwayFromZeroAsMulDiv) {
  struct Case {
    int32_t pixels, dpi, scaled;
  };
  const Case cases[] = {
      {12, 96, 12},  {12, 144, 18}, {13, 144, 20},  // 19.5 rounds up
      {13, 120, 16}, {4, 144, 6},   {16, 120, 20},  // 16.25 rounds down
      {-12, 144, -18}, {-13, 144, -20},             // character heights
      {12, 0, 12},   {0, 144, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
}

}  // namespace
}  // namespace orvalen
