#include "imaging/color_adjust.h"

#include <gtest/gtest.h>

#include <cmath>

namespace orvalen {
namespace {

struct Rgb {
  int r, g, b;
};

Rgb Bright(Rgb c, int32_t valueBright) {
  ApplyBrightness(c.r, c.g, c.b, BrightnessFactor(valueBright));
  return c;
}

TEST(ArithmeticTest, ProductsAreFormedInExtendedPrecision) {
  // At run time, not folded by the compiler: with only double precision
  // (or an x87 set to 53 bits) 0.6 * 200 would round up to 120.
  volatile int n = 200;
  volatile double six = 0.6;
  EXPECT_EQ(static_cast<int>(six * static_cast<long double>(n)), 119);
  volatile long double one = 1;
  EXPECT_NE(one + 0x1p-63L, one);
}

TEST(BrightnessTest, FactorsOfTheSettingsRange) {
  EXPECT_EQ(BrightnessFactor(-50), 0.5f);
  EXPECT_EQ(BrightnessFactor(50), -0.5f);
  EXPECT_EQ(BrightnessFactor(-20), 0.8f);
  EXPECT_EQ(BrightnessFactor(25), -0.75f);
  // |f| reaches 0.99 (0.99f lies above the double 0.99) or f is 0.
  for (int32_t v : {-1, 0, 1, 100}) EXPECT_EQ(BrightnessFactor(v), 0.0f) << v;
  EXPECT_EQ(BrightnessFactor(-2), 0.98f);
}

TEST(BrightnessTest, DarkensAndLightens) {
  const Rgb dark = Bright({201, 0, 255}, -50);
  EXPECT_EQ(dark.r, 100);
  EXPECT_EQ(dark.g, 0);
  EXPECT_EQ(dark.b, 127);
  const Rgb light = Bright({100, 0, 255}, 50);
  EXPECT_EQ(light.r, 177);  // trunc(-0.5 * 155 + 255) = trunc(177.5)
  EXPECT_EQ(light.g, 127);
  EXPECT_EQ(light.b, 255);
}

TEST(BrightnessTest, NeutralSettingsLeaveEveryValue) {
  for (int32_t v : {-1, 0, 1, 100}) {
    for (int c = 0; c < 256; ++c) {
      const Rgb out = Bright({c, 255 - c, c / 2}, v);
      ASSERT_EQ(out.r, c);
      ASSERT_EQ(out.g, 255 - c);
      ASSERT_EQ(out.b, c / 2);
    }
  }
}

TEST(GammaTest, WorkedValues) {
  const GammaTable g50 = BuildGammaTable(50);  // exponent 2
  EXPECT_FALSE(g50.identity);
  EXPECT_EQ(g50.entry[128], 64);
  EXPECT_EQ(g50.entry[200], 156);
  const GammaTable g150 = BuildGammaTable(150);
  EXPECT_EQ(g150.entry[128], 161);
  int r = 128, g = 200, b = 0;
  ApplyGamma(r, g, b, g50);
  EXPECT_EQ(r, 64);
  EXPECT_EQ(g, 156);
  EXPECT_EQ(b, 0);
}

TEST(GammaTest, EndsMapToThemselvesAndTheCurveNeverFalls) {
  for (int32_t v = 1; v <= 400; ++v) {
    const GammaTable t = BuildGammaTable(v);
    ASSERT_EQ(t.entry[0], 0) << v;
    ASSERT_EQ(t.entry[255], 255) << v;
    for (int i = 1; i < 256; ++i) ASSERT_LE(t.entry[i - 1], t.entry[i]) << v << " " << i;
  }
}

TEST(GammaTest, OneHundredAndBelowZeroChangeNothing) {
  for (int32_t v : {100, 0, -5}) {
    const GammaTable t = BuildGammaTable(v);
    EXPECT_TRUE(t.identity) << v;
    for (int c = 0; c < 256; ++c) {
      int r = c, g = 255 - c, b = 7;
      ApplyGamma(r, g, b, t);
      ASSERT_EQ(r, c);
      ASSERT_EQ(g, 255 - c);
      ASSERT_EQ(b, 7);
    }
  }
}

TEST(GammaTest, ValuesStayClearOfTruncationBoundaries) {
  // The table comes from the C library's pow, which may differ between the
  // two builds in the last bit. Away from whole numbers such a difference
  // cannot change an entry (values near 0 stay above it and truncate to 0);
  // whole numbers arise only at the two ends.
  for (int32_t v = 1; v <= 400; ++v) {
    if (v == 100) continue;
    const long double exponent = static_cast<double>(100.0L / v);
    for (int i = 1; i < 255; ++i) {
      const long double x = std::pow(i * (1.0L / 255), exponent) * 255;
      if (std::round(x) == 0) continue;
      ASSERT_GT(std::fabs(x - std::round(x)), 1e-9L) << v << " " << i;
    }
  }
}

TEST(GammaTest, OutOfRangeChannelsAreClamped) {
  const GammaTable t = BuildGammaTable(50);
  int r = -3, g = 300, b = 128;
  ApplyGamma(r, g, b, t);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(b, 64);
}

TEST(GrayTest, WeightedSumInIntegers) {
  int r = 200, g = 100, b = 50;
  ApplyGray(r, g, b, true);
  EXPECT_EQ(r, 124);  // (6000 + 5900 + 550) div 100
  EXPECT_EQ(g, 124);
  EXPECT_EQ(b, 124);
  r = 255, g = 255, b = 255;
  ApplyGray(r, g, b, true);
  EXPECT_EQ(r, 255);
  r = 200, g = 100, b = 50;
  ApplyGray(r, g, b, false);
  EXPECT_EQ(r, 200);
  EXPECT_EQ(g, 100);
  EXPECT_EQ(b, 50);
}

}  // namespace
}  // namespace orvalen
