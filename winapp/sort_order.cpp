#include "winapp/sort_order.h"

#include <numeric>

namespace orvalen {

std::vector<size_t> StableSortOrder(size_t count,
                                    const std::function<int(size_t, size_t)>& compare) {
  std::vector<size_t> order(count);
  std::iota(order.begin(), order.end(), size_t{0});
  std::vector<size_t> merged(count);
  // Bottom-up merge sort: every step reads and writes inside the two runs it
  // merges, whatever the comparison answers.
  for (size_t width = 1; width < count; width *= 2) {
    for (size_t left = 0; left < count; left += 2 * width) {
      const size_t middle = std::min(left + width, count);
      const size_t right = std::min(left + 2 * width, count);
      size_t a = left;
      size_t b = middle;
      size_t out = left;
      while (a < middle && b < right) {
        // The right item goes first only when it is strictly smaller.
        merged[out++] = compare(order[b], order[a]) < 0 ? order[b++] : order[a++];
      }
      while (a < middle) merged[out++] = order[a++];
      while (b < right) merged[out++] = order[b++];
    }
    order.swap(merged);
  }
  return order;
}

}  // namespace orvalen
