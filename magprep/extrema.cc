// -m, -M: times of minimum and maximum of a star, one for each run of its records.
#include "timing/extrema.h"

#include <cmath>

#include "heap_sort.h"
#include "modes.h"
#include "timing/runs.h"

namespace magprep {

// ---- the records ----

// Sorts the records by time (heapsort: no allocation, and no quadratic time on a report in any
// order); records of equal times keep no particular order.
static void sort_by_time(extrema_table& t) {
  auto swap = [&t](int a, int b) {
    const long long time = t.time[a];
    t.time[a] = t.time[b];
    t.time[b] = time;
    const long long mag = t.mag[a];
    t.mag[a] = t.mag[b];
    t.mag[b] = mag;
  };
  heap_sort(
      t.count, [&t](int a, int b) { return t.time[a] < t.time[b]; }, swap);
}

// ---- the runs ----

// Most runs a report is split into; more are counted and passed over.
static constexpr int runs_max = 10000;

static void note_passed(extrema_tally& x, long long first_time, int count,
                        timing::timing_status why) {
  ++x.passed;
  if (x.listed == extrema_listed_max) return;
  x.list[x.listed++] = {first_time, count, why};
}

// Writes a time in units with `decimals`, and its error rounded up, so that no error shows as 0.
static void print_timing(std::FILE* out, long long time, double error, int decimals) {
  print_signed_days(out, time, decimals);
  double scaled = error;
  for (int i = 0; i < decimals; ++i) scaled *= 10;
  const long long digits = static_cast<long long>(std::ceil(scaled));
  long long one = 1;
  for (int i = 0; i < decimals; ++i) one *= 10;
  std::fprintf(out, " %lld.%0*lld", digits / one, decimals, digits % one);
}

tally write_extrema(input& s, const options& o, std::FILE* out, extrema_tables* tables) {
  tally t{};
  t.differential = true;
  extrema_tally& x = t.extrema;
  extrema_table& table = tables->records;
  table.count = 0;
  window win{};
  record r;
  int decimals = 0;
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved)) {
    long long time = 0;
    if (!take_timed_record(t, o, r, table.count == records_max, &time)) continue;
    int written = 0;
    table.time[table.count] = time;
    table.mag[table.count] = magnitude_ten_thousandths(r.mag.digits, &written);
    if (r.mag.negative) table.mag[table.count] = -table.mag[table.count];
    if (written > decimals) decimals = written;
    ++table.count;
  }
  if (table.count == 0) return t;
  sort_by_time(table);
  // Days since the first record, and magnitudes, as the timing takes them.
  const long long origin = table.time[0];
  const double day = static_cast<double>(units_per_day);
  extrema_days& d = tables->days;
  for (int i = 0; i < table.count; ++i) {
    d.time[i] = static_cast<double>(table.time[i] - origin) / day;
    d.mag[i] = static_cast<double>(table.mag[i]) / 10000;
  }
  timing::span spans[runs_max];
  const bool elements = o.epoch_text != nullptr;
  int runs = 0;
  if (elements) {
    // Each record to its nearest predicted minimum, primary or secondary (a quarter of the period
    // either side), or to its nearest maximum.
    const double epoch = static_cast<double>(o.epoch - origin) / day;
    const double period = static_cast<double>(o.period) / day;
    runs = timing::split_around(
        d.time, table.count, epoch, period, o.maxima ? 0.5 : 0.25,
        o.maxima ? timing::predicted::primary : timing::predicted::primary_and_secondary, spans,
        runs_max);
    if (runs < 0) runs = 0;
  } else {
    runs = timing::split_at_gaps(d.time, table.count, timing::default_gap, spans, runs_max);
  }
  x.runs = runs;
  if (runs > runs_max) {
    x.not_looked_at = runs - runs_max;
    runs = runs_max;
  }
  // Visual estimates (in tenths) give times to 0.00001 d, CCD photometry to 0.000001 d.
  const int time_decimals = decimals >= 2 ? 6 : 5;
  x.decimals = time_decimals;
  for (int k = 0; k < runs; ++k) {
    const timing::span& sp = spans[k];
    const int count = sp.last - sp.first + 1;
    const long long first_time = table.time[sp.first];
    if (count > timing::run_max) {
      note_passed(x, first_time, count, timing::timing_status::too_few_points);
      ++x.too_long;
      continue;
    }
    const timing::run run{d.time + sp.first, d.mag + sp.first, count};
    const int run_decimals = timing::magnitude_decimals(run);
    double resolution = 1;
    for (int i = 0; i < run_decimals; ++i) resolution /= 10;
    timing::extremum e{};
    const timing::timing_status st = o.maxima ? timing::time_maximum(run, resolution, &e)
                                              : timing::time_minimum(run, resolution, &e);
    if (st != timing::timing_status::ok) {
      note_passed(x, first_time, count, st);
      continue;
    }
    ++x.timed;
    if (e.method == timing::error_method::revised)
      ++x.revised;
    else if (e.method == timing::error_method::kwee_van_woerden)
      ++x.kvw;
    const long long time = origin + static_cast<long long>(std::floor(e.time * day + 0.5));
    print_timing(out, time, e.error, time_decimals);
    std::fprintf(out, " %d", e.points);
    if (elements) {
      timing::cycle c{};
      if (timing::cycle_of(time, o.epoch, o.period, !o.maxima, &c)) {
        std::fputc(' ', out);
        print_cycle(out, c.half_cycles);
        std::fputc(' ', out);
        print_signed_days(out, c.o_minus_c, time_decimals);
      }
    }
    std::fputc('\n', out);
  }
  return t;
}

}  // namespace magprep
