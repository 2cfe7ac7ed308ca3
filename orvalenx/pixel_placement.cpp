#include "orvalenx/pixel_placement.h"

#include <algorithm>
#include <cstring>

#include "base/byte_order.h"

namespace orvalen {
namespace {

inline uint8_t Reduce16(uint32_t v) { return static_cast<uint8_t>((v * 255 + 32767) / 65535); }

inline uint32_t GetPixel(const uint8_t* row, int32_t x, int bits) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4);
    case 8: return row[x];
    default: {
      const uint8_t* p = row + 3 * static_cast<size_t>(x);
      return p[0] | (p[1] << 8) | (p[2] << 16);
    }
  }
}

inline void SetPixel(uint8_t* row, int32_t x, int bits, uint32_t v) {
  switch (bits) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>(v ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 4: {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | v) : static_cast<uint8_t>((b & 0x0F) | (v << 4));
      break;
    }
    case 8:
      row[x] = static_cast<uint8_t>(v);
      break;
    default: {
      uint8_t* p = row + 3 * static_cast<size_t>(x);
      p[0] = static_cast<uint8_t>(v);
      p[1] = static_cast<uint8_t>(v >> 8);
      p[2] = static_cast<uint8_t>(v >> 16);
    }
  }
}

}  // namespace

int SourceBitsPerPixel(SourceFormat format) {
  switch (format) {
    case SourceFormat::kBlackWhite:
    case SourceFormat::kIndexed1: return 1;
    case SourceFormat::kIndexed2:
    case SourceFormat::kGray2: return 2;
    case SourceFormat::kIndexed4:
    case SourceFormat::kGray4: return 4;
    case SourceFormat::kIndexed8:
    case SourceFormat::kGray8: return 8;
    case SourceFormat::kGray16: return 16;
    case SourceFormat::kBgr24:
    case SourceFormat::kRgb24: return 24;
    case SourceFormat::kBgrx32:
    case SourceFormat::kRgbx32: return 32;
    case SourceFormat::kRgb48:
    case SourceFormat::kBgr48: return 48;
    case SourceFormat::kRgba64:
    case SourceFormat::kBgra64: return 64;
  }
  return 0;
}

int OutputBitsPerPixel(SourceFormat format) {
  switch (format) {
    case SourceFormat::kBlackWhite:
    case SourceFormat::kIndexed1: return 1;
    case SourceFormat::kIndexed2:
    case SourceFormat::kGray2:
    case SourceFormat::kIndexed4:
    case SourceFormat::kGray4: return 4;
    case SourceFormat::kIndexed8:
    case SourceFormat::kGray8:
    case SourceFormat::kGray16: return 8;
    default: return 24;
  }
}

bool IsIndexed(SourceFormat format) {
  return format == SourceFormat::kIndexed1 || format == SourceFormat::kIndexed2 ||
         format == SourceFormat::kIndexed4 || format == SourceFormat::kIndexed8;
}

void WriteGrayTable(SourceFormat format, RgbQuad* table) {
  int levels = 0;
  int tableSize = 0;
  switch (format) {
    case SourceFormat::kBlackWhite: levels = 2; tableSize = 2; break;
    case SourceFormat::kGray2: levels = 4; tableSize = 16; break;
    case SourceFormat::kGray4: levels = 16; tableSize = 16; break;
    case SourceFormat::kGray8:
    case SourceFormat::kGray16: levels = 256; tableSize = 256; break;
    default: return;
  }
  for (int i = 0; i < tableSize; ++i) {
    const uint8_t v = i < levels ? static_cast<uint8_t>(i * 255 / (levels - 1)) : 0;
    table[i] = RgbQuad{v, v, v, 0};
  }
}

OrientedWriter::OrientedWriter(SourceFormat format, int orientation, int32_t sourceWidth, int32_t sourceHeight,
                               const DibBlock& dest)
    : format_(format),
      orientation_(orientation >= 1 && orientation <= 8 ? orientation : 1),
      width_(sourceWidth),
      height_(sourceHeight),
      dest_(dest),
      outBits_(OutputBitsPerPixel(format)),
      rowBytes_((static_cast<size_t>(sourceWidth) * OutputBitsPerPixel(format) + 7) / 8),
      row_(DibView::StrideFor(sourceWidth, OutputBitsPerPixel(format))) {
  // Pixels placed one at a time leave the row padding as it was: clear it all.
  if (orientation_ != 1 && orientation_ != 4) std::memset(dest.Bits(), 0, dest.Layout().imageBytes);
}

void OrientedWriter::Convert(const uint8_t* s) {
  uint8_t* o = row_.data();
  const int32_t w = width_;
  switch (format_) {
    case SourceFormat::kBlackWhite:
    case SourceFormat::kIndexed1:
    case SourceFormat::kIndexed4:
    case SourceFormat::kGray4:
    case SourceFormat::kIndexed8:
    case SourceFormat::kGray8:
    case SourceFormat::kBgr24:
      std::memcpy(o, s, rowBytes_);
      break;
    case SourceFormat::kIndexed2:
    case SourceFormat::kGray2:
      std::memset(o, 0, rowBytes_);
      for (int32_t x = 0; x < w; ++x) {
        const uint32_t v = (s[x >> 2] >> (6 - 2 * (x & 3))) & 3;
        o[x >> 1] |= static_cast<uint8_t>((x & 1) ? v : v << 4);
      }
      break;
    case SourceFormat::kGray16:
      for (int32_t x = 0; x < w; ++x) o[x] = Reduce16(ReadLe16(s + 2 * x));
      break;
    case SourceFormat::kRgb24:
      for (int32_t x = 0; x < w; ++x, s += 3, o += 3) {
        o[0] = s[2];
        o[1] = s[1];
        o[2] = s[0];
      }
      break;
    case SourceFormat::kBgrx32:
    case SourceFormat::kRgbx32: {
      const bool rgb = format_ == SourceFormat::kRgbx32;
      for (int32_t x = 0; x < w; ++x, s += 4, o += 3) {
        o[0] = rgb ? s[2] : s[0];
        o[1] = s[1];
        o[2] = rgb ? s[0] : s[2];
      }
      break;
    }
    case SourceFormat::kRgb48:
    case SourceFormat::kBgr48:
    case SourceFormat::kRgba64:
    case SourceFormat::kBgra64: {
      const bool rgb = format_ == SourceFormat::kRgb48 || format_ == SourceFormat::kRgba64;
      const int step = (format_ == SourceFormat::kRgb48 || format_ == SourceFormat::kBgr48) ? 6 : 8;
      for (int32_t x = 0; x < w; ++x, s += step, o += 3) {
        const uint8_t first = Reduce16(ReadLe16(s));
        const uint8_t second = Reduce16(ReadLe16(s + 2));
        const uint8_t third = Reduce16(ReadLe16(s + 4));
        o[0] = rgb ? third : first;
        o[1] = second;
        o[2] = rgb ? first : third;
      }
      break;
    }
  }
}

void OrientedWriter::PlaceRow(int32_t y, const uint8_t* source) {
  if (y < 0 || y >= height_) return;
  Convert(source);
  const int32_t w = width_, h = height_;
  const uint8_t* row = row_.data();
  if (orientation_ == 1 && (left_ != 0 || top_ != 0 || w != dest_.Layout().width)) {
    const DibLayout& d = dest_.Layout();
    if (top_ + y >= d.height) return;
    uint8_t* out = dest_.RowFromTop(top_ + y);
    const int32_t n = std::min(w, d.width - left_);
    for (int32_t x = 0; x < n; ++x) SetPixel(out, left_ + x, outBits_, GetPixel(row, x, outBits_));
    return;
  }
  switch (orientation_) {
    case 1:
    case 4: {
      uint8_t* out = dest_.RowFromTop(orientation_ == 1 ? y : h - 1 - y);
      std::memcpy(out, row, rowBytes_);
      std::memset(out + rowBytes_, 0, dest_.Layout().stride - rowBytes_);
      break;
    }
    case 2:
    case 3: {
      uint8_t* out = dest_.RowFromTop(orientation_ == 2 ? y : h - 1 - y);
      for (int32_t x = 0; x < w; ++x) SetPixel(out, w - 1 - x, outBits_, GetPixel(row, x, outBits_));
      break;
    }
    default: {
      // Source row y becomes a column of the displayed picture.
      const int32_t column = (orientation_ == 5 || orientation_ == 8) ? y : h - 1 - y;
      const bool down = orientation_ == 5 || orientation_ == 6;
      for (int32_t x = 0; x < w; ++x) {
        uint8_t* out = dest_.RowFromTop(down ? x : w - 1 - x);
        SetPixel(out, column, outBits_, GetPixel(row, x, outBits_));
      }
      break;
    }
  }
}

void FillWithIndex(const DibBlock& dib, uint32_t index) {
  const DibLayout& layout = dib.Layout();
  for (int32_t y = 0; y < layout.height; ++y) {
    uint8_t* row = dib.Row(y);
    std::memset(row, 0, layout.stride);
    for (int32_t x = 0; x < layout.width; ++x) SetPixel(row, x, layout.bitsPerPixel, index);
  }
}

}  // namespace orvalen
