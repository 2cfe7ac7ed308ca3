#pragma once
// The edge treatment of the work image: a border up to 30 pixels wide faded
// toward black or toward the grey level 205, stronger toward the outside.
#include <cstdint>

#include "base/dib_view.h"

namespace orvalen {

// OPTION_EDGES values.
inline constexpr int32_t kEdgesNone = 0;
inline constexpr int32_t kEdgesBlack = 1;
inline constexpr int32_t kEdgesSilver = 2;

// g(d) = pow(d / 30, 0.3) with d / 30 rounded to single precision; g(0) = 0.
long double EdgeFactor(int32_t d);
// One channel at distance d: black trunc(g c), silver trunc(g (c - 205) + 205);
// any other treatment leaves it.
int EdgeChannel(int c, int32_t d, int32_t edges);

// Treats the top, left, bottom and right bands of a 24-bit work image (rows in
// memory order), in that order. Bands are clipped to the image, so a picture
// smaller than the bands is treated where they reach without any write outside
// it. Edges other than 1 and 2 change nothing; other formats raise
// std::invalid_argument.
void ApplyEdges(const DibView& work, int32_t edges);

}  // namespace orvalen
