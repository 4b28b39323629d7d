// -n: several nights of a star as X MAGNITUDE pairs for magphase.
#include <cstring>

#include "modes.h"

namespace magprep {

// What -n keeps before it can write: the time of each record in parts of an hour since 0 h of
// day 0 of the day numbers, and its magnitude.
struct night_table {
  int count;
  long long time[nights_max];
  plotcore::word_buf mag[nights_max];
};

// `num` / `den` (0 <= num <= den, 0 < den <= 4e14) rounded half up to four decimals.
static void print_ratio(std::FILE* f, long long num, long long den) {
  const long long ten_thousandths = (num * 20000 / den + 1) / 2;
  std::fprintf(f, "%lld.%04lld", ten_thousandths / 10000, ten_thousandths % 10000);
}

static long long ceil_div(long long a, long long b) { return -floor_div(-a, b); }

night_scale choose_scale(long long first, long long last, long long per_hour) {
  // Tenths in hours: 1, 2, 3, 6 and 12 hours, then 1, 2, 3 and 5 days times 1 to 100000. No
  // step is more than twice the one before, so the times fill at least about half the axis.
  static constexpr long long day_steps[4] = {1, 2, 3, 5};
  long long tenths[5 + 4 * 6] = {1, 2, 3, 6, 12};
  int n = 5;
  for (long long power = 1; power <= 100000; power *= 10)
    for (const long long d : day_steps) tenths[n++] = d * power * 24;
  night_scale chosen{};
  for (int i = 0; i < n; ++i) {
    const long long whole = (tenths[i] < 24 ? 1 : 24) * per_hour;  // X 0 is a multiple of it
    const long long length = 10 * tenths[i] * per_hour;
    const long long lo = ceil_div(last - length, whole) * whole;
    const long long hi = floor_div(first, whole) * whole;
    chosen = {hi / per_hour, (hi + length) / per_hour, tenths[i]};
    if (lo > hi) continue;
    long long start = floor_div(first + last - length, 2 * whole) * whole;
    if (start < lo) start = lo;
    if (start > hi) start = hi;
    return {start / per_hour, (start + length) / per_hour, tenths[i]};
  }
  return chosen;  // not reached for times within the calendar
}

tally write_nights(input& s, const options& o, std::FILE* out) {
  static_assert(sizeof(night_table) < 256 * 1024, "the table must fit a thread's stack");
  night_table table;
  table.count = 0;
  tally t{};
  window win{};
  record r;
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved)) {
    if (!count_record(t, o, r)) continue;
    if (table.count < nights_max) {
      // Parts of an hour: 24 times the parts of a day, so that an hour is `per_day` of them.
      table.time[table.count] = (r.time.day * r.time.per_day + r.time.part) * 24;
      std::memcpy(table.mag[table.count], r.mag.digits, sizeof r.mag.digits);
      ++table.count;
    } else {
      uncount_record(t, r);
      ++t.over;
    }
  }
  if (t.records == 0) return t;
  const long long per_hour = t.kind == layout::vsolj ? 1440 : 1000000;
  long long first = table.time[0];
  long long last = first;
  for (int i = 1; i < table.count; ++i) {
    if (table.time[i] < first) first = table.time[i];
    if (table.time[i] > last) last = table.time[i];
  }
  t.scale = choose_scale(first, last, per_hour);
  const long long origin = t.scale.start_hour * per_hour;
  const long long length = (t.scale.end_hour - t.scale.start_hour) * per_hour;
  for (int i = 0; i < table.count; ++i) {
    print_ratio(out, table.time[i] - origin, length);
    std::fprintf(out, " %s\n", table.mag[i]);
  }
  return t;
}

}  // namespace magprep
