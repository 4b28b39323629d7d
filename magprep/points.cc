// Points for magphase from -n and -p: each record as written, or, past the points magphase
// draws, the means of neighbours in X.
#include <cstring>

#include "heap_sort.h"
#include "modes.h"

namespace magprep {

int magnitude_ten_thousandths(const char* digits, int* decimals) {
  return timing::magnitude_units(digits, 4, decimals);
}

long long mean_in_units(long long sum, long long count, long long unit) {
  const long long whole = count * unit;
  return floor_div(2 * sum + whole, 2 * whole) * unit;
}

void keep_point(point_table& table, long long x, const char* digits) {
  const int i = table.count;
  int decimals = 0;
  table.x[i] = x;
  table.mag[i] = magnitude_ten_thousandths(digits, &decimals);
  if (decimals > table.decimals) table.decimals = decimals;
  if (i < magphase_max) std::memcpy(table.written[i], digits, sizeof table.written[i]);
  ++table.count;
}

// Is record a before record b: by X, then by magnitude? Equal records are alike, so the order
// of the sort is the same whatever order it leaves them in.
static bool before(const point_table& t, int a, int b) {
  return t.x[a] < t.x[b] || (t.x[a] == t.x[b] && t.mag[a] < t.mag[b]);
}

// By X, then by magnitude.
static void sort_points(point_table& t) {
  auto swap = [&t](int a, int b) {
    const long long x = t.x[a];
    t.x[a] = t.x[b];
    t.x[b] = x;
    const int mag = t.mag[a];
    t.mag[a] = t.mag[b];
    t.mag[b] = mag;
  };
  heap_sort(
      t.count, [&t](int a, int b) { return before(t, a, b); }, swap);
}

grouping group_points(point_table& table, long long x_unit) {
  const int n = table.count;
  if (n <= magphase_max) return {0, n, 0};
  sort_points(table);
  const int k = (n + magphase_max - 1) / magphase_max;  // at most records_max / magphase_max
  long long mag_unit = 1;
  for (int i = table.decimals; i < 4; ++i) mag_unit *= 10;
  // Sums of k values: X below 10^14 in magnitude (hours since year 1 in millionths) and
  // magnitudes below 10^6, so below 2^62 for any k up to 200. Point g takes the place of the
  // records g * k on, none of which is needed any more.
  int points = 0;
  for (int first = 0; first < n; first += k) {
    const int end = first + k < n ? first + k : n;
    long long x = 0;
    long long mag = 0;
    for (int i = first; i < end; ++i) {
      x += table.x[i];
      mag += table.mag[i];
    }
    table.x[points] = mean_in_units(x, end - first, x_unit);
    table.mag[points] = static_cast<int>(mean_in_units(mag, end - first, mag_unit));
    ++points;
  }
  table.count = points;
  return {k, points, n - (points - 1) * k};
}

void print_point_magnitude(std::FILE* f, const point_table& table, int i, const grouping& g) {
  if (g.size == 0) {
    std::fputs(table.written[i], f);
    return;
  }
  long long unit = 1;
  for (int d = table.decimals; d < 4; ++d) unit *= 10;
  const long long v = table.mag[i] / unit;
  long long one = 1;
  for (int d = 0; d < table.decimals; ++d) one *= 10;
  if (table.decimals == 0)
    std::fprintf(f, "%lld", v);
  else
    std::fprintf(f, "%lld.%0*lld", v / one, table.decimals, v % one);
}

}  // namespace magprep
