#include "saver/password_win.h"

#include "winapp/handles_win.h"

namespace orvalen {
namespace {

using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, UINT, UINT);
using VerifyScreenSavePwdFunction = BOOL(WINAPI*)(HWND);

constexpr UINT kScreenSaverRunning = 97;  // SPI_SETSCREENSAVERRUNNING

}  // namespace

bool IsNtPlatform() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return true;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void ChangePassword(HWND owner) {
  Module mpr("MPR.DLL");
  auto change = mpr.Find<PwdChangePasswordFunction>("PwdChangePasswordA");
  if (change) change("SCRSAVE", owner, 0, 0);
}

bool VerifyPassword(HWND owner) {
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  ShowCursor(TRUE);
  if (IsNtPlatform()) return true;
  bool granted = true;
  {
    Module passwordModule("PASSWORD.CPL");
    if (!passwordModule) return true;
    auto verify = passwordModule.Find<VerifyScreenSavePwdFunction>("VerifyScreenSavePwd");
    if (!verify) return true;
    granted = verify(owner) != 0;
  }
  if (!granted) {
    SetCursor(nullptr);
    ShowCursor(FALSE);
  }
  return granted;
}

void SetScreenSaverRunning(bool running) {
  UINT previous = 0;
  SystemParametersInfoA(kScreenSaverRunning, running ? 1 : 0, &previous, 0);
}

}  // namespace orvalen
