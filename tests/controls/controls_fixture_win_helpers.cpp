#include "tests/controls/controls_fixture_win_helpers.h"

#include <commctrl.h>

#include "tests/controls/controls_test_ids.h"

namespace orvalen::test {

namespace {

// The WM_COMMAND the hook saw being sent to the dialog and not yet recorded.
HWND g_sentTo = nullptr;
WPARAM g_sentWParam = 0;

}  // namespace

LRESULT CALLBACK TestDialog::SentHook(int code, WPARAM wParam, LPARAM lParam) {
  // WH_CALLWNDPROC sees SendMessage calls, also within the thread, and never
  // messages dispatched from the queue.
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_COMMAND) {
    g_sentTo = sent->hwnd;
    g_sentWParam = sent->wParam;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TestDialog::TestDialog() {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &TestDialog::SentHook, nullptr, GetCurrentThreadId());
  InitCommonControlsEx(&init);
  hwnd_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONTROLS_TEST),
                             nullptr, &TestDialog::Procedure, reinterpret_cast<LPARAM>(this));
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd_);
  UpdateWindow(hwnd_);
  Pump();
}

TestDialog::~TestDialog() {
  if (hwnd_) DestroyWindow(hwnd_);
  Pump();
  if (hook_) UnhookWindowsHookEx(hook_);
}

std::vector<Command> TestDialog::CommandsWithId(int id) const {
  std::vector<Command> found;
  for (const Command& c : commands_) {
    if (c.id == id) found.push_back(c);
  }
  return found;
}

INT_PTR CALLBACK TestDialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    return TRUE;
  }
  auto* self = reinterpret_cast<TestDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (self && message == WM_COMMAND) {
    const bool sent = g_sentTo == hwnd && g_sentWParam == wParam;
    g_sentTo = nullptr;
    self->commands_.push_back(
        Command{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam), sent});
    return TRUE;
  }
  return FALSE;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    Pump();
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) > milliseconds) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

std::unique_ptr<test_support::Canvas> Capture(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  auto canvas = std::make_unique<test_support::Canvas>(client.right, client.bottom);
  HDC dc = GetDC(window);
  BitBlt(canvas->Dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  return canvas;
}

void ParkPointer() {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5);
  Pump();
}

POINT ScreenPoint(HWND window, int x, int y) {
  POINT point{x, y};
  ClientToScreen(window, &point);
  return point;
}

}  // namespace orvalen::test
