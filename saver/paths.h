#pragma once
// Path helpers of the start-up code.
#include <string>

namespace orvalen {

// Drive and folder of a file path, always ending in a backslash.
std::string DirectoryOf(const std::string& filePath);
// Drive letter minus 'A' (0 for A:, 2 for C:); 0 when the path has no drive.
int DriveNumberOf(const std::string& path);
// The file name without folder and extension.
std::string BaseNameOf(const std::string& filePath);

}  // namespace orvalen
