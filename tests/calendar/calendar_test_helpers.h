#pragma once
// Scratch folders and whole-file access for the calendar tests.
#include <filesystem>
#include <string>

namespace orvalen::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  // The full path of `name` inside the folder.
  std::string Path(const std::string& name) const;
  const std::filesystem::path& Root() const { return root_; }
  // Names of the files now in the folder, sorted.
  std::string Listing() const;

 private:
  std::filesystem::path root_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes; "<missing>" when it cannot be opened.
std::string ReadBytes(const std::string& path);

// One record as the writer spells it (single-blank end line as in the working
// buffer, or the saved file's two blanks).
std::string Record(int dayIndex, int yearIndex, const std::string& journal, const std::string& hours,
                   const std::string& todo, bool savedEndLine = true);

}  // namespace orvalen::test
