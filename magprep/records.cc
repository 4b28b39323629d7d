// The default mode: the records of a star as magtime reads them.
#include <cstring>

#include "modes.h"
#include "reports/bands.h"

namespace magprep {

void add_band(band_tally& b, const char* band, long long n) {
  for (int i = 0; i < b.kinds; ++i)
    if (reports::same_band(b.name[i], band)) {
      b.count[i] += n;
      return;
    }
  if (b.kinds == band_kinds_max) {
    b.others += n;
    return;
  }
  std::memcpy(b.name[b.kinds], band, sizeof b.name[b.kinds]);
  b.count[b.kinds++] = n;
}

// Observer's codes are matched in any letter case, as observers write their own.
static bool same_code(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    const char x = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 'a' + 'A') : *a;
    const char y = *b >= 'a' && *b <= 'z' ? static_cast<char>(*b - 'a' + 'A') : *b;
    if (x != y) return false;
  }
  return *a == *b;
}

static bool chosen_observer(const selection& c, const char* observer) {
  for (int i = 0; i < c.observers; ++i)
    if (same_code(c.observer[i], observer)) return true;
  return c.observers == 0;
}

static bool chosen_band(const selection& c, const char* band) {
  for (int i = 0; i < c.bands; ++i)
    if (reports::same_band(c.band[i], band)) return true;
  return c.bands == 0;
}

bool count_record(tally& t, const options& o, const record& r) {
  if (!chosen_observer(o.chosen, r.observer)) {
    ++t.other_observers;
    return false;
  }
  if (!chosen_band(o.chosen, r.mag.band)) {
    ++t.other_bands;
    add_band(t.dropped_bands, r.mag.band, 1);
    return false;
  }
  if (r.mag.limit) {
    ++t.limits;
    return false;
  }
  if (r.mag.negative && !t.differential) {
    ++t.negative;
    return false;
  }
  if (!t.have_layout) {
    t.have_layout = true;
    t.kind = r.time.kind;
    t.system = r.system;
  } else if (r.time.kind != t.kind) {
    ++t.other;
    return false;
  } else if (r.system != t.system) {
    ++t.other_system;
    return false;
  }
  // The date as written: a VSOLJ night keeps its evening's date past 24 h, as magtime keeps it
  // on one axis.
  const int day = r.time.day;
  if (t.records == 0 || day < t.first_day) t.first_day = day;
  if (t.records == 0 || day > t.last_day) t.last_day = day;
  ++t.records;
  if (r.mag.uncertain) ++t.uncertain;
  add_band(t.bands, r.mag.band, 1);
  return true;
}

tally write_records(input& s, const options& o, std::FILE* out) {
  tally t{};
  window win{};
  record r;
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved))
    if (count_record(t, o, r))
      std::fprintf(out, "%s %s %s %s\n", o.star.whole, r.time.text, r.mag.digits, r.observer);
  return t;
}

}  // namespace magprep
