#include "imaging/edges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "tests/imaging/pixel_reference.h"

namespace orvalen {
namespace {

using test::ReferenceEdges;
using test::TestImage;

TEST(EdgeFactorTest, WorkedValues) {
  EXPECT_EQ(EdgeFactor(0), 0.0L);
  EXPECT_EQ(EdgeFactor(30), 1.0L);
  EXPECT_NEAR(static_cast<double>(EdgeFactor(1)), 0.36, 0.003);
  EXPECT_EQ(EdgeChannel(200, 15, kEdgesBlack), 162);
  EXPECT_EQ(EdgeChannel(0, 15, kEdgesSilver), 38);
  EXPECT_EQ(EdgeChannel(255, 0, kEdgesBlack), 0);
  EXPECT_EQ(EdgeChannel(17, 0, kEdgesSilver), 205);
  EXPECT_EQ(EdgeChannel(17, 30, kEdgesSilver), 17);
  EXPECT_EQ(EdgeChannel(77, 5, kEdgesNone), 77);
}

TEST(EdgeFactorTest, ValuesStayClearOfTruncationBoundaries) {
  // As with the gamma curve: a last-bit difference of the C library's pow
  // between the builds must not be able to change a channel.
  for (int32_t d = 1; d < 30; ++d) {
    const long double g = EdgeFactor(d);
    for (int c = 1; c < 256; ++c) {
      for (long double x : {g * c, g * (c - 205) + 205}) {
        if (c == 205) continue;
        ASSERT_GT(std::fabs(x - std::round(x)), 1e-9L) << d << " " << c;
      }
    }
  }
}

// A picture filled with `value`; pixel (column, picture row) read back.
struct Work {
  TestImage image;
  explicit Work(int32_t w, int32_t h, uint8_t value) : image(w, h) { image.Fill(value); }
  int At(int32_t column, int32_t pictureRow) {
    return image.At(column, image.view.height - 1 - pictureRow)[0];
  }
};

TEST(ApplyEdgesTest, BandsOfA100By80Picture) {
  Work black(100, 80, 200);
  ApplyEdges(black.image.view, kEdgesBlack);
  const int d1 = EdgeChannel(200, 1, kEdgesBlack);
  EXPECT_EQ(black.At(50, 0), d1);              // top, outermost row: d = 1
  EXPECT_EQ(black.At(50, 14), 162);            // top, d = 15
  EXPECT_EQ(black.At(50, 29), 200);            // top, d = 30
  EXPECT_EQ(black.At(50, 79), 0);              // bottom, outermost row: d = 0
  EXPECT_EQ(black.At(50, 79 - 15), 162);       // bottom, d = 15
  EXPECT_EQ(black.At(50, 79 - 29), 200);       // past the bottom band
  EXPECT_EQ(black.At(0, 40), 0);               // left, d = 0
  EXPECT_EQ(black.At(15, 40), 162);            // left, d = 15
  EXPECT_EQ(black.At(99, 40), d1);             // right, d = 1
  EXPECT_EQ(black.At(99 - 14, 40), 162);       // right, d = 15
  EXPECT_EQ(black.At(50, 40), 200);            // middle untouched
  // Mitred corners: the top row owns its ends, the bottom row too.
  EXPECT_EQ(black.At(0, 0), d1);
  EXPECT_EQ(black.At(99, 79), 0);
  EXPECT_EQ(black.At(0, 79), 0);
  EXPECT_EQ(black.At(99, 0), d1);

  Work silver(100, 80, 0);
  ApplyEdges(silver.image.view, kEdgesSilver);
  EXPECT_EQ(silver.At(50, 79 - 15), 38);
  for (int32_t x = 0; x < 100; ++x) ASSERT_EQ(silver.At(x, 79), 205);
  for (int32_t x = 1; x < 99; ++x) ASSERT_EQ(black.At(x, 79), 0);
}

TEST(ApplyEdgesTest, MatchesTheBandLoopsForAnySize) {
  for (int32_t edges : {kEdgesBlack, kEdgesSilver}) {
    for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 3}, std::pair{29, 29}, std::pair{30, 30},
                        std::pair{31, 7}, std::pair{58, 58}, std::pair{10, 120}, std::pair{143, 107}}) {
      TestImage fast(w, h), ref(w, h);
      fast.FillRandom(static_cast<uint32_t>(w * 7 + h));
      ref.bytes = fast.bytes;
      ApplyEdges(fast.view, edges);
      ReferenceEdges(ref.view, edges);
      ASSERT_EQ(fast.bytes, ref.bytes) << edges << " " << w << "x" << h;
    }
  }
}

TEST(ApplyEdgesTest, SmallPicturesAreTreatedWithoutWritingOutside) {
  for (auto [w, h] : {std::pair{1, 1}, std::pair{5, 40}, std::pair{40, 5}, std::pair{29, 29}}) {
    const int32_t stride = DibView::StrideFor(w, 24);
    std::vector<uint8_t> buffer(static_cast<size_t>(stride) * h + 512, 0x5A);
    const DibView view{buffer.data() + 256, w, h, 24, stride};
    for (int32_t y = 0; y < h; ++y) std::memset(view.Row(y), 100, static_cast<size_t>(w) * 3);
    ApplyEdges(view, kEdgesSilver);
    for (size_t i = 0; i < 256; ++i) {
      ASSERT_EQ(buffer[i], 0x5A);
      ASSERT_EQ(buffer[buffer.size() - 1 - i], 0x5A);
    }
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t i = w * 3; i < stride; ++i) ASSERT_EQ(view.Row(y)[i], 0x5A);
    }
    // The outermost bottom line is reached in any size.
    ASSERT_EQ(view.Row(0)[0], 205) << w << "x" << h;
  }
}

TEST(ApplyEdgesTest, OtherSettingsChangeNothing) {
  TestImage image(40, 40);
  image.FillRandom(2);
  const auto before = image.bytes;
  for (int32_t edges : {0, 3, -1}) ApplyEdges(image.view, edges);
  EXPECT_EQ(image.bytes, before);
  TestImage wrong(40, 40, 32);
  EXPECT_THROW(ApplyEdges(wrong.view, kEdgesBlack), std::invalid_argument);
}

}  // namespace
}  // namespace orvalen
