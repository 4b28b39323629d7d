// magprep's run: the command line, the mode chosen by it, and the one line on standard error
// made from the mode's tally.
#include "magprep.h"

#include <cerrno>
#include <cmath>
#include <cstring>

#include "command_line.h"
#include "modes.h"
#include "system.h"

namespace magprep {

static const char* plural(long long n) { return n == 1 ? "" : "s"; }

const char* time_kind(const options& o) {
  return o.position_text == nullptr ? "JD" : o.barycentric ? "BJD_TDB" : "HJD";
}

// With -B, the times for which UTC was not known from the leap seconds, and those dropped.
static void print_time_notes(std::FILE* err, const time_notes& n) {
  if (n.before_1972 > 0)
    std::fprintf(err,
                 "magprep: warning: %lld time%s before 1972, when UTC had no leap seconds: TT - "
                 "UTC from UTC's offsets of the 1960s or from Delta T before 1961\n",
                 n.before_1972, plural(n.before_1972));
  if (n.past_table > 0)
    std::fprintf(err,
                 "magprep: warning: %lld time%s past the leap seconds known to this magprep: "
                 "TT - UTC taken as after the last one, a second off for each one since\n",
                 n.past_table, plural(n.past_table));
  if (n.in_step > 0)
    std::fprintf(err, "magprep: warning: %lld time%s within a leap second, given as its end\n",
                 n.in_step, plural(n.in_step));
  if (n.out_of_range > 0)
    std::fprintf(err,
                 "magprep: %lld time%s before 1900 or after 2099 could not be made barycentric "
                 "and %s dropped\n",
                 n.out_of_range, plural(n.out_of_range), n.out_of_range == 1 ? "was" : "were");
}

static const char* layout_name(layout k) { return k == layout::vsolj ? "VSOLJ" : "VSNET"; }

// The kind of the times of the records: HJD when they were given so (AAVSO files), otherwise
// as the options make them.
static const char* records_kind(const options& o, const tally& t) {
  return t.have_layout && t.system == time_system::hjd ? "HJD" : time_kind(o);
}

// ---- the line on standard error ----

static int phase_summary(std::FILE* err, const options& o, const tally& t) {
  if (t.records == 0) {
    if (t.limits > 0)
      std::fprintf(err, "magprep: only %lld upper limit%s, nothing to write\n", t.limits,
                   plural(t.limits));
    else
      std::fputs("magprep: no phase record found\n", err);
    return 1;
  }
  std::fprintf(err,
               "magprep: %lld phase record%s, %lld upper limit%s dropped, %lld uncertain kept; "
               "phases shifted by %s\n",
               t.records, plural(t.records), t.limits, plural(t.limits), t.uncertain, o.shift_text);
  if (t.records > magphase_max)
    std::fprintf(err, "magprep: warning: magphase draws the first %d points of a file, not %lld\n",
                 magphase_max, t.records);
  return 0;
}

// The bands of `b` with their records, "Vis. 120, V 45", those with none left out.
static void print_bands(std::FILE* err, const band_tally& b) {
  const char* comma = "";
  for (int i = 0; i < b.kinds; ++i) {
    if (b.count[i] == 0) continue;
    std::fprintf(err, "%s%s %lld", comma, b.name[i], b.count[i]);
    comma = ", ";
  }
  if (b.others > 0) std::fprintf(err, "%sother bands %lld", comma, b.others);
}

// Bands of `b` that hold records.
static int band_kinds(const band_tally& b) {
  int n = b.others > 0 ? 1 : 0;
  for (int i = 0; i < b.kinds; ++i)
    if (b.count[i] != 0) ++n;
  return n;
}

// What was passed over that a reader may look for: records of observers and bands that -w
// and -b leave out, records without an observer's code, and words naming the star that start
// no record.
static void print_passed(std::FILE* err, const options& o, const tally& t) {
  if (o.observers_text != nullptr)
    std::fprintf(err, ", %lld by other observers than %s dropped", t.other_observers,
                 o.observers_text);
  if (o.bands_text != nullptr) {
    std::fprintf(err, ", %lld in other bands than %s dropped", t.other_bands, o.bands_text);
    if (t.other_bands > 0) {
      std::fputs(" (", err);
      print_bands(err, t.dropped_bands);
      std::fputc(')', err);
    }
  }
  if (t.unobserved > 0)
    std::fprintf(err, ", %lld record%s without an observer's code dropped", t.unobserved,
                 plural(t.unobserved));
  if (t.discrepant > 0)
    std::fprintf(err, ", %lld record%s flagged discrepant dropped", t.discrepant,
                 plural(t.discrepant));
  if (t.mentions > 0)
    std::fprintf(err, ", %lld mention%s of %s passed over", t.mentions, plural(t.mentions),
                 o.star.whole);
  if (t.long_lines > 0)
    std::fprintf(err, ", %lld line%s of AAVSO files longer than %d bytes passed over", t.long_lines,
                 plural(t.long_lines), aavso_line_max);
}

// A Julian Date (units), rounded half up to millionths of a day; before JD 0 too.
static void print_julian_date(std::FILE* err, long long units) {
  const long long millionths = floor_div(units + units_per_day / 2000000, units_per_day / 1000000);
  const long long size = millionths < 0 ? -millionths : millionths;
  std::fprintf(err, "%s%lld.%06lld", millionths < 0 ? "-" : "", size / 1000000, size % 1000000);
}

// An hour since 0 h of day 0 of the day numbers on the clock of the layout, as "2026-12-07 19
// h" with " JST" after a VSOLJ hour (VSNET hours are UT, as every other time magprep gives); a
// date outside the years 1 to 9999 as the Julian Date, which every date has.
static void print_hour(std::FILE* err, long long hour, layout kind) {
  const long long day = floor_div(hour, 24);
  if (day >= first_calendar_day && day <= last_calendar_day) {
    print_date(err, static_cast<int>(day));
    std::fprintf(err, " %lld h%s", hour - day * 24, kind == layout::vsolj ? " JST" : "");
    return;
  }
  const long long ut_hour = kind == layout::vsolj ? hour - 9 : hour;
  std::fputs("JD ", err);
  print_julian_date(err, julian_date_of_day_0 + ut_hour * (units_per_day / 24));
}

// Days of a span of time (units), rounded half up to hundredths.
static void print_days(std::FILE* err, long long units) {
  const long long hundredths = (units / (units_per_day / 200) + 1) / 2;
  std::fprintf(err, "%lld.%02lld", hundredths / 100, hundredths % 100);
}

// -p: the ephemeris the phases were made with, and the kind of times.
static void fold_summary(std::FILE* err, const options& o, const tally& t) {
  const char* kind = records_kind(o, t);
  std::fprintf(err, "; folded on %s d", o.period_text);
  if (o.epoch_text != nullptr) {
    std::fprintf(err, " from %s %s", kind, o.epoch_text);
  } else {
    std::fprintf(err, ", phase 0 at the first record, %s ", kind);
    print_julian_date(err, t.epoch);
  }
  if (o.position_text != nullptr)
    std::fprintf(err, "; times made %s for %s",
                 o.barycentric ? "barycentric (TDB)" : "heliocentric", o.position_text);
  else if (t.system == time_system::hjd)
    std::fputs("; times heliocentric as given", err);
  else
    std::fputs("; times geocentric (-r makes them heliocentric)", err);
  if (o.shift_text != nullptr) std::fprintf(err, "; phases shifted by %s", o.shift_text);
}

// -p: an EPOCH too far from a record to be meant. A five-digit one is most likely a Julian Date
// written without its "24", as catalogues print them: the full one is offered when it is near.
static void far_epoch(std::FILE* err, const options& o, const tally& t) {
  std::fprintf(err, "magprep: %s: EPOCH %s is more than %lld days from the record at %s ",
               o.star.whole, o.epoch_text, epoch_reach_days,
               o.position_text != nullptr ? "HJD" : records_kind(o, t));
  print_julian_date(err, t.far_time);
  const long long reduced = 2400000 * units_per_day;
  const long long full = t.epoch + reduced;
  const long long distance = t.far_time > full ? t.far_time - full : full - t.far_time;
  if (t.epoch < epoch_reach_days * units_per_day && distance <= epoch_reach_days * units_per_day) {
    const char* point = std::strchr(o.epoch_text, '.');
    std::fprintf(err, "; as a full Julian Date: -e %lld%s", full / units_per_day,
                 point != nullptr ? point : "");
  }
  std::fputc('\n', err);
}

// Days (units) with no trailing zeros ("0.001"), rounded to billionths.
static void print_short_days(std::FILE* err, long long units) {
  const long long billionths = (2 * units / 9 + 1) / 2;
  int decimals = 9;
  for (long long v = billionths; decimals > 0 && v % 10 == 0; v /= 10) --decimals;
  print_period(err, billionths, decimals);
}

// A step of the times (units) in days, or, when it is no whole billionth of a day, in whole
// minutes (VSOLJ times).
static void print_time_step(std::FILE* err, long long units) {
  constexpr long long minute = units_per_day / 1440;
  if (units % 9 != 0 && units % minute == 0) {
    std::fprintf(err, "%lld minute%s", units / minute, plural(units / minute));
    return;
  }
  print_short_days(err, units);
  std::fputs(" d", err);
}

// The shortest trial period as given, or as raised.
static void print_min_period(std::FILE* err, const options& o, const search_plan& p) {
  if (p.raised) {
    print_short_days(err, p.min_period);
    return;
  }
  const char* comma = std::strchr(o.range_text, ',');
  std::fwrite(o.range_text, 1, static_cast<std::size_t>(comma - o.range_text), err);
}

// Writes `word` so that a POSIX shell reads it back as it is: as it stands when it holds only
// characters no shell treats specially, otherwise in single quotes, a quote in it as '\''.
static void print_shell_word(std::FILE* err, const char* word) {
  bool plain = *word != '\0';
  for (const char* c = word; *c != '\0' && plain; ++c)
    plain = std::strchr("+,-./:=@_%", *c) != nullptr || (*c >= '0' && *c <= '9') ||
            (*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z');
  if (plain) {
    std::fputs(word, err);
    return;
  }
  std::fputc('\'', err);
  for (const char* c = word; *c != '\0'; ++c) {
    if (*c == '\'')
      std::fputs("'\\''", err);
    else
      std::fputc(*c, err);
  }
  std::fputc('\'', err);
}

// The command that folds the records searched on the best period, to be pasted into a shell:
// STAR and the FILEs as given, after "--" when one starts with "-".
static void print_fold_command(std::FILE* err, const options& o, const tally& t, int argc,
                               char** argv) {
  std::fputs("magprep -p ", err);
  print_period(err, period_of(t.best), period_decimals(t.plan, t.best));
  if (o.position_text != nullptr) {
    std::fputs(o.barycentric ? " -B " : " -r ", err);
    print_shell_word(err, o.position_text);
  }
  if (o.bands_text != nullptr) {
    std::fputs(" -b ", err);
    print_shell_word(err, o.bands_text);
  }
  if (o.observers_text != nullptr) {
    std::fputs(" -w ", err);
    print_shell_word(err, o.observers_text);
  }
  bool dashed = o.star_text[0] == '-';
  for (int i = o.first_file; i < argc; ++i)
    if (argv[i][0] == '-' && argv[i][1] != '\0') dashed = true;
  if (dashed) std::fputs(" --", err);
  std::fputc(' ', err);
  print_shell_word(err, o.star_text);
  for (int i = o.first_file; i < argc; ++i) {
    std::fputc(' ', err);
    print_shell_word(err, argv[i]);
  }
}

// -f: what the search did or why it could not run, and the command that folds on the best
// period; after it, a warning when the shortest period had to be raised. Returns the exit
// status.
static int search_summary(std::FILE* err, const options& o, const tally& t, int argc, char** argv) {
  const search_plan& p = t.plan;
  const double day = static_cast<double>(units_per_day);
  const char* max_text = std::strchr(o.range_text, ',') + 1;
  const int min_len = static_cast<int>(max_text - 1 - o.range_text);
  switch (t.planned) {
    case plan_status::too_few_records:
      std::fprintf(err, "; a period search needs at least %d\n", search_min);
      return 1;
    case plan_status::no_variation:
      std::fputs("; the magnitudes do not vary, so there is no period to find\n", err);
      return 1;
    case plan_status::span_too_short:
      std::fprintf(err, "; they span less than the longest period, %s d\n", max_text);
      return 1;
    case plan_status::steps_too_coarse:
      std::fputs("; the times lie on steps of ", err);
      print_time_step(err, t.time_step);
      std::fprintf(err, ", and periods shorter than %lld steps, ", period_steps_min);
      print_time_step(err, p.min_period);
      std::fprintf(err, ", fold as longer ones do: nothing to search up to %s d\n", max_text);
      return 1;
    case plan_status::too_many_trials:
      std::fputs("; periods from ", err);
      print_min_period(err, o, p);
      std::fprintf(err, " to %s d over ", max_text);
      print_days(err, p.span);
      std::fprintf(err, " days would take %lld trials, more than %lld\n", p.trials, trials_max);
      return 1;
    case plan_status::ok: break;
  }
  std::fprintf(err, "; %s over ", records_kind(o, t));
  print_days(err, p.span);
  std::fprintf(err, " days; %lld trial periods from ", p.trials);
  print_min_period(err, o, p);
  std::fprintf(err, " to %s d, %d bins, frequency step %.3g cycles a day", max_text, p.bins,
               static_cast<double>(p.step) * day / 18446744073709551616.0);
  if (o.periodogram) {
    const double high = day / static_cast<double>(p.min_period);
    const double low = day / static_cast<double>(o.max_period);
    std::fputs("; X 0.0 is ", err);
    print_min_period(err, o, p);
    std::fprintf(
        err,
        " d and 1.0 is %s d, even in frequency: %.6g to %.6g cycles a day, %.3g per tenth; "
        "theta times 10 as the magnitude",
        max_text, high, low, (high - low) / 10);
  }
  std::fputs("; to fold on the best period: ", err);
  print_fold_command(err, o, t, argc, argv);
  std::fputc('\n', err);
  if (p.raised) {
    std::fputs("magprep: warning: the times lie on steps of ", err);
    print_time_step(err, t.time_step);
    std::fprintf(err,
                 ", and periods shorter than %lld steps fold as longer ones do: searched from ",
                 period_steps_min);
    print_short_days(err, p.min_period);
    std::fprintf(err, " d, not %.*s d\n", min_len, o.range_text);
  }
  return 0;
}

// ---- timings, O-C and predictions ----

// Why a run could not be timed.
static const char* passed_reason(const options& o, const passed_run& p) {
  switch (p.why) {
    case timing::timing_status::too_few_points:
      return p.count > timing::run_max ? "more records than a timing takes (20000)"
                                       : "too few records";
    case timing::timing_status::bad_input: return "a time or magnitude that cannot be used";
    case timing::timing_status::extremum_at_edge:
      return o.maxima ? "its brightest point at an end" : "its faintest point at an end";
    case timing::timing_status::branch_too_short:
      return o.maxima ? "too few records on one side of the maximum"
                      : "too few records on one side of the minimum";
    case timing::timing_status::no_extremum:
      return o.maxima ? "no maximum in it" : "no minimum in it";
    case timing::timing_status::ok: break;
  }
  return "";
}

// -m, -M: how the records were split and timed, then each run passed over, by its date.
static int extrema_summary(std::FILE* err, const options& o, const tally& t) {
  const extrema_tally& x = t.extrema;
  const char* what = o.maxima ? "maxima" : "minima";
  std::fprintf(err, "; %d run%s", x.runs, plural(x.runs));
  if (o.epoch_text != nullptr)
    std::fprintf(err, " around the %s of -p and -e",
                 o.maxima ? "maxima" : "minima, primary and secondary,");
  else
    std::fputs(" (records more than 0.2 d apart start a new one)", err);
  std::fprintf(err, ", %d timed, %d passed over; times %s", x.timed, x.passed, records_kind(o, t));
  if (o.maxima)
    std::fputs("; maxima by a polynomial of degree 2 to 4, errors from its fit", err);
  else
    std::fprintf(err,
                 "; minima by Kwee and van Woerden, %d error%s by their formula, %d by the revised "
                 "one where theirs fails (Deeg 2021)",
                 x.kvw, plural(x.kvw), x.revised);
  if (o.epoch_text != nullptr) std::fputs("; columns: TIME ERROR N E O-C", err);
  std::fputc('\n', err);
  for (int i = 0; i < x.listed; ++i) {
    std::fputs("magprep: the run from ", err);
    print_date_time(err, x.list[i].first_time, 0);
    std::fprintf(err, " (%d record%s) passed over: %s\n", x.list[i].count, plural(x.list[i].count),
                 passed_reason(o, x.list[i]));
  }
  if (x.passed > x.listed)
    std::fprintf(err, "magprep: and %d more runs passed over\n", x.passed - x.listed);
  if (x.not_looked_at > 0)
    std::fprintf(err, "magprep: %d runs past the first 10000 not looked at\n", x.not_looked_at);
  if (x.timed == 0) {
    std::fprintf(err, "magprep: no %s could be timed\n", what);
    return 1;
  }
  return 0;
}

// A value in units with its standard error in days, as catalogues print elements: the error's
// two leading digits in brackets, in units of the value's last decimal ("2452207.68412(21)").
static void print_with_error(std::FILE* err, long long value, double error) {
  int decimals = 0;
  double scaled = error;
  while (decimals < 9 && scaled < 9.5) {
    scaled *= 10;
    ++decimals;
  }
  print_signed_days(err, value, decimals);
  std::fprintf(err, "(%.0f)", scaled);
}

// A unit of 1, 2 or 5 times a power of ten of a day, without the zeros after its digit.
static void print_unit(std::FILE* err, long long unit) {
  int decimals = 0;
  long long whole = unit;
  while (whole % units_per_day != 0 && decimals < 9) {
    whole *= 10;
    ++decimals;
  }
  print_signed_days(err, unit, decimals);
}

static long long to_units(double days) {
  return static_cast<long long>(std::floor(days * static_cast<double>(units_per_day) + 0.5));
}

static const char* event_name(const options& o) { return o.maxima ? "Max" : "Min I"; }

// The elements refined by the fit, "Min I = HJD 2452207.68412(21) + 2.86732814(34) E".
static void print_elements(std::FILE* err, const options& o, const char* system,
                           const timing::elements_fit& f) {
  std::fprintf(err, "magprep: %s = %s ", event_name(o), system);
  print_with_error(err, o.epoch + to_units(f.d_epoch), f.d_epoch_error);
  std::fputs(" + ", err);
  print_with_error(err, o.period + to_units(f.d_period), f.d_period_error);
  std::fputs(" E", err);
}

static int oc_summary(std::FILE* err, const options& o, const tally& t) {
  const oc_tally& c = t.oc;
  const char* system = c.system != nullptr ? c.system : "JD";
  if (t.records == 0) {
    std::fputs("magprep: no timing found", err);
  } else {
    std::fprintf(err, "magprep: %lld timing%s, E ", t.records, plural(t.records));
    print_cycle(err, c.first_cycle);
    std::fputs(" to ", err);
    print_cycle(err, c.last_cycle);
    std::fprintf(err, ", times %s", system);
  }
  if (c.not_julian > 0)
    std::fprintf(err,
                 "; %lld line%s whose time is no Julian Date passed over (a list of reduced "
                 "dates says HJD-2400000 on a line before them)",
                 c.not_julian, plural(c.not_julian));
  if (c.over > 0) std::fprintf(err, "; %lld past the first %d dropped", c.over, timings_max);
  if (c.far > 0) std::fprintf(err, "; %lld more than 10^12 cycles from the epoch dropped", c.far);
  if (o.bands_text != nullptr)
    std::fprintf(err, "; %lld of other bands or methods than %s dropped", c.other_kinds,
                 o.bands_text);
  if (t.records > 0 && o.periodogram) {
    std::fputs("; X 0.0 is E ", err);
    print_cycle(err, c.start);
    std::fputs(" and 1.0 is E ", err);
    print_cycle(err, c.start + 10 * c.tenth);
    std::fputs(", ", err);
    print_cycle(err, c.tenth);
    std::fputs(" cycles per tenth; the magnitude is 10 minus O-C in units of ", err);
    print_unit(err, c.unit);
    std::fputs(" d, so that a later timing stands higher", err);
  }
  std::fputc('\n', err);
  if (t.records == 0) return 1;
  if (!c.linear) {
    std::fputs("magprep: refined elements need at least 3 timings on 2 different cycles\n", err);
    return 0;
  }
  print_elements(err, o, system, c.fit);
  std::fputs("; rms of the residuals ", err);
  print_signed_days(err, to_units(c.fit.rms), 6);
  if (c.weighted)
    std::fprintf(err, " d, chi-square %.1f for %d degrees of freedom\n", c.fit.chi2, c.fit.dof);
  else
    std::fputs(" d; every timing weighs alike, as not every one has an error\n", err);
  if (c.quadratic) {
    const timing::elements_fit& q = c.fit2;
    const double sigmas = q.q_error > 0 ? std::fabs(q.q) / q.q_error : 0;
    std::fprintf(err,
                 "magprep: with a quadratic term: Q = %.3e +- %.2e d, the period changing by "
                 "2Q = %.3e d a cycle, %s (%.1f standard errors)\n",
                 q.q, q.q_error, 2 * q.q, sigmas >= 3 ? "significant" : "not significant", sigmas);
  }
  return 0;
}

static int predictions_summary(std::FILE* err, const options& o, const tally& t) {
  const bool one = t.records == 1;
  const char* what =
      o.maxima        ? (one ? "maximum" : "maxima")
      : o.secondaries ? (one ? "minimum, primary or secondary," : "minima, primary and secondary,")
                      : (one ? "minimum" : "minima");
  if (t.over > 0) {
    std::fprintf(err, "magprep: -t %s would give more than %d lines: give a shorter span\n",
                 o.times_text, predictions_max);
    return 1;
  }
  if (t.records == 0) {
    std::fprintf(err, "magprep: no %s from %s\n", o.maxima ? "maximum" : "minimum", o.times_text);
    return 1;
  }
  const char* comma = std::strchr(o.times_text, ',');
  std::fprintf(err, "magprep: %lld %s from %.*s to %s of %s = %s %s + %s E", t.records, what,
               static_cast<int>(comma - o.times_text), o.times_text, comma + 1, event_name(o),
               time_kind(o), o.epoch_text, o.period_text);
  if (o.position_text != nullptr)
    std::fprintf(err, ", seen from the Earth for %s", o.position_text);
  std::fputs("; columns: JD (UT), date and time UT, date and time JST, E\n", err);
  return 0;
}

// -n, -p: the points written as means of neighbours, when there were more records than
// magphase draws.
static void print_grouping(std::FILE* err, const grouping& g) {
  if (g.size == 0) return;
  std::fprintf(err,
               "magprep: more records than the %d points magphase draws: written as %d means of "
               "%d neighbours in X",
               magphase_max, g.points, g.size);
  if (g.last < g.size) std::fprintf(err, ", the last of %d", g.last);
  std::fputs("; X and magnitudes rounded half up\n", err);
}

// After the records of a star: what was kept and dropped, then what the reader of the output
// needs to know (magtime's layout answer, the -n scale, the ephemeris, the search). Returns the
// exit status.
static int star_summary(std::FILE* err, const options& o, const tally& t, int argc, char** argv) {
  if (t.times.hjd_given > 0) {
    std::fprintf(err,
                 "magprep: %s: the times are given as HJD, already heliocentric: -%c takes times "
                 "as observed (JD); run without it\n",
                 o.star.whole, o.barycentric ? 'B' : 'r');
    return 1;
  }
  if (t.far) {
    far_epoch(err, o, t);
    return 1;
  }
  if (t.records == 0) {
    if (t.limits > 0)
      std::fprintf(err, "magprep: %s: only %lld upper limit%s, nothing to write", o.star.whole,
                   t.limits, plural(t.limits));
    else
      std::fprintf(err, "magprep: no record of %s found", o.star.whole);
    print_passed(err, o, t);
    std::fputc('\n', err);
    return 1;
  }
  std::fprintf(err, "magprep: %s: %lld record%s, %lld upper limit%s dropped, %lld uncertain kept",
               o.star.whole, t.records, plural(t.records), t.limits, plural(t.limits), t.uncertain);
  if (t.over > 0) std::fprintf(err, ", %lld past the first %d dropped", t.over, records_max);
  print_passed(err, o, t);
  const bool both = t.other > 0 || t.other_system > 0;
  if (t.other > 0)
    std::fprintf(err, "; records in both layouts: the %lld in %s dropped", t.other,
                 layout_name(t.kind == layout::vsolj ? layout::vsnet : layout::vsolj));
  if (t.other_system > 0)
    std::fprintf(err, "; times in both JD and HJD: the %lld in %s dropped", t.other_system,
                 t.system == time_system::hjd ? "JD" : "HJD");
  if (both) {
    if (o.what != mode::fold && o.what != mode::search && o.what != mode::extrema) {
      std::fputc('\n', err);
      return 1;
    }
  }
  if (o.what == mode::fold) {
    fold_summary(err, o, t);
    std::fputc('\n', err);
    print_grouping(err, t.groups);
    return both ? 1 : 0;
  }
  if (o.what == mode::extrema) {
    const int status = extrema_summary(err, o, t);
    return both ? 1 : status;
  }
  if (o.what == mode::search) {
    const int status = search_summary(err, o, t, argc, argv);
    return both ? 1 : status;
  }
  if (o.what == mode::nights) {
    const long long tenth = t.scale.tenth_hours;
    std::fputs("; X 0.0 is ", err);
    print_hour(err, t.scale.start_hour, t.kind);
    std::fputs(" and 1.0 is ", err);
    print_hour(err, t.scale.end_hour, t.kind);
    if (tenth < 24)
      std::fprintf(err, ", %lld hour%s per tenth\n", tenth, plural(tenth));
    else
      std::fprintf(err, ", %lld day%s per tenth\n", tenth / 24, plural(tenth / 24));
    print_grouping(err, t.groups);
    return 0;
  }
  std::fprintf(err, "; %s: answer %d to the layout question", layout_name(t.kind),
               t.kind == layout::vsolj ? 1 : 0);
  if (t.last_day > t.first_day) {
    std::fputs("; dates ", err);
    print_date(err, t.first_day);
    std::fputs(" to ", err);
    print_date(err, t.last_day);
    std::fputs(": -n draws them as one curve", err);
  }
  std::fputc('\n', err);
  if (t.records > magtime_max)
    std::fprintf(err, "magprep: warning: magtime draws the first %d records of a file, not %lld\n",
                 magtime_max, t.records);
  return 0;
}

// Records of more than one band: how many of each, and that -b chooses one, unless it chose
// them. Periods and timings of a curve whose points come from different bands are wrong, so
// there it is a warning, whatever chose them.
static void band_note(std::FILE* err, const options& o, const tally& t) {
  const int kinds = band_kinds(t.bands);
  if (t.records == 0 || kinds < 2) return;
  const bool timed = o.what == mode::search || o.what == mode::extrema;
  if (!timed && o.bands_text != nullptr) return;  // the bands chosen
  std::fprintf(err, "magprep: %s%s: records in %d bands, ", timed ? "warning: " : "", o.star.whole,
               kinds);
  print_bands(err, t.bands);
  std::fprintf(err, "%s; -b BAND chooses one\n",
               timed ? ": periods and timings from mixed bands are wrong" : "");
}

// Timings of more than one band or method: how many of each, as a warning.
static void kinds_note(std::FILE* err, const oc_tally& c) {
  const int kinds = band_kinds(c.kinds);
  if (kinds < 2) return;
  std::fprintf(err, "magprep: warning: timings of %d bands or methods, ", kinds);
  print_bands(err, c.kinds);
  std::fputs(": timings from mixed bands may differ; -b BAND chooses one\n", err);
}

// ---- -a ----

// The names of a list, "(Kmr, RTV)", "..." after them when there were more.
static void print_names(std::FILE* err, const name_list& l) {
  std::fputs(" (", err);
  for (int i = 0; i < l.count; ++i) std::fprintf(err, "%s%s", i > 0 ? ", " : "", l.names[i]);
  std::fputs(l.more ? ", ...)" : ")", err);
}

// -a: what was written for the AAVSO and what was dropped, and a warning when the star's name
// could not be written as the AAVSO writes it. Returns the exit status.
static int aavso_summary(std::FILE* err, const options& o, const tally& t) {
  const aavso_tally& a = t.aavso;
  if (t.records == 0)
    std::fprintf(err, "magprep: no visual estimate of %s by %s found", a.name, o.obscode);
  else
    std::fprintf(err,
                 "magprep: %s: %lld visual estimate%s by %s written, %lld upper limit%s and %lld "
                 "uncertain among them",
                 a.name, t.records, plural(t.records), o.obscode, t.limits, plural(t.limits),
                 t.uncertain);
  if (a.others > 0) {
    std::fprintf(err, ", %lld record%s of other observers", a.others, plural(a.others));
    print_names(err, a.observers);
    std::fputs(" dropped", err);
  }
  if (a.not_visual > 0) {
    std::fprintf(err, ", %lld record%s in other bands", a.not_visual, plural(a.not_visual));
    print_names(err, a.bands);
    std::fputs(" dropped", err);
  }
  if (a.heliocentric > 0)
    std::fprintf(err, ", %lld record%s timed in HJD dropped (the Visual format takes JD)",
                 a.heliocentric, plural(a.heliocentric));
  print_passed(err, o, t);
  if (a.vsolj > 0) std::fputs("; VSOLJ times turned from JST to UT", err);
  std::fputc('\n', err);
  if (t.records == 0) return 1;
  if (!a.name_turned)
    std::fprintf(err,
                 "magprep: warning: %s is no designation and constellation that magprep can name "
                 "as the AAVSO does (SS Cyg, CYGSS, SSCyg): written as it is in %lld record%s\n",
                 a.name, t.records, plural(t.records));
  return 0;
}

// ---- the run ----

// Everything written has reached `out` (named `name` in a message); otherwise says so.
static bool output_ok(std::FILE* out, const char* name, std::FILE* err) {
  errno = 0;
  if (std::fflush(out) == 0 && !std::ferror(out)) return true;
  std::fprintf(err, "magprep: cannot write %s%s%s\n", name, errno != 0 ? ": " : "",
               errno != 0 ? std::strerror(errno) : "");
  return false;
}

// As output_ok, and `out` closed, which on some file systems is when a write fails.
static bool close_output(std::FILE* out, const char* name, std::FILE* err) {
  const bool written = output_ok(out, name, err);
  errno = 0;
  if (std::fclose(out) == 0 || !written) return written;
  std::fprintf(err, "magprep: cannot write %s%s%s\n", name, errno != 0 ? ": " : "",
               errno != 0 ? std::strerror(errno) : "");
  return false;
}

static tally mode_tally(input& s, const options& o, std::FILE* out, workspace* w) {
  switch (o.what) {
    case mode::records: return write_records(s, o, out);
    case mode::nights: return write_nights(s, o, out, &w->points);
    case mode::phases: return write_phases(s, o, out);
    case mode::fold: return write_fold(s, o, out, &w->points);
    case mode::search: return write_search(s, o, out, &w->search);
    case mode::extrema: return write_extrema(s, o, out, &w->extrema);
    case mode::oc: return write_timings(s, o, out);
    case mode::predictions: return write_predictions(o, out);
    case mode::aavso: return write_aavso(s, o, out);
  }
  return {};
}

// The mode's tally with what the reading of AAVSO files counted.
static tally write_mode(input& s, const options& o, std::FILE* out, workspace* w) {
  tally t = mode_tally(s, o, out, w);
  t.discrepant = s.discrepant;
  t.long_lines = s.long_lines;
  return t;
}

// The line on standard error, once the data has reached the output: when it has not, that is
// said instead, as the line would count records that were never written. Returns the status.
static int summarise(const options& o, const tally& t, bool written, int argc, char** argv,
                     std::FILE* err) {
  if (!written) return 1;
  int status = 0;
  switch (o.what) {
    case mode::phases: return phase_summary(err, o, t);
    case mode::oc:
      status = oc_summary(err, o, t);
      kinds_note(err, t.oc);
      return status;
    case mode::aavso: return aavso_summary(err, o, t);
    case mode::predictions: status = predictions_summary(err, o, t); break;
    default:
      status = star_summary(err, o, t, argc, argv);
      band_note(err, o, t);
      if (t.negative > 0) {
        std::fprintf(err,
                     "magprep: %s: %lld magnitude%s below zero (differential) dropped: magtime "
                     "and magphase read no minus sign; -f, -m and -M take them\n",
                     o.star.whole, t.negative, plural(t.negative));
        status = 1;
      }
      break;
  }
  print_time_notes(err, t.times);
  return status;
}

// Names on standard error (the context) a file that is not read, or not to its end.
static void say_file_problem(void* context, const char* name, file_problem what, int error) {
  std::FILE* err = static_cast<std::FILE*>(context);
  switch (what) {
    case file_problem::cannot_open:
      std::fprintf(err, "magprep: cannot open %s: %s\n", name, std::strerror(error));
      break;
    case file_problem::cannot_read:
      std::fprintf(err, "magprep: cannot read %s: %s\n", name, std::strerror(error));
      break;
    case file_problem::is_output:
      std::fprintf(err, "magprep: %s is the output file: not read\n", name);
      break;
  }
}

// -o FILE. A device or a fifo is written as it is. Anything else is never written over: the
// data goes to a new part file beside FILE, which takes FILE's place only when the run succeeds
// and is removed otherwise, also when the run is interrupted. FILE is never read, nor opened
// before it is known to be no regular file.
static int run_to_file(const options& o, int argc, char** argv, std::FILE* in, std::FILE* err,
                       workspace* w) {
  output_target t;
  const output_kind kind = find_output(o.output, &t);
  if (kind == output_kind::folder || kind == output_kind::disk || kind == output_kind::no_reader ||
      kind == output_kind::failed) {
    const char* why = kind == output_kind::folder      ? "it is a folder"
                      : kind == output_kind::disk      ? "it is a disk device"
                      : kind == output_kind::no_reader ? "it is a fifo that no program reads"
                                                       : std::strerror(errno);
    std::fprintf(err, "magprep: cannot write %s: %s\n", o.output, why);
    return 1;
  }
  output_ids ids{};
  ids.file = t.id;
  char part[part_name_max];
  std::FILE* out = t.stream;
  if (kind != output_kind::in_place) {
    out = create_part(t, part, &ids.part);
    if (out == nullptr) {
      std::fprintf(err, "magprep: cannot write %s: %s\n", o.output, std::strerror(errno));
      return 1;
    }
  }
  input s;
  start_input(s, argc, argv, o.first_file, in, say_file_problem, err, &ids);
  const tally tl = write_mode(s, o, out, w);
  const bool written = close_output(out, o.output, err);
  const int status = summarise(o, tl, written, argc, argv, err);
  if (kind == output_kind::in_place) return status == 0 && !s.failed ? 0 : 1;
  if (status == 0 && !s.failed) {
    if (replace_with_part(part, t)) return 0;
    std::fprintf(err, "magprep: cannot write %s: %s\n", o.output, std::strerror(errno));
  } else if (written) {
    std::fprintf(err, "magprep: %s not written\n", o.output);
  }
  remove_part(part);
  return 1;
}

int magprep_run(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err,
                workspace* work) {
  options o;
  switch (parse_options(argc, argv, err, &o)) {
    case parsed::usage: return 2;
    case parsed::help: print_help(out); return output_ok(out, "standard output", err) ? 0 : 1;
    case parsed::version: print_version(out); return output_ok(out, "standard output", err) ? 0 : 1;
    case parsed::run: break;
  }
  if (o.output != nullptr) return run_to_file(o, argc, argv, in, err, work);
  input s;
  start_input(s, argc, argv, o.first_file, in, say_file_problem, err, nullptr);
  const tally t = write_mode(s, o, out, work);
  const bool written = output_ok(out, "standard output", err);
  const int status = summarise(o, t, written, argc, argv, err);
  return status == 0 && !s.failed ? 0 : 1;
}

}  // namespace magprep
