#include "imaging/resample.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <tuple>

#include "tests/imaging/pixel_reference.h"

namespace orvalen {
namespace {

using test::ReferenceResampleAccurate;
using test::ReferenceResampleSimple;
using test::TestImage;

TEST(ResampleTest, TargetExtentIsSixteenBitsWithZeroAsOne) {
  EXPECT_EQ(TargetExtent(1429), 1429);
  EXPECT_EQ(TargetExtent(0), 1);
  EXPECT_EQ(TargetExtent(65536), 1);
  EXPECT_EQ(TargetExtent(70000), 4464);
  EXPECT_EQ(TargetExtent(65535), 65535);
}

TEST(ResampleTest, AccurateNeedsTheSourceToCoverThePicture) {
  const Rect picture{245, 4, 1674, 1075};  // 1429 x 1071
  EXPECT_TRUE(ChooseAccurate(true, 4000, 3000, picture));
  EXPECT_TRUE(ChooseAccurate(true, 1429, 1071, picture));
  EXPECT_FALSE(ChooseAccurate(true, 1428, 3000, picture));
  EXPECT_FALSE(ChooseAccurate(true, 4000, 1070, picture));
  EXPECT_FALSE(ChooseAccurate(false, 4000, 3000, picture));
  // Picture areas beyond 800 x 600 are reduced accurately too.
  EXPECT_TRUE(ChooseAccurate(true, 8000, 6000, Rect{0, 0, 3840, 2160}));
}

TEST(AccurateMixTest, TablesEqualTheFormulaForEveryInput) {
  for (uint32_t n = 1; n <= kMixTableMax; ++n) {
    const uint8_t* table = AccurateMixTable(n);
    ASSERT_NE(table, nullptr);
    for (int old = 0; old < 256; ++old) {
      for (int src = 0; src < 256; ++src) {
        ASSERT_EQ(table[old * 256 + src], AccurateMixLiteral(old, src, n)) << n << " " << old << " " << src;
      }
    }
  }
  EXPECT_EQ(AccurateMixTable(0), nullptr);
  EXPECT_EQ(AccurateMixTable(kMixTableMax + 1), nullptr);
}

TEST(AccurateMixTest, RowsEqualTheFormulaForEveryInput) {
  // Every (old, src) pair once, plus a tail that misses the vector steps.
  const size_t count = 65536 + 13;
  std::vector<uint8_t> old(count), src(count), row;
  for (size_t i = 0; i < count; ++i) {
    old[i] = static_cast<uint8_t>(i >> 8);
    src[i] = static_cast<uint8_t>(i * 7);
  }
  int quotients = 0;
  for (uint32_t n = 1; n <= kMixTableMax + 2; ++n) {
    row = old;
    AccurateMixRow(row.data(), src.data(), count, n);
    for (size_t i = 0; i < count; ++i) {
      ASSERT_EQ(row[i], AccurateMixLiteral(old[i], src[i], n)) << n << " " << i;
    }
    quotients += AccurateMixIsQuotient(n) ? 1 : 0;
  }
  // The second pixel's mix, trunc(old * 2/3 + src / 3), never rounds below
  // the quotient; the fifth's does (old 7, src 7 gives 6).
  EXPECT_TRUE(AccurateMixIsQuotient(1));
  EXPECT_FALSE(AccurateMixIsQuotient(4));
  EXPECT_GT(quotients, 32);
}

TEST(AccurateMixTest, IntegerFormEqualsTheFormulaBeyondTheTables) {
  std::vector<uint64_t> counts;
  for (uint64_t n = kMixTableMax + 1; n <= 320; ++n) counts.push_back(n);
  for (uint64_t n : {uint64_t{1000}, uint64_t{65535}, uint64_t{65536}, uint64_t{1} << 20,
                     kMixIntegerMax - 1, kMixIntegerMax, kMixIntegerMax + 1, kMixIntegerMax + 2,
                     uint64_t{1} << 32}) {
    counts.push_back(n);
  }
  for (uint64_t n : counts) {
    for (int old = 0; old < 256; ++old) {
      for (int src = 0; src < 256; ++src) {
        ASSERT_EQ(AccurateMix(old, src, n), AccurateMixLiteral(old, src, n)) << n << " " << old << " " << src;
      }
    }
  }
}

TEST(AccurateMixTest, WorkedMixes) {
  // Second pixel: a = 2, b = 3: 90 * 2/3 + 30 / 3.
  EXPECT_EQ(AccurateMixLiteral(90, 30, 1), 70);
  // Truncation at an exact quotient: 7 * (5/6) + 7/6 is 7 in exact
  // arithmetic, but the rounded parts add up just below it.
  EXPECT_EQ(AccurateMixLiteral(7, 7, 4), 6);
  EXPECT_EQ(AccurateMixLiteral(7, 7, 1), 7);
  // From 255 pixels on, a smaller source value always takes one off and a
  // larger one cannot add one.
  EXPECT_EQ(AccurateMixLiteral(200, 0, 300), 199);
  EXPECT_EQ(AccurateMixLiteral(200, 255, 300), 200);
}

// Mixes `values` (one column of a 1 x k source) into a single pixel.
int MixColumn(const std::vector<uint8_t>& values) {
  TestImage src(1, static_cast<int32_t>(values.size()));
  for (size_t i = 0; i < values.size(); ++i) {
    std::memset(src.At(0, static_cast<int32_t>(i)), values[i], 3);
  }
  TestImage dst(1, 1);
  PixelPoll poll;
  EXPECT_TRUE(ResampleAccurate(src.view, dst.view, poll));
  EXPECT_EQ(dst.At(0, 0)[0], dst.At(0, 0)[2]);
  return dst.At(0, 0)[0];
}

TEST(ResampleAccurateTest, FirstPixelWeighsTwiceAsMuchAsEachOther) {
  for (int k = 2; k <= 12; ++k) {
    std::vector<uint8_t> first(k, 0);
    first[0] = 240;
    std::vector<uint8_t> last(k, 0);
    last[k - 1] = 240;
    // Each of the k - 1 mixes truncates, losing less than 1.
    const double firstWeight = 240.0 * 2 / (k + 1);
    const double otherWeight = 240.0 / (k + 1);
    EXPECT_LE(MixColumn(first), firstWeight) << k;
    EXPECT_GT(MixColumn(first), firstWeight - (k - 1)) << k;
    EXPECT_LE(MixColumn(last), otherWeight) << k;
    EXPECT_GT(MixColumn(last), otherWeight - 1) << k;
  }
}

TEST(ResampleAccurateTest, MixesEachBlockColumnByColumnInRowOrder) {
  // A 2 x 2 source into one pixel: (0,0), (0,1), (1,0), (1,1).
  TestImage src(2, 2);
  const uint8_t v[2][2] = {{250, 10}, {90, 170}};  // v[x][y]
  for (int x = 0; x < 2; ++x) {
    for (int y = 0; y < 2; ++y) std::memset(src.At(x, y), v[x][y], 3);
  }
  TestImage dst(1, 1);
  PixelPoll poll;
  ASSERT_TRUE(ResampleAccurate(src.view, dst.view, poll));
  int expected = v[0][0];
  expected = AccurateMixLiteral(expected, v[0][1], 1);
  expected = AccurateMixLiteral(expected, v[1][0], 2);
  expected = AccurateMixLiteral(expected, v[1][1], 3);
  EXPECT_EQ(dst.At(0, 0)[1], expected);
  int rowOrder = v[0][0];
  rowOrder = AccurateMixLiteral(rowOrder, v[1][0], 1);
  rowOrder = AccurateMixLiteral(rowOrder, v[0][1], 2);
  rowOrder = AccurateMixLiteral(rowOrder, v[1][1], 3);
  EXPECT_NE(expected, rowOrder);  // the order shows in the result
}

TEST(ResampleAccurateTest, MoreThan255PixelsKeepMixing) {
  // 300 pixels of 200 with one 0 at the 257th: a one-byte counter would wrap
  // there and restart the mix from that single pixel.
  std::vector<uint8_t> values(300, 200);
  values[256] = 0;
  int wide = values[0];
  int wrapped = values[0];
  for (size_t i = 1; i < values.size(); ++i) {
    wide = AccurateMixLiteral(wide, values[i], i);
    wrapped = i % 256 == 0 ? values[i] : AccurateMixLiteral(wrapped, values[i], i % 256);
  }
  EXPECT_EQ(MixColumn(values), wide);
  EXPECT_GT(wide, 190);
  EXPECT_LT(wrapped, 180);
}

TEST(ResampleAccurateTest, SourceSmallerThanTheDestinationIsScaledSimply) {
  TestImage src(30, 40);
  src.FillRandom(3);
  for (auto [w, h] : {std::pair{31, 20}, std::pair{20, 41}, std::pair{60, 80}}) {
    TestImage accurate(w, h);
    TestImage simple(w, h);
    PixelPoll p1, p2;
    ASSERT_TRUE(ResampleAccurate(src.view, accurate.view, p1));
    ASSERT_TRUE(ResampleSimple(src.view, simple.view, p2));
    EXPECT_EQ(accurate.bytes, simple.bytes) << w << "x" << h;
  }
}

// Sources of every supported depth against the literal algorithms.
class ResampleMatchesReference
    : public ::testing::TestWithParam<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>> {};

TEST_P(ResampleMatchesReference, BitForBit) {
  const auto [bpp, sw, sh, dw, dh] = GetParam();
  TestImage src(sw, sh, bpp);
  src.FillRandom(static_cast<uint32_t>(sw * 31 + dh));
  TestImage fast(dw, dh), ref(dw, dh);
  fast.FillRandom(9);
  ref.bytes = fast.bytes;
  PixelPoll poll;
  ResampleScratch scratch;
  ASSERT_TRUE(ResampleSimple(src.view, fast.view, poll));
  ReferenceResampleSimple(src.view, ref.view);
  EXPECT_EQ(fast.bytes, ref.bytes) << "simple";
  if (sw >= dw && sh >= dh) {
    ASSERT_TRUE(ResampleAccurate(src.view, fast.view, poll, scratch));
    ReferenceResampleAccurate(src.view, ref.view);
    EXPECT_EQ(fast.bytes, ref.bytes) << "accurate";
    // The scratch buffers carry nothing over to the next image.
    ASSERT_TRUE(ResampleAccurate(src.view, fast.view, poll, scratch));
    EXPECT_EQ(fast.bytes, ref.bytes) << "accurate again";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ResampleMatchesReference,
    ::testing::Values(std::tuple{24, 400, 300, 143, 107},   // 2.8:1, as on a large screen
                      std::tuple{24, 401, 299, 400, 298},   // barely reduced
                      std::tuple{24, 123, 77, 123, 77},     // same size
                      std::tuple{24, 640, 480, 41, 29},     // blocks of 15 x 16
                      std::tuple{24, 200, 160, 9, 7},       // blocks over 255 pixels
                      std::tuple{24, 37, 53, 1, 1},         // all into one
                      std::tuple{24, 50, 40, 97, 83},       // enlarged
                      std::tuple{32, 333, 222, 100, 101},
                      std::tuple{32, 41, 43, 17, 5},
                      std::tuple{16, 301, 203, 64, 50},     // odd 16-bit width, padded rows
                      std::tuple{16, 300, 200, 299, 199},
                      std::tuple{16, 10, 10, 33, 21}));

TEST(ResampleTest, SixteenBitPixelsAreWidenedFiveFiveFive) {
  TestImage src(4, 1, 16);
  const uint16_t pixels[4] = {0x7FFF, 0x001F, 0x03E0, 0x4210};
  std::memcpy(src.view.Row(0), pixels, sizeof pixels);
  TestImage dst(4, 1);
  PixelPoll poll;
  ASSERT_TRUE(ResampleSimple(src.view, dst.view, poll));
  const uint8_t expected[12] = {255, 255, 255, 255, 0, 0, 0, 255, 0, 132, 132, 132};
  EXPECT_EQ(0, std::memcmp(dst.view.Row(0), expected, 12));
}

TEST(ResampleTest, NothingIsWrittenOutsideTheDestination) {
  TestImage src(50, 50);
  src.FillRandom(1);
  // Guard bytes all around the destination's rows.
  std::vector<uint8_t> buffer(4096, 0xA5);
  const DibView dst{buffer.data() + 1024, 7, 5, 24, 24};
  PixelPoll poll;
  ASSERT_TRUE(ResampleSimple(src.view, dst, poll));
  ASSERT_TRUE(ResampleAccurate(src.view, dst, poll));
  for (size_t i = 0; i < buffer.size(); ++i) {
    const bool inside = i >= 1024 && i < 1024 + 5 * 24 && (i - 1024) % 24 < 21;
    if (!inside) {
      ASSERT_EQ(buffer[i], 0xA5) << i;
    }
  }
  // An empty destination is left alone, though 0 counts as 1 for the scale.
  const DibView empty{buffer.data() + 1024, 0, 5, 24, 0};
  std::vector<uint8_t> before = buffer;
  ASSERT_TRUE(ResampleSimple(src.view, empty, poll));
  ASSERT_TRUE(ResampleAccurate(src.view, empty, poll));
  EXPECT_EQ(buffer, before);
}

TEST(ResampleTest, UnsupportedFormatsAreRefused) {
  TestImage src8(10, 10, 8), src24(10, 10), dst32(5, 5, 32), dst(5, 5);
  PixelPoll poll;
  EXPECT_THROW(ResampleSimple(src8.view, dst.view, poll), std::invalid_argument);
  EXPECT_THROW(ResampleAccurate(src8.view, dst.view, poll), std::invalid_argument);
  EXPECT_THROW(ResampleSimple(src24.view, dst32.view, poll), std::invalid_argument);
}

struct PollLog {
  int calls = 0;
  int moveAt = 0;  // report movement on this call; 0 = never
  static bool Check(void* context) {
    auto* log = static_cast<PollLog*>(context);
    ++log->calls;
    return log->calls == log->moveAt;
  }
};

TEST(ResampleTest, PollRunsOncePer5001CountedPixels) {
  TestImage src(400, 300);
  src.FillRandom(5);
  TestImage dst(100, 101);  // 10,100 destination pixels
  PollLog simpleLog;
  PixelPoll simplePoll(&PollLog::Check, &simpleLog);
  ASSERT_TRUE(ResampleSimple(src.view, dst.view, simplePoll));
  EXPECT_EQ(simpleLog.calls, 2);
  EXPECT_EQ(simplePoll.count(), 10100u - 2 * 5001);

  PollLog accurateLog;  // 120,000 source pixels
  PixelPoll accuratePoll(&PollLog::Check, &accurateLog);
  ASSERT_TRUE(ResampleAccurate(src.view, dst.view, accuratePoll));
  EXPECT_EQ(accurateLog.calls, 120000 / 5001);
  EXPECT_EQ(accuratePoll.count(), 120000u % 5001);
}

TEST(ResampleTest, MovementStopsTheResampling) {
  TestImage src(400, 300);
  src.FillRandom(5);
  TestImage dst(200, 150);
  for (bool accurate : {false, true}) {
    PollLog log;
    log.moveAt = 1;
    PixelPoll poll(&PollLog::Check, &log);
    const bool done = accurate ? ResampleAccurate(src.view, dst.view, poll) : ResampleSimple(src.view, dst.view, poll);
    EXPECT_FALSE(done);
    EXPECT_EQ(log.calls, 1);
    EXPECT_TRUE(poll.moved());
  }
}

TEST(PixelPollTest, CountingManyEqualsCountingOneByOne) {
  PollLog one, many;
  PixelPoll single(&PollLog::Check, &one), bulk(&PollLog::Check, &many);
  uint64_t total = 0;
  for (uint64_t n : {1u, 4999u, 1u, 1u, 12000u, 5001u, 3u, 10002u}) {
    total += n;
    for (uint64_t i = 0; i < n; ++i) single.Count();
    bulk.CountMany(n);
    ASSERT_EQ(one.calls, many.calls);
    ASSERT_EQ(single.count(), bulk.count());
  }
  EXPECT_EQ(static_cast<uint64_t>(one.calls), total / 5001);
}

}  // namespace
}  // namespace orvalen
