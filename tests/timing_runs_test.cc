// The weighted polynomial fit against exact polynomials, the closed form of a weighted line and
// the spread of generated ephemerides; and the splitting of a season into runs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "timing/extrema.h"
#include "timing/poly_fit.h"
#include "timing/runs.h"

namespace {

// A fixed sequence of normal numbers (splitmix64 and Box and Muller).
struct random_numbers {
  std::uint64_t state;
  double uniform() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return static_cast<double>((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
  }
  double normal() {
    const double u = 1 - uniform();
    return std::sqrt(-2 * std::log(u)) * std::cos(6.283185307179586 * uniform());
  }
};

// ---- the polynomial fit ----

TEST(poly_fit, recovers_a_polynomial_of_each_degree) {
  const double c[] = {0.37, -1.25, 0.5, 2.0, -0.75};
  double x[40], y[40];
  for (int degree = 1; degree <= timing::degree_max; ++degree) {
    for (int i = 0; i < 40; ++i) {
      x[i] = 1000 + 0.1 * i;  // about an origin far from zero, as cycle numbers are
      const double u = x[i] - 1001;
      double v = 0;
      for (int k = degree; k >= 0; --k) v = v * u + c[k];
      y[i] = v;
    }
    timing::poly_fit_result f;
    ASSERT_EQ(timing::poly_fit(x, y, nullptr, 40, degree, 1001, &f), timing::fit_status::ok);
    EXPECT_EQ(f.degree, degree);
    EXPECT_EQ(f.count, 40);
    for (int k = 0; k <= degree; ++k) EXPECT_NEAR(f.coeff[k], c[k], 1e-9) << degree << " " << k;
    EXPECT_LT(f.chi2, 1e-20);
    EXPECT_NEAR(timing::poly_value(f, 1002.5), y[25], 1e-9);
  }
}

// The weighted line y = a + b x by its closed form (the sums S, Sx, Sxx, Sy, Sxy).
TEST(poly_fit, weighs_a_line_as_its_closed_form_does) {
  const double x[] = {0, 1, 2, 4, 7, 8};
  const double y[] = {1.1, 2.9, 5.2, 8.8, 15.3, 16.9};
  const double w[] = {1, 4, 0.25, 2, 1, 0};  // the last takes no part
  double s = 0, sx = 0, sxx = 0, sy = 0, sxy = 0;
  for (int i = 0; i < 6; ++i) {
    s += w[i];
    sx += w[i] * x[i];
    sxx += w[i] * x[i] * x[i];
    sy += w[i] * y[i];
    sxy += w[i] * x[i] * y[i];
  }
  const double delta = s * sxx - sx * sx;
  const double b = (s * sxy - sx * sy) / delta;
  const double a = (sxx * sy - sx * sxy) / delta;
  double chi2 = 0;
  for (int i = 0; i < 6; ++i) chi2 += w[i] * (y[i] - a - b * x[i]) * (y[i] - a - b * x[i]);
  timing::poly_fit_result f;
  ASSERT_EQ(timing::poly_fit(x, y, w, 6, 1, 0, &f), timing::fit_status::ok);
  EXPECT_EQ(f.count, 5);
  EXPECT_NEAR(f.coeff[0], a, 1e-12);
  EXPECT_NEAR(f.coeff[1], b, 1e-12);
  EXPECT_NEAR(f.covariance[0][0], sxx / delta, 1e-12);
  EXPECT_NEAR(f.covariance[1][1], s / delta, 1e-12);
  EXPECT_NEAR(f.covariance[0][1], -sx / delta, 1e-12);
  EXPECT_NEAR(f.chi2, chi2, 1e-12);
  EXPECT_NEAR(f.rms, std::sqrt(chi2 / s), 1e-12);
}

// Quadratic ephemerides of minima with errors of their own (weights 1 / sigma^2): the fitted
// period change must lie within one standard error of the truth about 68 % of the time.
TEST(poly_fit, covariance_holds_the_truth_of_generated_ephemerides) {
  random_numbers r{42};
  double cycle[60], oc[60], w[60];
  int within = 0;
  const int fits = 1000;
  for (int k = 0; k < fits; ++k) {
    for (int i = 0; i < 60; ++i) {
      cycle[i] = -3000 + 100 * i + static_cast<int>(r.uniform() * 50);
      const double sigma = 0.0002 + 0.002 * r.uniform();
      w[i] = 1 / (sigma * sigma);
      oc[i] = 0.003 + 1e-6 * cycle[i] + 2e-10 * cycle[i] * cycle[i] + sigma * r.normal();
    }
    timing::poly_fit_result f;
    ASSERT_EQ(timing::poly_fit(cycle, oc, w, 60, 2, 0, &f), timing::fit_status::ok);
    if (std::fabs(f.coeff[2] - 2e-10) <= std::sqrt(f.covariance[2][2])) ++within;
  }
  EXPECT_NEAR(static_cast<double>(within) / fits, 0.683, 0.045);
}

TEST(poly_fit, refuses_what_it_cannot_fit) {
  const double x[] = {1, 2, 3, 4, 5, 6};
  const double same[] = {3, 3, 3, 3, 3, 3};
  const double y[] = {1, 4, 9, 16, 25, 36};
  const double negative[] = {1, 1, -1, 1, 1, 1};
  const double nan_y[] = {1, 4, std::nan(""), 16, 25, 36};
  timing::poly_fit_result f;
  using fs = timing::fit_status;
  EXPECT_EQ(timing::poly_fit(x, y, nullptr, 6, 0, 0, &f), fs::bad_degree);
  EXPECT_EQ(timing::poly_fit(x, y, nullptr, 6, 5, 0, &f), fs::bad_degree);
  EXPECT_EQ(timing::poly_fit(x, y, nullptr, 5, 4, 0, &f), fs::too_few_points);
  EXPECT_EQ(timing::poly_fit(same, y, nullptr, 6, 1, 0, &f), fs::singular);
  EXPECT_EQ(timing::poly_fit(same, y, nullptr, 6, 1, 3, &f), fs::singular);
  EXPECT_EQ(timing::poly_fit(x, y, negative, 6, 1, 0, &f), fs::bad_input);
  EXPECT_EQ(timing::poly_fit(x, nan_y, nullptr, 6, 1, 0, &f), fs::bad_input);
  EXPECT_EQ(timing::poly_fit(x, y, nullptr, 6, 2, 3.5, &f), fs::ok);
}

// ---- runs ----

struct gap_case {
  const char* what;
  double t[8];
  int n;
  double gap;
  int spans;      // found
  int firsts[4];  // of the first ones
};

TEST(split_at_gaps, splits_where_neighbours_lie_farther_apart_than_the_gap) {
  const gap_case cases[] = {
      {"one night", {0.1, 0.15, 0.2, 0.3, 0.45}, 5, timing::default_gap, 1, {0}},
      {"two nights", {0.1, 0.2, 1.1, 1.2, 1.25}, 5, timing::default_gap, 2, {0, 2}},
      {"a cloud", {0.1, 0.2, 0.45, 0.5}, 4, timing::default_gap, 2, {0, 2}},
      {"a gap of exactly the gap", {0.0, 0.25, 0.5}, 3, 0.25, 1, {0}},
      {"every record alone", {0, 1, 2, 3, 4, 5}, 6, 0.5, 6, {0, 1, 2, 3}},
      {"one record", {7.5}, 1, timing::default_gap, 1, {0}},
      {"none", {}, 0, timing::default_gap, 0, {}},
  };
  for (const gap_case& c : cases) {
    timing::span spans[4];
    const int found = timing::split_at_gaps(c.t, c.n, c.gap, spans, 4);
    EXPECT_EQ(found, c.spans) << c.what;
    for (int i = 0; i < found && i < 4; ++i) {
      EXPECT_EQ(spans[i].first, c.firsts[i]) << c.what << " " << i;
      const int next = i + 1 < found ? (i + 1 < 4 ? c.firsts[i + 1] : spans[i].first + 1) : c.n;
      EXPECT_EQ(spans[i].last, next - 1) << c.what << " " << i;
    }
  }
}

struct around_case {
  const char* what;
  double epoch;
  double period;
  double reach;
  timing::predicted which;
  int spans;
  timing::span expected[4];
};

// Records every 0.01 d from 0 to 0.4 (41 of them).
TEST(split_around, gathers_the_records_near_each_predicted_time) {
  using timing::predicted;
  const around_case cases[] = {
      {"a W UMa star's night, both minima",
       0.05,
       0.3,
       0.11,
       predicted::primary_and_secondary,
       3,
       {{2, 8, 0, false}, {17, 23, 0, true}, {32, 38, 1, false}}},
      {"its primaries only",
       0.05,
       0.3,
       0.11,
       predicted::primary,
       2,
       {{2, 8, 0, false}, {32, 38, 1, false}}},
      {"an epoch in a later season",
       300.05,
       0.3,
       0.11,
       predicted::primary_and_secondary,
       3,
       {{2, 8, -1000, false}, {17, 23, -1000, true}, {32, 38, -999, false}}},
      {"reaching past the middle: every record to its nearest",
       0.05,
       0.3,
       0.4,
       predicted::primary_and_secondary,
       3,
       {{0, 12, 0, false}, {13, 27, 0, true}, {28, 40, 1, false}}},
      {"an Algol star whose minimum falls by day", 1.5, 2.87, 0.05, predicted::primary, 0, {}},
      {"no period", 0.05, 0, 0.1, predicted::primary, -1, {}},
      {"no reach", 0.05, 0.3, 0, predicted::primary, -1, {}},
  };
  double t[41];
  for (int i = 0; i < 41; ++i) t[i] = 0.01 * i;
  for (const around_case& c : cases) {
    timing::span spans[4];
    const int found = timing::split_around(t, 41, c.epoch, c.period, c.reach, c.which, spans, 4);
    ASSERT_EQ(found, c.spans) << c.what;
    for (int i = 0; i < found; ++i) {
      EXPECT_EQ(spans[i].first, c.expected[i].first) << c.what << " " << i;
      EXPECT_EQ(spans[i].last, c.expected[i].last) << c.what << " " << i;
      EXPECT_EQ(spans[i].cycle, c.expected[i].cycle) << c.what << " " << i;
      EXPECT_EQ(spans[i].secondary, c.expected[i].secondary) << c.what << " " << i;
    }
  }
  timing::span one[1];
  EXPECT_EQ(timing::split_around(t, 41, 0.05, 0.3, 0.11, predicted::primary_and_secondary, one, 1),
            3);
  EXPECT_EQ(one[0].last, 8);
}

// A night of a W UMa star of 0.25 d: both minima timed apart, each near its own time, and the
// start of the next primary at the end of the night refused.
TEST(split_around, lets_two_minima_of_one_night_be_timed_apart) {
  random_numbers r{7};
  double t[600], m[600];
  const double epoch = 0.061, period = 0.25;
  for (int i = 0; i < 600; ++i) {
    t[i] = 0.3 * (i + 0.5) / 600;
    const double phase = (t[i] - epoch) / period;
    const double x = 6.283185307179586 * phase;
    // The primary 0.1 mag deeper than the secondary.
    m[i] = 12.3 + 0.25 * std::cos(2 * x) + 0.05 * std::cos(x) + 0.01 * r.normal();
    m[i] = std::floor(m[i] * 10000 + 0.5) / 10000;
  }
  timing::span spans[4];
  const int found = timing::split_around(t, 600, epoch, period, 0.2,
                                         timing::predicted::primary_and_secondary, spans, 4);
  ASSERT_EQ(found, 3);
  EXPECT_FALSE(spans[0].secondary);
  EXPECT_TRUE(spans[1].secondary);
  EXPECT_EQ(spans[2].cycle, 1);
  timing::extremum e;
  EXPECT_EQ(
      timing::time_minimum(
          {t + spans[2].first, m + spans[2].first, spans[2].last - spans[2].first + 1}, 0.0001, &e),
      timing::timing_status::extremum_at_edge);
  for (int i = 0; i < 2; ++i) {
    const timing::span& s = spans[i];
    ASSERT_EQ(timing::time_minimum({t + s.first, m + s.first, s.last - s.first + 1}, 0.0001, &e),
              timing::timing_status::ok);
    const double predicted = epoch + (s.cycle + (s.secondary ? 0.5 : 0)) * period;
    EXPECT_LE(std::fabs(e.time - predicted), 3 * e.error) << i;
    EXPECT_LT(e.error, 0.001) << i;
  }
}

}  // namespace
