// Julian Dates of observation times, the heliocentric correction and the phase of a time on an
// ephemeris, in exact integers of a fixed unit of a day.
#pragma once

#include "record.h"
#include "timing/barycentre.h"
#include "timing/sky_position.h"

namespace magprep {

/// Units of time in a day. A VSOLJ minute (6,250,000 units), a VSNET millionth of a day (9000)
/// and a billionth of a day (9) are all whole, and a Julian Date of the year 9999 (5.4e16 units)
/// leaves room in 64 bits for a remainder below 10^5 days times 10^4.
constexpr long long units_per_day = 9000000000LL;

/// The Julian Date of 1970-01-01 0 h UT, day 0 of the day numbers: 2440587.5, in units.
constexpr long long julian_date_of_day_0 = 2440587 * units_per_day + units_per_day / 2;

/// Longest period that -p takes, in days (exclusive).
constexpr long long period_days_max = 100000;

/// The Julian Date of an observation time, in units: VSNET times are UT, VSOLJ times Japan
/// Standard Time (UT + 9 h; hours past 24 are the next morning).
long long julian_date(const obs_time& t);

/// How a number of days on the command line was read.
enum class days_read { ok, not_days, too_many_decimals, too_large };

/// Days as a decimal ("2460650.1234", "0.0712345", ".5", "000001"): digits with at most one
/// point, at least one digit; at most nine decimals count, and any past them must be zeros
/// (too_many_decimals otherwise); below 10^whole_digits (too_large otherwise, whole_digits at
/// most 9), leading zeros aside. `units` is written only when ok.
days_read read_days(const char* text, int whole_digits, long long* units);

/// A position on the sky, J2000, in radians: the timing library's.
using sky_position = timing::sky_position;

/// How a position on the command line was read.
enum class position_read { ok, bad, ra_without_unit };

/// "RA,DEC". RA in hours with colons ("05:59:31.7", "05:59.5"), in decimal hours with an h
/// ("5.9921h") or in decimal degrees with a d ("89.88d"), below 24 h; a number without a colon
/// or a unit is ra_without_unit, as it may be either. DEC in degrees, with colons or decimal,
/// with an optional d after a decimal ("+37:12:45", "-37.2125", "+37.2125d"), within +-90. With
/// colons, seconds or minutes and seconds may be left out, only the last field given may have
/// decimals, and minutes and seconds are below 60. `p` is written only when ok.
position_read read_position(const char* text, sky_position* p);

/// The heliocentric correction (HJD - JD) at Julian Date `jd` (units) for a star at `p`, in
/// units: the timing library's.
using timing::heliocentric_correction;

/// The phase of time `t` for `epoch` and `period` (units, period > 0): the fractional part of
/// (t - epoch) / period, also before the epoch, cut to billionths of a cycle (0 to 999999999).
long long phase_billionths(long long t, long long epoch, long long period);

/// A phase in billionths plus `shift` billionths, modulo 1, rounded half up to four decimals; a
/// result of 1.0000 is 0.0000. In ten-thousandths, 0 to 9999. Cutting a phase to billionths
/// first gives the same result as rounding the exact phase: the ties lie on whole billionths.
int phase_ten_thousandths(long long phase, long long shift);

}  // namespace magprep
