#pragma once
// "Images": the list of pictures the saver shows, at most 1000, with the text
// of each. Pictures come from the open dialog, from files dropped on the
// configuration window (queued and added one per timer tick, each tested by
// loading it) and from the active profile. The list view itself holds the
// list: one row per picture, eight columns, the last the picture's text in
// stored form.
#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "config/image_list_source.h"
#include "config/image_windows_win.h"
#include "config/settings_page_win.h"
#include "saver/settings.h"
#include "winapp/common_controls_win.h"

namespace orvalen {

// Orders the list's rows by the texts one column held when the sort began.
class TMyComparator : public ListViewComparator {
 public:
  TMyComparator(const ListView& list, int column, bool ascending);
  int Compare(int index1, int index2) override;

 protected:
  virtual int CompareKeys(const std::string& first, const std::string& second) const = 0;

 private:
  std::vector<std::string> keys_;
  bool ascending_;
};

// Sizes ("12KB") by their number.
class TMyIntComparator : public TMyComparator {
 public:
  using TMyComparator::TMyComparator;

 protected:
  int CompareKeys(const std::string& first, const std::string& second) const override;
};

// Every other column as text, by the locale's case-sensitive order.
class TMyStringComparator : public TMyComparator {
 public:
  using TMyComparator::TMyComparator;

 protected:
  int CompareKeys(const std::string& first, const std::string& second) const override;
};

class TOptionImage : public SettingsPage, public ImageListSource {
 public:
  static constexpr int kMaxImages = 1000;
  static constexpr UINT_PTR kDropTimer = 5;
  static constexpr UINT kDropTimerMs = 200;

  TOptionImage();
  // Refills the list from the active profile.
  void Load(const SaverSettings& settings) override;
  void Store(SaverSettings&) override {}

  int ImageCount() const override;
  std::string ImageName(int index) const override;
  std::string ImageFolder(int index) const override;
  std::string ImageText(int index) const override;
  int FirstSelectedImage() const override;
  void AcceptDroppedPaths(const std::vector<std::string>& paths) override;
  void ClearDropQueue() override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int notifyCode, HWND control) override;
  std::optional<LRESULT> OnNotify(const NMHDR& header) override;
  bool OnTimer(UINT_PTR timerId) override;
  void OnDestroy() override;

 private:
  ListView List() const;
  WindowView Queue() const;
  int QueueCount() const;
  // The configuration window, whose caption tells what is being added.
  void SetConfigureCaption(const std::string& text);

  bool IsDuplicate(const std::string& path) const;
  // Adds one file: refused silently when it is already listed, when the test
  // finds no picture in it, or when it does not exist. True when added.
  bool AddFile(const std::string& path, bool test);
  void AddFiles();
  void RemoveSelected();
  void OpenFolderWindow();
  void WorkOffQueue();
  void EndDraining();
  void Sort(int column);
  int LastSelected() const;
  // Gives the focused picture to the preview and text windows that are on.
  void Refresh();
  void ApplyText();

  bool ready_ = true;
  bool busy_ = false;
  bool draining_ = false;
  int sortColumn_ = -1;
  bool sortAscending_ = false;
  // Folder and name of every row, for the duplicate check.
  std::set<std::pair<std::string, std::string>> listed_;
  TImagePreview preview_;
  TImageText text_;
};

}  // namespace orvalen
