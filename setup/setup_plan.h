#pragma once
// What Setup puts on the machine and what Remove takes away again: the file
// lists, the shortcuts, the self-deleting batch text, the WININIT.INI slot and
// the small decisions taken on paths. Platform-free; the Win32 side only
// carries these plans out.
#include <functional>
#include <string>
#include <vector>

#include "resources/version.h"

namespace orvalen::setup {

inline constexpr char kDefaultInstallDir[] = "C:\\Program Files\\Orvalen\\";
inline constexpr char kUninstallParentKey[] =
    "software\\microsoft\\windows\\currentversion\\uninstall";
inline constexpr char kUninstallSubKey[] = "Orvalen";
inline constexpr char kUninstallKey[] =
    "software\\microsoft\\windows\\currentversion\\uninstall\\Orvalen";
inline constexpr char kDisplayName[] = "Orvalen";
inline constexpr char kPublisher[] = "Orvalen";
inline constexpr char kDisplayVersion[] = ORVALEN_VERSION_TEXT;
inline constexpr char kRemoveProgram[] = "Remove.exe";
inline constexpr char kSetupProgram[] = "Setup.exe";
inline constexpr char kConfigurationProgram[] = "Orvalen.exe";
inline constexpr char kSaverModule[] = "Orvalen.scr";
inline constexpr char kGraphicsLibrary[] = "Orvalenx.dll";
inline constexpr char kBatchFile[] = "\\DelUS.bat";
inline constexpr char kShortcutDescription[] = "Created By Orvalen";
inline constexpr char kControlPanelArguments[] = "shell32.dll,Control_RunDLL desk.cpl,,1";
inline constexpr char kRenameSection[] = "RENAME";
inline constexpr char kRenameProbeDefault[] = "!*&#^";
inline constexpr int kRenameSlots = 200;

// True when the program's file name without its extension is "Remove", in any
// letter case: the program then uninstalls instead of installing.
bool IsRemoveName(const std::string& programPath);

// The path with one backslash appended when it does not end with one.
std::string WithBackslash(std::string path);
// The path without its trailing backslash, if it has one.
std::string WithoutBackslash(std::string path);
// Drive and folder of a file path, ending with a backslash.
std::string FolderOf(const std::string& filePath);

// An installation path must start with a drive letter and a colon.
bool HasDriveLetter(const std::string& path);
// Every beginning of `path` that ends just before one of its backslashes, in
// order ("D:\a\b" gives "D:" and "D:\a"): the folders to make, outermost
// first, when a deep folder cannot be made at once.
std::vector<std::string> LeadingFolders(const std::string& path);
// The folder the directory chooser proposes inside the selected one.
std::string ProposedFolderIn(const std::string& selected);

struct FileCopy {
  std::string from;
  std::string to;
};

// The program files copied into the installation folder, in order, then
// Setup.exe as Remove.exe. Every copy replaces what is there.
std::vector<FileCopy> ProgramCopies(const std::string& sourceDir, const std::string& installDir);
// The saver module and the graphics library, copied into `targetDir` (the
// System directory, or the Windows directory when that failed).
std::vector<FileCopy> ModuleCopies(const std::string& sourceDir, const std::string& targetDir);

// The files Remove deletes from the installation folder, in order.
std::vector<std::string> RemovedFiles(const std::string& installDir);
// The saver module and the graphics library in the Windows directory, then
// in the System directory.
std::vector<std::string> RemovedModules(const std::string& windowsDir,
                                        const std::string& systemDir);

struct Shortcut {
  std::string link;  // the .lnk file
  std::string target;
  std::string arguments;  // empty: none
  std::string iconPath;   // empty: the target's own icon
  int iconIndex = 0;
};

// "Orvalen Preview.lnk" in the installation folder, for the saver module in
// `moduleDir`.
Shortcut PreviewShortcut(const std::string& installDir, const std::string& moduleDir);
// "Control Panel's Screen Savers.lnk" in the installation folder, opening
// the display control panel on its screen-saver page through `rundll32`.
Shortcut ControlPanelShortcut(const std::string& installDir, const std::string& rundll32);
// "Orvalen Screen Saver.lnk" in the Programs folder and "Orvalen.lnk" on the
// desktop, both for the configuration program; the folders have no trailing
// backslash.
Shortcut ProgramMenuShortcut(const std::string& programsFolder, const std::string& installDir);
Shortcut DesktopShortcut(const std::string& desktopFolder, const std::string& installDir);
// The two shortcuts Remove deletes from the desktop and the Programs folder.
std::string DesktopShortcutPath(const std::string& desktopFolder);
std::string ProgramMenuShortcutPath(const std::string& programsFolder);

// The text of "\DelUS.bat" that deletes the running uninstaller, its folder
// when empty, and itself; lines end with CR LF.
std::string SelfDeleteBatchText(const std::string& programPath);

// The path in double quotes, as a command line names a program whose path
// may hold spaces.
std::string Quoted(const std::string& path);

// True when both paths are spelled the same, letter case aside.
bool SamePath(const std::string& a, const std::string& b);

// `path` as the 64-bit shell and system name it. A 32-bit program on 64-bit
// Windows sees `systemDir` (System32) redirected to `wow64SystemDir`
// (SysWOW64), where its files really are; a path inside the System directory
// then becomes the same path inside `wow64SystemDir`. Without WOW64
// (`wow64SystemDir` empty) the path stays as it is.
std::string PathForShell(const std::string& path, const std::string& systemDir,
                         const std::string& wow64SystemDir);

// Every path the installed saver module may have been registered under: in
// the Windows directory, the System directory and (under WOW64) its 64-bit
// name; each once.
std::vector<std::string> SaverModulePaths(const std::string& windowsDir,
                                          const std::string& systemDir,
                                          const std::string& wow64SystemDir);

// The size the uninstall entry shows, in KB: each file's size in bytes
// rounded up to whole KB (a file takes room in whole blocks), added up, at
// most what a DWORD holds.
unsigned long EstimatedSizeKb(const std::vector<unsigned long long>& fileSizes);

// The first key NUL0 .. NUL199 of WININIT.INI [RENAME] whose value, read with
// the probe default, comes back as that default; NUL0 when all are taken.
std::string FreeRenameKey(const std::function<std::string(const std::string& key)>& read);

}  // namespace orvalen::setup
