#pragma once
// An in-memory profile that records every write and flush in order.
#include <map>
#include <string>
#include <vector>

#include "base/profile.h"

namespace orvalen {

class RecordingProfile final : public Profile {
 public:
  std::map<std::string, std::map<std::string, std::string>> values;
  // "Section/Key=Value" per write, "<flush>" per flush.
  std::vector<std::string> log;

  std::string GetString(const char* section, const char* key, const char* defaultValue,
                        size_t maxChars) override;
  int GetInt(const char* section, const char* key, int defaultValue) override;
  void WriteString(const char* section, const char* key, const char* value) override;
  void ClearSection(const char* section) override {
    values[section].clear();
    log.push_back(std::string(section) + "/<clear>");
  }
  void Flush() override { log.push_back("<flush>"); }
};

}  // namespace orvalen
