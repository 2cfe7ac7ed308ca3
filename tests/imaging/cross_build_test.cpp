// The native and the Windows build must compute the same bits. Each build's
// fast code is compared with the formulas in the other tests; here a digest
// of a few complete renderings and of the tables made from the C library's
// pow pins the bits, so that a difference between the builds (an x87 left at
// double precision, a pow that rounds differently) fails in one of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "imaging/color_adjust.h"
#include "imaging/edges.h"
#include "imaging/render_pass.h"
#include "tests/imaging/pixel_reference.h"

namespace orvalen {
namespace {

using test::TestImage;

struct Digest {
  uint64_t h = 1469598103934665603ull;
  void Add(uint8_t b) {
    h ^= b;
    h *= 1099511628211ull;
  }
  void Add(const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) Add(b);
  }
};

uint64_t RenderDigest(int32_t bpp, int32_t transition, int32_t edges, bool accurate, int32_t gamma,
                      int32_t bright, bool gray) {
  TestImage source(257, 193, bpp);
  source.FillRandom(11);
  TestImage oldScreen(101, 73);
  oldScreen.FillRandom(12);
  std::vector<std::unique_ptr<TestImage>> work;
  RenderInput in;
  for (int k = 0; k < 5; ++k) {
    work.push_back(std::make_unique<TestImage>(101, 73));
    in.work[k] = work.back()->view;
  }
  const GammaTable table = BuildGammaTable(gamma);
  in.source = source.view;
  in.transition = transition;
  in.edges = edges;
  in.accurate = accurate;
  in.gamma = &table;
  in.brightness = BrightnessFactor(bright);
  in.grayscale = gray;
  in.oldScreen = oldScreen.view;
  PixelPoll poll;
  EXPECT_TRUE(RenderPixels(in, poll));
  Digest d;
  for (const auto& w : work) d.Add(w->bytes);
  return d.h;
}

TEST(CrossBuildTest, RenderingsGiveTheRecordedBits) {
  EXPECT_EQ(RenderDigest(24, kTransitionBlend, kEdgesSilver, true, 130, -30, false), 0xAF858A582356EB5Dull);
  EXPECT_EQ(RenderDigest(32, kTransitionFade, kEdgesBlack, true, 60, 40, true), 0xEF01999CA2EB9389ull);
  EXPECT_EQ(RenderDigest(16, kTransitionFade, kEdgesBlack, false, 100, -10, false), 0x83C4D47EA06A3392ull);
}

TEST(CrossBuildTest, PowTablesGiveTheRecordedBits) {
  Digest gamma;
  for (int32_t v = 1; v <= 400; ++v) {
    const GammaTable t = BuildGammaTable(v);
    for (int32_t e : t.entry) gamma.Add(static_cast<uint8_t>(e));
  }
  EXPECT_EQ(gamma.h, 0x7A4091CDFD2A983Bull);
  Digest edges;
  for (int32_t d = 0; d <= 30; ++d) {
    for (int c = 0; c < 256; ++c) {
      edges.Add(static_cast<uint8_t>(EdgeChannel(c, d, kEdgesBlack)));
      edges.Add(static_cast<uint8_t>(EdgeChannel(c, d, kEdgesSilver)));
    }
  }
  EXPECT_EQ(edges.h, 0x77528634EC20E52Bull);
}

}  // namespace
}  // namespace orvalen
