// -f: the period of a star by phase dispersion minimisation, as its best periods or as a
// periodogram for magphase.
#include "modes.h"

namespace magprep {

// Writes billionths of a day with `decimals` decimals, rounded half up.
void print_period(std::FILE* f, long long billionths, int decimals) {
  long long scale = 1;
  for (int i = decimals; i < 9; ++i) scale *= 10;
  const long long v = (billionths + scale / 2) / scale;
  long long one = 1;
  for (int i = 0; i < decimals; ++i) one *= 10;
  if (decimals == 0)
    std::fprintf(f, "%lld", v);
  else
    std::fprintf(f, "%lld.%0*lld", v / one, decimals, v % one);
}

// Theta in ten-thousandths, rounded half up; at least 0 (rounding may take a perfect fold below).
static long long ten_thousandths(double theta) {
  const double v = theta * 10000 + 0.5;
  return v < 1 ? 0 : static_cast<long long>(v);
}

static void write_result(const search_plan& plan, const search_result& r, const options& o,
                         std::FILE* out) {
  if (!o.periodogram) {
    for (int i = 0; i < r.dips; ++i) {
      print_period(out, period_of(r.dip_freq[i]), period_decimals(plan, r.dip_freq[i]));
      const long long theta = ten_thousandths(r.dip_theta[i]);
      std::fprintf(out, " %lld.%04lld\n", theta / 10000, theta % 10000);
    }
    return;
  }
  // X from 0 at the first trial to 1 at the last, rounded half up to four decimals; theta
  // times 10 as the magnitude, with three decimals, below 20 so that magphase takes it whole.
  const long long last = plan.trials - 1;
  for (int p = 0; p < r.points; ++p) {
    const long long x = (r.point_trial[p] * 20000 / last + 1) / 2;
    long long mag = ten_thousandths(r.point_theta[p]);
    if (mag > 19999) mag = 19999;
    std::fprintf(out, "%lld.%04lld %lld.%03lld\n", x / 10000, x % 10000, mag / 1000, mag % 1000);
  }
}

// The search itself, apart so that its result lives only while it runs.
static void search(search_tables& tables, tally& t, const options& o, std::FILE* out) {
  const search_input& in = tables.in;
  t.time_step = in.time_step;
  t.planned = plan_search(in, o.min_period, o.max_period, &t.plan);
  if (t.planned != plan_status::ok) return;
  static_assert(sizeof(search_result) < 96 * 1024, "the result must fit a thread's stack");
  search_result r;
  run_search(in, t.plan, &tables.work, &r);
  t.best = r.dip_freq[0];
  write_result(t.plan, r, o, out);
}

tally write_search(input& s, const options& o, std::FILE* out, search_tables* tables) {
  tally t{};
  t.differential = true;
  search_input& in = tables->in;
  in.count = 0;
  in.time_step = 0;
  window win{};
  record r;
  long long first = 0;  // the Julian Date of the first record kept, uncorrected (units)
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved)) {
    if (!take_timed_record(t, o, r, in.count == search_max, &in.time[in.count])) continue;
    // The step as observed: the heliocentric correction moves the times off it, but the folds
    // of a few steps stay alike, shifted by how fast the correction changes.
    const long long jd = julian_date(r.time);
    if (in.count == 0) first = jd;
    in.time_step = common_step(in.time_step, jd - first);
    in.mag[in.count] = r.mag.negative ? -thousandths(r.mag.digits) : thousandths(r.mag.digits);
    ++in.count;
  }
  if (t.records > 0) search(*tables, t, o, out);
  return t;
}

}  // namespace magprep
