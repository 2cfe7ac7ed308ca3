#include "imaging/render_pass.h"

#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "imaging/edges.h"

namespace orvalen {

namespace {

// floor(x * c / 65536); with c = 13108 this is x div 5 for x up to 1020,
// with c = 6554 x div 10 for x up to 2550.
constexpr uint32_t kDiv5 = 13108;
constexpr uint32_t kDiv10 = 6554;

inline uint32_t MulHigh(uint32_t x, uint32_t c) { return (x * c) >> 16; }
inline uint32_t LessOne(uint32_t x) { return x == 0 ? 0 : x - 1; }

bool SameSize(const DibView& a, const DibView& b) { return a.width == b.width && a.height == b.height; }

void CheckView(const DibView& view, const DibView& final, const char* what) {
  if (view.bits == nullptr || view.bitsPerPixel != 24 || !SameSize(view, final)) {
    throw std::invalid_argument(what);
  }
}

// False when there is nothing to render (a work image without pixels).
bool CheckFinalView(const DibView& final) {
  if (final.bitsPerPixel != 24) throw std::invalid_argument("the final work image must be a 24-bit image");
  if (final.width <= 0 || final.height <= 0) return false;
  if (final.bits == nullptr) throw std::invalid_argument("the final work image has no pixels");
  return true;
}

// The final image, then the frames and the old screen the transition reads.
bool CheckRenderViews(const RenderInput& in) {
  const DibView& final = in.work[0];
  if (!CheckFinalView(final)) return false;
  if (in.transition == kTransitionBlend || in.transition == kTransitionFade) {
    for (int k = 1; k <= kFrameCount; ++k) {
      CheckView(in.work[k], final, "the transition frames must match the final work image");
    }
  }
  if (in.transition == kTransitionBlend) {
    CheckView(in.oldScreen, final, "the old screen must match the final work image");
  }
  return true;
}

// Gamma and brightness on every byte of a row.
void ToneRow(uint8_t* p, size_t count, const uint8_t* tone) {
  for (size_t i = 0; i < count; ++i) p[i] = tone[p[i]];
}

// Gamma and brightness, then grey, on each pixel of a row: the weights of the
// grey sum are folded into the channel tables.
void GrayRow(uint8_t* p, int32_t width, const uint16_t* blue, const uint16_t* green,
             const uint16_t* red) {
  for (int32_t x = 0; x < width; ++x, p += 3) {
    const uint32_t y = (blue[p[0]] + green[p[1]] + red[p[2]]) / 100u;
    p[0] = p[1] = p[2] = static_cast<uint8_t>(y);
  }
}

bool Pass(const RenderInput& in, PixelPoll& poll) {
  const DibView& final = in.work[0];
  const GammaTable identity;
  const GammaTable& gamma = in.gamma != nullptr ? *in.gamma : identity;
  const bool tone = !gamma.identity || in.brightness != 0;
  const std::array<uint8_t, 256> toneTable = BuildToneTable(gamma, in.brightness);
  uint16_t blue[256], green[256], red[256];
  for (int c = 0; c < 256; ++c) {
    blue[c] = static_cast<uint16_t>(11 * toneTable[c]);
    green[c] = static_cast<uint16_t>(59 * toneTable[c]);
    red[c] = static_cast<uint16_t>(30 * toneTable[c]);
  }

  const size_t rowBytes = 3 * static_cast<size_t>(final.width);
  // Each pixel depends on its own position only, so the rows are taken in
  // memory order, and each row is finished (colour, then frames) while it is
  // in the cache; the poll still runs once per 5,001 pixels.
  for (int32_t y = 0; y < final.height; ++y) {
    uint8_t* p = final.Row(y);
    if (in.grayscale) {
      GrayRow(p, final.width, blue, green, red);
    } else if (tone) {
      ToneRow(p, rowBytes, toneTable.data());
    }
    if (in.transition == kTransitionFade || in.transition == kTransitionBlend) {
      uint8_t* frame[kFrameCount];
      for (int k = 0; k < kFrameCount; ++k) frame[k] = in.work[k + 1].Row(y);
      if (in.transition == kTransitionFade) {
        FadeRow(p, rowBytes, frame);
      } else {
        BlendRow(in.oldScreen.Row(y), p, rowBytes, frame);
      }
    }
    if (poll.CountMany(static_cast<uint64_t>(final.width))) return false;
  }
  return true;
}

}  // namespace

int FadeChannel(int p, int k) { return static_cast<int>(p * static_cast<long double>(kFadeFactor[k])); }

int BlendChannel(int s, int p, int k) {
  return static_cast<int>(s * static_cast<long double>(kBlendScreenWeight[k]) +
                          p * static_cast<long double>(kBlendImageWeight[k]));
}

int FadeChannelInteger(int p, int k) {
  const uint32_t v = static_cast<uint32_t>(p);
  switch (k) {
    case 0: return static_cast<int>(MulHigh(2 * v, kDiv5));           // 2P / 5
    case 1: return static_cast<int>(MulHigh(LessOne(3 * v), kDiv5));  // 3P / 5, less at multiples
    case 2: return static_cast<int>(MulHigh(4 * v, kDiv5));           // 4P / 5
    default: return static_cast<int>(MulHigh(9 * v, kDiv10));         // 9P / 10
  }
}

int BlendChannelInteger(int s, int p, int k) {
  const uint32_t a = static_cast<uint32_t>(s);
  const uint32_t b = static_cast<uint32_t>(p);
  switch (k) {
    case 0: return static_cast<int>(MulHigh(LessOne(7 * a + 3 * b), kDiv10));
    case 1: return static_cast<int>((a + b) >> 1);
    case 2: return static_cast<int>(MulHigh(LessOne(3 * a + 7 * b), kDiv10));
    default: return static_cast<int>(MulHigh(a + 9 * b, kDiv10));
  }
}

void FadeRow(const uint8_t* p, size_t count, uint8_t* const frame[kFrameCount]) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  const __m128i div5 = _mm_set1_epi16(static_cast<short>(kDiv5));
  const __m128i div10 = _mm_set1_epi16(static_cast<short>(kDiv10));
  const __m128i three = _mm_set1_epi16(3);
  const __m128i nine = _mm_set1_epi16(9);
  for (; i + 16 <= count; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i lo = _mm_unpacklo_epi8(v, zero);
    const __m128i hi = _mm_unpackhi_epi8(v, zero);
    auto store = [&](int k, __m128i a, __m128i b) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(frame[k] + i), _mm_packus_epi16(a, b));
    };
    store(0, _mm_mulhi_epu16(_mm_slli_epi16(lo, 1), div5), _mm_mulhi_epu16(_mm_slli_epi16(hi, 1), div5));
    store(1, _mm_mulhi_epu16(_mm_subs_epu16(_mm_mullo_epi16(lo, three), one), div5),
          _mm_mulhi_epu16(_mm_subs_epu16(_mm_mullo_epi16(hi, three), one), div5));
    store(2, _mm_mulhi_epu16(_mm_slli_epi16(lo, 2), div5), _mm_mulhi_epu16(_mm_slli_epi16(hi, 2), div5));
    store(3, _mm_mulhi_epu16(_mm_mullo_epi16(lo, nine), div10),
          _mm_mulhi_epu16(_mm_mullo_epi16(hi, nine), div10));
  }
#endif
  for (; i < count; ++i) {
    for (int k = 0; k < kFrameCount; ++k) frame[k][i] = static_cast<uint8_t>(FadeChannelInteger(p[i], k));
  }
}

void BlendRow(const uint8_t* s, const uint8_t* p, size_t count, uint8_t* const frame[kFrameCount]) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  const __m128i div10 = _mm_set1_epi16(static_cast<short>(kDiv10));
  const __m128i three = _mm_set1_epi16(3);
  const __m128i seven = _mm_set1_epi16(7);
  const __m128i nine = _mm_set1_epi16(9);
  for (; i + 16 <= count; i += 16) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i pv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i slo = _mm_unpacklo_epi8(sv, zero);
    const __m128i shi = _mm_unpackhi_epi8(sv, zero);
    const __m128i plo = _mm_unpacklo_epi8(pv, zero);
    const __m128i phi = _mm_unpackhi_epi8(pv, zero);
    auto tenths = [&](__m128i sw, __m128i pw, __m128i a, __m128i b, bool lessOne) {
      __m128i x = _mm_add_epi16(_mm_mullo_epi16(a, sw), _mm_mullo_epi16(b, pw));
      if (lessOne) x = _mm_subs_epu16(x, one);
      return _mm_mulhi_epu16(x, div10);
    };
    auto store = [&](int k, __m128i a, __m128i b) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(frame[k] + i), _mm_packus_epi16(a, b));
    };
    store(0, tenths(seven, three, slo, plo, true), tenths(seven, three, shi, phi, true));
    store(1, _mm_srli_epi16(_mm_add_epi16(slo, plo), 1), _mm_srli_epi16(_mm_add_epi16(shi, phi), 1));
    store(2, tenths(three, seven, slo, plo, true), tenths(three, seven, shi, phi, true));
    store(3, tenths(one, nine, slo, plo, false), tenths(one, nine, shi, phi, false));
  }
#endif
  for (; i < count; ++i) {
    for (int k = 0; k < kFrameCount; ++k) {
      frame[k][i] = static_cast<uint8_t>(BlendChannelInteger(s[i], p[i], k));
    }
  }
}

bool RunPixelPass(const RenderInput& in, PixelPoll& poll) {
  if (!CheckRenderViews(in)) return true;
  return Pass(in, poll);
}

bool ResampleWork(const RenderInput& in, PixelPoll& poll) {
  const DibView& final = in.work[0];
  if (!CheckFinalView(final)) return true;
  ResampleScratch localScratch;
  ResampleScratch& scratch = in.scratch != nullptr ? *in.scratch : localScratch;
  const bool done = in.accurate ? ResampleAccurate(in.source, final, poll, scratch)
                                : ResampleSimple(in.source, final, poll);
  if (!done) return false;
  ApplyEdges(final, in.edges);
  return true;
}

bool RenderPixels(const RenderInput& in, PixelPoll& poll) {
  if (!CheckRenderViews(in)) return true;
  return ResampleWork(in, poll) && Pass(in, poll);
}

}  // namespace orvalen
