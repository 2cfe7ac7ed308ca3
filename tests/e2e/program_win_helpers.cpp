#include "program_win_helpers.h"

#include <fstream>
#include <sstream>

namespace orvalen::e2e {
namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* caption;
  HWND found;
};

bool Matches(HWND window, const WindowSearch& search) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId) return false;
  char text[256] = {};
  if (search.className) {
    GetClassNameA(window, text, sizeof text);
    if (lstrcmpiA(text, search.className) != 0) return false;
  }
  if (search.caption) {
    GetWindowTextA(window, text, sizeof text);
    if (lstrcmpA(text, search.caption) != 0) return false;
  }
  return true;
}

BOOL CALLBACK SearchChild(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  if (Matches(window, *search)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK SearchTopLevel(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  if (Matches(window, *search)) {
    search->found = window;
    return FALSE;
  }
  EnumChildWindows(window, &SearchChild, data);
  return search->found ? FALSE : TRUE;
}

// Keeps this thread's windows answering while the test waits: a program
// whose window is owned by a window of the test sends it messages.
void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

void WaitPumping(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < milliseconds);
  PumpMessages();
}

std::string BuildFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string MakeInstallFolder(const std::string& name, std::initializer_list<const char*> files) {
  CreateDirectoryA("C:\\orvalen_e2e", nullptr);
  const std::string folder = "C:\\orvalen_e2e\\" + name + "\\";
  // Start from an empty folder.
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + entry.cFileName).c_str());
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  bool program = false;
  for (const char* file : files) {
    CopyFileA((BuildFolder() + file).c_str(), (folder + file).c_str(), FALSE);
    program = true;
  }
  // Both programs import the graphics library from their own folder.
  if (program) CopyFileA((BuildFolder() + "Orvalenx.dll").c_str(), (folder + "Orvalenx.dll").c_str(), FALSE);
  return folder;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

void WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WinIniDir() {
  char dir[MAX_PATH] = {};
  GetProfileStringA("Orvalen", "Dir", "", dir, MAX_PATH);
  return dir;
}

void SetWinIniDir(const std::string& dir) {
  WriteProfileStringA("Orvalen", "Dir", dir.empty() ? nullptr : dir.c_str());
  WriteProfileStringA(nullptr, nullptr, nullptr);
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments) {
  std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    process_ = PROCESS_INFORMATION{};
  }
}

bool ChildProcess::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

ChildProcess::~ChildProcess() {
  if (!process_.hProcess) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool WaitForHandlePumping(HANDLE handle, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    PumpMessages();
    const DWORD waited = GetTickCount() - start;
    if (waited >= timeoutMs) return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    if (MsgWaitForMultipleObjects(1, &handle, FALSE, timeoutMs - waited, QS_ALLINPUT) == WAIT_OBJECT_0) {
      return true;
    }
  }
}

long ChildProcess::WaitForExit(DWORD timeoutMs) {
  if (!process_.hProcess) return -2;
  if (!WaitForHandlePumping(process_.hProcess, timeoutMs)) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return static_cast<long>(code);
}

HWND ChildProcess::WaitForWindow(const char* className, const char* caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    WindowSearch search{process_.dwProcessId, className, caption, nullptr};
    EnumWindows(&SearchTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    WaitPumping(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

}  // namespace orvalen::e2e
