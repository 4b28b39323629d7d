// The time scales between a clock's UTC and the barycentre's TDB: leap seconds, TT - UTC (with
// what came before leap seconds) and TDB - TT.
#pragma once

namespace timing {

/// What a value of TT - UTC rests on; the command turns every status but `known` into a warning
/// (and `out_of_range` into a refusal).
enum class time_status {
  known,         ///< the leap-second table, from 1972 up to the last Bulletin C it holds
  before_1972,   ///< 1961-1971: UTC's drifting offsets; 1900-1960: Universal Time through Delta T
  past_table,    ///< after the table's reach: its last offset, blind to any leap second since
  out_of_range,  ///< before 1900 or from 2100 on: nothing is given
  in_step,       ///< (inverses only) an instant inside a leap second, which no JD_UTC names
};

/// JD 1900-01-01 0 h, the first day any time scale here reaches, in units.
constexpr long long first_jd = 24150205LL * 900000000LL;

/// JD 2100-01-01 0 h, the first day past the reach of every time scale here, in units.
constexpr long long end_jd = 24880695LL * 900000000LL;

/// TAI - UTC in whole seconds at the Julian Date `jd_utc` (units, UTC): `known` from 1972-01-01
/// up to the table's reach; `past_table` after it, with the last entry's value; `before_1972`
/// before, where UTC was not a whole number of seconds from TAI and `*seconds` is not written.
time_status leap_seconds(long long jd_utc, int* seconds);

/// TT - UTC in seconds at the Julian Date `jd_utc` (units, UTC), from 1900-01-01 to the end of
/// 2099; before 1961 the time given is taken as Universal Time, and the value is Delta T.
/// `out_of_range` outside those years, where `*seconds` is not written.
time_status tt_minus_utc(long long jd_utc, double* seconds);

/// TDB - TT in seconds at the Julian Date `jd_tt` (units, TT), at the geocentre: within 1.7 ms
/// always, good to a few microseconds from 1600 to 2200.
double tdb_minus_tt(long long jd_tt);

}  // namespace timing
