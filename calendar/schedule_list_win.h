#pragma once
// TScheduleList paints the day cells of the month view on one device context:
// the cell's frame, its day number (today's on yellow), then the day's journal
// lines and its appointment lines, each line in its own style.
#include <windows.h>

#include <string>

#include "calendar/calendar_date.h"
#include "calendar/month_view.h"
#include "winapp/handles_win.h"

namespace orvalen {

class TScheduleList {
 public:
  // At 96 DPI; the lines' font, their pitch and the strip above them grow
  // with the display's DPI.
  static constexpr int kLineHeight = 13;

  // `numberFont` is the bold day-number face; the layout gives the cells.
  TScheduleList(HDC dc, const MonthLayout& layout, const Date& today, HFONT numberFont);
  TScheduleList(const TScheduleList&) = delete;
  TScheduleList& operator=(const TScheduleList&) = delete;

  // Makes cell n (1..35) the one the following calls draw into.
  void Position(int cell);
  // Fills the cell, in the window colour when selected, and frames it: raised
  // when not selected, sunk when selected.
  void DrawFrame(bool selected);
  void DrawNumber(const Date& day);
  // Each returns the line number the next lines start on.
  int DrawJournal(const std::string& journal, int firstLine);
  int DrawAppointments(const std::string& hours, int firstLine);

 private:
  template <typename Lines>
  int DrawLines(const Lines& lines);

  HDC dc_;
  const MonthLayout& layout_;
  Date today_;
  HFONT numberFont_;
  Pen light_;
  Pen shadow_;
  Rect cell_{};
  int lineHeight_;   // kLineHeight on this display
  int numberStrip_;  // MonthLayout::kNumberStrip on this display
};

}  // namespace orvalen
