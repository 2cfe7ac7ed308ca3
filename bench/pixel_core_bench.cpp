// The saver's pixel work for one picture: a 4000 x 3000 24-bit photograph
// into the 1429 x 1072 picture area of a 1920 x 1080 screen. Each step is
// measured alone and the whole rendering together; bench/run-pixel-core
// prints the medians beside the peer libraries doing the same work.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/color_adjust.h"
#include "base/dib_view.h"
#include "imaging/edges.h"
#include "imaging/pixel_poll.h"
#include "imaging/render_pass.h"
#include "imaging/resample.h"

namespace {

using namespace orvalen;

constexpr int32_t kSourceWidth = 4000;
constexpr int32_t kSourceHeight = 3000;
constexpr int32_t kAreaWidth = 1429;
constexpr int32_t kAreaHeight = 1072;

struct Image {
  std::vector<uint8_t> bytes;
  DibView view;

  Image(int32_t width, int32_t height, uint32_t seed) {
    const int32_t stride = DibView::StrideFor(width, 24);
    bytes.resize(static_cast<size_t>(stride) * height);
    // Noise: every table lookup lands somewhere new, the hard case.
    uint32_t state = seed;
    for (auto& b : bytes) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      b = static_cast<uint8_t>(state >> 24);
    }
    view = DibView{bytes.data(), width, height, 24, stride};
  }
};

struct Scene {
  Image source{kSourceWidth, kSourceHeight, 1};
  std::array<Image, 5> work{Image{kAreaWidth, kAreaHeight, 2}, Image{kAreaWidth, kAreaHeight, 3},
                            Image{kAreaWidth, kAreaHeight, 4}, Image{kAreaWidth, kAreaHeight, 5},
                            Image{kAreaWidth, kAreaHeight, 6}};
  Image oldScreen{kAreaWidth, kAreaHeight, 7};
  GammaTable gamma = BuildGammaTable(120);
  ResampleScratch scratch;

  RenderInput Input(int32_t transition) {
    RenderInput in;
    in.source = source.view;
    for (int k = 0; k < 5; ++k) in.work[k] = work[k].view;
    in.transition = transition;
    in.edges = kEdgesBlack;
    in.accurate = true;
    in.gamma = &gamma;
    in.brightness = BrightnessFactor(-20);
    in.grayscale = true;
    in.oldScreen = oldScreen.view;
    in.scratch = &scratch;
    return in;
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_ResampleSimple(benchmark::State& state) {
  Scene& s = TheScene();
  for (auto _ : state) {
    PixelPoll poll;
    benchmark::DoNotOptimize(ResampleSimple(s.source.view, s.work[0].view, poll));
    benchmark::ClobberMemory();
  }
}

void BM_ResampleAccurate(benchmark::State& state) {
  Scene& s = TheScene();
  for (auto _ : state) {
    PixelPoll poll;
    benchmark::DoNotOptimize(ResampleAccurate(s.source.view, s.work[0].view, poll, s.scratch));
    benchmark::ClobberMemory();
  }
}

void BM_AdjustFade(benchmark::State& state) {
  Scene& s = TheScene();
  const RenderInput in = s.Input(kTransitionFade);
  for (auto _ : state) {
    PixelPoll poll;
    benchmark::DoNotOptimize(RunPixelPass(in, poll));
    benchmark::ClobberMemory();
  }
}

void BM_AdjustBlend(benchmark::State& state) {
  Scene& s = TheScene();
  const RenderInput in = s.Input(kTransitionBlend);
  for (auto _ : state) {
    PixelPoll poll;
    benchmark::DoNotOptimize(RunPixelPass(in, poll));
    benchmark::ClobberMemory();
  }
}

void BM_RenderBlend(benchmark::State& state) {
  Scene& s = TheScene();
  const RenderInput in = s.Input(kTransitionBlend);
  for (auto _ : state) {
    PixelPoll poll;
    benchmark::DoNotOptimize(RenderPixels(in, poll));
    benchmark::ClobberMemory();
  }
}

}  // namespace

BENCHMARK(BM_ResampleSimple)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampleAccurate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdjustFade)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AdjustBlend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderBlend)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
