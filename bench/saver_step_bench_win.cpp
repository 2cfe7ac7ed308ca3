// The slide-show step as the user sees it: one full-screen TSaver in this
// process shows two large pictures in turn with the blend and the accurate
// reduction. Each step is started the way the window timer starts it, and
// the saver's own step record tells where the time went: decode, render,
// background, frames and the 50 ms waits between the frames. Then the
// memory the pictures take: what the decoded image and the five work images
// account for beside what the process holds. Last, the reaction to input:
// twenty runs of the saver with its own message loop and the real clock, each
// ended by a 51-pixel move of the cursor at a random moment over three steps
// (one of them a picture of 8000 x 6000), timed until the window is gone.
//
//   saver_step_bench_win <first picture> <second picture> <large picture> ahead|alone [steps]
//
// "ahead" decodes the next picture on the worker thread while the saver
// waits between steps, and resamples it there to the picture area (the bench
// waits as long as the worker takes, as the delay would): its render is the
// old screen's read and the pixel pass. "alone" loads and resamples each
// picture in its step. Each mode runs in a
// process of its own, so that each has its own memory peak; the last line,
// "summary", is what bench/run-saver-step puts beside the goals.
//
// Run by bench/run-saver-step, on a Wine display of its own.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/dib_view.h"
#include "imaging/extended_dib_win.h"
#include "saver/process_state.h"
#include "saver/saver_window_win.h"
#include "winapp/performance_counter_win.h"

namespace orvalen {
namespace {

constexpr double kStepGoalMs = 60.0;      // tick to last frame without the waits, median
constexpr double kReactionGoalMs = 50.0;  // move to window gone, at every moment
constexpr double kMiB = 1024.0 * 1024.0;
constexpr int kReactionRuns = 20;
constexpr double kReactionSpanMs = 3500;  // the moments lie this long after the first picture

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

void WriteBenchProfile(const std::string& path, const std::vector<std::string>& files) {
  std::ofstream profile(path, std::ios::binary);
  profile << "[Settings]\r\nVALUE_DELAY=1\r\nOPTION_TRANSITION=1\r\nACCURATE_SIZE=1\r\n"
             "IMAGE_MAX_NUMBER=1000\r\nTotal="
          << files.size() << "\r\n[Files]\r\n";
  for (size_t i = 0; i < files.size(); ++i) profile << "i" << i << "=" << files[i] << "\r\n";
  profile << "i" << files.size() << "=<END>\r\n";
  profile.close();
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

void StartSaverState(const std::string& folder, const std::string& profilePath) {
  StartupState& startup = Startup();
  startup = StartupState{};
  startup.profileFound = true;
  startup.slideShow = true;  // closing never asks for a password
  startup.programDir = folder;
  startup.activeProfilePath = profilePath;
  Settings() = SaverSettings{};
  CurrentRunMode() = RunMode::Saver;
}

// Lets the worker end its decode, as the delay between two steps does.
double WaitForWorker(const TSaver& saver) {
  const double start = PerformanceCounterMs();
  while (saver.Ahead().WorkerRunning()) {
    PumpMessages();
    Sleep(2);
  }
  return PerformanceCounterMs() - start;
}

struct Summary {
  double stepMedian = 0;     // tick to last frame, less the waits
  double reactionMax = 0;
  double reactionMedian = 0;
  double peakGrowth = 0;     // MiB
  double decodedPicture = 0; // MiB, one 4000 x 3000 picture
  double firstPictureMs = 0; // from the first paint to the first picture on the screen
  double firstDecodeMs = 0;  // that picture's decode alone
};

int RunSteps(const std::string& first, const std::string& second, bool ahead, int steps, Summary& summary) {
  // The loader alone first, while the peak is still the start-up's: how much
  // it holds beside its image while it decodes.
  const Memory start = ReadMemory();
  int32_t width = 0, height = 0;
  Memory loaded;
  double firstDecodeMs = 0;  // the first picture's decode, on this thread
  {
    const double decodeStart = PerformanceCounterMs();
    TExtendedDib probe(first.c_str());
    firstDecodeMs = PerformanceCounterMs() - decodeStart;
    width = probe.Width();
    height = probe.Height();
    loaded = ReadMemory();
  }
  const double loaderPeak = loaded.peakWorkingSet - start.workingSet;
  const double loaderHeld = loaded.workingSet - start.workingSet;

  const std::string folder = TempFolder();
  const std::string profilePath = folder + "orvalen_step_bench.orv";
  WriteBenchProfile(profilePath, {first, second});
  StartSaverState(folder, profilePath);

  SteppedClock clock;
  auto saver = std::make_unique<TSaver>(&clock);
  saver->SetDecodeAhead(ahead);
  if (!saver->CreateSaverWindow(nullptr)) {
    std::fprintf(stderr, "saver_step_bench: the saver window was not created\n");
    return 1;
  }
  const Memory baseline = ReadMemory();
  // The first paint shows the first picture directly, as in every run; with
  // the decode ahead, when the worker says its decode has ended. Timed from
  // the first paint to the picture on the screen, through the message loop
  // as the program runs it (the window's 500 ms timer included).
  const double paintMs = PerformanceCounterMs();
  UpdateWindow(saver->Handle());
  while (saver->CurrentFileName() != first && PerformanceCounterMs() - paintMs < 60000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  const double firstPictureMs = PerformanceCounterMs() - paintMs;
  const TSaver::StepTimes firstStep = saver->LastStepTimes();
  if (saver->CurrentFileName() != first) {
    std::fprintf(stderr, "saver_step_bench: the first picture was not shown (%s)\n", saver->CurrentFileName().c_str());
    return 1;
  }

  struct Row {
    TSaver::StepTimes times;
    double callMs;     // the timer message, measured from outside
    double presentMs;  // the message pump after the step
    double aheadMs;    // the wait before the step for the worker's decode
  };
  const int takenBeforeSteps = saver->PicturesTakenAhead();
  std::vector<Row> rows;
  for (int i = 0; i < steps; ++i) {
    const double aheadMs = WaitForWorker(*saver);
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
    rows.push_back(Row{saver->LastStepTimes(), called - start, presented - called, aheadMs});
  }
  const int takenAhead = saver->PicturesTakenAhead() - takenBeforeSteps;
  WaitForWorker(*saver);
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

  std::printf("Step of the slide show, next picture %s: %d x %d JPEG on a %d x %d screen,\n",
              ahead ? "decoded ahead on the worker" : "loaded in the step", width, height, screen.Width(),
              screen.Height());
  std::printf("picture area %d x %d, blend and accurate reduction on; %d steps alternating two pictures (ms)\n\n",
              rect.Width(), rect.Height(), steps);
  std::printf("%4s %8s %8s %10s %8s %8s %10s %8s %8s %8s %8s\n", "step", "decode", "render", "background", "frames",
              "waits", "no waits", "total", "timer", "present", "ahead");
  std::vector<double> decode, render, background, frames, waits, work, total, tickToFrame, call, present, waited;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TSaver::StepTimes& t = rows[i].times;
    const double noWaits = t.decodeMs + t.renderMs + t.backgroundMs + t.framesMs;
    std::printf("%4zu %8.1f %8.1f %10.1f %8.1f %8.1f %10.1f %8.1f %8.1f %8.1f %8.1f\n", i + 1, t.decodeMs, t.renderMs,
                t.backgroundMs, t.framesMs, t.waitsMs, noWaits, t.totalMs, rows[i].callMs, rows[i].presentMs,
                rows[i].aheadMs);
    decode.push_back(t.decodeMs);
    render.push_back(t.renderMs);
    background.push_back(t.backgroundMs);
    frames.push_back(t.framesMs);
    waits.push_back(t.waitsMs);
    work.push_back(noWaits);
    total.push_back(t.totalMs);
    tickToFrame.push_back(t.totalMs - t.waitsMs);
    call.push_back(rows[i].callMs);
    present.push_back(rows[i].presentMs);
    waited.push_back(rows[i].aheadMs);
  }
  auto line = [](const char* name, const std::vector<double>& v) {
    std::printf("%-32s %8.1f %8.1f\n", name, Median(v), Min(v));
  };
  std::printf("\n%-32s %8s %8s\n", "phase", "median", "min");
  line("decode (or taking the block)", decode);
  line("render", render);
  line("background", background);
  line("frames (without the waits)", frames);
  line("waits (4 x 50 ms)", waits);
  line("total, tick to last frame", total);
  line("timer message, outside", call);
  line("present (pump after step)", present);
  line("decode+render+bg+frames", work);
  line("worker's decode left at the step", waited);
  summary.stepMedian = Median(tickToFrame);
  std::printf("%-32s %8.1f %8.1f   goal <= %.0f ms: %s\n", "tick to last frame, no waits", summary.stepMedian,
              Min(tickToFrame), kStepGoalMs, summary.stepMedian <= kStepGoalMs ? "met" : "MISSED");
  std::printf("pictures taken from the decode ahead: %d of %d steps\n", takenAhead, steps);
  std::printf("first picture (direct path): decode %.1f, background %.1f, picture %.1f, total %.1f\n",
              firstStep.decodeMs, firstStep.backgroundMs, firstStep.framesMs, firstStep.totalMs);
  std::printf("first picture on screen %.1f ms after the first paint; its decode alone %.1f ms "
              "(goal <= decode + 50 ms: %s)\n",
              firstPictureMs, firstDecodeMs, firstPictureMs <= firstDecodeMs + 50 ? "met" : "missed");
  summary.firstPictureMs = firstPictureMs;
  summary.firstDecodeMs = firstDecodeMs;

  const double dib = DibMiB(width, height, 24);
  const double workImages = 5 * DibMiB(rect.Width(), rect.Height(), 24);
  const double oldScreen = DibMiB(rect.Width(), rect.Height(), 24) - 40 / kMiB;
  const double frameBitmap = static_cast<double>(DibView::StrideFor(rect.Width(), displayBits)) * rect.Height() / kMiB;
  summary.peakGrowth = steady.peakWorkingSet - baseline.workingSet;
  summary.decodedPicture = dib;
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
  std::printf("  saver: peak growth over the steps           %8.1f\n", summary.peakGrowth);
  std::printf("  saver: private bytes before / after         %8.1f / %.1f\n", baseline.privateBytes,
              steady.privateBytes);
  return 0;
}

// When the saver's window has been destroyed: the return of its last message.
HWND watchedWindow = nullptr;
double windowGoneMs = 0;

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && message->hwnd == watchedWindow && message->message == WM_NCDESTROY) {
    windowGoneMs = PerformanceCounterMs();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct HookTraits {
  using Handle = HHOOK;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle hook) { UnhookWindowsHookEx(hook); }
};
using Hook = UniqueHandle<HookTraits>;

// Moves the cursor 51 pixels away from where the saver took it at set-up
// when the moment comes.
struct Mover {
  double atMs = 0;  // performance counter
  POINT from{};
  std::atomic<double> movedMs{0};
};

DWORD WINAPI MoveAtMoment(void* context) {
  auto* mover = static_cast<Mover*>(context);
  const double wait = mover->atMs - PerformanceCounterMs();
  if (wait > 2) Sleep(static_cast<DWORD>(wait - 2));
  while (PerformanceCounterMs() < mover->atMs) {
  }
  const int dx = mover->from.x + 51 < GetSystemMetrics(SM_CXSCREEN) ? 51 : -51;
  mover->movedMs = PerformanceCounterMs();
  SetCursorPos(mover->from.x + dx, mover->from.y);
  return 0;
}

int RunReactions(const std::string& first, const std::string& large, const std::string& second, bool ahead,
                 Summary& summary) {
  // How long the large picture takes the decoder by itself: in "ahead" the
  // worker starts on it as the first picture is shown, so the moments up to
  // this long after that fall into its decode.
  double largeDecodeMs = 0;
  {
    const double start = PerformanceCounterMs();
    GlobalBlock block = DecodeGraphicFile(large.c_str());
    largeDecodeMs = PerformanceCounterMs() - start;
  }
  const std::string folder = TempFolder();
  const std::string profilePath = folder + "orvalen_reaction_bench.orv";
  std::mt19937 random(16);
  std::uniform_real_distribution<double> within(0.0, 1.0);
  struct Trial {
    double momentMs, reactionMs, loopEndMs, freedMs;
    bool duringLargeDecode;
  };
  std::vector<Trial> trials;
  Hook hook(SetWindowsHookExA(WH_CALLWNDPROCRET, &AfterMessage, nullptr, GetCurrentThreadId()));
  if (!hook) return 1;
  for (int run = 0; run < kReactionRuns; ++run) {
    // One moment in each twentieth of the span, so that the moments cover it.
    const double moment = kReactionSpanMs * (run + within(random)) / kReactionRuns;
    WriteBenchProfile(profilePath, {first, large, second});
    StartSaverState(folder, profilePath);
    SteppedClock clock;  // the real clock: the window timer runs the steps
    auto saver = std::make_unique<TSaver>(&clock);
    saver->SetDecodeAhead(ahead);
    if (!saver->CreateSaverWindow(nullptr)) return 1;
    watchedWindow = saver->Handle();
    windowGoneMs = 0;
    UpdateWindow(saver->Handle());
    // The moments count from the first picture on screen: with the decode
    // ahead it comes at the first tick after its decode.
    while (saver->CurrentFileName() != first) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      PumpMessages();
    }
    const double shownMs = PerformanceCounterMs();
    Mover mover;
    mover.atMs = shownMs + moment;
    GetCursorPos(&mover.from);
    KernelHandle thread(CreateThread(nullptr, 0, &MoveAtMoment, &mover, 0, nullptr));
    if (!thread) return 1;
    double largeStartMs = ahead ? shownMs : -1;
    double largeEndMs = ahead ? shownMs + largeDecodeMs : -1;
    // The saver's own loop: the timer runs the steps, the move ends it. The
    // step that loads the large picture by itself is timed from outside.
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
      const bool loadedBefore = saver->CurrentFileName() == large;
      const double dispatchedMs = PerformanceCounterMs();
      DispatchMessageA(&message);
      if (!ahead && !loadedBefore && saver->CurrentFileName() == large) {
        largeStartMs = dispatchedMs;
        largeEndMs = dispatchedMs + saver->LastStepTimes().decodeMs;
      }
    }
    const double loopEndedMs = PerformanceCounterMs();
    // A worker still decoding when the saver goes is waited for by the bench
    // only after the time is taken, so that the next run starts alone.
    KernelHandle worker(ahead ? OpenThread(SYNCHRONIZE, FALSE, saver->Ahead().WorkerId()) : nullptr);
    saver.reset();
    const double freedMs = PerformanceCounterMs();
    WaitForSingleObject(thread.Get(), INFINITE);
    if (worker) WaitForSingleObject(worker.Get(), INFINITE);
    PumpMessages();
    const double moved = mover.movedMs;
    trials.push_back(Trial{moved - shownMs, windowGoneMs - moved, loopEndedMs - moved, freedMs - moved,
                           moved >= largeStartMs && moved < largeEndMs});
    Sleep(100);
  }
  std::remove(profilePath.c_str());

  std::printf("\nReaction to input, next picture %s: a 51-pixel move at %d moments within %.0f ms of the\n"
              "first picture (a step a second: 4000 x 3000, then 8000 x 6000, then 4000 x 3000); from the move to the\n"
              "end of the message loop, to the window destroyed (the reaction) and to the saver freed (ms); the\n"
              "large picture alone takes the decoder %.0f ms\n\n",
              ahead ? "decoded ahead on the worker" : "loaded in the step", kReactionRuns, kReactionSpanMs,
              largeDecodeMs);
  std::printf("%4s %10s %10s %12s %10s\n", "run", "moment", "loop end", "window gone", "all freed");
  std::vector<double> reactions;
  int during = 0;
  for (size_t i = 0; i < trials.size(); ++i) {
    std::printf("%4zu %10.0f %10.1f %12.1f %10.1f%s\n", i + 1, trials[i].momentMs, trials[i].loopEndMs,
                trials[i].reactionMs, trials[i].freedMs,
                trials[i].duringLargeDecode ? "  during the decode of the 8000 x 6000 picture" : "");
    reactions.push_back(trials[i].reactionMs);
    during += trials[i].duringLargeDecode;
  }
  summary.reactionMax = *std::max_element(reactions.begin(), reactions.end());
  summary.reactionMedian = Median(reactions);
  std::printf("reaction: median %.1f, maximum %.1f ms (goal <= %.0f ms at every moment: %s); %d moments during\n"
              "the decode of the large picture\n",
              summary.reactionMedian, summary.reactionMax, kReactionGoalMs,
              summary.reactionMax <= kReactionGoalMs ? "met" : "MISSED", during);
  return 0;
}

}  // namespace
}  // namespace orvalen

int main(int argc, char** argv) {
  if (argc < 5 || (std::strcmp(argv[4], "ahead") != 0 && std::strcmp(argv[4], "alone") != 0)) {
    std::fprintf(stderr, "usage: saver_step_bench_win <first> <second> <large> ahead|alone [steps]\n");
    return 2;
  }
  const bool ahead = std::strcmp(argv[4], "ahead") == 0;
  const int steps = argc > 5 ? std::max(1, std::atoi(argv[5])) : 10;
  orvalen::Summary summary;
  if (int failed = orvalen::RunSteps(argv[1], argv[2], ahead, steps, summary)) return failed;
  if (int failed = orvalen::RunReactions(argv[1], argv[3], argv[2], ahead, summary)) return failed;
  std::printf("\nsummary %s step %.1f reaction-max %.1f reaction-median %.1f peak-growth %.1f picture %.1f "
              "first-picture %.1f first-decode %.1f\n",
              argv[4], summary.stepMedian, summary.reactionMax, summary.reactionMedian, summary.peakGrowth,
              summary.decodedPicture, summary.firstPictureMs, summary.firstDecodeMs);
  return 0;
}
