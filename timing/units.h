// The unit of time of the timing library: the same exact fraction of a day as magprep's.
#pragma once

namespace timing {

/// Units of time in a day (1/9e9 day each), as magprep counts its Julian Dates: a VSOLJ minute, a
/// millionth and a billionth of a day are all whole; a whole second is not (104166.67 units).
constexpr long long units_per_day = 9000000000LL;

/// The Julian Date of 1970-01-01 0 h UT, day 0 of the calendar's day numbers: 2440587.5, in
/// units. A Julian Date of the year 9999 (5.4e16 units) leaves room in 64 bits.
constexpr long long julian_date_of_day_0 = 2440587 * units_per_day + units_per_day / 2;

/// A millionth of a day in units: the grain of every correction that sin and cos take part in.
constexpr long long units_per_microday = units_per_day / 1000000;

/// floor(a / b) for b > 0.
constexpr long long floor_div(long long a, long long b) { return a / b - (a % b < 0 ? 1 : 0); }

}  // namespace timing
