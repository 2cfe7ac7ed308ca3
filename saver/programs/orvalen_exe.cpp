// Orvalen.exe: the configuration program, which carries the whole saver.
#include <windows.h>

#include "config/configure_dialog_win.h"
#include "saver/screen_app_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return orvalen::RunScreenSaverProgram(orvalen::ProgramKind::ConfigurationProgram, GetCommandLineA(),
                                        &orvalen::RunConfigureDialog);
}
