// The hour of day of an observation, from the time field of a VSOLJ or a VSNET record.
#pragma once

namespace magtime {

/// VSOLJ "YYYYMMDDhhmm": hour from the bytes at positions 8 and 9, minute from 10 and 11, taken
/// as (code - 48) with no check that they are digits. Positions at or past the field's end count
/// as "0". The formula is formed in double and rounded once to single precision.
float vsolj_hour(const char* field);

/// VSNET "YYYYMMDD.ddd": the bytes before the first "." become "0" (the first byte always), and
/// the day fraction is read by num and multiplied by 24. A field with no "." after its first
/// byte becomes all "0" and gives 0.
float vsnet_hour(const char* field);

}  // namespace magtime
