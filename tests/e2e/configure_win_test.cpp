// The configuration program started as a user starts it: its Slide Show
// button starts the interactive slide show of the values on screen.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/e2e/program_win_helpers.h"

namespace orvalen::e2e {
namespace {

constexpr DWORD kTimeout = 10000;

TEST(Configure, SlideShowStartsTheSaverOnItsOwnProfile) {
  const std::string install = MakeInstallFolder("configure_slide", {"Orvalen.exe"});
  WriteWholeFile(install + "Orvalen.orv", "Orvalen\r\n[Settings]\r\nVALUE_DELAY=30\r\n");
  ChildProcess configure(install + "Orvalen.exe", "");
  HWND dialog = configure.WaitForWindow("#32770", "Orvalen", kTimeout);
  ASSERT_NE(dialog, nullptr);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(106, BN_CLICKED), 0);

  // A second process shows the saver window; the first stays open.
  HWND saver = nullptr;
  const DWORD start = GetTickCount();
  while (!saver && GetTickCount() - start < kTimeout) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "ORVALEN_SAVER_CLASS", nullptr)) != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process != configure.Id()) saver = window;
    }
    WaitPumping(50);
  }
  ASSERT_NE(saver, nullptr);
  const std::string slide = ReadWholeFile(install + "ovslide.dat");
  EXPECT_NE(slide.find("LastImage=0"), std::string::npos);
  EXPECT_NE(slide.find("VALUE_DELAY=30"), std::string::npos);
  EXPECT_NE(slide.find("i0=<END>"), std::string::npos);
  PostMessageA(saver, WM_LBUTTONDOWN, 0, 0);
  WaitPumping(500);
  EXPECT_FALSE(IsWindow(saver));

  EXPECT_EQ(configure.WaitForExit(200), -1);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(configure.WaitForExit(kTimeout), 0);
}

}  // namespace
}  // namespace orvalen::e2e
