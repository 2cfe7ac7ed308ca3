// The slide-show step as the user sees it: one full-screen TSaver in this
// process shows two large pictures in turn with the blend and the accurate
// reduction. Each step is started the way the window timer starts it, and
// the saver's own step record tells where the time went: decode, render,
// background, frames and the 50 ms waits between the frames. Then the
// memory the pictures take: what the decoded image and the five work images
// account for beside what the process holds.
//
//   saver_step_bench_win <first picture> <second picture> [steps]
//
// Run by bench/run-saver-step, on a Wine display of its own.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "base/dib_view.h"
#include "imaging/extended_dib_win.h"
#include "saver/process_state.h"
#include "saver/saver_window_win.h"
#include "winapp/performance_counter_win.h"

namespace orvalen {
namespace {

constexpr double kGoalMs = 200.0;
constexpr double kMiB = 1024.0 * 1024.0;

// The system tick count, moved on by whole delays when the bench asks, so
// that each step finds its delay over without the bench sleeping through it.
class SteppedClock final : public Clock {
 public:
  uint32_t offset = 0;
  uint32_t Ticks() override { return GetTickCount() + offset; }
  LocalTime Now() override { return LocalTime{2019, 3, 4, 12, 5}; }
};

// Answers every queued message; under Wine this is also when the window's
// drawing reaches the X server.
void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    DispatchMessageA(&message);
  }
}

// Under Wine the working set is the process's resident memory and its peak
// the kernel's high-water mark; private bytes are its resident anonymous
// memory (on Windows the committed private memory).
struct Memory {
  double workingSet = 0;      // MiB
  double peakWorkingSet = 0;  // MiB, since the process started
  double privateBytes = 0;    // MiB
};

Memory ReadMemory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  Memory m;
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters)) {
    m.workingSet = counters.WorkingSetSize / kMiB;
    m.peakWorkingSet = counters.PeakWorkingSetSize / kMiB;
    m.privateBytes = counters.PagefileUsage / kMiB;
  }
  return m;
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Min(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

std::string TempFolder() {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

// The bytes of a packed 24-bit image of the given size, header included.
double DibMiB(int32_t width, int32_t height, int32_t bits) {
  return (40.0 + static_cast<double>(DibView::StrideFor(width, bits)) * height) / kMiB;
}

int Run(const std::string& first, const std::string& second, int steps) {
  // The loader alone first, while the peak is still the start-up's: how much
  // it holds beside its image while it decodes.
  const Memory start = ReadMemory();
  int32_t width = 0, height = 0;
  Memory loaded;
  {
    TExtendedDib probe(first.c_str());
    width = probe.Width();
    height = probe.Height();
    loaded = ReadMemory();
  }
  const double loaderPeak = loaded.peakWorkingSet - start.workingSet;
  const double loaderHeld = loaded.workingSet - start.workingSet;

  const std::string folder = TempFolder();
  const std::string profilePath = folder + "orvalen_step_bench.orv";
  {
    std::ofstream profile(profilePath, std::ios::binary);
    profile << "[Settings]\r\nVALUE_DELAY=1\r\nOPTION_TRANSITION=1\r\nACCURATE_SIZE=1\r\n"
               "IMAGE_MAX_NUMBER=1000\r\nTotal=2\r\n[Files]\r\ni0="
            << first << "\r\ni1=" << second << "\r\ni2=<END>\r\n";
  }
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, profilePath.c_str());

  StartupState& startup = Startup();
  startup = StartupState{};
  startup.profileFound = true;
  startup.slideShow = true;  // closing never asks for a password
  startup.programDir = folder;
  startup.activeProfilePath = profilePath;
  Settings() = SaverSettings{};
  CurrentRunMode() = RunMode::Saver;

  SteppedClock clock;
  auto saver = std::make_unique<TSaver>(&clock);
  if (!saver->CreateSaverWindow(nullptr)) {
    std::fprintf(stderr, "saver_step_bench: the saver window was not created\n");
    return 1;
  }
  const Memory baseline = ReadMemory();
  // The first paint shows the first picture directly, as in every run.
  UpdateWindow(saver->Handle());
  PumpMessages();
  const TSaver::StepTimes firstStep = saver->LastStepTimes();
  if (saver->CurrentFileName() != first) {
    std::fprintf(stderr, "saver_step_bench: the first picture was not shown (%s)\n", saver->CurrentFileName().c_str());
    return 1;
  }

  struct Row {
    TSaver::StepTimes times;
    double callMs;     // the timer message, measured from outside
    double presentMs;  // the message pump after the step
  };
  std::vector<Row> rows;
  for (int i = 0; i < steps; ++i) {
    clock.offset += 1000;  // one delay later
    const int framesBefore = saver->FramesDrawn();
    const double start = PerformanceCounterMs();
    SendMessageA(saver->Handle(), WM_TIMER, TSaver::kTimerId, 0);
    const double called = PerformanceCounterMs();
    PumpMessages();
    const double presented = PerformanceCounterMs();
    const std::string& expected = i % 2 == 0 ? second : first;
    if (saver->CurrentFileName() != expected || saver->FramesDrawn() != framesBefore + 5) {
      std::fprintf(stderr, "saver_step_bench: step %d showed %s with %d frames\n", i + 1,
                   saver->CurrentFileName().c_str(), saver->FramesDrawn() - framesBefore);
      return 1;
    }
    rows.push_back(Row{saver->LastStepTimes(), called - start, presented - called});
  }
  const Memory steady = ReadMemory();
  const Rect rect = saver->ImageRect();
  const Rect screen = saver->ScreenRect();
  int displayBits = 32;
  {
    HDC dc = GetDC(nullptr);
    displayBits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(nullptr, dc);
  }
  saver.reset();
  PumpMessages();
  std::remove(profilePath.c_str());

  std::printf("Step of the slide show: %d x %d JPEG on a %d x %d screen, picture area %d x %d,\n", width, height,
              screen.Width(), screen.Height(), rect.Width(), rect.Height());
  std::printf("blend and accurate reduction on; %d steps alternating two pictures (ms)\n\n", steps);
  std::printf("%4s %8s %8s %10s %8s %8s %10s %8s %8s %8s\n", "step", "decode", "render", "background", "frames",
              "waits", "no waits", "total", "timer", "present");
  std::vector<double> decode, render, background, frames, waits, work, total, call, present;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TSaver::StepTimes& t = rows[i].times;
    const double noWaits = t.decodeMs + t.renderMs + t.backgroundMs + t.framesMs;
    std::printf("%4zu %8.1f %8.1f %10.1f %8.1f %8.1f %10.1f %8.1f %8.1f %8.1f\n", i + 1, t.decodeMs, t.renderMs,
                t.backgroundMs, t.framesMs, t.waitsMs, noWaits, t.totalMs, rows[i].callMs, rows[i].presentMs);
    decode.push_back(t.decodeMs);
    render.push_back(t.renderMs);
    background.push_back(t.backgroundMs);
    frames.push_back(t.framesMs);
    waits.push_back(t.waitsMs);
    work.push_back(noWaits);
    total.push_back(t.totalMs);
    call.push_back(rows[i].callMs);
    present.push_back(rows[i].presentMs);
  }
  auto line = [](const char* name, const std::vector<double>& v) {
    std::printf("%-28s %8.1f %8.1f\n", name, Median(v), Min(v));
  };
  std::printf("\n%-28s %8s %8s\n", "phase", "median", "min");
  line("decode", decode);
  line("render", render);
  line("background", background);
  line("frames (without the waits)", frames);
  line("waits (4 x 50 ms)", waits);
  line("total, tick to last frame", total);
  line("timer message, outside", call);
  line("present (pump after step)", present);
  const double medianWork = Median(work);
  std::printf("%-28s %8.1f %8.1f   goal < %.0f ms: %s\n", "decode+render+bg+frames", medianWork, Min(work), kGoalMs,
              medianWork < kGoalMs ? "met" : "MISSED");
  std::printf("first picture (direct path): decode %.1f, background %.1f, picture %.1f, total %.1f\n",
              firstStep.decodeMs, firstStep.backgroundMs, firstStep.framesMs, firstStep.totalMs);

  const double dib = DibMiB(width, height, 24);
  const double workImages = 5 * DibMiB(rect.Width(), rect.Height(), 24);
  const double oldScreen = DibMiB(rect.Width(), rect.Height(), 24) - 40 / kMiB;
  const double frameBitmap = static_cast<double>(DibView::StrideFor(rect.Width(), displayBits)) * rect.Height() / kMiB;
  std::printf("\nMemory (MiB)\n");
  std::printf("  decoded image (packed DIB)                  %8.1f\n", dib);
  std::printf("  five work images                            %8.1f\n", workImages);
  std::printf("  old screen under the picture (blend only)   %8.1f\n", oldScreen);
  std::printf("  frame bitmap (%2d bits, kept)                %8.1f\n", displayBits, frameBitmap);
  std::printf("  accounted for                               %8.1f\n", dib + workImages + oldScreen + frameBitmap);
  std::printf("  loader alone: image held after the load     %8.1f\n", loaderHeld);
  std::printf("  loader alone: peak while decoding           %8.1f\n", loaderPeak);
  std::printf("  saver: working set before the first picture %8.1f\n", baseline.workingSet);
  std::printf("  saver: growth after the steps               %8.1f\n", steady.workingSet - baseline.workingSet);
  std::printf("  saver: peak growth over the steps           %8.1f\n", steady.peakWorkingSet - baseline.workingSet);
  std::printf("  saver: private bytes before / after         %8.1f / %.1f\n", baseline.privateBytes,
              steady.privateBytes);
  return 0;
}

}  // namespace
}  // namespace orvalen

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: saver_step_bench_win <first picture> <second picture> [steps]\n");
    return 2;
  }
  const int steps = argc > 3 ? std::max(1, std::atoi(argv[3])) : 10;
  return orvalen::Run(argv[1], argv[2], steps);
}
