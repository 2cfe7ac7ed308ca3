// The full-screen saver and the slide show on a desktop of two monitors side
// by side: they keep running until there is input, the monitor beside the
// primary one is covered in true black by a window that is never active, and
// input over that monitor ends the show as it does over the primary one.
// tools/wine-env gives such a desktop with ORVALEN_MONITORS=2; on one monitor
// these tests are skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "program_win_helpers.h"
#include "tests/support/bmp_file.h"
#include "tests/support/canvas_win.h"

namespace orvalen::e2e {
namespace {

constexpr DWORD kTimeout = 15000;
constexpr const char* kSaverClass = "ORVALEN_SAVER_CLASS";
constexpr const char* kCoverClass = "ORVALEN_COVER_CLASS";

// An installation with one picture shown every second, and the cursor parked
// over the second monitor, where the saver takes it as resting.
class TwoMonitors : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetSystemMetrics(SM_CMONITORS) < 2) GTEST_SKIP() << "one monitor: run with ORVALEN_MONITORS=2";
    install_ = MakeInstallFolder("two_monitors", {"Orvalen.exe"});
    WriteWholeFile(install_ + "red.bmp",
                   test_support::Bmp24File(64, 48, [](int, int) { return test_support::Rgb{220, 30, 30}; }));
    // The saver reads the default profile, the slide show its own.
    const std::string settings = "[Settings]\nVALUE_DELAY=1\nTotal=1\n[Files]\ni0=" + install_ + "red.bmp\ni1=<END>\n";
    WriteWholeFile(install_ + "Orvalen.orv", "Orvalen\n" + settings);
    WriteWholeFile(install_ + "ovslide.dat", settings);
    second_ = SecondMonitor();
    park_ = POINT{(second_.left + second_.right) / 2, (second_.top + second_.bottom) / 2};
    SetCursorPos(park_.x, park_.y);
  }

  static RECT SecondMonitor() {
    RECT found{};
    EnumDisplayMonitors(nullptr, nullptr, &TakeSecondary, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  static BOOL CALLBACK TakeSecondary(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) {
      *reinterpret_cast<RECT*>(data) = info.rcMonitor;
      return FALSE;
    }
    return TRUE;
  }

  // Pixels of the second monitor that are not black, on a grid of 32 pixels.
  int LitPixelsOnTheSecondMonitor() const {
    const int width = second_.right - second_.left;
    const int height = second_.bottom - second_.top;
    test_support::Canvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.Dc(), 0, 0, width, height, screen, second_.left, second_.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    int lit = 0;
    for (int y = 0; y < height; y += 32) {
      for (int x = 0; x < width; x += 32) lit += canvas.At(x, y) != 0;
    }
    return lit;
  }

  // Starts the program, checks that it runs on by itself past several ticks
  // with the second monitor black and its cover never active.
  void RunsOnWithTheSecondMonitorBlack(ChildProcess& child, const char* what) {
    HWND saver = child.WaitForWindow(kSaverClass, nullptr, kTimeout);
    ASSERT_NE(saver, nullptr) << what;
    HWND cover = child.WaitForWindow(kCoverClass, nullptr, kTimeout);
    ASSERT_NE(cover, nullptr) << what;
    WaitPumping(2500);  // five ticks, two pictures
    ASSERT_TRUE(child.Running()) << what << " ended by itself";
    EXPECT_EQ(GetForegroundWindow(), saver) << what;
    RECT area{};
    GetWindowRect(cover, &area);
    EXPECT_TRUE(EqualRect(&area, &second_)) << what;
    EXPECT_NE(GetWindowLongA(cover, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << what;
    EXPECT_EQ(LitPixelsOnTheSecondMonitor(), 0) << what;
  }

  std::string install_;
  RECT second_{};
  POINT park_{};
};

TEST_F(TwoMonitors, SaverRunsUntilAClickOnTheSecondMonitor) {
  ChildProcess child(install_ + "Orvalen.exe", "/s");
  RunsOnWithTheSecondMonitorBlack(child, "saver");
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof(INPUT));
  EXPECT_EQ(child.WaitForExit(kTimeout), 0);
}

TEST_F(TwoMonitors, SlideShowRunsUntilAMoveOnTheSecondMonitor) {
  ChildProcess child(install_ + "Orvalen.exe", "/x");
  RunsOnWithTheSecondMonitorBlack(child, "slide show");
  SetCursorPos(park_.x + 200, park_.y);
  EXPECT_EQ(child.WaitForExit(kTimeout), 0);
}

TEST_F(TwoMonitors, PreviewMakesNoCover) {
  HWND host = CreateWindowExA(0, "STATIC", "preview host", WS_POPUP | WS_VISIBLE, 10, 10, 152, 112, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  ChildProcess child(install_ + "Orvalen.exe", "/p " + std::to_string(reinterpret_cast<uintptr_t>(host)));
  ASSERT_NE(child.WaitForWindow(kSaverClass, nullptr, kTimeout), nullptr);
  WaitPumping(1000);
  EXPECT_EQ(child.WaitForWindow(kCoverClass, nullptr, 0), nullptr);
  DestroyWindow(host);
  EXPECT_EQ(child.WaitForExit(kTimeout), 0);
}

}  // namespace
}  // namespace orvalen::e2e
