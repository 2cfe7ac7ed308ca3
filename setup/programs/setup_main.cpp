// Setup.exe: installs Orvalen from its own folder; copied as Remove.exe it
// removes the installation again.
#include <windows.h>

#include "setup/setup_wizard_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  orvalen::setup::TQRLSetupApp application(showCommand);
  return application.Run();
}
