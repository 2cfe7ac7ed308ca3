#pragma once
// The calendar editor's month view without the platform: which date each of
// the 35 day cells holds, the moves between months and years, the date
// button's text and the arithmetic that places buttons and cells in the
// client area.
#include <array>
#include <string>

#include "base/geometry.h"
#include "calendar/calendar_date.h"

namespace orvalen {

constexpr int kMonthCells = 35;
// The date a cell without a day holds.
constexpr Date kNoDay{1, 1, 1900};

struct MonthGrid {
  int firstOffset = 0;  // column of the first of the month, Sunday 0 .. Saturday 6
  // Cell n (1..35) is cells[n - 1]. Days that would fall into cells 36 and 37
  // take cells 1 and 2, which a month that long leaves free.
  std::array<Date, kMonthCells> cells{};

  const Date& Cell(int n) const { return cells[n - 1]; }
  bool HasDay(int n) const { return n >= 1 && n <= kMonthCells && Cell(n) != kNoDay; }
  // The cell showing `day` of the month, 0 when the month has no such day.
  int CellOfDay(int day) const;
};

MonthGrid BuildMonthGrid(int month, int year);

// The editor's date: one of 1996..2019, otherwise today's date.
Date ClampToCalendar(const Date& date, const Date& today);
// The date the editor starts on: today, moved into the nearest year the
// calendar holds when today lies outside 1996..2019 (29 February becomes the 28th).
Date CalendarStartDate(const Date& today);

// A month earlier or later, keeping the day number when the month has it,
// else the 30th, 29th or 28th; January 1996 and December 2019 stay put.
Date PreviousMonth(const Date& date);
Date NextMonth(const Date& date);
// 365 days back (only after 1996) or forward (only up to 2018).
Date PreviousYear(const Date& date);
Date NextYear(const Date& date);
// `month` of the date's year, keeping the day number when it exists, else day 1.
Date ChooseMonth(const Date& date, int month);

// "Jan 15, 1998".
std::string DateButtonText(const Date& date);
// "Sunday" .. "Saturday" for columns 0..6, or their first three letters when
// the client area is narrower than 500 pixels.
std::string WeekdayHeader(int column, int clientWidth);

// The editor window's rectangle from the profile's "x,y,width,height" text
// (read as "%d,%d,%d,%d"; missing numbers keep -4, -4 and the work area's
// size). A rectangle that starts off the work area or beyond its middle, or
// is larger than it or smaller than half of it, gives the whole work area
// less a caption's height.
Rect EditorPlacement(const std::string& stored, const Rect& workArea, int captionHeight);

// Where the month view puts things in a client area.
class MonthLayout {
 public:
  static constexpr int kGridTop = 60;
  static constexpr int kCellGap = 2;
  static constexpr int kNumberStrip = 16;
  static constexpr int kWideClient = 500;

  // Recomputes cell size and margin for a client area; the margin is derived
  // from the previous one, so the same size twice may move the grid once.
  void Resize(int width, int height);

  int Margin() const { return margin_; }
  int CellWidth() const { return cellWidth_; }
  int CellHeight() const { return cellHeight_; }
  int ClientWidth() const { return width_; }

  // 90 pixels wide above 500 pixels of client width, 60 otherwise.
  int ButtonWidth() const { return width_ > kWideClient ? 90 : 60; }
  Rect CancelButton() const;
  Rect OkButton() const;
  // The buttons along the top, placed from the margin.
  Rect FileButton() const { return {margin_, 5, margin_ + 25, 30}; }
  Rect PreviousButton() const { return {margin_ + 35, 5, margin_ + 60, 30}; }
  Rect DateButton() const { return {margin_ + 62, 5, margin_ + 192, 30}; }
  Rect NextButton() const { return {margin_ + 194, 5, margin_ + 219, 30}; }
  // The weekday header strip.
  Rect Header() const { return {margin_ + 2, 36, width_ - margin_ + 1, 56}; }
  // The column (0..6) of the header a weekday name is centred over.
  Rect HeaderColumn(int column) const;

  static int Column(int cell) { return cell % 7 == 0 ? 6 : cell % 7 - 1; }
  static int Row(int cell) { return (cell - 1) / 7; }
  Rect CellRect(int cell) const;
  // Where the journal editor goes over a selected cell.
  Rect EditorRect(int cell) const;
  // The cell (1..35) under a point, 0 outside the grid.
  int HitCell(int x, int y) const;

 private:
  int margin_ = 5;
  int width_ = 0;
  int cellWidth_ = 0;
  int cellHeight_ = 0;
};

}  // namespace orvalen
