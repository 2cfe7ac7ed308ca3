#pragma once
// The six functions of Orvalenx.dll, exported by their undecorated names,
// __stdcall. Programs link the DLL's import library.
//
// Handles: a DIB handle is a moveable global memory block (HGLOBAL) holding a
// packed DIB: 40-byte header, colour table, bottom-up rows padded to 4 bytes;
// 24 bits blue-green-red, or 1, 4 or 8 bits with a colour table of the full
// 2, 16 or 256 entries (an 8-bit result of ApplyQuantizedPalette has as many
// entries as the palette). Every handle the library returns belongs to the
// caller, who frees it with GlobalFree; the library never frees a handle
// passed to it. A histogram handle is a 32-bit number, never 0; an unknown
// one (never made, or destroyed) makes every function fail harmlessly.
//
// Call order on one quantizer: CreateHistogram, CalculateHistogram (once per
// picture), QuantizeHistogram, optionally ApplyQuantizedPalette, then
// DestroyHistogram. Histogram 0 or a null buffer makes QuantizeHistogram
// return 0 (what callers do for pictures of fewer than 4 bits).
#include <windows.h>

typedef DWORD ORVALENX_HISTOGRAM;

#ifdef __cplusplus
extern "C" {
#endif

// Reads a JPEG, GIF (first frame), TIFF, PNG, Windows bitmap (.bmp, .rle,
// .dib) or PCX file, told by content. The two numbers are reserved (0).
// Returns 0 for a file that cannot be read, is damaged, or whose picture
// exceeds 32768 pixels a side or a 256 MiB block.
HGLOBAL WINAPI LoadGraphicFile(const char* path, int reserved1, int reserved2);

// A new, empty histogram; 0 when there is no memory.
ORVALENX_HISTOGRAM WINAPI CreateHistogram(void);

// Counts the pixels of a DIB (1, 4, 8, 16, 24 or 32 bits). Non-zero on
// success; 0 for an unknown histogram or a block that is no such DIB.
BOOL WINAPI CalculateHistogram(ORVALENX_HISTOGRAM histogram, HGLOBAL dib);

// Chooses at most maxColors (up to 256) colours and fills the caller's
// 1,028-byte buffer: palVersion 0x300, palNumEntries, the entries (flags 0).
// Returns the number of entries; 0 for histogram 0, an unknown or empty
// histogram, or a null buffer.
WORD WINAPI QuantizeHistogram(ORVALENX_HISTOGRAM histogram, WORD maxColors, LOGPALETTE* palette);

// A new 8-bit DIB of the picture in the buffer's palette, each pixel the
// nearest palette colour; 0 when the buffer holds no palette of 1..256
// entries or the DIB cannot be read. The histogram argument is not needed
// and may be 0. The source DIB is not changed.
HGLOBAL WINAPI ApplyQuantizedPalette(HGLOBAL dib, ORVALENX_HISTOGRAM histogram, LOGPALETTE* palette);

// Frees a histogram; unknown handles and 0 are ignored.
void WINAPI DestroyHistogram(ORVALENX_HISTOGRAM histogram);

#ifdef __cplusplus
}
#endif
