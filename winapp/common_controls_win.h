#pragma once
// Thin wrappers of the common controls the programs use: tree view, list view,
// trackbar, edit, and the image-list owner. Each is a view of a control made
// by a dialog template or over a placeholder; they own nothing but what they
// say (an ImageList owns its list).
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

#include "winapp/handles_win.h"
#include "winapp/window_view_win.h"

namespace orvalen {

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle handle) { ImageList_Destroy(handle); }
};

// An image list destroyed with ImageList_Destroy. A control given the list
// does not destroy it (the control styles LVS_SHAREIMAGELISTS aside), so the
// owner must outlive the control's use of it.
class ImageList : public UniqueHandle<ImageListTraits> {
 public:
  using UniqueHandle::UniqueHandle;
  // Images of `imageWidth` pixels side by side in a bitmap resource of this
  // program; `transparent` is the colour that shows the background.
  static ImageList FromBitmap(int bitmapId, int imageWidth, COLORREF transparent);
  int Count() const { return Get() ? ImageList_GetImageCount(Get()) : 0; }
};

class TreeView : public WindowView {
 public:
  using WindowView::WindowView;

  // Inserts an item under `parent` (TVI_ROOT for the root) after `after`;
  // null when it failed.
  HTREEITEM Insert(HTREEITEM parent, const std::string& text, int image, int selectedImage,
                   HTREEITEM after = TVI_LAST, LPARAM data = 0);
  bool DeleteAll();
  HTREEITEM Root() const { return Next(nullptr, TVGN_ROOT); }
  HTREEITEM Child(HTREEITEM item) const { return Next(item, TVGN_CHILD); }
  HTREEITEM Sibling(HTREEITEM item) const { return Next(item, TVGN_NEXT); }
  HTREEITEM Selection() const { return Next(nullptr, TVGN_CARET); }
  bool Select(HTREEITEM item);
  bool Expand(HTREEITEM item, UINT action);
  // At most `maxChars` characters of the item's text.
  std::string ItemText(HTREEITEM item, size_t maxChars = 260) const;
  LPARAM ItemData(HTREEITEM item) const;
  // The item's whole row, or only its label.
  bool ItemRect(HTREEITEM item, bool labelOnly, RECT& rect) const;

  struct Hit {
    HTREEITEM item = nullptr;
    UINT flags = 0;  // TVHT_*
  };
  // The item at a point of the client area and where on it the point lies.
  Hit HitTest(POINT point) const;

  // Sets the normal (TVSIL_NORMAL) or state (TVSIL_STATE) image list; the
  // previous one is returned, the caller's to keep or release.
  HIMAGELIST SetImageList(HIMAGELIST list, int which = TVSIL_NORMAL);

 private:
  HTREEITEM Next(HTREEITEM item, UINT relation) const;
};

// Orders the items of a list view for ListView::SortItemsEx.
class ListViewComparator {
 public:
  virtual ~ListViewComparator() = default;
  // Negative when the item at `index1` goes first, positive when the one at
  // `index2` does, 0 when they are equal. The indexes are the items' places
  // before the sort; the list does not change while the comparator runs, so
  // it may read the items by these indexes.
  virtual int Compare(int index1, int index2) = 0;
};

class ListView : public WindowView {
 public:
  using WindowView::WindowView;

  // LVS_EX_* bits in `mask` set to those in `style`.
  void SetExtendedStyle(DWORD mask, DWORD style);
  DWORD ExtendedStyle() const;
  // `format`: LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER.
  bool InsertColumn(int index, const std::string& text, int width, int format = LVCFMT_LEFT);
  int ColumnCount() const;

  // Inserts an item with its first column; its index, or -1.
  int InsertItem(int index, const std::string& text, LPARAM data = 0);
  bool SetItemText(int item, int column, const std::string& text);
  std::string ItemText(int item, int column, size_t maxChars = 1024) const;
  LPARAM ItemData(int item) const;
  bool SetItemData(int item, LPARAM data);
  bool DeleteItem(int item);
  bool DeleteAll();
  int Count() const;

  bool Selected(int item) const;
  void SetSelected(int item, bool selected);
  int SelectedCount() const;
  // The first selected item after `after` (-1: from the start); -1 when none.
  int NextSelected(int after = -1) const;

  // Sorts the items stably in the comparator's order. Equal items keep their
  // order; texts, data and states move with their items. A comparator that
  // throws leaves the list as it was (and the result is false).
  bool SortItemsEx(ListViewComparator& comparator);
};

class Trackbar : public WindowView {
 public:
  using WindowView::WindowView;

  void SetRange(int minimum, int maximum, bool redraw = true);
  int Minimum() const;
  int Maximum() const;
  void SetPosition(int position, bool redraw = true);
  int Position() const;
  // A tick mark every `frequency` positions (TBS_AUTOTICKS).
  void SetTickFrequency(int frequency);
  bool AddTick(int position);
  void ClearTicks(bool redraw = true);
  int TickCount() const;
  void SetPageSize(int size);
  int PageSize() const;
  void SetLineSize(int size);
};

class Edit : public WindowView {
 public:
  using WindowView::WindowView;

  // The most characters the user may type (0: the system's maximum).
  void SetLimit(int characters);
  int Limit() const;
  void SetSelection(int start, int end);
  // Start and end of the selection (end = start without one).
  std::pair<int, int> Selection() const;
  void SelectAll() { SetSelection(0, -1); }
  void ReplaceSelection(const std::string& text, bool canUndo = true);
  void SetReadOnly(bool readOnly);
  bool Modified() const;
  void SetModified(bool modified);
};

}  // namespace orvalen
