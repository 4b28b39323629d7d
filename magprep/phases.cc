// -s: a phase list with its phases shifted, for magphase.
#include "modes.h"

namespace magprep {

// A phase list is read line by line: a line whose first words are a phase and a magnitude (or
// a limit mark standing alone and a magnitude) is a record, and the rest of it is passed over.
tally write_phases(input& s, const options& o, std::FILE* out) {
  constexpr long long one = 1000000000LL;
  tally t{};
  window win{};
  for (;;) {
    fill(win, s, 3);
    if (win.have == 0) break;
    long long phase = 0;
    magnitude m;
    const bool alone = is_limit_mark(word_at(win, 1)) && !starts_line(win, 2);
    const int mag_at = alone ? 2 : 1;
    const bool is_record = starts_line(win, 0) && !starts_line(win, 1) &&
                           read_phase(word_at(win, 0), &phase) &&
                           read_magnitude(word_at(win, mag_at), &m) && !(alone && m.limit);
    if (!is_record) {
      drop(win, 1);
      continue;
    }
    drop(win, mag_at + 1);
    if (m.limit || alone) {
      ++t.limits;
      continue;
    }
    ++t.records;
    if (m.uncertain) ++t.uncertain;
    // In billionths, then rounded half up to four decimals; 1 is the same phase as 0.
    const long long shifted = ((phase + o.shift) % one + one) % one;
    const long long ten_thousandths = (shifted / 50000 + 1) / 2 % 10000;
    std::fprintf(out, "0.%04lld %s\n", ten_thousandths, m.digits);
  }
  return t;
}

}  // namespace magprep
