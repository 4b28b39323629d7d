// The search for a period by phase dispersion minimisation: trial frequencies stepped evenly,
// phases as 64-bit fixed-point fractions of a cycle, magnitudes as whole thousandths, so that
// every platform folds alike; theta in double precision, summed in a fixed order.
#pragma once

namespace magprep {

/// Most records a search takes; more are counted and dropped by the caller.
constexpr int search_max = 5000;

/// Most trial periods a search runs.
constexpr long long trials_max = 10000000;

/// Fewest records a search takes.
constexpr int search_min = 10;

/// Most points of a periodogram.
constexpr int periodogram_max = 5000;

/// Best periods a search reports.
constexpr int dips_max = 5;

/// Shortest trial period, in units of time (0.001 day): shorter ones need finer times than
/// reports give.
constexpr long long search_period_min = 9000000;

/// The records of a search: times in units of time (ephemeris.h; any order, any origin) and
/// magnitudes in thousandths.
struct search_input {
  int count;
  long long time[search_max];
  int mag[search_max];
};

/// A magnitude written as digits with at most one point ("11.8", "118", "14.80") in thousandths,
/// as magtime takes it: above 20 it is divided by ten (118 is 11.8). Digits past the third
/// decimal are not looked at; a magnitude above 99.999 counts as 99.999.
int thousandths(const char* digits);

/// What a search will do: frequency k is max_freq - k * step (cycles per unit of time, scaled
/// by 2^64), k from 0 (the shortest period) to trials - 1 (within `trials` 2^-64 cycles of the
/// longest).
struct search_plan {
  int bins;                     ///< phase bins: a tenth of the records, 10 to 100
  long long span;               ///< last time - first time, units
  long long trials;             ///< trial frequencies
  unsigned long long max_freq;  ///< 2^64 / shortest period
  unsigned long long step;      ///< at most 2^64 / (5 * span)
};

enum class plan_status {
  ok,
  too_few_records,  ///< fewer than search_min
  span_too_short,   ///< the records span less than the longest trial period
  too_many_trials,  ///< more than trials_max
};

/// Plans a search from `min_period` to `max_period` (units, search_period_min <= min_period <
/// max_period) over the records in `in`; `plan` is written with ok, and with too_many_trials
/// (then `trials` is the count it would take).
plan_status plan_search(const search_input& in, long long min_period, long long max_period,
                        search_plan* plan);

/// The outcome of a search: the best dips, best first, and the periodogram. A dip is a trial
/// lower than every trial within five steps either side, so that no two belong to one dip; the
/// twenty lowest are then searched ten times finer within a step either side, since a narrow
/// eclipse smears out a step away from its period. The best is the lowest, except that a dip at
/// a whole multiple of a shorter one's period (2 to 5 times, within a step) gives way to that one
/// unless its theta is lower by more than chance makes it (three times sqrt(2 * bins) /
/// (records - bins) of it): folding on twice the period of a sinusoid orders the curve as well,
/// and only noise tells them apart.
struct search_result {
  int dips;
  unsigned long long dip_freq[dips_max];  ///< as search_plan's frequencies
  double dip_theta[dips_max];
  int points;  ///< min(trials, periodogram_max), each the lowest theta of its share of trials
               ///< (the finer trials of the dips included, at their nearest trial)
  long long point_trial[periodogram_max];
  double point_theta[periodogram_max];
};

/// Runs the planned search. Theta is the spread of the magnitudes within the phase bins (their
/// pooled variance) over their whole variance: near 1 for no order, lower where the trial
/// period orders the curve. With no spread at all it is 1.
void run_search(const search_input& in, const search_plan& plan, search_result* result);

/// The frequency of trial `k`.
unsigned long long trial_freq(const search_plan& plan, long long k);

/// The period of a frequency in billionths of a day, rounded half up.
long long period_of(unsigned long long freq);

/// Decimals that give the period of `freq` to a hundredth of how far one step moves it, 0 to 9:
/// enough to fold on.
int period_decimals(const search_plan& plan, unsigned long long freq);

}  // namespace magprep
