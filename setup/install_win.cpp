#include "setup/install_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <sddl.h>

#include <optional>
#include <vector>

#include "resources/setup_ids.h"
#include "setup/setup_texts.h"
#include "winapp/com_win.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/file_system_win.h"
#include "winapp/handles_win.h"

namespace orvalen::setup {
namespace {

constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kSaverValue[] = "SCRNSAVE.EXE";
constexpr char kSaverActiveValue[] = "ScreenSaveActive";
// Only SYSTEM and the administrators may touch the file, whatever the folder
// would hand down.
constexpr char kAdministratorsOnly[] = "D:P(A;;FA;;;SY)(A;;FA;;;BA)";

bool IsWindows9x() { return (GetVersion() & 0x80000000u) != 0; }

std::string Format(const char* format, const std::string& argument) {
  std::vector<char> text(lstrlenA(format) + argument.size() + 1);
  wsprintfA(text.data(), format, argument.c_str());
  return text.data();
}

RegistryKey OpenKey(HKEY root, const char* path, REGSAM access) {
  RegistryKey key;
  if (RegOpenKeyExA(root, path, 0, access, key.Out()) != ERROR_SUCCESS) key.Release();
  return key;
}

RegistryKey CreateOrOpenKey(HKEY root, const char* path, REGSAM access) {
  RegistryKey key;
  if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key.Out(),
                      nullptr) != ERROR_SUCCESS) {
    key.Release();
  }
  return key;
}

bool CanReadFile(const std::string& path) {
  KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Get() != INVALID_HANDLE_VALUE;
}

// True when both folders are the same one, however spelled (short names,
// letter case).
bool SameFolder(const std::string& a, const std::string& b) {
  // The long form with a closing backslash; empty when the folder has none.
  auto longForm = [](const std::string& folder) {
    char path[MAX_PATH] = {};
    const DWORD length = GetLongPathNameA(folder.c_str(), path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : WithBackslash(path);
  };
  const std::string longA = longForm(a);
  return !longA.empty() && lstrcmpiA(longA.c_str(), longForm(b).c_str()) == 0;
}

void CopyAll(const std::vector<FileCopy>& copies) {
  for (const FileCopy& copy : copies) CopyFileA(copy.from.c_str(), copy.to.c_str(), FALSE);
}

// A "Shell Folders" value of the current user; empty when it cannot be read.
std::string ShellFolder(const char* name) {
  RegistryKey key = OpenKey(HKEY_CURRENT_USER, kShellFoldersKey, KEY_READ);
  if (!key) return {};
  char value[MAX_PATH] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  return value;
}

void SetStringValue(HKEY key, const char* name, const std::string& value) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

void SetDwordValue(HKEY key, const char* name, DWORD value) {
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// A string value of an open key; empty when it is missing or not a string.
std::string StringValue(HKEY key, const char* name) {
  char value[MAX_PATH + 1] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  return value;
}

// The size of an existing file; nothing for a missing one.
std::optional<unsigned long long> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// What the installed files take on the disk, in KB.
DWORD InstalledSizeKb(const SetupState& state) {
  std::vector<unsigned long long> sizes;
  std::vector<FileCopy> copies = ProgramCopies(state.sourceDir, state.installDir);
  for (const FileCopy& copy : ModuleCopies(state.sourceDir, state.ModuleDir()))
    copies.push_back(copy);
  for (const FileCopy& copy : copies) {
    if (const auto size = FileSize(copy.to)) sizes.push_back(*size);
  }
  return EstimatedSizeKb(sizes);
}

void RegisterUninstall(const SetupState& state) {
  RegistryKey key = CreateOrOpenKey(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_ALL_ACCESS);
  if (!key) return;
  RegFlushKey(key.Get());
  SetStringValue(key.Get(), "DisplayName", kDisplayName);
  SetStringValue(key.Get(), "DisplayIcon", state.installDir + kConfigurationProgram);
  SetStringValue(key.Get(), "DisplayVersion", kDisplayVersion);
  SetStringValue(key.Get(), "Publisher", kPublisher);
  SetStringValue(key.Get(), "InstallLocation", state.installDir);
  SetDwordValue(key.Get(), "EstimatedSize", InstalledSizeKb(state));
  // Setup has no way to change or repair an installation: the list of
  // programs offers removal only.
  SetDwordValue(key.Get(), "NoModify", 1);
  SetDwordValue(key.Get(), "NoRepair", 1);
  RegDeleteValueA(key.Get(), "UninstallString");
  PauseKeepingPaint(1000);
  SetStringValue(key.Get(), "UninstallString", Quoted(state.installDir + kRemoveProgram));
  RegFlushKey(key.Get());
}

// Makes the installed saver the user's screen saver and turns screen saving
// on. system.ini is what Windows 9x reads; Windows NT reads the user's
// Desktop key, written last because NT maps the system.ini entry onto it.
// Both name the module where the 64-bit system finds it.
void MakeSaverDefault(const SetupState& state) {
  const std::string module = state.SaverModuleForShell();
  char shortPath[256] = {};
  const DWORD length = GetShortPathNameA(module.c_str(), shortPath, sizeof shortPath);
  // Without a short form (or one too long) the entry would name no file.
  if (length != 0 && length < sizeof shortPath)
    WritePrivateProfileStringA("boot", kSaverValue, shortPath, "system.ini");
  RegistryKey desktop = CreateOrOpenKey(HKEY_CURRENT_USER, kDesktopKey, KEY_SET_VALUE);
  if (!desktop) return;
  SetStringValue(desktop.Get(), kSaverValue, module);
  SetStringValue(desktop.Get(), kSaverActiveValue, "1");
  desktop.Reset();  // written before the change is announced
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDCHANGE);
}

// The paths Setup may have named the installed saver module by: long and
// short, in each folder it may be in. Taken before the modules are deleted,
// while their short names can still be asked for.
std::vector<std::string> SaverModuleNames(const SetupState& state) {
  std::vector<std::string> names;
  for (const std::string& path :
       SaverModulePaths(state.windowsDir, state.systemDir, state.wow64SystemDir)) {
    names.push_back(path);
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    if (length != 0 && length < MAX_PATH) names.push_back(shortPath);
  }
  return names;
}

bool NamesOneOf(const std::string& value, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (SamePath(value, path)) return true;
  }
  return false;
}

// Takes back the default saver Setup set, where it still names this saver:
// the user's Desktop key (screen saving goes off with it, as there is no
// saver left to run) and system.ini.
void ClearDefaultSaver(const std::vector<std::string>& ourModule) {
  {
    RegistryKey desktop =
        OpenKey(HKEY_CURRENT_USER, kDesktopKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (desktop && NamesOneOf(StringValue(desktop.Get(), kSaverValue), ourModule)) {
      RegDeleteValueA(desktop.Get(), kSaverValue);
      SetStringValue(desktop.Get(), kSaverActiveValue, "0");
      desktop.Reset();  // written before the change is announced
      SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_SENDCHANGE);
    }
  }
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA("boot", kSaverValue, "", value, sizeof value, "system.ini");
  if (NamesOneOf(value, ourModule)) {
    WritePrivateProfileStringA("boot", kSaverValue, nullptr, "system.ini");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "system.ini");
  }
}

// Takes win.ini's [Orvalen] "Dir" away when it names this installation, and
// the section with it when nothing else is left in it.
void ClearInstallationDir(const SetupState& state) {
  char value[MAX_PATH] = {};
  GetProfileStringA("Orvalen", "Dir", "", value, sizeof value);
  if (!value[0] || !SameFolder(value, state.sourceDir)) return;
  WriteProfileStringA("Orvalen", "Dir", nullptr);
  char keys[4] = {};
  if (GetProfileStringA("Orvalen", nullptr, "", keys, sizeof keys) == 0)
    WriteProfileStringA("Orvalen", nullptr, nullptr);
  WriteProfileStringA(nullptr, nullptr, nullptr);
}

// Replaces `to` with a copy of `from` when Windows next starts: the copy
// waits beside it under a temporary name. Windows 9x renames through
// WININIT.INI, which takes short names. False when nothing could be arranged.
bool ReplaceAtRestart(const std::string& from, const std::string& to) {
  char temporary[MAX_PATH] = {};
  if (!GetTempFileNameA(FolderOf(to).c_str(), "orv", 0, temporary)) return false;
  if (CopyFileA(from.c_str(), temporary, FALSE)) {
    if (!IsWindows9x()) {
      if (MoveFileExA(temporary, to.c_str(),
                      MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
        return true;
      }
    } else {
      char shortTo[MAX_PATH] = {};
      char shortTemporary[MAX_PATH] = {};
      const DWORD toLength = GetShortPathNameA(to.c_str(), shortTo, MAX_PATH);
      const DWORD temporaryLength = GetShortPathNameA(temporary, shortTemporary, MAX_PATH);
      if (toLength != 0 && toLength < MAX_PATH && temporaryLength != 0 &&
          temporaryLength < MAX_PATH &&
          WritePrivateProfileStringA("rename", shortTo, shortTemporary, "WININIT.INI")) {
        return true;
      }
    }
  }
  DeleteFileA(temporary);
  return false;
}

// Copies the saver module and the graphics library into `targetDir`. One
// that is there and cannot be overwritten (the control panel's preview holds
// the saver module) is replaced at the next restart instead; `inUse` gets
// each such file, and `notReplaced` each for which even that failed.
void CopyModules(const SetupState& state, const std::string& targetDir,
                 std::vector<std::string>& inUse, std::vector<std::string>& notReplaced) {
  for (const FileCopy& copy : ModuleCopies(state.sourceDir, targetDir)) {
    if (CopyFileA(copy.from.c_str(), copy.to.c_str(), FALSE)) continue;
    if (!FileExists(copy.from) || !FileExists(copy.to)) continue;
    (ReplaceAtRestart(copy.from, copy.to) ? inUse : notReplaced).push_back(copy.to);
  }
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// A special folder of the shell for the current user, without a trailing
// backslash; empty when the shell has none.
std::string SpecialFolder(int folder) {
  char path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, path, folder, FALSE)) return {};
  return WithoutBackslash(path);
}

void DeleteThroughShell(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  std::string from = path;
  from.push_back('\0');  // the list ends with two NULs
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  operation.lpszProgressTitle = kRemoveProgressTitle;
  SHFileOperationA(&operation);
}

// Windows NT deletes the uninstaller at the next restart should the batch
// file not get to it; Windows 9x reads the same wish from WININIT.INI.
void RegisterForRestartDeletion(const SetupState& state) {
  if (!IsWindows9x())
    MoveFileExA(state.programPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  const std::string key = FreeRenameKey([](const std::string& name) {
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA(kRenameSection, name.c_str(), kRenameProbeDefault, value, sizeof value,
                             "WININIT.INI");
    return std::string(value);
  });
  WritePrivateProfileStringA(kRenameSection, key.c_str(),
                             (state.sourceDir + kRemoveProgram).c_str(), "WININIT.INI");
}

// Security attributes that let only SYSTEM and the administrators at a file
// and keep the folder's permissions from reaching it; owns what it made.
class AdministratorsOnly {
 public:
  AdministratorsOnly() {
    Module advapi("advapi32.dll");
    using Convert = BOOL(WINAPI*)(LPCSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
    const auto convert =
        advapi.Find<Convert>("ConvertStringSecurityDescriptorToSecurityDescriptorA");
    if (convert && convert(kAdministratorsOnly, SDDL_REVISION_1, &descriptor_, nullptr)) {
      attributes_.nLength = sizeof attributes_;
      attributes_.lpSecurityDescriptor = descriptor_;
    }
  }
  ~AdministratorsOnly() {
    if (descriptor_) LocalFree(descriptor_);
  }
  AdministratorsOnly(const AdministratorsOnly&) = delete;
  AdministratorsOnly& operator=(const AdministratorsOnly&) = delete;

  // Null when the system could not make them.
  SECURITY_ATTRIBUTES* Get() { return descriptor_ ? &attributes_ : nullptr; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{};
};

// Makes the batch file anew. On Windows NT the batch runs with this
// program's administrator rights while the root folder lets every user
// change the files made there; a batch file that others could rewrite would
// run their commands, so it gets permissions of its own, and without them
// there is no batch file. A file already there (with permissions of its
// own) goes first; when it cannot, there is no batch file either.
KernelHandle CreateBatchFile() {
  DeleteFileA(kBatchFile);
  AdministratorsOnly security;
  if (!IsWindows9x() && !security.Get()) return KernelHandle(INVALID_HANDLE_VALUE);
  return KernelHandle(CreateFileA(kBatchFile, GENERIC_WRITE, 0, security.Get(), CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

// Writes "\DelUS.bat" and starts it hidden at idle priority: it deletes this
// program once it has ended, then the empty folder, then itself.
void StartSelfDeletion(const SetupState& state) {
  const std::string text = SelfDeleteBatchText(state.programPath);
  {
    KernelHandle file = CreateBatchFile();
    if (file.Get() == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  std::string commandLine = kBatchFile;
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED | IDLE_PRIORITY_CLASS, nullptr, "\\", &startup, &process)) {
    return;
  }
  KernelHandle thread(process.hThread);
  SetThreadPriority(process.hThread, THREAD_PRIORITY_IDLE);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
  CloseHandle(process.hProcess);
  ResumeThread(process.hThread);
}

// Under WOW64, the folder that holds this 32-bit program's System directory
// files, as 64-bit programs name it; empty otherwise. Both functions are
// looked up: older systems have neither.
std::string Wow64SystemDirectory() {
  Module kernel("kernel32.dll");
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  using GetWow64Directory = UINT(WINAPI*)(LPSTR, UINT);
  const auto isWow64 = kernel.Find<IsWow64>("IsWow64Process");
  BOOL wow64 = FALSE;
  if (!isWow64 || !isWow64(GetCurrentProcess(), &wow64) || !wow64) return {};
  const auto directory = kernel.Find<GetWow64Directory>("GetSystemWow64DirectoryA");
  char path[MAX_PATH] = {};
  const UINT length = directory ? directory(path, MAX_PATH) : 0;
  if (length == 0 || length >= MAX_PATH) return {};
  return WithBackslash(path);
}

// rundll32.exe in the System directory, where Windows NT keeps it (and where
// the 64-bit shell finds its own); in the Windows directory on Windows 9x.
std::string Rundll32(const SetupState& state) {
  const std::string inSystem = state.systemDir + "rundll32.exe";
  return FileExists(inSystem) ? inSystem : state.windowsDir + "rundll32.exe";
}

}  // namespace

void PauseKeepingPaint(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
      DispatchMessageA(&message);
    const DWORD waited = GetTickCount() - start;
    if (waited >= milliseconds) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - waited, QS_PAINT);
  }
}

SetupState ReadStartupState() {
  SetupState state;
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  state.systemDir = WithBackslash(path);
  state.wow64SystemDir = Wow64SystemDirectory();
  GetWindowsDirectoryA(path, MAX_PATH);
  state.windowsDir = WithBackslash(path);
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  state.programPath = path;
  state.removeMode = IsRemoveName(state.programPath);
  state.sourceDir = FolderOf(state.programPath);
  if (state.removeMode) state.installDir = state.sourceDir;
  return state;
}

void EnterSourceDirectory(const SetupState& state) {
  // Setting a full path makes its drive the current drive too.
  SetCurrentDirectoryA(state.sourceDir.c_str());
}

bool CreateInstallDirectory(HWND owner, const std::string& path) {
  if (!HasDriveLetter(path)) {
    ShowMessage(owner, Format(kNoDriveLetterFormat, path), kMessageCaption, MB_OK);
    return false;
  }
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  for (const std::string& folder : LeadingFolders(path)) CreateDirectoryA(folder.c_str(), nullptr);
  if (DirectoryExists(path) || CreateDirectoryA(path.c_str(), nullptr)) return true;
  ShowMessage(owner, kCreateError, kSetupCaption, MB_OK | MB_ICONINFORMATION);
  return false;
}

bool MakeShortcut(const Shortcut& shortcut) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.OutVoid()))) {
    return false;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid()))) return false;
  if (FAILED(link->SetPath(shortcut.target.c_str()))) return false;
  if (FAILED(link->SetDescription(kShortcutDescription))) return false;
  if (!shortcut.arguments.empty() && FAILED(link->SetArguments(shortcut.arguments.c_str())))
    return false;
  if (!shortcut.iconPath.empty() &&
      FAILED(link->SetIconLocation(shortcut.iconPath.c_str(), shortcut.iconIndex))) {
    return false;
  }
  wchar_t name[MAX_PATH] = {};
  if (!MultiByteToWideChar(CP_ACP, 0, shortcut.link.c_str(), -1, name, MAX_PATH)) return false;
  return SUCCEEDED(file->Save(name, TRUE));
}

InstallOutcome RunInstallation(SetupState& state, HWND owner, InstallProgress& progress) {
  progress.SetText(IDC_COPY_WAIT, kStatusPleaseWait);
  const std::string& dir = state.installDir;
  if (!DirectoryExists(dir) && !CreateInstallDirectory(owner, dir))
    return InstallOutcome::EndProgram;
  state.installed = true;
  if (!SetCurrentDirectoryA(dir.c_str()) && !CreateDirectoryA(dir.c_str(), nullptr)) {
    ShowMessage(owner, Format(kCouldNotCreateFormat, dir), kCouldNotCreateCaption, MB_OK);
  } else {
    EnterSourceDirectory(state);
    progress.SetText(IDC_COPY_STATUS, kStatusCopying);
    // An older saver module left in the installation folder goes; but when
    // Setup runs from that folder, the module there is the one to install.
    if (!SameFolder(dir, state.sourceDir)) DeleteFileA((dir + kSaverModule).c_str());
    CopyAll(ProgramCopies(state.sourceDir, dir));
    MakeShortcut(PreviewShortcut(dir, PathForShell(state.systemDir, state.systemDir,
                                                   state.wow64SystemDir)));
  }
  PauseKeepingPaint(500);
  progress.SetText(IDC_COPY_STATUS, kStatusInstalling);
  EnterSourceDirectory(state);
  std::vector<std::string> inUse;
  std::vector<std::string> notReplaced;
  CopyModules(state, state.systemDir, inUse, notReplaced);
  if (!CanReadFile(state.systemDir + kGraphicsLibrary)) {
    state.moduleInSystemDir = false;
    inUse.clear();
    notReplaced.clear();
    CopyModules(state, state.windowsDir, inUse, notReplaced);
  }
  if (!inUse.empty()) {
    ShowMessage(owner, Format(kFilesInUseFormat, Lines(inUse)), kSetupCaption,
                MB_OK | MB_ICONINFORMATION);
  }
  if (!notReplaced.empty()) {
    ShowMessage(owner, Format(kFilesNotReplacedFormat, Lines(notReplaced)), kSetupCaption,
                MB_OK | MB_ICONEXCLAMATION);
  }
  WriteProfileStringA("Orvalen", "Dir", dir.c_str());
  WriteProfileStringA(nullptr, nullptr, nullptr);
  PauseKeepingPaint(1000);
  progress.SetText(IDC_COPY_STATUS, kStatusRegistering);
  RegisterUninstall(state);
  if (state.defaultSaver) {
    MakeSaverDefault(state);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "system.ini");
  }
  MakeShortcut(ControlPanelShortcut(dir, Rundll32(state)));
  // A folder the registry does not name gets no shortcut rather than one at
  // the root of the current drive.
  if (state.programMenuShortcut) {
    const std::string programs = ShellFolder("Programs");
    if (!programs.empty()) MakeShortcut(ProgramMenuShortcut(programs, dir));
  }
  if (state.desktopShortcut) {
    const std::string desktop = ShellFolder("Desktop");
    if (!desktop.empty()) MakeShortcut(DesktopShortcut(desktop, dir));
  }
  progress.Redraw();
  PauseKeepingPaint(500);
  if (!notReplaced.empty()) return InstallOutcome::Incomplete;
  return inUse.empty() ? InstallOutcome::Finished : InstallOutcome::FinishedAtRestart;
}

void RunRemoval(const SetupState& state) {
  {
    RegistryKey parent = OpenKey(HKEY_LOCAL_MACHINE, kUninstallParentKey, KEY_ALL_ACCESS);
    if (parent) RegDeleteKeyA(parent.Get(), kUninstallSubKey);
  }
  SetCurrentDirectoryA(state.sourceDir.c_str());
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  if (!desktop.empty()) DeleteThroughShell(DesktopShortcutPath(desktop));
  const std::string programs = SpecialFolder(CSIDL_PROGRAMS);
  if (!programs.empty()) DeleteThroughShell(ProgramMenuShortcutPath(programs));
  for (const std::string& file : RemovedFiles(state.sourceDir)) DeleteFileA(file.c_str());
  ClearDefaultSaver(SaverModuleNames(state));
  ClearInstallationDir(state);
  for (const std::string& file : RemovedModules(state.windowsDir, state.systemDir)) {
    DeleteFileA(file.c_str());
  }
  RegisterForRestartDeletion(state);
  StartSelfDeletion(state);
}

}  // namespace orvalen::setup
