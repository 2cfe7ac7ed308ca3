// The overlays around the picture: date, time, image name, run times, the
// month calendar and the day text from the calendar file or the profile.
#include <cstdio>
#include <cstring>

#include "calendar/calendar_date.h"
#include "calendar/calendar_text.h"
#include "saver/overlay_text.h"
#include "saver/process_state.h"
#include "saver/saver_fonts_win.h"
#include "saver/saver_window_win.h"
#include "saver/settings.h"
#include "winapp/file_access_win.h"
#include "winapp/private_profile.h"

namespace orvalen {
namespace {

constexpr COLORREF kDateTimeColor = 0x646E78;
constexpr COLORREF kRunTimeColor = 0x505A64;
constexpr COLORREF kMonthColor = 0x646464;
constexpr int kLineHeight = 14;
constexpr int kMaxLines = 101;

void TextAt(HDC dc, int x, int y, const std::string& text) {
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

std::string Format(const char* format, const char* a, int b) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

void DrawTextIn(HDC dc, const std::string& text, int left, int top, int right, int bottom, UINT flags) {
  RECT r{left, top, right, bottom};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

}  // namespace

void TSaver::BuildCalendarIndex() {
  SaverSettings& settings = Settings();
  calendarOpen_ = false;
  calendar_.Close();
  if (SortsBelowBlanks(settings.calendarFile, 3)) return;
  const LocalTime now = clock_->Now();
  if (!calendar_.Open(settings.calendarFile.c_str(), now.year, Win32FileAccess())) {
    settings.calendarFile.clear();
    PrivateProfile profile(Startup().activeProfilePath);
    profile.WriteString(profile_keys::kSettings, profile_keys::kCalendarFileName, "");
    profile.Flush();
    return;
  }
  calendarOpen_ = true;
}

void TSaver::DrawOverlays(HDC dc) {
  // The strip below the band carries nothing but these overlays, and they
  // are drawn where the last picture's were: a shorter weekday or time would
  // leave the end of the longer one, and the month calendar, drawn
  // transparently, would lie over the old month with yesterday still bold.
  PatBlt(dc, 0, calendarBand_.bottom, screenRect_.Width(), screenRect_.bottom - calendarBand_.bottom, BLACKNESS);
  DrawDateTime(dc);
  DrawRunTimes(dc);
  DrawCalendarPanel(dc);
}

void TSaver::DrawDateTime(HDC dc) {
  const SaverSettings& settings = Settings();
  const LocalTime now = clock_->Now();
  const int y0 = calendarBand_.bottom + 28;
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, kDateTimeColor);

  char day[16];
  std::snprintf(day, sizeof day, "%d", now.day);
  SIZE dayExtent{};
  {
    Font big = MakeFont("Arial", 30, 800);
    SelectionScope select(dc, big.Get());
    GetTextExtentPoint32A(dc, day, static_cast<int>(std::strlen(day)), &dayExtent);
    if (settings.showDate) TextAt(dc, 0, y0 - 4, day);
  }
  Font font = PanelFont();
  SelectionScope select(dc, font.Get());
  if (settings.showDate) {
    const int weekday = Weekday(now.day, now.month, now.year);
    TextAt(dc, dayExtent.cx + 1, y0, WeekdayName(weekday));
    TextAt(dc, dayExtent.cx + 1, y0 + 12, Format("%s %d", MonthName(now.month), now.year));
  }
  if (settings.showTime) TextAt(dc, 0, y0 + 28, FormatClockTime(now.hour, now.minute));
  if (settings.showImageName) {
    PatBlt(dc, 0, calendarBand_.top - 17, screenRect_.Width(), 16, BLACKNESS);
    SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
    TextAt(dc, calendarBand_.right, calendarBand_.top - 2, ImageNameLine(sequence_.CurrentIndex(), currentFileName_));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
  }
}

void TSaver::DrawRunTimes(HDC dc) {
  if (!Settings().showRunTime) return;
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 0));
  SetTextColor(dc, kRunTimeColor);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  Font font = PanelFont();
  SelectionScope select(dc, font.Get());
  const uint32_t ticks = clock_->Ticks();
  TextAt(dc, 0, calendarBand_.bottom + 2, WindowsRunTimeLine(ticks));
  TextAt(dc, 0, calendarBand_.bottom + 14, SaverRunTimeLine(ticks - startTick_));
}

bool TSaver::LookUpShownDay() {
  dayText_.clear();
  appointmentText_.clear();
  if (!calendarOpen_) return false;
  return calendar_.Lookup(DayOfYear(shownDate_) - 1, dayText_, appointmentText_);
}

void TSaver::ComposeDayDefaultText() {
  defaultTextMode_ = true;
  dayText_.clear();
  appointmentText_.clear();
  PrivateProfile profile(Startup().activeProfilePath);
  char weekdayKey[8];
  std::snprintf(weekdayKey, sizeof weekdayKey, "%d", Weekday(shownDate_));
  const std::string weekdayText = profile.GetString(profile_keys::kDefaultText, weekdayKey, "", 999);
  const std::string imageText =
      profile.GetString(profile_keys::kImageText, ImageKey(sequence_.CurrentIndex()).c_str(), "", 999);
  dayText_ = ComposeDefaultText(DecodeForSaver(imageText), DecodeForSaver(weekdayText));
}

void TSaver::DrawCalendarPanel(HDC dc) {
  const SaverSettings& settings = Settings();
  defaultTextMode_ = false;
  if (!settings.useCalendarFile || !LookUpShownDay() ||
      (SortsBelowBlanks(dayText_, 7) && SortsBelowBlanks(appointmentText_, 7))) {
    ComposeDayDefaultText();
  }
  const LocalTime now = clock_->Now();
  DrawMonth(dc, now.month, now.year, screenRect_.Width() - 140, calendarBand_.bottom + 2, 140);

  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  SetTextColor(dc, settings.calendarTextColor);
  Font font = PanelFont();
  SelectionScope select(dc, font.Get());
  const int x = textPanel_.left + 2;
  const int y = textPanel_.top + 2;
  const int w = imageRect_.left - x - 4;
  const int h = textPanel_.Height() - 30;
  if (defaultTextMode_) {
    DrawTextIn(dc, dayText_, x, y, x + w, y + h + 19, DT_WORDBREAK | DT_NOPREFIX);
    return;
  }
  char heading[128];
  std::snprintf(heading, sizeof heading, "%s, %s %d, %d:", WeekdayName(Weekday(shownDate_)),
                MonthName(shownDate_.month), shownDate_.day, shownDate_.year);
  TextAt(dc, x, y, heading);
  const int journalLines = DrawJournalLines(dc, x, y + 25, w, h);
  DrawAppointmentLines(dc, x, y + 25 + kLineHeight * journalLines, w, h - kLineHeight * journalLines);
}

int TSaver::DrawJournalLines(HDC dc, int x, int y, int w, int h) {
  int drawn = 0;
  for (const JournalLine& line : ParseJournalLines(dayText_)) {
    if (drawn >= kMaxLines || h < kLineHeight * (drawn + 1)) break;
    Font font = PanelFont(FW_BOLD, line.flags & kStyleItalic, line.flags & kStyleUnderline,
                         line.flags & kStyleStrikeOut);
    SelectionScope select(dc, font.Get());
    DrawTextIn(dc, line.text, x, y + kLineHeight * drawn, x + w, y + h - 6, DT_NOPREFIX);
    ++drawn;
  }
  return drawn;
}

void TSaver::DrawAppointmentLines(HDC dc, int x, int y, int w, int h) {
  int drawn = 0;
  for (const HourLine& line : ParseHourLines(appointmentText_)) {
    if (drawn >= kMaxLines || h < kLineHeight * drawn) break;
    Font font = PanelFont(FW_BOLD, line.flags & kStyleItalic, line.flags & kStyleUnderline,
                         line.flags & kStyleStrikeOut);
    SelectionScope select(dc, font.Get());
    const std::string text = SlotTime(line.slot, kSlotMarkerBehind) + ": " + line.text;
    DrawTextIn(dc, text, x, y + kLineHeight * drawn, x + w, y + h - 6, DT_NOPREFIX);
    ++drawn;
  }
}

void TSaver::DrawMonth(HDC dc, int month, int year, int x, int y, int width) {
  if (!Settings().showMiniCalendar) return;
  const int cw = width / 7;
  const int ruleEnd = x + static_cast<int>(6.5L * cw);
  Pen pen(CreatePen(PS_SOLID, 1, kMonthColor));
  SelectionScope selectPen(dc, pen.Get());
  SetTextColor(dc, kMonthColor);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  Font bold = PanelFont(FW_BOLD);
  Font normal = PanelFont(FW_NORMAL);
  SelectionScope selectFont(dc, bold.Get());

  TextAt(dc, x, y, Format("%s %d", MonthName(month), year));
  SIZE s{};
  GetTextExtentPoint32A(dc, "S", 1, &s);
  MoveToEx(dc, x, y + 16, nullptr);
  LineTo(dc, ruleEnd, y + 16);
  // Columns Sunday .. Saturday; weekday names are numbered from Monday.
  for (int column = 0; column < 7; ++column) {
    const char initial[2] = {WeekdayName(column == 0 ? 7 : column)[0], '\0'};
    TextAt(dc, x + column * cw, y + 18, initial);
  }
  MoveToEx(dc, x, y + s.cy + 19, nullptr);
  LineTo(dc, ruleEnd, y + s.cy + 19);

  const LocalTime now = clock_->Now();
  int column = SundayColumn(1, month, year);
  int row = 0;
  for (int day = 1; day <= DaysInMonth(month, year); ++day) {
    const bool today = day == now.day && month == now.month && year == now.year;
    SelectObject(dc, today ? bold.Get() : normal.Get());
    char number[8];
    std::snprintf(number, sizeof number, "%i", day);
    TextAt(dc, x + column * cw, y + 34 + row * 13, number);
    if (++column > 6) {
      column = 0;
      ++row;
    }
  }
  SelectObject(dc, bold.Get());
}

}  // namespace orvalen
