#pragma once
// The order a list of items takes under a comparison, computed without moving
// the items, so the comparison may look at them while it runs.
#include <cstddef>
#include <functional>
#include <vector>

namespace orvalen {

// The indexes 0 .. count-1 in the order `compare` gives (negative: the first
// goes first), equal items keeping their order. A comparison that is not a
// consistent order (one that contradicts itself) still gives each index
// exactly once. Exceptions of `compare` pass through; nothing is changed then.
std::vector<size_t> StableSortOrder(size_t count,
                                    const std::function<int(size_t, size_t)>& compare);

}  // namespace orvalen
