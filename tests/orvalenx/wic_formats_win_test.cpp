// Every variant read through the imaging component decodes to the expected
// pixels: exactly for the lossless formats, within a small tolerance for
// JPEG. Variants Wine's component cannot read are checked on Windows only.
#include <gtest/gtest.h>

#include <cstdlib>

#include "orvalenx/library_win.h"
#include "tests/orvalenx/win_test_support.h"

namespace orvalen::test {
namespace {

struct WicSample {
  const char* name;
  const unsigned char* file;
  size_t fileSize;
  int width, height, bits, tolerance;
  const unsigned char* pixels;  // red, green, blue, top row first
  bool windowsOnly;
};
#include "tests/orvalenx/wic_samples.inc"

TEST(WicFormats, EachVariantDecodesToItsPixels) {
  int skipped = 0;
  for (const WicSample& s : kWicSamples) {
    SCOPED_TRACE(s.name);
    TempFile file(Bytes(s.file, s.file + s.fileSize));
    CountingGlobalAllocator allocator;
    HGLOBAL handle = LoadGraphicFileWith(file.Path(), allocator);
    EXPECT_EQ(allocator.Held(), 0);
    if (handle == nullptr && s.windowsOnly && RunningUnderWine()) {
      ++skipped;
      continue;
    }
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(allocator.HandedOut(), 1);
    {
      LockedDib locked(handle);
      const DecodedDib& dib = locked.Dib();
      ASSERT_TRUE(dib.Valid());
      ASSERT_EQ(dib.Width(), s.width);
      ASSERT_EQ(dib.Height(), s.height);
      EXPECT_EQ(dib.Bits(), s.bits);
      if (s.bits <= 8) {
        EXPECT_EQ(dib.ClrUsed(), 1u << s.bits);
      }
      int worst = 0;
      for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
          const Rgb got = dib.ColorAt(x, y);
          const unsigned char* want = s.pixels + 3 * (y * s.width + x);
          const int d = std::max({std::abs(got.r - want[0]), std::abs(got.g - want[1]), std::abs(got.b - want[2])});
          if (d > worst) worst = d;
          if (d > s.tolerance) {
            ADD_FAILURE() << "pixel " << x << "," << y << " is " << ToString(got) << ", wanted "
                          << ToString(Rgb{want[0], want[1], want[2]});
            y = s.height;
            break;
          }
        }
      }
      EXPECT_LE(worst, s.tolerance);
    }
    GlobalFree(handle);
  }
  if (RunningUnderWine()) {
    EXPECT_EQ(skipped, 2);  // JPEG-compressed and 2-bit grey TIFF: not read by Wine
  }
}

TEST(WicFormats, PaletteSourcesKeepTheirColourTable) {
  for (const WicSample& s : kWicSamples) {
    if (std::string(s.name) != "palette8.png") continue;
    TempFile file(Bytes(s.file, s.file + s.fileSize));
    GlobalBlockAllocator allocator;
    HGLOBAL handle = LoadGraphicFileWith(file.Path(), allocator);
    ASSERT_NE(handle, nullptr);
    {
      LockedDib locked(handle);
      // The pixels are indices whose table entries are the colours: an image
      // turned to 24 bits and back would not keep the original order.
      const DecodedDib& dib = locked.Dib();
      ASSERT_EQ(dib.Bits(), 8);
      for (int x = 0; x < s.width; ++x) {
        const Rgb want{s.pixels[3 * x], s.pixels[3 * x + 1], s.pixels[3 * x + 2]};
        EXPECT_EQ(dib.TableEntry(static_cast<int32_t>(dib.ValueAt(x, 0))), want);
      }
    }
    GlobalFree(handle);
  }
}

// Damaged or hostile files of any kind give 0 and leave no block behind.
TEST(LoadGraphicFile, DamagedFilesGiveNothingAndLeakNothing) {
  const WicSample* jpeg = nullptr;
  const WicSample* gif = nullptr;
  const WicSample* png = nullptr;
  const WicSample* tif = nullptr;
  for (const WicSample& s : kWicSamples) {
    const std::string name = s.name;
    if (name == "baseline.jpg") jpeg = &s;
    if (name == "transparent.gif") gif = &s;
    if (name == "rgb.png") png = &s;
    if (name == "strip-none.tif") tif = &s;
  }
  ASSERT_TRUE(jpeg && gif && png && tif);
  auto head = [](const WicSample* s, size_t n) { return Bytes(s->file, s->file + n); };
  BmpFields lying;
  lying.width = 5000;
  lying.height = 5000;
  struct Case {
    const char* name;
    Bytes file;
  };
  const Case cases[] = {
      {"empty file", {}},
      {"text", {'h', 'e', 'l', 'l', 'o', '\n'}},
      {"JPEG markers only", head(jpeg, 20)},
      {"GIF header only", head(gif, 13)},
      {"GIF header then garbage", [&] { Bytes b = head(gif, 13); b.resize(200, 0x5A); return b; }()},
      {"PNG signature and header", head(png, 33)},
      {"PNG data cut", head(png, png->fileSize / 2)},
      {"PNG 40000 x 40000", Bytes(kHugePng, kHugePng + sizeof kHugePng)},
      {"TIFF header only", head(tif, 8)},
      {"TIFF directory beyond the end", [&] { Bytes b = head(tif, 8); b[4] = 0xFF; b[5] = 0xFF; return b; }()},
      {"BMP rows beyond the file", BmpFile(lying, {}, Bytes(100, 0))},
      {"PCX cut", [] { PcxFields f; f.xMax = 9; f.yMax = 9; f.bytesPerLine = 10; return PcxFile(f, {0xC5, 1}); }()},
  };
  for (const Case& c : cases) {
    TempFile file(c.file);
    CountingGlobalAllocator allocator;
    EXPECT_EQ(LoadGraphicFileWith(file.Path(), allocator), nullptr) << c.name;
    EXPECT_EQ(allocator.Held(), 0) << c.name;
    EXPECT_EQ(allocator.HandedOut(), 0) << c.name;
  }
  CountingGlobalAllocator allocator;
  EXPECT_EQ(LoadGraphicFileWith("Z:\\no\\such\\file.bmp", allocator), nullptr);
  EXPECT_EQ(LoadGraphicFileWith("", allocator), nullptr);
  EXPECT_EQ(LoadGraphicFileWith(nullptr, allocator), nullptr);
  EXPECT_EQ(allocator.Allocations(), 0);
}

}  // namespace
}  // namespace orvalen::test
