#pragma once
// TExtendedDib: a device-independent bitmap held as one packed block of
// moveable global memory (40-byte header, masks only with BI_BITFIELDS,
// colour table, bottom-up rows padded to 4 bytes), loaded through
// Orvalenx.dll. The block stays locked while the image holds it; the image
// owns it and frees it on destruction.
#include <windows.h>

#include <cstdint>

#include "base/dib_view.h"
#include "winapp/handles_win.h"

namespace orvalen {

// Outcome of the most recent load from a file, in this process. Read it right
// after constructing an image from a file; destroy the image when false.
bool LastLoadSucceeded();

// The graphics library's decode of a file: the one call an image loaded from
// a file makes. It touches nothing of this module, so any thread may run it
// and hand the block to TExtendedDib(GlobalBlock) on another. Empty when the
// file cannot be read.
GlobalBlock DecodeGraphicFile(const char* path);

class TExtendedDib {
 public:
  // Loads a file through the graphics library. A failed load leaves an empty
  // image (handle 0) and LastLoadSucceeded() false.
  explicit TExtendedDib(const char* path);
  // The same load from a block DecodeGraphicFile delivered for the file:
  // LastLoadSucceeded() and the image are what loading the file gives.
  explicit TExtendedDib(GlobalBlock decoded);
  // An empty image (handle 0), for AdoptHandle.
  TExtendedDib() = default;
  // A blank 24-bit image; its pixels are not cleared. Raises "Out of memory"
  // when the block cannot be had (also for negative sizes).
  TExtendedDib(int32_t width, int32_t height);
  virtual ~TExtendedDib();
  TExtendedDib(const TExtendedDib&) = delete;
  TExtendedDib& operator=(const TExtendedDib&) = delete;

  // Takes over a DIB handle the library returned and frees the block held
  // before. Always true; raises "Invalid DIB handle %X" (leaving the image
  // as it was and the handle the caller's) for a block that is not a DIB of
  // the system's layout.
  bool AdoptHandle(HGLOBAL handle);

  // Gives the block back, unlocked, and leaves the image empty. This lets a
  // thread look at a decoded block through an image without the load's
  // outcome being touched, and pass the block on.
  GlobalBlock Detach();

  HGLOBAL Handle() const { return handle_; }
  bool IsEmpty() const { return handle_ == nullptr; }
  int32_t Width() const { return header_ ? header_->biWidth : 0; }
  int32_t Height() const { return header_ ? header_->biHeight : 0; }
  int32_t BitsPerPixel() const { return header_ ? header_->biBitCount : 0; }
  int32_t ColorCount() const { return colorCount_; }
  int32_t Stride() const { return DibView::StrideFor(Width(), BitsPerPixel()); }
  BITMAPINFOHEADER* Header() const { return header_; }
  // Header and colour table as drawing calls take them.
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(header_); }
  const DWORD* Masks() const { return masks_; }
  RGBQUAD* ColorTable() const { return colorTable_; }
  BYTE* Bits() const { return bits_; }
  UINT ColorUse() const { return colorUse_; }
  DibView View() const { return DibView{bits_, Width(), Height(), BitsPerPixel(), Stride()}; }

 private:
  struct Parts {
    BITMAPINFOHEADER* header = nullptr;
    DWORD* masks = nullptr;
    RGBQUAD* colorTable = nullptr;
    BYTE* bits = nullptr;
    int32_t colorCount = 0;
  };
  // Locks `handle` unless `locked` is given and finds the parts of its block;
  // unlocks and raises "Invalid DIB handle %X" when it is no such DIB.
  static Parts ReadHeader(HGLOBAL handle, BITMAPINFOHEADER* locked);
  void Take(HGLOBAL handle, const Parts& parts);
  void Release();

  HGLOBAL handle_ = nullptr;
  bool owned_ = true;
  BITMAPINFOHEADER* header_ = nullptr;
  DWORD* masks_ = nullptr;
  RGBQUAD* colorTable_ = nullptr;
  BYTE* bits_ = nullptr;
  int32_t colorCount_ = 0;
  WORD colorUse_ = DIB_RGB_COLORS;
};

}  // namespace orvalen
