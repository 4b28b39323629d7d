// -n: several nights of a star as X MAGNITUDE pairs for magphase.
#include <cstring>

#include "calendar.h"
#include "modes.h"

namespace magprep {

// What -n keeps before it can write: the time of each record, in parts of a day since day 0 of
// the day numbers, and its magnitude.
struct night_table {
  int count;
  long long time[nights_max];
  plotcore::word_buf mag[nights_max];
};

// `num` / `den` (0 <= num, 0 < den) rounded half up to four decimals.
static void print_ratio(std::FILE* f, long long num, long long den) {
  const long long ten_thousandths = (num * 20000 / den + 1) / 2;
  std::fprintf(f, "%lld.%04lld", ten_thousandths / 10000, ten_thousandths % 10000);
}

tally write_nights(input& s, const options& o, std::FILE* out) {
  static_assert(sizeof(night_table) < 256 * 1024, "the table must fit a thread's stack");
  night_table table;
  table.count = 0;
  tally t{};
  window win{};
  found_record f;
  while (next_record(s, win, o.star, &f)) {
    if (!count_record(t, f.r)) continue;
    if (table.count < nights_max) {
      table.time[table.count] = f.r.time.day * f.r.time.per_day + f.r.time.part;
      std::memcpy(table.mag[table.count], f.r.mag.digits, sizeof f.r.mag.digits);
      ++table.count;
    } else {
      --t.records;
      if (f.r.mag.uncertain) --t.uncertain;
      ++t.over;
    }
  }
  if (t.records == 0) return t;
  // The kept records' days only, so the scale covers what is written: from 0 h of the first
  // day to the end of the last.
  const long long per_day = t.kind == layout::vsolj ? 1440 : 1000000;
  t.first_day = static_cast<int>(floor_div(table.time[0], per_day));
  t.last_day = t.first_day;
  for (int i = 1; i < table.count; ++i) {
    const int day = static_cast<int>(floor_div(table.time[i], per_day));
    if (day < t.first_day) t.first_day = day;
    if (day > t.last_day) t.last_day = day;
  }
  const long long origin = t.first_day * per_day;
  const long long span = (t.last_day + 1LL - t.first_day) * per_day;
  for (int i = 0; i < table.count; ++i) {
    print_ratio(out, table.time[i] - origin, span);
    std::fprintf(out, " %s\n", table.mag[i]);
  }
  return t;
}

}  // namespace magprep
