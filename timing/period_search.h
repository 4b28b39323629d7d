// The search for a period by phase dispersion minimisation: trial frequencies stepped evenly,
// phases as 64-bit fixed-point fractions of a cycle, magnitudes as whole thousandths, so that
// every platform folds alike; theta in double precision, summed in a fixed order.
#pragma once

namespace timing {

/// Most records a search takes; more are counted and dropped by the caller. Every sum over the
/// records stays exact up to it (magnitudes below 10^5 thousandths).
constexpr int search_max = 1000000;

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

/// Steps of the times that the shortest trial period spans at least: on times that are whole
/// multiples of a step, frequencies 1/step apart fold alike, and a period near n steps folds as
/// n times a longer one does, so a period of a few steps can stand for any other.
constexpr long long period_steps_min = 10;

/// The records of a search: times in units of time (ephemeris.h; any order, any origin) and
/// magnitudes in thousandths.
struct search_input {
  int count;
  long long time_step;  ///< every time as observed, before any correction, is a whole multiple
                        ///< of it past the first (units; see common_step); 0 for none known
  long long time[search_max];
  int mag[search_max];
};

/// The greatest common divisor of `step` and the magnitude of `difference` (units, both at
/// least 0 and below 2^62 in magnitude): 0 and 0 give 0, `step` and 0 give `step`. Fed the
/// differences of each time from the first, it gives the finest step the times lie on.
long long common_step(long long step, long long difference);

/// A magnitude written as digits with at most one point ("11.8", "118", "14.80") in units of
/// 10^-decimals (decimals 3 or 4), as magtime takes it: above 20 it is divided by ten (118 is
/// 11.8). Digits past that decimal are not looked at; a magnitude of 100 or more counts as the
/// largest below it. `written` (when not null) gets the decimals as written, one more for a
/// magnitude divided by ten, at most `decimals`.
int magnitude_units(const char* digits, int decimals, int* written);

/// magnitude_units in thousandths.
inline int thousandths(const char* digits) { return magnitude_units(digits, 3, nullptr); }

/// What a search will do: frequency k is max_freq - k * step (cycles per unit of time, scaled
/// by 2^64), k from 0 (the shortest period) to trials - 1 (within `trials` 2^-64 cycles of the
/// longest).
struct search_plan {
  int bins;                     ///< phase bins: a tenth of the records, 10 to 100
  long long span;               ///< last time - first time, units
  long long min_period;         ///< the shortest trial period, units: as asked, or raised
  bool raised;                  ///< min_period raised to period_steps_min time steps
  long long trials;             ///< trial frequencies
  unsigned long long max_freq;  ///< 2^64 / shortest period
  unsigned long long step;      ///< at most 2^64 / (5 * span)
};

enum class plan_status {
  ok,
  too_few_records,   ///< fewer than search_min
  no_variation,      ///< every magnitude alike: nothing for a period to order
  span_too_short,    ///< the records span less than the longest trial period
  steps_too_coarse,  ///< period_steps_min time steps reach the longest trial period
  too_many_trials,   ///< more than trials_max
};

/// Plans a search from `min_period` to `max_period` (units, search_period_min <= min_period <
/// max_period) over the records in `in`. A `min_period` below period_steps_min times the step
/// of the times is raised to that, rounded up to a millionth of a day. `plan` is written with
/// ok, with too_many_trials (then `trials` is the count it would take) and with
/// steps_too_coarse (`min_period` as it would be raised).
plan_status plan_search(const search_input& in, long long min_period, long long max_period,
                        search_plan* plan);

/// Phase bins of the trials at the plan's step: half a step (1 / (10 * span)) from a period
/// moves a record by at most a tenth of a cycle over the span, so no dip of the trials at that
/// period is lost between two of them.
constexpr int coarse_bins = 10;

/// Dips of the trials that are searched again in the plan's bins.
constexpr int candidates_max = 50;

/// The margin of chance between the thetas of a period and of its multiple never falls below
/// this share, however few the records: a shorter period with a theta over twice the longer
/// one's never goes first.
constexpr double harmonic_margin_min = 0.5;

/// The outcome of a search: the best dips, best first, and the periodogram. The trials fold the
/// records in coarse_bins bins. A dip is a trial lower than every trial within five steps
/// either side, so that no two belong to one dip; the candidates_max lowest are searched again
/// in the plan's bins within a step either side, in parts of a step that move a record by at
/// most half a bin over the span, so that an eclipse lasting a twentieth of the period is found
/// as deep as it is. A dip whose period folded on twice its length shows two cycles that differ
/// by more than chance (a binary's unequal eclipses, on half its period) becomes that longer
/// period. The best is the lowest, except that a dip at a whole multiple of a shorter one's
/// period (2 to 5 times, within a step) gives way to that one unless its theta is lower by more
/// than chance makes it (three times sqrt(2 * bins) / (records - bins) of it, and at least
/// 1 - harmonic_margin_min of it): folding on twice the period of a sinusoid orders the curve as
/// well, and only noise tells them apart.
struct search_result {
  int dips;
  unsigned long long dip_freq[dips_max];  ///< as search_plan's frequencies
  double dip_theta[dips_max];
  int points;  ///< min(trials, periodogram_max), each the lowest theta of its share of trials,
               ///< in coarse_bins bins (the dips included as searched again, at their nearest
               ///< trial)
  long long point_trial[periodogram_max];
  double point_theta[periodogram_max];
};

/// Most records the trials fold. Past it they fold an even subsample: every k-th record in order
/// of time, k = ceil(records / scan_max), which spans the whole time base as all of them do.
constexpr int scan_max = 5000;

/// The tables a search works in: 12 bytes a record, 12 MB for search_max, more than a stack
/// holds, so the caller keeps them; and 140 kB for the records the trials fold.
struct search_work {
  int n;
  long long squares;                     ///< of the magnitudes about the mean
  double variance;                       ///< of the magnitudes, 0 when they are all alike
  unsigned long long dt[search_max];     ///< times since the first (units); past scan_max records
                                         ///< in order of time, then of magnitude
  int mag[search_max];                   ///< thousandths about the mean of all the records
  int scanned;                           ///< records the trials fold: n, or the subsample's
  long long scanned_squares;             ///< as squares, of the records the trials fold
  double scanned_variance;               ///< as variance, of the records the trials fold
  unsigned long long scan_dt[scan_max];  ///< as dt, of the records the trials fold
  int scan_mag[scan_max];                ///< as mag, of the records the trials fold
  unsigned long long phase[scan_max];    ///< at the trial being folded, scaled by 2^64
  unsigned long long advance[scan_max];  ///< of the phase from one trial to the next
};

/// Runs the planned search in `work` (overwritten). Theta is the spread of the magnitudes within
/// the phase bins (their pooled variance) over their whole variance: near 1 for no order, lower
/// where the trial period orders the curve. With no spread at all it is 1. Past scan_max records
/// the trials fold the subsample (the periodogram's points are its thetas), and every candidate
/// is searched again in it, then settled on all the records: from the frequency the subsample
/// found, by parts of a step towards a lower theta over all of them, at most as far as the
/// subsample's search reached. Every theta reported or compared (the dips, the tests of a
/// period's multiples and of twice the period, the dips shown in the periodogram) is then over
/// all the records.
void run_search(const search_input& in, const search_plan& plan, search_work* work,
                search_result* result);

/// The frequency of trial `k`.
unsigned long long trial_freq(const search_plan& plan, long long k);

/// The period of a frequency in billionths of a day, rounded half up.
long long period_of(unsigned long long freq);

/// Decimals that give the period of `freq` to a hundredth of how far one step moves it, 0 to 9:
/// enough to fold on.
int period_decimals(const search_plan& plan, unsigned long long freq);

}  // namespace timing
