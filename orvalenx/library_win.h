#pragma once
// The work behind the DLL's six exports, with the block allocator as a
// parameter so tests can count blocks. Nothing here throws past
// std::bad_alloc; the exports catch everything.
#include <windows.h>

#include "orvalenx/global_memory_win.h"
#include "orvalenx/histogram_registry.h"

namespace orvalen {

HGLOBAL LoadGraphicFileWith(const char* path, GlobalBlockAllocator& allocator);
HGLOBAL ApplyQuantizedPaletteWith(HGLOBAL dib, const LOGPALETTE* palette, GlobalBlockAllocator& allocator);

// The process's histograms, shared by the functions below.
HistogramRegistry& Histograms();
bool CalculateHistogramOf(uint32_t histogram, HGLOBAL dib);
WORD QuantizeHistogramOf(uint32_t histogram, WORD maxColors, LOGPALETTE* palette);

}  // namespace orvalen
