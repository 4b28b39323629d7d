// Leap seconds, UTC before them, Delta T before UTC, and TDB - TT.
#include "timing/time_scales.h"

#include <cmath>

#include "timing/units.h"

namespace timing {

// Modified Julian Date 0 is JD 2400000.5.
static constexpr long long mjd_0 = 24000005LL * (units_per_day / 10);

// The Julian Date of 0 h UTC of a Modified Julian Date, in units.
static constexpr long long jd_of_mjd(long long mjd) { return mjd_0 + mjd * units_per_day; }

// TT - TAI, in seconds, by the definition of TT (IAU 1991 Resolution A4; Explanatory Supplement
// to the Astronomical Almanac, 1992, section 2.24, p. 43).
static constexpr double tt_minus_tai = 32.184;

// ---- leap seconds ----

// TAI - UTC from the first day (0 h UTC) of each step: the IERS's Bulletin C and its history
// file UTC-TAI.history (the same steps as the U.S. Naval Observatory's table tai-utc.dat).
//
// THIS TABLE NEEDS UPDATING. Its last entry is 2017-01-01 (TAI - UTC = 37 s). Bulletin C 70
// (July 2025) announced no leap second at the end of December 2025, so the table holds until
// 2026-07-01, the next date one can be introduced. When a Bulletin C announces a leap second,
// add its row (the MJD of the day after the inserted second, the new TAI - UTC); when it
// announces none, move `table_reach_mjd` to the next June 30 or December 31 plus one day.
struct leap_step {
  int mjd;
  int seconds;
};

static constexpr leap_step leap_steps[] = {
    {41317, 10},  // 1972-01-01
    {41499, 11},  // 1972-07-01
    {41683, 12},  // 1973-01-01
    {42048, 13},  // 1974-01-01
    {42413, 14},  // 1975-01-01
    {42778, 15},  // 1976-01-01
    {43144, 16},  // 1977-01-01
    {43509, 17},  // 1978-01-01
    {43874, 18},  // 1979-01-01
    {44239, 19},  // 1980-01-01
    {44786, 20},  // 1981-07-01
    {45151, 21},  // 1982-07-01
    {45516, 22},  // 1983-07-01
    {46247, 23},  // 1985-07-01
    {47161, 24},  // 1988-01-01
    {47892, 25},  // 1990-01-01
    {48257, 26},  // 1991-01-01
    {48804, 27},  // 1992-07-01
    {49169, 28},  // 1993-07-01
    {49534, 29},  // 1994-07-01
    {50083, 30},  // 1996-01-01
    {50630, 31},  // 1997-07-01
    {51179, 32},  // 1999-01-01
    {53736, 33},  // 2006-01-01
    {54832, 34},  // 2009-01-01
    {56109, 35},  // 2012-07-01
    {57204, 36},  // 2015-07-01
    {57754, 37},  // 2017-01-01
};

// 2026-07-01: the first day a leap second not in the table could change TAI - UTC.
static constexpr int table_reach_mjd = 61222;

time_status leap_seconds(long long jd_utc, int* seconds) {
  if (jd_utc < jd_of_mjd(leap_steps[0].mjd)) return time_status::before_1972;
  int value = leap_steps[0].seconds;
  for (const leap_step& s : leap_steps)
    if (jd_utc >= jd_of_mjd(s.mjd)) value = s.seconds;
  *seconds = value;
  return jd_utc < jd_of_mjd(table_reach_mjd) ? time_status::known : time_status::past_table;
}

// ---- before leap seconds ----

// UTC from 1961 to 1971 ran at a rate of its own and stepped by fractions of a second: TAI - UTC
// = offset + (MJD - base) * rate seconds, MJD in UTC, from the first day of each row on. The
// rows of the IERS's UTC-TAI.history (and the USNO's tai-utc.dat), 1961-01-01 to 1971-12-31.
struct drift_step {
  int mjd;
  double offset;
  int base;
  double rate;
};

static constexpr drift_step drift_steps[] = {
    {37300, 1.4228180, 37300, 0.0012960},  // 1961-01-01
    {37512, 1.3728180, 37300, 0.0012960},  // 1961-08-01
    {37665, 1.8458580, 37665, 0.0011232},  // 1962-01-01
    {38334, 1.9458580, 37665, 0.0011232},  // 1963-11-01
    {38395, 3.2401300, 38761, 0.0012960},  // 1964-01-01
    {38486, 3.3401300, 38761, 0.0012960},  // 1964-04-01
    {38639, 3.4401300, 38761, 0.0012960},  // 1964-09-01
    {38761, 3.5401300, 38761, 0.0012960},  // 1965-01-01
    {38820, 3.6401300, 38761, 0.0012960},  // 1965-03-01
    {38942, 3.7401300, 38761, 0.0012960},  // 1965-07-01
    {39004, 3.8401300, 38761, 0.0012960},  // 1965-09-01
    {39126, 4.3131700, 39126, 0.0025920},  // 1966-01-01
    {39887, 4.2131700, 39126, 0.0025920},  // 1968-02-01
};

// Delta T = TT - UT1 in seconds before UTC began, from the polynomials of F. Espenak and J. Meeus,
// "Five Millennium Canon of Solar Eclipses: -1999 to +3000", NASA/TP-2006-214141 (2006),
// section 2.6, "Polynomial Expressions for Delta T": 1900-1920, 1920-1941 and 1941-1961, in the
// decimal year y. They follow the measured Delta T to a fraction of a second; a clock kept to UT
// then (UT1, UT2 and GMT differ by less than 0.1 s) gives TT within about a second.
static double delta_t(double y) {
  if (y < 1920) {
    const double t = y - 1900;
    return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
  }
  if (y < 1941) {
    const double t = y - 1920;
    return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
  }
  const double t = y - 1950;
  return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
}

time_status tt_minus_utc(long long jd_utc, double* seconds) {
  if (jd_utc < first_jd || jd_utc >= end_jd) return time_status::out_of_range;
  int leap = 0;
  const time_status status = leap_seconds(jd_utc, &leap);
  if (status != time_status::before_1972) {
    *seconds = tt_minus_tai + leap;
    return status;
  }
  // Days since MJD 0, exact in a double (below 2^53 units).
  const double mjd = static_cast<double>(jd_utc - mjd_0) / static_cast<double>(units_per_day);
  if (jd_utc >= jd_of_mjd(drift_steps[0].mjd)) {
    const drift_step* row = &drift_steps[0];
    for (const drift_step& s : drift_steps)
      if (jd_utc >= jd_of_mjd(s.mjd)) row = &s;
    *seconds = tt_minus_tai + row->offset + (mjd - row->base) * row->rate;
    return time_status::before_1972;
  }
  // The decimal year, from J2000.0 (2000 January 1.5 = 2000.0 for Delta T's purposes, half a
  // day off at most) in Julian years: the polynomials do not tell a day from the next.
  const double year = 2000.0 + (mjd - 51544.5) / 365.25;
  *seconds = delta_t(year);
  return time_status::before_1972;
}

// ---- TDB - TT ----

// The largest terms of Fairhead and Bretagnon's series (1990, Astron. Astrophys. 229, 240), as
// G. H. Kaplan gives them in "The IAU Resolutions on Astronomical Reference Systems, Time Scales,
// and Earth Rotation Models", USNO Circular 179 (2005), eq. 2.6, p. 15: good to 10 microseconds
// from 1600 to 2200. T in Julian centuries of TT from J2000.0; arguments in radians.
double tdb_minus_tt(long long jd_tt) {
  // In doubles, so that no Julian Date can overflow; a unit of 4 at worst is far below a second.
  const double j2000 = 2451545.0 * static_cast<double>(units_per_day);
  const double t =
      (static_cast<double>(jd_tt) - j2000) / static_cast<double>(units_per_day) / 36525.0;
  return 0.001657 * std::sin(628.3076 * t + 6.2401) + 0.000022 * std::sin(575.3385 * t + 4.2970) +
         0.000014 * std::sin(1256.6152 * t + 6.1969) + 0.000005 * std::sin(606.9777 * t + 4.0212) +
         0.000005 * std::sin(52.9691 * t + 0.4444) + 0.000002 * std::sin(21.3299 * t + 5.5431) +
         0.000010 * t * std::sin(628.3076 * t + 4.2490);
}

}  // namespace timing
