#pragma once
// Per-pixel colour adjustment of the saver: gamma curve, brightness and grey.
// Each operation takes the red, green and blue values of one pixel (0 to 255)
// and changes them in place. The saver builds the gamma table and the
// brightness factor once when it starts.
#include <array>
#include <cstdint>

namespace orvalen {

struct GammaTable {
  std::array<int32_t, 256> entry{};
  // VALUE_GAMMA is 100 (or was 0 or below): the curve is left out entirely.
  bool identity = true;
};

// entry i = trunc(pow(i / 255, 100 / valueGamma) * 255). A valueGamma of 0 or
// below is taken as 100, no change.
GammaTable BuildGammaTable(int32_t valueGamma);

// The factor ApplyBrightness uses: e = b + 100 for b < 0, else b - 100;
// f = e * 0.01 in single precision, 0 when |f| > 0.99.
float BrightnessFactor(int32_t valueBright);

void ApplyGamma(int& r, int& g, int& b, const GammaTable& table);
// f > 0 darkens (c = f * c), f < 0 lightens toward white, 0 changes nothing.
void ApplyBrightness(int& r, int& g, int& b, float f);
// y = (30 r + 59 g + 11 b) div 100 into all three channels.
void ApplyGray(int& r, int& g, int& b, bool grayscale);

// One channel through gamma and brightness: the composition the pixel pass
// looks up per channel.
std::array<uint8_t, 256> BuildToneTable(const GammaTable& gamma, float brightness);

}  // namespace orvalen
