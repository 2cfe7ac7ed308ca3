#pragma once
// The display's logical DPI, and pixel sizes for a 96-DPI display scaled to it.
#include <windows.h>

#include <cstdint>

#include "winapp/dpi_scale.h"

namespace orvalen {

// LOGPIXELSY of the screen: 96 at 100 %, 144 at 150 %.
int32_t ScreenDpi();

// `pixels` (for 96 DPI) on this display.
inline int32_t ScaledPixels(int32_t pixels) { return ScaleForDpi(pixels, ScreenDpi()); }

// A font of `height` pixels (for 96 DPI, negative for the character height)
// on this display; the other arguments as CreateFontA takes them.
HFONT CreateScaledFont(int height, int weight, bool italic, bool underline, bool strikeOut, DWORD charset,
                       DWORD pitchAndFamily, const char* face);

}  // namespace orvalen
