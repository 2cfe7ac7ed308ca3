#pragma once
// TMwdZoom shows one day of the calendar editor large: a header with the
// columns "Journal" and "Appointments", the journal editor under the first,
// a framed area under the second. OK takes the edited journal into the day's
// texts; the editor then stores them.
#include <windows.h>

#include "calendar/calendar_date.h"
#include "calendar/calendar_file.h"
#include "calendar/journal_editor_win.h"
#include "calendar/schedule_lines.h"
#include "winapp/dialog_win.h"
#include "winapp/handles_win.h"

namespace orvalen {

class TMwdZoom : public Dialog {
 public:
  // Copies of the day's texts; the scratch files are the editor's.
  TMwdZoom(const Date& day, DayTexts texts, JournalScratchFiles& scratch);

  // Whether OK closed the dialog.
  bool Confirmed() const { return confirmed_; }
  // Whether the journal was edited.
  bool JournalModified() const { return modified_; }
  // The day's texts, the journal as stored at OK.
  const DayTexts& Texts() const { return texts_; }
  ZoomColumns Columns() const { return columns_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  std::optional<LRESULT> OnNotify(const NMHDR& header) override;
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The area under the header, above the buttons.
  RECT Area() const;
  void PlaceColumns();
  void ShowColumnMenu();

  Date day_;
  DayTexts texts_;
  JournalScratchFiles& scratch_;
  TRTF_Journal journal_;
  Font font_;
  ZoomColumns columns_ = ZoomColumns::kBoth;
  bool confirmed_ = false;
  bool modified_ = false;
};

}  // namespace orvalen
