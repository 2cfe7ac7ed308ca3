#include "orvalenx/dib_layout.h"

#include <gtest/gtest.h>

#include "tests/orvalenx/dib_test_support.h"

namespace orvalen::test {
namespace {

TEST(DibLayout, RowsArePaddedToFourBytesAfterHeaderAndTable) {
  struct Case {
    int32_t width, bits, colors, stride;
  };
  for (const Case c : {Case{1, 1, 2, 4}, Case{33, 1, 2, 8}, Case{7, 4, 16, 4}, Case{9, 4, 16, 8}, Case{5, 8, 256, 8},
                       Case{5, 24, 0, 16}, Case{4, 24, 0, 12}, Case{1, 24, 0, 4}}) {
    const auto layout = PlanDib(c.width, 3, c.bits, c.colors);
    ASSERT_TRUE(layout) << c.width << "x" << c.bits;
    EXPECT_EQ(layout->stride, c.stride) << c.width << "x" << c.bits;
    EXPECT_EQ(layout->bitsOffset, 40u + 4u * c.colors);
    EXPECT_EQ(layout->imageBytes, 3u * c.stride);
    EXPECT_EQ(layout->totalBytes, layout->bitsOffset + layout->imageBytes);
  }
}

TEST(DibLayout, RefusesEmptyOddAndOversizedPictures) {
  EXPECT_FALSE(PlanDib(0, 5, 24, 0));
  EXPECT_FALSE(PlanDib(5, 0, 24, 0));
  EXPECT_FALSE(PlanDib(-1, 5, 24, 0));
  EXPECT_FALSE(PlanDib(5, 5, 16, 0));
  EXPECT_FALSE(PlanDib(5, 5, 32, 0));
  EXPECT_FALSE(PlanDib(5, 5, 8, 257));
  EXPECT_FALSE(PlanDib(5, 5, 8, 0));
  EXPECT_FALSE(PlanDib(5, 5, 24, 1));
  EXPECT_TRUE(PlanDib(kMaxDibDimension, 1, 24, 0));
  EXPECT_FALSE(PlanDib(kMaxDibDimension + 1, 1, 24, 0));
  EXPECT_FALSE(PlanDib(1, kMaxDibDimension + 1, 1, 2));
  // 10000 x 10000 x 3 bytes is beyond the 256 MiB block; 9000 x 9000 is within.
  EXPECT_FALSE(PlanDib(10000, 10000, 24, 0));
  EXPECT_TRUE(PlanDib(9000, 9000, 24, 0));
  EXPECT_FALSE(PlanDib(int64_t{1} << 33, 1, 24, 0));  // would wrap a 32-bit size
}

TEST(DibLayout, ColourCountFollowsBiClrUsedOrTheBitCount) {
  EXPECT_EQ(ColorCountOf(1, 0), 2);
  EXPECT_EQ(ColorCountOf(4, 0), 16);
  EXPECT_EQ(ColorCountOf(8, 0), 256);
  EXPECT_EQ(ColorCountOf(16, 0), 0);
  EXPECT_EQ(ColorCountOf(24, 0), 0);
  EXPECT_EQ(ColorCountOf(32, 0), 0);
  EXPECT_EQ(ColorCountOf(2, 0), -1);
  EXPECT_EQ(ColorCountOf(8, 17), 17);
  EXPECT_EQ(ColorCountOf(24, 5), 5);
}

TEST(DibLayout, ParsedBlocksPlaceMasksOnlyWithBitfields) {
  const Bytes masks(12, 0xFF);
  const Bytes rgb = MakeDib(3, 2, 16, {}, [](int32_t, int32_t) { return 0u; });
  const Bytes fields = MakeDib(3, 2, 16, {}, [](int32_t, int32_t) { return 0u; }, kBiBitfields, masks);
  const Bytes eight = MakeDib(3, 2, 8, std::vector<Rgb>(5), [](int32_t, int32_t) { return 0u; });
  const Bytes eightFull = [] {
    Bytes b = MakeDib(3, 2, 8, std::vector<Rgb>(256), [](int32_t, int32_t) { return 0u; });
    b[32] = 0;  // biClrUsed 0: a full table
    return b;
  }();
  const auto a = ParsePackedDib(rgb.data(), rgb.size());
  const auto b = ParsePackedDib(fields.data(), fields.size());
  const auto c = ParsePackedDib(eight.data(), eight.size());
  const auto d = ParsePackedDib(eightFull.data(), eightFull.size());
  ASSERT_TRUE(a && b && c && d);
  EXPECT_EQ(a->colorTableOffset, 40u);
  EXPECT_EQ(a->bitsOffset, 40u);
  EXPECT_EQ(b->colorTableOffset, 52u);
  EXPECT_EQ(b->bitsOffset, 52u);
  EXPECT_EQ(c->colorCount, 5);
  EXPECT_EQ(c->bitsOffset, 60u);
  EXPECT_EQ(d->colorCount, 256);
  EXPECT_EQ(d->bitsOffset, 40u + 1024u);
  EXPECT_EQ(a->stride, 8);
}

TEST(DibLayout, ParsingRefusesBlocksThatDoNotHoldTheirRows) {
  const Bytes good = MakeDib(3, 2, 24, {}, [](int32_t, int32_t) { return 0u; });
  ASSERT_TRUE(ParsePackedDib(good.data(), good.size()));
  EXPECT_FALSE(ParsePackedDib(good.data(), good.size() - 1));
  EXPECT_FALSE(ParsePackedDib(good.data(), 39));
  EXPECT_FALSE(ParsePackedDib(nullptr, 100));
  auto changed = [&](size_t at, uint8_t value) {
    Bytes b = good;
    b[at] = value;
    return ParsePackedDib(b.data(), b.size()).has_value();
  };
  EXPECT_FALSE(changed(0, 12));    // header size
  EXPECT_FALSE(changed(11, 0xFF)); // negative height: not bottom-up
  EXPECT_FALSE(changed(14, 2));    // 2 bits: no colour count
  EXPECT_FALSE(changed(16, 1));    // RLE
  EXPECT_FALSE(changed(32, 9));    // a colour table the block lacks
  EXPECT_FALSE(changed(7, 0x7F));  // a width whose rows overflow 32 bits
}

TEST(DibLayout, RowSizeIsRefusedBeforeItCouldWrap) {
  struct Case {
    const char* what;
    int64_t width, height, bits;
    bool fits;
    int32_t stride;
    uint64_t imageBytes;
  };
  constexpr int64_t kMax32 = INT32_MAX;
  const Case cases[] = {
      {"small 24-bit", 3, 2, 24, true, 12, 24},
      {"empty", 0, 0, 24, true, 0, 0},
      {"widest 1-bit row", kMax32, 2, 1, true, 268435456, 536870912},
      {"widest 24-bit row", 715827881, 1, 24, true, 2147483644, 2147483644},
      {"tallest picture: the size is not narrowed", 1, kMax32, 32, true, 4, 4 * uint64_t{kMax32}},
      {"24-bit stride 2^31 would turn negative", 715827882, 1, 24, false, 0, 0},
      {"24-bit stride 2^32 would wrap to 0", 1431655765, 1, 24, false, 0, 0},
      {"32-bit stride 2^33", kMax32, 1, 32, false, 0, 0},
      {"negative width", -1, 1, 24, false, 0, 0},
      {"negative height", 1, -1, 24, false, 0, 0},
      {"width beyond 32 bits", kMax32 + 1, 1, 1, false, 0, 0},
      {"height beyond 32 bits", 1, kMax32 + 1, 1, false, 0, 0},
      {"no bits", 1, 1, 0, false, 0, 0},
      {"33 bits", 1, 1, 33, false, 0, 0},
      {"65535 bits", 1, 1, 65535, false, 0, 0},
      {"negative bits", 1, 1, -24, false, 0, 0},
  };
  for (const Case& c : cases) {
    const auto rows = DibRowSizeFor(c.width, c.height, c.bits);
    ASSERT_EQ(rows.has_value(), c.fits) << c.what;
    if (!rows) continue;
    EXPECT_EQ(rows->stride, c.stride) << c.what;
    EXPECT_EQ(rows->imageBytes, c.imageBytes) << c.what;
  }
}

TEST(DibLayout, ParsingChecksTheHeaderBeforeComputingSizes) {
  struct Case {
    const char* what;
    int32_t width, height;
    uint16_t bits;
    uint32_t clrUsed;
    bool parses;
  };
  const Case cases[] = {
      {"a good header, as the rows below are built", 3, 2, 8, 4, true},
      {"24-bit stride 2^32 would wrap to 0", 1431655765, 1, 24, 0, false},
      {"24-bit stride 2^31 would turn negative", 715827882, 1, 24, 0, false},
      {"no bits but a colour count: rows of no bytes", INT32_MAX, 1, 0, 1, false},
      {"64 bits", 3, 2, 64, 1, false},
      {"3 bits", 3, 2, 3, 8, false},
      {"negative width", -3, 2, 24, 0, false},
      {"colour count that reads as negative", 3, 2, 8, 0x80000000u, false},
      {"colour count beyond 65536", 3, 2, 8, 65537, false},
  };
  for (const Case& c : cases) {
    BmpFields fields;
    fields.width = c.width;
    fields.height = c.height;
    fields.bitsPerPixel = c.bits;
    fields.clrUsed = c.clrUsed;
    // Room for a small table and rows of up to 64 bits: only the header
    // can be what refuses the block.
    const Bytes block = PackedDibFile(fields, Bytes(4 * 16, 0), Bytes(1024, 0));
    EXPECT_EQ(ParsePackedDib(block.data(), block.size()).has_value(), c.parses) << c.what;
  }
}

}  // namespace
}  // namespace orvalen::test
