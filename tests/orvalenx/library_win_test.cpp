// The DLL's six exports as programs call them.
#include <gtest/gtest.h>

#include <cstring>

#include "orvalenx/orvalenx_api_win.h"
#include "tests/orvalenx/win_test_support.h"

namespace orvalen::test {
namespace {

struct PaletteBuffer {
  alignas(4) BYTE bytes[1028];
  LOGPALETTE* Get() { return reinterpret_cast<LOGPALETTE*>(bytes); }
};

uint32_t Gradient(int32_t x, int32_t y) {
  return (static_cast<uint32_t>(x * 4) << 16) | (static_cast<uint32_t>(y * 4) << 8) | static_cast<uint32_t>((x + y) * 2);
}

TEST(OrvalenxDll, LoadsAFileIntoAnUnlockedMoveableBlockTheCallerFrees) {
  BmpFields f;
  f.width = 3;
  f.height = 2;
  TempFile file(BmpFile(f, {}, StoreRows({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {9, 8, 7, 6, 5, 4, 3, 2, 1}})), ".bmp");
  HGLOBAL handle = LoadGraphicFile(file.Path(), 0, 0);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalFlags(handle) & GMEM_LOCKCOUNT, 0u);
  void* data = GlobalLock(handle);
  ASSERT_NE(data, nullptr);
  EXPECT_NE(data, static_cast<void*>(handle));  // a moveable block's handle is not its address
  EXPECT_EQ(GlobalHandle(data), handle);
  EXPECT_GE(GlobalSize(handle), 40u + 2 * 12);
  const DecodedDib dib(data, GlobalSize(handle));
  ASSERT_TRUE(dib.Valid());
  EXPECT_EQ(dib.ColorAt(0, 0), (Rgb{3, 2, 1}));
  EXPECT_EQ(dib.ColorAt(2, 1), (Rgb{1, 2, 3}));
  GlobalUnlock(handle);
  EXPECT_EQ(GlobalFree(handle), nullptr);
  EXPECT_EQ(LoadGraphicFile("no-such-file.pcx", 0, 0), nullptr);
}

TEST(OrvalenxDll, HistogramQuantizeAndApplyInTheirOrder) {
  const Bytes source = MakeDib(40, 30, 24, {}, Gradient);
  HGLOBAL dib = GlobalCopy(source);
  const ORVALENX_HISTOGRAM histogram = CreateHistogram();
  ASSERT_NE(histogram, 0u);
  EXPECT_TRUE(CalculateHistogram(histogram, dib));
  PaletteBuffer buffer;
  std::memset(buffer.bytes, 0xCD, sizeof buffer.bytes);  // the caller's buffer is uninitialised
  const WORD count = QuantizeHistogram(histogram, 256, buffer.Get());
  EXPECT_EQ(count, 256);
  EXPECT_EQ(buffer.Get()->palVersion, 0x300);
  EXPECT_EQ(buffer.Get()->palNumEntries, count);
  EXPECT_EQ(buffer.Get()->palPalEntry[0].peFlags, 0);
  HGLOBAL mapped = ApplyQuantizedPalette(dib, histogram, buffer.Get());
  ASSERT_NE(mapped, nullptr);
  ASSERT_NE(mapped, dib);
  {
    LockedDib out(mapped);
    ASSERT_TRUE(out.Dib().Valid());
    EXPECT_EQ(out.Dib().Bits(), 8);
    EXPECT_EQ(out.Dib().ClrUsed(), count);
    const PALETTEENTRY& e = buffer.Get()->palPalEntry[out.Dib().ValueAt(5, 5)];
    EXPECT_EQ(out.Dib().ColorAt(5, 5), (Rgb{e.peRed, e.peGreen, e.peBlue}));
    const double rms = RmsError(source, [&] {
      return GlobalLock(mapped);
    }(), GlobalSize(mapped));
    GlobalUnlock(mapped);
    EXPECT_LT(rms, 3.0);
  }
  {
    LockedDib unchanged(dib);  // the library never changes or frees what it is given
    EXPECT_EQ(unchanged.Dib().Bits(), 24);
  }
  GlobalFree(mapped);
  DestroyHistogram(histogram);
  EXPECT_FALSE(CalculateHistogram(histogram, dib));
  EXPECT_EQ(QuantizeHistogram(histogram, 256, buffer.Get()), 0);
  DestroyHistogram(histogram);  // again: ignored
  GlobalFree(dib);
}

TEST(OrvalenxDll, NoHistogramOrNoBufferGivesZero) {
  PaletteBuffer buffer;
  EXPECT_EQ(QuantizeHistogram(0, 256, nullptr), 0);
  EXPECT_EQ(QuantizeHistogram(0, 256, buffer.Get()), 0);
  const ORVALENX_HISTOGRAM histogram = CreateHistogram();
  EXPECT_EQ(QuantizeHistogram(histogram, 256, nullptr), 0);
  EXPECT_EQ(QuantizeHistogram(histogram, 256, buffer.Get()), 0);  // nothing counted yet
  EXPECT_FALSE(CalculateHistogram(histogram, nullptr));
  EXPECT_FALSE(CalculateHistogram(0, nullptr));
  HGLOBAL notADib = GlobalCopy(Bytes(64, 7));
  EXPECT_FALSE(CalculateHistogram(histogram, notADib));
  HGLOBAL dib = GlobalCopy(MakeDib(8, 8, 24, {}, Gradient));
  ASSERT_TRUE(CalculateHistogram(histogram, dib));
  EXPECT_LE(QuantizeHistogram(histogram, 1000, buffer.Get()), 64);  // 64 pixels, at most 256 asked
  buffer.Get()->palNumEntries = 0;
  EXPECT_EQ(ApplyQuantizedPalette(dib, histogram, buffer.Get()), nullptr);
  EXPECT_EQ(ApplyQuantizedPalette(dib, histogram, nullptr), nullptr);
  buffer.Get()->palNumEntries = 1;
  EXPECT_EQ(ApplyQuantizedPalette(notADib, histogram, buffer.Get()), nullptr);
  EXPECT_EQ(ApplyQuantizedPalette(nullptr, histogram, buffer.Get()), nullptr);
  DestroyHistogram(histogram);
  DestroyHistogram(0);
  GlobalFree(dib);
  GlobalFree(notADib);
}

}  // namespace
}  // namespace orvalen::test
