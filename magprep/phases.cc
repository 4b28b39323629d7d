// -s: a phase list with its phases shifted, for magphase.
#include "modes.h"

namespace magprep {

tally write_phases(input& s, const options& o, std::FILE* out) {
  constexpr long long one = 1000000000LL;
  tally t{};
  window win{};
  while (fill(win, s, 2)) {
    long long phase = 0;
    magnitude m;
    if (!read_phase(word_at(win, 0), &phase) || !read_magnitude(word_at(win, 1), &m)) {
      drop(win, 1);
      continue;
    }
    drop(win, 2);
    if (m.limit) {
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
