// Orvalenx.dll: the six exports. Each one catches everything, so no C++
// exception reaches the caller; a failure is the documented 0.
#include "orvalenx/library_win.h"
#include "orvalenx/orvalenx_api_win.h"

using orvalen::GlobalBlockAllocator;

extern "C" {

HGLOBAL WINAPI LoadGraphicFile(const char* path, int, int) {
  try {
    GlobalBlockAllocator allocator;
    return orvalen::LoadGraphicFileWith(path, allocator);
  } catch (...) {
    return nullptr;
  }
}

ORVALENX_HISTOGRAM WINAPI CreateHistogram(void) {
  try {
    return orvalen::Histograms().Create();
  } catch (...) {
    return 0;
  }
}

BOOL WINAPI CalculateHistogram(ORVALENX_HISTOGRAM histogram, HGLOBAL dib) {
  try {
    return orvalen::CalculateHistogramOf(histogram, dib) ? TRUE : FALSE;
  } catch (...) {
    return FALSE;
  }
}

WORD WINAPI QuantizeHistogram(ORVALENX_HISTOGRAM histogram, WORD maxColors, LOGPALETTE* palette) {
  try {
    return orvalen::QuantizeHistogramOf(histogram, maxColors, palette);
  } catch (...) {
    return 0;
  }
}

HGLOBAL WINAPI ApplyQuantizedPalette(HGLOBAL dib, ORVALENX_HISTOGRAM, LOGPALETTE* palette) {
  try {
    GlobalBlockAllocator allocator;
    return orvalen::ApplyQuantizedPaletteWith(dib, palette, allocator);
  } catch (...) {
    return nullptr;
  }
}

void WINAPI DestroyHistogram(ORVALENX_HISTOGRAM histogram) {
  try {
    orvalen::Histograms().Destroy(histogram);
  } catch (...) {
  }
}

}  // extern "C"
