#pragma once
// Decisions of the full-row page tree: what a left click does, and where the
// selection bar and its text go.
#include <cstdint>

#include "base/geometry.h"

namespace orvalen {

// How near the right edge a click on the selected row toggles the item.
constexpr int32_t kTreeToggleZone = 20;

enum class TreeClick {
  kDefault,  // not on an item's icon, label or the space right of it
  kToggle,   // expand or collapse the selected item
  kSelect,   // select the item hit
};

// `onItem`: the point is on an item's icon, label or the space right of the
// label; `onSelectedItem`: that item is the selected one.
TreeClick DecideTreeClick(bool onItem, bool onSelectedItem, int32_t x, int32_t clientRight);

// The selection bar: from the label's left edge to the control's right edge,
// over the label's height.
Rect SelectionBar(const Rect& label, int32_t clientRight);

// Where the selected item's text is drawn over the bar.
Point SelectionTextOrigin(const Rect& label);

}  // namespace orvalen
