#include "imaging/extended_dib_win.h"

#include "imaging/image_error.h"
#include "orvalenx/dib_layout.h"
#include "orvalenx/orvalenx_api_win.h"

namespace orvalen {
namespace {

bool lastLoadSucceeded = false;

uint32_t HandleValue(HGLOBAL handle) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace

bool LastLoadSucceeded() { return lastLoadSucceeded; }

GlobalBlock DecodeGraphicFile(const char* path) { return GlobalBlock(LoadGraphicFile(path, 0, 0)); }

TExtendedDib::TExtendedDib(const char* path) : TExtendedDib(DecodeGraphicFile(path)) {}

TExtendedDib::TExtendedDib(GlobalBlock decoded) {
  lastLoadSucceeded = static_cast<bool>(decoded);
  if (!decoded) return;
  // A block that is no DIB raises and stays with `decoded`, which frees it.
  const Parts parts = ReadHeader(decoded.Get(), nullptr);
  Take(decoded.Release(), parts);
}

TExtendedDib::TExtendedDib(int32_t width, int32_t height) {
  // Negative sizes, and sizes whose rows or block do not fit 32 bits, are
  // refused before anything is allocated.
  const auto rows = DibRowSizeFor(width, height, 24);
  if (!rows || rows->imageBytes > 0x7FFFFFFF - 40) throw ImageError::OutOfMemory();
  const uint64_t imageBytes = rows->imageBytes;
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(40 + imageBytes));
  if (handle == nullptr) throw ImageError::OutOfMemory();
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
  if (header == nullptr) {
    GlobalFree(handle);
    throw ImageError::OutOfMemory();
  }
  *header = BITMAPINFOHEADER{};
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biCompression = BI_RGB;
  header->biSizeImage = static_cast<DWORD>(imageBytes);
  Take(handle, ReadHeader(handle, header));
}

TExtendedDib::~TExtendedDib() { Release(); }

TExtendedDib::Parts TExtendedDib::ReadHeader(HGLOBAL handle, BITMAPINFOHEADER* locked) {
  auto* header = locked ? locked : static_cast<BITMAPINFOHEADER*>(GlobalLock(handle));
  if (header == nullptr) throw ImageError::InvalidDibHandle(HandleValue(handle));
  const SIZE_T blockSize = GlobalSize(handle);
  auto invalid = [&] {
    GlobalUnlock(handle);
    return ImageError::InvalidDibHandle(HandleValue(handle));
  };
  if (blockSize < sizeof(DWORD) || header->biSize != sizeof(BITMAPINFOHEADER) || blockSize < sizeof(BITMAPINFOHEADER))
    throw invalid();
  // The block must hold what the header describes: bottom-up rows of the
  // stated size after the table. Anything else would send drawing and
  // rendering past the block. Size, bit count and colour count are checked
  // before any size is computed from them, so none can wrap: a bit count of
  // 0 or above 32 has no rows, and a colour count above 65536 (or one that
  // reads as negative) no table a drawing call could use.
  const auto rows = DibRowSizeFor(header->biWidth, header->biHeight, header->biBitCount);
  if (!rows || header->biClrUsed > 65536) throw invalid();
  Parts parts;
  parts.header = header;
  BYTE* table = reinterpret_cast<BYTE*>(header) + sizeof(BITMAPINFOHEADER);
  if (header->biCompression == BI_BITFIELDS) {
    parts.masks = reinterpret_cast<DWORD*>(table);
    table += 3 * sizeof(DWORD);
  }
  parts.colorCount = ColorCountOf(header->biBitCount, header->biClrUsed);
  // An unknown bit count has no colour table to skip.
  const uint64_t entries = parts.colorCount > 0 ? static_cast<uint64_t>(parts.colorCount) : 0;
  const uint64_t bitsOffset = (table - reinterpret_cast<BYTE*>(header)) + 4 * entries;
  if (rows->imageBytes > blockSize || bitsOffset > blockSize - rows->imageBytes) throw invalid();
  parts.colorTable = entries ? reinterpret_cast<RGBQUAD*>(table) : nullptr;
  parts.bits = reinterpret_cast<BYTE*>(header) + bitsOffset;
  return parts;
}

void TExtendedDib::Take(HGLOBAL handle, const Parts& parts) {
  handle_ = handle;
  owned_ = true;
  header_ = parts.header;
  masks_ = parts.masks;
  colorTable_ = parts.colorTable;
  bits_ = parts.bits;
  colorCount_ = parts.colorCount;
  colorUse_ = DIB_RGB_COLORS;
}

void TExtendedDib::Release() {
  if (handle_ == nullptr) return;
  if (header_ != nullptr) GlobalUnlock(handle_);
  if (owned_) GlobalFree(handle_);
  handle_ = nullptr;
  header_ = nullptr;
  masks_ = nullptr;
  colorTable_ = nullptr;
  bits_ = nullptr;
  colorCount_ = 0;
}

GlobalBlock TExtendedDib::Detach() {
  HGLOBAL handle = handle_;
  owned_ = false;
  Release();
  owned_ = true;
  return GlobalBlock(handle);
}

bool TExtendedDib::AdoptHandle(HGLOBAL handle) {
  // Adopting the block already held would free it under the image.
  if (handle == handle_ && handle != nullptr) return true;
  // The new block is read before the old one is let go, so a bad handle
  // leaves the image intact instead of holding a freed or foreign block.
  const Parts parts = ReadHeader(handle, nullptr);
  Release();
  Take(handle, parts);
  return true;
}

}  // namespace orvalen
