#pragma once
// The settings record every program shares and its reader and writer over a
// settings profile (an INI file, extension .orv).
#include <string>
#include <vector>

#include "base/geometry.h"
#include "base/profile.h"

namespace orvalen {

struct SaverSettings {
  bool useCalendarFile = false;
  bool showMiniCalendar = true;
  bool showDate = true;
  bool showTime = true;
  bool showRunTime = true;
  std::string calendarFile;
  std::string tileFile;
  bool drawCalendar = false;
  int32_t delaySeconds = 4;
  int32_t brightness = 100;
  int32_t gamma = 100;
  bool grayscale = false;
  int32_t display = 3;
  int32_t transition = 0;
  int32_t effects = 0;
  int32_t edges = 0;
  bool useColor = true;
  bool accurateSize = false;
  ColorRef calendarTextColor = MakeColor(210, 205, 200);
  ColorRef backgroundColor = MakeColor(64, 0, 0);
  bool allowCtrlAltDel = true;
  int32_t maxImages = 10;
  bool startFromLastImage = false;
  bool showImageName = false;
};

// One entry of the image list as the writer stores it.
struct ImageEntry {
  std::string path;  // folder followed by file name
  std::string text;  // may hold line breaks
};

namespace profile_keys {
inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kFiles = "Files";
inline constexpr const char* kImageText = "ImageText";
inline constexpr const char* kDefaultText = "DefaultText";
inline constexpr const char* kTotal = "Total";
inline constexpr const char* kLastImage = "LastImage";
inline constexpr const char* kKeyProfile = "KEY_PROFILE";
inline constexpr const char* kKeySignature = "KEY_SIGNATURE";
inline constexpr const char* kCalendarFileName = "CALENDAR_FILENAME";
inline constexpr const char* kListEnd = "<END>";
inline constexpr const char* kNoEntry = "<>";
}  // namespace profile_keys

// Fills `settings` from section "Settings"; missing keys take their defaults.
void ReadSettings(Profile& profile, SaverSettings& settings);

// Writes the settings, the image list and the image texts, flushing after
// each group of writes.
void WriteSettings(Profile& profile, const SaverSettings& settings,
                   const std::vector<ImageEntry>& images);

// The saver writes back the index of the next image when it closes.
void WriteLastImage(Profile& profile, int32_t nextIndex);

// `Total` as the saver uses it: clamped to 0..999.
int32_t ClampImageCount(int32_t total);

// "r,g,b", each taken modulo 256; missing numbers count as 0.
ColorRef ParseColor(const std::string& text);
std::string FormatColor(ColorRef color);

// Texts with line breaks are kept on one line: CR becomes byte 20, LF byte 21,
// tab a blank.
std::string EncodeOneLine(const std::string& text);
// The saver reads byte 20 as a blank and 21 as a line feed.
std::string DecodeForSaver(const std::string& stored);
// The configuration editors read 20 as CR and 21 as LF.
std::string DecodeForEditor(const std::string& stored);

// "i%d": the key of an entry in the image list and the image texts.
std::string ImageKey(int32_t index);

// Whether a text sorts above a run of blanks (the counterpart of
// SortsBelowBlanks, which tells a text that counts as empty).
bool SortsAboveBlanks(const std::string& text, size_t blanks);

}  // namespace orvalen
