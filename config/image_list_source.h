#pragma once
// What the configuration dialog asks of the images page: the list it writes
// into the profile, the selection the slide show starts from, and the hand-over
// of files dropped anywhere on the dialog.
#include <string>
#include <vector>

namespace orvalen {

class ImageListSource {
 public:
  virtual ~ImageListSource() = default;

  virtual int ImageCount() const = 0;
  // The file name of item `index` without its folder.
  virtual std::string ImageName(int index) const = 0;
  // The folder of item `index`, with its trailing backslash.
  virtual std::string ImageFolder(int index) const = 0;
  // The item's text in stored (one-line) form.
  virtual std::string ImageText(int index) const = 0;
  // The index of the first selected item, -1 when none is selected.
  virtual int FirstSelectedImage() const = 0;

  // Paths dropped on the dialog, in the order the shell gave them.
  virtual void AcceptDroppedPaths(const std::vector<std::string>& paths) = 0;
  virtual void ClearDropQueue() = 0;
};

}  // namespace orvalen
