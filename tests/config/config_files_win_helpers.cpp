#include "tests/config/config_files_win_helpers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/bmp_file.h"

namespace orvalen::config_test {

std::string TempFolder(const char* name) {
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  std::string folder = std::string(path) + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void WriteFile(const std::string& path, const std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  EXPECT_EQ(std::fwrite(content.data(), 1, content.size(), file), content.size()) << path;
  std::fclose(file);
}

std::string GreyBitmap(int size, unsigned char grey) {
  return test_support::Bmp24File(size, size, [grey](int, int) {
    return test_support::Rgb{grey, grey, grey};
  });
}

}  // namespace orvalen::config_test
