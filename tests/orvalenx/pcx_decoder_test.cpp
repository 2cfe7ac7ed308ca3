#include "orvalenx/pcx_decoder.h"

#include <gtest/gtest.h>

#include "orvalenx/file_kind.h"
#include "tests/orvalenx/dib_test_support.h"

namespace orvalen::test {
namespace {

// Encodes whole scan lines of planes, each plane padded to bytesPerLine.
Bytes EncodeLines(const std::vector<std::vector<Bytes>>& linesOfPlanes, uint16_t bytesPerLine) {
  Bytes data;
  for (const auto& planes : linesOfPlanes) {
    Bytes line;
    for (Bytes plane : planes) {
      plane.resize(bytesPerLine, 0);
      line.insert(line.end(), plane.begin(), plane.end());
    }
    const Bytes encoded = PcxEncodeLine(line);
    data.insert(data.end(), encoded.begin(), encoded.end());
  }
  return data;
}

PcxFields Fields(uint8_t bits, uint8_t planes, uint16_t width, uint16_t height, uint16_t bytesPerLine) {
  PcxFields f;
  f.bitsPerPixel = bits;
  f.planes = planes;
  f.xMin = 10;  // the picture need not start at 0
  f.xMax = static_cast<uint16_t>(10 + width - 1);
  f.yMin = 3;
  f.yMax = static_cast<uint16_t>(3 + height - 1);
  f.bytesPerLine = bytesPerLine;
  return f;
}

TEST(PcxDecoder, TwentyFourBitsInThreePlanes) {
  // 5 x 2, red, green and blue planes, lines padded to 6 bytes.
  const std::vector<std::vector<Bytes>> lines = {
      {{255, 0, 0, 10, 200}, {0, 255, 0, 20, 200}, {0, 0, 255, 30, 200}},
      {{1, 1, 1, 1, 0xC5}, {2, 2, 2, 2, 0xC6}, {3, 3, 3, 3, 0xC7}},  // runs and bytes >= 0xC0
  };
  CountingAllocator allocator;
  const Bytes file = PcxFile(Fields(8, 3, 5, 2, 6), EncodeLines(lines, 6));
  ASSERT_EQ(SniffFile(file), FileKind::kPcx);
  Result result(allocator, DecodePcxFile(file, allocator));
  ASSERT_TRUE(result.dib.Valid());
  EXPECT_EQ(result.dib.Bits(), 24);
  EXPECT_EQ(result.dib.Width(), 5);
  EXPECT_EQ(result.dib.Height(), 2);
  EXPECT_EQ(result.dib.ColorAt(0, 0), (Rgb{255, 0, 0}));
  EXPECT_EQ(result.dib.ColorAt(1, 0), (Rgb{0, 255, 0}));
  EXPECT_EQ(result.dib.ColorAt(2, 0), (Rgb{0, 0, 255}));
  EXPECT_EQ(result.dib.ColorAt(3, 0), (Rgb{10, 20, 30}));
  EXPECT_EQ(result.dib.ColorAt(4, 0), (Rgb{200, 200, 200}));
  EXPECT_EQ(result.dib.ColorAt(0, 1), (Rgb{1, 2, 3}));
  EXPECT_EQ(result.dib.ColorAt(4, 1), (Rgb{0xC5, 0xC6, 0xC7}));
  EXPECT_EQ(result.dib.RowFromTop(0)[15], 0);  // row padding
}

TEST(PcxDecoder, EightBitsTakeTheTrailingTableOrGreyLevels) {
  std::vector<Rgb> palette(256);
  palette[0] = {1, 2, 3};
  palette[7] = {70, 80, 90};
  palette[255] = {255, 128, 0};
  const Bytes data = EncodeLines({{{7, 0, 255}}, {{255, 255, 7}}}, 4);
  CountingAllocator allocator;
  {
    Result result(allocator, DecodePcxFile(PcxFile(Fields(8, 1, 3, 2, 4), data, &palette), allocator));
    ASSERT_TRUE(result.dib.Valid());
    EXPECT_EQ(result.dib.Bits(), 8);
    EXPECT_EQ(result.dib.ClrUsed(), 256u);
    EXPECT_EQ(result.dib.ColorAt(0, 0), (Rgb{70, 80, 90}));
    EXPECT_EQ(result.dib.ColorAt(1, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(result.dib.ColorAt(2, 0), (Rgb{255, 128, 0}));
    EXPECT_EQ(result.dib.ValueAt(2, 1), 7u);
  }
  {
    Result result(allocator, DecodePcxFile(PcxFile(Fields(8, 1, 3, 2, 4), data), allocator));
    ASSERT_TRUE(result.dib.Valid());
    EXPECT_EQ(result.dib.ColorAt(0, 0), (Rgb{7, 7, 7}));
    EXPECT_EQ(result.dib.ColorAt(0, 1), (Rgb{255, 255, 255}));
  }
  EXPECT_EQ(allocator.Outstanding(), 0u);
}

TEST(PcxDecoder, OneBitOnePlaneIsBlackAndWhite) {
  CountingAllocator allocator;
  PcxFields f = Fields(1, 1, 10, 1, 2);
  f.headerPalette = {{9, 9, 9}, {8, 8, 8}};  // ignored for monochrome
  Result result(allocator, DecodePcxFile(PcxFile(f, EncodeLines({{{0b10100000, 0b01000000}}}, 2)), allocator));
  ASSERT_TRUE(result.dib.Valid());
  EXPECT_EQ(result.dib.Bits(), 1);
  EXPECT_EQ(result.dib.TableEntry(0), (Rgb{0, 0, 0}));
  EXPECT_EQ(result.dib.TableEntry(1), (Rgb{255, 255, 255}));
  const uint32_t expected[10] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(result.dib.ValueAt(x, 0), expected[x]) << x;
}

TEST(PcxDecoder, BitPlanesCombineIntoFourBitIndices) {
  std::vector<Rgb> header;
  for (int i = 0; i < 16; ++i) header.push_back({static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i), 7});
  struct Case {
    const char* name;
    uint8_t bits, planes;
    std::vector<Bytes> planeBytes;   // one line, 4 pixels
    std::vector<uint32_t> expected;  // indices
    uint32_t colours;
  };
  const Case cases[] = {
      // Plane p holds bit p of the index: pixels 0b0001, 0b0010, 0b0100, 0b1111.
      {"EGA, four 1-bit planes", 1, 4, {{0b10010000}, {0b01010000}, {0b00110000}, {0b00010000}}, {1, 2, 4, 15}, 16},
      {"CGA, one 2-bit plane", 2, 1, {{0b00011011}}, {0, 1, 2, 3}, 4},
      {"two 2-bit planes", 2, 2, {{0b11000110}, {0b01100011}}, {7, 8, 1, 14}, 16},
      {"three 1-bit planes", 1, 3, {{0b11000000}, {0b10100000}, {0b10010000}}, {7, 1, 2, 4}, 8},
      {"one 4-bit plane", 4, 1, {{0x1F, 0x0A}}, {1, 15, 0, 10}, 16},
  };
  for (const Case& c : cases) {
    PcxFields f = Fields(c.bits, c.planes, 4, 1, 2);
    f.headerPalette = header;
    CountingAllocator allocator;
    Result result(allocator, DecodePcxFile(PcxFile(f, EncodeLines({c.planeBytes}, 2)), allocator));
    ASSERT_TRUE(result.dib.Valid()) << c.name;
    EXPECT_EQ(result.dib.Bits(), 4) << c.name;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(result.dib.ValueAt(x, 0), c.expected[x]) << c.name << " " << x;
    for (uint32_t i = 0; i < 16; ++i) {
      EXPECT_EQ(result.dib.TableEntry(i), i < c.colours ? header[i] : Rgb{}) << c.name << " entry " << i;
    }
  }
}

TEST(PcxDecoder, VersionThreeFilesUseTheDefaultEgaColours) {
  PcxFields f = Fields(4, 1, 2, 1, 2);
  f.version = 3;
  f.headerPalette = {{1, 1, 1}, {1, 1, 1}};
  CountingAllocator allocator;
  Result result(allocator, DecodePcxFile(PcxFile(f, EncodeLines({{{0x1E}}}, 2)), allocator));
  ASSERT_TRUE(result.dib.Valid());
  EXPECT_EQ(result.dib.ColorAt(0, 0), (Rgb{0, 0, 170}));
  EXPECT_EQ(result.dib.ColorAt(1, 0), (Rgb{255, 255, 85}));
}

TEST(PcxDecoder, RunsMayCrossLineEndsAndStoredRowsAreRead) {
  // Two 3-pixel lines of value 9 as one run of 8 bytes (lines are 4 bytes).
  CountingAllocator allocator;
  {
    Result result(allocator, DecodePcxFile(PcxFile(Fields(8, 1, 3, 2, 4), {0xC8, 9}), allocator));
    ASSERT_TRUE(result.dib.Valid());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(result.dib.ValueAt(x, y), 9u);
  }
  {
    PcxFields f = Fields(8, 1, 3, 2, 4);
    f.encoding = 0;
    Result result(allocator, DecodePcxFile(PcxFile(f, {1, 0xC2, 3, 0, 4, 5, 6, 0}), allocator));
    ASSERT_TRUE(result.dib.Valid());
    EXPECT_EQ(result.dib.ValueAt(1, 0), 0xC2u);
    EXPECT_EQ(result.dib.ValueAt(2, 1), 6u);
  }
}

// Long lines of literals, runs of every length and bytes of 0xC0 and above,
// encoded line by line and as one stream whose runs cross line ends.
TEST(PcxDecoder, LongMixedLinesDecodeExactly) {
  const int width = 301, height = 7;
  const uint16_t bytesPerLine = 302;
  std::vector<Bytes> lines;
  uint32_t seed = 12345;
  auto next = [&] { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7FFF; };
  for (int y = 0; y < height; ++y) {
    Bytes line;
    while (line.size() < 3u * bytesPerLine) {
      const uint8_t value = static_cast<uint8_t>(next());
      const size_t repeat = next() % 4 == 0 ? 1 + next() % 70 : 1;
      for (size_t k = 0; k < repeat && line.size() < 3u * bytesPerLine; ++k) line.push_back(value);
    }
    lines.push_back(line);
  }
  Bytes perLine, stream, all;
  for (const Bytes& line : lines) {
    const Bytes encoded = PcxEncodeLine(line);
    perLine.insert(perLine.end(), encoded.begin(), encoded.end());
    all.insert(all.end(), line.begin(), line.end());
  }
  stream = PcxEncodeLine(all);
  for (const Bytes* data : {&perLine, &stream}) {
    CountingAllocator allocator;
    Result result(allocator, DecodePcxFile(PcxFile(Fields(8, 3, width, height, bytesPerLine), *data), allocator));
    ASSERT_TRUE(result.dib.Valid());
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Rgb want{lines[y][x], lines[y][bytesPerLine + x], lines[y][2 * bytesPerLine + x]};
        ASSERT_EQ(result.dib.ColorAt(x, y), want) << x << "," << y << (data == &stream ? " stream" : " lines");
      }
    }
  }
  // Cut anywhere, the file gives nothing and leaves nothing.
  const Bytes file = PcxFile(Fields(8, 3, width, height, bytesPerLine), stream);
  for (size_t n = 128; n < file.size(); n += 7) {
    CountingAllocator allocator;
    EXPECT_EQ(DecodePcxFile(Bytes(file.begin(), file.begin() + n), allocator), nullptr) << n;
    EXPECT_EQ(allocator.Outstanding(), 0u);
  }
}

// Code streams no encoder of ours writes but a decoder must read: literals
// and runs in random mixes (long literal stretches, runs of 0 to 63, runs of
// one byte below 0xC0, long chains of codes whose values are 0xC0 or more),
// runs crossing line ends. The result must match a plain byte-at-a-time
// reading of the same stream.
// Rows of exactly 16 pixels fill their 48 bytes with no padding.
TEST(PcxDecoder, RandomCodeStreamsMatchAPlainReading) {
  uint32_t seed = 2024;
  auto next = [&](uint32_t below) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % below;
  };
  for (int round = 0; round < 40; ++round) {
    const int width = round % 4 == 0 ? 16 : 997, height = 9;
    const uint16_t bytesPerLine = static_cast<uint16_t>(width + (width & 1));
    const size_t needed = size_t{3} * bytesPerLine * height;
    Bytes stream, plain;
    while (plain.size() < needed) {
      // Each stretch of the stream favours one kind of code.
      const uint32_t style = next(5);
      for (uint32_t k = 0, n = 1 + next(200); k < n; ++k) {
        const bool run = style == 0 ? next(8) == 0 : style == 1 ? next(8) != 0 : next(2) == 0;
        if (!run) {
          const uint8_t literal = static_cast<uint8_t>(next(0xC0));
          stream.push_back(literal);
          plain.push_back(literal);
          continue;
        }
        const uint32_t count = style == 3 ? next(64) : style == 4 ? 1 + next(3) : 1 + next(16);
        const uint8_t value = static_cast<uint8_t>(style == 1 || style == 4 ? 0xC0 + next(64) : next(256));
        stream.push_back(static_cast<uint8_t>(0xC0 | count));
        stream.push_back(value);
        plain.insert(plain.end(), count, value);
      }
    }
    CountingAllocator allocator;
    Result result(allocator, DecodePcxFile(PcxFile(Fields(8, 3, width, height, bytesPerLine), stream), allocator));
    ASSERT_TRUE(result.dib.Valid()) << round;
    for (int y = 0; y < height; ++y) {
      const uint8_t* line = plain.data() + size_t{3} * bytesPerLine * y;
      for (int x = 0; x < width; ++x) {
        const Rgb want{line[x], line[bytesPerLine + x], line[2 * bytesPerLine + x]};
        ASSERT_EQ(result.dib.ColorAt(x, y), want) << "round " << round << " at " << x << "," << y;
      }
      if (width % 4 != 0) {
        ASSERT_EQ(result.dib.RowFromTop(y)[3 * width], 0) << "padding of row " << y;
      }
    }
  }
}

TEST(PcxDecoder, DamagedFilesGiveNothingAndLeakNothing) {
  const Bytes data = EncodeLines({{{1, 2, 3, 4}}, {{5, 6, 7, 8}}}, 4);
  const Bytes valid = PcxFile(Fields(8, 1, 4, 2, 4), data);
  {
    CountingAllocator allocator;
    void* block = DecodePcxFile(valid, allocator);
    ASSERT_NE(block, nullptr);
    allocator.FreeResult(block);
  }
  auto with = [&](auto change) {
    PcxFields f = Fields(8, 1, 4, 2, 4);
    change(f);
    return PcxFile(f, data);
  };
  struct Case {
    const char* name;
    Bytes file;
    bool mayAllocate;
  };
  const Case cases[] = {
      {"empty", {}, false},
      {"header cut", Bytes(valid.begin(), valid.begin() + 100), false},
      {"wrong magic", [&] { Bytes b = valid; b[0] = 0x0B; return b; }(), false},
      {"unknown version", [&] { Bytes b = valid; b[1] = 1; return b; }(), false},
      {"unknown encoding", [&] { Bytes b = valid; b[2] = 2; return b; }(), false},
      {"data cut", Bytes(valid.begin(), valid.end() - 1), true},
      {"header only", Bytes(valid.begin(), valid.begin() + 128), false},
      {"run cut after its count", [&] { Bytes b = PcxFile(Fields(8, 1, 4, 2, 4), {0xC4, 1, 0xC4}); return b; }(), true},
      {"xMax below xMin", with([](PcxFields& f) { f.xMax = 5; }), false},
      {"yMax below yMin", with([](PcxFields& f) { f.yMax = 1; }), false},
      {"line shorter than the row", with([](PcxFields& f) { f.bytesPerLine = 3; }), false},
      {"no planes", with([](PcxFields& f) { f.planes = 0; }), false},
      {"five planes", with([](PcxFields& f) { f.planes = 5; }), false},
      {"8 bits in 2 planes", with([](PcxFields& f) { f.planes = 2; }), false},
      {"4 bits in 2 planes", with([](PcxFields& f) { f.bitsPerPixel = 4; f.planes = 2; }), false},
      {"huge picture, tiny file", with([](PcxFields& f) { f.xMax = 30000; f.yMax = 30000; f.bytesPerLine = 30002; }), false},
      {"over the side limit", with([](PcxFields& f) { f.xMin = 0; f.xMax = 40000; f.bytesPerLine = 40002; }), false},
  };
  for (const Case& c : cases) {
    CountingAllocator allocator;
    EXPECT_EQ(DecodePcxFile(c.file, allocator), nullptr) << c.name;
    EXPECT_EQ(allocator.Outstanding(), 0u) << c.name;
    if (!c.mayAllocate) {
      EXPECT_EQ(allocator.Allocations(), 0u) << c.name;
    }
  }
}

}  // namespace
}  // namespace orvalen::test
