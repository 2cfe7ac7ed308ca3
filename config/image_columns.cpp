#include "config/image_columns.h"

#include <cctype>
#include <cstdio>

#include "saver/settings.h"

namespace orvalen {
namespace {

constexpr size_t kStoredTextChars = 999;

// The decimal number a size text starts with ("12KB" is 12); stops growing
// where it would overflow, so an absurd text still compares.
unsigned long long LeadingNumber(const std::string& text) {
  unsigned long long value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    if (value > (~0ULL - 9) / 10) break;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}

}  // namespace

std::string SizeColumnText(uint64_t bytes) {
  return std::to_string(bytes / 1024 + 1) + "KB";
}

std::string DateTimeColumnText(const FileStamp& stamp) {
  char text[48];
  std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d", stamp.year, stamp.month, stamp.day,
                stamp.hour, stamp.minute);
  return text;
}

std::string DateColumnText(const FileStamp& stamp) {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%02d/%02d", stamp.year, stamp.month, stamp.day);
  return text;
}

std::string TypeColumnText(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return "";
  std::string type = fileName.substr(dot + 1);
  for (char& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return type;
}

std::string StoredImageText(const std::string& text) {
  return EncodeOneLine(text).substr(0, kStoredTextChars);
}

bool SortAscendingAfterClick(int clicked, int previousColumn, bool previousAscending) {
  return clicked == previousColumn && !previousAscending;
}

int CompareSizeTexts(const std::string& first, const std::string& second) {
  const unsigned long long a = LeadingNumber(first);
  const unsigned long long b = LeadingNumber(second);
  return a < b ? -1 : a > b ? 1 : 0;
}

std::map<std::string, std::string> ParseProfileSection(const std::string& block,
                                                       size_t maxChars) {
  auto trim = [](const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
  };
  std::map<std::string, std::string> entries;
  size_t start = 0;
  while (start < block.size() && block[start] != '\0') {
    size_t end = block.find('\0', start);
    if (end == std::string::npos) end = block.size();
    const std::string line = block.substr(start, end - start);
    start = end + 1;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    std::string key = trim(line.substr(0, equals));
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string value = trim(line.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    entries.emplace(key, value.substr(0, maxChars));
  }
  return entries;
}

bool FoundIsTheNamedFile(const std::string& askedName, const std::string& foundName,
                         const std::string& foundShortName, bool foundFolder) {
  auto sameName = [](const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(a[i])) !=
          std::tolower(static_cast<unsigned char>(b[i]))) {
        return false;
      }
    }
    return true;
  };
  if (foundFolder || askedName.empty()) return false;
  return sameName(askedName, foundName) ||
         (!foundShortName.empty() && sameName(askedName, foundShortName));
}

std::string ListedPathOf(const std::string& profilePath, const std::string& programDir) {
  const bool drive = profilePath.size() >= 2 && profilePath[1] == ':';
  const bool rooted = !profilePath.empty() && (profilePath[0] == '\\' || profilePath[0] == '/');
  if (profilePath.empty() || drive || rooted) return profilePath;
  return programDir + profilePath;
}

std::string PreviewPathOfSelection(const std::string& selection) {
  const size_t open = selection.find('"');
  if (open == std::string::npos) return selection;
  const size_t close = selection.find('"', open + 1);
  if (close == std::string::npos) return selection.substr(open + 1);
  return selection.substr(open + 1, close - open - 1);
}

}  // namespace orvalen
