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

TExtendedDib::TExtendedDib(const char* path) {
  lastLoadSucceeded = false;
  HGLOBAL handle = LoadGraphicFile(path, 0, 0);
  if (handle == nullptr) return;
  lastLoadSucceeded = true;
  Parts parts;
  try {
    parts = ReadHeader(handle, nullptr);
  } catch (...) {
    GlobalFree(handle);
    throw;
  }
  Take(handle, parts);
}

TExtendedDib::TExtendedDib(int32_t width, int32_t height) {
  if (width < 0 || height < 0) throw ImageError::OutOfMemory();
  const int64_t stride = DibView::StrideFor(width, 24);
  const int64_t imageBytes = stride * height;
  if (imageBytes > 0x7FFFFFFF - 40) throw ImageError::OutOfMemory();
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
  Parts parts;
  parts.header = header;
  BYTE* table = reinterpret_cast<BYTE*>(header) + sizeof(BITMAPINFOHEADER);
  if (header->biCompression == BI_BITFIELDS) {
    parts.masks = reinterpret_cast<DWORD*>(table);
    table += 3 * sizeof(DWORD);
  }
  parts.colorCount = ColorCountOf(header->biBitCount, header->biClrUsed);
  // An unknown bit count has no colour table to skip.
  const int64_t entries = parts.colorCount > 0 ? parts.colorCount : 0;
  parts.colorTable = entries ? reinterpret_cast<RGBQUAD*>(table) : nullptr;
  parts.bits = table + 4 * entries;
  // The block must hold what the header describes: bottom-up rows of the
  // stated size after the table. Anything else would send drawing and
  // rendering past the block.
  const int64_t stride = DibView::StrideFor(header->biWidth, header->biBitCount);
  const int64_t needed = (parts.bits - reinterpret_cast<BYTE*>(header)) + stride * header->biHeight;
  if (header->biWidth < 0 || header->biHeight < 0 || entries > 65536 || needed > static_cast<int64_t>(blockSize))
    throw invalid();
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
