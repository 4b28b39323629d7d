// Splitting a season of observations into runs.
#include "runs.h"

#include <cmath>

namespace timing {

int split_at_gaps(const double* t, int n, double max_gap, span* spans, int spans_max) {
  int count = 0;
  int first = 0;
  for (int i = 1; i <= n; ++i) {
    if (i < n && !(t[i] - t[i - 1] > max_gap)) continue;
    if (count < spans_max) spans[count] = {first, i - 1, 0, false};
    ++count;
    first = i;
  }
  return count;
}

int split_around(const double* t, int n, double epoch, double period, double reach, predicted which,
                 span* spans, int spans_max) {
  if (!(period > 0) || !(reach > 0) || !std::isfinite(period) || !std::isfinite(epoch)) return -1;
  // Predictions a step apart: a period, or half of one with the secondaries.
  const double step = which == predicted::primary ? period : period / 2;
  for (int i = 0; i < n; ++i)
    if (!(std::fabs((t[i] - epoch) / step) < 1e15)) return -1;
  int count = 0;
  long long open = 0;  // the prediction of the span being gathered
  int first = -1;
  for (int i = 0; i <= n; ++i) {
    long long k = 0;
    bool near = false;
    if (i < n) {
      k = static_cast<long long>(std::floor((t[i] - epoch) / step + 0.5));
      near = std::fabs(t[i] - (epoch + static_cast<double>(k) * step)) <= reach * period;
    }
    if (first >= 0 && (i == n || !near || k != open)) {
      if (count < spans_max) {
        const bool secondary = which != predicted::primary && (open % 2 != 0);
        const long long cycle =
            which == predicted::primary ? open : (open - (secondary ? 1 : 0)) / 2;
        spans[count] = {first, i - 1, cycle, secondary};
      }
      ++count;
      first = -1;
    }
    if (near && first < 0) {
      first = i;
      open = k;
    }
  }
  return count;
}

}  // namespace timing
