#include "winapp_test_win.h"

#include "winapp/application_win.h"

namespace orvalen {

Application& TestApplication() {
  static Application application("winapp tests");
  return application;
}

void PumpMessages(int milliseconds) {
  const DWORD start = GetTickCount();
  do {
    Application::ProcessPendingMessages();
    if (milliseconds > 0) Sleep(5);
  } while (static_cast<int>(GetTickCount() - start) < milliseconds);
}

}  // namespace orvalen
