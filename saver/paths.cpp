#include "saver/paths.h"

#include <cctype>

namespace orvalen {

std::string DirectoryOf(const std::string& filePath) {
  const size_t slash = filePath.find_last_of("\\/:");
  std::string dir = slash == std::string::npos ? std::string() : filePath.substr(0, slash + 1);
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir;
}

int DriveNumberOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    return std::toupper(static_cast<unsigned char>(path[0])) - 'A';
  }
  return 0;
}

std::string BaseNameOf(const std::string& filePath) {
  const size_t slash = filePath.find_last_of("\\/:");
  std::string name = slash == std::string::npos ? filePath : filePath.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace orvalen
