#include "saver/screen_app_win.h"

#include <windows.h>

#include <cstdio>

#include "saver/command_line.h"
#include "saver/password_win.h"
#include "saver/process_state.h"
#include "saver/saver_window_win.h"
#include "saver/startup_win.h"
#include "winapp/process_win.h"

namespace orvalen {
namespace {

HWND ToWindow(WindowId id) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(id)); }

constexpr const char* kMissingProgramMessage =
    "Orvalen.scr can not find\nOrvalen.exe\n\nPlease find Orvalen.exe and run it.\n\n"
    "Or uninstall this program.\nUninstall will delete\nOrvalen.scr and Orvalenx.dll in\n"
    "c:\\windows\\system or c:\\windows\ndirectory.";

}  // namespace

TScreenApp::TScreenApp(ProgramKind kind, ConfigureDialogRunner runConfigureDialog)
    : Application("Orvalen"), kind_(kind), runConfigureDialog_(runConfigureDialog) {}

TScreenApp::~TScreenApp() {
  saver_.reset();
}

int TScreenApp::Run() {
  StartupState& startup = Startup();
  LocateProfile(kind_, startup);
  switch (CurrentRunMode()) {
    case RunMode::Configure:
      if (runConfigureDialog_) {
        runConfigureDialog_(ToWindow(startup.configParent), startup.configParent != 0);
      } else {
        StartConfigurationProgram();
      }
      return 0;
    case RunMode::ChangePassword:
      ChangePassword(ToWindow(startup.passwordParent));
      return 0;
    case RunMode::Saver:
    case RunMode::Preview:
      return Application::Run();
    default:
      return 0;
  }
}

Window* TScreenApp::InitMainWindow() {
  const StartupState& startup = Startup();
  if (CurrentRunMode() == RunMode::Preview) {
    if (startup.previewParent == 0) return nullptr;
    previewParent_ = WindowView(ToWindow(startup.previewParent));
    saver_ = std::make_unique<TSaver>();
    if (!saver_->CreateSaverWindow(previewParent_.Handle())) return nullptr;
    return saver_.get();
  }
  SetCursor(nullptr);
  ShowCursor(FALSE);
  saver_ = std::make_unique<TSaver>();
  if (!saver_->CreateSaverWindow(nullptr)) return nullptr;
  return saver_.get();
}

void TScreenApp::StartConfigurationProgram() {
  const StartupState& startup = Startup();
  const std::string program = startup.programDir + "Orvalen.exe";
  if (!CanOpenForReading(program)) {
    MessageBoxA(ToWindow(startup.configParent), kMissingProgramMessage, "Setup", MB_OK);
    return;
  }
  char applicationName[MAX_PATH + 16];
  std::snprintf(applicationName, sizeof applicationName, "%sOrvalen.exe", startup.programDir.c_str());
  StartDetached(applicationName, "\"" + program + "\" /c");
}

int RunScreenSaverProgram(ProgramKind kind, const char* commandLine,
                          ConfigureDialogRunner runConfigureDialog) {
  const CommandLine parsed = ParseCommandLine(commandLine);
  CurrentRunMode() = parsed.mode;
  ApplyCommandLine(parsed, Startup());
  TScreenApp app(kind, runConfigureDialog);
  return app.Run();
}

}  // namespace orvalen
