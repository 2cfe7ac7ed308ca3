#pragma once
// The configuration dialog of Orvalen.exe: the page tree on the left, one
// page on the right under its heading, and the buttons along the bottom. It
// owns the nine pages, moves values between them and the active profile, and
// starts the interactive slide show.
#include <windows.h>

#include <optional>
#include <string>

#include "config/controls/button_ex_win.h"
#include "config/controls/tree_window_full_row_win.h"
#include "config/option_file_win.h"
#include "config/option_image_win.h"
#include "config/option_pages_win.h"
#include "resources/resource_ids.h"
#include "winapp/common_controls_win.h"
#include "winapp/dialog_win.h"
#include "winapp/handles_win.h"
#include "winapp/page_host_win.h"
#include "winapp/shell_handles_win.h"

namespace orvalen {

class TSC_Configure : public Dialog {
 public:
  // Template 2003 when the dialog has an owner, 2004 (with a minimize box)
  // when it has none.
  explicit TSC_Configure(bool owned);

  // The nine pages in tree order, and the tree texts and headings.
  static constexpr int kPageCount = 9;
  static const char* const kTreeTexts[kPageCount];
  static const char* const kHeadings[kPageCount];

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  std::optional<LRESULT> OnNotify(const NMHDR& header) override;
  bool OnDropFiles(DropHandle files) override;

 private:
  SettingsPage& PageAt(int index);
  void CreateHomeLink();
  void CreatePages();
  void FillTree();
  void SwitchPage();

  // Stores the pages and writes the settings, the list and the texts into
  // the profile at `path`.
  void WriteAllPages(const std::string& path);
  // Fills the settings record from the active profile and every page from it.
  void ReloadAllPages();
  void SaveAndClose();
  void StartSlideShow();
  void OpenHelp();

  TTreeWindowFullRow tree_;
  Font linkFont_;
  ImageList treeImages_;
  TButtonEx homeLink_;
  // Made in OnInit, when the dialog window exists.
  PageHost pages_{*this, IDC_CONFIGURE_PAGE_AREA};

  TOptionImage images_;
  TOptionGen general_;
  TOptionColor effects_;
  TOptionBack background_;
  TOptionCalendar calendar_;
  TOptionText defaultText_;
  TOptionPassword password_;
  TOptionFile profiles_;
  TOptionAbout about_;
};

// Runs the dialog modally with `owner` (0 for none); returns when it closes.
void RunConfigureDialog(HWND owner, bool owned);

}  // namespace orvalen
