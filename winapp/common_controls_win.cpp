#include "winapp/common_controls_win.h"

#include <cstring>
#include <optional>
#include <vector>

#include "winapp/callback_guard_win.h"
#include "winapp/sort_order.h"

namespace orvalen {

ImageList ImageList::FromBitmap(int bitmapId, int imageWidth, COLORREF transparent) {
  return ImageList(ImageList_LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId),
                                        imageWidth, 0, transparent, IMAGE_BITMAP,
                                        LR_CREATEDIBSECTION));
}

HTREEITEM TreeView::Insert(HTREEITEM parent, const std::string& text, int image,
                           int selectedImage, HTREEITEM after, LPARAM data) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool TreeView::DeleteAll() {
  return Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0;
}

HTREEITEM TreeView::Next(HTREEITEM item, UINT relation) const {
  return reinterpret_cast<HTREEITEM>(
      Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool TreeView::Select(HTREEITEM item) {
  return Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

bool TreeView::Expand(HTREEITEM item, UINT action) {
  return Send(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)) != 0;
}

std::string TreeView::ItemText(HTREEITEM item, size_t maxChars) const {
  if (!item) return {};
  // One character more than the control is told, so a control that fills
  // the whole buffer without an ending NUL is still read safely.
  std::vector<char> buffer(maxChars + 2, '\0');
  TVITEMA query{};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = buffer.data();
  query.cchTextMax = static_cast<int>(maxChars + 1);
  if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)) || !query.pszText) return {};
  return std::string(query.pszText, strnlen(query.pszText, maxChars));
}

LPARAM TreeView::ItemData(HTREEITEM item) const {
  TVITEMA query{};
  query.mask = TVIF_PARAM;
  query.hItem = item;
  return item && Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)) ? query.lParam : 0;
}

bool TreeView::ItemRect(HTREEITEM item, bool labelOnly, RECT& rect) const {
  // TVM_GETITEMRECT takes the item handle in the rectangle it fills.
  *reinterpret_cast<HTREEITEM*>(&rect) = item;
  return item && Send(TVM_GETITEMRECT, labelOnly, reinterpret_cast<LPARAM>(&rect)) != 0;
}

TreeView::Hit TreeView::HitTest(POINT point) const {
  TVHITTESTINFO info{};
  info.pt = point;
  Hit hit;
  hit.item = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  hit.flags = info.flags;
  return hit;
}

HIMAGELIST TreeView::SetImageList(HIMAGELIST list, int which) {
  return reinterpret_cast<HIMAGELIST>(
      Send(TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)));
}

void ListView::SetExtendedStyle(DWORD mask, DWORD style) {
  Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

DWORD ListView::ExtendedStyle() const {
  return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

bool ListView::InsertColumn(int index, const std::string& text, int width, int format) {
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<char*>(text.c_str());
  column.iSubItem = index;
  return Send(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)) != -1;
}

int ListView::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListView::InsertItem(int index, const std::string& text, LPARAM data) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  item.lParam = data;
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListView::SetItemText(int item, int column, const std::string& text) {
  LVITEMA change{};
  change.iSubItem = column;
  change.pszText = const_cast<char*>(text.c_str());
  return Send(LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&change)) != 0;
}

std::string ListView::ItemText(int item, int column, size_t maxChars) const {
  std::vector<char> buffer(maxChars + 2, '\0');
  LVITEMA query{};
  query.iSubItem = column;
  query.pszText = buffer.data();
  query.cchTextMax = static_cast<int>(maxChars + 1);
  const LRESULT length = Send(LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&query));
  if (length <= 0 || !query.pszText) return {};
  return std::string(query.pszText, strnlen(query.pszText, maxChars));
}

LPARAM ListView::ItemData(int item) const {
  LVITEMA query{};
  query.mask = LVIF_PARAM;
  query.iItem = item;
  return Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)) ? query.lParam : 0;
}

bool ListView::SetItemData(int item, LPARAM data) {
  LVITEMA change{};
  change.mask = LVIF_PARAM;
  change.iItem = item;
  change.lParam = data;
  return Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)) != 0;
}

bool ListView::DeleteItem(int item) { return Send(LVM_DELETEITEM, item) != 0; }

bool ListView::DeleteAll() { return Send(LVM_DELETEALLITEMS) != 0; }

int ListView::Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

bool ListView::Selected(int item) const {
  return Send(LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED;
}

void ListView::SetSelected(int item, bool selected) {
  LVITEMA change{};
  change.stateMask = LVIS_SELECTED;
  change.state = selected ? LVIS_SELECTED : 0;
  Send(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&change));
}

int ListView::SelectedCount() const { return static_cast<int>(Send(LVM_GETSELECTEDCOUNT)); }

int ListView::NextSelected(int after) const {
  return static_cast<int>(Send(LVM_GETNEXTITEM, after, MAKELPARAM(LVNI_SELECTED, 0)));
}

namespace {

// The items carry their new places as item data while the list sorts them.
int CALLBACK CompareByPlace(LPARAM place1, LPARAM place2, LPARAM) {
  return GuardedCallback(0, [&] { return place1 < place2 ? -1 : place1 > place2 ? 1 : 0; });
}

}  // namespace

bool ListView::SortItemsEx(ListViewComparator& comparator) {
  const int count = Count();
  if (count < 2) return true;
  // The order is found first, on the list as it stands: the comparator may
  // read any item by its index meanwhile. (Inside LVM_SORTITEMSEX the indexes
  // a comparison gets and the items a read sees need not agree while the
  // control moves its items.)
  const std::optional<std::vector<size_t>> order =
      GuardedCallback<std::optional<std::vector<size_t>>>(std::nullopt, [&] {
        return std::optional<std::vector<size_t>>(StableSortOrder(
            static_cast<size_t>(count), [&](size_t first, size_t second) {
              return comparator.Compare(static_cast<int>(first), static_cast<int>(second));
            }));
      });
  if (!order) return false;
  std::vector<LPARAM> data(static_cast<size_t>(count));
  for (int place = 0; place < count; ++place) {
    const size_t item = (*order)[static_cast<size_t>(place)];
    data[item] = ItemData(static_cast<int>(item));
  }
  for (int place = 0; place < count; ++place) {
    SetItemData(static_cast<int>((*order)[static_cast<size_t>(place)]), place);
  }
  const bool sorted = Send(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareByPlace)) != 0;
  // Each item at its new place gets its own data back (unsorted: the same).
  for (int place = 0; place < count; ++place) {
    const size_t item = sorted ? (*order)[static_cast<size_t>(place)] : static_cast<size_t>(place);
    SetItemData(place, data[item]);
  }
  return sorted;
}

void Trackbar::SetRange(int minimum, int maximum, bool redraw) {
  Send(TBM_SETRANGEMIN, FALSE, minimum);
  Send(TBM_SETRANGEMAX, redraw, maximum);
}

int Trackbar::Minimum() const { return static_cast<int>(Send(TBM_GETRANGEMIN)); }

int Trackbar::Maximum() const { return static_cast<int>(Send(TBM_GETRANGEMAX)); }

void Trackbar::SetPosition(int position, bool redraw) { Send(TBM_SETPOS, redraw, position); }

int Trackbar::Position() const { return static_cast<int>(Send(TBM_GETPOS)); }

void Trackbar::SetTickFrequency(int frequency) { Send(TBM_SETTICFREQ, frequency); }

bool Trackbar::AddTick(int position) { return Send(TBM_SETTIC, 0, position) != 0; }

void Trackbar::ClearTicks(bool redraw) { Send(TBM_CLEARTICS, redraw); }

int Trackbar::TickCount() const { return static_cast<int>(Send(TBM_GETNUMTICS)); }

void Trackbar::SetPageSize(int size) { Send(TBM_SETPAGESIZE, 0, size); }

int Trackbar::PageSize() const { return static_cast<int>(Send(TBM_GETPAGESIZE)); }

void Trackbar::SetLineSize(int size) { Send(TBM_SETLINESIZE, 0, size); }

void Edit::SetLimit(int characters) { Send(EM_SETLIMITTEXT, characters); }

int Edit::Limit() const { return static_cast<int>(Send(EM_GETLIMITTEXT)); }

void Edit::SetSelection(int start, int end) { Send(EM_SETSEL, start, end); }

std::pair<int, int> Edit::Selection() const {
  DWORD start = 0;
  DWORD end = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

void Edit::ReplaceSelection(const std::string& text, bool canUndo) {
  Send(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text.c_str()));
}

void Edit::SetReadOnly(bool readOnly) { Send(EM_SETREADONLY, readOnly); }

bool Edit::Modified() const { return Send(EM_GETMODIFY) != 0; }

void Edit::SetModified(bool modified) { Send(EM_SETMODIFY, modified); }

}  // namespace orvalen
