#pragma once
// The work of Setup and Remove on the machine: files, profiles, registry,
// shortcuts and the self-deleting batch file.
#include <windows.h>

#include <string>

#include "setup/setup_plan.h"
#include "setup/setup_state.h"

namespace orvalen::setup {

// The state at start-up: the System and Windows directories, the program's
// path and folder, and remove mode from the program's name.
SetupState ReadStartupState();

// Makes the source folder (and its drive) current; relative names refer to it.
void EnterSourceDirectory(const SetupState& state);

// Makes the installation folder, with its parents where needed. Refuses a
// path without a drive letter and reports failures in message boxes owned by
// `owner`; true when the folder exists afterwards.
bool CreateInstallDirectory(HWND owner, const std::string& path);

// Saves one shell link; false when any step fails (nothing is reported).
bool MakeShortcut(const Shortcut& shortcut);

// Waits `milliseconds` while this thread's windows still paint; no input is
// taken meanwhile, so nothing else can happen during the pause.
void PauseKeepingPaint(DWORD milliseconds);

// Where the installation shows how far it got: the copy page.
class InstallProgress {
 public:
  virtual ~InstallProgress() = default;
  virtual void SetText(int controlId, const char* text) = 0;
  virtual void Redraw() = 0;
};

enum class InstallOutcome {
  Finished,
  // Files in use are replaced when Windows restarts.
  FinishedAtRestart,
  // Files in use could not be replaced at all.
  Incomplete,
  EndProgram,
};

// The installation, run once when the wizard reaches the copy page.
InstallOutcome RunInstallation(SetupState& state, HWND owner, InstallProgress& progress);

// The removal after the user agreed: registry, shortcuts, files, modules,
// the WININIT.INI entry and the self-deleting batch file. Ignores every
// failure.
void RunRemoval(const SetupState& state);

}  // namespace orvalen::setup
