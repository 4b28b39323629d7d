// The kinds of output of magprep: each mode reads the whole input, writes its data and returns
// the tally from which the run's line on standard error is made.
#pragma once

#include <cstdio>

#include "command_line.h"
#include "input.h"
#include "period_search.h"
#include "record.h"

namespace magprep {

/// Most points -n, -p and -f keep, and most that magphase draws from one file.
constexpr int nights_max = 5000;
static_assert(search_max == nights_max);

/// Most records magtime draws from one file.
constexpr int magtime_max = 500;

/// The -n axis: X 0 and X 1 in hours since 0 h of day 0 of the day numbers, and the interval of
/// a tenth of it in hours.
struct night_scale {
  long long start_hour;
  long long end_hour;
  long long tenth_hours;
};

/// What a mode read, kept and dropped.
struct tally {
  long long records;     ///< written
  long long limits;      ///< upper limits, dropped
  long long uncertain;   ///< uncertain estimates among the written records
  long long other;       ///< records in the other layout, dropped
  long long over;        ///< records past what the mode keeps, dropped
  long long mentions;    ///< words naming the star that start no record
  long long unobserved;  ///< records without an observer's code, dropped
  bool have_layout;
  layout kind;              ///< the layout of the first record
  int first_day;            ///< the earliest date written of a written record
  int last_day;             ///< the latest
  night_scale scale;        ///< with -n
  long long epoch;          ///< -p: the epoch, given or the first record's time (units)
  bool far;                 ///< -p: a record too far from EPOCH ended the fold
  long long far_time;       ///< -p: its time (units)
  plan_status planned;      ///< -f: whether the search could run
  search_plan plan;         ///< -f: what it did, when it ran
  long long time_step;      ///< -f: the step of the times as observed (search_input)
  unsigned long long best;  ///< -f: the frequency of the best period, when it ran
};

/// Counts a record of the star and tells whether it is kept: not a limit, and in the layout of
/// the first record.
bool count_record(tally& t, const record& r);

/// The default mode: the records of STAR, one a line, for magtime.
tally write_records(input& s, const options& o, std::FILE* out);

/// -n: X MAGNITUDE pairs for magphase over round hours or days around the observations (at
/// most nights_max; the rest counted in `over`).
tally write_nights(input& s, const options& o, std::FILE* out);

/// -s: the PHASE MAGNITUDE pairs of a phase list with the phases shifted, modulo 1.
tally write_phases(input& s, const options& o, std::FILE* out);

/// Chooses the -n axis for times from `first` to `last` (first <= last) in parts of an hour
/// (`per_hour` of them): X 0 on a whole hour, or 0 h of a day, before or at `first`, X 1 at or
/// after `last`, a tenth of the axis 1, 2, 3, 6 or 12 hours or 1, 2, 3 or 5 days times a power
/// of ten, the least such that the times fit, and the times in the middle as far as whole hours
/// or days allow.
night_scale choose_scale(long long first, long long last, long long per_hour);

/// The time of a record as -p and -f take it: its Julian Date, heliocentric with -r (units).
long long record_time(const record& r, const options& o);

/// Writes billionths of a day with `decimals` decimals (0 to 9), rounded half up.
void print_period(std::FILE* f, long long billionths, int decimals);

/// Farthest a record may be from the EPOCH of -p, in days: farther, the epoch is taken for a
/// mistake (a Julian Date without its first digits, as catalogues print them).
constexpr long long epoch_reach_days = 100000;

/// -p: the records of STAR as PHASE MAGNITUDE pairs for magphase (at most nights_max; the rest
/// counted in `over`). A record more than epoch_reach_days from a given EPOCH ends it (`far`),
/// before that record is written.
tally write_fold(input& s, const options& o, std::FILE* out);

/// -f: the best periods of STAR, PERIOD THETA, or with -g the periodogram for magphase (of the
/// first nights_max records; the rest counted in `over`).
tally write_search(input& s, const options& o, std::FILE* out);

}  // namespace magprep
