#include "imaging/color_adjust.h"

#include <cmath>

namespace orvalen {

namespace {

int ClampChannel(int c) { return c < 0 ? 0 : (c > 255 ? 255 : c); }

int BrightChannel(int c, float f) {
  if (f > 0) return static_cast<int>(f * static_cast<long double>(c));
  return static_cast<int>(f * static_cast<long double>(255 - c) + 255);
}

}  // namespace

GammaTable BuildGammaTable(int32_t valueGamma) {
  GammaTable table;
  if (valueGamma <= 0) valueGamma = 100;
  table.identity = valueGamma == 100;
  const double exponent = static_cast<double>(100.0L / valueGamma);
  const long double step = 1.0L / 255;
  for (int i = 0; i < 256; ++i) {
    table.entry[i] = static_cast<int32_t>(std::pow(i * step, static_cast<long double>(exponent)) * 255);
  }
  return table;
}

float BrightnessFactor(int32_t valueBright) {
  const int32_t e = valueBright < 0 ? valueBright + 100 : valueBright - 100;
  float f = static_cast<float>(e * static_cast<long double>(0.01));
  if (f > 0.99 || f < -0.99) f = 0;
  return f;
}

void ApplyGamma(int& r, int& g, int& b, const GammaTable& table) {
  if (table.identity) return;
  r = table.entry[ClampChannel(r)];
  g = table.entry[ClampChannel(g)];
  b = table.entry[ClampChannel(b)];
}

void ApplyBrightness(int& r, int& g, int& b, float f) {
  if (f == 0) return;
  r = BrightChannel(ClampChannel(r), f);
  g = BrightChannel(ClampChannel(g), f);
  b = BrightChannel(ClampChannel(b), f);
}

void ApplyGray(int& r, int& g, int& b, bool grayscale) {
  if (!grayscale) return;
  const int y = (30 * r + 59 * g + 11 * b) / 100;
  r = g = b = y;
}

std::array<uint8_t, 256> BuildToneTable(const GammaTable& gamma, float brightness) {
  std::array<uint8_t, 256> tone{};
  for (int c = 0; c < 256; ++c) {
    int r = c, g = c, b = c;
    ApplyGamma(r, g, b, gamma);
    ApplyBrightness(r, g, b, brightness);
    tone[c] = static_cast<uint8_t>(ClampChannel(r));
  }
  return tone;
}

}  // namespace orvalen
