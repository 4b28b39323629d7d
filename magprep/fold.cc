// -p: the records of a star folded on an ephemeris, as a phase list for magphase.
#include "modes.h"
#include "timing/barycentre.h"

namespace magprep {

// Counts what UTC rested on for a barycentric time; false when there is no such time.
static bool note_time(timing::time_status status, time_notes* notes) {
  switch (status) {
    case timing::time_status::known: return true;
    case timing::time_status::before_1972: ++notes->before_1972; return true;
    case timing::time_status::past_table: ++notes->past_table; return true;
    case timing::time_status::in_step: ++notes->in_step; return true;
    case timing::time_status::out_of_range: ++notes->out_of_range; return false;
  }
  return false;
}

bool record_time(const record& r, const options& o, time_notes* notes, long long* time) {
  const long long jd = julian_date(r.time);
  if (r.system == time_system::hjd && o.position_text != nullptr) {
    ++notes->hjd_given;
    return false;
  }
  if (o.position_text == nullptr) {
    *time = jd;
  } else if (!o.barycentric) {
    *time = jd + heliocentric_correction(jd, o.position);
  } else {
    long long correction = 0;
    if (!note_time(timing::barycentric_correction(jd, o.position, &correction), notes))
      return false;
    *time = jd + correction;
  }
  return true;
}

bool geocentric_time(long long t, const options& o, time_notes* notes, long long* jd) {
  if (o.position_text == nullptr) {
    *jd = t;
    return true;
  }
  const timing::sky_position& p = o.position;
  if (o.barycentric) return note_time(timing::utc_of_barycentric(t, p, jd), notes);
  if (timing::utc_of_heliocentric(t, p, jd)) return true;
  ++notes->out_of_range;
  return false;
}

bool take_timed_record(tally& t, const options& o, const record& r, bool full, long long* time) {
  if (!count_record(t, o, r)) return false;
  if (full) {
    uncount_record(t, r);
    ++t.over;
    return false;
  }
  if (record_time(r, o, &t.times, time)) return true;
  uncount_record(t, r);
  return false;
}

void uncount_record(tally& t, const record& r) {
  --t.records;
  if (r.mag.uncertain) --t.uncertain;
  add_band(t.bands, r.mag.band, -1);
}

tally write_fold(input& s, const options& o, std::FILE* out, point_table* points) {
  // X: the phase in billionths, shifted, as the phase written (modulo 1, 0 to 10^9 - 1).
  constexpr long long one = 1000000000;
  point_table& table = *points;
  table.count = 0;
  table.decimals = 0;
  tally t{};
  t.epoch = o.epoch;
  window win{};
  record r;
  while (next_record(s, win, o.star, &r, &t.mentions, &t.unobserved)) {
    long long time = 0;
    if (!take_timed_record(t, o, r, t.records == records_max, &time)) continue;
    if (t.records == 1 && o.epoch_text == nullptr) t.epoch = time;
    const long long distance = time > t.epoch ? time - t.epoch : t.epoch - time;
    if (o.epoch_text != nullptr && distance > epoch_reach_days * units_per_day) {
      t.far = true;
      t.far_time = time;
      break;
    }
    const long long phase = phase_billionths(time, t.epoch, o.period);
    keep_point(table, ((phase + o.shift % one) % one + one) % one, r.mag.digits);
  }
  // A mean phase is rounded to the ten-thousandths written, once.
  t.groups = group_points(table, one / 10000);
  for (int i = 0; i < table.count; ++i) {
    std::fprintf(out, "0.%04d ", phase_ten_thousandths(table.x[i], 0));
    print_point_magnitude(out, table, i, t.groups);
    std::fputc('\n', out);
  }
  return t;
}

}  // namespace magprep
