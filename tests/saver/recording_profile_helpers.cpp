#include "recording_profile_helpers.h"

#include <cstdlib>

namespace orvalen {

std::string RecordingProfile::GetString(const char* section, const char* key, const char* defaultValue,
                                        size_t maxChars) {
  auto s = values.find(section);
  if (s == values.end()) return std::string(defaultValue).substr(0, maxChars);
  auto k = s->second.find(key);
  if (k == s->second.end()) return std::string(defaultValue).substr(0, maxChars);
  return k->second.substr(0, maxChars);
}

int RecordingProfile::GetInt(const char* section, const char* key, int defaultValue) {
  auto s = values.find(section);
  if (s == values.end()) return defaultValue;
  auto k = s->second.find(key);
  if (k == s->second.end()) return defaultValue;
  return std::atoi(k->second.c_str());
}

void RecordingProfile::WriteString(const char* section, const char* key, const char* value) {
  values[section][key] = value;
  log.push_back(std::string(section) + "/" + key + "=" + value);
}

}  // namespace orvalen
