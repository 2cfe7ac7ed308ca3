#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>

#include "orvalenx/color_histogram.h"
#include "orvalenx/histogram_registry.h"
#include "orvalenx/nearest_color.h"
#include "orvalenx/palette_mapping.h"
#include "tests/orvalenx/dib_test_support.h"

namespace orvalen::test {
namespace {

uint32_t Pack(const Rgb& c) { return (static_cast<uint32_t>(c.r) << 16) | (c.g << 8) | c.b; }

// Smooth shading with fine noise, as photographs have.
uint32_t PhotoLike(int32_t x, int32_t y) {
  const double fx = x / 23.0, fy = y / 31.0;
  uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  const int noise = static_cast<int>((h >> 24) & 15) - 8;
  auto channel = [&](double v) { return static_cast<uint32_t>(std::clamp(v + noise, 0.0, 255.0)); };
  const uint32_t r = channel(128 + 100 * std::sin(fx) * std::cos(fy * 0.7));
  const uint32_t g = channel(120 + 90 * std::cos(fx * 0.5 + fy));
  const uint32_t b = channel(60 + 50 * std::sin(fy * 1.3) + x * 0.3);
  return (r << 16) | (g << 8) | b;
}

std::vector<RgbQuad> QuantizeDib(const Bytes& dib, int maxColors) {
  ColorHistogram histogram;
  EXPECT_TRUE(histogram.AddDib(dib.data(), dib.size()));
  RgbQuad palette[256];
  const int n = histogram.Quantize(maxColors, palette);
  return std::vector<RgbQuad>(palette, palette + n);
}

std::set<uint32_t> AsSet(const std::vector<RgbQuad>& palette) {
  std::set<uint32_t> s;
  for (const RgbQuad& q : palette) s.insert((static_cast<uint32_t>(q.red) << 16) | (q.green << 8) | q.blue);
  return s;
}

TEST(Quantizer, FewColoursComeBackExactlyAndMapExactly) {
  // 40 colours, each alone in its cell of the histogram.
  std::vector<Rgb> colors;
  for (int i = 0; i < 40; ++i) colors.push_back({static_cast<uint8_t>(i * 6), static_cast<uint8_t>(255 - i * 5), static_cast<uint8_t>((i * 97) % 256)});
  const Bytes dib = MakeDib(37, 11, 24, {}, [&](int32_t x, int32_t y) { return Pack(colors[(x + 3 * y) % 40]); });
  for (int maxColors : {40, 256, 1000}) {
    const auto palette = QuantizeDib(dib, maxColors);
    ASSERT_EQ(palette.size(), 40u) << maxColors;
    std::set<uint32_t> expected;
    for (const Rgb& c : colors) expected.insert(Pack(c));
    EXPECT_EQ(AsSet(palette), expected);
    CountingAllocator allocator;
    void* mapped = MapToPalette(dib.data(), dib.size(), palette, allocator);
    ASSERT_NE(mapped, nullptr);
    const DecodedDib out(mapped, allocator.SizeOf(mapped));
    EXPECT_EQ(out.Bits(), 8);
    EXPECT_EQ(out.ClrUsed(), 40u);
    EXPECT_EQ(RmsError(dib, mapped, allocator.SizeOf(mapped)), 0.0);
    EXPECT_EQ(out.RowFromTop(0)[37], 0);  // row padding
    allocator.FreeResult(mapped);
  }
}

TEST(Quantizer, PaletteSourcesCountTheirUsedColours) {
  std::vector<Rgb> table(256);
  for (int i = 0; i < 256; ++i) table[i] = {static_cast<uint8_t>((i % 16) * 16), static_cast<uint8_t>((i / 16) * 16), 77};
  // Only entries 0..99 appear.
  const Bytes dib = MakeDib(20, 20, 8, table, [](int32_t x, int32_t y) { return static_cast<uint32_t>((x * 20 + y) % 100); });
  const auto palette = QuantizeDib(dib, 256);
  ASSERT_EQ(palette.size(), 100u);
  std::set<uint32_t> expected;
  for (int i = 0; i < 100; ++i) expected.insert(Pack(table[i]));
  EXPECT_EQ(AsSet(palette), expected);
}

TEST(Quantizer, KeepsToTheMaximumAndReportsNothingForNothing) {
  const Bytes dib = MakeDib(64, 48, 24, {}, PhotoLike);
  EXPECT_EQ(QuantizeDib(dib, 16).size(), 16u);
  EXPECT_EQ(QuantizeDib(dib, 1).size(), 1u);
  EXPECT_EQ(QuantizeDib(dib, 256).size(), 256u);
  EXPECT_EQ(QuantizeDib(dib, 0).size(), 0u);
  ColorHistogram empty;
  RgbQuad palette[256];
  EXPECT_EQ(empty.Quantize(256, palette), 0);
}

TEST(Quantizer, PhotoLikePictureKeepsItsLook) {
  const Bytes dib = MakeDib(320, 240, 24, {}, PhotoLike);
  const auto palette = QuantizeDib(dib, 256);
  CountingAllocator allocator;
  void* mapped = MapToPalette(dib.data(), dib.size(), palette, allocator);
  ASSERT_NE(mapped, nullptr);
  // A plain median cut on this picture is about 9 off; a careless inverse map
  // or a broken refinement shows up here first.
  EXPECT_LT(RmsError(dib, mapped, allocator.SizeOf(mapped)), 7.5);
  allocator.FreeResult(mapped);
  // A 1-bit source is counted too.
  const Bytes mono = MakeDib(9, 3, 1, {{0, 0, 0}, {255, 255, 255}}, [](int32_t x, int32_t) { return x % 3 == 0 ? 1u : 0u; });
  const auto two = QuantizeDib(mono, 256);
  EXPECT_EQ(AsSet(two), (std::set<uint32_t>{0, 0xFFFFFF}));
}

double Distance(const RgbQuad& p, uint8_t r, uint8_t g, uint8_t b) {
  return std::sqrt(double((p.red - r) * (p.red - r) + (p.green - g) * (p.green - g) + (p.blue - b) * (p.blue - b)));
}

// The inverse map's answer is at most kMaxExtraDistance farther than the
// nearest entry, and exact for the palette's own colours (the lowest index
// among equal entries).
TEST(NearestColor, MapStaysWithinItsBoundAndKeepsPaletteColours) {
  std::mt19937 random(7);
  auto byte = [&] { return static_cast<uint8_t>(random() & 255); };
  std::vector<std::vector<RgbQuad>> palettes;
  palettes.push_back({MakeQuad(10, 20, 30)});
  palettes.push_back({MakeQuad(0, 0, 0), MakeQuad(255, 255, 255)});
  // Near neighbours within one cell, and duplicates.
  palettes.push_back({MakeQuad(100, 100, 100), MakeQuad(101, 100, 100), MakeQuad(100, 101, 101), MakeQuad(101, 100, 100), MakeQuad(0, 0, 0)});
  for (size_t size : {17, 256}) {
    std::vector<RgbQuad> p;
    for (size_t i = 0; i < size; ++i) p.push_back(MakeQuad(byte(), byte(), byte()));
    palettes.push_back(p);
  }
  std::vector<RgbQuad> dense;  // all in a small region: many boundaries per cell
  for (int i = 0; i < 256; ++i) dense.push_back(MakeQuad(static_cast<uint8_t>(96 + (random() % 24)), static_cast<uint8_t>(96 + (random() % 24)), static_cast<uint8_t>(96 + (random() % 24))));
  palettes.push_back(dense);
  double worst = 0;
  for (const auto& palette : palettes) {
    NearestColorMap map(palette);
    auto check = [&](uint8_t r, uint8_t g, uint8_t b) {
      const uint8_t got = map.Nearest(r, g, b);
      const uint8_t best = NearestColorMap::NearestByScan(palette, r, g, b);
      const double extra = Distance(palette[got], r, g, b) - Distance(palette[best], r, g, b);
      worst = std::max(worst, extra);
      ASSERT_LE(extra, NearestColorMap::kMaxExtraDistance) << palette.size() << " " << int(r) << "," << int(g) << "," << int(b);
    };
    for (int i = 0; i < 60000; ++i) check(byte(), byte(), byte());
    for (int r = 88; r < 128; ++r)
      for (int g = 88; g < 128; ++g)
        for (int b = 92; b < 104; ++b) check(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
    for (const RgbQuad& c : palette) {
      EXPECT_EQ(map.Nearest(c.red, c.green, c.blue), NearestColorMap::NearestByScan(palette, c.red, c.green, c.blue));
    }
  }
  EXPECT_GT(worst, 0.0);  // the bound is used, not met by accident of an exact map
}

TEST(PaletteMapping, EverySourceLayoutMapsToTheNearestColour) {
  const std::vector<RgbQuad> palette = {MakeQuad(0, 0, 0), MakeQuad(255, 0, 0), MakeQuad(0, 0, 255), MakeQuad(250, 250, 250)};
  struct Case {
    const char* name;
    Bytes dib;
    std::vector<uint32_t> expected;  // per pixel of the top row
  };
  const Bytes fieldsMasks = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};  // 5-6-5
  const Case cases[] = {
      {"1 bit", MakeDib(3, 1, 1, {{250, 0, 0}, {0, 0, 200}}, [](int32_t x, int32_t) { return x == 1 ? 1u : 0u; }), {1, 2, 1}},
      {"4 bits", MakeDib(3, 1, 4, {{1, 1, 1}, {240, 240, 255}, {0, 0, 0}}, [](int32_t x, int32_t) { return static_cast<uint32_t>(x); }), {0, 3, 0}},
      {"8 bits, value past the table is black", MakeDib(2, 1, 8, {{255, 10, 10}}, [](int32_t x, int32_t) { return x == 0 ? 0u : 200u; }), {1, 0}},
      {"16 bits 5-5-5", MakeDib(3, 1, 16, {}, [](int32_t x, int32_t) { return x == 0 ? 0x7C00u : x == 1 ? 0x001Fu : 0x7FFFu; }), {1, 2, 3}},
      {"16 bits 5-6-5 bitfields", MakeDib(2, 1, 16, {}, [](int32_t x, int32_t) { return x == 0 ? 0xF800u : 0x001Fu; }, 3, fieldsMasks), {1, 2}},
      {"24 bits", MakeDib(2, 1, 24, {}, [](int32_t x, int32_t) { return x == 0 ? 0xF00000u : 0x101010u; }), {1, 0}},
      {"32 bits", MakeDib(2, 1, 32, {}, [](int32_t x, int32_t) { return x == 0 ? 0x000000F0u : 0xFFFFFFFFu; }), {2, 3}},
  };
  for (const Case& c : cases) {
    CountingAllocator allocator;
    void* mapped = MapToPalette(c.dib.data(), c.dib.size(), palette, allocator);
    ASSERT_NE(mapped, nullptr) << c.name;
    const DecodedDib out(mapped, allocator.SizeOf(mapped));
    for (size_t x = 0; x < c.expected.size(); ++x) EXPECT_EQ(out.ValueAt(static_cast<int32_t>(x), 0), c.expected[x]) << c.name << " " << x;
    EXPECT_EQ(out.TableEntry(3), (Rgb{250, 250, 250}));
    allocator.FreeResult(mapped);
  }
}

TEST(PaletteMapping, RefusesWhatItCannotRead) {
  const std::vector<RgbQuad> palette = {MakeQuad(1, 2, 3)};
  const Bytes dib = MakeDib(4, 4, 24, {}, [](int32_t, int32_t) { return 0u; });
  CountingAllocator allocator;
  EXPECT_EQ(MapToPalette(dib.data(), dib.size(), {}, allocator), nullptr);
  EXPECT_EQ(MapToPalette(dib.data(), dib.size() - 1, palette, allocator), nullptr);  // rows cut
  EXPECT_EQ(MapToPalette(nullptr, 0, palette, allocator), nullptr);
  Bytes badHeader = dib;
  badHeader[0] = 12;
  EXPECT_EQ(MapToPalette(badHeader.data(), badHeader.size(), palette, allocator), nullptr);
  allocator.RefuseAbove(0);
  EXPECT_EQ(MapToPalette(dib.data(), dib.size(), palette, allocator), nullptr);
  EXPECT_EQ(allocator.Outstanding(), 0u);
  ColorHistogram histogram;
  EXPECT_FALSE(histogram.AddDib(badHeader.data(), badHeader.size()));
  EXPECT_EQ(histogram.PixelCount(), 0u);
}

TEST(LogPalette, WritesVersionCountAndEntriesAndReadsThemBack) {
  uint8_t buffer[kLogPaletteBytes];
  const std::vector<RgbQuad> colors = {MakeQuad(1, 2, 3), MakeQuad(250, 251, 252)};
  WriteLogPalette(buffer, colors);
  const uint8_t expected[] = {0x00, 0x03, 2, 0, 1, 2, 3, 0, 250, 251, 252, 0};
  EXPECT_EQ(0, std::memcmp(buffer, expected, sizeof expected));
  EXPECT_EQ(ReadLogPalette(buffer), colors);
  buffer[2] = 0;
  EXPECT_TRUE(ReadLogPalette(buffer).empty());
  buffer[2] = 1;
  buffer[3] = 1;  // 257 entries do not fit the buffer
  EXPECT_TRUE(ReadLogPalette(buffer).empty());
  EXPECT_TRUE(ReadLogPalette(nullptr).empty());
}

TEST(HistogramRegistry, HandlesAreNeverZeroAndDieOnce) {
  HistogramRegistry registry;
  const uint32_t a = registry.Create();
  const uint32_t b = registry.Create();
  EXPECT_NE(a, 0u);
  EXPECT_NE(b, 0u);
  EXPECT_NE(a, b);
  bool found = false;
  EXPECT_TRUE(registry.With(a, [&](ColorHistogram&) { found = true; }));
  EXPECT_TRUE(found);
  registry.Destroy(a);
  registry.Destroy(a);  // twice is harmless
  registry.Destroy(0);
  registry.Destroy(12345);
  EXPECT_FALSE(registry.With(a, [](ColorHistogram&) {}));
  EXPECT_FALSE(registry.With(0, [](ColorHistogram&) {}));
  EXPECT_EQ(registry.LiveCount(), 1u);
  EXPECT_NE(registry.Create(), a);  // not reused
}

}  // namespace
}  // namespace orvalen::test
