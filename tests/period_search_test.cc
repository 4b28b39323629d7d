// The period search on generated light curves of known period: observed on some nights of a
// season from one site, so that the 1-day aliases are there, with noise.
#include "magprep/period_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "magprep/ephemeris.h"

namespace {

using magprep::units_per_day;

constexpr double pi = 3.14159265358979323846;

// A fixed sequence of numbers (splitmix64), the same on every run.
struct random_numbers {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
  double normal() {
    const double u = 1 - uniform();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * pi * uniform());
  }
};

enum class shape { sinusoid, eclipsing, sawtooth };

// Magnitude at phase `x` (0 to 1).
double light(shape s, double x) {
  switch (s) {
    case shape::sinusoid: return 12 + 0.3 * std::sin(2 * pi * x);
    case shape::eclipsing: {
      // Narrow V-shaped eclipses lasting a twentieth of the period: 1.0 mag deep at phase 0,
      // 0.4 at phase 0.5.
      const double from_primary = std::fabs(x < 0.5 ? x : x - 1);
      const double from_secondary = std::fabs(x - 0.5);
      double m = 11;
      if (from_primary < 0.025) m += 1.0 * (1 - from_primary / 0.025);
      if (from_secondary < 0.025) m += 0.4 * (1 - from_secondary / 0.025);
      return m;
    }
    case shape::sawtooth:  // a quick rise over 0.15 of the period, a slow decline
      return x < 0.15 ? 13 - x / 0.15 : 12 + (x - 0.15) / 0.85;
  }
  return 0;
}

struct curve {
  const char* name;
  shape s;
  double period;  // days
  double noise;   // mag
  int records;
  int nights;  // of the season, about half of them clear
};

// Records on the clear nights of a season, between 10 h and 18 h UT (a site in Japan).
void generate(const curve& c, std::uint64_t seed, magprep::search_input* in) {
  random_numbers r{seed};
  bool clear[400];
  for (int d = 0; d < c.nights; ++d) clear[d] = r.uniform() < 0.5;
  clear[0] = clear[c.nights - 1] = true;
  const double start = 2460650.5;
  in->count = 0;
  while (in->count < c.records) {
    const int night = static_cast<int>(r.uniform() * c.nights);
    if (!clear[night]) continue;
    const double t = night + 10.0 / 24 + r.uniform() * 8 / 24;
    const double phase = std::fmod(t / c.period, 1.0);
    const double mag = light(c.s, phase) + c.noise * r.normal();
    in->time[in->count] = static_cast<long long>((start + t) * units_per_day);
    in->mag[in->count] = static_cast<int>(std::lround(mag * 1000));
    ++in->count;
  }
}

TEST(period_search, finds_the_period_of_generated_curves_within_a_step) {
  const curve curves[] = {
      {"sinusoid", shape::sinusoid, 0.7331, 0.2, 600, 120},
      {"superhumps", shape::sinusoid, 0.07123, 0.3, 1500, 20},
      {"eclipsing binary", shape::eclipsing, 2.8673, 0.1, 1200, 200},
      {"eclipsing binary, short period", shape::eclipsing, 0.3894, 0.15, 900, 150},
      {"RR Lyrae star", shape::sawtooth, 0.5667, 0.3, 500, 90},
  };
  auto in = std::make_unique<magprep::search_input>();
  auto result = std::make_unique<magprep::search_result>();
  for (const curve& c : curves) {
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
      generate(c, seed, in.get());
      magprep::search_plan plan;
      ASSERT_EQ(magprep::plan_search(*in, 450000000, 10 * units_per_day, &plan),
                magprep::plan_status::ok);  // 0.05 to 10 days
      magprep::run_search(*in, plan, result.get());
      ASSERT_EQ(result->dips, magprep::dips_max) << c.name;
      const double step = plan.step * 9e9 / 18446744073709551616.0;  // cycles a day
      const double best = magprep::period_of(result->dip_freq[0]) / 1e9;
      EXPECT_LE(std::fabs(1 / best - 1 / c.period), step)
          << c.name << " seed " << seed << ": " << best << " theta " << result->dip_theta[0];
      EXPECT_LT(result->dip_theta[0], 0.8) << c.name;
      for (int i = 1; i < result->dips; ++i) {
        for (int j = 0; j < i; ++j)
          EXPECT_GT(result->dip_freq[i] > result->dip_freq[j]
                        ? result->dip_freq[i] - result->dip_freq[j]
                        : result->dip_freq[j] - result->dip_freq[i],
                    3 * plan.step)
              << c.name;
      }
    }
  }
}

TEST(period_search, periodogram_keeps_the_lowest_of_each_share) {
  auto in = std::make_unique<magprep::search_input>();
  auto result = std::make_unique<magprep::search_result>();
  generate({"", shape::eclipsing, 2.8673, 0.1, 1200, 200}, 7, in.get());
  magprep::search_plan plan;
  ASSERT_EQ(magprep::plan_search(*in, 450000000, 10 * units_per_day, &plan),
            magprep::plan_status::ok);
  ASSERT_GT(plan.trials, magprep::periodogram_max);
  magprep::run_search(*in, plan, result.get());
  ASSERT_EQ(result->points, magprep::periodogram_max);
  bool best_seen = false;
  for (int p = 0; p < result->points; ++p) {
    // Each point's trial lies in its share, in order.
    EXPECT_EQ(result->point_trial[p] * result->points / plan.trials, p);
    EXPECT_GE(result->point_theta[p], result->dip_theta[0]);
    EXPECT_GE(result->point_theta[p], 0);
    if (result->point_theta[p] == result->dip_theta[0]) best_seen = true;
  }
  EXPECT_TRUE(best_seen) << "the best dip, as deep as it was found, is in the periodogram";
}

struct plan_case {
  const char* what;
  int records;
  double span;  // days
  long long min_period, max_period;
  magprep::plan_status status;
};

TEST(period_search, refuses_too_few_records_a_short_span_and_too_many_trials) {
  using magprep::plan_status;
  const long long day = units_per_day;
  const plan_case cases[] = {
      {"ten records", 10, 100, day / 10, 10 * day, plan_status::ok},
      {"nine records", 9, 100, day / 10, 10 * day, plan_status::too_few_records},
      {"a span of the longest period", 100, 10, day / 10, 10 * day, plan_status::ok},
      {"a span shorter than it", 100, 9.99, day / 10, 10 * day, plan_status::span_too_short},
      {"just under 10^7 trials", 100, 1000, day / 1000, 10 * day, plan_status::ok},
      {"over 10^7", 100, 2001, day / 1000, 10 * day, plan_status::too_many_trials},
      {"periods too close to tell apart", 100, 100001, 100000 * day - 18, 100000 * day - 9,
       plan_status::ok},
  };
  auto in = std::make_unique<magprep::search_input>();
  for (const plan_case& c : cases) {
    in->count = c.records;
    for (int i = 0; i < c.records; ++i) {
      in->time[i] = static_cast<long long>(c.span * day * i / (c.records - 1));
      in->mag[i] = 12000 + i % 7 * 100;
    }
    magprep::search_plan plan{};
    EXPECT_EQ(magprep::plan_search(*in, c.min_period, c.max_period, &plan), c.status) << c.what;
    if (c.status == plan_status::ok) {
      EXPECT_LE(plan.trials, magprep::trials_max) << c.what;
      // The step is at most 1/(5 * span) in frequency, and the trials reach the longest period.
      EXPECT_LE(plan.step * 5.0 * plan.span, 18446744073709551616.0) << c.what;
      const unsigned long long longest = ~0ULL / static_cast<unsigned long long>(c.max_period);
      const unsigned long long last = magprep::trial_freq(plan, plan.trials - 1);
      EXPECT_GE(plan.step, 1u) << c.what;
      EXPECT_LE(last > longest ? last - longest : longest - last,
                static_cast<unsigned long long>(plan.trials))
          << c.what;
      // Trial 0 is the shortest period, as closely as 64-bit frequencies give it (1 in 20000 at
      // 10^5 days, far finer than a step).
      EXPECT_NEAR(static_cast<double>(magprep::period_of(magprep::trial_freq(plan, 0))),
                  c.min_period / 9.0, c.min_period / 9.0 * 1e-4)
          << c.what;
      // And it runs.
      auto result = std::make_unique<magprep::search_result>();
      magprep::run_search(*in, plan, result.get());
      EXPECT_GE(result->dips, 1) << c.what;
    }
  }
}

TEST(thousandths, reads_magnitudes_as_magtime_does) {
  const struct {
    const char* digits;
    int value;
  } cases[] = {{"11.8", 11800},  {"118", 11800}, {"14.80", 14800},   {"20", 20000},
               {"20.001", 2000}, {".5", 500},    {"12.3456", 12345}, {"99999999999", 99999}};
  for (const auto& c : cases) EXPECT_EQ(magprep::thousandths(c.digits), c.value) << c.digits;
}

}  // namespace
