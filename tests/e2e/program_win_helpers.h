#pragma once
// Starting the built programs from a test: fresh installation folders, child
// processes with a time limit, and their windows.
#include <windows.h>

#include <string>

namespace orvalen::e2e {

// The folder the test program runs from, where the built programs lie.
std::string BuildFolder();

// Waits while answering the messages of this thread's windows.
void WaitPumping(DWORD milliseconds);
// Waits for a kernel object while answering messages; false on time-out.
bool WaitForHandlePumping(HANDLE handle, DWORD timeoutMs);

// A fresh folder C:\orvalen_e2e\<name>\ holding copies of the named files of
// the build folder (for instance "Orvalen.exe") and, with any program, the
// graphics library; the name has a trailing backslash.
std::string MakeInstallFolder(const std::string& name, std::initializer_list<const char*> files);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

// win.ini [Orvalen] Dir; an empty value removes the key.
std::string WinIniDir();
void SetWinIniDir(const std::string& dir);

class ChildProcess {
 public:
  // Starts `program` with the command line "\"program\" arguments" and null
  // standard handles, so that neither it nor what it starts (a batch file's
  // command interpreter, a shell window) writes into or holds open the
  // test's output.
  ChildProcess(const std::string& program, const std::string& arguments);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  bool Started() const { return process_.hProcess != nullptr; }
  DWORD Id() const { return process_.dwProcessId; }
  bool Running() const;
  // The exit code, or -1 when the process is still running after `timeoutMs`.
  long WaitForExit(DWORD timeoutMs);
  // A top-level or child window of this process with that class (null: any)
  // and caption (null: any), waiting up to `timeoutMs`.
  HWND WaitForWindow(const char* className, const char* caption, DWORD timeoutMs);

 private:
  PROCESS_INFORMATION process_{};
};

}  // namespace orvalen::e2e
