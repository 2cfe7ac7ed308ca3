#pragma once
// "Images": the list of pictures the saver shows, in profile order, with the
// text of each. This page keeps the list the active profile holds and hands
// it to the configuration dialog, which writes it back; adding, testing,
// sorting and editing pictures come with the full list page.
#include <windows.h>

#include <string>
#include <vector>

#include "config/image_list_source.h"
#include "config/settings_page_win.h"
#include "saver/settings.h"

namespace orvalen {

class TOptionImage : public SettingsPage, public ImageListSource {
 public:
  TOptionImage();
  // Re-reads the list from the active profile.
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings&) override {}

  int ImageCount() const override;
  std::string ImageName(int index) const override;
  std::string ImageFolder(int index) const override;
  std::string ImageText(int index) const override;
  int FirstSelectedImage() const override;
  void AcceptDroppedPaths(const std::vector<std::string>& paths) override;
  void ClearDropQueue() override {}

 protected:
  bool OnInit() override;

 private:
  void Append(const std::string& path, const std::string& storedText);

  std::vector<ImageEntry> images_;
};

}  // namespace orvalen
