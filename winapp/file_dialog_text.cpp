#include "winapp/file_dialog_text.h"

namespace orvalen {
namespace {

// The NUL-ended strings of the buffer up to the first empty one.
std::vector<std::string_view> SplitNulList(std::string_view buffer) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start < buffer.size()) {
    size_t end = buffer.find('\0', start);
    if (end == std::string_view::npos) end = buffer.size();
    if (end == start) break;
    pieces.push_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

bool IsFullPath(std::string_view name) {
  const bool drive = name.size() >= 3 && name[1] == ':' && (name[2] == '\\' || name[2] == '/');
  const bool unc = name.size() >= 2 && name[0] == '\\' && name[1] == '\\';
  return drive || unc;
}

}  // namespace

std::string FilterFromBars(std::string_view barSeparated) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (;;) {
    const size_t bar = barSeparated.find('|', start);
    pieces.push_back(barSeparated.substr(start, bar == std::string_view::npos ? bar : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  while (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
  std::string filter;
  for (size_t i = 0; i + 1 < pieces.size(); i += 2) {
    filter.append(pieces[i]).push_back('\0');
    filter.append(pieces[i + 1]).push_back('\0');
  }
  if (!filter.empty()) filter.push_back('\0');
  return filter;
}

std::vector<std::string> ParseFileDialogResult(std::string_view buffer) {
  const std::vector<std::string_view> pieces = SplitNulList(buffer);
  std::vector<std::string> paths;
  if (pieces.empty()) return paths;
  if (pieces.size() == 1) {
    paths.emplace_back(pieces.front());
    return paths;
  }
  std::string folder(pieces.front());
  if (folder.back() != '\\' && folder.back() != '/') folder.push_back('\\');
  for (size_t i = 1; i < pieces.size(); ++i) {
    paths.push_back(IsFullPath(pieces[i]) ? std::string(pieces[i])
                                          : folder + std::string(pieces[i]));
  }
  return paths;
}

}  // namespace orvalen
