// -n: several nights of a star as X MAGNITUDE pairs for magphase.
#include "modes.h"

namespace magprep {

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

tally write_nights(input& s, const options& o, std::FILE* out, point_table* points) {
  // X: the time of each record in parts of an hour since 0 h of day 0 of the day numbers.
  point_table& table = *points;
  table.count = 0;
  table.decimals = 0;
  tally t{};
  window win{};
  record r;
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved)) {
    if (!count_record(t, o, r)) continue;
    if (table.count < records_max) {
      // Parts of an hour: 24 times the parts of a day, so that an hour is `per_day` of them.
      keep_point(table, (r.time.day * r.time.per_day + r.time.part) * 24, r.mag.digits);
    } else {
      uncount_record(t, r);
      ++t.over;
    }
  }
  if (t.records == 0) return t;
  const long long per_hour = t.kind == layout::vsolj ? 1440 : 1000000;
  long long first = table.x[0];
  long long last = first;
  for (int i = 1; i < table.count; ++i) {
    if (table.x[i] < first) first = table.x[i];
    if (table.x[i] > last) last = table.x[i];
  }
  t.scale = choose_scale(first, last, per_hour);
  t.groups = group_points(table, 1);
  const long long origin = t.scale.start_hour * per_hour;
  const long long length = (t.scale.end_hour - t.scale.start_hour) * per_hour;
  for (int i = 0; i < table.count; ++i) {
    print_ratio(out, table.x[i] - origin, length);
    std::fputc(' ', out);
    print_point_magnitude(out, table, i, t.groups);
    std::fputc('\n', out);
  }
  return t;
}

}  // namespace magprep
