#pragma once
// The application object: owns the main window, the message loop and the
// rich-edit module; makes the common controls available.
//
// Modeless top-level dialogs (tool windows) register here (Dialog does it), so
// that Tab, Enter and Escape work in them: the message loop and, while a modal
// dialog or message box runs its own loop, a message-filter hook pass their
// messages to IsDialogMessage. Pages, being children of a dialog, get the
// dialog keys from their top-level dialog.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "winapp/handles_win.h"
#include "winapp/window_win.h"

namespace orvalen {

// Exit code of a program whose main window could not be made.
constexpr int kStartupFailureExitCode = 3;
// Exit code of a message loop whose GetMessage failed.
constexpr int kMessageLoopFailureExitCode = 4;

class Application {
 public:
  explicit Application(std::string name);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  virtual ~Application();

  const std::string& Name() const { return name_; }
  // The application of this process, null when none exists.
  static Application* Current();

  // The normal run: make the main window, then the message loop until a quit
  // message. Returns the process exit code (the quit message's value).
  virtual int Run();

  // Loads the rich-edit module (RICHED32.DLL) on the first call; it stays
  // until the application goes. False when it can not be loaded.
  bool EnsureRichEdit();

  // The modeless top-level windows that get the dialog keys.
  static void RegisterModeless(HWND window);
  static void UnregisterModeless(HWND window);
  // One message the way the message loop handles it: the dialog keys of a
  // modeless window, else translate and dispatch.
  static void ProcessMessage(MSG& message);
  // Handles every message waiting in this thread's queue the same way; false
  // when a quit message was among them (it is put back).
  static bool ProcessPendingMessages();

 protected:
  // Makes and shows the main window; returns it, or null when none was made.
  virtual Window* InitMainWindow() { return nullptr; }

  // Returns the quit message's value, or kMessageLoopFailureExitCode when
  // GetMessage fails.
  int MessageLoop();
  // What the application reports when it has no main window.
  virtual int StartupFailure();

 private:
  std::string name_;
  std::optional<Module> richEdit_;
};

}  // namespace orvalen
