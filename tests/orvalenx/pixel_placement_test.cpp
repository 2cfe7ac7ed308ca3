#include "orvalenx/pixel_placement.h"

#include <gtest/gtest.h>

#include <cstring>

#include "orvalenx/exif_orientation.h"
#include "tests/orvalenx/dib_test_support.h"

namespace orvalen::test {
namespace {

// Places a source given as rows of pixel values and reads the result back as
// rows of values, top row first.
std::vector<std::vector<uint32_t>> Place(SourceFormat format, int orientation, const std::vector<Bytes>& rows,
                                        int32_t width) {
  const int32_t height = static_cast<int32_t>(rows.size());
  const bool swap = SwapsAxes(orientation);
  const int bits = OutputBitsPerPixel(format);
  const auto layout = PlanDib(swap ? height : width, swap ? width : height, bits, bits == 24 ? 0 : 1 << bits);
  EXPECT_TRUE(layout);
  CountingAllocator allocator;
  DibBlock dib = DibBlock::Create(allocator, *layout);
  std::memset(dib.Bits(), 0xAA, layout->imageBytes);  // what was there must not show
  OrientedWriter writer(format, orientation, width, height, dib);
  for (int32_t y = 0; y < height; ++y) writer.PlaceRow(y, rows[y].data());
  void* block = dib.Release();
  const DecodedDib out(block, layout->totalBytes);
  std::vector<std::vector<uint32_t>> values(out.Height(), std::vector<uint32_t>(out.Width()));
  for (int32_t y = 0; y < out.Height(); ++y)
    for (int32_t x = 0; x < out.Width(); ++x) values[y][x] = out.ValueAt(x, y);
  for (int32_t y = 0; y < out.Height(); ++y) {
    const uint8_t* row = out.RowFromTop(y);
    const size_t used = (static_cast<size_t>(out.Width()) * bits + 7) / 8;
    for (size_t k = used; k < static_cast<size_t>(out.Info().stride); ++k) EXPECT_EQ(row[k], 0) << "padding";
  }
  allocator.FreeResult(block);
  return values;
}

using Grid = std::vector<std::vector<uint32_t>>;

// The eight EXIF orientations of
//   a b c
//   d e f
// as they must be displayed.
const Grid kExpected[9] = {
    {},
    {{'a', 'b', 'c'}, {'d', 'e', 'f'}},
    {{'c', 'b', 'a'}, {'f', 'e', 'd'}},
    {{'f', 'e', 'd'}, {'c', 'b', 'a'}},
    {{'d', 'e', 'f'}, {'a', 'b', 'c'}},
    {{'a', 'd'}, {'b', 'e'}, {'c', 'f'}},
    {{'d', 'a'}, {'e', 'b'}, {'f', 'c'}},
    {{'f', 'c'}, {'e', 'b'}, {'d', 'a'}},
    {{'c', 'f'}, {'b', 'e'}, {'a', 'd'}},
};

TEST(OrientedWriter, AllEightOrientationsIn24And8Bits) {
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const Grid got8 = Place(SourceFormat::kIndexed8, orientation, {{'a', 'b', 'c'}, {'d', 'e', 'f'}}, 3);
    EXPECT_EQ(got8, kExpected[orientation]) << orientation;
    // 24 bits: blue carries the letter, green and red mark the bytes' order.
    std::vector<Bytes> rows = {{}, {}};
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) rows[y].insert(rows[y].end(), {static_cast<uint8_t>("abcdef"[3 * y + x]), 1, 2});
    const Grid got24 = Place(SourceFormat::kBgr24, orientation, rows, 3);
    Grid expected = kExpected[orientation];
    for (auto& row : expected)
      for (auto& v : row) v = 0x020100 | v;
    EXPECT_EQ(got24, expected) << orientation;
  }
}

TEST(OrientedWriter, SubBytePixelsTurnToo) {
  // 1 bit: a 9 x 2 picture with a marked corner, turned a quarter.
  const Grid mono = Place(SourceFormat::kBlackWhite, 6, {{0b10000000, 0b10000000}, {0, 0}}, 9);
  ASSERT_EQ(mono.size(), 9u);
  ASSERT_EQ(mono[0].size(), 2u);
  EXPECT_EQ(mono[0], (std::vector<uint32_t>{0, 1}));
  EXPECT_EQ(mono[8], (std::vector<uint32_t>{0, 1}));
  EXPECT_EQ(mono[4], (std::vector<uint32_t>{0, 0}));
  const Grid four = Place(SourceFormat::kIndexed4, 2, {{0x12, 0x30}}, 3);
  EXPECT_EQ(four, (Grid{{3, 2, 1}}));
}

// A GIF's first frame on its larger logical screen: background around it.
TEST(OrientedWriter, PlacesAFrameAtAnOffsetOnAFilledScreen) {
  const auto layout = PlanDib(5, 3, 4, 16);
  CountingAllocator allocator;
  DibBlock dib = DibBlock::Create(allocator, *layout);
  std::memset(dib.Bits(), 0xAA, layout->imageBytes);
  FillWithIndex(dib, 9);
  OrientedWriter writer(SourceFormat::kIndexed4, 1, 2, 2, dib);
  writer.SetOffset(1, 1);  // odd: the frame starts in the middle of a byte
  const Bytes rows[2] = {{0x12}, {0x34}};
  writer.PlaceRow(0, rows[0].data());
  writer.PlaceRow(1, rows[1].data());
  void* block = dib.Release();
  const DecodedDib out(block, layout->totalBytes);
  const uint32_t expected[3][5] = {{9, 9, 9, 9, 9}, {9, 1, 2, 9, 9}, {9, 3, 4, 9, 9}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(out.ValueAt(x, y), expected[y][x]) << x << "," << y;
    EXPECT_EQ(out.RowFromTop(y)[3], 0);  // padding
  }
  allocator.FreeResult(block);
}

TEST(SourceFormats, ConvertToTheOutputLayout) {
  EXPECT_EQ(Place(SourceFormat::kRgb24, 1, {{1, 2, 3}}, 1), (Grid{{0x010203}}));
  EXPECT_EQ(Place(SourceFormat::kBgrx32, 1, {{1, 2, 3, 4}}, 1), (Grid{{0x030201}}));
  EXPECT_EQ(Place(SourceFormat::kRgbx32, 1, {{1, 2, 3, 4}}, 1), (Grid{{0x010203}}));
  // 16-bit samples: value / 257 rounded (128 -> 0, 129 -> 1, 65535 -> 255).
  EXPECT_EQ(Place(SourceFormat::kGray16, 1, {{128, 0, 129, 0, 0xFF, 0xFF, 0x80, 0x80}}, 4), (Grid{{0, 1, 255, 128}}));
  EXPECT_EQ(Place(SourceFormat::kRgb48, 1, {{0xFF, 0xFF, 0, 0, 0x02, 0x01}}, 1), (Grid{{0xFF0001}}));
  EXPECT_EQ(Place(SourceFormat::kBgr48, 1, {{0xFF, 0xFF, 0, 0, 0x02, 0x01}}, 1), (Grid{{0x0100FF}}));
  EXPECT_EQ(Place(SourceFormat::kRgba64, 1, {{0, 0, 0xFF, 0xFF, 0, 0, 9, 9}}, 1), (Grid{{0x00FF00}}));
  EXPECT_EQ(Place(SourceFormat::kIndexed2, 1, {{0b00011011, 0b11000000}}, 5), (Grid{{0, 1, 2, 3, 3}}));
  RgbQuad table[256];
  WriteGrayTable(SourceFormat::kGray2, table);
  EXPECT_EQ(table[2], (RgbQuad{170, 170, 170, 0}));
  EXPECT_EQ(table[4], RgbQuad{});
  WriteGrayTable(SourceFormat::kGray4, table);
  EXPECT_EQ(table[1], (RgbQuad{17, 17, 17, 0}));
  WriteGrayTable(SourceFormat::kGray8, table);
  EXPECT_EQ(table[200], (RgbQuad{200, 200, 200, 0}));
  WriteGrayTable(SourceFormat::kBlackWhite, table);
  EXPECT_EQ(table[1], (RgbQuad{255, 255, 255, 0}));
}

Bytes Tiff(bool little, uint16_t tag, uint16_t type, uint32_t value) {
  auto u16 = [&](Bytes& b, uint16_t v) {
    if (little) b.insert(b.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
    else b.insert(b.end(), {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
  };
  auto u32 = [&](Bytes& b, uint32_t v) {
    if (little) { u16(b, static_cast<uint16_t>(v)); u16(b, static_cast<uint16_t>(v >> 16)); }
    else { u16(b, static_cast<uint16_t>(v >> 16)); u16(b, static_cast<uint16_t>(v)); }
  };
  Bytes b = little ? Bytes{'I', 'I', 42, 0} : Bytes{'M', 'M', 0, 42};
  u32(b, 8);
  u16(b, 2);
  u16(b, 256); u16(b, 3); u32(b, 1); u16(b, 5); u16(b, 0);  // width, an unrelated tag
  u16(b, tag); u16(b, type); u32(b, 1);
  if (type == 3) { u16(b, static_cast<uint16_t>(value)); u16(b, 0); } else { u32(b, value); }
  u32(b, 0);
  return b;
}

Bytes Jpeg(const Bytes& exifTiff, bool scanFirst = false) {
  Bytes j = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F'};  // a short APP0
  if (scanFirst) j.insert(j.end(), {0xFF, 0xDA, 0, 2});
  const size_t length = exifTiff.size() + 8;
  j.insert(j.end(), {0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), 'E', 'x', 'i', 'f', 0, 0});
  j.insert(j.end(), exifTiff.begin(), exifTiff.end());
  j.insert(j.end(), {0xFF, 0xD9});
  return j;
}

TEST(ExifOrientation, FromJpegAndTiffInBothByteOrders) {
  EXPECT_EQ(ReadExifOrientation(Jpeg(Tiff(false, 274, 3, 6))), 6);
  EXPECT_EQ(ReadExifOrientation(Jpeg(Tiff(true, 274, 3, 8))), 8);
  EXPECT_EQ(ReadExifOrientation(Tiff(true, 274, 3, 3)), 3);
  EXPECT_EQ(ReadExifOrientation(Tiff(false, 274, 4, 5)), 5);
  EXPECT_EQ(ReadExifOrientation(Jpeg(Tiff(true, 275, 3, 6))), 1);  // other tag
  EXPECT_EQ(ReadExifOrientation(Jpeg(Tiff(true, 274, 3, 9))), 1);  // no such orientation
  EXPECT_EQ(ReadExifOrientation(Jpeg(Tiff(true, 274, 3, 0))), 1);
  EXPECT_EQ(ReadExifOrientation(Jpeg(Tiff(true, 274, 3, 6), true)), 1);  // after the scan starts
  EXPECT_EQ(ReadExifOrientation(Bytes{0x89, 'P', 'N', 'G'}), 1);
  // Cut anywhere, it gives 1 or the value, and never reads past the end.
  const Bytes full = Jpeg(Tiff(false, 274, 3, 7));
  for (size_t n = 0; n < full.size(); ++n) {
    const Bytes cut(full.begin(), full.begin() + n);
    const int o = ReadExifOrientation(cut);
    EXPECT_TRUE(o == 1 || o == 7) << n;
  }
  Bytes lyingCount = Tiff(true, 274, 3, 6);
  lyingCount[8] = 0xFF;  // 255 entries in a file of two
  EXPECT_EQ(ReadExifOrientation(lyingCount), 1);
}

}  // namespace
}  // namespace orvalen::test
