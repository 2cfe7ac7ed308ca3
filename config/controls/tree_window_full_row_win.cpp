#include "config/controls/tree_window_full_row_win.h"

#include <windowsx.h>

#include <cstring>
#include <optional>

#include "config/controls/full_row_tree.h"
#include "winapp/handles_win.h"

namespace orvalen {

namespace {

TVHITTESTINFO HitTest(HWND tree, LPARAM lParam) {
  TVHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  return hit;
}

HTREEITEM Selection(HWND tree) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

}  // namespace

LRESULT TTreeWindowFullRow::SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      if (OnLeftDown(lParam)) return 0;
      break;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(lParam);
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      // A moved selection leaves the old bar right of the old label, outside
      // what the tree repaints: paint it all.
      if (message == WM_PAINT && Selection(Handle()) != barItem_) {
        InvalidateRect(Handle(), nullptr, FALSE);
      }
      const LRESULT result = CallDefault(message, wParam, lParam);
      PaintSelectionBar(reinterpret_cast<HDC>(wParam));
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      // The bar changes colour with the focus.
      const LRESULT result = CallDefault(message, wParam, lParam);
      InvalidateRect(Handle(), nullptr, FALSE);
      return result;
    }
    default: break;
  }
  return CallDefault(message, wParam, lParam);
}

bool TTreeWindowFullRow::OnLeftDown(LPARAM lParam) {
  HWND tree = Handle();
  const TVHITTESTINFO hit = HitTest(tree, lParam);
  const bool onItem =
      hit.hItem && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMRIGHT));
  const RECT client = ClientRect();
  switch (DecideTreeClick(onItem, onItem && hit.hItem == Selection(tree), hit.pt.x, client.right)) {
    case TreeClick::kDefault: return false;
    case TreeClick::kToggle:
      SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
      SendMessageA(tree, TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(hit.hItem));
      SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(tree, nullptr, TRUE);
      break;
    case TreeClick::kSelect:
      SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit.hItem));
      break;
  }
  SetFocus(tree);
  return true;
}

void TTreeWindowFullRow::OnDoubleClick(LPARAM lParam) {
  const TVHITTESTINFO hit = HitTest(Handle(), lParam);
  if (hit.hItem && (hit.flags & TVHT_ONITEMRIGHT)) {
    SendMessageA(Handle(), TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(hit.hItem));
  }
}

void TTreeWindowFullRow::PaintSelectionBar(HDC dc) {
  HWND tree = Handle();
  HTREEITEM selected = Selection(tree);
  barItem_ = selected;
  if (!selected) return;
  char text[256] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT;
  item.hItem = selected;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return;
  RECT label{};
  // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
  std::memcpy(&label, &selected, sizeof selected);
  if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label))) return;

  const RECT client = ClientRect();
  const Rect labelRect{label.left, label.top, label.right, label.bottom};
  const Rect bar = SelectionBar(labelRect, client.right);
  const Point origin = SelectionTextOrigin(labelRect);
  const bool focused = GetFocus() == tree;

  std::optional<WindowDC> own;
  if (!dc) own.emplace(tree);
  HDC target = dc ? dc : own->Get();
  if (!target) return;
  const RECT barRect{bar.left, bar.top, bar.right, bar.bottom};
  FillRect(target, &barRect, GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  auto font = reinterpret_cast<HFONT>(SendMessageA(tree, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SelectionScope selectFont(target, font);
  const int oldMode = SetBkMode(target, TRANSPARENT);
  const COLORREF oldColor =
      SetTextColor(target, GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
  TextOutA(target, origin.x, origin.y, text, lstrlenA(text));
  SetTextColor(target, oldColor);
  SetBkMode(target, oldMode);
}

}  // namespace orvalen
