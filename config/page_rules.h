#pragma once
// The rules of the configuration pages that do not need a window: slider
// positions and their labels, the numbers typed into edits, the day names of
// the default-text page, the profile names and the calendar file check.
#include <string>

#include "base/file_access.h"

namespace orvalen {

// Brightness slider: 0..100 shows VALUE_BRIGHT + 50. A stored value outside
// -50..50 (the saver's own default is 100) loads as 0.
int BrightnessThumb(int storedBrightness);
int BrightnessFromThumb(int position);
// "Darker: -30%", "Lighter: +20% !!!", "No change".
std::string BrightnessLabel(int brightness);

// Gamma slider: 50..150 shows VALUE_GAMMA; outside that range it loads as 100.
int GammaThumb(int storedGamma);
// "Darker: 0.80", "Lighter: 1.20 !!!", "No change".
std::string GammaLabel(int position);

// The leading decimal integer of at most `maxChars` characters of `text`
// (blanks and a sign allowed before the digits), 0 when there is none.
int LeadingInteger(const std::string& text, size_t maxChars);

// "Default text for Mondays".
std::string DefaultTextHeading(int day);

// What the profiles page shows for the active profile: its full path, or
// "Orvalen.orv [Default]" when it is the default profile (paths compared
// without regard to letter case, as Windows does).
std::string ProfileDisplayName(const std::string& activePath, const std::string& defaultPath);
// `path` with ".orv" appended unless its extension already is ".orv" in any
// letter case ("x.ORV" stays, "x.txt" becomes "x.txt.orv").
std::string WithProfileExtension(const std::string& path);

// A path cut after its last backslash (or slash, or drive colon): the folder
// keeps the separator, so folder + name gives the path back.
struct FolderAndName {
  std::string folder;
  std::string name;
};
FolderAndName SplitFolderAndName(const std::string& path);

enum class CalendarFileCheck {
  Unreadable,    // the file cannot be opened: the check fails silently
  NotCalendar,   // opened, but its first word is not the calendar signature
  Calendar,
};
// Reads the first whitespace-delimited word of the file and compares it with
// the organizer calendar signature.
CalendarFileCheck CheckCalendarFile(const std::string& path,
                                    const FileAccess& access = PortableFileAccess());

// The message shown when a file named as calendar is not one.
inline constexpr const char* kNotCalendarMessage =
    "This is not a valid Quillmark Organizer 3.5+ calendar file";

}  // namespace orvalen
