#pragma once
// "Profiles": which settings file is being edited, and New, Open, Save and
// Save As. The page only chooses files; the configuration dialog reloads
// every page from, or writes every page into, the active profile when the
// page sends it CM_PROFILE_RELOAD or CM_PROFILE_SAVE.
#include <windows.h>

#include <string>

#include "config/controls/button_ex_win.h"
#include "config/settings_page_win.h"

namespace orvalen {

class TOptionFile : public SettingsPage {
 public:
  TOptionFile();
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings&) override {}

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  void NewFile();
  void OpenFile();
  void SaveAs();
  // Tells the configuration dialog (the page's parent).
  void Notify(int command);

  TButtonEx buttons_[4];
};

}  // namespace orvalen
