#include "setup/install_win.h"

#include <shellapi.h>
#include <shlobj.h>

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

void RegisterUninstall(const SetupState& state) {
  RegistryKey key = CreateOrOpenKey(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_ALL_ACCESS);
  if (!key) return;
  RegFlushKey(key.Get());
  SetStringValue(key.Get(), "DisplayName", kDisplayName);
  RegDeleteValueA(key.Get(), "UninstallString");
  PauseKeepingPaint(1000);
  SetStringValue(key.Get(), "UninstallString", state.installDir + kRemoveProgram);
  RegFlushKey(key.Get());
}

void MakeSaverDefault(const SetupState& state) {
  const std::string module = state.ModuleDir() + kSaverModule;
  char shortPath[256] = {};
  const DWORD length = GetShortPathNameA(module.c_str(), shortPath, sizeof shortPath);
  // Without a short form (or one too long) the entry would name no file.
  if (length == 0 || length >= sizeof shortPath) return;
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", shortPath, "system.ini");
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

void RegisterForRestartDeletion(const SetupState& state) {
  const std::string key = FreeRenameKey([](const std::string& name) {
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA(kRenameSection, name.c_str(), kRenameProbeDefault, value, sizeof value,
                             "WININIT.INI");
    return std::string(value);
  });
  WritePrivateProfileStringA(kRenameSection, key.c_str(),
                             (state.sourceDir + kRemoveProgram).c_str(), "WININIT.INI");
}

// Writes "\DelUS.bat" and starts it hidden at idle priority: it deletes this
// program once it has ended, then the empty folder, then itself.
void StartSelfDeletion(const SetupState& state) {
  const std::string text = SelfDeleteBatchText(state.programPath);
  {
    KernelHandle file(CreateFileA(kBatchFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
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
    MakeShortcut(PreviewShortcut(dir, state.systemDir));
  }
  PauseKeepingPaint(500);
  progress.SetText(IDC_COPY_STATUS, kStatusInstalling);
  EnterSourceDirectory(state);
  CopyAll(ModuleCopies(state.sourceDir, state.systemDir));
  if (!CanReadFile(state.systemDir + kGraphicsLibrary)) {
    state.moduleInSystemDir = false;
    CopyAll(ModuleCopies(state.sourceDir, state.windowsDir));
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
  MakeShortcut(ControlPanelShortcut(dir, state.windowsDir));
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
  return InstallOutcome::Finished;
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
  for (const std::string& file : RemovedModules(state.windowsDir, state.systemDir)) {
    DeleteFileA(file.c_str());
  }
  RegisterForRestartDeletion(state);
  StartSelfDeletion(state);
}

}  // namespace orvalen::setup
