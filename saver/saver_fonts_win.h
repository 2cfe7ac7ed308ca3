#pragma once
// The fonts the saver draws its texts in: "MS Sans Serif" of height 12 for
// the labels and overlays, others by name.
#include <windows.h>

#include "winapp/handles_win.h"

namespace orvalen {

inline Font MakeFont(const char* face, int height, int weight, bool italic = false, bool underline = false,
                     bool strikeOut = false) {
  return Font(CreateFontA(height, 0, 0, 0, weight, italic, underline, strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
}

// "MS Sans Serif" 12, bold unless told otherwise, with the given styles.
inline Font PanelFont(int weight = FW_BOLD, bool italic = false, bool underline = false, bool strikeOut = false) {
  return MakeFont("MS Sans Serif", 12, weight, italic, underline, strikeOut);
}

}  // namespace orvalen
