#include "setup/setup_wizard_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "resources/setup_ids.h"
#include "setup/setup_texts.h"
#include "winapp/handles_win.h"

namespace orvalen::setup {
namespace {

constexpr UINT kRunRemoveMessage = WM_APP + 1;
constexpr UINT kQuestionType = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void ShowItem(HWND dialog, int id, bool visible) {
  ShowWindow(GetDlgItem(dialog, id), visible ? SW_SHOW : SW_HIDE);
}

// The rectangle of a dialog's control in the dialog's client coordinates.
RECT ControlRect(HWND dialog, int id) {
  RECT rect{};
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

// ---- Pages ----

void TSetupPage::OnCommand(int id, int notifyCode, HWND) {
  if (id == IDOK || id == IDCANCEL) return;
  OnPageCommand(id, notifyCode);
}

INT_PTR TSetupPage::HandleMessage(UINT message, WPARAM, LPARAM) {
  return message == WM_CLOSE ? TRUE : FALSE;
}

TSetupWelcom::TSetupWelcom(SetupState& state) : TSetupPage(IDD_SETUP_WELCOME, state) {}

BOOL TSetupWelcom::OnInit() {
  CheckDlgButton(Handle(), IDC_WELCOME_DESKTOP, state_.desktopShortcut ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(Handle(), IDC_WELCOME_PROGRAM_MENU,
                 state_.programMenuShortcut ? BST_CHECKED : BST_UNCHECKED);
  return FALSE;
}

void TSetupWelcom::ReadChoices() {
  state_.defaultSaver = IsChecked(Handle(), IDC_WELCOME_DEFAULT_SAVER);
  state_.programMenuShortcut = IsChecked(Handle(), IDC_WELCOME_PROGRAM_MENU);
  state_.desktopShortcut = IsChecked(Handle(), IDC_WELCOME_DESKTOP);
}

void TSetupWelcom::OnPageCommand(int id, int) {
  if (id == IDC_WELCOME_SETTINGS) {
    StartSourceProgram("/c:" + std::to_string(reinterpret_cast<UINT_PTR>(Handle())));
  } else if (id == IDC_WELCOME_PREVIEW) {
    StartSourceProgram("/s");
  }
}

// Starts the configuration program of the source folder, before anything is
// installed.
void TSetupWelcom::StartSourceProgram(const std::string& arguments) {
  EnterSourceDirectory(state_);
  const std::string program = state_.sourceDir + kConfigurationProgram;
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

TPage1::TPage1(SetupState& state) : TSetupPage(IDD_SETUP_DIRECTORY, state) {}

void TPage1::OnPageCommand(int id, int) {
  if (id != IDC_DIRECTORY_BROWSE) return;
  SetCurrentDirectoryA("C:\\");
  SetCurrentDirectoryA(kDefaultInstallDir);
  TDirDialog chooser(state_.installDir);
  if (chooser.RunModal(GetAncestor(Handle(), GA_ROOT)) != IDOK) return;
  state_.installDir = WithBackslash(chooser.Path());
  SetDlgItemTextA(Handle(), IDC_DIRECTORY_PATH, state_.installDir.c_str());
}

TSetupCopy::TSetupCopy(SetupState& state) : TSetupPage(IDD_SETUP_COPY, state) {}

void TSetupCopy::SetText(int controlId, const char* text) {
  SetDlgItemTextA(Handle(), controlId, text);
  UpdateWindow(Handle());
}

void TSetupCopy::Redraw() {
  InvalidateRect(Handle(), nullptr, TRUE);
  UpdateWindow(Handle());
}

TSetupFinished::TSetupFinished(SetupState& state) : TSetupPage(IDD_SETUP_FINISHED, state) {}

bool TSetupFinished::LaunchControlPanel() const {
  return IsChecked(Handle(), IDC_FINISHED_CONTROL_PANEL);
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

TSetup::~TSetup() = default;

BOOL TSetup::OnInit() {
  com_ = std::make_unique<ComScope>();
  if (state_.removeMode) {
    // The question comes once the small window is on the screen.
    PostMessageA(Handle(), kRunRemoveMessage, 0, 0);
    return TRUE;
  }
  CreatePages();
  ShowPages();
  return TRUE;
}

void TSetup::CreatePages() {
  const RECT place = ControlRect(Handle(), IDC_FRAME_PLACEHOLDER);
  for (Dialog* page : std::initializer_list<Dialog*>{&welcome_, &directory_, &copy_, &finished_}) {
    if (HWND window = page->CreateModeless(Handle())) {
      SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  pagesMade_ = true;
}

void TSetup::ShowPages() {
  ShowWindow(welcome_.Handle(), state_.page == kPageOptions ? SW_SHOW : SW_HIDE);
  ShowWindow(directory_.Handle(), state_.page == kPageDirectory ? SW_SHOW : SW_HIDE);
  EnableWindow(GetDlgItem(Handle(), IDC_FRAME_BACK), state_.page > kPageOptions);
}

void TSetup::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_FRAME_NEXT: Next(); break;
    case IDC_FRAME_BACK: Back(); break;
    case IDC_FRAME_EXIT: ExitOrDone(); break;
    default: break;  // OK and Cancel (Enter, Escape) do nothing here
  }
}

INT_PTR TSetup::HandleMessage(UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_CLOSE: return TRUE;
    case kRunRemoveMessage: RunRemove(); return TRUE;
    case WM_DESTROY: com_.reset(); return FALSE;
    default: return FALSE;
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
  ShowItem(Handle(), IDC_FRAME_BACK, false);
  ShowItem(Handle(), IDC_FRAME_NEXT, false);
  EnableWindow(GetDlgItem(Handle(), IDC_FRAME_EXIT), FALSE);
  ShowWindow(directory_.Handle(), SW_HIDE);
  ShowWindow(copy_.Handle(), SW_SHOW);
  UpdateWindow(copy_.Handle());
  if (state_.installed) return;
  if (RunInstallation(state_, mainWindow_.Handle(), copy_) == InstallOutcome::EndProgram) {
    state_.page = kPageAbandoned;
    mainWindow_.End();
    return;
  }
  state_.page = kPageFinished;
  ShowWindow(copy_.Handle(), SW_HIDE);
  Sleep(500);
  ShowWindow(finished_.Handle(), SW_SHOW);
  EnableWindow(GetDlgItem(Handle(), IDC_FRAME_EXIT), TRUE);
  SetDlgItemTextA(Handle(), IDC_FRAME_EXIT, kDoneLabel);
  // The default button was hidden: Enter now means Done.
  SendMessageA(Handle(), DM_SETDEFID, IDC_FRAME_EXIT, 0);
}

void TSetup::Back() {
  if (state_.page > kPageOptions && state_.page <= kPageDirectory) {
    --state_.page;
    ShowPages();
  }
}

void TSetup::ExitOrDone() {
  if (state_.page != kPageFinished) {
    if (MessageBoxA(mainWindow_.Handle(), kExitQuestion, kSetupCaption, kQuestionType) != IDYES) return;
    state_.page = kPageAbandoned;
    mainWindow_.End();
    return;
  }
  if (finished_.LaunchControlPanel()) {
    Sleep(300);
    ShellExecuteA(mainWindow_.Handle(), nullptr, "rundll32.exe", kControlPanelArguments, nullptr,
                  SW_SHOWNORMAL);
    Sleep(300);
  }
  mainWindow_.End();
}

void TSetup::RunRemove() {
  if (MessageBoxA(mainWindow_.Handle(), kRemoveQuestion, kRemoveCaption, kQuestionType) == IDYES) {
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
  if (!FrameWindow::Create(nullptr, kMainWindowTitle, style, 0, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100)) {
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
  AdjustWindowRectEx(&outer, GetWindowLongA(Handle(), GWL_STYLE), FALSE, GetWindowLongA(Handle(), GWL_EXSTYLE));
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
  if (MessageBoxA(Handle(), kExitApplicationQuestion, kSetupCaption, kQuestionType) != IDYES) return false;
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

int TQRLSetupApp::Run() {
  state_ = ReadStartupState();
  EnterSourceDirectory(state_);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  TSetupWindow window(state_);
  if (!window.Create(showCommand_)) return StartupFailure();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    HWND frame = window.FrameHandle();
    if (frame && IsDialogMessageA(frame, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace orvalen::setup
