// TExtendedDib under Wine: loading through Orvalenx.dll, the load flag, the
// blank image, header reading and AdoptHandle.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/extended_dib_win.h"
#include "imaging/image_error.h"

namespace orvalen {
namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }
void Put16(Bytes& b, size_t at, uint16_t v) { std::memcpy(b.data() + at, &v, 2); }

// A packed DIB: header, `extra` bytes (masks), `tableEntries` grey entries,
// rows of `fill`.
Bytes PackedDib(int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t clrUsed,
                uint32_t tableEntries, size_t extra = 0, uint8_t fill = 0) {
  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  Bytes b(40 + extra + 4 * tableEntries + stride * height, fill);
  std::memset(b.data(), 0, 40 + extra + 4 * tableEntries);
  Put32(b, 0, 40);
  Put32(b, 4, static_cast<uint32_t>(width));
  Put32(b, 8, static_cast<uint32_t>(height));
  Put16(b, 12, 1);
  Put16(b, 14, bits);
  Put32(b, 16, compression);
  Put32(b, 32, clrUsed);
  for (uint32_t i = 0; i < tableEntries; ++i) std::memset(b.data() + 40 + extra + 4 * i, static_cast<int>(i), 3);
  return b;
}

HGLOBAL GlobalCopy(const Bytes& bytes) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(handle), bytes.data(), bytes.size());
  GlobalUnlock(handle);
  return handle;
}

bool IsFreed(HGLOBAL handle) { return GlobalFlags(handle) == GMEM_INVALID_HANDLE; }

class TempBmp {
 public:
  explicit TempBmp(const Bytes& dib, uint32_t tableEntries = 0) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    static int counter = 0;
    path_ = std::string(folder) + "extdib_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++) + ".bmp";
    Bytes file(14, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 10, 14 + 40 + 4 * tableEntries);
    file.insert(file.end(), dib.begin(), dib.end());
    FILE* f = std::fopen(path_.c_str(), "wb");
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
  }
  ~TempBmp() { DeleteFileA(path_.c_str()); }
  const char* Path() const { return path_.c_str(); }

 private:
  std::string path_;
};

std::string HexMessage(HGLOBAL handle) {
  char text[40];
  std::snprintf(text, sizeof text, "Invalid DIB handle %X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(handle)));
  return text;
}

TEST(TExtendedDib, LoadsAFileAndFindsItsParts) {
  Bytes dib = PackedDib(5, 3, 24, BI_RGB, 0, 0);
  dib[40] = 11;  // blue of the bottom-left pixel
  TempBmp file(dib);
  TExtendedDib image(file.Path());
  ASSERT_TRUE(LastLoadSucceeded());
  ASSERT_FALSE(image.IsEmpty());
  EXPECT_EQ(image.Width(), 5);
  EXPECT_EQ(image.Height(), 3);
  EXPECT_EQ(image.BitsPerPixel(), 24);
  EXPECT_EQ(image.ColorCount(), 0);
  EXPECT_EQ(image.ColorTable(), nullptr);
  EXPECT_EQ(image.Masks(), nullptr);
  EXPECT_EQ(image.Header()->biSize, 40u);
  EXPECT_EQ(image.Bits(), reinterpret_cast<BYTE*>(image.Header()) + 40);
  EXPECT_EQ(static_cast<const void*>(image.Info()), static_cast<const void*>(image.Header()));
  EXPECT_EQ(image.ColorUse(), static_cast<UINT>(DIB_RGB_COLORS));
  const DibView view = image.View();
  EXPECT_EQ(view.stride, 16);
  EXPECT_EQ(view.Pixel(0, 0)[0], 11);
  // The image holds its block locked.
  EXPECT_EQ(GlobalFlags(image.Handle()) & GMEM_LOCKCOUNT, 1u);
}

TEST(TExtendedDib, TheFlagIsClearedAtEveryLoad) {
  TempBmp good(PackedDib(2, 2, 8, BI_RGB, 0, 256), 256);
  TempBmp damaged(Bytes(30, 0));
  { TExtendedDib image(good.Path()); EXPECT_TRUE(LastLoadSucceeded()); }
  {
    TExtendedDib image("no-such-picture.jpg");
    EXPECT_FALSE(LastLoadSucceeded());
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.Handle(), nullptr);
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Bits(), nullptr);
  }
  { TExtendedDib image(good.Path()); EXPECT_TRUE(LastLoadSucceeded()); }
  { TExtendedDib image(damaged.Path()); EXPECT_FALSE(LastLoadSucceeded()); }
}

TEST(TExtendedDib, BlankImageIsATwentyFourBitBlockOfItsSize) {
  TExtendedDib image(7, 3);
  const BITMAPINFOHEADER* h = image.Header();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->biSize, 40u);
  EXPECT_EQ(h->biWidth, 7);
  EXPECT_EQ(h->biHeight, 3);
  EXPECT_EQ(h->biPlanes, 1);
  EXPECT_EQ(h->biBitCount, 24);
  EXPECT_EQ(h->biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_EQ(h->biSizeImage, 3u * 24u);
  EXPECT_EQ(h->biXPelsPerMeter, 0);
  EXPECT_EQ(h->biYPelsPerMeter, 0);
  EXPECT_EQ(h->biClrUsed, 0u);
  EXPECT_EQ(image.ColorCount(), 0);
  EXPECT_EQ(image.ColorTable(), nullptr);
  EXPECT_EQ(image.Bits(), reinterpret_cast<const BYTE*>(h) + 40);
  EXPECT_GE(GlobalSize(image.Handle()), 40u + 72u);
  TExtendedDib empty(0, 0);
  EXPECT_EQ(empty.Width(), 0);
  // 1431655765 and 715827882 pixels of 24 bits make rows of 2^32 and 2^31
  // bytes, which a 32-bit stride would wrap to 0 and to a negative count.
  for (auto size : {std::pair<int32_t, int32_t>{30000, 30000}, {-1, 5}, {5, -1}, {1431655765, 1}, {715827882, 1}}) {
    try {
      TExtendedDib huge(size.first, size.second);
      ADD_FAILURE() << "no error for " << size.first << " x " << size.second;
    } catch (const ImageError& e) {
      EXPECT_STREQ(e.what(), "Out of memory");
      EXPECT_EQ(e.GetKind(), ImageError::Kind::kOutOfMemory);
    }
  }
}

TEST(TExtendedDib, ColourCountTableAndMasksFollowTheHeader) {
  struct Case {
    const char* name;
    uint16_t bits;
    uint32_t compression, clrUsed, tableEntries;
    size_t masks;
    int32_t colorCount;
  };
  const Case cases[] = {
      {"1 bit, biClrUsed 0", 1, BI_RGB, 0, 2, 0, 2},
      {"4 bits, biClrUsed 0", 4, BI_RGB, 0, 16, 0, 16},
      {"8 bits, biClrUsed 0", 8, BI_RGB, 0, 256, 0, 256},
      {"8 bits, 5 colours", 8, BI_RGB, 5, 5, 0, 5},
      {"16 bits", 16, BI_RGB, 0, 0, 0, 0},
      {"16 bits with masks", 16, BI_BITFIELDS, 0, 0, 12, 0},
      {"24 bits", 24, BI_RGB, 0, 0, 0, 0},
      {"32 bits", 32, BI_RGB, 0, 0, 0, 0},
      {"32 bits with masks", 32, BI_BITFIELDS, 0, 0, 12, 0},
      {"2 bits: unknown count, no table", 2, BI_RGB, 0, 0, 0, -1},
  };
  for (const Case& c : cases) {
    TExtendedDib image(1, 1);
    HGLOBAL block = GlobalCopy(PackedDib(3, 2, c.bits, c.compression, c.clrUsed, c.tableEntries, c.masks));
    ASSERT_TRUE(image.AdoptHandle(block)) << c.name;
    const BYTE* base = reinterpret_cast<const BYTE*>(image.Header());
    EXPECT_EQ(image.ColorCount(), c.colorCount) << c.name;
    EXPECT_EQ(image.Masks() != nullptr, c.masks != 0) << c.name;
    if (c.masks) {
      EXPECT_EQ(reinterpret_cast<const BYTE*>(image.Masks()), base + 40) << c.name;
    }
    if (c.colorCount > 0) {
      EXPECT_EQ(reinterpret_cast<const BYTE*>(image.ColorTable()), base + 40 + c.masks) << c.name;
      EXPECT_EQ(image.ColorTable()[1].rgbBlue, 1) << c.name;
    } else {
      EXPECT_EQ(image.ColorTable(), nullptr) << c.name;
    }
    EXPECT_EQ(image.Bits(), base + 40 + c.masks + 4 * c.tableEntries) << c.name;
  }
}

TEST(TExtendedDib, AdoptHandleFreesTheOldBlockAndTheImageFreesItsOwn) {
  HGLOBAL adopted = GlobalCopy(PackedDib(4, 4, 8, BI_RGB, 0, 256, 0, 9));
  HGLOBAL first = nullptr;
  {
    TExtendedDib image(2, 2);
    first = image.Handle();
    EXPECT_TRUE(image.AdoptHandle(adopted));
    EXPECT_TRUE(IsFreed(first));
    EXPECT_EQ(image.Handle(), adopted);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.BitsPerPixel(), 8);
    EXPECT_EQ(image.Bits()[0], 9);
    EXPECT_EQ(GlobalFlags(adopted) & GMEM_LOCKCOUNT, 1u);
    EXPECT_TRUE(image.AdoptHandle(adopted));  // the same block again: kept, not freed
    EXPECT_FALSE(IsFreed(adopted));
    EXPECT_EQ(image.Bits()[0], 9);
  }
  EXPECT_TRUE(IsFreed(adopted));
}

TEST(TExtendedDib, ABlockOfAnotherLayoutRaisesAndChangesNothing) {
  TExtendedDib image(3, 3);
  HGLOBAL kept = image.Handle();
  Bytes core = PackedDib(3, 3, 24, BI_RGB, 0, 0);
  Put32(core, 0, 12);
  Bytes short_rows = PackedDib(3, 3, 24, BI_RGB, 0, 0);
  short_rows.resize(short_rows.size() - 4);
  Bytes topDown = PackedDib(3, 3, 24, BI_RGB, 0, 0);
  Put32(topDown, 8, static_cast<uint32_t>(-3));
  Bytes hugeTable = PackedDib(3, 3, 8, BI_RGB, 100000, 0);
  // Headers whose sizes cannot be computed: the block holds a header and one
  // row of 8 bytes, which a wrapped or empty stride would let pass.
  auto header = [](int32_t width, uint16_t bits, uint32_t clrUsed) {
    Bytes b = PackedDib(2, 1, 24, BI_RGB, clrUsed, 0);
    Put32(b, 4, static_cast<uint32_t>(width));
    Put16(b, 14, bits);
    return b;
  };
  Bytes wrappedStride = header(1431655765, 24, 0);
  Bytes noBits = header(1000, 0, 0);
  Bytes tooManyBits = header(1, 64, 0);
  Bytes negativeCount = header(1, 8, 0xFFFFFFFF);
  for (const Bytes* bytes : {&core, &short_rows, &topDown, &hugeTable, &wrappedStride, &noBits, &tooManyBits,
                             &negativeCount}) {
    HGLOBAL bad = GlobalCopy(*bytes);
    try {
      image.AdoptHandle(bad);
      ADD_FAILURE() << "no error";
    } catch (const ImageError& e) {
      EXPECT_EQ(e.what(), HexMessage(bad));
      EXPECT_EQ(e.GetKind(), ImageError::Kind::kInvalidDibHandle);
    }
    EXPECT_EQ(image.Handle(), kept);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_FALSE(IsFreed(kept));
    EXPECT_EQ(GlobalFlags(bad) & GMEM_LOCKCOUNT, 0u);  // unlocked and still the caller's
    GlobalFree(bad);
  }
  try {
    image.AdoptHandle(nullptr);
    ADD_FAILURE() << "no error";
  } catch (const ImageError& e) {
    EXPECT_STREQ(e.what(), "Invalid DIB handle 0");
  }
}

}  // namespace
}  // namespace orvalen
