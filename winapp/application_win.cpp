#include "winapp/application_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "winapp/callback_guard_win.h"

namespace orvalen {
namespace {

Application* current = nullptr;

// The modeless top-level windows of this (single) UI thread, and the hook that
// gives them their dialog keys while another loop than ours runs.
struct ModelessWindows {
  std::vector<HWND> windows;
  HHOOK filterHook = nullptr;
};

ModelessWindows& Modeless() {
  static ModelessWindows modeless;
  return modeless;
}

// IsDialogMessage for the registered window the message is meant for.
bool TranslateModeless(MSG& message) {
  if (!message.hwnd) return false;
  HWND target = nullptr;
  for (HWND window : Modeless().windows) {
    if (window == message.hwnd || IsChild(window, message.hwnd)) {
      target = window;
      break;
    }
  }
  return target && IsDialogMessageA(target, &message);
}

LRESULT CALLBACK MessageFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX || code == MSGF_MESSAGEBOX) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (message && GuardedCallback(false, [&] { return TranslateModeless(*message); })) return TRUE;
  }
  return CallNextHookEx(Modeless().filterHook, code, wParam, lParam);
}

}  // namespace

Application::Application(std::string name) : name_(std::move(name)) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                   ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS;
  InitCommonControlsEx(&controls);
  if (!current) current = this;
}

Application::~Application() {
  if (current == this) current = nullptr;
}

Application* Application::Current() { return current; }

int Application::Run() {
  if (!InitMainWindow()) return StartupFailure();
  return MessageLoop();
}

bool Application::EnsureRichEdit() {
  if (!richEdit_) richEdit_.emplace("RICHED32.DLL");
  if (!*richEdit_) {
    richEdit_.reset();  // a later call tries again
    return false;
  }
  return true;
}

void Application::RegisterModeless(HWND window) {
  ModelessWindows& modeless = Modeless();
  if (!window || std::find(modeless.windows.begin(), modeless.windows.end(), window) !=
                     modeless.windows.end()) {
    return;
  }
  modeless.windows.push_back(window);
  if (!modeless.filterHook) {
    modeless.filterHook =
        SetWindowsHookExA(WH_MSGFILTER, &MessageFilterHook, nullptr, GetCurrentThreadId());
  }
}

void Application::UnregisterModeless(HWND window) {
  ModelessWindows& modeless = Modeless();
  std::erase(modeless.windows, window);
  if (modeless.windows.empty() && modeless.filterHook) {
    UnhookWindowsHookEx(modeless.filterHook);
    modeless.filterHook = nullptr;
  }
}

void Application::ProcessMessage(MSG& message) {
  if (TranslateModeless(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

bool Application::ProcessPendingMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    ProcessMessage(message);
  }
  return true;
}

int Application::MessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return kMessageLoopFailureExitCode;
    ProcessMessage(message);
  }
}

int Application::StartupFailure() {
  std::string text = name_ + ": start-up failed, no main window was created.\n";
  OutputDebugStringA(text.c_str());
  return kStartupFailureExitCode;
}

}  // namespace orvalen
