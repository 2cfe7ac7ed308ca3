#include "winapp/application_win.h"

namespace orvalen {

int Application::Run() {
  if (!InitMainWindow()) return StartupFailure();
  return MessageLoop();
}

int Application::MessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

int Application::StartupFailure() {
  std::string text = name_ + ": start-up failed, no main window was created.\n";
  OutputDebugStringA(text.c_str());
  return kStartupFailureExitCode;
}

}  // namespace orvalen
