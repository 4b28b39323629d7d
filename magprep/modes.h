// The kinds of output of magprep: each mode reads the whole input, writes its data and returns
// the tally from which the run's line on standard error is made.
#pragma once

#include <cstdio>

#include "command_line.h"
#include "libraries.h"
#include "timing/elements.h"
#include "timing/extrema.h"
#include "workspace.h"

namespace magprep {

/// Most records magtime draws from one file.
constexpr int magtime_max = 500;

/// The -n axis: X 0 and X 1 in hours since 0 h of day 0 of the day numbers, and the interval of
/// a tenth of it in hours.
struct night_scale {
  long long start_hour;
  long long end_hour;
  long long tenth_hours;
};

/// Most timings -c reads.
constexpr int timings_max = timing::fit_max;

/// Most lines -t writes.
constexpr int predictions_max = 10000;

/// Timings as -c reads them: times in units (JD), their errors (0 when not given) and the
/// decimals to write their O−C with (4 to 6).
struct timing_list {
  int count;
  long long time[timings_max];
  long long error[timings_max];
  int decimals[timings_max];
};

/// Most bands a tally tells apart; records of others are counted together.
constexpr int band_kinds_max = 16;

/// Records counted by band, in the order the bands came.
struct band_tally {
  int kinds;
  plotcore::word_buf name[band_kinds_max];
  long long count[band_kinds_max];
  long long others;  ///< records of bands past the first band_kinds_max
};

/// What -c read and found.
struct oc_tally {
  long long not_julian;   ///< lines whose time is no Julian Date, passed over
  long long over;         ///< timings past timings_max, dropped
  long long far;          ///< timings more than 10^12 cycles from the epoch, dropped
  const char* system;     ///< the time system a header names ("HJD"), or null
  band_tally kinds;       ///< the bands or methods of the timings kept, where a column says
  long long other_kinds;  ///< -b: timings of other bands or methods (or none said), dropped
  long long first_cycle;  ///< half cycles
  long long last_cycle;
  long long start;  ///< -g: X 0 (half cycles)
  long long tenth;  ///< -g: a tenth of the axis (half cycles)
  long long unit;   ///< -g: the magnitude's unit of O−C (units of time)
  bool weighted;    ///< every timing had an error
  bool linear;      ///< fit holds the linear elements
  bool quadratic;   ///< fit2 holds the quadratic ones
  timing::elements_fit fit;
  timing::elements_fit fit2;
};

/// Runs passed over that -m and -M name on standard error; more are only counted.
constexpr int extrema_listed_max = 100;

/// A run that could not be timed: its first record's time (units), its records, and why.
struct passed_run {
  long long first_time;
  int count;
  timing::timing_status why;
};

/// What -m and -M found.
struct extrema_tally {
  int runs;           ///< runs the records fell into
  int not_looked_at;  ///< runs past the most looked at
  int timed;
  int passed;    ///< runs that could not be timed
  int too_long;  ///< of those, runs of more records than a timing takes
  int kvw;       ///< minima with Kwee and van Woerden's error
  int revised;   ///< minima with the revised error
  int decimals;  ///< of the times written
  int listed;
  passed_run list[extrema_listed_max];
};

/// What the times of -B rested on: counts of times for which UTC was not known from the
/// leap seconds, and of those that could not be turned (dropped).
struct time_notes {
  long long before_1972;
  long long past_table;
  long long in_step;
  long long out_of_range;
  long long hjd_given;  ///< -r, -B: times given as HJD, which are not turned again (refused)
};

/// Observers' codes or bands that -a names on standard error, each once; more are counted.
constexpr int aavso_listed_max = 4;

/// The first different names met, and whether there were more.
struct name_list {
  int count;
  bool more;
  plotcore::word_buf names[aavso_listed_max];
};

/// What -a wrote and dropped.
struct aavso_tally {
  char name[plotcore::word_max + 2];  ///< the star as written: STAR's 29 characters and a space
  bool name_turned;                   ///< in the AAVSO's form; otherwise STAR as given
  long long others;                   ///< records of other observers, dropped
  name_list observers;
  long long not_visual;  ///< records of OBSCODE in other bands, dropped
  name_list bands;
  long long vsolj;         ///< records written whose JST was turned to UT
  long long heliocentric;  ///< visual records of OBSCODE whose times are HJD, dropped
};

/// -n, -p: how the records became points for magphase.
struct grouping {
  int size;    ///< records averaged into each point; 0 when each record is a point of its own
  int points;  ///< written
  int last;    ///< records of the last point, 1 to size
};

/// What a mode read, kept and dropped.
struct tally {
  long long records;          ///< written
  long long limits;           ///< upper limits, dropped
  long long uncertain;        ///< uncertain estimates among the written records
  long long other;            ///< records in the other layout, dropped
  long long over;             ///< records past what the mode keeps, dropped
  long long mentions;         ///< words naming the star that start no record
  long long unobserved;       ///< records without an observer's code, dropped
  long long other_observers;  ///< -w: records of other observers, dropped
  long long other_bands;      ///< -b: records of other bands (and of the observers), dropped
  band_tally bands;           ///< the bands of the records written
  band_tally dropped_bands;   ///< -b: the bands of those dropped
  long long discrepant;       ///< records of AAVSO files flagged discrepant, dropped
  long long long_lines;       ///< lines of AAVSO files too long to be read, passed over
  long long negative;         ///< magnitudes below zero, dropped unless `differential`
  long long other_system;     ///< records in another time system than the first's, dropped
  bool differential;          ///< the mode takes magnitudes below zero (-f, -m, -M)
  bool have_layout;
  layout kind;              ///< the layout of the first record
  time_system system;       ///< the time system of the first record
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
  oc_tally oc;              ///< -c
  extrema_tally extrema;    ///< -m, -M
  time_notes times;         ///< -r, -B: times that could not be made exact, or not at all
  aavso_tally aavso;        ///< -a
  grouping groups;          ///< -n, -p
};

/// Counts a record of the star and tells whether it is kept: by an observer and in a band that
/// -w and -b choose, not a limit, not below zero unless the mode is `differential`, and in the
/// layout and time system of the first record.
bool count_record(tally& t, const options& o, const record& r);

/// Adds `n` (1 or -1) records of `band` to `b`.
void add_band(band_tally& b, const char* band, long long n);

/// The default mode: the records of STAR, one a line, for magtime.
tally write_records(input& s, const options& o, std::FILE* out);

/// -n: X MAGNITUDE pairs for magphase over round hours or days around the observations, of the
/// first records_max records (the rest counted in `over`), at most magphase_max (group_points).
tally write_nights(input& s, const options& o, std::FILE* out, point_table* table);

/// -s: the PHASE MAGNITUDE pairs of a phase list with the phases shifted, modulo 1.
tally write_phases(input& s, const options& o, std::FILE* out);

/// Chooses the -n axis for times from `first` to `last` (first <= last) in parts of an hour
/// (`per_hour` of them): X 0 on a whole hour, or 0 h of a day, before or at `first`, X 1 at or
/// after `last`, a tenth of the axis 1, 2, 3, 6 or 12 hours or 1, 2, 3 or 5 days times a power
/// of ten, the least such that the times fit, and the times in the middle as far as whole hours
/// or days allow.
night_scale choose_scale(long long first, long long last, long long per_hour);

/// The time of a record as -p, -f, -m and -M take it: its Julian Date, heliocentric with -r,
/// barycentric in TDB with -B (units). False for a time -B cannot turn, and for a time given as
/// HJD with -r or -B (both counted in `notes`).
bool record_time(const record& r, const options& o, time_notes* notes, long long* time);

/// Takes back a record that count_record counted, when it cannot be used after all.
void uncount_record(tally& t, const record& r);

/// Counts a record (count_record) and gives its time as record_time does, for the modes that
/// keep their records in a table: false for a record not kept, for one that finds the table
/// `full` (counted in `over`), and for a time that cannot be turned.
bool take_timed_record(tally& t, const options& o, const record& r, bool full, long long* time);

/// Writes billionths of a day with `decimals` decimals (0 to 9), rounded half up.
void print_period(std::FILE* f, long long billionths, int decimals);

/// Farthest a record may be from the EPOCH of -p, in days: farther, the epoch is taken for a
/// mistake (a Julian Date without its first digits, as catalogues print them).
constexpr long long epoch_reach_days = 100000;

/// -p: the records of STAR as PHASE MAGNITUDE pairs for magphase, of the first records_max
/// records (the rest counted in `over`), at most magphase_max (group_points). A record more
/// than epoch_reach_days from a given EPOCH ends it (`far`), before that record is kept.
tally write_fold(input& s, const options& o, std::FILE* out, point_table* table);

/// -f: the best periods of STAR, PERIOD THETA, or with -g the periodogram for magphase (of the
/// first records_max records; the rest counted in `over`).
tally write_search(input& s, const options& o, std::FILE* out, search_tables* tables);

/// A time in the ephemeris's system (JD, HJD with -r, BJD_TDB with -B; units) as the
/// geocentric Julian Date (UT) at which it is seen; false when it cannot be turned (counted).
bool geocentric_time(long long t, const options& o, time_notes* notes, long long* jd);

/// The kind of the times of a run: "JD", "HJD" with -r, "BJD_TDB" with -B.
const char* time_kind(const options& o);

/// Writes the date of a day number as YYYY-MM-DD.
void print_date(std::FILE* f, int number);

/// Writes a Julian Date (units) as the date and time to the minute, rounded, "2026-12-10 22:22",
/// shifted by `offset` minutes (Japan Standard Time is UT + 540).
void print_date_time(std::FILE* f, long long jd, long long offset);

/// Writes half cycles as a cycle number: "1234", "1234.5", "-0.5".
void print_cycle(std::FILE* f, long long half_cycles);

/// Writes units of time as days with `decimals` decimals (0 to 9), rounded half away from zero,
/// with a minus sign when below zero.
void print_signed_days(std::FILE* f, long long units, int decimals);

/// Reads a list of timings, TIME [ERROR] [KIND] [anything] a line, Julian Dates in full or,
/// after a line that says "2400000" ("HJD-2400000"), reduced; other lines are passed over, and
/// the time system their first words name is kept in `t`. KIND is a band (as band_name knows
/// them) or a method (vis, CCD, pe, pg, ptg, DSLR); with -b (`chosen`), only the timings of its
/// bands or methods are kept.
void read_timings(input& s, const selection& chosen, timing_list* list, oc_tally* t);

/// -c: each timing's cycle, O−C and error, or with -g the O−C diagram for magphase; the
/// elements refined from them in the tally.
tally write_timings(input& s, const options& o, std::FILE* out);

/// -m, -M: the times of minimum or maximum of STAR, one for each run of its first records_max
/// records (the rest counted in `over`).
tally write_extrema(input& s, const options& o, std::FILE* out, extrema_tables* tables);

// ---- points for magphase (points.cc) ----

/// A magnitude written as digits with at most one point in ten-thousandths, as magtime takes it
/// (above 20 divided by ten: 118 is 11.8); digits past the fourth decimal are not looked at, and
/// a magnitude above 99.9999 counts as 99.9999. Also the decimals written, at most 4.
int magnitude_ten_thousandths(const char* digits, int* decimals);

/// `sum` / `count` rounded half up to a whole multiple of `unit` (count and unit above 0, 2 *
/// |sum| + count * unit below 2^63): floor((sum / count) / unit + 1/2) * unit, exactly.
long long mean_in_units(long long sum, long long count, long long unit);

/// Adds a record to `table` (count below records_max): its X, its magnitude as written.
void keep_point(point_table& table, long long x, const char* digits);

/// Up to magphase_max records, leaves `table` as it is: each is a point. Past that, sorts the
/// records by X, then magnitude, and puts in their place the means of each k = ceil(count /
/// magphase_max) neighbours in that order, the last mean of what is left (1 to k): X rounded
/// half up to a multiple of `x_unit`, the magnitude to its table's decimals.
grouping group_points(point_table& table, long long x_unit);

/// Writes the magnitude of point `i` as written, or when the points are means (`g.size` not 0)
/// with the table's decimals.
void print_point_magnitude(std::FILE* f, const point_table& table, int i, const grouping& g);

/// -t: the minima (or maxima) from FROM to TO, geocentric, with their dates in UT and JST.
tally write_predictions(const options& o, std::FILE* out);

/// -a: the visual estimates of STAR by OBSCODE as an AAVSO Visual File Format file: its
/// parameters and header row before the first record, nothing when there is none; upper limits
/// written, counted in `limits`.
tally write_aavso(input& s, const options& o, std::FILE* out);

}  // namespace magprep
