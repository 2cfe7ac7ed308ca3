// Renders pictures of fuzzed sizes, depths and settings, each buffer exactly
// as large as its rows, so that the sanitizer sees any access outside them.
// Also places images of fuzzed sizes on fuzzed screens.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "imaging/color_adjust.h"
#include "imaging/fit.h"
#include "imaging/render_pass.h"

namespace {

using namespace orvalen;

struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t Byte() { return at < size ? data[at++] : 0; }
  int32_t Int16() { return static_cast<int16_t>(Byte() | (Byte() << 8)); }
};

struct Buffer {
  std::unique_ptr<uint8_t[]> bytes;
  DibView view;
  Buffer(int32_t width, int32_t height, int32_t bpp, Input& in) {
    const int32_t stride = DibView::StrideFor(width, bpp);
    const size_t size = static_cast<size_t>(stride) * static_cast<size_t>(height);
    bytes.reset(new uint8_t[size]);
    for (size_t i = 0; i < size; ++i) bytes[i] = in.Byte() ^ static_cast<uint8_t>(i * 37);
    view = DibView{bytes.get(), width, height, bpp, stride};
  }
};

bool CountdownPoll(void* context) { return --*static_cast<int*>(context) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  ImagePlacement place;
  place.hasImage = true;
  place.imageWidth = in.Int16();
  place.imageHeight = in.Int16();
  place.screenRect = Rect{in.Int16(), in.Int16(), in.Int16(), in.Int16()};
  place.optionDisplay = in.Byte() & 7;
  place.drawCalendar = (in.Byte() & 1) != 0;
  Rect image, band, panel;
  ComputeImageRect(place, image, band, panel);

  static const int32_t kDepths[4] = {16, 24, 32, 8};
  const int32_t sw = 1 + in.Byte() % 90;
  const int32_t sh = 1 + in.Byte() % 90;
  const int32_t bpp = kDepths[in.Byte() & 3];
  const int32_t tw = in.Byte() % 70;
  const int32_t th = in.Byte() % 70;
  RenderInput render;
  render.transition = in.Byte() % 4;
  render.edges = in.Byte() % 3;
  render.accurate = (in.Byte() & 1) != 0;
  const GammaTable gamma = BuildGammaTable(static_cast<int8_t>(in.Byte()) * 2);
  render.gamma = &gamma;
  render.brightness = BrightnessFactor(static_cast<int8_t>(in.Byte()));
  render.grayscale = (in.Byte() & 1) != 0;
  int polls = in.Byte();  // report movement on this poll (0: never)

  Buffer source(sw, sh, bpp, in);
  std::vector<std::unique_ptr<Buffer>> work;
  for (int k = 0; k < 5; ++k) {
    work.push_back(std::make_unique<Buffer>(tw, th, 24, in));
    render.work[k] = work.back()->view;
  }
  Buffer old(tw, th, 24, in);
  render.source = source.view;
  render.oldScreen = old.view;
  PixelPoll poll(&CountdownPoll, &polls);
  try {
    RenderPixels(render, poll);
  } catch (const std::invalid_argument&) {
    // An 8-bit source is refused, as it should be.
  }
  return 0;
}
