// Days and positions as written on a command line, and the phase of a time on an ephemeris, in
// exact integers of the unit of time.
#pragma once

#include "timing/sky_position.h"
#include "timing/units.h"

namespace timing {

/// Longest period that -p takes, in days (exclusive).
constexpr long long period_days_max = 100000;

/// How a number of days on the command line was read.
enum class days_read { ok, not_days, too_many_decimals, too_large };

/// Days as a decimal ("2460650.1234", "0.0712345", ".5", "000001"): digits with at most one
/// point, at least one digit; at most nine decimals count, and any past them must be zeros
/// (too_many_decimals otherwise); below 10^whole_digits (too_large otherwise, whole_digits at
/// most 9), leading zeros aside. `units` is written only when ok.
days_read read_days(const char* text, int whole_digits, long long* units);

/// How a position on the command line was read.
enum class position_read { ok, bad, ra_without_unit };

/// "RA,DEC". RA in hours with colons ("05:59:31.7", "05:59.5"), in decimal hours with an h
/// ("5.9921h") or in decimal degrees with a d ("89.88d"), below 24 h; a number without a colon
/// or a unit is ra_without_unit, as it may be either. DEC in degrees, with colons or decimal,
/// with an optional d after a decimal ("+37:12:45", "-37.2125", "+37.2125d"), within +-90. With
/// colons, seconds or minutes and seconds may be left out, only the last field given may have
/// decimals, and minutes and seconds are below 60. `p` is written only when ok.
position_read read_position(const char* text, sky_position* p);

/// The phase of time `t` for `epoch` and `period` (units, period > 0): the fractional part of
/// (t - epoch) / period, also before the epoch, cut to billionths of a cycle (0 to 999999999).
long long phase_billionths(long long t, long long epoch, long long period);

/// A phase in billionths plus `shift` billionths, modulo 1, rounded half up to four decimals; a
/// result of 1.0000 is 0.0000. In ten-thousandths, 0 to 9999. Cutting a phase to billionths
/// first gives the same result as rounding the exact phase: the ties lie on whole billionths.
int phase_ten_thousandths(long long phase, long long shift);

}  // namespace timing
