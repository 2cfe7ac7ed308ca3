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
};

}  // namespace orvalen::setup
