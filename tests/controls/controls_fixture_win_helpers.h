#pragma once
// The controls tests' dialog (template IDD_CONTROLS_TEST, shown at the top
// left of the screen) that records every WM_COMMAND it gets, and helpers to
// pump messages and read pixels back.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "tests/support/canvas_win.h"
#include "winapp/window_view_win.h"

namespace orvalen::test {

struct Command {
  int id = 0;
  int code = 0;
  HWND from = nullptr;
  bool sent = false;  // arrived through SendMessage (seen by WH_CALLWNDPROC), not the queue
};

class TestDialog {
 public:
  TestDialog();
  TestDialog(const TestDialog&) = delete;
  TestDialog& operator=(const TestDialog&) = delete;
  ~TestDialog();

  HWND Handle() const { return hwnd_; }
  WindowView View() const { return WindowView(hwnd_); }
  const std::vector<Command>& Commands() const { return commands_; }
  void ClearCommands() { commands_.clear(); }
  // Commands with this id.
  std::vector<Command> CommandsWithId(int id) const;

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  HHOOK hook_ = nullptr;
  std::vector<Command> commands_;
};

// Dispatches every message waiting in this thread's queue.
void Pump();
// Pumps until `done` or until `milliseconds` have passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int milliseconds = 2000);
// The client area of `window` as the screen shows it.
std::unique_ptr<test_support::Canvas> Capture(HWND window);
// Moves the pointer where no test window is.
void ParkPointer();
// The screen position of a client point of `window`.
POINT ScreenPoint(HWND window, int x, int y);

}  // namespace orvalen::test
