#include "config/option_image_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>
#include <map>

#include "config/command_ids.h"
#include "config/image_columns.h"
#include "config/page_rules.h"
#include "config/x_file_open_dialog_win.h"
#include "imaging/extended_dib_win.h"
#include "resources/resource_ids.h"
#include "saver/process_state.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/handles_win.h"
#include "winapp/private_profile.h"

namespace orvalen {
namespace {

constexpr size_t kFileNameChars = 259;
constexpr size_t kImageTextChars = 999;
// Room for a selection of as many files as the list can hold, each with a
// name as long as a path can be, after their folder.
constexpr size_t kOpenBufferChars = (TOptionImage::kMaxImages + 1) * MAX_PATH + 1;
constexpr const char* kProgramName = "Orvalen";
constexpr const char* kTooManyImages = "Too many images";
constexpr const char* kDragDropText = "&Drag && Drop";
constexpr const char* kOpenFilter =
    "All supported formats|*.jpg;*.jpeg;*.bmp;*.rle;*.dib;*.gif;*.tif;*.pcx|"
    "JPEG (*.jpg, *.jpeg)|*.jpg;*.jpeg|Bitmap (*.bmp, *.rle, *.dib)|*.bmp;*.rle;*.dib|"
    "PCX (*.pcx)|*.pcx|TIFF (*.tif)|*.tif|All files (*.*)|*.*|";

struct Column {
  const char* text;
  int width;
  int format;
};
constexpr Column kColumns[kImageColumnCount] = {
    {"Name", 200, LVCFMT_LEFT},     {"Folder", 200, LVCFMT_LEFT},  {"Size", 50, LVCFMT_RIGHT},
    {"Modified", 110, LVCFMT_LEFT}, {"Visited", 80, LVCFMT_LEFT},  {"Created", 80, LVCFMT_LEFT},
    {"Type", 40, LVCFMT_LEFT},      {"Display this text", 1, LVCFMT_LEFT}};

// The controls the user may not touch while dropped files are added.
constexpr int kLockedWhileDraining[] = {IDC_IMAGES_LIST,    IDC_IMAGES_ADD_FILE,
                                        IDC_IMAGES_REMOVE,  IDC_IMAGES_PREVIEW,
                                        IDC_IMAGES_TEXT,    IDC_IMAGES_DROP_QUEUE};

FileStamp StampOf(const FILETIME& time) {
  SYSTEMTIME calendar{};
  FileTimeToSystemTime(&time, &calendar);
  return FileStamp{calendar.wYear, calendar.wMonth, calendar.wDay, calendar.wHour,
                   calendar.wMinute};
}

void SetState(const ListView& list, int item, UINT mask, UINT state) {
  LVITEMA change{};
  change.stateMask = mask;
  change.state = state;
  list.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&change));
}

}  // namespace

TMyComparator::TMyComparator(const ListView& list, int column, bool ascending)
    : ascending_(ascending) {
  const int count = list.Count();
  keys_.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) keys_.push_back(list.ItemText(i, column));
}

int TMyComparator::Compare(int index1, int index2) {
  const int result = CompareKeys(keys_.at(static_cast<size_t>(index1)),
                                 keys_.at(static_cast<size_t>(index2)));
  return ascending_ ? result : -result;
}

int TMyIntComparator::CompareKeys(const std::string& first, const std::string& second) const {
  return CompareSizeTexts(first, second);
}

int TMyStringComparator::CompareKeys(const std::string& first, const std::string& second) const {
  return lstrcmpA(first.c_str(), second.c_str());
}

TOptionImage::TOptionImage() : SettingsPage(IDD_IMAGES) {}

ListView TOptionImage::List() const { return ListView(Item(IDC_IMAGES_LIST).Handle()); }

WindowView TOptionImage::Queue() const { return Item(IDC_IMAGES_DROP_QUEUE); }

int TOptionImage::QueueCount() const {
  const LRESULT count = Queue().Send(LB_GETCOUNT);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

bool TOptionImage::OnInit() {
  SetTimer(Handle(), kDropTimer, kDropTimerMs, nullptr);
  ListView list = List();
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < kImageColumnCount; ++i) {
    list.InsertColumn(i, kColumns[i].text, kColumns[i].width, kColumns[i].format);
  }
  text_.Create(Handle());
  preview_.Create(Handle(), "Preview");
  Load(Settings());
  return true;
}

void TOptionImage::OnDestroy() { KillTimer(Handle(), kDropTimer); }

// Every entry of one section of the profile, read at once.
static std::map<std::string, std::string> ReadSection(const std::string& path, const char* section,
                                                      size_t maxChars) {
  std::string block(64 * 1024, '\0');
  for (;;) {
    const DWORD read = GetPrivateProfileSectionA(section, block.data(),
                                                 static_cast<DWORD>(block.size()), path.c_str());
    if (read + 2 < block.size()) {
      block.resize(read + 1);
      break;
    }
    block.assign(block.size() * 2, '\0');
  }
  return ParseProfileSection(block, maxChars);
}

void TOptionImage::Load(const SaverSettings&) {
  ready_ = false;
  ListView list = List();
  list.Send(WM_SETREDRAW, FALSE);
  list.DeleteAll();
  listed_.clear();
  ClearDropQueue();
  const std::string profile = PrivateProfile(Startup().activeProfilePath).Path();
  const std::map<std::string, std::string> files =
      ReadSection(profile, profile_keys::kFiles, kFileNameChars);
  const std::map<std::string, std::string> texts =
      ReadSection(profile, profile_keys::kImageText, kImageTextChars);
  for (int i = 0; i < kMaxImages; ++i) {
    const std::string key = ImageKey(i);
    const auto file = files.find(key);
    if (file == files.end()) continue;
    const std::string& entry = file->second;
    if (entry.empty() || entry == profile_keys::kNoEntry) continue;
    if (entry == profile_keys::kListEnd) break;
    if (!AddFile(ListedPathOf(entry, Startup().programDir), false)) continue;
    const auto text = texts.find(key);
    if (text != texts.end() && !text->second.empty()) {
      list.SetItemText(list.Count() - 1, kColumnText, text->second);
    }
  }
  list.Send(WM_SETREDRAW, TRUE);
  InvalidateRect(list.Handle(), nullptr, TRUE);
  SetState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  // A repeated entry set "Already add: ..." while the list filled.
  SetConfigureCaption(kProgramName);
  ready_ = true;
}

void TOptionImage::SetConfigureCaption(const std::string& text) {
  SetWindowTextA(GetParent(Handle()), text.c_str());
}

bool TOptionImage::IsDuplicate(const std::string& path) const {
  const FolderAndName parts = SplitFolderAndName(path);
  return listed_.count({parts.folder, parts.name}) != 0;
}

bool TOptionImage::AddFile(const std::string& path, bool test) {
  if (IsDuplicate(path)) {
    SetConfigureCaption("Already add: " + path);
    return false;
  }
  if (test) {
    SetConfigureCaption("Testing: " + path);
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    bool loaded = false;
    {
      TExtendedDib probe(path.c_str());
      loaded = LastLoadSucceeded();
    }
    SetCursor(previous);
    if (!loaded) return false;
  }
  // The file's size and time stamps, as a directory search reports them. A
  // folder, a drive root and a name with wildcards are no file of the list.
  const FolderAndName parts = SplitFolderAndName(path);
  WIN32_FIND_DATAA found{};
  {
    FindHandle search(FindFirstFileA(path.c_str(), &found));
    if (!search || !FoundIsTheNamedFile(parts.name, found.cFileName, found.cAlternateFileName,
                                        (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
      return false;
    }
  }

  busy_ = true;
  ListView list = List();
  const int firstSelected = list.NextSelected();
  const int index = list.InsertItem(ready_ ? 0 : list.Count(), parts.name);
  if (index < 0) {
    busy_ = false;
    return false;
  }
  const uint64_t bytes = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  list.SetItemText(index, kColumnFolder, parts.folder);
  list.SetItemText(index, kColumnSize, SizeColumnText(bytes));
  list.SetItemText(index, kColumnModified, DateTimeColumnText(StampOf(found.ftLastWriteTime)));
  list.SetItemText(index, kColumnVisited, DateColumnText(StampOf(found.ftLastAccessTime)));
  list.SetItemText(index, kColumnCreated, DateColumnText(StampOf(found.ftCreationTime)));
  list.SetItemText(index, kColumnType, TypeColumnText(parts.name));
  listed_.insert({parts.folder, parts.name});
  if (ready_) {
    if (firstSelected >= 0) SetState(list, firstSelected + 1, LVIS_SELECTED, 0);
    SetState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
  busy_ = false;
  return true;
}

int TOptionImage::LastSelected() const {
  const ListView list = List();
  int last = -1;
  for (int item = list.NextSelected(); item >= 0; item = list.NextSelected(item)) last = item;
  return last;
}

void TOptionImage::AddFiles() {
  const ListView list = List();
  if (list.Count() >= kMaxImages) {
    ShowMessage(Handle(), kTooManyImages);
    return;
  }
  const int last = LastSelected();
  TXFileOpenDialog dialog;
  dialog.SetFilter(kOpenFilter);
  dialog.SetInitialFolder(last >= 0 ? list.ItemText(last, kColumnFolder) : Startup().programDir);
  dialog.SetFlags(OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                  OFN_ENABLESIZING);
  dialog.SetBufferSize(kOpenBufferChars);
  if (dialog.ShowOpen(Handle())) {
    const std::vector<std::string>& paths = dialog.Paths();
    if (paths.size() == 1) {
      AddFile(paths.front(), true);
    } else {
      for (const std::string& path : paths) {
        if (!IsDuplicate(path)) AddFile(path, false);
        if (list.Count() >= kMaxImages) {
          ShowMessage(Handle(), kTooManyImages);
          break;
        }
      }
    }
  } else if (dialog.Error() == FNERR_BUFFERTOOSMALL) {
    // Names of many thousand files: far more than the list can take.
    ShowMessage(Handle(), kTooManyImages);
  }
  SetConfigureCaption(kProgramName);
  SetCurrentDirectoryA(Startup().programDir.c_str());
}

void TOptionImage::RemoveSelected() {
  busy_ = true;
  ListView list = List();
  // From the end, so the indexes still to visit do not move.
  for (int item = list.Count() - 1; item >= 0; --item) {
    if (!list.Selected(item)) continue;
    listed_.erase({list.ItemText(item, kColumnFolder), list.ItemText(item, kColumnName)});
    list.DeleteItem(item);
  }
  busy_ = false;
}

void TOptionImage::OpenFolderWindow() {
  if (draining_) {
    ClearDropQueue();
    return;
  }
  const int last = LastSelected();
  const std::string folder = last >= 0 ? List().ItemText(last, kColumnFolder) : "c:\\";
  ShellExecuteA(Handle(), nullptr, folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TOptionImage::AcceptDroppedPaths(const std::vector<std::string>& paths) {
  Queue().Send(LB_RESETCONTENT);
  for (const std::string& path : paths) {
    if (List().Count() + QueueCount() >= kMaxImages) {
      ShowMessage(Handle(), kTooManyImages);
      SetConfigureCaption(kProgramName);
      break;
    }
    if (!IsDuplicate(path)) Queue().Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
  }
}

void TOptionImage::ClearDropQueue() {
  Queue().Send(LB_RESETCONTENT);
  if (draining_) EndDraining();
}

void TOptionImage::WorkOffQueue() {
  if (QueueCount() == 0) {
    if (draining_) EndDraining();  // emptied by a new drop that queued nothing
    return;
  }
  if (!draining_) {
    for (int id : kLockedWhileDraining) Item(id).Enable(false);
    Item(IDC_IMAGES_DRAG_DROP).SetText("STOP");
    draining_ = true;
  }
  const LRESULT length = Queue().Send(LB_GETTEXTLEN, 0);
  std::string path(length == LB_ERR ? 0 : static_cast<size_t>(length) + 1, '\0');
  if (!path.empty()) {
    Queue().Send(LB_GETTEXT, 0, reinterpret_cast<LPARAM>(path.data()));
    path.resize(std::strlen(path.c_str()));
  }
  Queue().Send(LB_DELETESTRING, 0);
  if (!path.empty()) AddFile(path, true);
  if (QueueCount() == 0) EndDraining();
}

void TOptionImage::EndDraining() {
  draining_ = false;
  for (int id : kLockedWhileDraining) Item(id).Enable(true);
  Item(IDC_IMAGES_DRAG_DROP).SetText(kDragDropText);
  SetConfigureCaption(kProgramName);
}

void TOptionImage::Sort(int column) {
  if (column < 0 || column >= kImageColumnCount) return;
  sortAscending_ = SortAscendingAfterClick(column, sortColumn_, sortAscending_);
  sortColumn_ = column;
  ListView list = List();
  busy_ = true;
  list.Send(WM_SETREDRAW, FALSE);
  if (column == kColumnSize) {
    TMyIntComparator comparator(list, column, sortAscending_);
    list.SortItemsEx(comparator);
  } else {
    TMyStringComparator comparator(list, column, sortAscending_);
    list.SortItemsEx(comparator);
  }
  list.Send(WM_SETREDRAW, TRUE);
  InvalidateRect(list.Handle(), nullptr, TRUE);
  busy_ = false;
}

void TOptionImage::Refresh() {
  const bool preview = Item(IDC_IMAGES_PREVIEW).Checked();
  const bool text = Item(IDC_IMAGES_TEXT).Checked();
  if (busy_ || (!preview && !text)) return;
  const ListView list = List();
  const int focused =
      static_cast<int>(list.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused < 0) return;
  const std::string name = list.ItemText(focused, kColumnName);
  if (preview) preview_.LoadImage(list.ItemText(focused, kColumnFolder) + name);
  if (text) text_.SetText(name, list.ItemText(focused, kColumnText));
}

void TOptionImage::ApplyText() {
  const int first = List().NextSelected();
  if (first < 0) {
    ShowMessage(Handle(), "error!");
    return;
  }
  List().SetItemText(first, kColumnText, text_.Buffer());
}

bool TOptionImage::OnCommand(int id, int notifyCode, HWND) {
  switch (id) {
    case IDC_IMAGES_PREVIEW:
      if (notifyCode != BN_CLICKED) return false;
      if (Item(IDC_IMAGES_PREVIEW).Checked()) {
        preview_.Show(true);
        busy_ = false;
        Refresh();
      } else {
        preview_.Show(false);
      }
      return true;
    case IDC_IMAGES_TEXT:
      if (notifyCode != BN_CLICKED) return false;
      if (Item(IDC_IMAGES_TEXT).Checked()) {
        text_.Show(true);
        Refresh();
      } else {
        text_.Show(false);
      }
      return true;
    case CM_PREVIEW_CLOSED: Item(IDC_IMAGES_PREVIEW).SetCheck(false); return true;
    case CM_TEXT_CLOSED: Item(IDC_IMAGES_TEXT).SetCheck(false); return true;
    case CM_TEXT_APPLY: ApplyText(); return true;
    case IDC_IMAGES_ADD_FILE: AddFiles(); return true;
    case IDC_IMAGES_REMOVE: RemoveSelected(); return true;
    case IDC_IMAGES_DRAG_DROP: OpenFolderWindow(); return true;
    default: return false;
  }
}

std::optional<LRESULT> TOptionImage::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_IMAGES_LIST) return std::nullopt;
  if (header.code == LVN_COLUMNCLICK) {
    Sort(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
    return 0;
  }
  if (header.code == LVN_ITEMCHANGED || header.code == NM_CLICK) Refresh();
  return std::nullopt;
}

bool TOptionImage::OnTimer(UINT_PTR timerId) {
  if (timerId != kDropTimer) return false;
  WorkOffQueue();
  return true;
}

int TOptionImage::ImageCount() const { return List().Count(); }

std::string TOptionImage::ImageName(int index) const {
  return List().ItemText(index, kColumnName);
}

std::string TOptionImage::ImageFolder(int index) const {
  return List().ItemText(index, kColumnFolder);
}

std::string TOptionImage::ImageText(int index) const {
  return List().ItemText(index, kColumnText);
}

int TOptionImage::FirstSelectedImage() const { return List().NextSelected(); }

}  // namespace orvalen
