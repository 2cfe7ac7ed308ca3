#include "orvalenx/library_win.h"

#include <span>

#include "orvalenx/color_histogram.h"
#include "orvalenx/file_kind.h"
#include "orvalenx/mapped_file_win.h"
#include "orvalenx/palette_mapping.h"
#include "orvalenx/wic_decoder_win.h"

namespace orvalen {

HGLOBAL LoadGraphicFileWith(const char* path, GlobalBlockAllocator& allocator) {
  MappedFile file(path);
  if (!file) return nullptr;
  const std::span<const uint8_t> bytes = file.Bytes();
  const FileKind kind = SniffFile(bytes);
  void* block = kind == FileKind::kOther ? DecodeWithWic(bytes, allocator) : DecodeOwnFormat(kind, bytes, allocator);
  return block ? allocator.Finish(block) : nullptr;
}

HGLOBAL ApplyQuantizedPaletteWith(HGLOBAL dib, const LOGPALETTE* palette, GlobalBlockAllocator& allocator) {
  if (dib == nullptr || palette == nullptr) return nullptr;
  const std::vector<RgbQuad> colors = ReadLogPalette(reinterpret_cast<const uint8_t*>(palette));
  if (colors.empty()) return nullptr;
  GlobalReadLock source(dib);
  if (source.Data() == nullptr) return nullptr;
  void* block = MapToPalette(source.Data(), source.Size(), colors, allocator);
  return block ? allocator.Finish(block) : nullptr;
}

HistogramRegistry& Histograms() {
  static HistogramRegistry registry;
  return registry;
}

bool CalculateHistogramOf(uint32_t histogram, HGLOBAL dib) {
  if (histogram == 0 || dib == nullptr) return false;
  GlobalReadLock source(dib);
  if (source.Data() == nullptr) return false;
  bool added = false;
  Histograms().With(histogram, [&](ColorHistogram& h) { added = h.AddDib(source.Data(), source.Size()); });
  return added;
}

WORD QuantizeHistogramOf(uint32_t histogram, WORD maxColors, LOGPALETTE* palette) {
  if (histogram == 0 || palette == nullptr) return 0;
  RgbQuad colors[256];
  int count = 0;
  if (!Histograms().With(histogram, [&](ColorHistogram& h) { count = h.Quantize(maxColors, colors); })) return 0;
  WriteLogPalette(reinterpret_cast<uint8_t*>(palette), std::span<const RgbQuad>(colors, count));
  return static_cast<WORD>(count);
}

}  // namespace orvalen
