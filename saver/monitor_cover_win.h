#pragma once
// A black window over one monitor beside the primary while the full-screen
// saver runs: the pictures stay on the primary monitor, and the desktop must
// not show on the others.
//
// A cover is never activated and never takes the focus (the saver window
// takes its own loss of activation for a request to close). Mouse input on
// it is handed to the saver window, so that a click or a move over a covered
// monitor ends the show as it does over the primary one.
#include <windows.h>

#include <memory>
#include <vector>

#include "winapp/window_win.h"

namespace orvalen {

class MonitorCover : public Window {
 public:
  static constexpr const char* kClassName = "ORVALEN_COVER_CLASS";

  // Covers `area` (screen coordinates) above every normal window, owned by
  // and handing its mouse input to `saver`. False when it could not be made.
  bool Create(const RECT& area, HWND saver);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND saver_ = nullptr;
};

// The screen rectangles of the monitors other than the primary one.
std::vector<RECT> SecondaryMonitorRects();

// One cover for each monitor beside the primary; those that could not be
// made are left out.
std::vector<std::unique_ptr<MonitorCover>> CoverSecondaryMonitors(HWND saver);

}  // namespace orvalen
