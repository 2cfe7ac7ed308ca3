#include "saver/saver_window_win.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/scoped_flag.h"
#include "saver/password_win.h"
#include "saver/process_state.h"
#include "saver/saver_fonts_win.h"
#include "saver/settings.h"
#include "saver/startup_win.h"
#include "saver/system_clock.h"
#include "winapp/performance_counter_win.h"
#include "winapp/private_profile.h"

namespace orvalen {
namespace {

// A slide-show step is running; a timer tick delivered meanwhile through a
// nested message loop must not start another one.
bool stepBusy = false;

constexpr int32_t kMoveThreshold = 50;
constexpr uint32_t kPasswordGraceMs = 1000;
// The cursor display count once the program start and the window set-up
// have each lowered it by one.
constexpr int kLowestCursorCount = -2;

void LowerCursorCount(int times) {
  for (int i = 0; i < times; ++i) ShowCursor(FALSE);
}

void RaiseCursorCount(int times) {
  for (int i = 0; i < times; ++i) ShowCursor(TRUE);
}

}  // namespace

TSaver::TSaver(Clock* clock) : clock_(clock) {
  if (!clock_) {
    ownClock_ = std::make_unique<SystemClock>();
    clock_ = ownClock_.get();
  }
}

bool TSaver::CreateSaverWindow(HWND previewParent) {
  previewParent_ = previewParent;
  if (CurrentRunMode() == RunMode::Preview) {
    RECT client{};
    GetClientRect(previewParent, &client);
    return Create(previewParent, kTitle, WS_CHILD | WS_VISIBLE, 0, 0, 0, client.right, client.bottom);
  }
  return Create(nullptr, kTitle, WS_POPUP | WS_VISIBLE, 0, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
}

void TSaver::GetClassAttributes(WNDCLASSEXA& attributes) const {
  attributes.hIcon = nullptr;
  attributes.hIconSm = nullptr;
  attributes.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void TSaver::OnSetup() {
  StartupState& startup = Startup();
  SaverSettings& settings = Settings();
  const bool preview = CurrentRunMode() == RunMode::Preview;

  EnterProgramDir(startup);
  PrivateProfile profile(startup.activeProfilePath);
  ReadSettings(profile, settings);
  {
    WindowDC screen(nullptr);
    trueColor_ = GetDeviceCaps(screen, NUMCOLORS) == -1;
  }
  sequence_.Reset(profile.GetInt(profile_keys::kSettings, profile_keys::kTotal, 0),
                  profile.GetInt(profile_keys::kSettings, profile_keys::kLastImage, 0),
                  settings.startFromLastImage);
  currentFileName_ = "No image files found";
  PrepareAdjustments();
  LoadTile();
  SetTimer(Handle(), kTimerId, kTimerPeriod, nullptr);
  startTick_ = clock_->Ticks();
  lastStepTick_ = 0;
  inCloseQuery_ = false;
  quitPosted_ = false;

  screenRect_ = Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (preview) {
    RECT client{};
    GetClientRect(previewParent_, &client);
    screenRect_ = Rect{0, 0, client.right - client.left, client.bottom - client.top};
    settings.drawCalendar = false;
    settings.transition = 0;
    settings.accurateSize = false;
  }

  showAtOnce_ = true;
  dayText_.reserve(30100);
  appointmentText_.reserve(30100);
  BuildCalendarIndex();
  dayShift_ = 0;

  if (preview) {
    SetWindowPos(Handle(), nullptr, 0, 0, screenRect_.Width(), screenRect_.Height(),
                 SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(Handle(), HWND_TOPMOST, screenRect_.left, screenRect_.top, screenRect_.Width(),
                 screenRect_.Height(), SWP_SHOWWINDOW);
    covers_ = CoverSecondaryMonitors(Handle());
  }

  GetCursorPos(&cursorHome_);
  if (!preview) {
    SetCursor(nullptr);
    LowerCursorCount(1);
    SetCursorPos(0, 0);
    SetCursorPos(cursorHome_.x, cursorHome_.y);
    SetCursor(nullptr);
    GetCursorPos(&cursorHome_);
  }
  // The first picture too is decoded on the worker: the first paint's step
  // then waits for it in the message loop, where input is seen, and runs
  // the moment the worker says the decode has ended.
  decodeAhead_.NotifyWhenEnded(Handle(), kDecodeEndedMessage);
  DecodeNextAhead();
}

TSaver::~TSaver() {
  // The window goes first, so that the screen is given back the moment the
  // loop ends; writing the profile and freeing the pictures come after it.
  const bool created = Handle() != nullptr;
  covers_.clear();
  DestroyUnhooked();
  const StartupState& startup = Startup();
  if (startup.profileFound && created) {
    PrivateProfile profile(startup.activeProfilePath);
    WriteLastImage(profile, sequence_.NextIndex());
  }
  dayText_.clear();
  appointmentText_.clear();
  calendar_.Close();
  for (auto& work : workImages_) work.reset();
  if (!Settings().allowCtrlAltDel) SetScreenSaverRunning(false);
  // Destroying the window has killed its timer.
  palette_.Reset();
  image_.reset();
  tile_.reset();
}

void TSaver::OnPaint(HDC dc, const PAINTSTRUCT&) {
  SelectObject(dc, GetStockObject(BLACK_BRUSH));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  PatBlt(dc, screenRect_.left, screenRect_.top, screenRect_.Width(), screenRect_.Height(), BLACKNESS);
  Step();
}

void TSaver::OnTimer(UINT_PTR timerId) {
  if (timerId != kTimerId) return;
  if (Startup().slideShow && paused_) return;
  if (!Startup().profileFound) return;
  if (!stepBusy) {
    // Cleared also when the step throws, so that one failed step does not
    // turn every later tick into the error screen.
    ScopedFlag busy(stepBusy);
    Step();
    return;
  }
  ShowErrorScreen();
}

void TSaver::ShowErrorScreen() {
  WindowDC dc(Handle());
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, OPAQUE);
  const char* lines[] = {
      "ERROR !!!",
      "Please re-configure or remove Orvalen from c:\\Windows\\System or C:\\Windows",
      "Exit in progress",
  };
  for (int i = 0; i < 3; ++i) TextOutA(dc, 5, 5 + 20 * i, lines[i], static_cast<int>(std::strlen(lines[i])));
  Sleep(7000);
  EndMessageLoop();
}

void TSaver::OnDecodeEnded() {
  // Only a step that waits for this decode runs now, and never inside a step.
  if (stepDue_ && !stepBusy) OnTimer(kTimerId);
}

bool TSaver::FilterMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == kDecodeEndedMessage) {
    OnDecodeEnded();
    result = 0;
    return true;
  }
  if (CurrentRunMode() != RunMode::Saver || inCloseQuery_) return false;
  result = 0;
  switch (message) {
    case WM_DESTROY: EndMessageLoop(); return true;
    case WM_NCACTIVATE: return true;
    case WM_SYSCOMMAND: return true;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
      if (wParam == 0) RequestClose();
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: RequestClose(); return true;
    case WM_MOUSEMOVE: CursorMoved(); return true;
    default: return false;
  }
}

void TSaver::OnDestroy() {
  // The saver window is the program's main window: its end ends the loop.
  EndMessageLoop();
}

void TSaver::RequestClose() {
  // Once the loop is ending there is nothing left to ask about.
  if (quitPosted_) return;
  if (QueryClose()) EndMessageLoop();
}

void TSaver::EndMessageLoop() {
  if (quitPosted_) return;
  quitPosted_ = true;
  PostQuitMessage(0);
}

bool TSaver::QueryClose() {
  if (CurrentRunMode() != RunMode::Saver || Startup().slideShow) return true;
  inCloseQuery_ = true;
  bool granted = true;
  if (clock_->Ticks() - startTick_ <= kPasswordGraceMs) {
    SetCursor(nullptr);
    LowerCursorCount(10);
  } else {
    SetClassLongPtrA(Handle(), GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    RaiseCursorCount(10);
    const bool blockCtrlAltDel = !Settings().allowCtrlAltDel;
    if (blockCtrlAltDel) SetScreenSaverRunning(true);
    granted = VerifyPassword(Handle());
    if (blockCtrlAltDel) SetScreenSaverRunning(false);
    GetCursorPos(&cursorHome_);
    if (granted) {
      RaiseCursorCount(10);
    } else {
      SetClassLongPtrA(Handle(), GCLP_HCURSOR, 0);
      SetCursor(nullptr);
      LowerCursorCount(10);
    }
  }
  if (granted) CurrentRunMode() = RunMode::Closing;
  inCloseQuery_ = false;
  return granted;
}

bool TSaver::CursorMoved() {
  if (CurrentRunMode() == RunMode::Preview) return false;
  POINT now{};
  GetCursorPos(&now);
  if (std::abs(now.x - cursorHome_.x) > kMoveThreshold || std::abs(now.y - cursorHome_.y) > kMoveThreshold) {
    RequestClose();
    return true;
  }
  return false;
}

bool TSaver::WaitChecked(uint32_t milliseconds) {
  const uint32_t start = clock_->Ticks();
  while (clock_->Ticks() - start < milliseconds) {
    if (CursorMoved()) return false;
    Sleep(0);
  }
  return true;
}

void TSaver::OnKeyDown(UINT virtualKey) {
  if (!Startup().slideShow) {
    RequestClose();
    return;
  }
  const char* label = nullptr;
  switch (virtualKey) {
    case VK_HOME:
      label = "First    ";
      sequence_.First();
      paused_ = false;
      break;
    case VK_END:
      label = "Last     ";
      sequence_.Last();
      paused_ = false;
      break;
    case VK_RIGHT:
      label = paused_ ? "Continue " : "Next        ";
      paused_ = false;
      break;
    case VK_LEFT:
      label = "Previous ";
      sequence_.Previous();
      dayShift_ = dayShift_ >= 2 ? dayShift_ - 2 : 0;
      paused_ = false;
      break;
    case VK_SPACE:
      paused_ = !paused_;
      label = paused_ ? "Pause       " : "Continue ";
      break;
    default:
      RequestClose();
      return;
  }
  DrawKeyLabel(label);
  if (!paused_) {
    // The elapsed time then wraps around: the delay counts as over.
    lastStepTick_ = clock_->Ticks() + 1;
    stepByKey_ = true;
    Step();
    stepByKey_ = false;
  }
}

void TSaver::DrawKeyLabel(const char* label) {
  WindowDC dc(Handle());
  Font font = PanelFont();
  SelectionScope selectFont(dc, font.Get());
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, OPAQUE);
  TextOutA(dc, 5, 5, label, static_cast<int>(std::strlen(label)));
}

void TSaver::Step() {
  stepStartMs_ = PerformanceCounterMs();
  const bool preview = CurrentRunMode() == RunMode::Preview;
  if (preview && !trueColor_ && !showAtOnce_) {
    WaitChecked(1);
    return;
  }
  const uint32_t now = clock_->Ticks();
  if (!stepDue_ && now - lastStepTick_ < static_cast<uint32_t>(Settings().delaySeconds) * 1000u) {
    // A decode that could not start when the last picture was shown (the
    // worker of a dropped one was still running) starts on a later tick.
    DecodeNextAhead();
    return;
  }
  // The worker is still decoding the picture this step would show (a picture
  // that takes longer than the delay): the step runs at a later tick instead
  // of decoding it a second time here, deaf to input meanwhile.
  if (StepWaitsForDecode(now)) return;
  lastStepTick_ = now;
  if (CurrentRunMode() == RunMode::Closing || inCloseQuery_) return;
  if (!preview) {
    // Hide the cursor again should anything have shown it, but never sink
    // the count below what start-up leaves: after hours of pictures the
    // ten-fold raise before the password question must still show it.
    if (ShowCursor(FALSE) < kLowestCursorCount) ShowCursor(TRUE);
    SetCursor(nullptr);
  }
  const int32_t index = sequence_.Advance(Settings().maxImages);
  std::string fileName;
  {
    PrivateProfile profile(Startup().activeProfilePath);
    fileName = profile.GetString(profile_keys::kFiles, ImageKey(index).c_str(), profile_keys::kNoEntry, 259);
    profile.Flush();
  }
  // The decode made ahead serves only this index with this name; any other
  // (a key moved elsewhere, the profile changed) is dropped here.
  AheadPicture decoded = decodeAhead_.Take(index, fileName);
  if (!sequence_.IsUsable(index) || fileName == profile_keys::kNoEntry) {
    DecodeNextAhead();
    return;
  }
  const bool loaded = LoadImage(fileName, std::move(decoded));
  sequence_.SetUsable(index, loaded);
  if (!loaded) {
    DecodeNextAhead();
    return;
  }
  ShowCurrentImage();
  lastStepTick_ = clock_->Ticks();
  DecodeNextAhead();
  WaitChecked(1);
}

bool TSaver::StepWaitsForDecode(uint32_t now) {
  // A key asks for its picture now: its step takes the decode when it has
  // ended and otherwise loads the picture itself, as without the worker.
  const bool pending = decodeAheadOn_ && !stepByKey_ &&
                       decodeAhead_.Holds(sequence_.PeekNext(Settings().maxImages)) && !decodeAhead_.Ended();
  if (pending && !stepDue_) dueSinceTick_ = now;
  // A decode that never ends holds up no more than one long wait.
  stepDue_ = pending && now - dueSinceTick_ < kLongestDecodeWaitMs;
  return stepDue_;
}

void TSaver::SetDecodeAhead(bool on) {
  decodeAheadOn_ = on;
  if (!on) decodeAhead_.Drop();
}

}  // namespace orvalen
