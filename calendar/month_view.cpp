#include "calendar/month_view.h"

#include <cstdio>

namespace orvalen {
namespace {

bool InCalendar(const Date& date) {
  return IsValidDate(date) && date.year >= kFirstCalendarYear && date.year <= kLastCalendarYear;
}

// The day number kept when moving to another month: the same day when that
// month has it, else the 30th, 29th or 28th.
Date FitDay(int day, int month, int year) {
  const int last = DaysInMonth(month, year);
  return {day <= last ? day : last, month, year};
}

}  // namespace

int MonthGrid::CellOfDay(int day) const {
  for (int n = 1; n <= kMonthCells; ++n) {
    if (Cell(n).day == day && Cell(n) != kNoDay) return n;
  }
  return 0;
}

MonthGrid BuildMonthGrid(int month, int year) {
  MonthGrid grid;
  grid.cells.fill(kNoDay);
  const int offset = SundayColumn(1, month, year);
  if (offset < 0) return grid;
  grid.firstOffset = offset;
  for (int day = 1; day <= DaysInMonth(month, year); ++day) {
    int cell = offset + day;
    if (cell > kMonthCells) cell -= kMonthCells;
    grid.cells[cell - 1] = Date{day, month, year};
  }
  return grid;
}

Date ClampToCalendar(const Date& date, const Date& today) {
  return InCalendar(date) ? date : today;
}

Date CalendarStartDate(const Date& today) {
  if (!IsValidDate(today)) return {1, 1, kFirstCalendarYear};
  if (today.year < kFirstCalendarYear) return FitDay(today.day, today.month, kFirstCalendarYear);
  if (today.year > kLastCalendarYear) return FitDay(today.day, today.month, kLastCalendarYear);
  return today;
}

Date PreviousMonth(const Date& date) {
  if (!InCalendar(date)) return date;
  if (date.month == 1) {
    if (date.year <= kFirstCalendarYear) return date;
    return FitDay(date.day, 12, date.year - 1);
  }
  return FitDay(date.day, date.month - 1, date.year);
}

Date NextMonth(const Date& date) {
  if (!InCalendar(date)) return date;
  if (date.month == 12) {
    if (date.year >= kLastCalendarYear) return date;
    return FitDay(date.day, 1, date.year + 1);
  }
  return FitDay(date.day, date.month + 1, date.year);
}

Date PreviousYear(const Date& date) {
  if (!InCalendar(date) || date.year <= kFirstCalendarYear) return date;
  return AddDays(date, -365);
}

Date NextYear(const Date& date) {
  if (!InCalendar(date) || date.year >= kLastCalendarYear) return date;
  return AddDays(date, 365);
}

Date ChooseMonth(const Date& date, int month) {
  if (month < 1 || month > 12) return date;
  const int day = date.day <= DaysInMonth(month, date.year) ? date.day : 1;
  return {day, month, date.year};
}

std::string DateButtonText(const Date& date) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3s %d, %d", MonthName(date.month), date.day, date.year);
  return text;
}

std::string WeekdayHeader(int column, int clientWidth) {
  if (column < 0 || column > 6) return {};
  // WeekdayName counts Monday 1 .. Sunday 7; the grid starts on Sunday.
  const std::string name = WeekdayName(column == 0 ? 7 : column);
  return clientWidth < MonthLayout::kWideClient ? name.substr(0, 3) : name;
}

Rect EditorPlacement(const std::string& stored, const Rect& workArea, int captionHeight) {
  const int workWidth = workArea.Width();
  const int workHeight = workArea.Height();
  int values[4] = {-4, -4, workWidth, workHeight};
  std::sscanf(stored.c_str(), "%d,%d,%d,%d", &values[0], &values[1], &values[2], &values[3]);
  const int x = values[0], y = values[1], width = values[2], height = values[3];
  const bool unusable = x < 0 || y < 0 || width > workWidth || height > workHeight ||
                        x > workWidth / 2 || y > workHeight / 2 || width < workWidth / 2 ||
                        height < workHeight / 2;
  if (unusable) {
    return {workArea.left, workArea.top, workArea.right, workArea.bottom - captionHeight};
  }
  return {x, y, x + width, y + height};
}

void MonthLayout::Resize(int width, int height) {
  width_ = width;
  cellWidth_ = (width - 2 * margin_ - 12) / 7;
  cellHeight_ = (height - margin_ - 68) / 5;
  margin_ = (width - 7 * cellWidth_ - 14) / 2;
}

Rect MonthLayout::CancelButton() const {
  const int b = ButtonWidth();
  return {width_ - b - 4, 5, width_ - 4, 30};
}

Rect MonthLayout::OkButton() const {
  const Rect cancel = CancelButton();
  return {cancel.left - 2 - ButtonWidth(), 5, cancel.left - 2, 30};
}

Rect MonthLayout::HeaderColumn(int column) const {
  const int left = margin_ + 2 + column * (cellWidth_ + kCellGap);
  return {left, 40, left + cellWidth_, 56};
}

Rect MonthLayout::CellRect(int cell) const {
  const int left = margin_ + 2 + Column(cell) * (cellWidth_ + kCellGap);
  const int top = kGridTop + Row(cell) * (cellHeight_ + kCellGap);
  return {left, top, left + cellWidth_, top + cellHeight_};
}

Rect MonthLayout::EditorRect(int cell) const {
  const Rect r = CellRect(cell);
  const int left = r.left + 5;
  const int top = r.top + kNumberStrip;
  return {left, top, left + cellWidth_ - 4, top + cellHeight_ - kNumberStrip - 1};
}

int MonthLayout::HitCell(int x, int y) const {
  if (cellWidth_ <= 0 || cellHeight_ <= 0) return 0;
  if (x < margin_ || x > margin_ + 7 * (cellWidth_ + kCellGap)) return 0;
  if (y < kGridTop || y > kGridTop + 5 * (cellHeight_ + kCellGap)) return 0;
  const int row = (y - kGridTop) / (cellHeight_ + kCellGap);
  const int column = (x - margin_) / (cellWidth_ + kCellGap);
  // The grid's right and bottom edges belong to no cell.
  if (row > 4 || column > 6) return 0;
  return row * 7 + column + 1;
}

}  // namespace orvalen
