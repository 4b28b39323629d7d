// -p: the records of a star folded on an ephemeris, as a phase list for magphase.
#include "ephemeris.h"
#include "modes.h"

namespace magprep {

long long record_time(const record& r, const options& o) {
  const long long jd = julian_date(r.time);
  return o.position_text != nullptr ? jd + heliocentric_correction(jd, o.position) : jd;
}

tally write_fold(input& s, const options& o, std::FILE* out) {
  tally t{};
  t.epoch = o.epoch;
  window win{};
  record r;
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved)) {
    if (!count_record(t, r)) continue;
    if (t.records > nights_max) {
      --t.records;
      if (r.mag.uncertain) --t.uncertain;
      ++t.over;
      continue;
    }
    const long long time = record_time(r, o);
    if (t.records == 1 && o.epoch_text == nullptr) t.epoch = time;
    const long long distance = time > t.epoch ? time - t.epoch : t.epoch - time;
    if (o.epoch_text != nullptr && distance > epoch_reach_days * units_per_day) {
      t.far = true;
      t.far_time = time;
      break;
    }
    const long long phase = phase_billionths(time, t.epoch, o.period);
    std::fprintf(out, "0.%04d %s\n", phase_ten_thousandths(phase, o.shift), r.mag.digits);
  }
  return t;
}

}  // namespace magprep
