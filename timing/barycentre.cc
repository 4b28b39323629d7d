// The heliocentric and barycentric corrections of a Julian Date and their inverses.
#include "timing/barycentre.h"

#include <cmath>

#include "timing/sun.h"
#include "timing/units.h"

namespace timing {

static constexpr long long j2000 = 2451545 * units_per_day;

// A correction in days, rounded half up to a whole microday, in units.
static long long whole_microdays(double days) {
  const double microdays = std::floor(days * 1e6 + 0.5);
  return static_cast<long long>(microdays) * units_per_microday;
}

// ---- forward ----

// The light time for an AU, 0.0057755183 day (499.00478 s: tau_A of the IAU 2009 System of
// Astronomical Constants, Luzum et al. 2011, Celest. Mech. Dyn. Astron. 110, 293, Table 1). The
// Earth is at -distance along the Sun's direction; light from the star reaches it earlier by the
// projection of the Earth's position on the star's direction.
long long heliocentric_correction(long long jd, const sky_position& p) {
  const double n = static_cast<double>(jd - j2000) / static_cast<double>(units_per_day);
  sun_place s{};
  sun_geocentric(n, &s);
  const double along = sun_cosine(s.longitude, p);
  const double days = -0.0057755183 * s.distance * along;
  return whole_microdays(days);
}

// The Earth's place about the barycentre is the Sun's place about it less the Sun's place seen
// from the Earth; both at TT (TDB differs by 1.7 ms, in which the Earth moves 50 m). The
// observer's place on the Earth (21 ms at most), the Earth's monthly swing about its common
// centre with the Moon (16 ms), Shapiro's delay (0.1 ms) and the Einstein delay beyond TDB - TT
// are left out.
time_status barycentric_correction(long long jd_utc, const sky_position& p, long long* correction) {
  double tt_utc = 0;
  const time_status status = tt_minus_utc(jd_utc, &tt_utc);
  if (status == time_status::out_of_range) return status;
  const long long jd_tt =
      jd_utc + std::llround(tt_utc / 86400.0 * static_cast<double>(units_per_day));
  const double days = static_cast<double>(jd_tt - j2000) / static_cast<double>(units_per_day);
  sun_place s{};
  sun_geocentric(days, &s);
  position_au b{};
  sun_barycentric(days, &b);
  const double cos_dec = std::cos(p.dec);
  const double sun_along_star =
      b.x * cos_dec * std::cos(p.ra) + b.y * cos_dec * std::sin(p.ra) + b.z * std::sin(p.dec);
  const double earth_along_star = -s.distance * sun_cosine(s.longitude, p) + sun_along_star;
  const double seconds = tt_utc + tdb_minus_tt(jd_tt) + 499.00478384 * earth_along_star;
  *correction = whole_microdays(seconds / 86400.0);
  return status;
}

// ---- back ----

// The correction changes by at most 1e-4 s a second (the Earth's speed over c), so taking the
// correction at the last guess gives the JD to 0.06 s after one step and to a microday after
// two; then the guesses may only alternate between two JDs a microday apart, where the rounded
// correction steps. A leap second leaves one second of BJD with no JD_UTC: the guesses then
// alternate a second apart on either side of the 0 h UTC that ends it, which is the answer.
time_status utc_of_barycentric(long long bjd, const sky_position& p, long long* jd_utc) {
  if (bjd < first_jd || bjd >= end_jd) return time_status::out_of_range;
  long long guess = bjd;
  long long previous = bjd;
  for (int step = 0; step < 6; ++step) {
    long long correction = 0;
    if (barycentric_correction(guess, p, &correction) == time_status::out_of_range)
      return time_status::out_of_range;
    previous = guess;
    guess = bjd - correction;
  }
  const long long apart = guess > previous ? guess - previous : previous - guess;
  if (apart > units_per_microday) {
    const long long later = guess > previous ? guess : previous;
    *jd_utc = later - (later - units_per_day / 2) % units_per_day;
    return time_status::in_step;
  }
  double tt_utc = 0;
  const time_status status = tt_minus_utc(guess, &tt_utc);
  if (status == time_status::out_of_range) return status;
  *jd_utc = guess;
  return status;
}

bool utc_of_heliocentric(long long hjd, const sky_position& p, long long* jd) {
  if (hjd < 0 || hjd > last_helio_jd) return false;
  long long guess = hjd;
  for (int step = 0; step < 4; ++step) guess = hjd - heliocentric_correction(guess, p);
  *jd = guess;
  return true;
}

}  // namespace timing
