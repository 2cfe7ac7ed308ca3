#include "saver/startup_win.h"

#include <cstdio>

#include "saver/data_folder.h"
#include "saver/data_folder_win.h"
#include "saver/paths.h"
#include "saver/settings.h"
#include "winapp/handles_win.h"
#include "winapp/private_profile.h"

namespace orvalen {
namespace {

constexpr const char* kWinIniSection = "Orvalen";
constexpr const char* kWinIniDirKey = "Dir";
constexpr size_t kPathChars = 260;

std::string ModuleFileName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

void CreateDefaultProfile(const std::string& path) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fputs("Orvalen\n", file);
    std::fclose(file);
  }
}

// KEY_PROFILE of the default profile names the active profile when that file
// can be opened; the slide show always uses its own profile.
void ChooseActiveProfile(StartupState& state) {
  PrivateProfile defaults(state.defaultProfilePath);
  std::string named = defaults.GetString(profile_keys::kSettings, profile_keys::kKeyProfile,
                                         state.defaultProfilePath.c_str(), kPathChars);
  state.activeProfilePath = CanOpenForReading(named) ? named : state.defaultProfilePath;
  if (state.slideShow) state.activeProfilePath = state.slideProfilePath;
}

}  // namespace

bool CanOpenForReading(const std::string& path) {
  if (path.empty()) return false;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

void EnterProgramDir(const StartupState& state) {
  if (!state.profileFound) return;
  // SetCurrentDirectory with a full path changes the current drive as well.
  SetCurrentDirectoryA(state.programDir.c_str());
}

void LocateProfile(ProgramKind kind, StartupState& state) {
  state.defaultProfileName = kDefaultProfileName;
  state.slideProfileName = kSlideProfileName;
  state.profileFound = kind == ProgramKind::ConfigurationProgram;
  state.programDir = DirectoryOf(ModuleFileName());
  state.driveNumber = DriveNumberOf(state.programDir);

  if (kind == ProgramKind::ConfigurationProgram) {
    EnterProgramDir(state);
    state.dataDir = LocateDataFolder(state.programDir);
    state.defaultProfilePath = state.dataDir + state.defaultProfileName;
    state.slideProfilePath = state.dataDir + state.slideProfileName;
    if (!CanOpenForReading(state.defaultProfilePath)) CreateDefaultProfile(state.defaultProfilePath);
    PrivateProfile winIni = PrivateProfile::WinIni();
    winIni.WriteString(kWinIniSection, kWinIniDirKey, state.programDir.c_str());
    winIni.Flush();
  } else {
    PrivateProfile winIni = PrivateProfile::WinIni();
    state.programDir = winIni.GetString(kWinIniSection, kWinIniDirKey, "", kPathChars);
    state.dataDir.clear();
    state.defaultProfilePath.clear();
    state.slideProfilePath.clear();
    if (SortsAboveBlanks(state.programDir, 8)) {
      state.driveNumber = DriveNumberOf(state.programDir);
      // The same rule as the configuration program's, so both use the same
      // files.
      state.dataDir = LocateDataFolder(state.programDir);
      state.defaultProfilePath = state.dataDir + state.defaultProfileName;
      state.slideProfilePath = state.dataDir + state.slideProfileName;
      state.profileFound = CanOpenForReading(state.defaultProfilePath);
      EnterProgramDir(state);
    }
  }
  ChooseActiveProfile(state);
}

HWND FindPreviewHost() {
  HWND host = FindWindowA("Scrprev", nullptr);
  if (!host) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    char commandLine[] = "Scrprev";
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP | CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                        &startup, &process)) {
      return nullptr;
    }
    KernelHandle processHandle(process.hProcess);
    KernelHandle threadHandle(process.hThread);
    if (WaitForInputIdle(process.hProcess, 2000) != 0) return nullptr;
    host = FindWindowA("Scrprev", nullptr);
  }
  if (!host) return nullptr;
  SetForegroundWindow(host);
  return GetWindow(host, GW_CHILD);
}

void ApplyCommandLine(const CommandLine& commandLine, StartupState& state) {
  state.slideShow = commandLine.slideShow;
  state.previewParent = commandLine.previewParent;
  if (commandLine.previewFromHost) {
    state.previewParent = static_cast<WindowId>(reinterpret_cast<uintptr_t>(FindPreviewHost()));
  }
  state.configParent = commandLine.configParent;
  if (commandLine.configFromForeground) {
    state.configParent = static_cast<WindowId>(reinterpret_cast<uintptr_t>(GetForegroundWindow()));
  }
  state.passwordParent = commandLine.passwordParent;
}

}  // namespace orvalen
