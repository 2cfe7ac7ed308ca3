#include "orvalenx/bmp_decoder.h"

#include <gtest/gtest.h>

#include <climits>

#include "orvalenx/file_kind.h"
#include "tests/orvalenx/dib_test_support.h"

namespace orvalen::test {
namespace {

Bytes Rgb24Row(const std::vector<Rgb>& pixels) {
  Bytes row;
  for (const Rgb& p : pixels) {
    row.push_back(p.b);
    row.push_back(p.g);
    row.push_back(p.r);
  }
  return row;
}

const std::vector<std::vector<Rgb>> kPicture = {
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}, {200, 100, 50}},
    {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {250, 251, 252}, {128, 128, 128}},
    {{0, 0, 0}, {255, 255, 255}, {90, 60, 30}, {33, 66, 99}, {17, 34, 51}},
};

TEST(BmpDecoder, TwentyFourBitsBottomUpAndTopDownGiveTheSamePaddedRows) {
  std::vector<Bytes> rows;
  for (const auto& r : kPicture) rows.push_back(Rgb24Row(r));
  Bytes bottomUp = StoreRows(rows);
  Bytes topDown;
  for (const Bytes& r : rows) {
    Bytes padded = r;
    padded.resize(16, 0xEE);  // stored padding is garbage; the result's must be 0
    topDown.insert(topDown.end(), padded.begin(), padded.end());
  }
  CountingAllocator allocator;
  for (bool down : {false, true}) {
    BmpFields f;
    f.width = 5;
    f.height = down ? -3 : 3;
    Result result(allocator, DecodeBmpFile(BmpFile(f, {}, down ? topDown : bottomUp), allocator));
    ASSERT_TRUE(result.dib.Valid()) << down;
    EXPECT_EQ(result.dib.Width(), 5);
    EXPECT_EQ(result.dib.Height(), 3);  // always stored bottom-up
    EXPECT_EQ(result.dib.Bits(), 24);
    EXPECT_EQ(result.dib.Info().stride, 16);
    EXPECT_EQ(result.dib.Info().colorCount, 0);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) EXPECT_EQ(result.dib.ColorAt(x, y), kPicture[y][x]) << x << "," << y;
      const uint8_t* row = result.dib.RowFromTop(y);
      EXPECT_EQ(row[15], 0);
    }
  }
  EXPECT_EQ(allocator.Outstanding(), 0u);
}

TEST(BmpDecoder, PaletteBitmapsKeepTheirTablePaddedToFullSize) {
  const std::vector<Rgb> colors = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
  struct Case {
    uint16_t bits;
    int32_t width;
  };
  for (const Case c : {Case{1, 13}, Case{4, 7}, Case{8, 5}}) {
    std::vector<Bytes> rows;
    std::vector<std::vector<uint32_t>> values;
    const uint32_t used = c.bits == 1 ? 2 : 3;
    for (int y = 0; y < 2; ++y) {
      std::vector<uint32_t> v;
      for (int x = 0; x < c.width; ++x) v.push_back((x + y) % used);
      values.push_back(v);
      rows.push_back(PackRow(v, c.bits));
    }
    std::vector<Rgb> table(colors.begin(), colors.begin() + used);
    BmpFields f;
    f.width = c.width;
    f.height = 2;
    f.bitsPerPixel = c.bits;
    f.clrUsed = used;
    CountingAllocator allocator;
    Result result(allocator, DecodeBmpFile(BmpFile(f, ColorTableBytes(table), StoreRows(rows)), allocator));
    ASSERT_TRUE(result.dib.Valid()) << c.bits;
    EXPECT_EQ(result.dib.Bits(), c.bits);
    EXPECT_EQ(result.dib.Info().colorCount, 1 << c.bits);
    EXPECT_EQ(result.dib.ClrUsed(), 1u << c.bits);
    for (uint32_t i = 0; i < used; ++i) EXPECT_EQ(result.dib.TableEntry(i), colors[i]);
    if (c.bits > 1) {
      EXPECT_EQ(result.dib.TableEntry((1 << c.bits) - 1), Rgb{});
    }
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < c.width; ++x) EXPECT_EQ(result.dib.ValueAt(x, y), values[y][x]) << c.bits << ":" << x;
  }
}

TEST(BmpDecoder, CoreHeaderUsesThreeByteColourEntries) {
  BmpFields f;
  f.headerSize = 12;
  f.width = 3;
  f.height = 1;
  f.bitsPerPixel = 8;
  std::vector<Rgb> table(256);
  table[0] = {1, 2, 3};
  table[7] = {200, 150, 100};
  CountingAllocator allocator;
  Result result(allocator,
                DecodeBmpFile(BmpFile(f, ColorTableBytes(table, 3), StoreRows({{7, 0, 7}})), allocator));
  ASSERT_TRUE(result.dib.Valid());
  EXPECT_EQ(result.dib.ColorAt(0, 0), (Rgb{200, 150, 100}));
  EXPECT_EQ(result.dib.ColorAt(1, 0), (Rgb{1, 2, 3}));
}

TEST(BmpDecoder, SixteenAndThirtyTwoBitsBecomeTwentyFour) {
  struct Case {
    const char* name;
    uint32_t headerSize;
    uint16_t bits;
    uint32_t compression;
    uint32_t masks[3];
    bool masksAfterHeader;
    std::vector<uint32_t> pixels;
    std::vector<Rgb> expected;
  };
  const Case cases[] = {
      {"555", 40, 16, 0, {0, 0, 0}, false,
       {0x7FFF, 0x001F, 0x7C00, 0x0200},
       {{255, 255, 255}, {0, 0, 255}, {255, 0, 0}, {0, 132, 0}}},
      {"565 masks after header", 40, 16, 3, {0xF800, 0x07E0, 0x001F}, true,
       {0xF800, 0x07E0, 0x0020, 0x0001},
       {{255, 0, 0}, {0, 255, 0}, {0, 4, 0}, {0, 0, 8}}},
      {"BGRX", 40, 32, 0, {0, 0, 0}, false,
       {0xFF112233, 0x00FFFFFF, 0x00000000, 0x00804020},
       {{0x11, 0x22, 0x33}, {255, 255, 255}, {0, 0, 0}, {0x80, 0x40, 0x20}}},
      {"10-10-10 in a V5 header", 124, 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF}, false,
       {0x3FF00000, 0x00080000 | 0x000003FF, 0x00000200, 0},
       {{255, 0, 0}, {0, 128, 255}, {0, 0, 128}, {0, 0, 0}}},
      {"V4 header, BI_RGB ignores its masks", 108, 32, 0, {0xFF, 0xFF00, 0xFF0000}, false,
       {0x00102030},
       {{0x10, 0x20, 0x30}}},
  };
  for (const Case& c : cases) {
    BmpFields f;
    f.headerSize = c.headerSize;
    f.width = static_cast<int32_t>(c.pixels.size());
    f.height = 1;
    f.bitsPerPixel = c.bits;
    f.compression = c.compression;
    Bytes masks;
    for (int i = 0; i < 3; ++i) {
      if (c.masksAfterHeader) {
        for (int k = 0; k < 4; ++k) masks.push_back(static_cast<uint8_t>(c.masks[i] >> (8 * k)));
      } else {
        f.masks[i] = c.masks[i];
      }
    }
    // A V4/V5 header carries the masks; a 40-byte one has them after it.
    Bytes row;
    for (uint32_t p : c.pixels)
      for (int k = 0; k < c.bits / 8; ++k) row.push_back(static_cast<uint8_t>(p >> (8 * k)));
    CountingAllocator allocator;
    Result result(allocator, DecodeBmpFile(BmpFile(f, {}, StoreRows({row}), masks), allocator));
    ASSERT_TRUE(result.dib.Valid()) << c.name;
    EXPECT_EQ(result.dib.Bits(), 24) << c.name;
    EXPECT_EQ(result.dib.Info().compression, kBiRgb) << c.name;
    for (size_t x = 0; x < c.expected.size(); ++x)
      EXPECT_EQ(result.dib.ColorAt(static_cast<int32_t>(x), 0), c.expected[x]) << c.name << " pixel " << x;
  }
}

TEST(BmpDecoder, Rle8RunsAbsoluteDeltaAndEndCodes) {
  // 6 x 4 picture, bottom row first in the stream.
  const Bytes stream = {
      3, 1, 0, 3, 2, 3, 4, 0,  // row 0: run of three 1s, absolute 2 3 4 (+pad)
      0, 0,                    // end of line
      8, 5,                    // row 1: run of 8 fives, clipped at the row end, no wrap
      0, 0,                    //
      0, 2, 2, 1,              // delta from row 2, x 0: right 2, up 1 -> row 3, x 2
      2, 9,                    // row 3: two 9s at x 2, 3; row 2 is skipped
      0, 1,                    // end of bitmap
  };
  BmpFields f;
  f.width = 6;
  f.height = 4;
  f.bitsPerPixel = 8;
  f.compression = 1;
  f.clrUsed = 10;
  std::vector<Rgb> table(10);
  for (int i = 0; i < 10; ++i) table[i] = {static_cast<uint8_t>(i * 20), 0, 0};
  CountingAllocator allocator;
  Result result(allocator, DecodeBmpFile(BmpFile(f, ColorTableBytes(table), stream), allocator));
  ASSERT_TRUE(result.dib.Valid());
  EXPECT_EQ(result.dib.Bits(), 8);
  EXPECT_EQ(result.dib.Info().compression, kBiRgb);
  const uint32_t expected[4][6] = {
      {0, 0, 9, 9, 0, 0},  // top row
      {0, 0, 0, 0, 0, 0},  // skipped by the delta: colour 0
      {5, 5, 5, 5, 5, 5},
      {1, 1, 1, 2, 3, 4},
  };
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(result.dib.ValueAt(x, y), expected[y][x]) << x << "," << y;
}

TEST(BmpDecoder, Rle4AlternatesNibblesAndPadsAbsoluteRuns) {
  const Bytes stream = {
      5, 0x12,              // 1 2 1 2 1
      0, 3, 0x34, 0x50,     // absolute 3 4 5, two data bytes (already even)
      0, 0,
      0, 5, 0xAB, 0xCD, 0xE0, 0,  // absolute a b c d e: three bytes padded to four
      0, 1,
  };
  BmpFields f;
  f.width = 8;
  f.height = 2;
  f.bitsPerPixel = 4;
  f.compression = 2;
  CountingAllocator allocator;
  Result result(allocator, DecodeBmpFile(BmpFile(f, ColorTableBytes(std::vector<Rgb>(16)), stream), allocator));
  ASSERT_TRUE(result.dib.Valid());
  const uint32_t bottom[8] = {1, 2, 1, 2, 1, 3, 4, 5};
  const uint32_t top[8] = {0xA, 0xB, 0xC, 0xD, 0xE, 0, 0, 0};
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(result.dib.ValueAt(x, 1), bottom[x]) << x;
    EXPECT_EQ(result.dib.ValueAt(x, 0), top[x]) << x;
  }
}

// Everything a run-length stream leaves out is 0 in the block, padding
// included: the end of the bitmap before the last row, a delta past the
// last row, and for 4 bits a run that starts in the second half of a byte
// after a skip (the blocks the test allocator hands out are not cleared).
TEST(BmpDecoder, RleLeavesEverythingItSkipsZero) {
  struct Case {
    const char* name;
    uint16_t bits;
    Bytes stream;
    std::vector<Bytes> rowsTopDown;  // the whole image, padding included
  };
  const Case cases[] = {
      {"8 bits, end of bitmap in row 1", 8, {2, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1},
       {Bytes(8, 0), Bytes(8, 0), {1, 2, 3, 0, 0, 0, 0, 0}, {7, 7, 0, 0, 0, 0, 0, 0}}},
      {"8 bits, delta past the last row", 8, {0, 2, 5, 1, 1, 4, 0, 2, 0, 9},
       {Bytes(8, 0), Bytes(8, 0), {0, 0, 0, 0, 0, 4, 0, 0}, Bytes(8, 0)}},
      {"4 bits, runs after skips of one pixel", 4, {0, 2, 1, 0, 3, 0xAB, 0, 2, 1, 1, 1, 0xC0, 0, 1},
       {Bytes(4, 0), Bytes(4, 0), {0, 0, 0x0C, 0}, {0x0A, 0xBA, 0, 0}}},
  };
  for (const Case& c : cases) {
    BmpFields f;
    f.width = 6;
    f.height = 4;
    f.bitsPerPixel = c.bits;
    f.compression = c.bits == 8 ? 1 : 2;
    CountingAllocator allocator;
    const std::vector<Rgb> table(c.bits == 8 ? 256 : 16);
    Result result(allocator, DecodeBmpFile(BmpFile(f, ColorTableBytes(table), c.stream), allocator));
    ASSERT_TRUE(result.dib.Valid()) << c.name;
    for (int y = 0; y < 4; ++y) {
      const Bytes row(result.dib.RowFromTop(y), result.dib.RowFromTop(y) + c.rowsTopDown[y].size());
      EXPECT_EQ(row, c.rowsTopDown[y]) << c.name << ", row " << y;
    }
  }
}

TEST(BmpDecoder, PackedDibWithoutFileHeader) {
  BmpFields f;
  f.width = 2;
  f.height = 2;
  f.bitsPerPixel = 8;
  f.clrUsed = 2;
  const Bytes file = PackedDibFile(f, ColorTableBytes({{9, 9, 9}, {200, 0, 100}}), StoreRows({{1, 0}, {0, 1}}));
  ASSERT_EQ(SniffFile(file), FileKind::kPackedDib);
  CountingAllocator allocator;
  Result result(allocator, DecodeOwnFormat(SniffFile(file), file, allocator));
  ASSERT_TRUE(result.dib.Valid());
  EXPECT_EQ(result.dib.ColorAt(0, 0), (Rgb{200, 0, 100}));
  EXPECT_EQ(result.dib.ColorAt(1, 0), (Rgb{9, 9, 9}));
  EXPECT_EQ(result.dib.ColorAt(1, 1), (Rgb{200, 0, 100}));
}

// Every damaged file gives nullptr and leaves no block behind. Those whose
// header claims a huge picture must not even try to allocate it.
TEST(BmpDecoder, DamagedFilesGiveNothingAndLeakNothing) {
  BmpFields good;
  good.width = 4;
  good.height = 2;
  good.bitsPerPixel = 8;
  good.clrUsed = 4;
  const Bytes table = ColorTableBytes(std::vector<Rgb>(4));
  const Bytes pixels = StoreRows({{0, 1, 2, 3}, {3, 2, 1, 0}});
  const Bytes valid = BmpFile(good, table, pixels);
  {
    CountingAllocator allocator;
    void* block = DecodeBmpFile(valid, allocator);
    ASSERT_NE(block, nullptr);
    allocator.FreeResult(block);
  }
  auto with = [&](auto change) {
    BmpFields f = good;
    change(f);
    return BmpFile(f, table, pixels);
  };
  auto rle = [&](uint32_t compression, const Bytes& stream, int32_t height = 2) {
    BmpFields f = good;
    f.compression = compression;
    f.height = height;
    if (compression == 2) f.bitsPerPixel = 4;
    return BmpFile(f, table, stream);
  };
  struct Case {
    const char* name;
    Bytes file;
    bool mayAllocate;
  };
  std::vector<Case> cases = {
      {"empty", {}, false},
      {"magic only", {'B', 'M'}, false},
      {"wrong magic", [&] { Bytes b = valid; b[1] = 'X'; return b; }(), false},
      {"truncated header", Bytes(valid.begin(), valid.begin() + 30), false},
      {"unknown header size", [&] { Bytes b = valid; b[14] = 20; return b; }(), false},
      {"width 0", with([](BmpFields& f) { f.width = 0; }), false},
      {"height 0", with([](BmpFields& f) { f.height = 0; }), false},
      {"negative width", with([](BmpFields& f) { f.width = -4; }), false},
      {"width over the limit", with([](BmpFields& f) { f.width = 40000; }), false},
      {"width whose 24-bit rows wrap a 32-bit size",
       with([](BmpFields& f) { f.width = 1431655765; f.bitsPerPixel = 24; f.clrUsed = 0; }), false},
      {"height INT_MIN", with([](BmpFields& f) { f.height = INT_MIN; }), false},
      {"block over 256 MiB", with([](BmpFields& f) { f.width = 30000; f.height = 30000; f.bitsPerPixel = 24; f.clrUsed = 0; }), false},
      {"rows far beyond the file", with([](BmpFields& f) { f.width = 20000; f.height = 10000; }), false},
      {"2 bits per pixel", with([](BmpFields& f) { f.bitsPerPixel = 2; }), false},
      {"0 bits per pixel", with([](BmpFields& f) { f.bitsPerPixel = 0; }), false},
      {"embedded JPEG", with([](BmpFields& f) { f.compression = 4; }), false},
      {"bitfields on 8 bits", with([](BmpFields& f) { f.compression = 3; }), false},
      {"RLE8 on 24 bits", with([](BmpFields& f) { f.compression = 1; f.bitsPerPixel = 24; f.clrUsed = 0; }), false},
      {"colour count over 256", with([](BmpFields& f) { f.clrUsed = 257; }), false},
      {"offset beyond the file", with([](BmpFields& f) { f.offBits = 100000; }), false},
      {"offset inside the header", with([](BmpFields& f) { f.offBits = 20; }), false},
      {"offset inside the colour table", with([](BmpFields& f) { f.offBits = 14 + 40 + 8; }), false},
      {"last row cut short", Bytes(valid.begin(), valid.end() - 1), true},
      {"colour table cut short", Bytes(valid.begin(), valid.begin() + 14 + 40 + 10), false},
      {"bitfield masks missing", [&] {
         BmpFields f = good;
         f.bitsPerPixel = 16;
         f.compression = 3;
         f.clrUsed = 0;
         return BmpFile(f, {}, {});
       }(), false},
      {"RLE8 bottom-up only", rle(1, {0, 1}, -2), false},
      {"RLE8 without end code", rle(1, {4, 1, 0, 0, 4, 2}), true},
      {"RLE8 absolute run cut", rle(1, {0, 4, 1, 2}), true},
      {"RLE8 delta cut", rle(1, {0, 2, 1}), true},
      {"RLE4 odd stream", rle(2, {4}), false},
  };
  for (const Case& c : cases) {
    CountingAllocator allocator;
    EXPECT_EQ(DecodeBmpFile(c.file, allocator), nullptr) << c.name;
    EXPECT_EQ(allocator.Outstanding(), 0u) << c.name;
    if (!c.mayAllocate) {
      EXPECT_EQ(allocator.Allocations(), 0u) << c.name;
    }
  }
}

TEST(BmpDecoder, NoMemoryGivesNothing) {
  BmpFields f;
  f.width = 2;
  f.height = 1;
  CountingAllocator allocator;
  allocator.RefuseAbove(0);
  EXPECT_EQ(DecodeBmpFile(BmpFile(f, {}, StoreRows({Bytes(6, 1)})), allocator), nullptr);
}

}  // namespace
}  // namespace orvalen::test
