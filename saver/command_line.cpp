#include "saver/command_line.h"

#include <cctype>
#include <cstring>

namespace orvalen {
namespace {

const char* SkipProgramName(const char* p) {
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
  } else {
    while (*p && *p != ' ') ++p;
  }
  // The closing quote, or the one blank, is the separator.
  if (*p) ++p;
  return p;
}

const char* SkipSpaces(const char* p) {
  while (*p == ' ') ++p;
  return p;
}

const char* SkipSpacesAndColons(const char* p) {
  while (*p == ' ' || *p == ':') ++p;
  return p;
}

bool EqualsIgnoringCase(const char* text, const char* word) {
  for (; *text && *word; ++text, ++word) {
    if (std::tolower(static_cast<unsigned char>(*text)) != std::tolower(static_cast<unsigned char>(*word))) {
      return false;
    }
  }
  return *text == '\0' && *word == '\0';
}

}  // namespace

WindowId ReadDecimal(const char* text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  uint32_t value = 0;
  while (*p >= '0' && *p <= '9') value = value * 10u + static_cast<uint32_t>(*p++ - '0');
  return negative ? 0u - value : value;
}

CommandLine ParseCommandLine(const char* commandLine) {
  CommandLine result;
  const char* p = SkipSpaces(SkipProgramName(commandLine ? commandLine : ""));
  if (*p == '\0') {
    result.mode = RunMode::Configure;
    return result;
  }
  if (*p == '-' || *p == '/') ++p;
  const char letter = *p;
  const char* rest = letter ? p + 1 : p;
  switch (letter) {
    case 'p': case 'P': case 'l': case 'L': {
      result.mode = RunMode::Preview;
      rest = SkipSpacesAndColons(rest);
      if (EqualsIgnoringCase(rest, "scrprev")) {
        result.previewFromHost = true;
      } else {
        result.previewParent = ReadDecimal(rest);
      }
      break;
    }
    case 's': case 'S':
      result.mode = RunMode::Saver;
      break;
    case 'x':
      result.mode = RunMode::Saver;
      result.slideShow = true;
      break;
    case 'z':
      result.mode = RunMode::Configure;
      break;
    case 'c': case 'C':
      result.mode = RunMode::Configure;
      rest = SkipSpacesAndColons(rest);
      if (*rest == '\0') {
        result.configFromForeground = true;
      } else {
        result.configParent = ReadDecimal(rest);
      }
      break;
    case 'a': case 'A':
      result.mode = RunMode::ChangePassword;
      result.passwordParent = ReadDecimal(SkipSpacesAndColons(rest));
      break;
    default:
      result.mode = RunMode::None;
      break;
  }
  return result;
}

}  // namespace orvalen
