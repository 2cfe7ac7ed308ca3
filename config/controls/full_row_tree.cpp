#include "config/controls/full_row_tree.h"

namespace orvalen {

TreeClick DecideTreeClick(bool onItem, bool onSelectedItem, int32_t x, int32_t clientRight) {
  if (!onItem) return TreeClick::kDefault;
  if (onSelectedItem && x >= clientRight - kTreeToggleZone) return TreeClick::kToggle;
  return TreeClick::kSelect;
}

Rect SelectionBar(const Rect& label, int32_t clientRight) {
  return Rect{label.left, label.top, clientRight, label.bottom};
}

Point SelectionTextOrigin(const Rect& label) { return Point{label.left + 2, label.top + 2}; }

}  // namespace orvalen
