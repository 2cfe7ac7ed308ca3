#include "config/option_image_win.h"

#include <commctrl.h>

#include "config/page_rules.h"
#include "imaging/extended_dib_win.h"
#include "resources/resource_ids.h"
#include "saver/process_state.h"
#include "winapp/private_profile.h"

namespace orvalen {
namespace {

constexpr int kMaxImages = 1000;
constexpr size_t kFileNameChars = 259;
constexpr size_t kImageTextChars = 999;

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TOptionImage::TOptionImage() : SettingsPage(IDD_IMAGES) {}

bool TOptionImage::OnInit() {
  WindowView list = Item(IDC_IMAGES_LIST);
  list.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const struct { const char* text; int width; } columns[] = {{"Name", 110}, {"Folder", 250}};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(columns[i].text);
    column.cx = columns[i].width;
    list.Send(LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  Load(Settings());
  return true;
}

void TOptionImage::Load(const SaverSettings&) {
  images_.clear();
  Item(IDC_IMAGES_LIST).Send(LVM_DELETEALLITEMS);
  PrivateProfile profile(Startup().activeProfilePath);
  for (int i = 0; i < kMaxImages; ++i) {
    const std::string key = ImageKey(i);
    const std::string path = profile.GetString(profile_keys::kFiles, key.c_str(),
                                               profile_keys::kNoEntry, kFileNameChars);
    if (path == profile_keys::kListEnd) break;
    if (path.empty() || path == profile_keys::kNoEntry) continue;
    Append(path, profile.GetString(profile_keys::kImageText, key.c_str(), "", kImageTextChars));
  }
}

void TOptionImage::Append(const std::string& path, const std::string& storedText) {
  const FolderAndName parts = SplitFolderAndName(path);
  images_.push_back(ImageEntry{path, storedText});
  WindowView list = Item(IDC_IMAGES_LIST);
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = static_cast<int>(images_.size()) - 1;
  item.pszText = const_cast<char*>(parts.name.c_str());
  const int index = static_cast<int>(list.Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  item.iItem = index;
  item.iSubItem = 1;
  item.pszText = const_cast<char*>(parts.folder.c_str());
  list.Send(LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
}

int TOptionImage::ImageCount() const { return static_cast<int>(images_.size()); }

std::string TOptionImage::ImageName(int index) const {
  return SplitFolderAndName(images_.at(index).path).name;
}

std::string TOptionImage::ImageFolder(int index) const {
  return SplitFolderAndName(images_.at(index).path).folder;
}

std::string TOptionImage::ImageText(int index) const { return images_.at(index).text; }

int TOptionImage::FirstSelectedImage() const {
  return static_cast<int>(Item(IDC_IMAGES_LIST).Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                     LVNI_SELECTED));
}

void TOptionImage::AcceptDroppedPaths(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (ImageCount() >= kMaxImages) break;
    if (!IsFile(path)) continue;
    TExtendedDib probe(path.c_str());  // only pictures the saver can show
    if (LastLoadSucceeded()) Append(path, "");
  }
}

}  // namespace orvalen
