#include "setup/setup_wizard_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "resources/setup_ids.h"
#include "setup/setup_texts.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/handles_win.h"
#include "winapp/process_win.h"

namespace orvalen::setup {
namespace {

constexpr UINT kRunRemoveMessage = WM_APP + 1;
constexpr UINT kQuestionType = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

// The pages in the page host's order.
enum PageIndex : size_t { kWelcomePage, kDirectoryPage, kCopyPage, kFinishedPage };

}  // namespace

// ---- Pages ----

bool TSetupPage::OnCommand(int id, int, HWND) {
  if (id == IDOK || id == IDCANCEL) return true;
  return OnPageCommand(id);
}

std::optional<INT_PTR> TSetupPage::HandleMessage(UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) return TRUE;
  return std::nullopt;
}

TSetupWelcom::TSetupWelcom(SetupState& state) : TSetupPage(IDD_SETUP_WELCOME, state) {}

bool TSetupWelcom::OnInit() {
  Item(IDC_WELCOME_DESKTOP).SetCheck(state_.desktopShortcut);
  Item(IDC_WELCOME_PROGRAM_MENU).SetCheck(state_.programMenuShortcut);
  return false;
}

void TSetupWelcom::ReadChoices() {
  state_.defaultSaver = Item(IDC_WELCOME_DEFAULT_SAVER).Checked();
  state_.programMenuShortcut = Item(IDC_WELCOME_PROGRAM_MENU).Checked();
  state_.desktopShortcut = Item(IDC_WELCOME_DESKTOP).Checked();
}

bool TSetupWelcom::OnPageCommand(int id) {
  if (id == IDC_WELCOME_SETTINGS) {
    StartSourceProgram("/c:" + std::to_string(reinterpret_cast<UINT_PTR>(Handle())));
    return true;
  }
  if (id == IDC_WELCOME_PREVIEW) {
    StartSourceProgram("/s");
    return true;
  }
  return false;
}

// Starts the configuration program of the source folder, before anything is
// installed.
void TSetupWelcom::StartSourceProgram(const std::string& arguments) {
  EnterSourceDirectory(state_);
  const std::string program = state_.sourceDir + kConfigurationProgram;
  StartDetached(program.c_str(), "\"" + program + "\" " + arguments);
}

TPage1::TPage1(SetupState& state) : TSetupPage(IDD_SETUP_DIRECTORY, state) {}

bool TPage1::OnPageCommand(int id) {
  if (id != IDC_DIRECTORY_BROWSE) return false;
  SetCurrentDirectoryA("C:\\");
  SetCurrentDirectoryA(kDefaultInstallDir);
  TDirDialog chooser(state_.installDir);
  if (chooser.RunModal(GetAncestor(Handle(), GA_ROOT)) == IDOK) {
    state_.installDir = WithBackslash(chooser.Path());
    Item(IDC_DIRECTORY_PATH).SetText(state_.installDir);
  }
  return true;
}

TSetupCopy::TSetupCopy(SetupState& state) : TSetupPage(IDD_SETUP_COPY, state) {}

void TSetupCopy::SetText(int controlId, const char* text) {
  Item(controlId).SetText(text);
  UpdateWindow(Handle());
}

void TSetupCopy::Redraw() {
  InvalidateRect(Handle(), nullptr, TRUE);
  UpdateWindow(Handle());
}

TSetupFinished::TSetupFinished(SetupState& state) : TSetupPage(IDD_SETUP_FINISHED, state) {}

void TSetupFinished::SetOutcomeText(const char* text) { Item(IDC_FINISHED_TEXT).SetText(text); }

bool TSetupFinished::LaunchControlPanel() const {
  return Item(IDC_FINISHED_CONTROL_PANEL).Checked();
}

// ---- Wizard frame ----

TSetup::TSetup(SetupState& state, TSetupWindow& mainWindow)
    : Dialog(IDD_SETUP_FRAME),
      state_(state),
      mainWindow_(mainWindow),
      welcome_(state),
      directory_(state),
      copy_(state),
      finished_(state) {}

bool TSetup::OnInit() {
  com_ = std::make_unique<ComScope>();
  // A child of the main window: the dialog keys reach it only this way.
  Application::RegisterModeless(Handle());
  if (state_.removeMode) {
    // The question comes once the small window is on the screen.
    Post(kRunRemoveMessage);
    return true;
  }
  pagesMade_ = pages_.Add(welcome_) && pages_.Add(directory_) && pages_.Add(copy_) &&
               pages_.Add(finished_);
  ShowPages();
  return true;
}

void TSetup::OnDestroy() { com_.reset(); }

void TSetup::ShowPages() {
  pages_.Show(state_.page == kPageOptions ? kWelcomePage : kDirectoryPage);
  Item(IDC_FRAME_BACK).Enable(state_.page > kPageOptions);
}

bool TSetup::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_FRAME_NEXT: Next(); return true;
    case IDC_FRAME_BACK: Back(); return true;
    case IDC_FRAME_EXIT: ExitOrDone(); return true;
    case IDOK:
    case IDCANCEL: return true;  // Enter and Escape do not end the wizard
    default: return false;
  }
}

std::optional<INT_PTR> TSetup::HandleMessage(UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_CLOSE: return TRUE;
    case kRunRemoveMessage: RunRemove(); return TRUE;
    default: return std::nullopt;
  }
}

void TSetup::Next() {
  if (!pagesMade_ || state_.page >= kPageCopying) return;
  ++state_.page;
  if (state_.page <= kPageDirectory) {
    ShowPages();
    return;
  }
  welcome_.ReadChoices();
  Item(IDC_FRAME_BACK).Show(false);
  Item(IDC_FRAME_NEXT).Show(false);
  Item(IDC_FRAME_EXIT).Enable(false);
  pages_.Show(kCopyPage);
  UpdateWindow(copy_.Handle());
  if (state_.installed) return;
  const InstallOutcome outcome = RunInstallation(state_, mainWindow_.Handle(), copy_);
  if (outcome == InstallOutcome::EndProgram) {
    state_.page = kPageAbandoned;
    mainWindow_.End();
    return;
  }
  if (outcome == InstallOutcome::FinishedAtRestart) finished_.SetOutcomeText(kFinishedAtRestart);
  if (outcome == InstallOutcome::Incomplete) finished_.SetOutcomeText(kNotComplete);
  state_.page = kPageFinished;
  copy_.Show(false);
  PauseKeepingPaint(500);
  pages_.Show(kFinishedPage);
  Item(IDC_FRAME_EXIT).Enable(true);
  Item(IDC_FRAME_EXIT).SetText(kDoneLabel);
  // The default button was hidden: Enter now means Done.
  Send(DM_SETDEFID, IDC_FRAME_EXIT);
}

void TSetup::Back() {
  if (state_.page > kPageOptions && state_.page <= kPageDirectory) {
    --state_.page;
    ShowPages();
  }
}

void TSetup::ExitOrDone() {
  if (state_.page != kPageFinished) {
    if (ShowMessage(mainWindow_.Handle(), kExitQuestion, kSetupCaption, kQuestionType) != IDYES)
      return;
    state_.page = kPageAbandoned;
    mainWindow_.End();
    return;
  }
  if (finished_.LaunchControlPanel()) {
    PauseKeepingPaint(300);
    ShellExecuteA(mainWindow_.Handle(), nullptr, "rundll32.exe", kControlPanelArguments, nullptr,
                  SW_SHOWNORMAL);
    PauseKeepingPaint(300);
  }
  mainWindow_.End();
}

void TSetup::RunRemove() {
  if (ShowMessage(mainWindow_.Handle(), kRemoveQuestion, kRemoveCaption, kQuestionType) == IDYES) {
    RunRemoval(state_);
  }
  mainWindow_.End();
}

// ---- Main window ----

TSetupWindow::TSetupWindow(SetupState& state) : state_(state), frame_(state, *this) {}

void TSetupWindow::GetClassAttributes(WNDCLASSEXA& attributes) const {
  attributes.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  attributes.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP_PROGRAM));
}

bool TSetupWindow::Create(int showCommand) {
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  if (!FrameWindow::Create(nullptr, kMainWindowTitle, style, 0, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                           100)) {
    return false;
  }
  if (showCommand != 0 && showCommand != SW_SHOWMINNOACTIVE) showCommand = SW_SHOWNORMAL;
  ShowWindow(Handle(), showCommand);
  UpdateWindow(Handle());
  return true;
}

void TSetupWindow::OnSetup() {
  HWND frame = frame_.CreateModeless(Handle());
  if (state_.removeMode) {
    SetWindowPos(Handle(), nullptr, 10, 10, 30, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  if (!frame) return;
  // The main window fits the wizard frame, centred on the screen.
  RECT frameRect{};
  GetWindowRect(frame, &frameRect);
  RECT outer{0, 0, frameRect.right - frameRect.left, frameRect.bottom - frameRect.top};
  AdjustWindowRectEx(&outer, GetWindowLongA(Handle(), GWL_STYLE), FALSE,
                     GetWindowLongA(Handle(), GWL_EXSTYLE));
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(Handle(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(frame, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(frame, SW_SHOW);
}

bool TSetupWindow::QueryClose() {
  if (state_.page >= kPageFinished) return true;
  if (ShowMessage(Handle(), kExitApplicationQuestion, kSetupCaption, kQuestionType) != IDYES)
    return false;
  state_.page = kPageAbandoned;
  return true;
}

bool TSetupWindow::FilterMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  // The uninstaller's window is smaller than a captioned window may be made
  // by default.
  if (message != WM_GETMINMAXINFO || !state_.removeMode) return false;
  auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
  limits->ptMinTrackSize = POINT{30, 30};
  result = 0;
  return true;
}

void TSetupWindow::End() {
  if (Handle()) DestroyWindow(Handle());
}

void TSetupWindow::OnDestroy() { PostQuitMessage(0); }

// ---- Application ----

TQRLSetupApp::TQRLSetupApp(int showCommand) : Application("Setup"), showCommand_(showCommand) {}

Window* TQRLSetupApp::InitMainWindow() {
  state_ = ReadStartupState();
  EnterSourceDirectory(state_);
  window_ = std::make_unique<TSetupWindow>(state_);
  if (!window_->Create(showCommand_)) return nullptr;
  return window_.get();
}

}  // namespace orvalen::setup
