#include "tests/saver/saver_fixture_win_helpers.h"

namespace orvalen::saver_test {

std::string TempPath(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

COLORREF Pixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    DispatchMessageA(&message);
  }
}

bool QuitPosted() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

namespace {

int quitPosts = 0;
using PostQuitFunction = void(WINAPI*)(int);
PostQuitFunction realPostQuit = nullptr;

void WINAPI CountingPostQuit(int exitCode) {
  ++quitPosts;
  realPostQuit(exitCode);
}

}  // namespace

QuitPostCounter::QuitPostCounter() {
  quitPosts = 0;
  patch_.emplace("user32.dll", "PostQuitMessage", reinterpret_cast<void*>(&CountingPostQuit));
  realPostQuit = reinterpret_cast<PostQuitFunction>(patch_->Original());
}

int QuitPostCounter::Count() const { return quitPosts; }

}  // namespace orvalen::saver_test
