#pragma once
// Pages of a dialog shown one at a time over a placeholder control.
//
// Each page is a Dialog whose template is a child dialog (WS_CHILD |
// DS_CONTROL, no caption or frame), so Tab moves from the dialog's controls
// into the page and out again. The host makes the page a modeless child of the
// dialog, puts it on the placeholder's rectangle (same size), behind the
// placeholder in the tab order, and hides it; Show makes one page visible.
// The host refers to the dialog and reads its window only when pages are
// added, so it can be a plain member made with the dialog. The host does not
// own the pages: they live as long as the dialog that made them (usually as
// its members), and go with it.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "winapp/dialog_win.h"
#include "winapp/window_view_win.h"

namespace orvalen {

class PageHost {
 public:
  PageHost(const WindowView& dialog, int placeholderId)
      : dialog_(dialog), placeholderId_(placeholderId) {}
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;

  // Creates `page` over the placeholder, hidden, as the next page. False when
  // the dialog has no such placeholder or the page could not be made as a
  // child (a template without WS_CHILD is refused and its window destroyed).
  bool Add(Dialog& page);
  // Shows page `index` and hides every other one; false (nothing changes)
  // when there is no such page.
  bool Show(size_t index);

  std::optional<size_t> Current() const { return current_; }
  size_t Count() const { return pages_.size(); }
  Dialog& Page(size_t index) const { return *pages_.at(index); }

 private:
  const WindowView& dialog_;
  int placeholderId_;
  std::vector<Dialog*> pages_;
  std::optional<size_t> current_;
};

}  // namespace orvalen
