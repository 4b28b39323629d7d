// Cycles and O−C of timings, and elements fitted to timings made from known elements.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "random_numbers.h"
#include "timing/elements.h"

namespace {

constexpr long long day = 9000000000LL;

TEST(cycle, counts_the_nearest_whole_or_half_cycle) {
  struct row {
    long long time, epoch, period;
    bool halves;
    long long half_cycles, o_minus_c;
  };
  const row rows[] = {
      {10 * day, 0, day, false, 20, 0},
      {10 * day + day / 2 - 1, 0, day, false, 20, day / 2 - 1},
      {10 * day + day / 2, 0, day, false, 22, -day / 2},
      {10 * day + day / 2, 0, day, true, 21, 0},
      {-day / 4 - 1, 0, day, true, -1, day / 4 - 1},
      {-3 * day, 0, 2 * day, true, -3, 0},
      {day / 3, 0, 3, false, 2 * (day / 9), 0},
      {7, 0, 3, true, 5, -1},  // an odd period: 2.5 cycles are 7.5 units, O−C rounded down
  };
  for (const row& r : rows) {
    timing::cycle c{};
    ASSERT_TRUE(timing::cycle_of(r.time, r.epoch, r.period, r.halves, &c)) << r.time;
    EXPECT_EQ(c.half_cycles, r.half_cycles) << r.time;
    EXPECT_EQ(c.o_minus_c, r.o_minus_c) << r.time;
  }
  timing::cycle c{};
  EXPECT_FALSE(timing::cycle_of(2461000 * day, 0, 9, false, &c));
}

// Timings of elements with a known epoch offset, period offset and quadratic term, at cycles
// spread unevenly over `span` cycles, with errors from 0.0002 to 0.002 d drawn to match.
void make_timings(random_numbers& g, int n, double span, double d_epoch, double d_period, double q,
                  bool weighted, timing::oc_points* p) {
  p->count = n;
  p->weighted = weighted;
  for (int i = 0; i < n; ++i) {
    const double e = std::floor(g.uniform() * span - span / 3) + (g.uniform() < 0.2 ? 0.5 : 0);
    const double sigma = weighted ? 0.0002 + 0.0018 * g.uniform() : 0.001;
    p->e[i] = e;
    p->error[i] = sigma;
    p->oc[i] = d_epoch + d_period * e + q * e * e + sigma * g.normal();
  }
}

TEST(fit_elements, gives_back_linear_and_quadratic_elements_with_honest_errors) {
  struct row {
    int terms;
    bool weighted;
    int n;
    double span, d_epoch, d_period, q;
  };
  const row rows[] = {
      {2, true, 12, 5000, 0.003, 2e-6, 0},
      {2, false, 30, 20000, -0.01, -4e-7, 0},
      {3, true, 40, 30000, 0.002, 1e-6, 3e-10},
      {3, false, 60, 10000, 0.0, -2e-6, -1e-9},
  };
  static timing::oc_points p;
  for (const row& r : rows) {
    random_numbers g{static_cast<std::uint64_t>(r.n * 7919 + r.terms)};
    const int trials = 400;
    double pull2[3] = {};
    int within2 = 0;
    for (int k = 0; k < trials; ++k) {
      make_timings(g, r.n, r.span, r.d_epoch, r.d_period, r.q, r.weighted, &p);
      timing::elements_fit f{};
      ASSERT_TRUE(timing::fit_elements(p, r.terms, &f));
      const double pulls[3] = {(f.d_epoch - r.d_epoch) / f.d_epoch_error,
                               (f.d_period - r.d_period) / f.d_period_error,
                               r.terms == 3 ? (f.q - r.q) / f.q_error : 0};
      bool all = true;
      for (int j = 0; j < r.terms; ++j) {
        pull2[j] += pulls[j] * pulls[j];
        if (std::fabs(pulls[j]) > 2) all = false;
      }
      if (all) ++within2;
    }
    // A stated error that is honest makes the pulls spread as 1: their rms within 15 % of it.
    for (int j = 0; j < r.terms; ++j) {
      const double rms = std::sqrt(pull2[j] / trials);
      EXPECT_GT(rms, 0.85) << "term " << j << ", " << r.n << " timings";
      EXPECT_LT(rms, 1.15) << "term " << j << ", " << r.n << " timings";
    }
    // Every element within two standard errors at once, in most trials.
    EXPECT_GT(within2, trials * (r.terms == 2 ? 0.85 : 0.8)) << r.n << " timings";
  }
}

TEST(fit_elements, refuses_what_the_timings_cannot_fix) {
  static timing::oc_points p;
  p.count = 3;
  p.weighted = false;
  for (int i = 0; i < 3; ++i) {
    p.e[i] = 100;
    p.oc[i] = 0.001 * i;
    p.error[i] = 0.001;
  }
  timing::elements_fit f{};
  EXPECT_FALSE(timing::fit_elements(p, 2, &f));  // one cycle only
  p.e[2] = 200;
  EXPECT_TRUE(timing::fit_elements(p, 2, &f));
  EXPECT_FALSE(timing::fit_elements(p, 3, &f));  // three terms need four timings
}

}  // namespace
