#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/byte_order.h"
#include "tests/orvalenx/dib_test_support.h"

namespace orvalen::test {

std::string ToString(const Rgb& c) {
  char text[32];
  std::snprintf(text, sizeof text, "(%d,%d,%d)", c.r, c.g, c.b);
  return text;
}

void* CountingAllocator::Allocate(size_t bytes) {
  if (bytes > refuseAbove_) return nullptr;
  void* block = heap_.Allocate(bytes);
  if (block) {
    // Blocks come uncleared: a byte a decoder forgets to write shows.
    std::memset(block, 0xA5, bytes);
    live_[block] = bytes;
    ++allocations_;
  }
  return block;
}

void CountingAllocator::Free(void* block) {
  if (live_.erase(block) != 1) std::abort();  // freeing what was never handed out
  heap_.Free(block);
}

namespace {

// Appends without vector::insert, which GCC 12 warns about falsely here.
void Append(Bytes& to, const Bytes& from) {
  const size_t at = to.size();
  to.resize(at + from.size());
  if (!from.empty()) std::memcpy(to.data() + at, from.data(), from.size());
}

void Put16(Bytes& b, size_t at, uint16_t v) { WriteLe16(b.data() + at, v); }
void Put32(Bytes& b, size_t at, uint32_t v) { WriteLe32(b.data() + at, v); }

Bytes InfoHeader(const BmpFields& f) {
  Bytes h(f.headerSize, 0);
  Put32(h, 0, f.headerSize);
  if (f.headerSize == 12) {
    Put16(h, 4, static_cast<uint16_t>(f.width));
    Put16(h, 6, static_cast<uint16_t>(f.height));
    Put16(h, 8, 1);
    Put16(h, 10, f.bitsPerPixel);
    return h;
  }
  Put32(h, 4, static_cast<uint32_t>(f.width));
  Put32(h, 8, static_cast<uint32_t>(f.height));
  Put16(h, 12, 1);
  Put16(h, 14, f.bitsPerPixel);
  if (f.headerSize >= 40) {
    Put32(h, 16, f.compression);
    Put32(h, 32, f.clrUsed);
  }
  if (f.headerSize >= 52) {
    for (int i = 0; i < 3; ++i) Put32(h, 40 + 4 * i, f.masks[i]);
  }
  if (f.headerSize >= 56) Put32(h, 52, f.masks[3]);
  return h;
}

}  // namespace

Bytes BmpFile(const BmpFields& fields, const Bytes& colorTable, const Bytes& pixels, const Bytes& afterHeader) {
  const Bytes info = InfoHeader(fields);
  Bytes file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  const size_t offBits = 14 + info.size() + afterHeader.size() + colorTable.size();
  Put32(file, 10, fields.offBits.value_or(static_cast<uint32_t>(offBits)));
  Append(file, info);
  Append(file, afterHeader);
  Append(file, colorTable);
  Append(file, pixels);
  Put32(file, 2, static_cast<uint32_t>(file.size()));
  return file;
}

Bytes PackedDibFile(const BmpFields& fields, const Bytes& colorTable, const Bytes& pixels, const Bytes& afterHeader) {
  Bytes file = InfoHeader(fields);
  Append(file, afterHeader);
  Append(file, colorTable);
  Append(file, pixels);
  return file;
}

Bytes ColorTableBytes(const std::vector<Rgb>& colors, size_t entrySize) {
  Bytes t;
  for (const Rgb& c : colors) {
    t.push_back(c.b);
    t.push_back(c.g);
    t.push_back(c.r);
    if (entrySize == 4) t.push_back(0);
  }
  return t;
}

Bytes StoreRows(const std::vector<Bytes>& rowsTopDown) {
  Bytes out;
  for (size_t i = rowsTopDown.size(); i-- > 0;) {
    Bytes row = rowsTopDown[i];
    row.resize((row.size() + 3) & ~size_t{3}, 0);
    Append(out, row);
  }
  return out;
}

Bytes PackRow(const std::vector<uint32_t>& values, int bits) {
  Bytes row((values.size() * bits + 7) / 8, 0);
  for (size_t x = 0; x < values.size(); ++x) {
    if (bits == 8) {
      row[x] = static_cast<uint8_t>(values[x]);
    } else {
      const size_t bit = x * bits;
      row[bit / 8] |= static_cast<uint8_t>(values[x] << (8 - bits - bit % 8));
    }
  }
  return row;
}

Bytes PcxEncodeLine(const Bytes& line) {
  Bytes out;
  size_t i = 0;
  while (i < line.size()) {
    size_t run = 1;
    while (i + run < line.size() && line[i + run] == line[i] && run < 63) ++run;
    if (run > 1 || line[i] >= 0xC0) {
      out.push_back(static_cast<uint8_t>(0xC0 | run));
      out.push_back(line[i]);
    } else {
      out.push_back(line[i]);
    }
    i += run;
  }
  return out;
}

Bytes PcxFile(const PcxFields& f, const Bytes& data, const std::vector<Rgb>* trailingPalette) {
  Bytes h(128, 0);
  h[0] = 0x0A;
  h[1] = f.version;
  h[2] = f.encoding;
  h[3] = f.bitsPerPixel;
  Put16(h, 4, f.xMin);
  Put16(h, 6, f.yMin);
  Put16(h, 8, f.xMax);
  Put16(h, 10, f.yMax);
  Put16(h, 12, 72);
  Put16(h, 14, 72);
  for (size_t i = 0; i < f.headerPalette.size() && i < 16; ++i) {
    h[16 + 3 * i] = f.headerPalette[i].r;
    h[17 + 3 * i] = f.headerPalette[i].g;
    h[18 + 3 * i] = f.headerPalette[i].b;
  }
  h[65] = f.planes;
  Put16(h, 66, f.bytesPerLine);
  Put16(h, 68, 1);
  Append(h, data);
  if (trailingPalette) {
    h.push_back(0x0C);
    for (size_t i = 0; i < 256; ++i) {
      const Rgb c = i < trailingPalette->size() ? (*trailingPalette)[i] : Rgb{};
      h.push_back(c.r);
      h.push_back(c.g);
      h.push_back(c.b);
    }
  }
  return h;
}

Bytes MakeDib(int32_t width, int32_t height, int bits, const std::vector<Rgb>& table,
              const std::function<uint32_t(int32_t, int32_t)>& value, uint32_t compression, const Bytes& masks) {
  Bytes dib(40, 0);
  const int32_t stride = static_cast<int32_t>(((static_cast<int64_t>(width) * bits + 31) / 32) * 4);
  Put32(dib, 0, 40);
  Put32(dib, 4, static_cast<uint32_t>(width));
  Put32(dib, 8, static_cast<uint32_t>(height));
  Put16(dib, 12, 1);
  Put16(dib, 14, static_cast<uint16_t>(bits));
  Put32(dib, 16, compression);
  Put32(dib, 20, static_cast<uint32_t>(stride * height));
  Put32(dib, 32, static_cast<uint32_t>(table.size()));
  Append(dib, masks);
  Append(dib, ColorTableBytes(table));
  const size_t bitsAt = dib.size();
  dib.resize(bitsAt + static_cast<size_t>(stride) * height, 0);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = dib.data() + bitsAt + static_cast<size_t>(height - 1 - y) * stride;
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t v = value(x, y);
      switch (bits) {
        case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<uint8_t>((x & 1) ? (v & 15) : (v & 15) << 4); break;
        case 8: row[x] = static_cast<uint8_t>(v); break;
        case 16: WriteLe16(row + 2 * x, static_cast<uint16_t>(v)); break;
        case 24:
          row[3 * x] = static_cast<uint8_t>(v);
          row[3 * x + 1] = static_cast<uint8_t>(v >> 8);
          row[3 * x + 2] = static_cast<uint8_t>(v >> 16);
          break;
        default: WriteLe32(row + 4 * x, v); break;
      }
    }
  }
  return dib;
}

double RmsError(const Bytes& original, const void* mapped, size_t mappedSize) {
  const DecodedDib a(original.data(), original.size());
  const DecodedDib b(mapped, mappedSize);
  double sum = 0;
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) {
      const Rgb p = a.ColorAt(x, y), q = b.ColorAt(x, y);
      sum += (p.r - q.r) * (p.r - q.r) + (p.g - q.g) * (p.g - q.g) + (p.b - q.b) * (p.b - q.b);
    }
  }
  return std::sqrt(sum / (3.0 * a.Width() * a.Height()));
}

DecodedDib::DecodedDib(const void* block, size_t size) : block_(static_cast<const uint8_t*>(block)) {
  if (block) info_ = ParsePackedDib(block_, size);
}

uint32_t DecodedDib::ClrUsed() const { return ReadLe32(block_ + 32); }

const uint8_t* DecodedDib::RowFromTop(int32_t yTop) const {
  return block_ + info_->bitsOffset + static_cast<size_t>(info_->height - 1 - yTop) * info_->stride;
}

uint32_t DecodedDib::ValueAt(int32_t x, int32_t yTop) const {
  const uint8_t* row = RowFromTop(yTop);
  switch (info_->bitsPerPixel) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (x & 1) ? (row[x / 2] & 15) : (row[x / 2] >> 4);
    case 8: return row[x];
    default: {
      const uint8_t* p = row + 3 * x;
      return (static_cast<uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
    }
  }
}

Rgb DecodedDib::TableEntry(int32_t i) const {
  const uint8_t* e = block_ + info_->colorTableOffset + 4 * static_cast<size_t>(i);
  return Rgb{e[2], e[1], e[0]};
}

Rgb DecodedDib::ColorAt(int32_t x, int32_t yTop) const {
  const uint32_t v = ValueAt(x, yTop);
  if (info_->bitsPerPixel <= 8) return TableEntry(static_cast<int32_t>(v));
  return Rgb{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

}  // namespace orvalen::test
