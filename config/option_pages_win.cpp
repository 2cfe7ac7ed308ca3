#include "config/option_pages_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>

#include "base/geometry.h"
#include "calendar/calendar_editor_win.h"
#include "config/command_ids.h"
#include "config/page_rules.h"
#include "config/x_file_open_dialog_win.h"
#include "imaging/extended_dib_win.h"
#include "resources/resource_ids.h"
#include "saver/process_state.h"
#include "saver/startup_win.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/file_access_win.h"
#include "winapp/private_profile.h"
#include "winapp/dpi_win.h"

namespace orvalen {
namespace {

constexpr size_t kFileNameChars = 259;
constexpr size_t kTypedNumberChars = 9;
constexpr size_t kDefaultTextChars = 999;
// A name counts as given when it sorts above this many blanks.
constexpr size_t kBlankRun = 10;

COLORREF ToColorRef(ColorRef color) { return static_cast<COLORREF>(color); }
ColorRef FromColorRef(COLORREF color) { return static_cast<ColorRef>(color); }

std::string LimitedText(const WindowView& item, size_t maxChars) {
  std::string text = item.Text();
  if (text.size() > maxChars) text.resize(maxChars);
  return text;
}

// Whether the image file loads through the graphics library (the image is
// made and thrown away: only the verdict counts).
bool ImageLoads(const std::string& path) {
  TExtendedDib probe(path.c_str());
  return LastLoadSucceeded();
}


}  // namespace

// ---- shared ------------------------------------------------------------------

std::string UserGuidePath() { return Startup().programDir + kUserGuideFile; }

void OpenWithShell(const std::string& target) {
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

HFONT CreatePageFont(bool underline) {
  return CreateScaledFont(12, FW_BOLD, false, underline, false, ANSI_CHARSET, DEFAULT_PITCH | FF_SWISS,
                          "MS Sans Serif");
}

// ---- general -------------------------------------------------------------------

TOptionGen::TOptionGen() : SettingsPage(IDD_GENERAL) {}

bool TOptionGen::OnInit() {
  const NumericEditRule rule{2, 100, 1, NumericFormat::kInteger};
  delay_.AttachItem(*this, IDC_GENERAL_DELAY);
  delay_.SetRule(rule);
  recycle_.AttachItem(*this, IDC_GENERAL_RECYCLE);
  recycle_.SetRule(rule);
  Load(Settings());
  return true;
}

void TOptionGen::Load(const SaverSettings& settings) {
  Item(IDC_GENERAL_CENTER).SetCheck(settings.display == 3);
  Item(IDC_GENERAL_FIT).SetCheck(settings.display == 4);
  Item(IDC_GENERAL_SHOW_CALENDAR).SetCheck(settings.drawCalendar);
  Item(IDC_GENERAL_REMEMBER_LAST).SetCheck(settings.startFromLastImage);
  Item(IDC_GENERAL_DELAY).SetText(std::to_string(settings.delaySeconds));
  Item(IDC_GENERAL_RECYCLE).SetText(std::to_string(settings.maxImages));
}

void TOptionGen::Store(SaverSettings& settings) {
  if (Item(IDC_GENERAL_CENTER).Checked()) {
    settings.display = 3;
  } else if (Item(IDC_GENERAL_FIT).Checked()) {
    settings.display = 4;
  }
  settings.drawCalendar = Item(IDC_GENERAL_SHOW_CALENDAR).Checked();
  settings.startFromLastImage = Item(IDC_GENERAL_REMEMBER_LAST).Checked();
  settings.delaySeconds = LeadingInteger(Item(IDC_GENERAL_DELAY).Text(), kTypedNumberChars);
  settings.maxImages = LeadingInteger(Item(IDC_GENERAL_RECYCLE).Text(), kTypedNumberChars);
}

// ---- effects -------------------------------------------------------------------

namespace {

constexpr int kTransitionIds[] = {IDC_EFFECTS_SIMPLE_ERASE, IDC_EFFECTS_BLEND, IDC_EFFECTS_FADE};
constexpr int kEdgeIds[] = {IDC_EFFECTS_NO_EDGES, IDC_EFFECTS_EDGES_BLACK,
                            IDC_EFFECTS_EDGES_SILVER};

void LoadRadioGroup(const WindowView& page, const int (&ids)[3], int value) {
  for (int i = 0; i < 3; ++i) page.Item(ids[i]).SetCheck(i == value);
}

int StoreRadioGroup(const WindowView& page, const int (&ids)[3]) {
  if (page.Item(ids[1]).Checked()) return 1;
  if (page.Item(ids[2]).Checked()) return 2;
  return 0;
}

void SetUpSlider(const WindowView& slider, int minimum, int maximum) {
  slider.Send(TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
  slider.Send(TBM_SETTICFREQ, 10, 0);
  slider.Send(TBM_SETLINESIZE, 0, 10);
  slider.Send(TBM_SETPAGESIZE, 0, 10);
}

int SliderPosition(const WindowView& slider) {
  return static_cast<int>(slider.Send(TBM_GETPOS));
}

}  // namespace

TOptionColor::TOptionColor() : SettingsPage(IDD_EFFECTS) {}

bool TOptionColor::OnInit() {
  const DWORD style = WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM;
  brightness_.CreateOver(*this, IDC_EFFECTS_BRIGHTNESS, TRACKBAR_CLASSA, style);
  gamma_.CreateOver(*this, IDC_EFFECTS_GAMMA, TRACKBAR_CLASSA, style);
  SetUpSlider(brightness_, 0, 100);
  SetUpSlider(gamma_, 50, 150);
  Load(Settings());
  return true;
}

void TOptionColor::Load(const SaverSettings& settings) {
  Item(IDC_EFFECTS_GRAYSCALE).SetCheck(settings.grayscale);
  Item(IDC_EFFECTS_ACCURATE_SIZE).SetCheck(settings.accurateSize);
  LoadRadioGroup(*this, kTransitionIds, settings.transition);
  LoadRadioGroup(*this, kEdgeIds, settings.edges);
  brightness_.Send(TBM_SETPOS, TRUE, BrightnessThumb(settings.brightness));
  gamma_.Send(TBM_SETPOS, TRUE, GammaThumb(settings.gamma));
}

void TOptionColor::Store(SaverSettings& settings) {
  settings.grayscale = Item(IDC_EFFECTS_GRAYSCALE).Checked();
  settings.accurateSize = Item(IDC_EFFECTS_ACCURATE_SIZE).Checked();
  settings.transition = StoreRadioGroup(*this, kTransitionIds);
  settings.edges = StoreRadioGroup(*this, kEdgeIds);
  settings.brightness = UpdateBrightness();
  settings.gamma = UpdateGamma();
}

std::optional<INT_PTR> TOptionColor::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_HSCROLL) return std::nullopt;
  OnSlider(reinterpret_cast<HWND>(lParam));
  return TRUE;
}

void TOptionColor::OnSlider(HWND slider) {
  WindowView view(slider);
  const bool isBrightness = slider == brightness_.Handle();
  if (!isBrightness && slider != gamma_.Handle()) return;
  // The thumb snaps to the nearest tick (every 10).
  const int minimum = isBrightness ? 0 : 50;
  const int position = SliderPosition(view);
  const int snapped = minimum + (position - minimum + 5) / 10 * 10;
  if (snapped != position) view.Send(TBM_SETPOS, TRUE, snapped);
  // The settings record follows the slider at once.
  if (isBrightness) {
    Settings().brightness = UpdateBrightness();
  } else {
    Settings().gamma = UpdateGamma();
  }
}

int TOptionColor::UpdateBrightness() {
  const int brightness = BrightnessFromThumb(SliderPosition(brightness_));
  Item(IDC_EFFECTS_BRIGHTNESS_TEXT).SetText(BrightnessLabel(brightness));
  return brightness;
}

int TOptionColor::UpdateGamma() {
  const int gamma = SliderPosition(gamma_);
  Item(IDC_EFFECTS_GAMMA_TEXT).SetText(GammaLabel(gamma));
  return gamma;
}

// ---- background ----------------------------------------------------------------

TOptionBack::TOptionBack() : SettingsPage(IDD_BACKGROUND) {}

bool TOptionBack::OnInit() {
  for (auto [button, placeholder, id] :
       {std::tuple{&background_, IDC_BACKGROUND_COLOR_AREA, IDC_BACKGROUND_COLOR},
        std::tuple{&textColor_, IDC_BACKGROUND_TEXT_COLOR_AREA, IDC_BACKGROUND_TEXT_COLOR}}) {
    button->CreateOver(*this, placeholder, "", WS_VISIBLE | WS_TABSTOP, id);
    button->SetGlyph(kGlyphNormal, IDB_COLOR_ARROW);
  }
  Load(Settings());
  return true;
}

void TOptionBack::Load(const SaverSettings& settings) {
  Item(IDC_BACKGROUND_TILE_FILE).SetText(settings.tileFile);
  Item(IDC_BACKGROUND_USE_COLOR).SetCheck(settings.useColor);
  Item(IDC_BACKGROUND_USE_IMAGE).SetCheck(!settings.useColor);
  background_.SetColor(ToColorRef(settings.backgroundColor));
  textColor_.SetColor(ToColorRef(settings.calendarTextColor));
}

void TOptionBack::Store(SaverSettings& settings) {
  settings.backgroundColor = FromColorRef(background_.Color());
  settings.calendarTextColor = FromColorRef(textColor_.Color());
  settings.useColor = Item(IDC_BACKGROUND_USE_COLOR).Checked();
  // A tile that does not load is ignored: the previous name stays.
  const std::string typed = LimitedText(Item(IDC_BACKGROUND_TILE_FILE), kFileNameChars);
  if (ImageLoads(typed)) settings.tileFile = typed;
}

bool TOptionBack::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_BACKGROUND_SELECT_TILE: SelectBackground(); return true;
    case CM_COLOR_PICKED:
      Item(IDC_BACKGROUND_USE_COLOR).SetCheck(true);
      Item(IDC_BACKGROUND_USE_IMAGE).SetCheck(false);
      return true;
    default: return false;
  }
}

void TOptionBack::SelectBackground() {
  TXFileOpenDialog dialog;
  dialog.SetFilter(
      "All supported formats|*.bmp;*.rle;*.dib;*.gif;*.tif;*.jpg;*.pcx|JPEG (*.jpg)|*.jpg|"
      "Aldus TIFF (*.tif)|*.tif|Paintbrush (*.pcx)|*.pcx|"
      "Windows Bitmap (*.bmp, *.rle, *.dib)|*.bmp;*.rle;*.dib|All files (*.*)|*.*|");
  dialog.SetFlags(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  const std::string& current = Settings().tileFile;
  if (SortsAboveBlanks(current, kBlankRun)) {
    dialog.SetInitialFolder(SplitFolderAndName(current).folder);
  }
  const bool accepted = dialog.ShowOpen(Handle()) && !dialog.Paths().empty();
  // The dialog moves the working folder as the user browses; it goes back to
  // the program folder whatever the outcome.
  EnterProgramDir(Startup());
  if (!accepted) return;
  const std::string chosen = dialog.Paths().front();
  if (!ImageLoads(chosen)) return;
  Settings().tileFile = chosen;
  Item(IDC_BACKGROUND_TILE_FILE).SetText(chosen);
  Item(IDC_BACKGROUND_USE_IMAGE).SetCheck(true);
  Item(IDC_BACKGROUND_USE_COLOR).SetCheck(false);
}

// ---- calendar ------------------------------------------------------------------

namespace {

constexpr int kCalendarChecks[] = {IDC_CALENDAR_USE_FILE, IDC_CALENDAR_MINI_CALENDAR, IDC_CALENDAR_DATE,
                                   IDC_CALENDAR_TIME, IDC_CALENDAR_RUN_TIME,
                                   IDC_CALENDAR_IMAGE_NAME};

bool* CalendarFlag(SaverSettings& settings, int id) {
  switch (id) {
    case IDC_CALENDAR_USE_FILE: return &settings.useCalendarFile;
    case IDC_CALENDAR_MINI_CALENDAR: return &settings.showMiniCalendar;
    case IDC_CALENDAR_DATE: return &settings.showDate;
    case IDC_CALENDAR_TIME: return &settings.showTime;
    case IDC_CALENDAR_RUN_TIME: return &settings.showRunTime;
    default: return &settings.showImageName;
  }
}

}  // namespace

TOptionCalendar::TOptionCalendar() : SettingsPage(IDD_CALENDAR) {}

bool TOptionCalendar::OnInit() {
  Load(Settings());
  return true;
}

void TOptionCalendar::Load(const SaverSettings& settings) {
  Item(IDC_CALENDAR_FILE).SetText(settings.calendarFile);
  SaverSettings copy = settings;
  for (int id : kCalendarChecks) Item(id).SetCheck(*CalendarFlag(copy, id));
}

void TOptionCalendar::Store(SaverSettings& settings) {
  const std::string typed = LimitedText(Item(IDC_CALENDAR_FILE), kFileNameChars);
  if (AcceptCalendarFile(typed)) settings.calendarFile = typed;
  for (int id : kCalendarChecks) *CalendarFlag(settings, id) = Item(id).Checked();
}

bool TOptionCalendar::AcceptCalendarFile(const std::string& path) {
  switch (CheckCalendarFile(path, Win32FileAccess())) {
    case CalendarFileCheck::Calendar: return true;
    case CalendarFileCheck::Unreadable: return false;
    case CalendarFileCheck::NotCalendar: break;
  }
  ShowMessage(Handle(), kNotCalendarMessage);
  return false;
}

bool TOptionCalendar::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_CALENDAR_SELECT: SelectCalendar(); return true;
    case IDC_CALENDAR_EDIT: EditCalendar(); return true;
    default: return false;
  }
}

void TOptionCalendar::EditCalendar() {
  PrivateProfile profile(Startup().activeProfilePath);
  {
    TMwd editor(CalendarEditorContext{&Settings().calendarFile, &profile, Startup().programDir});
    editor.RunModal(Handle());
  }
  Item(IDC_CALENDAR_FILE).SetText(Settings().calendarFile);
  EnterProgramDir(Startup());
}

void TOptionCalendar::SelectCalendar() {
  FileDialog dialog;
  dialog.SetFilter("QMK Organizer Calendar Files (*.cal)|*.cal");
  dialog.SetDefaultExtension("cal");
  dialog.SetFlags(OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR);
  const std::string& current = Settings().calendarFile;
  if (SortsAboveBlanks(current, kBlankRun)) {
    dialog.SetInitialFolder(SplitFolderAndName(current).folder);
  }
  if (!dialog.ShowOpen(Handle()) || dialog.Paths().empty()) return;
  const std::string chosen = dialog.Paths().front();
  if (!AcceptCalendarFile(chosen)) return;
  Item(IDC_CALENDAR_FILE).SetText(chosen);
  Settings().calendarFile = chosen;
  EnterProgramDir(Startup());
}

// ---- default text --------------------------------------------------------------

TOptionText::TOptionText() : SettingsPage(IDD_DEFAULT_TEXT) {}

bool TOptionText::OnInit() {
  headingFont_.Reset(CreatePageFont(false));
  Item(IDC_DEFAULT_TEXT_DAY_NAME).Send(WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_.Get()), TRUE);
  Item(IDC_DEFAULT_TEXT_EDIT).Send(EM_LIMITTEXT, kDefaultTextChars);
  Load(Settings());
  return true;
}

void TOptionText::Load(const SaverSettings&) {
  for (int id = IDC_DEFAULT_TEXT_MONDAY; id <= IDC_DEFAULT_TEXT_SUNDAY; ++id) {
    Item(id).SetCheck(id == IDC_DEFAULT_TEXT_MONDAY);
  }
  ShowDay(1);
}

void TOptionText::Store(SaverSettings&) { WriteCurrentDay(); }

bool TOptionText::OnCommand(int id, int, HWND) {
  if (id < IDC_DEFAULT_TEXT_MONDAY || id > IDC_DEFAULT_TEXT_SUNDAY) return false;
  WriteCurrentDay();
  ShowDay(id - IDC_DEFAULT_TEXT_MONDAY + 1);
  return true;
}

void TOptionText::WriteCurrentDay() {
  PrivateProfile profile(Startup().activeProfilePath);
  const std::string text = LimitedText(Item(IDC_DEFAULT_TEXT_EDIT), kDefaultTextChars);
  profile.WriteString(profile_keys::kDefaultText, std::to_string(day_).c_str(),
                      EncodeOneLine(text).c_str());
  profile.Flush();
}

void TOptionText::ShowDay(int day) {
  PrivateProfile profile(Startup().activeProfilePath);
  const std::string stored = profile.GetString(profile_keys::kDefaultText,
                                               std::to_string(day).c_str(), "", kDefaultTextChars);
  Item(IDC_DEFAULT_TEXT_EDIT).SetText(DecodeForEditor(stored));
  Item(IDC_DEFAULT_TEXT_DAY_NAME).SetText(DefaultTextHeading(day));
  day_ = day;
}

// ---- password ------------------------------------------------------------------

TOptionPassword::TOptionPassword() : SettingsPage(IDD_PASSWORD) {}

bool TOptionPassword::OnInit() {
  Load(Settings());
  return true;
}

void TOptionPassword::Load(const SaverSettings& settings) {
  Item(IDC_PASSWORD_ALLOW_CTRL_ALT_DEL).SetCheck(settings.allowCtrlAltDel);
  Item(IDC_PASSWORD_DENY_CTRL_ALT_DEL).SetCheck(!settings.allowCtrlAltDel);
}

void TOptionPassword::Store(SaverSettings& settings) {
  settings.allowCtrlAltDel = Item(IDC_PASSWORD_ALLOW_CTRL_ALT_DEL).Checked();
}

// ---- about ---------------------------------------------------------------------

TOptionAbout::TOptionAbout() : SettingsPage(IDD_ABOUT) {}

bool TOptionAbout::OnInit() {
  nameFont_.Reset(CreatePageFont(false));
  linkFont_.Reset(CreatePageFont(true));
  Item(IDC_ABOUT_NAME).Send(WM_SETFONT, reinterpret_cast<WPARAM>(nameFont_.Get()), TRUE);
  CreateLink(webLink_, IDC_ABOUT_WEB_AREA, IDC_ABOUT_WEB_LINK, kUserGuideFile);
  CreateLink(mailLink_, IDC_ABOUT_MAIL_AREA, IDC_ABOUT_MAIL_LINK, kMailAddress);
  return true;
}

void TOptionAbout::CreateLink(TButtonEx& link, int placeholderId, int id,
                              const std::string& text) {
  if (!link.CreateOver(*this, placeholderId, text.c_str(), WS_VISIBLE, id)) return;
  link.SetFont(linkFont_.Get(), false);
  link.SetFrameStyle(kFrameFlat);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  link.SetColors(RGB(0, 0, 255), RGB(128, 0, 0), face, face);
  // As wide as its text in the link font.
  WindowDC dc(link.Handle());
  SelectionScope font(dc, linkFont_.Get());
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  RECT rect = link.RectIn(Handle());
  SetWindowPos(link.Handle(), nullptr, 0, 0, extent.cx, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TOptionAbout::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_ABOUT_WEB_LINK: OpenWithShell(UserGuidePath()); return true;
    case IDC_ABOUT_MAIL_LINK: OpenWithShell(std::string("mailto:") + kMailAddress); return true;
    default: return false;
  }
}

}  // namespace orvalen
