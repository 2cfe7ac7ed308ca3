// The Windows 9x password path of the full-screen saver: the password module
// is asked only after the first second, a refusal keeps the saver running
// with the cursor hidden, and the "screen saver running" flag is set only
// while asking when Ctrl+Alt+Del is to be blocked.
//
// Windows NT never asks, so these tests run in a copy of this program that
// Wine reports as Windows 98, beside a stand-in PASSWORD.CPL.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "saver/password_win.h"
#include "saver/process_state.h"
#include "saver/saver_window_win.h"
#include "tests/saver/saver_fixture_win_helpers.h"

namespace orvalen {
namespace {

using namespace orvalen::saver_test;

constexpr const char* kNineXProgram = "orvalen_9x_saver_tests.exe";

bool ReportsWindows9x() { return !IsNtPlatform(); }

std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Wine reports the Windows version set for a program name in its registry.
bool SetWineVersionFor(const char* program, const char* version) {
  const std::string key = std::string("Software\\Wine\\AppDefaults\\") + program;
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG result = RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                                     static_cast<DWORD>(std::strlen(version) + 1));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

TEST(PasswordOnWindows9x, RunsInAProgramThatWineReportsAsWindows98) {
  if (ReportsWindows9x()) GTEST_SKIP() << "this is the Windows 98 copy itself";
  const std::string from = ProgramFolder();
  const std::string folder = TempPath("orvalen_9x\\");
  CreateDirectoryA(folder.c_str(), nullptr);
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  ASSERT_TRUE(CopyFileA(self, (folder + kNineXProgram).c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((from + "PASSWORD.CPL").c_str(), (folder + "PASSWORD.CPL").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((from + "Orvalenx.dll").c_str(), (folder + "Orvalenx.dll").c_str(), FALSE));
  ASSERT_TRUE(SetWineVersionFor(kNineXProgram, "win98"));

  std::string commandLine = std::string("\"") + folder + kNineXProgram + "\" --gtest_filter=Windows9xPassword.*";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                             &startup, &process));
  const DWORD waited = WaitForSingleObject(process.hProcess, 120000);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 0u) << "the Windows 98 copy reported failures (its output is above)";
  for (const char* file : {kNineXProgram, "PASSWORD.CPL", "Orvalenx.dll"}) DeleteFileA((folder + file).c_str());
  RemoveDirectoryA(folder.c_str());
}

int FakeModuleNumber(const char* name) {
  char value[32] = "";
  if (!GetEnvironmentVariableA(name, value, sizeof value)) return -1;
  return std::atoi(value);
}

int CursorCount() {
  const int count = ShowCursor(FALSE) + 1;
  ShowCursor(TRUE);
  return count;
}

// Brings this thread's cursor display count to `count`.
void SetCursorCount(int count) {
  while (ShowCursor(TRUE) < count) {
  }
  while (ShowCursor(FALSE) > count) {
  }
}

bool ScreenSaverRunningFlag() {
  UINT running = 0;
  SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  return running != 0;
}

class Windows9xPassword : public SaverFixture {
 protected:
  void SetUp() override {
    if (!ReportsWindows9x()) GTEST_SKIP() << "runs in the Windows 98 copy of this program";
    SaverFixture::SetUp();
    // As the program start leaves it, before the saver window is made.
    SetCursorCount(-1);
    SetEnvironmentVariableA("ORVALEN_FAKE_PASSWORD_CALLS", "0");
    Answer(false);
  }

  static void Answer(bool grant) { SetEnvironmentVariableA("ORVALEN_FAKE_PASSWORD_ANSWER", grant ? "1" : "0"); }
  static int Calls() { return FakeModuleNumber("ORVALEN_FAKE_PASSWORD_CALLS"); }

  void PressKey() { SendMessageA(saver_->Handle(), WM_KEYDOWN, 'A', 0); }
};

TEST_F(Windows9xPassword, AClosingRequestInTheFirstSecondAsksNothing) {
  WriteProfile("ALLOW_CNT_ALT_DEL=0\r\n", {imagePath_});
  StartFullScreen(false);
  clock_.ticks += 900;
  PressKey();
  EXPECT_TRUE(QuitPosted());
  EXPECT_EQ(Calls(), 0);
  EXPECT_EQ(CurrentRunMode(), RunMode::Closing);
  EXPECT_FALSE(ScreenSaverRunningFlag());
}

TEST_F(Windows9xPassword, ARefusalKeepsTheSaverAndTheNextLongMoveAsksAgain) {
  WriteProfile("ALLOW_CNT_ALT_DEL=0\r\n", {imagePath_});
  StartFullScreen(false);
  // Many pictures later (each step hides the cursor once more).
  for (int step = 0; step < 15; ++step) NextStep();
  const int hiddenCount = CursorCount();
  EXPECT_LT(hiddenCount, 0);

  PressKey();
  EXPECT_EQ(Calls(), 1);
  EXPECT_EQ(FakeModuleNumber("ORVALEN_FAKE_PASSWORD_OWNER"), reinterpret_cast<INT_PTR>(saver_->Handle()));
  EXPECT_EQ(FakeModuleNumber("ORVALEN_FAKE_PASSWORD_FLAG"), 1) << "Ctrl+Alt+Del is blocked while asking";
  EXPECT_GE(FakeModuleNumber("ORVALEN_FAKE_PASSWORD_CURSOR"), 0) << "the cursor shows while asking";
  EXPECT_FALSE(QuitPosted());
  EXPECT_EQ(CurrentRunMode(), RunMode::Saver);
  EXPECT_TRUE(IsWindow(saver_->Handle()));
  EXPECT_EQ(CursorCount(), hiddenCount) << "the cursor is hidden again";
  EXPECT_FALSE(ScreenSaverRunningFlag());

  // The cursor's place after the refusal is the new home: 50 pixels from it
  // keep the saver, 51 ask again.
  POINT home{};
  GetCursorPos(&home);
  SetCursorPos(home.x - 50, home.y + 50);
  SendMessageA(saver_->Handle(), WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(Calls(), 1);
  Answer(true);
  SetCursorPos(home.x - 51, home.y);
  SendMessageA(saver_->Handle(), WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(Calls(), 2);
  EXPECT_TRUE(QuitPosted());
  EXPECT_EQ(CurrentRunMode(), RunMode::Closing);
  EXPECT_FALSE(ScreenSaverRunningFlag());
}

TEST_F(Windows9xPassword, WithCtrlAltDelAllowedTheFlagStaysClear) {
  WriteProfile("", {imagePath_});
  StartFullScreen(false);
  clock_.ticks += 1100;
  Answer(true);
  PressKey();
  EXPECT_EQ(Calls(), 1);
  EXPECT_EQ(FakeModuleNumber("ORVALEN_FAKE_PASSWORD_FLAG"), 0);
  EXPECT_TRUE(QuitPosted());
}

TEST_F(Windows9xPassword, TheSlideShowNeverAsks) {
  WriteProfile("ALLOW_CNT_ALT_DEL=0\r\n", {imagePath_});
  StartFullScreen(true);
  clock_.ticks += 5000;
  PressKey();
  EXPECT_EQ(Calls(), 0);
  EXPECT_TRUE(QuitPosted());
}

}  // namespace
}  // namespace orvalen
