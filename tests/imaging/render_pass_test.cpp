#include "imaging/render_pass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>

#include "imaging/edges.h"
#include "tests/imaging/pixel_reference.h"

namespace orvalen {
namespace {

using test::TestImage;

TEST(FrameFormulaTest, WorkedValues) {
  const int fade[4] = {80, 120, 160, 180};
  const int blend[4] = {130, 150, 170, 190};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(FadeChannel(201, k), fade[k]);
    EXPECT_EQ(BlendChannel(100, 201, k), blend[k]);
  }
  // 0.6 lies below its decimal value: 0.6 * 200 = 119.
  EXPECT_EQ(FadeChannel(200, 1), 119);
  // So do 0.7 and 0.3, and their sum: equal colours lose one in frames 1, 3.
  EXPECT_EQ(BlendChannel(100, 100, 0), 99);
  EXPECT_EQ(BlendChannel(100, 100, 1), 100);
  EXPECT_EQ(BlendChannel(100, 100, 3), 100);
}

TEST(FrameFormulaTest, IntegerFormsEqualTheFormulasForEveryInput) {
  for (int k = 0; k < 4; ++k) {
    for (int p = 0; p < 256; ++p) {
      ASSERT_EQ(FadeChannelInteger(p, k), FadeChannel(p, k)) << k << " " << p;
      for (int s = 0; s < 256; ++s) {
        ASSERT_EQ(BlendChannelInteger(s, p, k), BlendChannel(s, p, k)) << k << " " << s << " " << p;
      }
    }
  }
}

TEST(FrameFormulaTest, RowsEqualTheFormulasForEveryPair) {
  // Every (S, P) pair once, at every offset of the sixteen-byte steps.
  const size_t count = 65536 + 15;
  std::vector<uint8_t> s(count), p(count);
  for (size_t i = 0; i < count; ++i) {
    s[i] = static_cast<uint8_t>(i >> 8);
    p[i] = static_cast<uint8_t>(i);
  }
  std::vector<uint8_t> out[4];
  uint8_t* frame[4];
  for (int k = 0; k < 4; ++k) {
    out[k].assign(count, 0);
    frame[k] = out[k].data();
  }
  BlendRow(s.data(), p.data(), count, frame);
  for (int k = 0; k < 4; ++k) {
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(out[k][i], BlendChannel(s[i], p[i], k)) << k << " " << i;
  }
  for (size_t offset = 0; offset < 16; ++offset) {
    FadeRow(p.data() + offset, 256, frame);
    for (int k = 0; k < 4; ++k) {
      for (size_t i = 0; i < 256; ++i) ASSERT_EQ(out[k][i], FadeChannel(p[offset + i], k)) << k << " " << i;
    }
  }
}

// A source, the five work images and the old screen for one rendering.
struct Scene {
  TestImage source;
  std::vector<std::unique_ptr<TestImage>> work;
  TestImage oldScreen;
  GammaTable gamma = BuildGammaTable(100);

  Scene(int32_t sw, int32_t sh, int32_t tw, int32_t th, int32_t bpp = 24)
      : source(sw, sh, bpp), oldScreen(tw, th) {
    source.FillRandom(static_cast<uint32_t>(sw + 3 * th));
    oldScreen.FillRandom(77);
    for (int k = 0; k < 5; ++k) {
      work.push_back(std::make_unique<TestImage>(tw, th));
      work.back()->Fill(0xEE);
    }
  }

  RenderInput Input() const {
    RenderInput in;
    in.source = source.view;
    for (int k = 0; k < 5; ++k) in.work[k] = work[k]->view;
    in.gamma = &gamma;
    in.oldScreen = oldScreen.view;
    return in;
  }
};

TEST(RenderPixelsTest, WorkedFramesThroughThePass) {
  Scene scene(1, 1, 1, 1);
  std::memset(scene.source.At(0, 0), 201, 3);
  std::memset(scene.oldScreen.At(0, 0), 100, 3);
  RenderInput in = scene.Input();
  const int fade[4] = {80, 120, 160, 180};
  const int blend[4] = {130, 150, 170, 190};
  for (int32_t transition : {kTransitionFade, kTransitionBlend}) {
    in.transition = transition;
    PixelPoll poll;
    ASSERT_TRUE(RenderPixels(in, poll));
    EXPECT_EQ(scene.work[0]->At(0, 0)[0], 201);
    for (int k = 0; k < 4; ++k) {
      const uint8_t* f = scene.work[k + 1]->At(0, 0);
      const int expected = transition == kTransitionFade ? fade[k] : blend[k];
      EXPECT_EQ(f[0], expected);
      EXPECT_EQ(f[1], expected);
      EXPECT_EQ(f[2], expected);
    }
  }
}

struct Options {
  int32_t transition;
  int32_t edges;
  int32_t gamma;
  int32_t bright;
  bool gray;
  bool accurate;
};

class RenderMatchesReference : public ::testing::TestWithParam<Options> {};

TEST_P(RenderMatchesReference, BitForBit) {
  const Options o = GetParam();
  for (auto [sw, sh, tw, th, bpp] : {std::tuple{300, 200, 107, 71, 24}, std::tuple{90, 70, 37, 23, 32},
                                     std::tuple{64, 64, 64, 64, 16}, std::tuple{20, 10, 61, 61, 24}}) {
    Scene fast(sw, sh, tw, th, bpp), ref(sw, sh, tw, th, bpp);
    fast.gamma = ref.gamma = BuildGammaTable(o.gamma);
    RenderInput in = fast.Input();
    in.transition = o.transition;
    in.edges = o.edges;
    in.accurate = o.accurate && sw >= tw && sh >= th;
    in.brightness = BrightnessFactor(o.bright);
    in.grayscale = o.gray;
    PixelPoll poll;
    ASSERT_TRUE(RenderPixels(in, poll));

    // In two halves, as when the next picture is resampled ahead: first with
    // only the final image (no frames, no old screen yet), then the pass.
    Scene split(sw, sh, tw, th, bpp);
    split.gamma = fast.gamma;
    RenderInput halves = in;
    halves.work = {split.work[0]->view};
    halves.oldScreen = DibView{};
    ASSERT_TRUE(ResampleWork(halves, poll));
    halves = split.Input();
    halves.transition = in.transition;
    halves.brightness = in.brightness;
    halves.grayscale = in.grayscale;
    ASSERT_TRUE(RunPixelPass(halves, poll));

    // RenderImage steps 3 to 5 as written.
    if (in.accurate) {
      test::ReferenceResampleAccurate(ref.source.view, ref.work[0]->view);
    } else {
      test::ReferenceResampleSimple(ref.source.view, ref.work[0]->view);
    }
    test::ReferenceEdges(ref.work[0]->view, o.edges);
    DibView frames[4];
    for (int k = 0; k < 4; ++k) frames[k] = ref.work[k + 1]->view;
    test::ReferencePass pass;
    pass.gamma = &ref.gamma;
    pass.brightness = in.brightness;
    pass.grayscale = o.gray;
    pass.transition = o.transition;
    pass.frames = frames;
    pass.oldScreen = &ref.oldScreen.view;
    test::ReferencePixelPass(ref.work[0]->view, pass);

    for (int k = 0; k < 5; ++k) {
      ASSERT_EQ(fast.work[k]->bytes, ref.work[k]->bytes) << "work image " << k << " of " << tw << "x" << th;
      ASSERT_EQ(split.work[k]->bytes, ref.work[k]->bytes) << "halves, work image " << k << " of " << tw << "x" << th;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, RenderMatchesReference,
    ::testing::Values(Options{kTransitionErase, 0, 100, 100, false, false},
                      Options{kTransitionFade, kEdgesBlack, 50, -50, false, true},
                      Options{kTransitionFade, kEdgesSilver, 150, 50, true, false},
                      Options{kTransitionBlend, kEdgesSilver, 120, -20, true, true},
                      Options{kTransitionBlend, 0, 100, 30, false, true},
                      Options{kTransitionBlend, kEdgesBlack, 80, 100, true, false},
                      Options{kTransitionErase, kEdgesBlack, 0, -1, true, true},
                      Options{3, kEdgesSilver, 70, -35, false, true}));

TEST(RenderPixelsTest, FramesAreOnlyWrittenForBlendAndFade) {
  for (int32_t transition : {kTransitionErase, 3, -1}) {
    Scene scene(50, 40, 20, 16);
    RenderInput in = scene.Input();
    in.transition = transition;
    PixelPoll poll;
    ASSERT_TRUE(RenderPixels(in, poll));
    for (int k = 1; k < 5; ++k) {
      for (uint8_t b : scene.work[k]->bytes) ASSERT_EQ(b, 0xEE);
    }
    EXPECT_NE(scene.work[0]->bytes.front(), 0xEE);
    // Nor are they needed.
    in.work[1] = in.work[2] = in.work[3] = in.work[4] = DibView{};
    in.oldScreen = DibView{};
    EXPECT_TRUE(RenderPixels(in, poll));
  }
}

TEST(RenderPixelsTest, ViewsThatDoNotFitAreRefusedBeforeAnyWrite) {
  Scene scene(50, 40, 20, 16);
  TestImage smaller(20, 15);
  RenderInput in = scene.Input();
  in.transition = kTransitionBlend;
  in.oldScreen = smaller.view;
  PixelPoll poll;
  EXPECT_THROW(RenderPixels(in, poll), std::invalid_argument);
  in.oldScreen = scene.oldScreen.view;
  in.work[3] = DibView{};
  EXPECT_THROW(RenderPixels(in, poll), std::invalid_argument);
  in.transition = kTransitionFade;
  EXPECT_THROW(RenderPixels(in, poll), std::invalid_argument);
  in = scene.Input();
  in.work[0].bitsPerPixel = 32;
  EXPECT_THROW(RenderPixels(in, poll), std::invalid_argument);
  for (uint8_t b : scene.work[0]->bytes) ASSERT_EQ(b, 0xEE);
}

struct PollLog {
  int calls = 0;
  int moveAt = 0;
  static bool Check(void* context) {
    auto* log = static_cast<PollLog*>(context);
    return ++log->calls == log->moveAt;
  }
};

TEST(RenderPixelsTest, OnePollCountsTheResamplingAndThePass) {
  // Accurate: 400 x 300 = 120,000 source pixels, then 100 x 75 = 7,500 in the
  // pass: 127,500 counted pixels.
  Scene scene(400, 300, 100, 75);
  RenderInput in = scene.Input();
  in.accurate = true;
  in.transition = kTransitionFade;
  PollLog log;
  PixelPoll poll(&PollLog::Check, &log);
  ASSERT_TRUE(RenderPixels(in, poll));
  EXPECT_EQ(log.calls, 127500 / 5001);
  EXPECT_EQ(poll.count(), 127500u % 5001);
}

TEST(RenderPixelsTest, MovementEndsTheRenderingAtOnce) {
  // The first poll comes during the resampling: the pass never starts.
  {
    Scene scene(400, 300, 100, 75);
    RenderInput in = scene.Input();
    in.transition = kTransitionFade;
    in.accurate = true;
    PollLog log;
    log.moveAt = 1;
    PixelPoll poll(&PollLog::Check, &log);
    EXPECT_FALSE(RenderPixels(in, poll));
    EXPECT_EQ(log.calls, 1);
    for (uint8_t b : scene.work[1]->bytes) ASSERT_EQ(b, 0xEE);
  }
  // Simple: 100 x 120 destination pixels twice; the third poll falls into
  // the pass, which stops with part of its rows done.
  {
    Scene scene(200, 240, 100, 120);
    RenderInput in = scene.Input();
    in.transition = kTransitionFade;
    PollLog log;
    log.moveAt = 3;
    PixelPoll poll(&PollLog::Check, &log);
    EXPECT_FALSE(RenderPixels(in, poll));
    EXPECT_EQ(log.calls, 3);
    const auto& frame = scene.work[1]->bytes;
    EXPECT_NE(frame.front(), 0xEE);  // row 0 done
    EXPECT_EQ(frame.back(), 0xEE);   // the last row not reached
  }
}

}  // namespace
}  // namespace orvalen
