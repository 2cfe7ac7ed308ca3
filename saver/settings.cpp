#include "saver/settings.h"

#include <cstdio>
#include <cstring>

namespace orvalen {
namespace {

using namespace profile_keys;

constexpr size_t kFileNameChars = 259;
constexpr size_t kColorChars = 49;
constexpr size_t kImageTextChars = 999;

bool ReadBool(Profile& profile, const char* key, bool defaultValue) {
  return profile.GetInt(kSettings, key, defaultValue ? 1 : 0) != 0;
}

void WriteBool(Profile& profile, const char* key, bool value) {
  profile.WriteString(kSettings, key, value ? "1" : "0");
}

int CompareBytes(const std::string& a, const std::string& b) {
  return std::strcmp(a.c_str(), b.c_str());
}

}  // namespace

ColorRef ParseColor(const std::string& text) {
  int red = 0;
  int green = 0;
  int blue = 0;
  std::sscanf(text.c_str(), "%d,%d,%d", &red, &green, &blue);
  return MakeColor(static_cast<uint32_t>(red), static_cast<uint32_t>(green),
                   static_cast<uint32_t>(blue));
}

std::string FormatColor(ColorRef color) {
  char text[40];
  std::snprintf(text, sizeof text, "%d,%d,%d", static_cast<int>(RedOf(color)),
                static_cast<int>(GreenOf(color)), static_cast<int>(BlueOf(color)));
  return text;
}

std::string EncodeOneLine(const std::string& text) {
  std::string stored = text;
  for (char& c : stored) {
    if (c == '\r') c = 20;
    else if (c == '\n') c = 21;
    else if (c == '\t') c = ' ';
  }
  return stored;
}

std::string DecodeForSaver(const std::string& stored) {
  std::string text = stored;
  for (char& c : text) {
    if (c == 20) c = ' ';
    else if (c == 21) c = '\n';
  }
  return text;
}

std::string DecodeForEditor(const std::string& stored) {
  std::string text = stored;
  for (char& c : text) {
    if (c == 20) c = '\r';
    else if (c == 21) c = '\n';
  }
  return text;
}

std::string ImageKey(int32_t index) {
  char key[16];
  std::snprintf(key, sizeof key, "i%d", static_cast<int>(index));
  return key;
}

bool SortsAboveBlanks(const std::string& text, size_t blanks) {
  return CompareBytes(text, std::string(blanks, ' ')) > 0;
}

int32_t ClampImageCount(int32_t total) {
  if (total < 0) return 0;
  if (total > 999) return 999;
  return total;
}

void ReadSettings(Profile& profile, SaverSettings& s) {
  const SaverSettings defaults;
  s.delaySeconds = profile.GetInt(kSettings, "VALUE_DELAY", defaults.delaySeconds);
  s.brightness = profile.GetInt(kSettings, "VALUE_BRIGHT", defaults.brightness);
  s.gamma = profile.GetInt(kSettings, "VALUE_GAMMA", defaults.gamma);
  s.edges = profile.GetInt(kSettings, "OPTION_EDGES", defaults.edges);
  s.transition = profile.GetInt(kSettings, "OPTION_TRANSITION", defaults.transition);
  s.display = profile.GetInt(kSettings, "OPTION_DISPLAY", defaults.display);
  s.grayscale = ReadBool(profile, "GRAYSCALE", defaults.grayscale);
  s.accurateSize = ReadBool(profile, "ACCURATE_SIZE", defaults.accurateSize);
  s.useColor = ReadBool(profile, "USE_COLOR", defaults.useColor);
  s.allowCtrlAltDel = ReadBool(profile, "ALLOW_CNT_ALT_DEL", defaults.allowCtrlAltDel);
  s.useCalendarFile = ReadBool(profile, "USE_CALENDAR_FILE", defaults.useCalendarFile);
  s.showMiniCalendar = ReadBool(profile, "SHOW_MINICALENDAR", defaults.showMiniCalendar);
  s.showDate = ReadBool(profile, "SHOW_DATE", defaults.showDate);
  s.showTime = ReadBool(profile, "SHOW_TIME", defaults.showTime);
  s.showRunTime = ReadBool(profile, "SHOW_WINDOWSRUNTIME", defaults.showRunTime);
  s.maxImages = profile.GetInt(kSettings, "IMAGE_MAX_NUMBER", defaults.maxImages);
  s.startFromLastImage = ReadBool(profile, "START_FROM_LAST_IMAGE", defaults.startFromLastImage);
  s.showImageName = ReadBool(profile, "SHOW_IMAGE_NAME", defaults.showImageName);
  s.tileFile = profile.GetString(kSettings, "TILE_FILENAME", "", kFileNameChars);
  s.backgroundColor = ParseColor(profile.GetString(kSettings, "USE_COLOR_RGB", "64,0,0", kColorChars));
  s.calendarTextColor =
      ParseColor(profile.GetString(kSettings, "COLOR_CALENDAR_TEXT", "210,205,200", kColorChars));
  if (s.delaySeconds < 0) s.delaySeconds = 4;
  if (s.display < 0) s.display = 3;
  s.drawCalendar = ReadBool(profile, "DRAW_CALENDAR", defaults.drawCalendar);
  s.calendarFile = profile.GetString(kSettings, kCalendarFileName, "", kFileNameChars);
}

void WriteSettings(Profile& profile, const SaverSettings& s, const std::vector<ImageEntry>& images) {
  profile.WriteString(kSettings, "TILE_FILENAME", s.tileFile.c_str());
  profile.WriteString(kSettings, kCalendarFileName, s.calendarFile.c_str());
  WriteBool(profile, "USE_CALENDAR_FILE", s.useCalendarFile);
  WriteBool(profile, "ALLOW_CNT_ALT_DEL", s.allowCtrlAltDel);
  WriteBool(profile, "DRAW_CALENDAR", s.drawCalendar);
  WriteBool(profile, "GRAYSCALE", s.grayscale);
  profile.WriteInt(kSettings, "VALUE_DELAY", s.delaySeconds);
  profile.WriteInt(kSettings, "VALUE_BRIGHT", s.brightness);
  profile.WriteInt(kSettings, "VALUE_GAMMA", s.gamma);
  profile.WriteInt(kSettings, "OPTION_DISPLAY", s.display);
  profile.WriteInt(kSettings, "OPTION_EFFECTS", s.effects);
  profile.WriteInt(kSettings, "OPTION_EDGES", s.edges);
  profile.WriteInt(kSettings, "OPTION_TRANSITION", s.transition);
  WriteBool(profile, "ACCURATE_SIZE", s.accurateSize);
  WriteBool(profile, "USE_COLOR", s.useColor);
  WriteBool(profile, "SHOW_MINICALENDAR", s.showMiniCalendar);
  WriteBool(profile, "SHOW_DATE", s.showDate);
  WriteBool(profile, "SHOW_TIME", s.showTime);
  WriteBool(profile, "SHOW_WINDOWSRUNTIME", s.showRunTime);
  profile.WriteInt(kSettings, "IMAGE_MAX_NUMBER", s.maxImages);
  WriteBool(profile, "START_FROM_LAST_IMAGE", s.startFromLastImage);
  WriteBool(profile, "SHOW_IMAGE_NAME", s.showImageName);
  profile.Flush();

  profile.WriteString(kSettings, "USE_COLOR_RGB", FormatColor(s.backgroundColor).c_str());
  profile.WriteString(kSettings, "COLOR_CALENDAR_TEXT", FormatColor(s.calendarTextColor).c_str());
  const int32_t total = static_cast<int32_t>(images.size());
  profile.WriteInt(kSettings, kTotal, total);
  profile.Flush();

  // The section is not erased first: entries behind "<END>" from a longer
  // earlier list stay, and no reader looks past `Total`.
  for (int32_t i = 0; i < total; ++i) {
    profile.WriteString(kFiles, ImageKey(i).c_str(), images[i].path.c_str());
  }
  profile.WriteString(kFiles, ImageKey(total).c_str(), kListEnd);
  profile.Flush();

  // With no pictures the texts of an earlier list would belong to none.
  if (total == 0) profile.ClearSection(kImageText);
  for (int32_t i = 0; i < total; ++i) {
    std::string text = EncodeOneLine(images[i].text).substr(0, kImageTextChars);
    profile.WriteString(kImageText, ImageKey(i).c_str(), text.c_str());
  }
  profile.Flush();
}

void WriteLastImage(Profile& profile, int32_t nextIndex) {
  profile.WriteInt(kSettings, kLastImage, nextIndex);
  profile.Flush();
}

}  // namespace orvalen
