// Recognising the records of one star in a posted observation report, and phase records.
#include "reports/record.h"

#include <cstring>

#include "reports/bands.h"
#include "timing/units.h"

namespace reports {

// ---- characters ----

static bool is_digit(char c) { return c >= '0' && c <= '9'; }
static bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
static char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The value of `n` digits starting at `p`, which the caller has checked.
static int digits_value(const char* p, int n) {
  int v = 0;
  for (int i = 0; i < n; ++i) v = v * 10 + (p[i] - '0');
  return v;
}

static bool all_digits(const char* p, int n) {
  for (int i = 0; i < n; ++i)
    if (!is_digit(p[i])) return false;
  return n > 0;
}

// ---- the star ----

bool read_star(const char* text, star_name* s) {
  star_name got{};
  char* part[2] = {got.first, got.second};
  int words = 0;
  int total = 0;
  for (const char* p = text; *p != '\0';) {
    if (plotcore::is_white(static_cast<unsigned char>(*p))) {
      ++p;
      continue;
    }
    if (words == 2) return false;
    int n = 0;
    for (; *p != '\0' && !plotcore::is_white(static_cast<unsigned char>(*p)); ++p) {
      if (total == plotcore::word_max) return false;
      part[words][n++] = *p;
      got.whole[total++] = *p;
    }
    ++words;
  }
  if (words == 0) return false;
  *s = got;
  return true;
}

// The designation, letter case ignored.
static bool same_word(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (lower(*a) != lower(*b)) return false;
  return *a == *b;
}

int star_words(const star_name& s, const char* const w[2]) {
  const char* first = w[0];
  while (*first == '>') ++first;  // quote marks glued to the star
  if (same_word(s.whole, first)) return 1;
  if (s.second[0] != '\0' && same_word(s.first, first) && same_word(s.second, w[1])) return 2;
  return 0;
}

static bool is_alnum(char c) { return is_digit(c) || is_letter(c); }

// `word` starts with `name` (letter case ignored), and no letter or digit follows it there.
static bool starts_with_name(const char* name, const char* word) {
  for (; *name != '\0'; ++name, ++word)
    if (lower(*name) != lower(*word)) return false;
  return !is_alnum(*word);
}

bool names_star(const star_name& s, const char* const w[2]) {
  if (star_words(s, w) > 0) return true;
  const char* first = w[0];
  while (*first != '\0' && !is_alnum(*first)) ++first;
  if (starts_with_name(s.whole, first)) return true;
  return s.second[0] != '\0' && same_word(s.first, first) && starts_with_name(s.second, w[1]);
}

// ---- times ----

// Millionths of a day in the fraction digits `f` (n of them; the first six count).
static long long millionths_of(const char* f, int n) {
  long long v = 0;
  for (int i = 0; i < 6; ++i) v = v * 10 + (i < n ? f[i] - '0' : 0);
  return v;
}

// A VSNET time of the day numbered `day` with the fraction digits `f` (n of them).
static bool vsnet_time(int day, const char* f, int n, obs_time* t) {
  int y = 0, m = 0, d = 0;
  civil_date(day, &y, &m, &d);
  obs_time got{layout::vsnet, day, millionths_of(f, n), 1000000, {}};
  char* p = got.text;
  const int date[8] = {y / 1000, y / 100 % 10, y / 10 % 10, y % 10, m / 10, m % 10, d / 10, d % 10};
  for (int i = 0; i < 8; ++i) *p++ = static_cast<char>('0' + date[i]);
  *p++ = '.';
  std::memcpy(p, f, static_cast<size_t>(n));
  p[n] = '\0';
  *t = got;
  return true;
}

// A Julian Date of 2400000 to 2499999 (1858 to 2132: other seven digits are more likely a VSNET
// date with a digit missing). Day J starts at noon of the day numbered J - 2440588, so half a day
// is added to the fraction, on its first digit, and the date moves on when the sum passes a whole
// day. Every digit of the fraction is kept, so no rounding is needed.
static bool julian_date(const char* word, int fraction_len, obs_time* t) {
  char fraction[plotcore::word_max + 1];
  std::memcpy(fraction, word + 8, static_cast<size_t>(fraction_len));
  int day = digits_value(word, 7) - 2440588;
  if (fraction[0] >= '5') {
    fraction[0] = static_cast<char>(fraction[0] - 5);
    ++day;
  } else {
    fraction[0] = static_cast<char>(fraction[0] + 5);
  }
  return vsnet_time(day, fraction, fraction_len, t);
}

bool read_time(const char* word, obs_time* t) {
  const int len = static_cast<int>(std::strlen(word));
  if (len > plotcore::word_max) return false;
  // A dashed date with a fraction: YYYY-MM-DD.ddd.
  if (len >= 12 && word[4] == '-' && word[7] == '-' && word[10] == '.') {
    int day = 0;
    if (!all_digits(word, 4) || !all_digits(word + 5, 2) || !all_digits(word + 8, 2) ||
        !all_digits(word + 11, len - 11) ||
        !day_number(digits_value(word, 4), digits_value(word + 5, 2), digits_value(word + 8, 2),
                    &day))
      return false;
    return vsnet_time(day, word + 11, len - 11, t);
  }
  const char* point = std::strchr(word, '.');
  const int date_len = point != nullptr ? static_cast<int>(point - word) : len;
  for (int i = 0; i < len; ++i)
    if (!is_digit(word[i]) && word + i != point) return false;
  int day = 0;
  if (point == nullptr) {
    // VSOLJ: YYYYMMDDhhmm.
    if (len != 12) return false;
    const int hour = digits_value(word + 8, 2);
    const int minute = digits_value(word + 10, 2);
    if (hour > 47 || minute > 59 ||
        !day_number(digits_value(word, 4), digits_value(word + 4, 2), digits_value(word + 6, 2),
                    &day))
      return false;
    obs_time got{layout::vsolj, day, hour * 60LL + minute, 1440, {}};
    std::memcpy(got.text, word, 13);
    *t = got;
    return true;
  }
  // VSNET: YYYYMMDD.ddd or YYMMDD.ddd, or a Julian Date; at least one fraction digit.
  const int fraction_len = len - date_len - 1;
  if (fraction_len < 1) return false;
  bool date_ok = false;
  if (date_len == 7) return word[0] == '2' && word[1] == '4' && julian_date(word, fraction_len, t);
  if (date_len == 8)
    date_ok = day_number(digits_value(word, 4), digits_value(word + 4, 2),
                         digits_value(word + 6, 2), &day);
  else if (date_len == 6)
    date_ok = day_number(1900 + digits_value(word, 2), digits_value(word + 2, 2),
                         digits_value(word + 4, 2), &day);
  if (!date_ok) return false;
  obs_time got{layout::vsnet, day, millionths_of(point + 1, fraction_len), 1000000, {}};
  std::memcpy(got.text, word, static_cast<size_t>(len) + 1);
  *t = got;
  return true;
}

// ---- magnitudes and records ----

// Japan Standard Time is 9 hours ahead of UT.
static constexpr long long jst_minutes = 9 * 60;

long long julian_date(const obs_time& t) {
  const long long unit = timing::units_per_day / t.per_day;  // 6,250,000 a minute, 9000 a microday
  const long long part = t.kind == layout::vsolj ? t.part - jst_minutes : t.part;
  return timing::julian_date_of_day_0 + t.day * timing::units_per_day + part * unit;
}

bool is_limit_mark(const char* word) {
  return (word[0] == '<' || word[0] == '[' || word[0] == '>') && word[1] == '\0';
}

bool read_magnitude(const char* word, magnitude* m) {
  const char* p = word;
  const bool limit = *p == '<' || *p == '[' || *p == '>';
  if (limit) ++p;
  int n = 0;
  int digits = 0;
  int points = 0;
  magnitude got{};
  for (; is_digit(*p) || *p == '.' || *p == ','; ++p) {
    if (*p == '.' || *p == ',') {
      if (++points > 1) return false;
      got.digits[n++] = '.';  // a decimal comma is written as a point
    } else {
      ++digits;
      got.digits[n++] = *p;  // a word holds at most 29 characters
    }
  }
  if (digits == 0) return false;
  got.digits[n] = '\0';
  got.limit = limit;
  plotcore::word_buf letters;
  int k = 0;
  for (; *p != '\0'; ++p) {
    if (*p == ':' || *p == '?')
      got.uncertain = true;
    else if (is_letter(*p))
      letters[k++] = *p;  // fewer than the word's 29 characters
    else
      return false;
  }
  letters[k] = '\0';
  band_of_letters(letters, &got.band);
  *m = got;
  return true;
}

// The star, time and magnitude of a record at w[0] (up to five words) into `got`: the words
// they take, 0 when they are not all there.
static int record_head(const star_name& star, const char* const* w, record* got) {
  const int k = star_words(star, w);
  if (k == 0) return 0;
  if (!read_time(w[k], &got->time)) return 0;
  got->system = time_system::jd;
  int next = k + 1;
  bool alone = false;
  if (is_limit_mark(w[next])) {
    alone = true;
    ++next;
  }
  if (!read_magnitude(w[next], &got->mag) || (alone && got->mag.limit)) return 0;
  if (alone) got->mag.limit = true;
  return next + 1;
}

found read_record(const star_name& star, const char* const w[record_window],
                  const bool line_start[record_window], record* r, int* words) {
  record got;
  const int n = record_head(star, w, &got);
  if (n == 0) return found::nothing;
  // The observer's code is missing when the next word is the star starting the next line or
  // the next record: a record of at most five words ends at w[n + 4], its observer at w[n + 5],
  // within the window.
  const char* observer = w[n];
  record next;
  const int m = record_head(star, w + n, &next);
  if (observer[0] == '\0' || (line_start[n] && names_star(star, w + n)) ||
      (m > 0 && w[n + m][0] != '\0')) {
    *words = n;
    return found::no_observer;
  }
  got.observer = observer;
  *r = got;
  *words = n + 1;
  return found::record;
}

// ---- phases ----

// Digits with at most one point, at most nine digits before the point, at least one digit: the
// value in billionths, decimals past the ninth not looked at.
static bool read_decimal(const char* p, long long* billionths) {
  long long whole = 0;
  long long fraction = 0;
  int whole_digits = 0;
  int decimals = 0;
  bool point = false;
  for (; *p != '\0'; ++p) {
    if (*p == '.' && !point) {
      point = true;
    } else if (!is_digit(*p)) {
      return false;
    } else if (point) {
      if (decimals < 9) {
        ++decimals;
        fraction = fraction * 10 + (*p - '0');
      }
    } else {
      if (++whole_digits > 9) return false;
      whole = whole * 10 + (*p - '0');
    }
  }
  if (whole_digits + decimals == 0) return false;
  for (int i = decimals; i < 9; ++i) fraction *= 10;
  *billionths = whole * 1000000000LL + fraction;
  return true;
}

bool read_phase(const char* word, long long* billionths) {
  long long v = 0;
  if (!read_decimal(word, &v) || v > 1000000000LL) return false;
  *billionths = v;
  return true;
}

bool read_shift(const char* text, long long* billionths) {
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  long long v = 0;
  if (!read_decimal(text, &v)) return false;
  *billionths = negative ? -v : v;
  return true;
}

}  // namespace reports
