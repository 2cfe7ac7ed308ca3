#pragma once
// The application object of Orvalen.exe and Orvalen.scr.
#include <windows.h>

#include <memory>

#include "saver/run_mode.h"
#include "winapp/application_win.h"

namespace orvalen {

class TSaver;

// Shows the configuration dialog modally (Orvalen.exe only).
using ConfigureDialogRunner = void (*)(HWND owner, bool owned);

class TScreenApp : public Application {
 public:
  // Orvalen.scr passes no dialog runner: its configure mode starts Orvalen.exe.
  TScreenApp(ProgramKind kind, ConfigureDialogRunner runConfigureDialog);
  ~TScreenApp() override;

  // Locates the profile, then runs the mode; returns the exit code.
  int Run() override;

 protected:
  Window* InitMainWindow() override;

 private:
  void StartConfigurationProgram();

  ProgramKind kind_;
  ConfigureDialogRunner runConfigureDialog_;
  WindowView previewParent_;
  std::unique_ptr<TSaver> saver_;
};

// The whole program: reads the command line and runs TScreenApp.
int RunScreenSaverProgram(ProgramKind kind, const char* commandLine,
                          ConfigureDialogRunner runConfigureDialog);

}  // namespace orvalen
