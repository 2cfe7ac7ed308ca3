// Orvalen.scr: the screen-saver module Windows starts with the saver switches.
#include <windows.h>

#include "saver/screen_app_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return orvalen::RunScreenSaverProgram(orvalen::ProgramKind::ScreenSaverModule, GetCommandLineA(),
                                        nullptr);
}
