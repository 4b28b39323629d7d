// The search for a period by phase dispersion minimisation.
#include "timing/period_search.h"

#include <cmath>

namespace timing {

int magnitude_units(const char* digits, int decimals, int* written) {
  long long one = 1;
  for (int i = 0; i < decimals; ++i) one *= 10;
  constexpr long long cap = 9999999;  // far past 100 before the division, or 1000 for 10 times
  long long whole = 0;
  long long fraction = 0;
  int seen = 0;
  bool point = false;
  for (const char* p = digits; *p != '\0'; ++p) {
    if (*p == '.') {
      point = true;
    } else if (point) {
      if (seen < decimals) fraction = fraction * 10 + (*p - '0');
      ++seen;
    } else if (whole <= cap) {
      whole = whole * 10 + (*p - '0');
    }
  }
  for (int i = seen; i < decimals; ++i) fraction *= 10;
  long long v = whole * one + fraction;
  if (v > 20 * one) {
    v /= 10;
    ++seen;
  }
  if (written != nullptr) *written = seen > decimals ? decimals : seen;
  return static_cast<int>(v >= 100 * one ? 100 * one - 1 : v);
}

// ---- planning ----

using u64 = unsigned long long;  // 64 bits, as std::uint64_t, on every platform here
static constexpr u64 u64_max = ~u64{0};

// Phase bins: a tenth of the records, so that a bin holds ten on average, and at most a hundred,
// so that an eclipse lasting a twentieth of the period fills five and its slopes blur little.
static constexpr int bins_min = 10;
static constexpr int bins_max = 100;

long long common_step(long long step, long long difference) {
  long long a = step;
  long long b = difference < 0 ? -difference : difference;
  while (b != 0) {
    const long long rest = a % b;
    a = b;
    b = rest;
  }
  return a;
}

// A millionth of a day: a raised shortest period is rounded up to one, so that it prints exactly.
static constexpr long long microday = 9000;

plan_status plan_search(const search_input& in, long long min_period, long long max_period,
                        search_plan* plan) {
  if (in.count < search_min) return plan_status::too_few_records;
  long long first = in.time[0];
  long long last = in.time[0];
  bool varies = false;
  for (int i = 1; i < in.count; ++i) {
    if (in.time[i] < first) first = in.time[i];
    if (in.time[i] > last) last = in.time[i];
    if (in.mag[i] != in.mag[0]) varies = true;
  }
  if (!varies) return plan_status::no_variation;
  const long long span = last - first;
  if (span < max_period) return plan_status::span_too_short;
  int bins = in.count / 10;
  if (bins < bins_min) bins = bins_min;
  if (bins > bins_max) bins = bins_max;
  // Below period_steps_min steps (10 * step > min_period, in whole units), raised to them; a
  // step past 2^62 / 10 units (10^7 years) counts as that, which no period reaches either.
  const bool raised = in.time_step > min_period / period_steps_min;
  if (raised) {
    constexpr long long step_max = (1LL << 62) / period_steps_min;
    const long long step = in.time_step < step_max ? in.time_step : step_max;
    min_period = (period_steps_min * step + microday - 1) / microday * microday;
  }
  if (min_period >= max_period) {
    *plan = {bins, span, min_period, raised, 0, 0, 0};
    return plan_status::steps_too_coarse;
  }
  // Frequencies in cycles per unit of time scaled by 2^64 (one less, for 64 bits).
  const u64 max_freq = u64_max / static_cast<u64>(min_period);
  const u64 min_freq = u64_max / static_cast<u64>(max_period);
  u64 bound = u64_max / (5 * static_cast<u64>(span));
  if (bound == 0) bound = 1;
  // Periods of 10^5 days a billionth apart have one frequency: two trials, a unit apart.
  const u64 range = max_freq > min_freq ? max_freq - min_freq : 1;
  const u64 steps = (range + bound - 1) / bound;
  *plan = {bins,     span,         min_period, raised, static_cast<long long>(steps) + 1,
           max_freq, range / steps};
  return steps >= static_cast<u64>(trials_max) ? plan_status::too_many_trials : plan_status::ok;
}

unsigned long long trial_freq(const search_plan& plan, long long k) {
  return plan.max_freq - static_cast<u64>(k) * plan.step;
}

// ---- theta ----

// Records as a fold sees them: all of a search's, or those the trials fold.
struct folding {
  int n;
  long long squares;  // of the magnitudes about the mean of all the records
  double variance;
  const u64* dt;
  const int* mag;
};

// The squares of `n` magnitudes about the mean of all the records, each below 10^5 in magnitude,
// and their variance.
static void spread(const int mag[], int n, long long* squares, double* variance) {
  long long sum = 0;  // below n * 10^5, the squares below search_max * 10^10
  long long sq = 0;
  for (int i = 0; i < n; ++i) {
    sum += mag[i];
    sq += static_cast<long long>(mag[i]) * mag[i];
  }
  *squares = sq;
  // n * squares is exact below 2^63, as it always is up to 5000 records. Past that, the
  // squares less sum * sum / n in whole units and a remainder below one: it would otherwise
  // overflow.
  const long long bound = 9223372036854775807LL;
  if (sq <= bound / n) {
    *variance = static_cast<double>(n * sq - sum * sum) / n / (n - 1);
  } else {
    const long long whole = sum * sum / n;
    const long long rest = sum * sum % n;
    *variance = (static_cast<double>(sq - whole) - static_cast<double>(rest) / n) / (n - 1);
  }
}

// Does record `a` come before record `b` in time, or at one time by magnitude?
static bool before(const search_work& w, int a, int b) {
  return w.dt[a] < w.dt[b] || (w.dt[a] == w.dt[b] && w.mag[a] < w.mag[b]);
}

static void swap_records(search_work& w, int a, int b) {
  const u64 t = w.dt[a];
  w.dt[a] = w.dt[b];
  w.dt[b] = t;
  const int m = w.mag[a];
  w.mag[a] = w.mag[b];
  w.mag[b] = m;
}

// Moves record `root` down the heap of the first `end` records until neither child is later.
static void sift_down(search_work& w, int root, int end) {
  for (;;) {
    const int left = 2 * root + 1;  // below 2 * search_max
    if (left >= end) return;
    const int later = left + 1 < end && before(w, left, left + 1) ? left + 1 : left;
    if (!before(w, root, later)) return;
    swap_records(w, root, later);
    root = later;
  }
}

// The records in order of time, then of magnitude: one order whatever order they came in, so
// that the subsample is the same. Reports come in order of time, which costs one pass; others
// are heap-sorted in place (n log n, no more memory).
static void sort_by_time(search_work& w) {
  bool sorted = true;
  for (int i = 1; i < w.n && sorted; ++i) sorted = !before(w, i, i - 1);
  if (sorted) return;
  for (int i = w.n / 2 - 1; i >= 0; --i) sift_down(w, i, w.n);
  for (int end = w.n - 1; end > 0; --end) {
    swap_records(w, 0, end);
    sift_down(w, 0, end);
  }
}

// The records as the search folds them: times since the first, magnitudes about their mean; and
// those the trials fold, all of them up to scan_max, else every k-th in order of time.
static void prepare(const search_input& in, search_work& w) {
  const int n = in.count;
  long long first = in.time[0];
  long long total = 0;  // below search_max * 10^5
  for (int i = 0; i < n; ++i) {
    if (in.time[i] < first) first = in.time[i];
    total += in.mag[i];
  }
  // About the mean, so that the squares and sums stay small and exact.
  const long long mean = total / n;
  for (int i = 0; i < n; ++i) {
    w.dt[i] = static_cast<u64>(in.time[i] - first);
    w.mag[i] = static_cast<int>(in.mag[i] - mean);
  }
  w.n = n;
  spread(w.mag, n, &w.squares, &w.variance);
  if (n > scan_max) sort_by_time(w);
  const int k = (n + scan_max - 1) / scan_max;  // ceil(n / k) records, at most scan_max
  w.scanned = 0;
  for (int i = 0; i < n; i += k) {
    w.scan_dt[w.scanned] = w.dt[i];
    w.scan_mag[w.scanned] = w.mag[i];
    ++w.scanned;
  }
  spread(w.scan_mag, w.scanned, &w.scanned_squares, &w.scanned_variance);
}

static folding all_records(const search_work& w) {
  return {w.n, w.squares, w.variance, w.dt, w.mag};
}

static folding scanned_records(const search_work& w) {
  return {w.scanned, w.scanned_squares, w.scanned_variance, w.scan_dt, w.scan_mag};
}

// The bin of a phase (a fraction of a cycle scaled by 2^64): its top 32 bits times the bin
// count, over 2^32.
static int bin_of(u64 phase, u64 bins) { return static_cast<int>(((phase >> 32) * bins) >> 32); }

// Pooled variance within the `bins` bins over the whole variance, summed in bin order.
static double theta_of(const folding& f, int bins, const int count[], const long long bin_sum[]) {
  double between = 0;
  int filled = 0;
  for (int b = 0; b < bins; ++b) {
    if (count[b] == 0) continue;
    ++filled;
    // A sum reaches 10^11 with search_max records: squared in double, rounded once as the
    // product of whole numbers would be.
    const double s = static_cast<double>(bin_sum[b]);
    between += s * s / count[b];
  }
  const int freedom = f.n - filled;
  if (freedom <= 0 || f.variance <= 0) return 1;
  return (static_cast<double>(f.squares) - between) / freedom / f.variance;
}

static double theta_at(const folding& f, int bins, u64 freq) {
  int count[2 * bins_max] = {};
  long long bin_sum[2 * bins_max] = {};
  for (int i = 0; i < f.n; ++i) {
    const int b = bin_of(f.dt[i] * freq, static_cast<u64>(bins));
    ++count[b];
    bin_sum[b] += f.mag[i];
  }
  return theta_of(f, bins, count, bin_sum);
}

// ---- dips ----

// Trials either side that a dip must be lower than: one over the span in frequency.
static constexpr int dip_reach = 5;
static constexpr int ring_size = 16;  // holds a trial and its reach either side

struct candidates {
  int count;
  u64 freq[candidates_max];
  double theta[candidates_max];
};

// Is trial `c` lower than every trial within dip_reach of it (ties go to the earlier)? `ring`
// holds the thetas of the latest trials by trial number modulo ring_size.
static bool is_dip(const double ring[], long long c, long long trials) {
  const double t = ring[c % ring_size];
  for (long long j = c - dip_reach; j <= c + dip_reach; ++j) {
    if (j < 0 || j >= trials || j == c) continue;
    const double other = ring[j % ring_size];
    if (j < c ? !(t < other) : !(t <= other)) return false;
  }
  return true;
}

// Keeps the lowest dips, lowest first; of equal ones the earlier.
static void add_dip(candidates& c, u64 freq, double theta) {
  int at = c.count;
  while (at > 0 && theta < c.theta[at - 1]) --at;
  if (at >= candidates_max) return;
  const int end = c.count < candidates_max ? c.count : candidates_max - 1;
  for (int i = end; i > at; --i) {
    c.freq[i] = c.freq[i - 1];
    c.theta[i] = c.theta[i - 1];
  }
  c.freq[at] = freq;
  c.theta[at] = theta;
  if (c.count < candidates_max) ++c.count;
}

// Each candidate searched again in the plan's bins, within a step either side, in parts of a
// step that move a record by at most half a bin over the span: a step moves it by a fifth of a
// cycle, so two fifths of the bins to a step, rounded up. Its theta and frequency become the
// lowest found.
static int parts_of(const search_plan& plan) { return (2 * plan.bins + 4) / 5; }

static void refine(const folding& w, const search_plan& plan, candidates& c) {
  const int parts = parts_of(plan);
  const u64 part = plan.step / static_cast<u64>(parts);
  const u64 lowest = trial_freq(plan, plan.trials - 1);
  for (int i = 0; i < c.count; ++i) {
    const u64 centre = c.freq[i];
    c.theta[i] = theta_at(w, plan.bins, centre);
    for (int j = -parts; j <= parts; ++j) {
      if (j == 0) continue;
      const u64 f = j < 0 ? centre - static_cast<u64>(-j) * part : centre + j * part;
      if (f < lowest || f > plan.max_freq) continue;
      const double theta = theta_at(w, plan.bins, f);
      if (theta < c.theta[i]) {
        c.theta[i] = theta;
        c.freq[i] = f;
      }
    }
  }
}

// Past scan_max records, each candidate as the subsample's search found it, settled on all the
// records: a part of a step either side, then on in the lower direction while theta falls, at
// most `parts` parts, as far as the subsample's search reached from its trial. The subsample
// finds a dip within a few parts (one lasting a twentieth of the period, the narrowest the bins
// are made for, spans some twenty parts; a sinusoid's some two hundred, over which theta hardly
// changes from one part to the next), so this costs some four folds of all the records where
// searching again in all the parts would cost 2 * parts + 1: 81 in 100 bins, which on 10^6 records
// and 50 candidates is 4 * 10^9 record folds, some seconds, against 2 * 10^8 here.
static void settle(const folding& all, const search_plan& plan, candidates& c) {
  const int parts = parts_of(plan);
  const u64 part = plan.step / static_cast<u64>(parts);
  const u64 lowest = trial_freq(plan, plan.trials - 1);
  for (int i = 0; i < c.count; ++i) {
    u64 f = c.freq[i];
    double theta = theta_at(all, plan.bins, f);
    int way = 0;  // -1 down in frequency, 1 up, 0 where it is
    double next = theta;
    for (int s = -1; s <= 1; s += 2) {
      const u64 g = s < 0 ? f - part : f + part;
      if (g < lowest || g > plan.max_freq) continue;
      const double t = theta_at(all, plan.bins, g);
      if (t < next) {
        next = t;
        way = s;
      }
    }
    for (int moved = 1; way != 0; ++moved) {
      f = way < 0 ? f - part : f + part;
      theta = next;
      if (moved == parts) break;
      const u64 g = way < 0 ? f - part : f + part;
      if (g < lowest || g > plan.max_freq) break;
      next = theta_at(all, plan.bins, g);
      if (!(next < theta)) break;
    }
    c.freq[i] = f;
    c.theta[i] = theta;
  }
}

// Does `shorter` lie at a whole multiple, 2 to 5 times, of `longer`'s frequency, within that many
// steps?
static bool is_harmonic(const search_plan& plan, u64 shorter, u64 longer) {
  for (u64 k = 2; k <= 5; ++k) {
    const u64 multiple = longer * k;
    const u64 off = multiple > shorter ? multiple - shorter : shorter - multiple;
    if (off <= k * plan.step) return true;
  }
  return false;
}

// ---- a period or a multiple of it ----

// Candidates whose period folds better at twice its length, its two cycles differing, as a
// binary's unequal eclipses do when folded on half its period, one on top of the other. In as
// many bins, the bins of the shorter period are shorter in time and a narrow eclipse shows
// sharper on them, so that theta cannot tell. Folded on half the frequency in twice the bins,
// each two bins at one phase of the candidate's cycle make one bin of the fold on the candidate
// itself, and only a difference between the cycles makes theta lower than chance does
// (`margin`). Such a candidate becomes the longer period, with its theta in the plan's bins.
static void fold_twice(const folding& w, const search_plan& plan, candidates& c, double margin) {
  const u64 lowest = trial_freq(plan, plan.trials - 1);
  for (int i = 0; i < c.count; ++i) {
    const u64 half = c.freq[i] / 2;
    if (half < lowest) continue;
    const double twice = theta_at(w, 2 * plan.bins, half);
    if (!(twice < theta_at(w, plan.bins, 2 * half) * margin)) continue;
    c.freq[i] = half;
    c.theta[i] = theta_at(w, plan.bins, half);
  }
}

// The candidates best first (see search_result).
static void rank(const folding& w, const search_plan& plan, candidates& c) {
  // Folds on a period and on a multiple of it estimate the noise from different bins: theta
  // differs by about sqrt(2 * bins) / (records - bins) by chance; three times that is the margin.
  // With hardly more records than bins chance would take all of theta, and a shorter period
  // ordering nothing would go first: the margin keeps to its floor.
  const double bins = plan.bins;
  double margin = w.n > 2 * bins ? 1 - 3 * std::sqrt(2 * bins) / (w.n - bins) : 0;
  if (margin < harmonic_margin_min) margin = harmonic_margin_min;
  fold_twice(w, plan, c, margin);
  for (int i = 1; i < c.count; ++i)  // by theta; the earlier of equal ones first
    for (int j = i; j > 0 && c.theta[j] < c.theta[j - 1]; --j) {
      const u64 f = c.freq[j];
      const double t = c.theta[j];
      c.freq[j] = c.freq[j - 1];
      c.theta[j] = c.theta[j - 1];
      c.freq[j - 1] = f;
      c.theta[j - 1] = t;
    }
  // A candidate that became another's period is one dip with it: the better one stays. Dips
  // lie more than dip_reach steps apart, and a step either side of that after the finer search.
  int kept = 0;
  for (int i = 0; i < c.count; ++i) {
    bool near = false;
    for (int j = 0; j < kept && !near; ++j) {
      const u64 off = c.freq[i] > c.freq[j] ? c.freq[i] - c.freq[j] : c.freq[j] - c.freq[i];
      near = off <= (dip_reach - 2) * plan.step;
    }
    if (near) continue;
    c.freq[kept] = c.freq[i];
    c.theta[kept] = c.theta[i];
    ++kept;
  }
  c.count = kept;
  for (int i = 0; i < c.count; ++i) {
    // Bring forward the first later candidate whose period divides this one's, and look again
    // for one that divides that. Each is held to the lowest theta of them, this place's first,
    // so that the margins do not add up along a chain of divisors.
    const double lowest = c.theta[i];
    for (int j = i + 1; j < c.count; ++j) {
      if (!is_harmonic(plan, c.freq[j], c.freq[i]) || lowest < c.theta[j] * margin) continue;
      const u64 f = c.freq[j];
      const double t = c.theta[j];
      for (int k = j; k > i; --k) {
        c.freq[k] = c.freq[k - 1];
        c.theta[k] = c.theta[k - 1];
      }
      c.freq[i] = f;
      c.theta[i] = t;
      j = i;
    }
  }
}

void run_search(const search_input& in, const search_plan& plan, search_work* work,
                search_result* result) {
  search_result& r = *result;
  search_work& w = *work;
  prepare(in, w);
  const folding all = all_records(w);
  const folding scan = scanned_records(w);
  const bool subsampled = w.scanned < w.n;
  // The phase of record i at trial k is dt * (max_freq - k * step) modulo 2^64: the phase at
  // trial 0, less dt * step at each further trial. Wrapping is exact on every platform.
  u64* phase = w.phase;
  const u64* advance = w.advance;
  const int* mag = w.scan_mag;
  for (int i = 0; i < scan.n; ++i) {
    w.phase[i] = scan.dt[i] * plan.max_freq;
    w.advance[i] = scan.dt[i] * plan.step;
  }
  // The candidates stay candidates_max when subsampled. The trials fold scan_max records, as a
  // search of that many always has, with the noise the count was chosen for: a dip the subsample
  // ranks past it is one that scan_max records do not tell from chance. Each candidate costs
  // some seven folds of all the records (settle, fold_twice): fifty on 10^6 records take about
  // as long as 7 * 10^4 trials of the scan (10^6 records over 17000 trials: 0.9 s with 50,
  // 1.6 s with 200, which found a dip of a hundredth lower theta among many near alike).
  candidates found{};
  r.points = plan.trials < periodogram_max ? static_cast<int>(plan.trials) : periodogram_max;
  double ring[ring_size] = {};
  int point = -1;  // the periodogram's point of the latest trial
  for (long long k = 0; k < plan.trials; ++k) {
    int count[coarse_bins] = {};
    long long bin_sum[coarse_bins] = {};
    for (int i = 0; i < scan.n; ++i) {
      const int b = bin_of(phase[i], coarse_bins);
      ++count[b];
      bin_sum[b] += mag[i];
      phase[i] -= advance[i];
    }
    const double theta = theta_of(scan, coarse_bins, count, bin_sum);
    ring[k % ring_size] = theta;
    const long long c = k - dip_reach;
    if (c >= 0 && is_dip(ring, c, plan.trials))
      add_dip(found, trial_freq(plan, c), ring[c % ring_size]);
    const int p = static_cast<int>(k * r.points / plan.trials);
    if (p != point || theta < r.point_theta[p]) {
      point = p;
      r.point_trial[p] = k;
      r.point_theta[p] = theta;
    }
  }
  // The last trials, whose later neighbours do not exist.
  for (long long c = plan.trials - dip_reach; c < plan.trials; ++c)
    if (c >= 0 && is_dip(ring, c, plan.trials))
      add_dip(found, trial_freq(plan, c), ring[c % ring_size]);
  refine(scan, plan, found);
  if (subsampled) settle(all, plan, found);
  rank(all, plan, found);
  // The periodogram shows the dips as deep as the finer search found them, at the nearest trial.
  // A subsample's theta cannot be weighed against all the records': there a dip takes its point,
  // the lowest of them where several share one.
  bool taken[periodogram_max] = {};
  for (int i = 0; i < found.count; ++i) {
    long long k =
        static_cast<long long>((plan.max_freq - found.freq[i] + plan.step / 2) / plan.step);
    if (k < 0) k = 0;
    if (k >= plan.trials) k = plan.trials - 1;
    const int p = static_cast<int>(k * r.points / plan.trials);
    if ((subsampled && !taken[p]) || found.theta[i] < r.point_theta[p]) {
      r.point_trial[p] = k;
      r.point_theta[p] = found.theta[i];
      taken[p] = true;
    }
  }
  r.dips = found.count < dips_max ? found.count : dips_max;
  for (int i = 0; i < r.dips; ++i) {
    r.dip_freq[i] = found.freq[i];
    r.dip_theta[i] = found.theta[i];
  }
}

// ---- periods ----

long long period_of(unsigned long long freq) {
  // 2^64 / (9 * frequency) billionths of a day, a unit being a ninth of a billionth.
  const u64 d = 9 * freq;
  u64 q = u64_max / d;
  u64 rest = u64_max % d + 1;  // 2^64 = q * d + rest
  if (rest == d) {
    ++q;
    rest = 0;
  }
  if (2 * rest >= d) ++q;
  return static_cast<long long>(q);
}

int period_decimals(const search_plan& plan, unsigned long long freq) {
  const double period = static_cast<double>(period_of(freq)) / 1e9;
  const double step = static_cast<double>(plan.step) * 9e9 / 18446744073709551616.0;
  const double moved = period * period * step;
  int decimals = 0;
  double unit = 1;
  while (decimals < 9 && unit > moved / 100) {
    unit /= 10;
    ++decimals;
  }
  return decimals;
}

}  // namespace timing
