// The period search on generated light curves of known period: observed on some nights of a
// season from one site, so that the 1-day aliases are there, with noise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "random_numbers.h"
#include "timing/ephemeris.h"
#include "timing/period_search.h"

namespace {

using timing::units_per_day;

constexpr double pi = 3.14159265358979323846;

enum class shape { sinusoid, eclipsing, sawtooth };

struct curve {
  const char* name;
  shape s;
  double period;  // days
  double noise;   // mag
  int records;
  int nights;  // of the season, about half of them clear
  // Eclipsing: V-shaped eclipses lasting `width` of the period, `primary` mag deep at phase 0
  // and `secondary` at phase 0.5.
  double width = 0.05;
  double primary = 1.0;
  double secondary = 0.4;
  double rounding = 0;  // days the times are written to, 0 for exact
};

// Magnitude at phase `x` (0 to 1).
double light(const curve& c, double x) {
  switch (c.s) {
    case shape::sinusoid: return 12 + 0.3 * std::sin(2 * pi * x);
    case shape::eclipsing: {
      const double half = c.width / 2;
      const double from_primary = std::fabs(x < 0.5 ? x : x - 1);
      const double from_secondary = std::fabs(x - 0.5);
      double m = 11;
      if (from_primary < half) m += c.primary * (1 - from_primary / half);
      if (from_secondary < half) m += c.secondary * (1 - from_secondary / half);
      return m;
    }
    case shape::sawtooth:  // a quick rise over 0.15 of the period, a slow decline
      return x < 0.15 ? 13 - x / 0.15 : 12 + (x - 0.15) / 0.85;
  }
  return 0;
}

// Records on the clear nights of a season, between 10 h and 18 h UT (a site in Japan), with the
// step of their times.
void generate(const curve& c, std::uint64_t seed, timing::search_input* in) {
  random_numbers r{seed};
  bool clear[400];
  for (int d = 0; d < c.nights; ++d) clear[d] = r.uniform() < 0.5;
  clear[0] = clear[c.nights - 1] = true;
  const double start = 2460650.5;
  in->count = 0;
  in->time_step = 0;
  while (in->count < c.records) {
    const int night = static_cast<int>(r.uniform() * c.nights);
    if (!clear[night]) continue;
    double t = night + 10.0 / 24 + r.uniform() * 8 / 24;
    long long units = static_cast<long long>((start + t) * units_per_day);
    if (c.rounding > 0) {
      const long long step = std::llround(c.rounding * units_per_day);
      units = std::llround((start + t) / c.rounding) * step;
      t = static_cast<double>(units) / units_per_day - start;
    }
    const double phase = std::fmod(t / c.period, 1.0);
    const double mag = light(c, phase) + c.noise * r.normal();
    in->time[in->count] = units;
    in->time_step = timing::common_step(in->time_step, units - in->time[0]);
    in->mag[in->count] = static_cast<int>(std::lround(mag * 1000));
    ++in->count;
  }
}

// Is the best period within a step of `period` (days) in frequency?
bool finds(const timing::search_plan& plan, const timing::search_result& r, double period) {
  const double step = plan.step * 9e9 / 18446744073709551616.0;  // cycles a day
  const double best = timing::period_of(r.dip_freq[0]) / 1e9;
  return std::fabs(1 / best - 1 / period) <= step;
}

TEST(period_search, finds_the_period_of_generated_curves_within_a_step) {
  const curve curves[] = {
      {"sinusoid", shape::sinusoid, 0.7331, 0.2, 600, 120},
      {"superhumps", shape::sinusoid, 0.07123, 0.3, 1500, 20},
      {"eclipsing binary", shape::eclipsing, 2.8673, 0.1, 1200, 200},
      {"eclipsing binary, short period", shape::eclipsing, 0.3894, 0.15, 900, 150},
      {"RR Lyrae star", shape::sawtooth, 0.5667, 0.3, 500, 90},
  };
  auto in = std::make_unique<timing::search_input>();
  auto result = std::make_unique<timing::search_result>();
  auto work = std::make_unique<timing::search_work>();
  for (const curve& c : curves) {
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
      generate(c, seed, in.get());
      timing::search_plan plan;
      ASSERT_EQ(timing::plan_search(*in, 450000000, 10 * units_per_day, &plan),
                timing::plan_status::ok);  // 0.05 to 10 days
      timing::run_search(*in, plan, work.get(), result.get());
      ASSERT_EQ(result->dips, timing::dips_max) << c.name;
      const double step = plan.step * 9e9 / 18446744073709551616.0;  // cycles a day
      const double best = timing::period_of(result->dip_freq[0]) / 1e9;
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

TEST(period_search, takes_no_period_of_fewer_than_ten_steps_of_the_times) {
  // Sinusoids of 0.05 to 5 days with times to 0.001 d, searched from 0.001 d: on such times
  // 1000 - f cycles a day folds as f does, and a period near n thousandths as n times a longer.
  auto in = std::make_unique<timing::search_input>();
  auto result = std::make_unique<timing::search_result>();
  auto work = std::make_unique<timing::search_work>();
  random_numbers r{2024};
  int found = 0;
  for (int i = 0; i < 40; ++i) {
    const double period = 0.05 * std::pow(100, r.uniform());
    const int records = 200 + static_cast<int>(r.uniform() * 400);
    generate(
        {"", shape::sinusoid, period, 0.1 + 0.1 * r.uniform(), records, 120, 0.05, 1, 0.4, 0.001},
        r.next(), in.get());
    timing::search_plan plan;
    ASSERT_EQ(timing::plan_search(*in, units_per_day / 1000, 5 * units_per_day, &plan),
              timing::plan_status::ok);
    timing::run_search(*in, plan, work.get(), result.get());
    for (int d = 0; d < result->dips; ++d)
      EXPECT_GE(timing::period_of(result->dip_freq[d]), 10000000) << period << " dip " << d;
    if (finds(plan, *result, period)) ++found;
  }
  EXPECT_GE(found, 36) << "of 40";
}

TEST(period_search, raises_the_shortest_period_to_ten_steps_of_the_times) {
  using timing::plan_status;
  const long long day = units_per_day;
  const long long minute = day / 1440;
  const struct {
    const char* what;
    long long time_step, min_period, max_period;
    plan_status status;
    long long searched_from;
  } cases[] = {
      {"times to 0.001 d", day / 1000, day / 1000, 5 * day, plan_status::ok, day / 100},
      {"VSOLJ minutes, up to a millionth of a day", minute, day / 1000, 5 * day, plan_status::ok,
       6945 * (day / 1000000)},
      {"times to 0.0001 d reach 0.001 d", day / 10000, day / 1000, 5 * day, plan_status::ok,
       day / 1000},
      {"a step not known", 0, day / 1000, 5 * day, plan_status::ok, day / 1000},
      {"MIN above ten steps", day / 1000, day / 10, 5 * day, plan_status::ok, day / 10},
      {"whole days, up to 5 d", day, day / 1000, 5 * day, plan_status::steps_too_coarse, 10 * day},
      {"half days, up to 5 d", day / 2, day / 1000, 5 * day, plan_status::steps_too_coarse,
       5 * day},
  };
  auto in = std::make_unique<timing::search_input>();
  for (const auto& c : cases) {
    in->count = 100;
    in->time_step = c.time_step;
    for (int i = 0; i < in->count; ++i) {
      in->time[i] = 20 * day * i;
      in->mag[i] = 12000 + i % 7 * 100;
    }
    timing::search_plan plan{};
    ASSERT_EQ(timing::plan_search(*in, c.min_period, c.max_period, &plan), c.status) << c.what;
    EXPECT_EQ(plan.min_period, c.searched_from) << c.what;
    EXPECT_EQ(plan.raised, c.searched_from != c.min_period) << c.what;
  }
}

TEST(period_search, finds_binaries_with_narrow_unequal_eclipses) {
  // Eclipses lasting a tenth to a twentieth of the period, the secondary 0.3 to 0.6 of the
  // primary, 300 to 2000 records. Such a dip is narrower than a step in the full bins: the search
  // must find it as deep as a search of the period's neighbourhood alone (a few trials) does, and
  // tell the period from half of it, whose bins are shorter in time.
  auto in = std::make_unique<timing::search_input>();
  auto result = std::make_unique<timing::search_result>();
  auto work = std::make_unique<timing::search_work>();
  auto near = std::make_unique<timing::search_result>();
  random_numbers r{71};
  int deep = 0;
  int found = 0;
  for (int i = 0; i < 80; ++i) {
    curve c{"", shape::eclipsing, 0.3 * std::pow(30, r.uniform()), 0, 0, 0};
    c.width = 1 / (10 + 10 * r.uniform());
    c.primary = 0.6 + 0.6 * r.uniform();
    c.secondary = c.primary * (0.3 + 0.3 * r.uniform());
    c.noise = 0.025 + 0.05 * r.uniform();
    c.records = static_cast<int>(300 * std::pow(2000.0 / 300, r.uniform()));
    c.nights = 100 + static_cast<int>(r.uniform() * 200);
    generate(c, r.next(), in.get());
    timing::search_plan plan;
    ASSERT_EQ(timing::plan_search(*in, 450000000, 10 * units_per_day, &plan),
              timing::plan_status::ok);  // 0.05 to 10 days
    timing::run_search(*in, plan, work.get(), result.get());
    timing::search_plan around;
    ASSERT_EQ(timing::plan_search(*in, std::llround(c.period * 0.999 * units_per_day),
                                  std::llround(c.period * 1.001 * units_per_day), &around),
              timing::plan_status::ok);
    timing::run_search(*in, around, work.get(), near.get());
    const double step = plan.step * 9e9 / 18446744073709551616.0;  // cycles a day
    for (int d = 0; d < result->dips; ++d) {
      const double period = timing::period_of(result->dip_freq[d]) / 1e9;
      if (std::fabs(1 / period - 1 / c.period) > step) continue;
      if (result->dip_theta[d] <= 1.1 * near->dip_theta[0]) ++deep;
      break;
    }
    if (finds(plan, *result, c.period)) ++found;
  }
  EXPECT_GE(deep, 76) << "of 80 within 10 % of the neighbourhood's theta";
  EXPECT_GE(found, 71) << "of 80 best";
}

TEST(period_search, puts_no_far_worse_divisor_first_with_few_records) {
  // 10 to 30 records: the margin of chance between a period and its divisors is then all of
  // theta, and only its floor keeps a shorter period with a far higher theta behind.
  auto in = std::make_unique<timing::search_input>();
  auto result = std::make_unique<timing::search_result>();
  auto work = std::make_unique<timing::search_work>();
  random_numbers r{21};
  for (int i = 0; i < 100; ++i) {
    curve c{"",
            i % 2 == 0 ? shape::sinusoid : shape::eclipsing,
            0.5 * std::pow(10, r.uniform()),
            0.02,
            10 + static_cast<int>(r.uniform() * 21),
            30 + static_cast<int>(r.uniform() * 30)};
    c.width = 0.4;
    c.secondary = 0.3;
    generate(c, r.next(), in.get());
    timing::search_plan plan;
    ASSERT_EQ(timing::plan_search(*in, units_per_day / 10, 10 * units_per_day, &plan),
              timing::plan_status::ok);
    timing::run_search(*in, plan, work.get(), result.get());
    for (int d = 1; d < result->dips; ++d)
      EXPECT_LE(result->dip_theta[0], 2 * result->dip_theta[d])
          << c.records << " records, period " << c.period << ": "
          << timing::period_of(result->dip_freq[0]) / 1e9 << " ahead of "
          << timing::period_of(result->dip_freq[d]) / 1e9;
  }
}

TEST(period_search, periodogram_keeps_the_lowest_of_each_share) {
  auto in = std::make_unique<timing::search_input>();
  auto result = std::make_unique<timing::search_result>();
  auto work = std::make_unique<timing::search_work>();
  generate({"", shape::eclipsing, 2.8673, 0.1, 1200, 200}, 7, in.get());
  timing::search_plan plan;
  ASSERT_EQ(timing::plan_search(*in, 450000000, 10 * units_per_day, &plan),
            timing::plan_status::ok);
  ASSERT_GT(plan.trials, timing::periodogram_max);
  timing::run_search(*in, plan, work.get(), result.get());
  ASSERT_EQ(result->points, timing::periodogram_max);
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

// A million records of two magnitudes far apart, 0 and 99.999, half about each of two phases of
// 2.5 days over ten cycles: the sum of a bin reaches 2.5 * 10^10 thousandths, its square
// 6 * 10^20, and the record count times the squares 2.5 * 10^21, all past 64 bits. The fold on
// a period that orders them perfectly (2.5 days, and others: ten cycles tell little apart) has
// a theta of about 0, never below it, and a fold that mixes them about 1.
TEST(period_search, sums_stay_exact_over_a_million_records) {
  auto in = std::make_unique<timing::search_input>();
  auto result = std::make_unique<timing::search_result>();
  auto work = std::make_unique<timing::search_work>();
  const long long period = 5 * units_per_day / 2;
  in->count = timing::search_max;
  in->time_step = 0;  // no step known: the times' steps of a quarter of a day raise nothing
  for (int i = 0; i < in->count; ++i) {
    const bool faint = i % 2 == 1;
    // Phase 0.15 or 0.65, give or take 0.03 (in thousandths, spread over the records).
    const long long thousandths = (faint ? 650 : 150) + (i / 2 * 7919LL % 61 - 30);
    in->time[i] = 2460000 * units_per_day + (i / 2 % 10) * period + thousandths * period / 1000;
    in->mag[i] = faint ? 99999 : 0;
  }
  timing::search_plan plan;
  ASSERT_EQ(timing::plan_search(*in, 2 * units_per_day, 3 * units_per_day, &plan),
            timing::plan_status::ok);
  timing::run_search(*in, plan, work.get(), result.get());
  ASSERT_GE(result->dips, 1);
  double low = 2, high = -1;
  for (int p = 0; p < result->points; ++p) {
    if (result->point_theta[p] < low) low = result->point_theta[p];
    if (result->point_theta[p] > high) high = result->point_theta[p];
  }
  EXPECT_GE(low, 0);
  EXPECT_LT(result->dip_theta[0], 0.01);
  EXPECT_GT(high, 0.9) << "a fold that orders nothing has a theta of about 1";
  EXPECT_LT(high, 1.1);
}

// Theta of the fold of all of `in` on `freq` (cycles a unit scaled by 2^64) in `bins` bins,
// worked out anew in double: each bin's mean, then the squares about it.
double theta_of_all(const timing::search_input& in, unsigned long long freq, int bins) {
  long long first = in.time[0];
  for (int i = 0; i < in.count; ++i) first = std::min(first, in.time[i]);
  const double cycles = static_cast<double>(freq) / 18446744073709551616.0;
  std::vector<int> bin(in.count);
  std::vector<double> sum(bins), count(bins);
  double mean = 0;
  for (int i = 0; i < in.count; ++i) {
    const double phase = std::fmod(static_cast<double>(in.time[i] - first) * cycles, 1.0);
    bin[i] = static_cast<int>(phase * bins);
    sum[bin[i]] += in.mag[i];
    count[bin[i]] += 1;
    mean += in.mag[i];
  }
  mean /= in.count;
  double within = 0, whole = 0;
  for (int i = 0; i < in.count; ++i) {
    const double d = in.mag[i] - sum[bin[i]] / count[bin[i]];
    within += d * d;
    whole += (in.mag[i] - mean) * (in.mag[i] - mean);
  }
  const int filled =
      static_cast<int>(std::count_if(count.begin(), count.end(), [](double c) { return c > 0; }));
  return within / (in.count - filled) / (whole / (in.count - 1));
}

TEST(period_search, finds_the_period_of_fifty_thousand_records_from_a_subsample) {
  // The trials fold 5000 of them; every theta written is of all of them, which tell a dip
  // from chance ten times as finely.
  const curve curves[] = {
      {"sinusoid", shape::sinusoid, 0.7331, 0.3, 50000, 120},
      {"narrow unequal eclipses", shape::eclipsing, 2.8673, 0.1, 50000, 200, 1.0 / 20, 0.8, 0.3},
  };
  auto in = std::make_unique<timing::search_input>();
  auto result = std::make_unique<timing::search_result>();
  auto work = std::make_unique<timing::search_work>();
  for (const curve& c : curves) {
    generate(c, 5, in.get());
    timing::search_plan plan;
    ASSERT_EQ(timing::plan_search(*in, 450000000, 10 * units_per_day, &plan),
              timing::plan_status::ok);  // 0.05 to 10 days
    timing::run_search(*in, plan, work.get(), result.get());
    EXPECT_EQ(work->scanned, 5000) << c.name;
    ASSERT_EQ(result->dips, timing::dips_max) << c.name;
    EXPECT_TRUE(finds(plan, *result, c.period))
        << c.name << ": " << timing::period_of(result->dip_freq[0]) / 1e9;
    for (int d = 0; d < result->dips; ++d)
      EXPECT_NEAR(result->dip_theta[d], theta_of_all(*in, result->dip_freq[d], plan.bins), 1e-9)
          << c.name << " dip " << d;
    bool best_seen = false;
    for (int p = 0; p < result->points; ++p)
      if (result->point_theta[p] == result->dip_theta[0]) best_seen = true;
    EXPECT_TRUE(best_seen) << c.name << ": the best dip, as all the records fold, is in the "
                           << "periodogram";
  }
}

struct plan_case {
  const char* what;
  int records;
  double span;  // days
  long long min_period, max_period;
  timing::plan_status status;
};

TEST(period_search, refuses_too_few_records_a_short_span_and_too_many_trials) {
  using timing::plan_status;
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
  auto in = std::make_unique<timing::search_input>();
  for (const plan_case& c : cases) {
    in->count = c.records;
    for (int i = 0; i < c.records; ++i) {
      in->time[i] = static_cast<long long>(c.span * day * i / (c.records - 1));
      in->mag[i] = 12000 + i % 7 * 100;
    }
    timing::search_plan plan{};
    EXPECT_EQ(timing::plan_search(*in, c.min_period, c.max_period, &plan), c.status) << c.what;
    if (c.status == plan_status::ok) {
      EXPECT_LE(plan.trials, timing::trials_max) << c.what;
      // The step is at most 1/(5 * span) in frequency, and the trials reach the longest period.
      EXPECT_LE(plan.step * 5.0 * plan.span, 18446744073709551616.0) << c.what;
      const unsigned long long longest = ~0ULL / static_cast<unsigned long long>(c.max_period);
      const unsigned long long last = timing::trial_freq(plan, plan.trials - 1);
      EXPECT_GE(plan.step, 1u) << c.what;
      EXPECT_LE(last > longest ? last - longest : longest - last,
                static_cast<unsigned long long>(plan.trials))
          << c.what;
      // Trial 0 is the shortest period, as closely as 64-bit frequencies give it (1 in 20000 at
      // 10^5 days, far finer than a step).
      EXPECT_NEAR(static_cast<double>(timing::period_of(timing::trial_freq(plan, 0))),
                  c.min_period / 9.0, c.min_period / 9.0 * 1e-4)
          << c.what;
      // And it runs.
      auto result = std::make_unique<timing::search_result>();
      auto work = std::make_unique<timing::search_work>();
      timing::run_search(*in, plan, work.get(), result.get());
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
  for (const auto& c : cases) EXPECT_EQ(timing::thousandths(c.digits), c.value) << c.digits;
}

}  // namespace
