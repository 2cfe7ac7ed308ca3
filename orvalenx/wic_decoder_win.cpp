#include "orvalenx/wic_decoder_win.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

#include "orvalenx/dib_layout.h"
#include "orvalenx/exif_orientation.h"
#include "orvalenx/pixel_placement.h"
#include "winapp/com_win.h"

namespace orvalen {
namespace {

class PropVariant {
 public:
  PropVariant() { PropVariantInit(&v_); }
  PropVariant(const PropVariant&) = delete;
  PropVariant& operator=(const PropVariant&) = delete;
  ~PropVariant() { PropVariantClear(&v_); }
  PROPVARIANT* Out() {
    PropVariantClear(&v_);
    return &v_;
  }
  std::optional<uint32_t> Unsigned() const {
    switch (v_.vt) {
      case VT_UI1: return v_.bVal;
      case VT_UI2: return v_.uiVal;
      case VT_UI4: return v_.ulVal;
      case VT_BOOL: return v_.boolVal ? 1u : 0u;
      default: return std::nullopt;
    }
  }

 private:
  PROPVARIANT v_;
};

std::optional<uint32_t> QueryUnsigned(IWICMetadataQueryReader* reader, const wchar_t* name) {
  if (reader == nullptr) return std::nullopt;
  PropVariant value;
  if (FAILED(reader->GetMetadataByName(name, value.Out()))) return std::nullopt;
  return value.Unsigned();
}

std::optional<SourceFormat> FormatOf(const WICPixelFormatGUID& f) {
  struct Known {
    const GUID* guid;
    SourceFormat format;
  };
  static const Known kKnown[] = {
      {&GUID_WICPixelFormatBlackWhite, SourceFormat::kBlackWhite},
      {&GUID_WICPixelFormat1bppIndexed, SourceFormat::kIndexed1},
      {&GUID_WICPixelFormat2bppIndexed, SourceFormat::kIndexed2},
      {&GUID_WICPixelFormat4bppIndexed, SourceFormat::kIndexed4},
      {&GUID_WICPixelFormat8bppIndexed, SourceFormat::kIndexed8},
      {&GUID_WICPixelFormat2bppGray, SourceFormat::kGray2},
      {&GUID_WICPixelFormat4bppGray, SourceFormat::kGray4},
      {&GUID_WICPixelFormat8bppGray, SourceFormat::kGray8},
      {&GUID_WICPixelFormat16bppGray, SourceFormat::kGray16},
      {&GUID_WICPixelFormat24bppBGR, SourceFormat::kBgr24},
      {&GUID_WICPixelFormat24bppRGB, SourceFormat::kRgb24},
      {&GUID_WICPixelFormat32bppBGR, SourceFormat::kBgrx32},
      {&GUID_WICPixelFormat32bppBGRA, SourceFormat::kBgrx32},
      {&GUID_WICPixelFormat32bppRGBA, SourceFormat::kRgbx32},
      {&GUID_WICPixelFormat48bppRGB, SourceFormat::kRgb48},
      {&GUID_WICPixelFormat48bppBGR, SourceFormat::kBgr48},
      {&GUID_WICPixelFormat64bppRGBA, SourceFormat::kRgba64},
      {&GUID_WICPixelFormat64bppBGRA, SourceFormat::kBgra64},
  };
  for (const Known& k : kKnown) {
    if (IsEqualGUID(*k.guid, f)) return k.format;
  }
  return std::nullopt;
}

bool LooksLikeGif(std::span<const uint8_t> file) {
  return file.size() >= 6 && std::memcmp(file.data(), "GIF8", 4) == 0;
}

// The palette of an indexed frame, from the frame or else the file.
std::vector<WICColor> PaletteOf(IWICImagingFactory* factory, IWICBitmapDecoder* decoder,
                                IWICBitmapFrameDecode* frame) {
  std::vector<WICColor> colors;
  ComPtr<IWICPalette> palette;
  if (FAILED(factory->CreatePalette(palette.Out()))) return colors;
  if (FAILED(frame->CopyPalette(palette.Get())) && FAILED(decoder->CopyPalette(palette.Get()))) return colors;
  UINT count = 0;
  if (FAILED(palette->GetColorCount(&count)) || count == 0) return colors;
  colors.resize(std::min<UINT>(count, 256));
  UINT got = 0;
  if (FAILED(palette->GetColors(static_cast<UINT>(colors.size()), colors.data(), &got))) got = 0;
  colors.resize(got);
  return colors;
}

// What a GIF's first frame needs to be shown as a viewer shows it: where it
// lies on the logical screen, the screen's size and background colour, and
// the frame's transparent colour.
struct GifScreen {
  uint32_t left = 0, top = 0, width = 0, height = 0;
  WICColor background = 0xFFFFFFFF;  // white when the file has no global table
  std::optional<uint32_t> transparentIndex;
};

GifScreen ReadGifScreen(IWICImagingFactory* factory, IWICBitmapDecoder* decoder, IWICBitmapFrameDecode* frame) {
  GifScreen screen;
  ComPtr<IWICMetadataQueryReader> frameMeta;
  if (SUCCEEDED(frame->GetMetadataQueryReader(frameMeta.Out()))) {
    screen.left = QueryUnsigned(frameMeta.Get(), L"/imgdesc/Left").value_or(0);
    screen.top = QueryUnsigned(frameMeta.Get(), L"/imgdesc/Top").value_or(0);
    if (QueryUnsigned(frameMeta.Get(), L"/grctlext/TransparencyFlag").value_or(0))
      screen.transparentIndex = QueryUnsigned(frameMeta.Get(), L"/grctlext/TransparentColorIndex");
  }
  ComPtr<IWICMetadataQueryReader> fileMeta;
  if (SUCCEEDED(decoder->GetMetadataQueryReader(fileMeta.Out()))) {
    screen.width = QueryUnsigned(fileMeta.Get(), L"/logscrdesc/Width").value_or(0);
    screen.height = QueryUnsigned(fileMeta.Get(), L"/logscrdesc/Height").value_or(0);
    const auto hasGlobal = QueryUnsigned(fileMeta.Get(), L"/logscrdesc/GlobalColorTableFlag");
    const auto backgroundIndex = QueryUnsigned(fileMeta.Get(), L"/logscrdesc/BackgroundColorIndex");
    ComPtr<IWICPalette> global;
    if (hasGlobal && *hasGlobal && backgroundIndex && SUCCEEDED(factory->CreatePalette(global.Out())) &&
        SUCCEEDED(decoder->CopyPalette(global.Get()))) {
      WICColor table[256];
      UINT got = 0;
      if (SUCCEEDED(global->GetColors(256, table, &got)) && *backgroundIndex < got) screen.background = table[*backgroundIndex];
    }
  }
  return screen;
}

// The entry showing `color`: an equal one, else a new one while the table
// has room, else the nearest.
uint32_t EntryFor(std::vector<WICColor>& colors, WICColor color, size_t room) {
  auto channel = [](WICColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
  for (size_t i = 0; i < colors.size(); ++i) {
    if ((colors[i] & 0xFFFFFF) == (color & 0xFFFFFF)) return static_cast<uint32_t>(i);
  }
  if (colors.size() < room) {
    colors.push_back(color);
    return static_cast<uint32_t>(colors.size() - 1);
  }
  uint32_t best = 0;
  int bestDistance = INT32_MAX;
  for (size_t i = 0; i < colors.size(); ++i) {
    int d = 0;
    for (int shift : {0, 8, 16}) d += (channel(colors[i], shift) - channel(color, shift)) * (channel(colors[i], shift) - channel(color, shift));
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<uint32_t>(i);
    }
  }
  return best;
}

}  // namespace

void* DecodeWithWic(std::span<const uint8_t> file, BlockAllocator& allocator) {
  if (file.empty() || file.size() > 0xFFFFFFFFu) return nullptr;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Out()))))
    return nullptr;
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Out()))) return nullptr;
  // The stream only reads the bytes, though its signature takes them writable.
  if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), static_cast<DWORD>(file.size()))))
    return nullptr;
  ComPtr<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())))
    return nullptr;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.Out()))) return nullptr;
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height))) return nullptr;
  if (width == 0 || height == 0 || width > static_cast<UINT>(kMaxDibDimension) ||
      height > static_cast<UINT>(kMaxDibDimension))
    return nullptr;

  WICPixelFormatGUID pixelFormat{};
  if (FAILED(frame->GetPixelFormat(&pixelFormat))) return nullptr;
  IWICBitmapSource* source = frame.Get();
  ComPtr<IWICFormatConverter> converter;
  auto format = FormatOf(pixelFormat);
  if (!format) {
    // CMYK and anything else: let the component convert to 24 bits.
    if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
      return nullptr;
    source = converter.Get();
    format = SourceFormat::kBgr24;
  }

  const int orientation = (LooksLikeJpeg(file) || LooksLikeTiff(file)) ? ReadExifOrientation(file) : 1;
  const bool swap = SwapsAxes(orientation);
  const int32_t outBits = OutputBitsPerPixel(*format);
  const int32_t colorCount = outBits == 24 ? 0 : (1 << outBits);
  uint64_t outWidth = swap ? height : width;
  uint64_t outHeight = swap ? width : height;

  std::vector<WICColor> colors;
  std::optional<GifScreen> screen;
  std::optional<uint32_t> backgroundEntry;
  if (IsIndexed(*format)) {
    colors = PaletteOf(factory.Get(), decoder.Get(), frame.Get());
    if (colors.empty()) return nullptr;
    colors.resize(std::min<size_t>(colors.size(), colorCount));
    if (LooksLikeGif(file)) {
      // The first frame is shown on its logical screen: the background
      // colour around it and through its transparent colour.
      screen = ReadGifScreen(factory.Get(), decoder.Get(), frame.Get());
      if (screen->transparentIndex && *screen->transparentIndex < colors.size()) {
        colors[*screen->transparentIndex] = screen->background;
        backgroundEntry = *screen->transparentIndex;
      }
      outWidth = std::max<uint64_t>(screen->width, uint64_t{screen->left} + width);
      outHeight = std::max<uint64_t>(screen->height, uint64_t{screen->top} + height);
      if (outWidth != width || outHeight != height) {
        if (!backgroundEntry) backgroundEntry = EntryFor(colors, screen->background, colorCount);
      } else {
        screen->left = screen->top = 0;
      }
    }
  }
  const auto layout = PlanDib(static_cast<int64_t>(std::min<uint64_t>(outWidth, INT32_MAX)),
                              static_cast<int64_t>(std::min<uint64_t>(outHeight, INT32_MAX)), outBits, colorCount);
  if (!layout) return nullptr;

  DibBlock dib = DibBlock::Create(allocator, *layout);
  if (!dib) return nullptr;
  RgbQuad* table = dib.ColorTable();
  if (IsIndexed(*format)) {
    for (int32_t i = 0; i < colorCount; ++i) {
      const WICColor c = i < static_cast<int32_t>(colors.size()) ? colors[i] : 0;
      table[i] = RgbQuad{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16), 0};
    }
  } else if (colorCount != 0) {
    WriteGrayTable(*format, table);
  }

  if (orientation == 1 && *format == SourceFormat::kBgr24 && !screen) {
    // Already in the DIB's pixel layout: each row is copied straight into
    // its place, without a band buffer and a second pass over the picture.
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    for (UINT y = 0; y < height; ++y) {
      uint8_t* row = dib.RowFromTop(static_cast<int32_t>(y));
      const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), 1};
      if (FAILED(source->CopyPixels(&rect, static_cast<UINT>(layout->stride), static_cast<UINT>(rowBytes), row)))
        return nullptr;
      std::memset(row + rowBytes, 0, static_cast<size_t>(layout->stride) - rowBytes);
    }
    return dib.Release();
  }
  const uint64_t sourceStride = ((static_cast<uint64_t>(width) * SourceBitsPerPixel(*format) + 31) / 32) * 4;
  const UINT bandRows = static_cast<UINT>(std::clamp<uint64_t>((uint64_t{1} << 20) / sourceStride, 1, height));
  std::vector<uint8_t> band(static_cast<size_t>(sourceStride * bandRows));
  OrientedWriter writer(*format, orientation, static_cast<int32_t>(width), static_cast<int32_t>(height), dib);
  if (screen && (layout->width != static_cast<int32_t>(width) || layout->height != static_cast<int32_t>(height))) {
    FillWithIndex(dib, *backgroundEntry);
    writer.SetOffset(static_cast<int32_t>(screen->left), static_cast<int32_t>(screen->top));
  }
  for (UINT y = 0; y < height; y += bandRows) {
    const UINT rows = std::min(bandRows, height - y);
    const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(rows)};
    if (FAILED(source->CopyPixels(&rect, static_cast<UINT>(sourceStride), static_cast<UINT>(sourceStride * rows),
                                  band.data())))
      return nullptr;
    for (UINT r = 0; r < rows; ++r) writer.PlaceRow(static_cast<int32_t>(y + r), band.data() + r * sourceStride);
  }
  return dib.Release();
}

}  // namespace orvalen
