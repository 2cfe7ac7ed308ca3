#include "tests/imaging/pixel_reference.h"

#include <cmath>
#include <cstring>

namespace orvalen::test {

TestImage::TestImage(int32_t width, int32_t height, int32_t bitsPerPixel) {
  const int32_t stride = DibView::StrideFor(width, bitsPerPixel);
  bytes.assign(static_cast<size_t>(stride) * static_cast<size_t>(height > 0 ? height : 0), 0);
  view = DibView{bytes.data(), width, height, bitsPerPixel, stride};
}

void TestImage::FillRandom(uint32_t seed) {
  uint32_t state = seed * 2654435761u + 1;
  for (auto& b : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    b = static_cast<uint8_t>(state >> 24);
  }
}

void TestImage::Fill(uint8_t value) { std::memset(bytes.data(), value, bytes.size()); }

namespace {

int32_t Extent16(int32_t v) {
  const int32_t low = static_cast<uint16_t>(v);
  return low == 0 ? 1 : low;
}

// Blue, green, red of source pixel (x, y) at byte (x * bits per pixel) / 8.
void ReadSource(const DibView& src, int32_t x, int32_t y, int out[3]) {
  const uint8_t* p = src.Row(y) + (static_cast<int64_t>(x) * src.bitsPerPixel) / 8;
  if (src.bitsPerPixel == 16) {
    const int v = p[0] | (p[1] << 8);
    const int c[3] = {v & 31, (v >> 5) & 31, (v >> 10) & 31};
    for (int i = 0; i < 3; ++i) out[i] = (c[i] << 3) | (c[i] >> 2);
  } else {
    for (int i = 0; i < 3; ++i) out[i] = p[i];
  }
}

}  // namespace

void ReferenceResampleSimple(const DibView& src, const DibView& dst) {
  const int32_t tw = Extent16(dst.width);
  const int32_t th = Extent16(dst.height);
  const float sx = static_cast<long double>(src.width) / tw;
  const float sy = static_cast<long double>(src.height) / th;
  for (int32_t x = 0; x < tw; ++x) {
    for (int32_t y = 0; y < th; ++y) {
      int c[3];
      ReadSource(src, static_cast<int32_t>(x * static_cast<long double>(sx)),
                 static_cast<int32_t>(y * static_cast<long double>(sy)), c);
      uint8_t* d = dst.Pixel(x, y);
      for (int i = 0; i < 3; ++i) d[i] = static_cast<uint8_t>(c[i]);
    }
  }
}

void ReferenceResampleAccurate(const DibView& src, const DibView& dst) {
  const int32_t tw = Extent16(dst.width);
  const int32_t th = Extent16(dst.height);
  const float sx = static_cast<long double>(src.width) / tw;
  const float sy = static_cast<long double>(src.height) / th;
  std::vector<uint64_t> counter(static_cast<size_t>(tw) * th, 0);
  for (int32_t X = 0; X < src.width; ++X) {
    for (int32_t Y = 0; Y < src.height; ++Y) {
      const int64_t x = static_cast<int64_t>(X / static_cast<long double>(sx));
      const int64_t y = static_cast<int64_t>(Y / static_cast<long double>(sy));
      if (x >= tw || y >= th) continue;
      int c[3];
      ReadSource(src, X, Y, c);
      uint8_t* d = dst.Pixel(static_cast<int32_t>(x), static_cast<int32_t>(y));
      uint64_t& n = counter[static_cast<size_t>(y) * tw + static_cast<size_t>(x)];
      if (n == 0) {
        for (int i = 0; i < 3; ++i) d[i] = static_cast<uint8_t>(c[i]);
      } else {
        const float a = static_cast<float>(n + 1);
        const float b = static_cast<float>(a + 1.0L);
        for (int i = 0; i < 3; ++i) {
          d[i] = static_cast<uint8_t>(static_cast<int>(d[i] * (static_cast<long double>(a) / b) +
                                                       c[i] / static_cast<long double>(b)));
        }
      }
      ++n;
    }
  }
}

void ReferenceEdges(const DibView& work, int32_t edges) {
  if (edges != 1 && edges != 2) return;
  const int32_t tw = work.width;
  const int32_t th = work.height;
  auto treat = [&](int32_t column, int32_t pictureRow, int32_t d) {
    if (column < 0 || column >= tw || pictureRow < 0 || pictureRow >= th) return;
    const long double g =
        d == 0 ? 0.0L : std::pow(static_cast<long double>(static_cast<float>(d / 30.0L)), static_cast<long double>(0.3));
    uint8_t* p = work.Pixel(column, th - 1 - pictureRow);
    for (int i = 0; i < 3; ++i) {
      p[i] = static_cast<uint8_t>(edges == 1 ? static_cast<int>(g * p[i])
                                             : static_cast<int>(g * (p[i] - 205) + 205));
    }
  };
  for (int32_t k = 0; k <= 29; ++k)
    for (int32_t c = k; c <= tw - 1 - k; ++c) treat(c, k, k + 1);
  for (int32_t k = 0; k <= 28; ++k)
    for (int32_t r = k + 1; r <= th - 2 - k; ++r) treat(k, r, k);
  for (int32_t k = 0; k <= 28; ++k)
    for (int32_t c = k; c <= tw - 1 - k; ++c) treat(c, th - 1 - k, k);
  for (int32_t k = 0; k <= 29; ++k)
    for (int32_t r = k + 1; r <= th - 2 - k; ++r) treat(tw - 1 - k, r, k + 1);
}

void ReferencePixelPass(const DibView& work, const ReferencePass& pass) {
  static const double m[4] = {0.4, 0.6, 0.8, 0.9};
  static const double s[4] = {0.7, 0.5, 0.3, 0.1};
  static const double w[4] = {0.3, 0.5, 0.7, 0.9};
  GammaTable identity;
  for (int32_t x = 0; x < work.width; ++x) {
    for (int32_t y = 0; y < work.height; ++y) {
      uint8_t* p = work.Pixel(x, y);
      int b = p[0], g = p[1], r = p[2];
      ApplyGamma(r, g, b, pass.gamma != nullptr ? *pass.gamma : identity);
      ApplyBrightness(r, g, b, pass.brightness);
      ApplyGray(r, g, b, pass.grayscale);
      const int P[3] = {b, g, r};
      for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>(P[i]);
      for (int k = 0; k < 4; ++k) {
        if (pass.transition == 2) {
          uint8_t* f = pass.frames[k].Pixel(x, y);
          for (int i = 0; i < 3; ++i) f[i] = static_cast<uint8_t>(static_cast<int>(P[i] * static_cast<long double>(m[k])));
        } else if (pass.transition == 1) {
          uint8_t* f = pass.frames[k].Pixel(x, y);
          const uint8_t* S = pass.oldScreen->Pixel(x, y);
          for (int i = 0; i < 3; ++i) {
            f[i] = static_cast<uint8_t>(static_cast<int>(S[i] * static_cast<long double>(s[k]) +
                                                         P[i] * static_cast<long double>(w[k])));
          }
        }
      }
    }
  }
}

}  // namespace orvalen::test
