// Heliocentric and Barycentric Julian Dates of an observation time, and back: the JD_UTC at the
// Earth of an instant given at the Sun or at the barycentre.
#pragma once

#include "timing/sky_position.h"
#include "timing/time_scales.h"

namespace timing {

/// Last Julian Date the heliocentric functions take: 9999-12-31 0 h, in units (first: JD 0).
constexpr long long last_helio_jd = 53734845LL * 900000000LL;

/// HJD - JD at the Julian Date `jd` (units, 0 to last_helio_jd) for a star at `p`, both in the
/// one time scale `jd` is in, from the Sun's low-precision place (about 1 s, 1950 to 2050);
/// rounded to a whole millionth of a day (so that the last bits of sin and cos, which differ
/// between C libraries, never show). In units. The same values as magprep's.
long long heliocentric_correction(long long jd, const sky_position& p);

/// BJD_TDB - JD_UTC at the Julian Date `jd_utc` (units, UTC) at the geocentre for a star at `p`:
/// TT - UTC, TDB - TT and the light time from the Earth to the solar system's barycentre along
/// the star's direction. Within 1 s of the standard ephemerides from 1950 to 2050 where UTC is
/// `known`; rounded to a whole millionth of a day, in units. The status is tt_minus_utc's;
/// `out_of_range` (before 1900, from 2100 on) leaves `*correction` unwritten.
time_status barycentric_correction(long long jd_utc, const sky_position& p, long long* correction);

/// The geocentric JD_UTC (units) at which an instant given as a BJD_TDB `bjd` (units) reaches
/// the Earth from a star at `p`: within a microday of the JD whose barycentric correction gives
/// `bjd`. `in_step` for an instant inside a leap second (or a step of the 1960s' UTC), given as
/// the 0 h UTC that ends it; `out_of_range` where barycentric_correction is, `*jd_utc` unwritten.
time_status utc_of_barycentric(long long bjd, const sky_position& p, long long* jd_utc);

/// The JD (units) at which an instant given as an HJD `hjd` (units, 0 to last_helio_jd, in the
/// time scale of the JD) reaches the Earth from a star at `p`, within a microday of the JD whose
/// heliocentric correction gives `hjd`. False outside that range, `*jd` unwritten.
bool utc_of_heliocentric(long long hjd, const sky_position& p, long long* jd);

}  // namespace timing
