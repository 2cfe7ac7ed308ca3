#pragma once
// Locating the installation and the active settings profile at start-up.
#include <windows.h>

#include "saver/command_line.h"
#include "saver/run_mode.h"

namespace orvalen {

// Fills `state` the way the program kind does it: Orvalen.exe from its own
// folder (creating the default profile and publishing the folder in win.ini),
// Orvalen.scr through win.ini.
void LocateProfile(ProgramKind kind, StartupState& state);

// Makes programDir the current drive and folder when profileFound is set.
void EnterProgramDir(const StartupState& state);

// Copies the switches of the command line into the start-up record, taking the
// foreground window for a bare /c and asking the preview host for "scrprev".
void ApplyCommandLine(const CommandLine& commandLine, StartupState& state);

// The preview host's child window, starting the host when it is not running;
// 0 when there is none.
HWND FindPreviewHost();

bool CanOpenForReading(const std::string& path);

}  // namespace orvalen
