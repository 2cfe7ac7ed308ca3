#include "imaging/median_cut_win.h"

#include <cstdlib>
#include <vector>

#include "imaging/image_error.h"
#include "orvalenx/orvalenx_api_win.h"

namespace orvalen {
namespace {

constexpr size_t kPaletteBufferBytes = sizeof(WORD) * 2 + 256 * sizeof(PALETTEENTRY);  // 1,028

}  // namespace

TMedianCut::TMedianCut() { Reset(); }

TMedianCut::~TMedianCut() { Reset(); }

void TMedianCut::Calculate(const TExtendedDib& image) {
  if (quantized_ || image.BitsPerPixel() < 4) return;
  if (!created_) {
    histogram_ = CreateHistogram();
    if (histogram_ == 0) throw ImageError::OutOfMemory();
    buffer_ = static_cast<LOGPALETTE*>(std::malloc(kPaletteBufferBytes));
    if (buffer_ == nullptr) {
      DestroyHistogram(histogram_);
      histogram_ = 0;
      throw ImageError::OutOfMemory();
    }
    created_ = true;
  }
  if (!CalculateHistogram(histogram_, image.Handle())) throw ImageError::OutOfMemory();
}

uint16_t TMedianCut::Quantize(uint16_t maxColors) {
  if (!quantized_) {
    colorCount_ = QuantizeHistogram(histogram_, maxColors, buffer_) & 0xFFFF;
    quantized_ = true;
    if (palette_ != nullptr) {
      DeleteObject(palette_);
      palette_ = nullptr;
    }
    if (colorCount_ != 0) palette_ = CreatePalette(buffer_);
  }
  return static_cast<uint16_t>(colorCount_);
}

bool TMedianCut::ApplyPalette(TExtendedDib& image) {
  if (!quantized_) return false;
  HGLOBAL mapped = ApplyQuantizedPalette(image.Handle(), histogram_, buffer_);
  if (mapped == nullptr) return false;
  try {
    return image.AdoptHandle(mapped);
  } catch (...) {
    GlobalFree(mapped);
    throw;
  }
}

void TMedianCut::Reset() {
  if (histogram_ != 0) DestroyHistogram(histogram_);
  std::free(buffer_);
  if (palette_ != nullptr) DeleteObject(palette_);
  quantized_ = false;
  created_ = false;
  histogram_ = 0;
  buffer_ = nullptr;
  palette_ = nullptr;
  colorCount_ = 0;
}

HPALETTE BuildDisplayPalette(TExtendedDib& image) {
  TMedianCut quantizer;
  quantizer.Calculate(image);
  quantizer.Quantize(256);
  if (quantizer.Palette() == nullptr) return nullptr;
  const UINT count = GetPaletteEntries(quantizer.Palette(), 0, 0, nullptr);
  if (count == 0) return nullptr;
  std::vector<BYTE> storage(sizeof(WORD) * 2 + count * sizeof(PALETTEENTRY));
  auto* copy = reinterpret_cast<LOGPALETTE*>(storage.data());
  copy->palVersion = 0x300;
  copy->palNumEntries = static_cast<WORD>(count);
  GetPaletteEntries(quantizer.Palette(), 0, count, copy->palPalEntry);
  return CreatePalette(copy);
}

int DrawDibWithPalette(HDC dc, HPALETTE palette, const Rect& dest, const TExtendedDib& image) {
  return DrawDibWithPalette(dc, palette, dest, Rect{0, 0, image.Width(), image.Height()}, image);
}

int DrawDibWithPalette(HDC dc, HPALETTE palette, const Rect& dest, const Rect& source, const TExtendedDib& image) {
  if (image.IsEmpty()) return 0;
  HPALETTE previous = nullptr;
  if (palette != nullptr) {
    previous = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
  }
  // Rows of a bottom-up DIB are counted from its bottom edge.
  const int lines = StretchDIBits(dc, dest.left, dest.top, dest.Width(), dest.Height(), source.left,
                                  image.Height() - source.bottom, source.Width(), source.Height(), image.Bits(),
                                  image.Info(), image.ColorUse(), SRCCOPY);
  if (palette != nullptr) {
    SelectPalette(dc, previous, FALSE);
    RealizePalette(dc);
  }
  return lines;
}

}  // namespace orvalen
