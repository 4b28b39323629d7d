// Recognising the records of one star in a posted observation report, and the phase records
// of a posted phase list: pure functions on words, no state.
#pragma once

#include "calendar.h"
#include "plotcore/words.h"

namespace magprep {

/// The two layouts of a time of observation.
enum class layout { vsolj, vsnet };

/// A time of observation as exact integers: `part` parts of `per_day` after 0 h of the day
/// numbered `day` (days since 1970-01-01, earlier days negative). VSOLJ counts minutes (1440 a
/// day) and may run past a day (hours past 24); VSNET counts millionths of a day.
struct obs_time {
  layout kind;
  int day;
  long long part;
  long long per_day;
};

/// A magnitude as written: its digits and point alone in `digits`, whether it was an upper
/// limit (`<`, `[` or `>` before it) and whether it was marked uncertain (`:` or `?` after it).
struct magnitude {
  plotcore::word_buf digits;
  bool limit;
  bool uncertain;
};

/// One observation of the star: the four words' time and magnitude.
struct record {
  obs_time time;
  magnitude mag;
};

/// A time word: VSOLJ "YYYYMMDDhhmm" (hours 0 to 47, past 24 on the next morning) or VSNET
/// "YYYYMMDD.d..." or the old "YYMMDD.d..." (19YY), with one to any number of fraction digits
/// (the first six count). Every character must be a digit but the VSNET point. False otherwise.
bool read_time(const char* word, obs_time* t);

/// A magnitude word: an optional `<`, `[` or `>`, digits with at most one `.` (at least one
/// digit), then any mix of `:`, letters and `?`. False for any other word.
bool read_magnitude(const char* word, magnitude* m);

/// Four words in a row that make a record of `star`: the star's designation (letter case
/// ignored), a time, a magnitude and a non-empty observer's code. False otherwise; `r` is
/// written only when true.
bool read_record(const char* star, const char* const words[4], record* r);

/// A phase from 0 to 1 with at most nine decimals ("0.25", ".5", "1", "1.000"), as billionths.
bool read_phase(const char* word, long long* billionths);

/// A shift of the phase: an optional sign, digits with at most one `.` and at most nine
/// decimals, at most nine digits before the point; as billionths.
bool read_shift(const char* text, long long* billionths);

}  // namespace magprep
