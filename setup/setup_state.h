#pragma once
// The program-wide state of Setup and Remove.
#include <string>

#include "setup/setup_plan.h"

namespace orvalen::setup {

enum WizardPage : int {
  kPageOptions = 1,
  kPageDirectory = 2,
  kPageCopying = 3,
  kPageFinished = 100,
  kPageAbandoned = 200,
};

struct SetupState {
  std::string programPath;  // the running executable
  std::string sourceDir;    // its folder; every directory here ends with a backslash
  std::string windowsDir;
  std::string systemDir;
  // Under WOW64 the folder 64-bit Windows keeps this program's System
  // directory files in (SysWOW64); empty otherwise.
  std::string wow64SystemDir;
  std::string installDir = kDefaultInstallDir;
  int page = kPageOptions;
  bool removeMode = false;
  bool moduleInSystemDir = true;
  bool programMenuShortcut = false;
  bool desktopShortcut = true;
  bool defaultSaver = false;
  bool installed = false;

  // Where the saver module and the graphics library went.
  const std::string& ModuleDir() const { return moduleInSystemDir ? systemDir : windowsDir; }
  // The installed saver module as the shell and the 64-bit system find it.
  std::string SaverModuleForShell() const {
    return PathForShell(ModuleDir() + kSaverModule, systemDir, wow64SystemDir);
  }
};

}  // namespace orvalen::setup
