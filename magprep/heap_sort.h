// Heapsort of a table's rows, for the modes that sort their records: no allocation, and no
// quadratic time on records in any order.
#pragma once

namespace magprep {

/// Sorts rows 0 to n - 1 so that no row comes before (`before(a, b)`: row a goes first) the one
/// ahead of it; `swap(a, b)` exchanges two rows. Rows alike keep no particular order.
template <class Before, class Swap>
void heap_sort(int n, Before before, Swap swap) {
  auto sift = [&before, &swap](int root, int end) {
    for (;;) {
      int child = 2 * root + 1;
      if (child >= end) return;
      if (child + 1 < end && before(child, child + 1)) ++child;
      if (!before(root, child)) return;
      swap(root, child);
      root = child;
    }
  };
  for (int i = n / 2 - 1; i >= 0; --i) sift(i, n);
  for (int end = n - 1; end > 0; --end) {
    swap(0, end);
    sift(0, end);
  }
}

}  // namespace magprep
