// Setup.exe: installs Orvalen from its own folder; copied as Remove.exe it
// removes the installation again.
#include <windows.h>

#include "setup/setup_wizard_win.h"
#include "winapp/handles_win.h"

namespace {

// Setup runs with administrator rights from wherever it was downloaded to. A
// library planted in that folder under the name of one the system loads on
// demand must not be loaded: libraries come from the System directory only.
// The function is looked up, as systems before Windows 8 (without the
// update that brought it) do not have it.
void LoadLibrariesFromTheSystemOnly() {
  orvalen::Module kernel("kernel32.dll");
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  const auto setDefault = kernel.Find<SetDefaultDirectories>("SetDefaultDllDirectories");
  if (setDefault) setDefault(kSearchSystem32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  LoadLibrariesFromTheSystemOnly();
  orvalen::setup::TQRLSetupApp application(showCommand);
  return application.Run();
}
