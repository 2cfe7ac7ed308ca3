#include "setup_e2e_win_helpers.h"

#include <sddl.h>
#include <shlobj.h>

namespace orvalen::setup::e2e {
namespace {

struct Search {
  DWORD processId;
  const char* className;
  const char* caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  char text[512] = {};
  if (search->className) {
    GetClassNameA(window, text, sizeof text);
    if (lstrcmpiA(text, search->className) != 0) return TRUE;
  }
  if (search->caption) {
    GetWindowTextA(window, text, sizeof text);
    if (lstrcmpA(text, search->caption) != 0) return TRUE;
  }
  search->found.push_back(window);
  return TRUE;
}

struct ControlSearch {
  int id;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindChild(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ControlSearch*>(data);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  if (search->className) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

std::string DistFolder() { return BuildFolder() + "..\\dist\\"; }

std::string CopyDistFolder(const std::string& name) {
  const std::string folder = "C:\\" + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((DistFolder() + "*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      CopyFileA((DistFolder() + entry.cFileName).c_str(), (folder + entry.cFileName).c_str(),
                FALSE);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  return folder;
}

std::string InstallFolder() { return "C:\\Program Files\\Orvalen\\"; }

std::string SystemFolder() {
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return std::string(path) + "\\";
}

std::string WindowsFolder() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return std::string(path) + "\\";
}

bool WaitForFile(const std::string& path, bool exists, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (FileExists(path) != exists) {
    if (GetTickCount() - start > timeoutMs) return false;
    Pause(50);
  }
  return true;
}

std::string ProfileValue(const char* file, const char* section, const char* key) {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file);
  return value;
}

namespace {

// A string value of `root`\`key`: "<missing>" or "<not a string>" otherwise.
std::string StringValue(HKEY root, const char* key, const char* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<missing>";
  char value[MAX_PATH] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  const LONG result =
      RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS) return "<missing>";
  return type == REG_SZ ? value : "<not a string>";
}

}  // namespace

std::string MachineValue(const char* key, const char* name) {
  return StringValue(HKEY_LOCAL_MACHINE, key, name);
}

bool MachineKeyExists(const char* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

long long MachineDword(const char* key, const char* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return -1;
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  const LONG result =
      RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(opened);
  return result == ERROR_SUCCESS && type == REG_DWORD ? value : -1;
}

std::string UserValue(const char* key, const char* name) {
  return StringValue(HKEY_CURRENT_USER, key, name);
}

void SetUserValue(const char* key, const char* name, const std::string& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(opened);
}

std::vector<std::pair<std::string, std::string>> PendingRestartOperations() {
  std::vector<std::pair<std::string, std::string>> operations;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_READ, &opened) != ERROR_SUCCESS) {
    return operations;
  }
  std::vector<char> value(64 * 1024);
  DWORD size = static_cast<DWORD>(value.size() - 2);
  DWORD type = 0;
  const LONG result = RegQueryValueExA(opened, "PendingFileRenameOperations", nullptr, &type,
                                       reinterpret_cast<BYTE*>(value.data()), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS || type != REG_MULTI_SZ) return operations;
  auto strip = [](std::string name) {
    const size_t prefix = name.find("\\??\\");
    if (prefix != std::string::npos) name.erase(prefix, 4);
    return name;
  };
  std::vector<std::string> strings;
  for (size_t at = 0; at < size;) {
    const std::string one(value.data() + at);
    strings.push_back(one);
    at += one.size() + 1;
  }
  // The list ends with an empty string of its own after the last pair.
  for (size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2)
    operations.emplace_back(strip(strings[i]), strip(strings[i + 1]));
  return operations;
}

std::string PermissionsOf(const std::string& path) {
  DWORD size = 0;
  GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
  if (size == 0) return "<none>";
  std::vector<BYTE> descriptor(size);
  if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
    return "<none>";
  char* text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(
          descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
    return "<none>";
  }
  std::string result = text;
  LocalFree(text);
  return result;
}

std::string ShellFolder(const char* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_READ, &opened) != ERROR_SUCCESS) {
    return {};
  }
  char value[MAX_PATH] = {};
  DWORD size = sizeof value - 1;
  RegQueryValueExA(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(opened);
  return value;
}

LinkInfo ReadShortcut(const std::string& path) {
  LinkInfo info;
  const HRESULT com = CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  wchar_t name[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, name, MAX_PATH);
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(name, STGM_READ))) {
    char text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    info.target = text;
    text[0] = 0;
    link->GetArguments(text, MAX_PATH);
    info.arguments = text;
    text[0] = 0;
    link->GetDescription(text, MAX_PATH);
    info.description = text;
    text[0] = 0;
    link->GetIconLocation(text, MAX_PATH, &info.iconIndex);
    info.iconPath = text;
    info.loaded = true;
  }
  if (file) file->Release();
  if (link) link->Release();
  if (SUCCEEDED(com)) CoUninitialize();
  return info;
}

std::vector<HWND> Program::Windows() const {
  Search search{process_.Id(), nullptr, nullptr, {}};
  EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Program::WaitForWindow(const char* className, const char* caption, DWORD timeoutMs) const {
  const DWORD start = GetTickCount();
  do {
    Search search{process_.Id(), className, caption, {}};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    if (!search.found.empty()) return search.found.front();
    Pause(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

std::string Text(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string AskedText(HWND control) {
  char text[1024] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, &length);
  return text;
}

HWND FindControl(HWND root, int id, const char* className) {
  ControlSearch search{id, className, nullptr};
  EnumChildWindows(root, &FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void Click(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

MessageBoxSeen WaitForMessageBox(const Program& program, const char* caption, DWORD timeoutMs) {
  MessageBoxSeen seen;
  seen.window = program.WaitForWindow("#32770", caption, timeoutMs);
  if (!seen.window) return seen;
  Pause(100);  // fully made
  seen.text = Text(GetDlgItem(seen.window, 0xFFFF));
  for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    HWND button = GetDlgItem(seen.window, id);
    if (button && (GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      seen.defaultButton = id;
  }
  return seen;
}

}  // namespace orvalen::setup::e2e
