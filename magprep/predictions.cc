// -t: the minima (or maxima) of an ephemeris to come, as geocentric times for planning a night.
#include "modes.h"

namespace magprep {

static constexpr long long minute = units_per_day / 1440;

void print_date(std::FILE* f, int number) {
  int y = 0, m = 0, d = 0;
  civil_date(number, &y, &m, &d);
  std::fprintf(f, "%04d-%02d-%02d", y, m, d);
}

void print_date_time(std::FILE* f, long long jd, long long offset) {
  const long long minutes = floor_div(jd - julian_date_of_day_0 + minute / 2, minute) + offset;
  const long long day = floor_div(minutes, 1440);
  const long long in_day = minutes - day * 1440;
  print_date(f, static_cast<int>(day));
  std::fprintf(f, " %02lld:%02lld", in_day / 60, in_day % 60);
}

tally write_predictions(const options& o, std::FILE* out) {
  tally t{};
  // Half cycles n from the first whose time can fall at or after FROM to the last at or before
  // TO: a correction moves a time by less than 0.02 d (8.3 light minutes and the Sun's motion).
  const long long margin = units_per_day / 50;
  const long long step = o.secondaries ? 1 : 2;
  long long first = floor_div(2 * (o.from - margin - o.epoch), o.period);
  long long last = floor_div(2 * (o.to + margin - o.epoch), o.period) + 1;
  first = floor_div(first, step) * step;
  if ((last - first) / step > 2 * predictions_max) {
    t.over = (last - first) / step;
    return t;
  }
  for (int pass = 0; pass < 2; ++pass) {
    for (long long n = first; n <= last; n += step) {
      // The event in the ephemeris's own times, then the geocentric JD it is seen at.
      const long long event = o.epoch + floor_div(n * o.period, 2);
      long long seen = 0;
      time_notes notes{};
      if (!geocentric_time(event, o, pass == 0 ? &t.times : &notes, &seen) || seen < o.from ||
          seen > o.to)
        continue;
      if (pass == 0) {
        ++t.records;
        continue;
      }
      print_signed_days(out, seen, 5);
      std::fputc(' ', out);
      print_date_time(out, seen, 0);
      std::fputs(" UT ", out);
      print_date_time(out, seen, 540);
      std::fputs(" JST ", out);
      print_cycle(out, n);
      std::fputc('\n', out);
    }
    if (pass == 0 && t.records > predictions_max) {
      t.over = t.records;
      t.records = 0;
      return t;
    }
  }
  return t;
}

}  // namespace magprep
