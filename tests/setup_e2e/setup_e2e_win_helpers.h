#pragma once
// Driving Setup.exe and Remove.exe from a test that runs in the same scratch
// Wine prefix: starting them with null standard handles, finding their
// windows and message boxes, clicking, and reading back what they left.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/program_win_helpers.h"

namespace orvalen::setup::e2e {

using orvalen::e2e::BuildFolder;
using orvalen::e2e::FileExists;
using orvalen::e2e::ReadWholeFile;
using orvalen::e2e::WriteWholeFile;

constexpr DWORD kTimeout = 20000;

// The distribution folder the build made (bin\..\dist\).
std::string DistFolder();
// A copy of the distribution folder in C:\<name>\, Setup's source folder.
std::string CopyDistFolder(const std::string& name);
std::string InstallFolder();  // "C:\Program Files\Orvalen\"
std::string SystemFolder();   // with a trailing backslash
std::string WindowsFolder();

// Waits until the file exists (or no longer exists); true when it does.
bool WaitForFile(const std::string& path, bool exists, DWORD timeoutMs);

std::string ProfileValue(const char* file, const char* section, const char* key);
// A REG_SZ value of HKLM; "<missing>" when the key or value is not there.
std::string MachineValue(const char* key, const char* name);
bool MachineKeyExists(const char* key);
// A REG_DWORD value of HKLM; -1 when missing or of another type.
long long MachineDword(const char* key, const char* name);
// A REG_SZ value of HKCU; "<missing>" when the key or value is not there.
std::string UserValue(const char* key, const char* name);
void SetUserValue(const char* key, const char* name, const std::string& value);
// The renames and deletions Windows NT carries out at the next restart, as
// (from, to) pairs without the "\??\" prefixes; `to` is empty for a
// deletion and starts with "!" when it replaces an existing file.
std::vector<std::pair<std::string, std::string>> PendingRestartOperations();
// The file's permissions in the security descriptor string format.
std::string PermissionsOf(const std::string& path);
// A "Shell Folders" value of the current user.
std::string ShellFolder(const char* name);

struct LinkInfo {
  bool loaded = false;
  std::string target, arguments, description, iconPath;
  int iconIndex = -1;
};
LinkInfo ReadShortcut(const std::string& path);

// A program of the test, seen through its visible top-level windows.
class Program {
 public:
  explicit Program(const std::string& path) : process_(path, "") {}

  bool Started() const { return process_.Started(); }
  // The exit code; -1 when still running after `timeoutMs`.
  long WaitForExit(DWORD timeoutMs) { return process_.WaitForExit(timeoutMs); }
  bool Running() const { return process_.Running(); }
  // A visible top-level window of this process with that class and caption
  // (null: any), waiting up to `timeoutMs`.
  HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs) const;
  // Every visible top-level window of the process.
  std::vector<HWND> Windows() const;

 private:
  orvalen::e2e::ChildProcess process_;
};

// The caption or control text as Wine keeps it for other processes.
std::string Text(HWND window);
// The text the control itself holds (an edit's), asked with WM_GETTEXT.
std::string AskedText(HWND control);
// The first descendant of `root` with that control id (and class, if given).
HWND FindControl(HWND root, int id, const char* className = nullptr);
// Clicks a button by posting BM_CLICK: a click that opens a message box must
// not block the test.
void Click(HWND button);
void Click(HWND dialog, int id);
// Waits while the test's own windows keep answering.
inline void Pause(DWORD milliseconds) { orvalen::e2e::WaitPumping(milliseconds); }

// A message box of the program: its text (static 0xFFFF), its default
// button (the one drawn as default) and its buttons.
struct MessageBoxSeen {
  HWND window = nullptr;
  std::string text;
  int defaultButton = 0;
  bool Has(int id) const { return GetDlgItem(window, id) != nullptr; }
};
MessageBoxSeen WaitForMessageBox(const Program& program, const char* caption,
                                 DWORD timeoutMs = kTimeout);

}  // namespace orvalen::setup::e2e
