#pragma once
// What the in-process saver window tests share: a clock that moves when told,
// test pictures, a profile writer, and a fixture that starts a TSaver in
// preview or full-screen mode.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "saver/clock.h"
#include "saver/process_state.h"
#include "saver/saver_window_win.h"
#include "tests/support/bmp_file.h"
#include "tests/support/import_patch_win.h"

namespace orvalen::saver_test {

// Time moves only when the test says so, but for one millisecond per
// `readsPerTick` readings, so that the saver's busy waits end.
class FakeClock final : public Clock {
 public:
  uint32_t ticks = 100000;
  uint32_t reads = 0;
  uint32_t readsPerTick = 10;
  LocalTime now{2019, 3, 4, 12, 5};
  uint32_t Ticks() override {
    if (++reads % readsPerTick == 0) ++ticks;
    return ticks;
  }
  LocalTime Now() override { return now; }
};

using test_support::Rgb;

// Writes a 24-bit BMP file; `pixel(x, y)` with y from the top.
template <typename PixelFunction>
void WriteBmp(const std::string& path, int width, int height, PixelFunction pixel) {
  const std::string file = test_support::Bmp24File(width, height, pixel);
  std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
}

// A file name in the temporary folder.
std::string TempPath(const char* name);
// The colour of one pixel of a window, read from the screen.
COLORREF Pixel(HWND window, int x, int y);
// Answers every queued message of this thread.
void PumpMessages();
// Takes a posted quit message off the queue; true when there was one.
bool QuitPosted();

// Counts this program's calls of PostQuitMessage while it lives. The queue
// cannot tell: a thread holds one pending quit however often it is posted.
// The counter takes the function's place in the program's import table and
// passes each call on.
class QuitPostCounter {
 public:
  QuitPostCounter();
  QuitPostCounter(const QuitPostCounter&) = delete;
  QuitPostCounter& operator=(const QuitPostCounter&) = delete;
  // False when the import was not found (then Count() stays 0).
  bool Installed() const { return patch_->Installed(); }
  int Count() const;

 private:
  std::optional<test_support::ImportPatch> patch_;
};

class SaverFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    profilePath_ = TempPath("orvalen_saver_test.orv");
    imagePath_ = TempPath("orvalen_saver_a.bmp");
    secondPath_ = TempPath("orvalen_saver_b.bmp");
    brokenPath_ = TempPath("orvalen_saver_broken.bmp");
    WriteBmp(imagePath_, 40, 30, [](int x, int y) { return x == 0 && y == 0 ? Rgb{0, 255, 0} : Rgb{200, 100, 50}; });
    WriteBmp(secondPath_, 20, 60, [](int, int) { return Rgb{0, 0, 250}; });
    std::ofstream(brokenPath_, std::ios::binary) << "BM this is no picture";
    StartupState& startup = Startup();
    startup = StartupState{};
    startup.profileFound = true;
    startup.activeProfilePath = profilePath_;
    Settings() = SaverSettings{};
    QuitPosted();
  }
  void TearDown() override {
    saver_.reset();
    if (host_) DestroyWindow(host_);
    PumpMessages();
    QuitPosted();
    for (const std::string& p : {profilePath_, imagePath_, secondPath_, brokenPath_}) std::remove(p.c_str());
  }

  // Section "Settings" with `settings` and the total, section "Files" with
  // the list, then `moreSections` as they stand.
  void WriteProfile(const std::string& settings, const std::vector<std::string>& files,
                    const std::string& moreSections = "") {
    std::string text = "[Settings]\r\n" + settings + "Total=" + std::to_string(files.size()) + "\r\n[Files]\r\n";
    for (size_t i = 0; i < files.size(); ++i) text += "i" + std::to_string(i) + "=" + files[i] + "\r\n";
    text += "i" + std::to_string(files.size()) + "=<END>\r\n" + moreSections;
    std::ofstream(profilePath_, std::ios::binary) << text;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, profilePath_.c_str());
  }

  // A preview of 200 x 150 pixels in a host window of the test.
  void StartPreview() {
    CurrentRunMode() = RunMode::Preview;
    host_ = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    saver_ = std::make_unique<TSaver>(&clock_);
    saver_->SetDecodeAhead(decodeAhead_);
    ASSERT_TRUE(saver_->CreateSaverWindow(host_));
    UpdateWindow(saver_->Handle());
    PumpMessages();
    ShowFirstPicture();
  }

  void StartFullScreen(bool slideShow) {
    CurrentRunMode() = RunMode::Saver;
    Startup().slideShow = slideShow;
    saver_ = std::make_unique<TSaver>(&clock_);
    saver_->SetDecodeAhead(decodeAhead_);
    ASSERT_TRUE(saver_->CreateSaverWindow(nullptr));
    UpdateWindow(saver_->Handle());
    PumpMessages();
    ShowFirstPicture();
    QuitPosted();
  }

  // The first paint's step waits for the first picture's decode on the
  // worker; the tick after it shows the picture.
  void ShowFirstPicture() {
    WaitForWorker();
    saver_->Step();
  }

  // As long as the delay between two steps lasts for the decode ahead.
  void WaitForWorker() {
    for (int i = 0; i < 2000 && saver_->Ahead().WorkerRunning(); ++i) Sleep(5);
  }

  // The next step, one delay later. The delay passes for the worker that
  // decodes the next picture ahead as well: it has its time to finish.
  void NextStep() {
    WaitForWorker();
    clock_.ticks += 60000;
    saver_->Step();
  }

  FakeClock clock_;
  bool decodeAhead_ = true;  // for the saver the next Start makes
  std::unique_ptr<TSaver> saver_;
  HWND host_ = nullptr;
  std::string profilePath_, imagePath_, secondPath_, brokenPath_;
};


}  // namespace orvalen::saver_test
