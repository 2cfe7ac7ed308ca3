#pragma once
// The calendar editor window: TDialogN holds the document (the open calendar
// file, the file commands, the file menu with its recent files and the
// question about unsaved changes); TMwd, derived from it, is the month view
// with the grid of days, the navigation and the in-place journal editor.
#include <windows.h>

#include <memory>
#include <string>

#include "base/profile.h"
#include "calendar/calendar_buffer.h"
#include "calendar/journal_editor_win.h"
#include "calendar/journal_scratch.h"
#include "calendar/month_view.h"
#include "calendar/recent_files.h"
#include "config/controls/button_ex_win.h"
#include "winapp/dialog_win.h"
#include "winapp/handles_win.h"
#include "winapp/rich_edit_win.h"

namespace orvalen {

// The program ends with this code when the working buffer cannot be made.
constexpr UINT kBufferFailureExitCode = 18;

constexpr char kNoFileMessage[] = "No file exists!\nPlease Open or select a New file";

// What the editor works with, supplied by its caller.
struct CalendarEditorContext {
  // The calendar file the saver shows: opened at the start, set to the
  // editor's file when it closes.
  std::string* calendarFile = nullptr;
  // The active settings profile, holding the recent files.
  Profile* profile = nullptr;
  // The program's folder: the current folder again after each file dialog.
  std::string programDir;
};

class TDialogN : public Dialog {
 public:
  explicit TDialogN(CalendarEditorContext context);
  ~TDialogN() override;

  bool FileOpen() const { return buffer_.IsOpen(); }
  const std::string& FilePath() const { return buffer_.FilePath(); }
  bool DocumentModified() const { return documentModified_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnDestroy() override;

  // Writes the selected day into the working buffer when it was edited.
  virtual void CommitDay() {}
  // Forgets the selected day and redraws the month.
  virtual void ResetView() {}

  // The modified question; false when the user cancelled.
  bool AskToSave();
  void ShowNoFile();
  void ShowFileMenu();
  bool Save();
  void SetCaptionToPath();
  void StorePath();

  CalendarWorkBuffer buffer_;
  CalendarEditorContext context_;
  TRecentFilesEx recentFiles_;
  bool documentModified_ = false;
  bool closing_ = false;

 private:
  void New();
  void Open();
  bool OpenPath(const std::string& path);
  // The message of a failed open or create; ends the program when the
  // working buffer failed.
  void ReportOpenFailure(CalendarResult result, const std::string& path);
  void SaveAs();
  void Backup();
  void OpenRecent(int command);
  void SaveAndClose();
  void Close();
  // Runs a file dialog from the open file's folder, back in the program's
  // folder afterwards; the chosen path, empty when cancelled.
  std::string AskForFile(bool save, const char* title, const char* filter);
};

class TMwd : public TDialogN {
 public:
  explicit TMwd(CalendarEditorContext context);
  ~TMwd() override;

  const Date& CurrentDate() const { return current_; }
  int SelectedCell() const { return selected_; }
  const MonthGrid& Grid() const { return grid_; }
  const MonthLayout& Layout() const { return layout_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnSize(UINT type, int width, int height) override;
  bool OnGetMinMaxInfo(MINMAXINFO& info) override;
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void CommitDay() override;
  void ResetView() override;

 private:
  void CreateControls();
  void PlaceControls();
  void Navigate(const Date& date);
  void SelectAt(int x, int y);
  void ShowMonthMenu();
  void Paint(HDC dc);
  void UpdateDateButton();
  // Opens the selected day in the zoom dialog and takes its journal back.
  void Zoom();

  Date current_;
  MonthGrid grid_;
  MonthLayout layout_;
  int selected_ = -1;
  bool dayModified_ = false;
  TButtonEx fileButton_;
  TButtonEx previousButton_;
  TButtonEx dateButton_;
  TButtonEx nextButton_;
  TButtonEx zoomButton_;
  TRTF_Journal journal_;
  // The journal's scratch files, beside the working buffer; deleted with the editor.
  JournalScratchFiles scratch_;
  Font dayFont_;
  Font textFont_;
};

}  // namespace orvalen
