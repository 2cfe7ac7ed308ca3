#include "calendar/schedule_list_win.h"

#include <cstdio>
#include <cstring>

#include "calendar/calendar_text.h"
#include "calendar/schedule_lines.h"
#include "winapp/dpi_win.h"

namespace orvalen {
namespace {

constexpr COLORREF kDayNumberColor = RGB(0, 0, 128);
constexpr COLORREF kTodayColor = RGB(255, 255, 0);

HFONT LineFont(int flags) {
  return CreateScaledFont(12, flags & kStyleBold ? FW_BOLD : FW_NORMAL, (flags & kStyleItalic) != 0,
                          (flags & kStyleUnderline) != 0, (flags & kStyleStrikeOut) != 0, ANSI_CHARSET,
                          DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

}  // namespace

TScheduleList::TScheduleList(HDC dc, const MonthLayout& layout, const Date& today,
                             HFONT numberFont)
    : dc_(dc),
      layout_(layout),
      today_(today),
      numberFont_(numberFont),
      light_(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT))),
      shadow_(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW))),
      lineHeight_(ScaledPixels(kLineHeight)),
      numberStrip_(ScaledPixels(MonthLayout::kNumberStrip)) {}

void TScheduleList::Position(int cell) { cell_ = layout_.CellRect(cell); }

void TScheduleList::DrawFrame(bool selected) {
  const RECT area{cell_.left, cell_.top, cell_.right, cell_.bottom};
  FillRect(dc_, &area, GetSysColorBrush(selected ? COLOR_WINDOW : COLOR_BTNFACE));
  const int right = cell_.right - 1;
  const int bottom = cell_.bottom - 1;
  {
    SelectionScope pen(dc_, (selected ? shadow_ : light_).Get());
    MoveToEx(dc_, cell_.left, bottom, nullptr);
    LineTo(dc_, cell_.left, cell_.top);
    LineTo(dc_, right, cell_.top);
  }
  SelectionScope pen(dc_, (selected ? light_ : shadow_).Get());
  MoveToEx(dc_, right, cell_.top, nullptr);
  LineTo(dc_, right, bottom);
  LineTo(dc_, cell_.left - 1, bottom);
}

void TScheduleList::DrawNumber(const Date& day) {
  char number[8];
  std::snprintf(number, sizeof number, "%d", day.day);
  SelectionScope font(dc_, numberFont_);
  SetTextColor(dc_, kDayNumberColor);
  if (day == today_) {
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, kTodayColor);
  } else {
    SetBkMode(dc_, TRANSPARENT);
  }
  TextOutA(dc_, cell_.left + 3, cell_.top + 2, number, static_cast<int>(std::strlen(number)));
  SetBkMode(dc_, TRANSPARENT);
}

template <typename Lines>
int TScheduleList::DrawLines(const Lines& lines) {
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, RGB(0, 0, 0));
  for (const ScheduleLine& line : lines.lines) {
    const int top = cell_.top + numberStrip_ + lineHeight_ * line.line;
    RECT area{cell_.left + 3, top, cell_.right - 2, cell_.bottom - 2};
    if (area.top >= area.bottom) break;
    Font font(LineFont(line.flags));
    SelectionScope scope(dc_, font.Get());
    DrawTextA(dc_, line.text.c_str(), -1, &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  return lines.next;
}

int TScheduleList::DrawJournal(const std::string& journal, int firstLine) {
  return DrawLines(JournalScheduleLines(journal, firstLine));
}

int TScheduleList::DrawAppointments(const std::string& hours, int firstLine) {
  return DrawLines(HourScheduleLines(hours, firstLine));
}

}  // namespace orvalen
