#include "config/page_rules.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "calendar/calendar_date.h"
#include "calendar/calendar_file.h"

namespace orvalen {
namespace {

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

int BrightnessThumb(int storedBrightness) {
  if (storedBrightness < -50 || storedBrightness > 50) storedBrightness = 0;
  return storedBrightness + 50;
}

int BrightnessFromThumb(int position) { return position - 50; }

std::string BrightnessLabel(int brightness) {
  char text[64];
  if (brightness < 0) {
    std::snprintf(text, sizeof text, "Darker: %d%%", brightness);
  } else if (brightness > 0) {
    std::snprintf(text, sizeof text, "Lighter: +%d%% !!!", brightness);
  } else {
    return "No change";
  }
  return text;
}

int GammaThumb(int storedGamma) {
  return storedGamma < 50 || storedGamma > 150 ? 100 : storedGamma;
}

std::string GammaLabel(int position) {
  if (position < 100) return Format("Darker: %.2f", position * 0.01);
  if (position > 100) return Format("Lighter: %.2f !!!", position * 0.01);
  return "No change";
}

int LeadingInteger(const std::string& text, size_t maxChars) {
  std::string head = text.substr(0, maxChars);
  size_t i = 0;
  while (i < head.size() && std::isspace(static_cast<unsigned char>(head[i]))) ++i;
  bool negative = false;
  if (i < head.size() && (head[i] == '-' || head[i] == '+')) negative = head[i++] == '-';
  long long value = 0;
  for (; i < head.size() && std::isdigit(static_cast<unsigned char>(head[i])); ++i) {
    value = value * 10 + (head[i] - '0');  // nine characters cannot overflow
  }
  return static_cast<int>(negative ? -value : value);
}

std::string DefaultTextHeading(int day) {
  return std::string("Default text for ") + WeekdayName(day) + "s";
}

std::string ProfileDisplayName(const std::string& activePath, const std::string& defaultPath) {
  if (strcasecmp(activePath.c_str(), defaultPath.c_str()) == 0) return "Orvalen.orv [Default]";
  return activePath;
}

std::string WithProfileExtension(const std::string& path) {
  constexpr const char* kExtension = ".orv";
  if (path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, kExtension) == 0) return path;
  return path + kExtension;
}

FolderAndName SplitFolderAndName(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  if (cut == std::string::npos) return {"", path};
  return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

CalendarFileCheck CheckCalendarFile(const std::string& path, const FileAccess& access) {
  std::FILE* file = path.empty() ? nullptr : access.openRead(path.c_str());
  if (!file) return CalendarFileCheck::Unreadable;
  char word[64] = {};
  int read = std::fscanf(file, "%63s", word);
  std::fclose(file);
  return read == 1 && std::strcmp(word, kCalendarSignature) == 0 ? CalendarFileCheck::Calendar
                                                                  : CalendarFileCheck::NotCalendar;
}

}  // namespace orvalen
