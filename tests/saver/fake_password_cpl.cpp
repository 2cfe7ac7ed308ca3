// A stand-in for the Windows 9x password module, built as "PASSWORD.CPL" next
// to the saver tests. The test process talks to it through its environment:
//   ORVALEN_FAKE_PASSWORD_ANSWER  "1" grants, anything else refuses
// and reads back what the module saw at each call:
//   ORVALEN_FAKE_PASSWORD_CALLS   number of calls so far
//   ORVALEN_FAKE_PASSWORD_FLAG    the "screen saver running" flag during the call
//   ORVALEN_FAKE_PASSWORD_CURSOR  the cursor display count during the call
//   ORVALEN_FAKE_PASSWORD_OWNER   the owner window passed in
// The module is loaded and freed around every call, so it keeps no state.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

int ReadNumber(const char* name) {
  char value[32] = "";
  GetEnvironmentVariableA(name, value, sizeof value);
  return std::atoi(value);
}

void WriteNumber(const char* name, long long number) {
  char value[32];
  std::snprintf(value, sizeof value, "%lld", number);
  SetEnvironmentVariableA(name, value);
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
  WriteNumber("ORVALEN_FAKE_PASSWORD_CALLS", ReadNumber("ORVALEN_FAKE_PASSWORD_CALLS") + 1);
  UINT running = 0;
  SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  WriteNumber("ORVALEN_FAKE_PASSWORD_FLAG", running);
  const int count = ShowCursor(FALSE) + 1;
  ShowCursor(TRUE);
  WriteNumber("ORVALEN_FAKE_PASSWORD_CURSOR", count);
  WriteNumber("ORVALEN_FAKE_PASSWORD_OWNER", reinterpret_cast<INT_PTR>(owner));
  return ReadNumber("ORVALEN_FAKE_PASSWORD_ANSWER") == 1;
}
