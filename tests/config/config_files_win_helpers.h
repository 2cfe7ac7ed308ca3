#pragma once
// Files the configuration program's tests make: a scratch folder of their own,
// whole files written at once, and one-grey pictures.
#include <string>

namespace orvalen::config_test {

// "<temp>\<name>\", created if missing.
std::string TempFolder(const char* name);
// Writes `content` as the whole file at `path` (a failed write fails the test).
void WriteFile(const std::string& path, const std::string& content);
// A `size` x `size` 24-bit BMP file of one grey.
std::string GreyBitmap(int size, unsigned char grey);

}  // namespace orvalen::config_test
