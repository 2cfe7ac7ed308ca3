#pragma once
// The calendar editor window: TDialogN holds the document (the open calendar
// file, the file commands, the file menu with its recent files and the
// question about unsaved changes); TMwd, derived from it, is the month view
// with the grid of days, the navigation and the in-place journal editor.
#include <windows.h>

#include <memory>
#include <optional>
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

constexpr char kNoFileMessage[] = "No file exists!\nPlease Open or select a New file";

// What the editor works with, supplied by its caller.
// The stem of the names of one editor's temporary files: a name in the
// system's temporary folder, unique to this editor, under which an empty file
// now stands (the working buffer takes that name plus ".tmp"); empty when
// none can be made there.
std::string EditorTempStem();

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
  const std::string& BufferPath() const { return buffer_.BufferPath(); }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  void OnDestroy() override;

  // Writes the selected day into the working buffer when it was edited;
  // false when that failed (the day stays selected and edited).
  virtual bool CommitDay() { return true; }
  // Deletes the temporary files (the working buffer with the others).
  virtual void RemoveTemporaryFiles();
  // Forgets the selected day and redraws the month.
  virtual void ResetView() {}

  // The modified question; false when the user cancelled.
  bool AskToSave();
  void ShowNoFile();
  void ShowFileMenu();
  bool Save();
  void SetCaptionToPath();
  void StorePath();
  // Shows the buffer failure and closes the editor; the program goes on.
  void CloseForBufferFailure(const char* text, const char* caption);
  // Windows is ending: the modified question (Cancel keeps Windows running),
  // then, once it ends, the temporary files go.
  bool OnQueryEndSession();
  void OnEndSession(bool ending);

  // The working buffer's name stem in the temporary folder.
  std::string tempStem_;
  CalendarWorkBuffer buffer_;
  CalendarEditorContext context_;
  TRecentFilesEx recentFiles_;
  bool documentModified_ = false;
  bool closing_ = false;
  // The working buffer failed; the editor is closing.
  bool broken_ = false;

  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void New();
  void Open();
  // Opens a calendar file; `remember` puts it first among the recent files.
  CalendarResult OpenPath(const std::string& path, bool remember = true);
  // The message of a failed open or create; closes the editor when the
  // working buffer failed.
  void ReportOpenFailure(CalendarResult result, const std::string& path);
  // The name typed in New or Save As with the calendar extension; empty when
  // the extension had to be added and the user would not replace the file
  // already called that.
  std::string CalendarName(const std::string& chosen, const char* title);
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
  const JournalScratchFiles& Scratch() const { return scratch_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  bool OnSize(UINT type, int width, int height) override;
  bool OnGetMinMaxInfo(MINMAXINFO& info) override;
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool CommitDay() override;
  void ResetView() override;
  void RemoveTemporaryFiles() override;

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
  // The journal's scratch files, named after the working buffer; deleted
  // with the editor.
  JournalScratchFiles scratch_;
  bool committing_ = false;
  Font dayFont_;
  Font textFont_;
};

}  // namespace orvalen
