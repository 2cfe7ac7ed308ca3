#pragma once
// The option pages of the configuration dialog. Each is a child dialog of the
// dialog's page area: Load copies the settings record into its controls,
// Store copies its controls back. Only the default-text page writes the
// profile itself (each day's text reaches the active profile at once).
#include <windows.h>

#include <string>

#include "config/controls/button_color_pick_win.h"
#include "config/controls/button_ex_win.h"
#include "config/controls/edit_scroll_win.h"
#include "config/settings_page_win.h"
#include "winapp/control_win.h"
#include "winapp/handles_win.h"

namespace orvalen {

// "Options": placement, overlays, last image, delay and recycle count.
class TOptionGen : public SettingsPage {
 public:
  TOptionGen();
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings& settings) override;

 protected:
  bool OnInit() override;

 private:
  TEditScroll delay_;
  TEditScroll recycle_;
};

// "Effects": grey, accurate reduction, transition, edges, brightness, gamma.
class TOptionColor : public SettingsPage {
 public:
  TOptionColor();
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings& settings) override;

 protected:
  bool OnInit() override;
  std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Snaps the slider to its ticks, then takes its value and label.
  void OnSlider(HWND slider);
  // Label and value from the slider's position.
  int UpdateBrightness();
  int UpdateGamma();

  SubclassedControl brightness_;
  SubclassedControl gamma_;
};

// "Background": colour or tile, and the calendar/text colour.
class TOptionBack : public SettingsPage {
 public:
  TOptionBack();
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings& settings) override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  void SelectBackground();

  TButtonColorPick background_;
  TButtonColorPick textColor_;
};

// "Calendar": the organizer calendar file and what the saver draws of it.
class TOptionCalendar : public SettingsPage {
 public:
  TOptionCalendar();
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings& settings) override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  // The signature check with its message; true when the file is a calendar.
  bool AcceptCalendarFile(const std::string& path);
  void SelectCalendar();
  // Runs the calendar editor over the page; the file it closes on becomes
  // the calendar file.
  void EditCalendar();
};

// "Default Text": the text of each weekday, edited one day at a time and
// written to the active profile whenever the day changes.
class TOptionText : public SettingsPage {
 public:
  TOptionText();
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings& settings) override;
  int CurrentDay() const { return day_; }

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  void WriteCurrentDay();
  void ShowDay(int day);

  Font headingFont_;
  int day_ = 1;
};

// "Password": whether Ctrl+Alt+Del may end the saver.
class TOptionPassword : public SettingsPage {
 public:
  TOptionPassword();
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings& settings) override;

 protected:
  bool OnInit() override;
};

// "About": name, version and the two links.
class TOptionAbout : public SettingsPage {
 public:
  TOptionAbout();
  void Load(const SaverSettings&) override {}
  void Store(SaverSettings&) override {}

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;

 private:
  void CreateLink(TButtonEx& link, int placeholderId, int id, const std::string& text);

  Font nameFont_;
  Font linkFont_;
  TButtonEx webLink_;
  TButtonEx mailLink_;
};

// The links and the guide of the program (the web page is the user guide
// installed beside the program, which works offline).
std::string UserGuidePath();
inline constexpr const char* kUserGuideFile = "Orvalen.htm";
inline constexpr const char* kHelpFile = "Orvalen.hlp";
inline constexpr const char* kMailAddress = "orvalen@example.org";

// Opens a document or address with the shell's "open" verb, its window shown
// normally: a program asked to open hidden may show nothing at all.
void OpenWithShell(const std::string& target);

// A bold "MS Sans Serif" of height 12, underlined or not: the heading and
// link font of the pages.
HFONT CreatePageFont(bool underline);

}  // namespace orvalen
