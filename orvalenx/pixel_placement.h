#pragma once
// Turns rows of a decoded picture in one of the pixel layouts the imaging
// component delivers into the system's DIB layout, applying the EXIF
// orientation on the way so a portrait photo stands upright. Works a row at
// a time, straight into the destination block.
#include <cstdint>
#include <vector>

#include "orvalenx/dib_layout.h"

namespace orvalen {

// Source layouts, rows top-down, as the imaging component hands them out.
// 16-bit samples are little-endian.
enum class SourceFormat {
  kBlackWhite,  // 1 bit, 0 black, 1 white
  kIndexed1,
  kIndexed2,
  kIndexed4,
  kIndexed8,
  kGray2,
  kGray4,
  kGray8,
  kGray16,
  kBgr24,
  kRgb24,
  kBgrx32,  // blue, green, red, unused (or alpha, which is not applied)
  kRgbx32,
  kRgb48,
  kBgr48,
  kRgba64,
  kBgra64,
};

int SourceBitsPerPixel(SourceFormat format);
// 1 and 2-bit-per-pixel indexed and grey sources become 1 and 4 bits, 4 and
// 8 bits stay, 16-bit grey becomes 8 bits with a grey table, colour 24 bits.
int OutputBitsPerPixel(SourceFormat format);
bool IsIndexed(SourceFormat format);
// Colour table of a grey or black-and-white source, full size for its
// output bits (2, 4 or 16 levels in a 16-entry table, 256 levels).
void WriteGrayTable(SourceFormat format, RgbQuad* table);

// Orientation values 5 to 8 swap width and height.
inline bool SwapsAxes(int orientation) { return orientation >= 5 && orientation <= 8; }

class OrientedWriter {
 public:
  // `dest` has the displayed size: the source's, with width and height
  // swapped for orientations 5 to 8.
  OrientedWriter(SourceFormat format, int orientation, int32_t sourceWidth, int32_t sourceHeight,
                 const DibBlock& dest);
  // Places source row y (counted from the top, as stored).
  void PlaceRow(int32_t y, const uint8_t* source);
  // For orientation 1 only: the source goes at (left, top) of a larger
  // destination (a GIF frame on its logical screen).
  void SetOffset(int32_t left, int32_t top) {
    left_ = left;
    top_ = top;
  }

 private:
  void Convert(const uint8_t* source);

  SourceFormat format_;
  int orientation_;
  int32_t width_, height_;
  const DibBlock& dest_;
  int outBits_;
  size_t rowBytes_;
  int32_t left_ = 0, top_ = 0;
  std::vector<uint8_t> row_;  // one row in the output layout
};

// Sets every pixel of an indexed DIB to `index`, the row padding to 0.
void FillWithIndex(const DibBlock& dib, uint32_t index);

}  // namespace orvalen
