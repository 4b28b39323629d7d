// Recognising the records of one star in a posted observation report, and the phase records
// of a posted phase list: pure functions on words, no state.
#pragma once

#include "plotcore/words.h"
#include "reports/calendar.h"

namespace reports {

/// The two layouts of a time of observation.
enum class layout { vsolj, vsnet };

/// Longest time as magtime gets it: a Julian Date of 29 characters becomes 30 in the VSNET
/// layout.
constexpr int time_text_max = 31;

/// A time of observation as exact integers: `part` parts of `per_day` after 0 h of the day
/// numbered `day` (days since 1970-01-01, earlier days negative). VSOLJ counts minutes (1440 a
/// day) and may run past a day (hours past 24); VSNET counts millionths of a day. `text` is the
/// time as magtime reads it: the word itself, or a Julian Date or a dashed date in the VSNET
/// layout with the fraction's digits as given.
struct obs_time {
  layout kind;
  int day;
  long long part;
  long long per_day;
  char text[time_text_max + 1];
};

/// A magnitude as written: its digits and point alone in `digits` (a decimal comma becomes a
/// point), whether it was an upper limit (`<`, `[` or `>` before it, glued or standing alone),
/// whether it was marked uncertain (`:` or `?` after it), whether it was below zero (a
/// differential magnitude of an AAVSO file, "-0.752"; `digits` without the sign), and its band
/// as the AAVSO names it (bands.h).
struct magnitude {
  plotcore::word_buf digits;
  bool limit;
  bool uncertain;
  bool negative;
  plotcore::word_buf band;
};

/// What a record's time counts: UT at the observer (a Julian Date, or a date and time), or a
/// heliocentric Julian Date, as AAVSO files may give it.
enum class time_system { jd, hjd };

/// One observation of the star: its time, magnitude and observer's code.
struct record {
  obs_time time;
  time_system system;
  magnitude mag;
  const char* observer;  ///< points into the words the record was read from
};

/// STAR as the user gives it: one word ("RZCas") or two ("RZ Cas"). `whole` is the words
/// written together, as the records are written.
struct star_name {
  plotcore::word_buf whole;
  plotcore::word_buf first;
  plotcore::word_buf second;  ///< empty for a one-word STAR
};

/// Reads STAR: one or two words separated by white space, of 1 to 29 characters together.
/// False for anything else.
bool read_star(const char* text, star_name* s);

/// How many of the words `w[0]`, `w[1]` name the star: 1 for the designation written as one
/// word, 2 for a two-word STAR written as two words, 0 otherwise. Letter case is ignored, and
/// quote marks (`>`) glued before the first word are passed over.
int star_words(const star_name& s, const char* const w[2]);

/// True when the words `w[0]`, `w[1]` name the star in any way a reader sees: as star_words
/// does, or with other marks around the designation ("RZCas:", "(RZ Cas)").
bool names_star(const star_name& s, const char* const w[2]);

/// A time word: VSOLJ "YYYYMMDDhhmm" (hours 0 to 47, past 24 on the next morning); VSNET
/// "YYYYMMDD.d..." or the old "YYMMDD.d..." (19YY); a Julian Date "24JJJJJ.d..." (a day starting
/// at noon, 1858 to 2132) or a dashed date "YYYY-MM-DD.d...", both taken as VSNET. At least one
/// fraction digit after a point; the first six count. False for anything else.
bool read_time(const char* word, obs_time* t);

/// The Julian Date of an observation time, in the timing library's units: VSNET times are UT,
/// VSOLJ times Japan Standard Time (UT + 9 h; hours past 24 are the next morning).
long long julian_date(const obs_time& t);

/// A magnitude word: an optional `<`, `[` or `>`, digits with at most one `.` or `,` (at least
/// one digit), then any mix of `:`, letters and `?`; the letters name its band
/// (band_of_letters). False for any other word.
bool read_magnitude(const char* word, magnitude* m);

/// True for a limit mark standing alone: `<`, `[` or `>`.
bool is_limit_mark(const char* word);

/// Words a record of a star takes at most: two for the star, the time, a limit mark standing
/// alone, the magnitude and the observer.
constexpr int record_words_max = 6;

/// Words read_record looks at: a record, and a whole record in the place of its observer.
constexpr int record_window = 2 * record_words_max - 1;

/// What starts at a word.
enum class found { nothing, record, no_observer };

/// The record of `star` that starts at `w[0]`: the star (one word or two), a time, a magnitude
/// (or a limit mark standing alone and then the magnitude) and the observer's code, the word
/// after. That word is no observer when it is empty, when it names the star and starts a line
/// (`line_start[i]`: w[i] is the first word of its line), or when a whole record of the star
/// starts at it. Words past the input's end are empty.
/// Returns found::record with `r` and `*words` (the words the record takes) written;
/// found::no_observer with only `*words` written (the words from the star to the magnitude)
/// when all of a record but its observer is there; found::nothing otherwise.
found read_record(const star_name& star, const char* const w[record_window],
                  const bool line_start[record_window], record* r, int* words);

/// A phase from 0 to 1 ("0.25", ".5", "1", "1.000") as billionths; decimals past the ninth are
/// not looked at.
bool read_phase(const char* word, long long* billionths);

/// A shift of the phase: an optional sign, digits with at most one `.`, at most nine digits
/// before the point; as billionths, decimals past the ninth not looked at.
bool read_shift(const char* text, long long* billionths);

}  // namespace reports
