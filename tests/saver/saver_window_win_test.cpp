// The saver window in this process: preview pixels over a host window of
// the test, sequencing of the slide show, and input handling.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <new>
#include <string>
#include <vector>

#include "imaging/extended_dib_win.h"
#include "imaging/fit.h"
#include "imaging/render_pass.h"
#include "saver/process_state.h"
#include "saver/saver_window_win.h"
#include "tests/saver/saver_fixture_win_helpers.h"

namespace orvalen {
namespace {

using namespace orvalen::saver_test;

class SaverWindowTest : public SaverFixture {};

TEST_F(SaverWindowTest, PreviewDrawsTheFirstPictureAtItsFittedPlace) {
  WriteProfile("USE_COLOR_RGB=10,20,30\r\n", {imagePath_});
  StartPreview();
  const Rect expected = FitRect(Rect{0, 0, 200, 150}, 40, 30);
  EXPECT_EQ(saver_->ImageRect(), expected);
  EXPECT_EQ(expected, (Rect{80, 60, 120, 90}));
  HWND w = saver_->Handle();
  EXPECT_EQ(Pixel(w, expected.left, expected.top), RGB(0, 255, 0));
  EXPECT_EQ(Pixel(w, expected.left + 1, expected.top), RGB(200, 100, 50));
  EXPECT_EQ(Pixel(w, expected.right - 1, expected.bottom - 1), RGB(200, 100, 50));
  EXPECT_EQ(Pixel(w, expected.left - 1, expected.top), RGB(10, 20, 30));
  EXPECT_EQ(Pixel(w, expected.right, expected.bottom - 1), RGB(10, 20, 30));
  EXPECT_EQ(Pixel(w, 0, 0), RGB(10, 20, 30));
  EXPECT_EQ(Pixel(w, 199, 149), RGB(10, 20, 30));
}

TEST_F(SaverWindowTest, PreviewTilesTheBackgroundFromTheCorner) {
  const std::string tile = TempPath("orvalen_saver_tile.bmp");
  WriteBmp(tile, 7, 5, [](int x, int y) { return Rgb{static_cast<uint8_t>(30 * x), static_cast<uint8_t>(40 * y), 9}; });
  WriteProfile("USE_COLOR=0\r\nTILE_FILENAME=" + tile + "\r\n", {imagePath_});
  StartPreview();
  HWND w = saver_->Handle();
  for (int y : {0, 3, 12, 149}) {
    for (int x : {0, 6, 22, 199}) {
      if (x >= 80 && x < 120 && y >= 60 && y < 90) continue;
      EXPECT_EQ(Pixel(w, x, y), RGB(30 * (x % 7), 40 * (y % 5), 9)) << x << "," << y;
    }
  }
  EXPECT_EQ(Pixel(w, 81, 61), RGB(200, 100, 50));
  std::remove(tile.c_str());
}

TEST_F(SaverWindowTest, FitToFullScreenStretchesOverTheWholeArea) {
  WriteProfile("OPTION_DISPLAY=4\r\n", {imagePath_});
  StartPreview();
  EXPECT_EQ(saver_->ImageRect(), (Rect{0, 0, 200, 150}));
  HWND w = saver_->Handle();
  EXPECT_EQ(Pixel(w, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(Pixel(w, 199, 149), RGB(200, 100, 50));
}

TEST_F(SaverWindowTest, StepsWalkTheListAndSkipFailedImages) {
  WriteProfile("VALUE_DELAY=2\r\nIMAGE_MAX_NUMBER=10\r\n", {imagePath_, brokenPath_, secondPath_});
  StartPreview();
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  EXPECT_EQ(saver_->DayShift(), 1);
  // Within the delay nothing happens.
  clock_.ticks += 1500;
  saver_->Step();
  EXPECT_EQ(saver_->Sequence().CurrentIndex(), 0);
  // The broken file leaves the picture as it was and is skipped from now on.
  NextStep();
  EXPECT_EQ(saver_->Sequence().CurrentIndex(), 1);
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  EXPECT_FALSE(saver_->Sequence().IsUsable(1));
  NextStep();
  EXPECT_EQ(saver_->CurrentFileName(), secondPath_);
  EXPECT_EQ(saver_->ImageRect(), FitRect(Rect{0, 0, 200, 150}, 20, 60));
  EXPECT_EQ(Pixel(saver_->Handle(), 100, 75), RGB(0, 0, 250));
  NextStep();
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  NextStep();
  EXPECT_EQ(saver_->Sequence().CurrentIndex(), 1);
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  EXPECT_EQ(saver_->DayShift(), 3);  // three pictures shown
}

TEST_F(SaverWindowTest, PreviewIgnoresTheMouse) {
  WriteProfile("", {imagePath_});
  StartPreview();
  SendMessageA(saver_->Handle(), WM_LBUTTONDOWN, 0, 0);
  SendMessageA(saver_->Handle(), WM_MOUSEMOVE, 0, 0);
  EXPECT_FALSE(QuitPosted());
}

TEST_F(SaverWindowTest, MovementOfMoreThanFiftyPixelsEndsTheSaver) {
  WriteProfile("", {imagePath_});
  SetCursorPos(300, 300);
  StartFullScreen(false);
  POINT home{};
  GetCursorPos(&home);
  SetCursorPos(home.x + 50, home.y - 50);
  SendMessageA(saver_->Handle(), WM_MOUSEMOVE, 0, 0);
  EXPECT_FALSE(QuitPosted());
  SetCursorPos(home.x + 51, home.y);
  SendMessageA(saver_->Handle(), WM_MOUSEMOVE, 0, 0);
  EXPECT_TRUE(QuitPosted());
  EXPECT_EQ(CurrentRunMode(), RunMode::Closing);
}

TEST_F(SaverWindowTest, KeysAndClicksEndTheSaver) {
  struct Case {
    const char* what;
    UINT message;
    WPARAM wParam;
    bool ends;
  };
  const Case cases[] = {
      {"a key", WM_KEYDOWN, VK_SPACE, true},
      {"a click", WM_RBUTTONDOWN, 0, true},
      {"losing the activation", WM_ACTIVATEAPP, FALSE, true},
      {"the system menu's close", WM_SYSCOMMAND, SC_CLOSE, false},
  };
  for (const Case& c : cases) {
    WriteProfile("", {imagePath_});
    StartFullScreen(false);
    SendMessageA(saver_->Handle(), c.message, c.wParam, 0);
    EXPECT_EQ(QuitPosted(), c.ends) << c.what;
    EXPECT_TRUE(IsWindow(saver_->Handle())) << c.what;
  }
}

// One ending posts one quit, however many of its signs arrive: destroying
// the full-screen window also deactivates it, which is a close request.
TEST_F(SaverWindowTest, AnEndingPostsTheQuitOnce) {
  struct Case {
    const char* what;
    RunMode mode;
    bool slideShow;
    bool keyFirst;  // a key press ends the saver before the window goes
  };
  const Case cases[] = {
      {"preview destroyed", RunMode::Preview, false, false},
      {"full-screen saver destroyed", RunMode::Saver, false, false},
      {"slide show destroyed", RunMode::Saver, true, false},
      {"full-screen saver ended by a key, then destroyed", RunMode::Saver, false, true},
      {"slide show ended by a key, then destroyed", RunMode::Saver, true, true},
  };
  for (const Case& c : cases) {
    WriteProfile("", {imagePath_});
    if (c.mode == RunMode::Preview) {
      StartPreview();
    } else {
      StartFullScreen(c.slideShow);
    }
    QuitPostCounter counter;
    ASSERT_TRUE(counter.Installed());
    if (c.keyFirst) SendMessageA(saver_->Handle(), WM_KEYDOWN, 'A', 0);
    DestroyWindow(saver_->Handle());
    EXPECT_EQ(counter.Count(), 1) << c.what;
    EXPECT_TRUE(QuitPosted()) << c.what;
    saver_.reset();
    if (host_) DestroyWindow(host_);
    host_ = nullptr;
    PumpMessages();
    QuitPosted();
  }
}

TEST_F(SaverWindowTest, SpacePausesAndResumesTheSlideShow) {
  WriteProfile("VALUE_DELAY=4\r\n", {imagePath_, secondPath_});
  StartFullScreen(true);
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  SendMessageA(saver_->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(saver_->Paused());
  // While paused the timer does nothing.
  clock_.ticks += 60000;
  SendMessageA(saver_->Handle(), WM_TIMER, TSaver::kTimerId, 0);
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  // The second Space resumes, and the next picture comes at once.
  clock_.ticks -= 59000;  // back within the delay: only the key shows the next picture
  SendMessageA(saver_->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_FALSE(saver_->Paused());
  EXPECT_EQ(saver_->CurrentFileName(), secondPath_);
  EXPECT_FALSE(QuitPosted());
  // Left goes back to the image before the current one.
  SendMessageA(saver_->Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  // Any other key ends the show.
  SendMessageA(saver_->Handle(), WM_KEYDOWN, 'Q', 0);
  EXPECT_TRUE(QuitPosted());
}

TEST_F(SaverWindowTest, SlideShowEndWithNoImagesIsAnEmptyStep) {
  WriteProfile("", {});
  StartFullScreen(true);
  SendMessageA(saver_->Handle(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(saver_->Sequence().CurrentIndex(), -1);
  EXPECT_EQ(saver_->CurrentFileName(), "No image files found");
}

// Pixels of the picture area that differ from the pixel core's result for
// `photo` with fade, silver edges, gamma 150 and brightness -30 (every third
// pixel of every third row).
int MismatchesAgainstThePixelCore(const TSaver& saver, const std::string& photo) {
  TExtendedDib source(photo.c_str());
  const Rect rect = saver.ImageRect();
  std::vector<std::unique_ptr<TExtendedDib>> work;
  RenderInput input;
  input.source = source.View();
  for (int k = 0; k < 5; ++k) {
    work.push_back(std::make_unique<TExtendedDib>(rect.Width(), rect.Height()));
    input.work[k] = work.back()->View();
  }
  const GammaTable gamma = BuildGammaTable(150);
  input.transition = 2;
  input.edges = 2;
  input.gamma = &gamma;
  input.brightness = BrightnessFactor(-30);
  PixelPoll poll;
  if (!RenderPixels(input, poll)) return -1;

  HDC dc = GetDC(saver.Handle());
  int mismatches = 0;
  for (int y = 0; y < rect.Height(); y += 3) {
    for (int x = 0; x < rect.Width(); x += 3) {
      const uint8_t* p = input.work[0].Pixel(x, rect.Height() - 1 - y);
      if (GetPixel(dc, rect.left + x, rect.top + y) != RGB(p[2], p[1], p[0])) ++mismatches;
    }
  }
  ReleaseDC(saver.Handle(), dc);
  return mismatches;
}

constexpr const char* kRenderedLook =
    "OPTION_TRANSITION=2\r\nOPTION_EDGES=2\r\nVALUE_GAMMA=150\r\nVALUE_BRIGHT=-30\r\nUSE_COLOR_RGB=1,2,3\r\n";

TEST_F(SaverWindowTest, LaterPicturesShowThePixelCoreResultAfterTheFadeFrames) {
  const std::string photo = TempPath("orvalen_saver_photo.bmp");
  WriteBmp(photo, 300, 200, [](int x, int y) {
    return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y + 30), static_cast<uint8_t>((x * y) & 255)};
  });
  WriteProfile(kRenderedLook, {imagePath_, photo});
  StartFullScreen(true);
  EXPECT_EQ(saver_->FramesDrawn(), 0);  // the first picture is drawn directly
  NextStep();
  ASSERT_EQ(saver_->CurrentFileName(), photo);
  EXPECT_EQ(saver_->FramesDrawn(), 5);  // frames 1 to 4, then the picture
  EXPECT_EQ(saver_->ImageRect(), FitRect(saver_->ScreenRect(), 300, 200));
  EXPECT_EQ(MismatchesAgainstThePixelCore(*saver_, photo), 0);
  EXPECT_EQ(Pixel(saver_->Handle(), saver_->ImageRect().left - 1, saver_->ImageRect().top), RGB(1, 2, 3));
  std::remove(photo.c_str());
}

TEST_F(SaverWindowTest, ASecondPictureOfTheSameSizeIsRenderedAsAFirst) {
  // The work images and the frame bitmap of the picture before serve again.
  const std::string first = TempPath("orvalen_saver_photo1.bmp");
  const std::string second = TempPath("orvalen_saver_photo2.bmp");
  WriteBmp(first, 300, 200, [](int x, int y) {
    return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y + 30), static_cast<uint8_t>((x * y) & 255)};
  });
  WriteBmp(second, 300, 200, [](int x, int y) {
    return Rgb{static_cast<uint8_t>(255 - y), static_cast<uint8_t>(x ^ y), static_cast<uint8_t>(x / 2)};
  });
  WriteProfile(kRenderedLook, {imagePath_, first, second});
  StartFullScreen(true);
  NextStep();
  NextStep();
  ASSERT_EQ(saver_->CurrentFileName(), second);
  EXPECT_EQ(saver_->FramesDrawn(), 10);
  EXPECT_EQ(MismatchesAgainstThePixelCore(*saver_, second), 0);
  std::remove(first.c_str());
  std::remove(second.c_str());
}

DWORD WINAPI ProfileReadWithoutMemory(LPCSTR, LPCSTR, LPCSTR, LPSTR, DWORD, LPCSTR) { throw std::bad_alloc(); }

// A step that throws (no memory for a huge picture, say) stops in the window
// procedure; the next tick is a step as usual, not the error screen that a
// step still running would get.
TEST_F(SaverWindowTest, AStepThatThrowsLeavesTheNextTickAStep) {
  WriteProfile("VALUE_DELAY=2\r\n", {imagePath_, secondPath_});
  StartPreview();
  WaitForWorker();
  clock_.ticks += 60000;
  {
    test_support::ImportPatch patch("kernel32.dll", "GetPrivateProfileStringA",
                                    reinterpret_cast<void*>(&ProfileReadWithoutMemory));
    ASSERT_TRUE(patch.Installed());
    SendMessageA(saver_->Handle(), WM_TIMER, TSaver::kTimerId, 0);
  }
  const int32_t afterFailure = saver_->Sequence().CurrentIndex();
  WaitForWorker();
  clock_.ticks += 60000;
  SendMessageA(saver_->Handle(), WM_TIMER, TSaver::kTimerId, 0);
  EXPECT_FALSE(QuitPosted());
  EXPECT_NE(saver_->Sequence().CurrentIndex(), afterFailure);
}

TEST_F(SaverWindowTest, LastImageIsWrittenBackAtTheEnd) {
  WriteProfile("", {imagePath_, secondPath_});
  StartPreview();
  NextStep();
  saver_.reset();
  EXPECT_EQ(GetPrivateProfileIntA("Settings", "LastImage", -1, profilePath_.c_str()), 2);
}

}  // namespace
}  // namespace orvalen
