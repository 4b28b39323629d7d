// Times of minimum and maximum on generated runs of known mid-time: the errors must hold the
// truth as often as standard errors do. Also the refusals, the polynomial fit and the splits.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "random_numbers.h"
#include "timing/extrema.h"
#include "timing/poly_fit.h"
#include "timing/runs.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// ---- generated runs ----

enum class shape { algol, w_uma, detached, rr_lyrae, superhump, sawtooth };
const char* const shape_names[] = {"Algol",    "W UMa",     "detached",
                                   "RR Lyrae", "superhump", "sawtooth"};

struct generated {
  shape s;
  double depth;      // mag: of the eclipse, or the full amplitude of a pulsation
  double length;     // days: an eclipse's half duration, or a period
  double scale = 1;  // of a pulsation's harmonics, for that amplitude
};

// Magnitude at x days from the extremum's reference time.
double light(const generated& g, double x) {
  switch (g.s) {
    case shape::algol: {  // rounded bottom, steep branches, flat outside
      const double u = x / g.length;
      return 10 + (std::fabs(u) < 1 ? g.depth * std::pow(1 - u * u, 1.3) : 0);
    }
    case shape::w_uma: return 12 + g.depth / 2 * (1 + std::cos(2 * pi * x / g.length));
    case shape::detached: {  // a V with a rounded point
      const double u = x / g.length;
      const double v = 1 - std::sqrt(u * u + 0.01) / std::sqrt(1.01);
      return 11 + (v > 0 ? g.depth * v : 0);
    }
    default: {
      // A sawtooth of K harmonics (smoothed by Lanczos' factors): a quick brightening a little
      // before x = 0, a slow fading after.
      const int harmonics = g.s == shape::rr_lyrae ? 6 : g.s == shape::superhump ? 2 : 4;
      const double phase = x / g.length + 0.08;
      double m = 0;
      for (int k = 1; k <= harmonics; ++k) {
        const double lanczos = std::sin(pi * k / (harmonics + 1)) / (pi * k / (harmonics + 1));
        m -= lanczos * std::sin(2 * pi * k * phase) / k;
      }
      return 13 + g.scale * m;
    }
  }
}

// Where a pulsation is brightest near x = 0: the least of a fine scan, then parabolas through
// ever closer triples.
double true_maximum(const generated& g) {
  double best = -0.2 * g.length;
  for (int k = -2000; k <= 2000; ++k) {
    const double x = 0.0001 * k * g.length;
    if (light(g, x) < light(g, best)) best = x;
  }
  double h = 0.0001 * g.length;
  for (int round = 0; round < 30; ++round) {
    const double a = light(g, best - h), b = light(g, best), c = light(g, best + h);
    const double d = a - 2 * b + c;
    if (d > 0) best += h * (a - c) / (2 * d);
    h /= 4;
  }
  return best;
}

struct run_data {
  int count;
  double time[4000];
  double mag[4000];
};

struct draw {
  generated g;
  bool visual;  // estimates in tenths, or CCD photometry in ten-thousandths
  double noise;
  double truth;  // days from the run's first observation
  double resolution;
};

// One run about the extremum at `truth`: from `before` days ahead of it to `after` days past
// it, `points` observations a little uneven in time, and perhaps a gap.
void observe(random_numbers& r, draw& d, double extremum_x, double before, double after, int points,
             run_data& out) {
  const double start = -before;
  const double span = before + after;
  const double step = span / points;
  double gap_from = 1, gap_to = 0;  // none
  if (r.uniform() < 0.5) {
    const double width = span * r.between(0.05, 0.15);
    gap_from = start + r.between(0.1, 0.9) * span;
    gap_to = gap_from + width;
  }
  out.count = 0;
  double first = 0;
  for (int i = 0; i < points; ++i) {
    const double x = start + (i + 0.5 + 0.8 * (r.uniform() - 0.5)) * step;
    if (x >= gap_from && x < gap_to) continue;
    double m = light(d.g, extremum_x + x) + d.noise * r.normal();
    m = std::floor(m / d.resolution + 0.5) * d.resolution;
    if (out.count == 0) first = x - 0.01;
    out.time[out.count] = x - first;
    out.mag[out.count] = m;
    ++out.count;
  }
  d.truth = -first;
}

// A run of one of the kinds, drawn from `seed`.
draw generate(shape s, std::uint64_t seed, run_data& out) {
  random_numbers r{seed};
  draw d{};
  d.g.s = s;
  d.visual = r.uniform() < 0.25 && s != shape::superhump;  // superhumps are CCD work
  const double ccd_noise[] = {0.005, 0.01, 0.02, 0.05, 0.1};
  d.noise = d.visual ? r.between(0.05, 0.1) : ccd_noise[r.next() % 5];
  d.resolution = d.visual ? 0.1 : 0.0001;
  const int points =
      d.visual ? 15 + static_cast<int>(r.next() % 30) : 60 + static_cast<int>(r.next() % 540);
  double before = 0, after = 0, x0 = 0;
  switch (s) {
    case shape::algol:
      d.g = {s, r.between(0.8, 2.0), r.between(0.08, 0.15), 1};
      before = d.g.length * r.between(0.7, 1.6);
      after = d.g.length * r.between(0.7, 1.6);
      break;
    case shape::w_uma:
      d.g = {s, r.between(0.3, 0.8), r.between(0.25, 0.45), 1};
      before = d.g.length * r.between(0.12, 0.3);
      after = d.g.length * r.between(0.12, 0.3);
      break;
    case shape::detached:
      d.g = {s, r.between(0.4, 1.0), r.between(0.03, 0.06), 1};
      before = d.g.length * r.between(1.0, 3.0);
      after = d.g.length * r.between(1.0, 3.0);
      break;
    case shape::rr_lyrae: d.g = {s, r.between(0.6, 1.2), r.between(0.45, 0.65), 1}; break;
    case shape::superhump: d.g = {s, r.between(0.15, 0.35), r.between(0.06, 0.09), 1}; break;
    case shape::sawtooth: d.g = {s, r.between(0.3, 1.0), r.between(0.1, 0.5), 1}; break;
  }
  if (s == shape::rr_lyrae || s == shape::superhump || s == shape::sawtooth) {
    double low = light(d.g, 0), high = low;
    for (int k = 1; k < 1000; ++k) {
      const double m = light(d.g, k * d.g.length / 1000);
      low = m < low ? m : low;
      high = m > high ? m : high;
    }
    d.g.scale = d.g.depth / (high - low);
    x0 = true_maximum(d.g);
    before = d.g.length * r.between(0.12, 0.25);
    after = d.g.length * r.between(0.15, 0.35);
  }
  observe(r, d, x0, before, after, points, out);
  return d;
}

// ---- the errors hold the truth ----

struct tally {
  int runs = 0, refused = 0, within1 = 0, within3 = 0, kvw = 0;
  void add(double miss, const timing::extremum& e) {
    ++runs;
    if (std::fabs(miss) <= e.error) ++within1;
    if (std::fabs(miss) <= 3 * e.error) ++within3;
    if (e.method == timing::error_method::kwee_van_woerden) ++kvw;
  }
  double f1() const { return runs ? static_cast<double>(within1) / runs : 0; }
  double f3() const { return runs ? static_cast<double>(within3) / runs : 0; }
};

void report(const char* what, const tally& t) {
  std::printf("%-10s %4d runs (%d refused): %.3f within 1 error, %.3f within 3, %d by KvW\n", what,
              t.runs, t.refused, t.f1(), t.f3(), t.kvw);
}

void check_errors(const shape* kinds, int kinds_count, bool minimum, int per_kind) {
  auto data = std::make_unique<run_data>();
  tally all;
  for (int k = 0; k < kinds_count; ++k) {
    tally one;
    for (int i = 0; i < per_kind; ++i) {
      const draw d = generate(kinds[k], 1000 * (k + 1) + i, *data);
      const timing::run r{data->time, data->mag, data->count};
      timing::extremum e;
      const timing::timing_status st = minimum ? timing::time_minimum(r, d.resolution, &e)
                                               : timing::time_maximum(r, d.resolution, &e);
      if (st != timing::timing_status::ok) {
        ++one.refused;
        ++all.refused;
        continue;
      }
      one.add(e.time - d.truth, e);
      all.add(e.time - d.truth, e);
    }
    report(shape_names[static_cast<int>(kinds[k])], one);
    EXPECT_GE(one.f3(), 0.9) << shape_names[static_cast<int>(kinds[k])];
    EXPECT_LE(one.refused, per_kind / 3) << shape_names[static_cast<int>(kinds[k])];
  }
  report(minimum ? "minima" : "maxima", all);
  EXPECT_GE(all.runs, 200);
  EXPECT_GE(all.f3(), 0.95);
  EXPECT_GE(all.f1(), 0.55);
  EXPECT_LE(all.f1(), 0.85);
}

TEST(time_minimum, errors_hold_the_truth_of_generated_eclipses) {
  const shape kinds[] = {shape::algol, shape::w_uma, shape::detached};
  check_errors(kinds, 3, true, 120);
}

TEST(time_maximum, errors_hold_the_truth_of_generated_maxima) {
  const shape kinds[] = {shape::rr_lyrae, shape::superhump, shape::sawtooth};
  check_errors(kinds, 3, false, 120);
}

// A sparse visual run (of the generated ones above, the one whose sums at the minimum fall to
// less than a quarter of what its noise makes them): the revised error is taken, and holds the
// truth.
TEST(time_minimum, takes_the_revised_error_where_the_sums_fall_below_the_noise) {
  auto data = std::make_unique<run_data>();
  const draw d = generate(shape::algol, 1066, *data);
  ASSERT_TRUE(d.visual);
  timing::extremum e;
  ASSERT_EQ(timing::time_minimum({data->time, data->mag, data->count}, d.resolution, &e),
            timing::timing_status::ok);
  EXPECT_EQ(e.method, timing::error_method::revised);
  EXPECT_GT(e.kvw_error, 0);
  EXPECT_LT(2 * e.kvw_error, e.error);
  EXPECT_LE(std::fabs(e.time - d.truth), e.error);
}

// ---- refusals ----

// Runs that do not hold their extremum, each made from an even run by cutting or spoiling it.
struct refusal_case {
  const char* what;
  double from;  // days of the run kept, of 0 to 0.2 with the extremum at 0.1
  double to;
  int points;
  timing::timing_status minimum;
  timing::timing_status maximum;
};

TEST(time_extremum, refuses_a_run_that_does_not_cover_it) {
  using st = timing::timing_status;
  const refusal_case cases[] = {
      {"the whole of it", 0, 0.2, 101, st::ok, st::ok},
      {"only the falling branch", 0, 0.09, 101, st::extremum_at_edge, st::extremum_at_edge},
      {"only the rising branch", 0.11, 0.2, 101, st::extremum_at_edge, st::extremum_at_edge},
      {"three points past it", 0, 0.1044, 161, st::branch_too_short, st::branch_too_short},
      {"four points before it", 0.095, 0.2, 161, st::branch_too_short, st::branch_too_short},
      // A minimum's sums take the whole run; a maximum's fit only where it has faded by at most
      // half its range, four points either side here.
      {"fifteen points in all", 0, 0.2, 15, st::ok, st::branch_too_short},
      {"ten points in all", 0, 0.2, 10, st::too_few_points, st::too_few_points},
  };
  double t[200], faint[200], bright[200];
  for (const refusal_case& c : cases) {
    int n = 0;
    for (int i = 0; i < c.points; ++i) {
      const double x = 0.2 * i / (c.points - 1);
      if (x < c.from - 1e-12 || x > c.to + 1e-12) continue;
      t[n] = x;
      faint[n] = 12 + 0.5 * (1 - std::fabs(x - 0.1) / 0.1);  // a V, faintest at 0.1
      bright[n] = 24 - faint[n];
      ++n;
    }
    timing::extremum e;
    EXPECT_EQ(timing::time_minimum({t, faint, n}, 0.0001, &e), c.minimum) << c.what;
    EXPECT_EQ(timing::time_maximum({t, bright, n}, 0.0001, &e), c.maximum) << c.what;
  }
  // Times out of order, or a magnitude that is not a number.
  for (int i = 0; i < 101; ++i) {
    t[i] = 0.002 * i;
    faint[i] = 12 + 0.5 * (1 - std::fabs(t[i] - 0.1) / 0.1);
  }
  std::swap(t[40], t[41]);
  timing::extremum e;
  EXPECT_EQ(timing::time_minimum({t, faint, 101}, 0, &e), timing::timing_status::bad_input);
  std::swap(t[40], t[41]);
  faint[7] = std::nan("");
  EXPECT_EQ(timing::time_maximum({t, faint, 101}, 0, &e), timing::timing_status::bad_input);
}

TEST(magnitude_decimals, is_the_fewest_that_write_every_magnitude) {
  struct decimals_case {
    double mags[3];
    int decimals;
  };
  const decimals_case cases[] = {
      {{12.3456, 12.3, 12}, 4}, {{11.8, 12.1, 9.9}, 1},  {{12, 13, 14}, 0},
      {{12.25, 12.5, 12}, 2},   {{12.123, 8.001, 0}, 3}, {{12.34567, 1, 2}, 4},
      {{-0.25, 0.5, 1}, 2},
  };
  for (const decimals_case& c : cases)
    EXPECT_EQ(timing::magnitude_decimals({c.mags, c.mags, 3}), c.decimals) << c.mags[0];
}

// ---- speed ----

TEST(time_extremum, times_a_night_of_1000_points_in_milliseconds) {
  auto data = std::make_unique<run_data>();
  random_numbers r{99};
  for (int i = 0; i < 1000; ++i) {
    data->time[i] = 0.3 * i / 1000;
    data->mag[i] = 12.4 + 0.4 * std::cos(2 * pi * (data->time[i] - 0.15) / 0.6) + 0.01 * r.normal();
  }
  timing::extremum e;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(timing::time_minimum({data->time, data->mag, 1000}, 0.0001, &e),
            timing::timing_status::ok);
  const auto middle = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000; ++i) data->mag[i] = 24.8 - data->mag[i];
  ASSERT_EQ(timing::time_maximum({data->time, data->mag, 1000}, 0.0001, &e),
            timing::timing_status::ok);
  const auto end = std::chrono::steady_clock::now();
  const double minimum_ms = std::chrono::duration<double, std::milli>(middle - start).count();
  const double maximum_ms = std::chrono::duration<double, std::milli>(end - middle).count();
  std::printf("a 1000-point night: minimum %.2f ms, maximum %.2f ms\n", minimum_ms, maximum_ms);
  EXPECT_LT(minimum_ms, 100);
  EXPECT_LT(maximum_ms, 100);
}

}  // namespace
