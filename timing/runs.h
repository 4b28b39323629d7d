// Splitting a season of observations into the runs that are timed one by one: at gaps in time,
// or about the predicted times of an ephemeris.
#pragma once

namespace timing {

/// Gap in days at which the records of one star fall into two runs by default: longer than a
/// cloud or a change of observer leaves, shorter than a day.
constexpr double default_gap = 0.2;

/// Observations first to last (inclusive) of a sorted time array.
struct span {
  int first;
  int last;
  long long cycle;  ///< around a prediction: the cycle from the epoch; 0 for gaps
  bool secondary;   ///< around a prediction: half a cycle later (cycle + 0.5)
};

/// Splits times t[0..n-1] (ascending, days) where two neighbours lie more than `max_gap` days
/// apart (a gap of exactly max_gap keeps them together). Writes at most `spans_max` spans, in
/// order, and returns how many there are, which may be more; 0 for n <= 0.
int split_at_gaps(const double* t, int n, double max_gap, span* spans, int spans_max);

/// The predictions a split around an ephemeris looks at.
enum class predicted { primary, primary_and_secondary };

/// Splits times t[0..n-1] (ascending, days, the origin of `epoch`) into the observations within
/// `reach` times `period` of a predicted time epoch + E period (E whole), or also of a
/// secondary at epoch + (E + 1/2) period: each observation to its nearest prediction, so no two
/// spans share one, and an observation that is near none is left out. For maxima, give the
/// epoch of a maximum. Writes at most `spans_max` spans, in order, and returns how many there
/// are, which may be more; -1 if period or reach is not above 0, or a time lies more than 10^15
/// cycles from the epoch.
int split_around(const double* t, int n, double epoch, double period, double reach, predicted which,
                 span* spans, int spans_max);

}  // namespace timing
