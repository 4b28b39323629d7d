// The default mode: the records of a star as magtime reads them.
#include "modes.h"

namespace magprep {

bool count_record(tally& t, const record& r) {
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
  return true;
}

tally write_records(input& s, const options& o, std::FILE* out) {
  tally t{};
  window win{};
  record r;
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved))
    if (count_record(t, r))
      std::fprintf(out, "%s %s %s %s\n", o.star.whole, r.time.text, r.mag.digits, r.observer);
  return t;
}

}  // namespace magprep
