#include "saver/monitor_cover_win.h"

#include <new>

namespace orvalen {
namespace {

BOOL CALLBACK CollectSecondary(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info) || (info.dwFlags & MONITORINFOF_PRIMARY)) return TRUE;
  try {
    reinterpret_cast<std::vector<RECT>*>(data)->push_back(info.rcMonitor);
  } catch (const std::bad_alloc&) {
    return FALSE;  // the monitors found so far are covered
  }
  return TRUE;
}

bool IsMouseInput(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool MonitorCover::Create(const RECT& area, HWND saver) {
  const bool registered = RegisterClassOnce(kClassName, [](WNDCLASSEXA& attributes) {
    attributes.style = 0;
    attributes.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  });
  if (!registered) return false;
  saver_ = saver;
  // Made hidden: a window made visible is activated, which the saver window
  // would take for the end of the show.
  if (!CreateOwnedWindow(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "", WS_POPUP,
                         area.left, area.top, area.right - area.left, area.bottom - area.top, saver)) {
    return false;
  }
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return true;
}

LRESULT MonitorCover::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  if (IsMouseInput(message) && IsWindow(saver_)) {
    // In the saver window's client coordinates, as if the mouse were over it.
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(Handle(), saver_, &point, 1);
    SendMessageA(saver_, message, wParam, MAKELPARAM(point.x, point.y));
    return 0;
  }
  return DefaultProcessing(message, wParam, lParam);
}

std::vector<RECT> SecondaryMonitorRects() {
  std::vector<RECT> rects;
  EnumDisplayMonitors(nullptr, nullptr, &CollectSecondary, reinterpret_cast<LPARAM>(&rects));
  return rects;
}

std::vector<std::unique_ptr<MonitorCover>> CoverSecondaryMonitors(HWND saver) {
  std::vector<std::unique_ptr<MonitorCover>> covers;
  for (const RECT& area : SecondaryMonitorRects()) {
    auto cover = std::make_unique<MonitorCover>();
    if (cover->Create(area, saver)) covers.push_back(std::move(cover));
  }
  return covers;
}

}  // namespace orvalen
