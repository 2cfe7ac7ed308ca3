#pragma once
// The pixel work of rendering one picture for the saver: resample the source
// into the final work image, treat its edges, then one pass that adjusts each
// pixel's colour and writes the four transition frames from it.
#include <array>
#include <cstdint>

#include "imaging/color_adjust.h"
#include "base/dib_view.h"
#include "imaging/pixel_poll.h"
#include "imaging/resample.h"

namespace orvalen {

// OPTION_TRANSITION values; any other value renders but writes no frames.
inline constexpr int32_t kTransitionErase = 0;
inline constexpr int32_t kTransitionBlend = 1;
inline constexpr int32_t kTransitionFade = 2;

inline constexpr int kFrameCount = 4;
// Fade frame k = trunc(P m[k]).
inline constexpr double kFadeFactor[kFrameCount] = {0.4, 0.6, 0.8, 0.9};
// Blend frame k = trunc(S s[k] + P w[k]), S the old screen, P the new pixel.
inline constexpr double kBlendScreenWeight[kFrameCount] = {0.7, 0.5, 0.3, 0.1};
inline constexpr double kBlendImageWeight[kFrameCount] = {0.3, 0.5, 0.7, 0.9};

// One channel of frame k + 1 (k = 0..3), straight from the formulas.
int FadeChannel(int p, int k);
int BlendChannel(int s, int p, int k);

// The same values in integer arithmetic, which the pass computes sixteen
// channels at a time. The products with the double constants are exact in
// extended precision, so each frame is the floor of an exact rational: 0.6,
// 0.7 and 0.3 lie just below their decimal values, which takes one off
// wherever the decimal result would be a whole number above 0.
int FadeChannelInteger(int p, int k);
int BlendChannelInteger(int s, int p, int k);

// The frames of one row of bytes (each channel stands alone): frame[k][i]
// from p[i] (and s[i] for the blend), for i < count.
void FadeRow(const uint8_t* p, size_t count, uint8_t* const frame[kFrameCount]);
void BlendRow(const uint8_t* s, const uint8_t* p, size_t count, uint8_t* const frame[kFrameCount]);

struct RenderInput {
  // The current image: 16, 24 or 32 bits per pixel.
  DibView source;
  // 0 is the final image, 1 to 4 the transition frames: 24 bits per pixel,
  // rows in memory order, all of work[0]'s size. The frames are needed only
  // for the blend and the fade.
  std::array<DibView, 5> work;
  int32_t transition = kTransitionErase;
  int32_t edges = 0;
  bool accurate = false;  // ChooseAccurate's answer
  const GammaTable* gamma = nullptr;  // null or identity: no gamma curve
  float brightness = 0;               // BrightnessFactor
  bool grayscale = false;
  // Blend only: the pixels on the screen under the picture, 24 bits per
  // pixel, work[0]'s size and row order (row y shows screen row
  // imageRect.top + height - 1 - y).
  DibView oldScreen;
  // Reused by the accurate reduction; may be null.
  ResampleScratch* scratch = nullptr;
};

// The pass alone (the last step of RenderPixels): adjusts every pixel of
// work[0] (gamma, brightness, grey), stores it and writes the frames of the
// blend or the fade. False when the poll reported movement.
bool RunPixelPass(const RenderInput& in, PixelPoll& poll);

// The first half of RenderPixels: resamples the source into work[0] and
// applies the edges. It reads neither the old screen nor the frames, so it
// can run before either exists (only work[0] is checked). False when the
// poll reported movement.
bool ResampleWork(const RenderInput& in, PixelPoll& poll);

// Resamples the source into work[0], applies the edges, then adjusts every
// pixel (gamma, brightness, grey), stores it and writes the frames of the
// blend or the fade. Returns false as soon as the poll reports movement;
// work[0] then holds what was rendered so far. A work image without pixels
// (width or height 0) renders nothing; views that do not fit together raise
// std::invalid_argument before anything is written.
bool RenderPixels(const RenderInput& in, PixelPoll& poll);

}  // namespace orvalen
