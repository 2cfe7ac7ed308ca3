#include "setup/setup_plan.h"

#include <cctype>

namespace orvalen::setup {
namespace {

bool EqualIgnoringCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == a.size() && !b[i];
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool IsRemoveName(const std::string& programPath) {
  size_t start = programPath.find_last_of("\\/:");
  start = start == std::string::npos ? 0 : start + 1;
  std::string name = programPath.substr(start);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.resize(dot);
  return EqualIgnoringCase(name, "Remove");
}

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string WithoutBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

std::string FolderOf(const std::string& filePath) {
  const size_t last = filePath.find_last_of("\\/");
  if (last == std::string::npos) {
    // "C:Setup.exe": the drive alone.
    return filePath.size() >= 2 && filePath[1] == ':' ? filePath.substr(0, 2) + "\\"
                                                      : std::string();
  }
  return filePath.substr(0, last) + "\\";
}

bool HasDriveLetter(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }

std::vector<std::string> LeadingFolders(const std::string& path) {
  std::vector<std::string> folders;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsSeparator(path[i]) && i > 0) folders.push_back(path.substr(0, i));
  }
  return folders;
}

std::string ProposedFolderIn(const std::string& selected) {
  return WithBackslash(selected) + "Orvalen";
}

std::vector<FileCopy> ProgramCopies(const std::string& sourceDir, const std::string& installDir) {
  static const char* const kFiles[] = {"Orvalen.exe", "Orvalen.orv", "Orvalen.cal", "Orvalen.hlp",
                                       "ReadMe.txt", "TileOrvl.jpg", "vdelete1.jpg", "vdelete2.jpg",
                                       "vdelete3.jpg", "vdelete4.jpg",
                                       // The user guide for systems without the old help viewer.
                                       "Orvalen.htm"};
  std::vector<FileCopy> copies;
  for (const char* file : kFiles) copies.push_back({sourceDir + file, installDir + file});
  copies.push_back({sourceDir + kSetupProgram, installDir + kRemoveProgram});
  return copies;
}

std::vector<FileCopy> ModuleCopies(const std::string& sourceDir, const std::string& targetDir) {
  return {{sourceDir + kSaverModule, targetDir + kSaverModule},
          {sourceDir + kGraphicsLibrary, targetDir + kGraphicsLibrary}};
}

std::vector<std::string> RemovedFiles(const std::string& installDir) {
  static const char* const kFiles[] = {
      "Orvalen.exe", "Orvalen.orv", "Orvalen.hlp", "Orvalen.gid", "Orvalen.cal", "Readme.txt",
      "Tileorvl.jpg", "vdelete1.jpg", "vdelete2.jpg", "vdelete3.jpg", "vdelete4.jpg",
      "Ovslider.orv", "Ovslide.dat", "Control Panel's Screen Savers.lnk", "Orvalen Preview.lnk",
      // The user guide Setup copies beside the help file.
      "Orvalen.htm"};
  std::vector<std::string> paths;
  for (const char* file : kFiles) paths.push_back(installDir + file);
  return paths;
}

std::vector<std::string> RemovedModules(const std::string& windowsDir,
                                        const std::string& systemDir) {
  return {windowsDir + kSaverModule, windowsDir + kGraphicsLibrary, systemDir + kSaverModule,
          systemDir + kGraphicsLibrary};
}

Shortcut PreviewShortcut(const std::string& installDir, const std::string& moduleDir) {
  return {installDir + "Orvalen Preview.lnk", moduleDir + kSaverModule, "", "", 0};
}

Shortcut ControlPanelShortcut(const std::string& installDir, const std::string& rundll32) {
  return {installDir + "Control Panel's Screen Savers.lnk", rundll32,
          kControlPanelArguments, installDir + kConfigurationProgram, 1};
}

std::string ProgramMenuShortcutPath(const std::string& programsFolder) {
  return programsFolder + "\\Orvalen Screen Saver.lnk";
}

std::string DesktopShortcutPath(const std::string& desktopFolder) {
  return desktopFolder + "\\Orvalen.lnk";
}

Shortcut ProgramMenuShortcut(const std::string& programsFolder, const std::string& installDir) {
  return {ProgramMenuShortcutPath(programsFolder), installDir + kConfigurationProgram, "", "", 0};
}

Shortcut DesktopShortcut(const std::string& desktopFolder, const std::string& installDir) {
  return {DesktopShortcutPath(desktopFolder), installDir + kConfigurationProgram, "", "", 0};
}

std::string SelfDeleteBatchText(const std::string& programPath) {
  const std::string quoted = "\"" + programPath + "\"";
  return ":Repeat\r\ndel " + quoted + "\r\nif exist " + quoted + " goto Repeat\r\nrmdir \"" +
         WithoutBackslash(FolderOf(programPath)) + "\"\r\ndel \"" + kBatchFile + "\"\r\n";
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

bool SamePath(const std::string& a, const std::string& b) {
  return a.size() == b.size() && EqualIgnoringCase(a, b.c_str());
}

std::string PathForShell(const std::string& path, const std::string& systemDir,
                         const std::string& wow64SystemDir) {
  if (wow64SystemDir.empty() || systemDir.empty()) return path;
  const std::string folder = WithBackslash(systemDir);
  // The folder itself, named without its closing backslash.
  if (SamePath(path, WithoutBackslash(folder))) return WithoutBackslash(wow64SystemDir);
  if (path.size() < folder.size() || !SamePath(path.substr(0, folder.size()), folder)) {
    return path;
  }
  return WithBackslash(wow64SystemDir) + path.substr(folder.size());
}

std::vector<std::string> SaverModulePaths(const std::string& windowsDir,
                                          const std::string& systemDir,
                                          const std::string& wow64SystemDir) {
  std::vector<std::string> paths;
  for (const std::string& dir : {windowsDir, systemDir, wow64SystemDir}) {
    if (dir.empty()) continue;
    const std::string path = WithBackslash(dir) + kSaverModule;
    bool known = false;
    for (const std::string& other : paths) known = known || SamePath(other, path);
    if (!known) paths.push_back(path);
  }
  return paths;
}

unsigned long EstimatedSizeKb(const std::vector<unsigned long long>& fileSizes) {
  constexpr unsigned long long kMaxKb = 0xFFFFFFFFull;
  unsigned long long kb = 0;
  for (unsigned long long size : fileSizes) {
    kb += size / 1024 + (size % 1024 ? 1 : 0);
    if (kb >= kMaxKb) return static_cast<unsigned long>(kMaxKb);
  }
  return static_cast<unsigned long>(kb);
}

std::string FreeRenameKey(const std::function<std::string(const std::string& key)>& read) {
  for (int slot = 0; slot < kRenameSlots; ++slot) {
    const std::string key = "NUL" + std::to_string(slot);
    if (read(key) == kRenameProbeDefault) return key;
  }
  return "NUL0";
}

}  // namespace orvalen::setup
