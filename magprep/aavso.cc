// -a: the visual estimates of a star by one observer as an AAVSO Visual File Format file, as
// the AAVSO's WebObs takes it.
#include <cstring>

#include "modes.h"
#include "reports/bands.h"
#include "reports/star_names.h"

#ifndef MAGPLOT_VERSION
#define MAGPLOT_VERSION "unknown"
#endif

namespace magprep {

static char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Observers' codes, letter case aside.
static bool same_code(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (upper(*a) != upper(*b)) return false;
  return *a == *b;
}

// Adds `name` to the list when it is not there yet (letter case aside).
static void note(name_list& list, const char* name) {
  for (int i = 0; i < list.count; ++i)
    if (same_code(list.names[i], name)) return;
  if (list.count == aavso_listed_max) {
    list.more = true;
    return;
  }
  std::memcpy(list.names[list.count++], name, std::strlen(name) + 1);  // a word, 29 at most
}

// The star as the file names it: the AAVSO's form, or STAR as given, its two words one space
// apart.
static void star_in_file(const options& o, aavso_tally& a) {
  plotcore::word_buf turned;
  a.name_turned = reports::aavso_star_name(o.star_text, &turned);
  if (a.name_turned) {
    std::memcpy(a.name, turned, sizeof turned);
    return;
  }
  const std::size_t n = std::strlen(o.star.first);
  std::memcpy(a.name, o.star.first, n + 1);
  if (o.star.second[0] != '\0') {
    a.name[n] = ' ';
    std::memcpy(a.name + n + 1, o.star.second, std::strlen(o.star.second) + 1);
  }
}

static void print_header(std::FILE* out, const options& o) {
  std::fprintf(out,
               "#TYPE=Visual\n#OBSCODE=%s\n#SOFTWARE=magprep (magplot) " MAGPLOT_VERSION
               "\n#DELIM=,\n#DATE=JD\n#OBSTYPE=Visual\n"
               "#NAME,DATE,MAG,COMMENTCODE,COMP1,COMP2,CHART,NOTES\n",
               o.obscode);
}

// A Julian Date (units) with four decimals, rounded half up.
static void print_jd(std::FILE* out, long long units) {
  constexpr long long step = units_per_day / 10000;
  const long long v = floor_div(units + step / 2, step);
  std::fprintf(out, "%lld.%04lld", floor_div(v, 10000), v - floor_div(v, 10000) * 10000);
}

// A magnitude with its decimal point: digits written without one are tenths when they are above
// 20, as magtime reads them (118 is 11.8), whole magnitudes otherwise (8 is 8.0); one with a
// point is kept, a 0 put where no digit stands before or after it. Leading zeros are dropped;
// "<" before an upper limit, "-" below zero.
static void print_magnitude(std::FILE* out, const magnitude& m) {
  if (m.limit) std::fputc('<', out);
  if (m.negative) std::fputc('-', out);
  const char* point = std::strchr(m.digits, '.');
  const char* whole = m.digits;
  const char* end = point != nullptr ? point : m.digits + std::strlen(m.digits);
  while (whole < end && *whole == '0') ++whole;
  const std::size_t n = static_cast<std::size_t>(end - whole);
  if (point != nullptr) {
    if (n == 0) std::fputc('0', out);
    std::fwrite(whole, 1, n, out);
    std::fprintf(out, ".%s", point[1] != '\0' ? point + 1 : "0");
    return;
  }
  const bool tenths = n > 2 || (n == 2 && (whole[0] > '2' || (whole[0] == '2' && whole[1] > '0')));
  if (tenths) {
    std::fwrite(whole, 1, n - 1, out);
    std::fprintf(out, ".%c", whole[n - 1]);
  } else if (n == 0) {
    std::fputs("0.0", out);
  } else {
    std::fwrite(whole, 1, n, out);
    std::fputs(".0", out);
  }
}

tally write_aavso(input& s, const options& o, std::FILE* out) {
  tally t{};
  aavso_tally& a = t.aavso;
  star_in_file(o, a);
  window win{};
  record r;
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved)) {
    if (!same_code(r.observer, o.obscode)) {
      ++a.others;
      note(a.observers, r.observer);
      continue;
    }
    if (!reports::same_band(r.mag.band, reports::visual_band)) {
      ++a.not_visual;
      note(a.bands, r.mag.band);
      continue;
    }
    if (r.system == reports::time_system::hjd) {
      ++a.heliocentric;  // a Visual file's dates are JD, as observed
      continue;
    }
    if (t.records == 0) print_header(out, o);
    std::fprintf(out, "%s,", a.name);
    print_jd(out, julian_date(r.time));
    std::fputc(',', out);
    print_magnitude(out, r.mag);
    std::fprintf(out, ",%s,na,na,na,na\n", r.mag.uncertain ? ":" : "na");
    ++t.records;
    if (r.mag.limit) ++t.limits;
    if (r.mag.uncertain) ++t.uncertain;
    if (r.time.kind == layout::vsolj) ++a.vsolj;
  }
  return t;
}

}  // namespace magprep
