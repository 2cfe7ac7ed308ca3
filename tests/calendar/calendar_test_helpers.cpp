#include "tests/calendar/calendar_test_helpers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "calendar/calendar_date.h"

namespace orvalen::test {

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto base = std::filesystem::temp_directory_path();
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = base / ("orvalen_cal_" + std::to_string(stamp % 1000000007) + "_" + std::to_string(counter++));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      root_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::remove_all(root_, error);
}

std::string TempDir::Path(const std::string& name) const { return (root_ / name).string(); }

std::string TempDir::Listing() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(root_))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const auto& name : names) out += (out.empty() ? "" : " ") + name;
  return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string ReadBytes(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "<missing>";
  std::string bytes;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
  std::fclose(f);
  return bytes;
}

std::string Record(int dayIndex, int yearIndex, const std::string& journal, const std::string& hours,
                   const std::string& todo, bool savedEndLine) {
  const int year = kFirstCalendarYear + yearIndex;
  return "\x12 [Begin].\n" + std::to_string(dayIndex) + " " + std::to_string(yearIndex) + " [" +
         std::to_string(dayIndex + 1) + "," + std::to_string(year) + "].\n" + "\x14 [mJournal].\n" + journal + "\n" +
         "\x15 [mHour].\n" + hours + "\n" + "\x16 [mTodo].\n" + todo + "\n" +
         (savedEndLine ? "\x13  [mEnd].\n" : "\x13 [mEnd].\n");
}

}  // namespace orvalen::test
