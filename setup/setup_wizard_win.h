#pragma once
// Setup's windows: the application, the main window, the wizard frame with
// its four pages, and the directory chooser.
#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "resources/setup_ids.h"
#include "setup/install_win.h"
#include "setup/setup_state.h"
#include "winapp/application_win.h"
#include "winapp/com_win.h"
#include "winapp/common_controls_win.h"
#include "winapp/dialog_win.h"
#include "winapp/frame_window_win.h"
#include "winapp/page_host_win.h"
#include "winapp/shell_handles_win.h"

namespace orvalen::setup {

// A page of the wizard: a child dialog that ignores OK, Cancel and close, so
// that only Exit or Done ends the wizard.
class TSetupPage : public Dialog {
 public:
  TSetupPage(int templateId, SetupState& state) : Dialog(templateId), state_(state) {}

 protected:
  bool OnCommand(int id, int notifyCode, HWND control) override;
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The page's own buttons; true when handled.
  virtual bool OnPageCommand(int) { return false; }

  SetupState& state_;
};

// The options page.
class TSetupWelcom : public TSetupPage {
 public:
  explicit TSetupWelcom(SetupState& state);
  // Copies the three check boxes into the state.
  void ReadChoices();

 protected:
  bool OnInit() override;
  bool OnPageCommand(int id) override;

 private:
  void StartSourceProgram(const std::string& arguments);
};

// The directory page.
class TPage1 : public TSetupPage {
 public:
  explicit TPage1(SetupState& state);

 protected:
  bool OnPageCommand(int id) override;
};

// The copy page, where the installation shows its progress.
class TSetupCopy : public TSetupPage, public InstallProgress {
 public:
  explicit TSetupCopy(SetupState& state);
  void SetText(int controlId, const char* text) override;
  void Redraw() override;
};

class TSetupFinished : public TSetupPage {
 public:
  explicit TSetupFinished(SetupState& state);
  // Replaces the text that says the installation is complete.
  void SetOutcomeText(const char* text);
  bool LaunchControlPanel() const;
};

// The directory chooser: the shell's folder tree and the path to install to.
class TDirDialog : public Dialog {
 public:
  explicit TDirDialog(std::string path);
  const std::string& Path() const { return path_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  std::optional<LRESULT> OnNotify(const NMHDR& header) override;

 private:
  TreeView Tree() const;
  void AddChildren(HTREEITEM parent, LPCITEMIDLIST folder);
  void OnOk();

  std::string path_;
  // The absolute item id list of every node; the tree's item data points here.
  std::deque<ItemIdList> nodes_;
};

class TSetupWindow;

// The wizard frame: Back, Next, Exit/Done and the pages over placeholder 900.
class TSetup : public Dialog {
 public:
  TSetup(SetupState& state, TSetupWindow& mainWindow);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  void ShowPages();
  void Next();
  void Back();
  void ExitOrDone();
  void RunRemove();

  SetupState& state_;
  TSetupWindow& mainWindow_;
  std::unique_ptr<ComScope> com_;
  TSetupWelcom welcome_;
  TPage1 directory_;
  TSetupCopy copy_;
  TSetupFinished finished_;
  // Made in OnInit: the host keeps a view of the frame's window.
  PageHost pages_{*this, IDC_FRAME_PLACEHOLDER};
  bool pagesMade_ = false;
};

// The main window "Setup Orvalen" that holds the wizard frame.
class TSetupWindow : public FrameWindow {
 public:
  explicit TSetupWindow(SetupState& state);
  bool Create(int showCommand);
  // Ends the program without asking.
  void End();

 protected:
  const char* ClassName() const override { return "OrvalenSetupWindow"; }
  void GetClassAttributes(WNDCLASSEXA& attributes) const override;
  void OnSetup() override;
  bool QueryClose() override;
  void OnDestroy() override;
  bool FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  SetupState& state_;
  TSetup frame_;
};

class TQRLSetupApp : public Application {
 public:
  explicit TQRLSetupApp(int showCommand);

 protected:
  Window* InitMainWindow() override;

 private:
  SetupState state_;
  int showCommand_;
  std::unique_ptr<TSetupWindow> window_;
};

}  // namespace orvalen::setup
