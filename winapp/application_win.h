#pragma once
// The application object: owns the main window and the message loop.
#include <windows.h>

#include <memory>
#include <string>

#include "winapp/window_win.h"

namespace orvalen {

// Exit code of a program whose main window could not be made.
constexpr int kStartupFailureExitCode = 3;

class Application {
 public:
  explicit Application(std::string name) : name_(std::move(name)) {}
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  virtual ~Application() = default;

  const std::string& Name() const { return name_; }

  // The normal run: make the main window, then the message loop until a quit
  // message. Returns the process exit code (the quit message's value).
  virtual int Run();

 protected:
  // Makes and shows the main window; returns it, or null when none was made.
  virtual Window* InitMainWindow() { return nullptr; }

  int MessageLoop();
  // What the application reports when it has no main window.
  virtual int StartupFailure();

 private:
  std::string name_;
};

}  // namespace orvalen
