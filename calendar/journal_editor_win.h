#pragma once
// TRTF_Journal, the in-place journal editor: a rich-edit control whose lines
// each keep one style. Ctrl+B, Ctrl+I and Ctrl+U toggle bold, italic and
// underline on the whole lines the selection touches; Ctrl+C, Ctrl+X and
// Ctrl+V copy, cut and paste, a paste only while the text stays within what a
// day can store. Load and Store convert between the stored journal and the
// control's rich text.
#include <windows.h>

#include <string>

#include "calendar/journal_scratch.h"
#include "winapp/control_win.h"

namespace orvalen {

constexpr char kTooManyLinesMessage[] =
    "Too many lines!\nText limit has been exceed,\nplease delete some text";
constexpr char kJournalScratchMessage[] = "unexpected error!TRTF_Journal::OpenBuffer::file=NULL";
constexpr char kSummaryScratchMessage[] =
    "unexpected error!TRTF_Journal::OpenBuffer::file_Summary=NULL";

class TRTF_Journal : public SubclassedControl {
 public:
  // Makes the rich-edit control as child `id` of `parent`, hidden, in the
  // journal face, with its text limit; false when it could not be made.
  bool Create(HWND parent, int id, HFONT font);

  // Shows a stored journal: its rich text goes to the scratch files and the
  // control loads the journal file. When a scratch file cannot be written or
  // read, the message says which, and the control loads the day's rich text
  // from memory: it never goes on showing another day's text, which a commit
  // would then store under this day.
  void Load(const std::string& stored, JournalScratchFiles& scratch);
  // The stored journal of the control's lines; empty when all are blank.
  std::string Store() const;

  // Set by every key and edit command; cleared when a day is loaded.
  bool DayModified() const { return dayModified_; }
  void ClearModified() { dayModified_ = false; }

  // Whether the stored form of the text stays within its limit: the start of
  // the last line plus 16 characters for each line's attributes.
  bool TextFits() const;
  // Toggles a CFE_* effect on the whole lines the selection touches.
  void ToggleLineStyle(DWORD effect);

 protected:
  LRESULT SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool CheckTextSize();
  LRESULT ControlKey(UINT message, WPARAM wParam, LPARAM lParam);

  bool dayModified_ = false;
};

}  // namespace orvalen
