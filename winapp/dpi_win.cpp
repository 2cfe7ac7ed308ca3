#include "winapp/dpi_win.h"

namespace orvalen {

int32_t ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int32_t dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi;
}

HFONT CreateScaledFont(int height, int weight, bool italic, bool underline, bool strikeOut, DWORD charset,
                       DWORD pitchAndFamily, const char* face) {
  return CreateFontA(ScaledPixels(height), 0, 0, 0, weight, italic, underline, strikeOut, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitchAndFamily, face);
}

}  // namespace orvalen
