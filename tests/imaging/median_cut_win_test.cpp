// TMedianCut, BuildDisplayPalette and drawing with a display palette.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "imaging/extended_dib_win.h"
#include "imaging/median_cut_win.h"
#include "tests/support/canvas_win.h"

namespace orvalen {
namespace {

// A blank image turned into a palette image of `bits` with `colors` (blue,
// green, red) and pixel values from `value`, through AdoptHandle.
void MakePaletteImage(TExtendedDib& image, int32_t width, int32_t height, uint16_t bits,
                      const std::vector<RGBQUAD>& colors, const std::function<uint32_t(int32_t, int32_t)>& value) {
  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  const size_t size = 40 + 4 * colors.size() + stride * height;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  auto* h = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
  h->biSize = 40;
  h->biWidth = width;
  h->biHeight = height;
  h->biPlanes = 1;
  h->biBitCount = bits;
  h->biClrUsed = static_cast<DWORD>(colors.size());
  std::memcpy(reinterpret_cast<BYTE*>(h) + 40, colors.data(), 4 * colors.size());
  BYTE* rows = reinterpret_cast<BYTE*>(h) + 40 + 4 * colors.size();
  for (int32_t y = 0; y < height; ++y) {
    BYTE* row = rows + (height - 1 - y) * stride;
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t v = value(x, y);
      if (bits == 1) row[x / 8] |= static_cast<BYTE>((v & 1) << (7 - x % 8));
      if (bits == 8) row[x] = static_cast<BYTE>(v);
    }
  }
  GlobalUnlock(block);
  image.AdoptHandle(block);
}

RGBQUAD Quad(BYTE r, BYTE g, BYTE b) { return RGBQUAD{b, g, r, 0}; }

std::vector<PALETTEENTRY> EntriesOf(HPALETTE palette) {
  std::vector<PALETTEENTRY> entries(GetPaletteEntries(palette, 0, 0, nullptr));
  GetPaletteEntries(palette, 0, static_cast<UINT>(entries.size()), entries.data());
  return entries;
}

const std::vector<RGBQUAD> kTen = {Quad(255, 0, 0), Quad(0, 255, 0), Quad(0, 0, 255), Quad(255, 255, 0),
                                   Quad(0, 255, 255), Quad(255, 0, 255), Quad(0, 0, 0), Quad(255, 255, 255),
                                   Quad(128, 64, 32), Quad(32, 64, 128)};

TEST(TMedianCut, OneBitImageGetsNoHistogramAndNoPalette) {
  TExtendedDib image(1, 1);
  MakePaletteImage(image, 16, 4, 1, {Quad(0, 0, 0), Quad(255, 255, 255)}, [](int32_t x, int32_t) { return x & 1u; });
  TMedianCut quantizer;
  quantizer.Calculate(image);
  EXPECT_EQ(quantizer.Quantize(256), 0);  // two colours, but nothing was counted
  EXPECT_EQ(quantizer.Palette(), nullptr);
  EXPECT_FALSE(quantizer.ApplyPalette(image) && image.BitsPerPixel() != 1);
  EXPECT_EQ(BuildDisplayPalette(image), nullptr);
  TMedianCut fresh;
  EXPECT_EQ(fresh.Quantize(256), 0);
}

TEST(TMedianCut, QuantizeRunsOnceAndKeepsItsFirstCount) {
  TExtendedDib image(1, 1);
  MakePaletteImage(image, 10, 3, 8, kTen, [](int32_t x, int32_t) { return static_cast<uint32_t>(x); });
  TMedianCut quantizer;
  quantizer.Calculate(image);
  EXPECT_EQ(quantizer.Quantize(256), 10);
  HPALETTE palette = quantizer.Palette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(quantizer.Quantize(4), 10);
  EXPECT_EQ(quantizer.Quantize(0), 10);
  EXPECT_EQ(quantizer.Palette(), palette);
  EXPECT_EQ(quantizer.ColorCount(), 10u);
  EXPECT_EQ(EntriesOf(palette).size(), 10u);
  quantizer.Reset();
  EXPECT_EQ(quantizer.Palette(), nullptr);
  EXPECT_EQ(quantizer.ColorCount(), 0u);
  quantizer.Calculate(image);
  EXPECT_EQ(quantizer.Quantize(4), 4);  // after Reset the quantizer starts over
}

TEST(TMedianCut, ApplyPaletteReplacesTheImageOnlyOnceQuantized) {
  TExtendedDib image(6, 2);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      BYTE* p = image.View().Pixel(x, y);
      p[0] = static_cast<BYTE>(x < 3 ? 200 : 10);  // blue
      p[1] = 20;
      p[2] = static_cast<BYTE>(y == 0 ? 250 : 5);  // red
    }
  }
  TMedianCut quantizer;
  quantizer.Calculate(image);
  HGLOBAL before = image.Handle();
  EXPECT_FALSE(quantizer.ApplyPalette(image));
  EXPECT_EQ(image.Handle(), before);
  EXPECT_EQ(quantizer.Quantize(256), 4);
  ASSERT_TRUE(quantizer.ApplyPalette(image));
  EXPECT_NE(image.Handle(), before);
  EXPECT_EQ(GlobalFlags(before), static_cast<UINT>(GMEM_INVALID_HANDLE));
  EXPECT_EQ(image.BitsPerPixel(), 8);
  EXPECT_EQ(image.ColorCount(), 4);
  const std::vector<PALETTEENTRY> entries = EntriesOf(quantizer.Palette());
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 6; ++x) {
      const RGBQUAD& c = image.ColorTable()[*image.View().Pixel(x, y)];
      EXPECT_EQ(c.rgbBlue, x < 3 ? 200 : 10);
      EXPECT_EQ(c.rgbRed, y == 0 ? 250 : 5);
    }
  }
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(image.ColorTable()[i].rgbRed, entries[i].peRed);
    EXPECT_EQ(image.ColorTable()[i].rgbBlue, entries[i].peBlue);
  }
}

TEST(BuildDisplayPalette, MakesTheImagesColoursAndLeavesTheImage) {
  TExtendedDib image(1, 1);
  MakePaletteImage(image, 5, 5, 8, kTen, [](int32_t x, int32_t y) { return static_cast<uint32_t>((x + y) % 3); });
  HGLOBAL handle = image.Handle();
  HPALETTE palette = BuildDisplayPalette(image);
  ASSERT_NE(palette, nullptr);
  const std::vector<PALETTEENTRY> entries = EntriesOf(palette);
  ASSERT_EQ(entries.size(), 3u);
  int found = 0;
  for (const PALETTEENTRY& e : entries) {
    for (int i = 0; i < 3; ++i) {
      if (e.peRed == kTen[i].rgbRed && e.peGreen == kTen[i].rgbGreen && e.peBlue == kTen[i].rgbBlue) ++found;
    }
  }
  EXPECT_EQ(found, 3);
  EXPECT_EQ(image.Handle(), handle);
  EXPECT_EQ(image.BitsPerPixel(), 8);
  DeleteObject(palette);
}

using test_support::Canvas;

TEST(DrawDibWithPalette, DrawsUprightAndRestoresThePreviousPalette) {
  TExtendedDib image(1, 1);
  // 4 x 2: top row red, green, blue, white; bottom row black.
  MakePaletteImage(image, 4, 2, 8, kTen, [](int32_t x, int32_t y) { return y == 0 ? std::vector<uint32_t>{0, 1, 2, 7}[x] : 6u; });
  HPALETTE palette = BuildDisplayPalette(image);
  ASSERT_NE(palette, nullptr);
  Canvas canvas(8, 4);
  HGDIOBJ before = GetCurrentObject(canvas.Dc(), OBJ_PAL);
  EXPECT_EQ(DrawDibWithPalette(canvas.Dc(), palette, Rect{0, 0, 8, 4}, image), 2);
  EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_PAL), before);
  EXPECT_EQ(canvas.ColorAt(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.ColorAt(3, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.ColorAt(5, 0), RGB(0, 0, 255));
  EXPECT_EQ(canvas.ColorAt(7, 1), RGB(255, 255, 255));
  EXPECT_EQ(canvas.ColorAt(0, 3), RGB(0, 0, 0));
  // Part of the image, counted from its top-left corner: the right half of the top row.
  Canvas part(2, 1);
  EXPECT_NE(DrawDibWithPalette(part.Dc(), nullptr, Rect{0, 0, 2, 1}, Rect{2, 0, 4, 1}, image), 0);
  EXPECT_EQ(part.ColorAt(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(part.ColorAt(1, 0), RGB(255, 255, 255));
  TExtendedDib empty("no-such-file.bmp");
  EXPECT_EQ(DrawDibWithPalette(canvas.Dc(), palette, Rect{0, 0, 8, 4}, empty), 0);
  DeleteObject(palette);
}

}  // namespace
}  // namespace orvalen
