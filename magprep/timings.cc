// -c: a list of timings of minima or maxima against an ephemeris, as cycles and O−C or as the
// O−C diagram for magphase; the elements refined from them.
#include <cstring>

#include "modes.h"
#include "reports/bands.h"

namespace magprep {

// ---- the list ----

// Whether a header word names reduced Julian Dates ("HJD-2400000", "BJD-2400000").
static bool names_reduced(const char* w) { return std::strstr(w, "2400000") != nullptr; }

// The time system a header word names, when it names one.
static const char* names_system(const char* w) {
  static constexpr const char* systems[] = {"BJD_TDB", "BJD", "HJD", "JD"};
  for (const char* s : systems)
    if (std::strncmp(w, s, std::strlen(s)) == 0) return s;
  return nullptr;
}

// Decimals of a number as written, at most 9.
static int decimals_of(const char* w) {
  const char* point = std::strchr(w, '.');
  if (point == nullptr) return 0;
  const int n = static_cast<int>(std::strlen(point + 1));
  return n > 9 ? 9 : n;
}

// Full Julian Dates start at 1,000,000; reduced ones (JD - 2400000) of the years 1859 to 2132
// lie below 100,000.
static constexpr long long julian_min = 1000000 * units_per_day;
static constexpr long long reduced_max = 100000 * units_per_day;

// The band or method of timing that a word names ("vis", "CCD", "V"), in `kind`; false for a
// word that names none.
static bool read_kind(const char* w, plotcore::word_buf* kind) {
  static constexpr const char* methods[][2] = {
      {"ccd", "CCD"}, {"pe", "PE"}, {"pg", "PG"}, {"ptg", "PTG"}, {"dslr", "DSLR"}};
  for (const auto& m : methods)
    if (reports::same_band(w, m[0])) {
      std::memcpy(*kind, m[1], std::strlen(m[1]) + 1);
      return true;
    }
  return reports::known_band(w) && reports::band_name(w, kind);
}

static bool chosen_kind(const selection& chosen, bool known, const char* kind) {
  if (chosen.bands == 0) return true;
  for (int i = 0; known && i < chosen.bands; ++i)
    if (reports::same_band(chosen.band[i], kind)) return true;
  return false;
}

void read_timings(input& s, const selection& chosen, timing_list* list, oc_tally* t) {
  plotcore::word_buf w;
  bool line_start = false;
  bool reduced = false;
  bool have = next_word(s, w, &line_start);
  while (have) {
    long long time = 0;
    if (read_days(w, 7, &time) != days_read::ok) {
      // A header or a comment: its words may name the time system or reduced dates.
      do {
        if (names_reduced(w)) reduced = true;
        if (const char* sys = names_system(w); sys != nullptr && t->system == nullptr)
          t->system = sys;
        have = next_word(s, w, &line_start);
      } while (have && !line_start);
      continue;
    }
    const int decimals = decimals_of(w);
    long long error = 0;
    bool has_error = false;
    have = next_word(s, w, &line_start);
    if (have && !line_start && read_days(w, 5, &error) == days_read::ok && error > 0) {
      has_error = true;
      have = next_word(s, w, &line_start);
    }
    plotcore::word_buf kind = "";
    const bool known = have && !line_start && read_kind(w, &kind);
    while (have && !line_start) have = next_word(s, w, &line_start);
    if (!chosen_kind(chosen, known, kind)) {
      ++t->other_kinds;
      continue;
    }
    if (reduced && time < reduced_max) time += 2400000 * units_per_day;
    if (time < julian_min) {
      ++t->not_julian;
      continue;
    }
    if (list->count == timings_max) {
      ++t->over;
      continue;
    }
    if (known) add_band(t->kinds, kind, 1);
    const int i = list->count++;
    list->time[i] = time;
    list->error[i] = has_error ? error : 0;
    list->decimals[i] = decimals < 4 ? 4 : decimals > 6 ? 6 : decimals;
  }
}

// ---- the output ----

// Half cycles as a cycle number: "1234", "1234.5", "-0.5".
void print_cycle(std::FILE* f, long long half_cycles) {
  const long long whole = half_cycles / 2;
  if (half_cycles % 2 == 0)
    std::fprintf(f, "%lld", whole);
  else
    std::fprintf(f, "%s%lld.5", half_cycles < 0 && whole == 0 ? "-" : "", whole);
}

void print_signed_days(std::FILE* f, long long units, int decimals) {
  long long scale = units_per_day;
  long long one = 1;
  for (int i = 0; i < decimals; ++i) {
    scale /= 10;
    one *= 10;
  }
  const long long size = units < 0 ? -units : units;
  const long long v = (size + scale / 2) / scale;
  const char* sign = units < 0 && v != 0 ? "-" : "";
  if (decimals == 0)
    std::fprintf(f, "%s%lld", sign, v);
  else
    std::fprintf(f, "%s%lld.%0*lld", sign, v / one, decimals, v % one);
}

// The tenth of the diagram's axis in half cycles: 1, 2, 3 or 5 cycles times a power of ten, the
// least that takes the cycles `lo` to `hi` (half cycles) within ten tenths from a multiple of
// it.
static long long tenth_of(long long lo, long long hi) {
  static constexpr long long steps[4] = {1, 2, 3, 5};
  for (long long power = 1; power <= 1000000000000LL; power *= 10)
    for (const long long s : steps) {
      const long long tenth = 2 * s * power;
      if (hi <= floor_div(lo, tenth) * tenth + 10 * tenth) return tenth;
    }
  return 2000000000000LL;
}

// The unit of the diagram's magnitude (units of time): 1, 2 or 5 times a power of ten of a
// day, the least in which the largest O−C is at most 9, so that every value lies from 1 to 19.
static long long unit_of(long long largest) {
  static constexpr long long steps[3] = {1, 2, 5};
  for (long long unit = units_per_day / 1000000000; unit <= units_per_day * 10000; unit *= 10)
    for (const long long s : steps)
      if (largest <= 9 * s * unit) return s * unit;
  return units_per_day * 50000;
}

tally write_timings(input& s, const options& o, std::FILE* out) {
  tally t{};
  static_assert(sizeof(timing_list) < 256 * 1024, "the list must fit the stack");
  timing_list list;
  list.count = 0;
  read_timings(s, o.chosen, &list, &t.oc);
  // Each timing's cycle, kept in place of its time, and its O−C.
  long long oc[timings_max];
  int n = 0;
  for (int i = 0; i < list.count; ++i) {
    timing::cycle c;
    if (!timing::cycle_of(list.time[i], o.epoch, o.period, true, &c)) {
      ++t.oc.far;
      continue;
    }
    list.time[n] = c.half_cycles;
    list.error[n] = list.error[i];
    list.decimals[n] = list.decimals[i];
    oc[n] = c.o_minus_c;
    ++n;
  }
  t.records = n;
  if (n == 0) return t;
  long long lo = list.time[0];
  long long hi = list.time[0];
  long long largest = 0;
  bool all_errors = true;
  for (int i = 0; i < n; ++i) {
    if (list.time[i] < lo) lo = list.time[i];
    if (list.time[i] > hi) hi = list.time[i];
    const long long size = oc[i] < 0 ? -oc[i] : oc[i];
    if (size > largest) largest = size;
    if (list.error[i] == 0) all_errors = false;
  }
  t.oc.first_cycle = lo;
  t.oc.last_cycle = hi;
  if (o.periodogram) {
    const long long tenth = tenth_of(lo, hi);
    const long long start = floor_div(lo, tenth) * tenth;
    const long long unit = unit_of(largest);
    t.oc.start = start;
    t.oc.tenth = tenth;
    t.oc.unit = unit;
    for (int i = 0; i < n; ++i) {
      const long long x = ((list.time[i] - start) * 20000 / (10 * tenth) + 1) / 2;
      // A later timing (O−C above 0) stands higher: brighter, a smaller magnitude.
      const long long shift = (oc[i] * 2000 / unit + (oc[i] < 0 ? -1 : 1)) / 2;
      const long long mag = 10000 - shift;
      std::fprintf(out, "%lld.%04lld %lld.%03lld\n", x / 10000, x % 10000, mag / 1000, mag % 1000);
    }
  } else {
    for (int i = 0; i < n; ++i) {
      print_cycle(out, list.time[i]);
      std::fputc(' ', out);
      print_signed_days(out, oc[i], list.decimals[i]);
      std::fputc(' ', out);
      if (list.error[i] == 0)
        std::fputs("-", out);
      else
        print_signed_days(out, list.error[i], list.decimals[i]);
      std::fputc('\n', out);
    }
  }
  // The elements refined: O−C against E, weighted by the errors when every timing has one.
  static_assert(sizeof(timing::oc_points) < 256 * 1024, "the points must fit the stack");
  timing::oc_points p;
  p.count = n;
  p.weighted = all_errors;
  const double day = static_cast<double>(units_per_day);
  for (int i = 0; i < n; ++i) {
    p.e[i] = static_cast<double>(list.time[i]) / 2;
    p.oc[i] = static_cast<double>(oc[i]) / day;
    p.error[i] = static_cast<double>(list.error[i]) / day;
  }
  t.oc.weighted = all_errors;
  t.oc.linear = timing::fit_elements(p, 2, &t.oc.fit);
  t.oc.quadratic = n >= 4 && timing::fit_elements(p, 3, &t.oc.fit2);
  return t;
}

}  // namespace magprep
