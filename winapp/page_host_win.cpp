#include "winapp/page_host_win.h"

#include "winapp/control_win.h"

namespace orvalen {

bool PageHost::Add(Dialog& page) {
  const Placeholder placeholder = TakePlaceholder(dialog_, placeholderId_);
  if (!placeholder.window) return false;
  HWND window = page.CreateModeless(dialog_.Handle());
  if (!window) return false;
  if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
    page.End(IDCANCEL);
    return false;
  }
  // After the previous page, so the pages keep their order in the tab order.
  HWND after = pages_.empty() ? placeholder.window : pages_.back()->Handle();
  const RECT& r = placeholder.rect;
  SetWindowPos(window, after, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_HIDEWINDOW);
  pages_.push_back(&page);
  return true;
}

bool PageHost::Show(size_t index) {
  if (index >= pages_.size()) return false;
  // The new page first, so the dialog never shows an empty area.
  pages_[index]->Show(true);
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (i != index) pages_[i]->Show(false);
  }
  current_ = index;
  return true;
}

}  // namespace orvalen
