// Recognising the records of one star in a posted observation report, and phase records.
#include "record.h"

#include <cstring>

namespace magprep {

// ---- words ----

static bool is_digit(char c) { return c >= '0' && c <= '9'; }
static bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
static char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The value of `n` digits starting at `p`, which the caller has checked.
static int digits_value(const char* p, int n) {
  int v = 0;
  for (int i = 0; i < n; ++i) v = v * 10 + (p[i] - '0');
  return v;
}

bool read_time(const char* word, obs_time* t) {
  const int len = static_cast<int>(std::strlen(word));
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
    *t = {layout::vsolj, day, hour * 60LL + minute, 1440};
    return true;
  }
  // VSNET: YYYYMMDD.ddd or YYMMDD.ddd, at least one fraction digit.
  const int fraction_len = len - date_len - 1;
  if (fraction_len < 1) return false;
  bool date_ok = false;
  if (date_len == 8)
    date_ok = day_number(digits_value(word, 4), digits_value(word + 4, 2),
                         digits_value(word + 6, 2), &day);
  else if (date_len == 6)
    date_ok = day_number(1900 + digits_value(word, 2), digits_value(word + 2, 2),
                         digits_value(word + 4, 2), &day);
  if (!date_ok) return false;
  long long millionths = 0;
  for (int i = 0; i < 6; ++i)
    millionths = millionths * 10 + (i < fraction_len ? point[1 + i] - '0' : 0);
  *t = {layout::vsnet, day, millionths, 1000000};
  return true;
}

bool read_magnitude(const char* word, magnitude* m) {
  const char* p = word;
  const bool limit = *p == '<' || *p == '[' || *p == '>';
  if (limit) ++p;
  int n = 0;
  int digits = 0;
  int points = 0;
  magnitude got{};
  for (; is_digit(*p) || *p == '.'; ++p) {
    if (*p == '.') {
      if (++points > 1) return false;
    } else {
      ++digits;
    }
    got.digits[n++] = *p;  // a word holds at most 29 characters
  }
  if (digits == 0) return false;
  got.digits[n] = '\0';
  got.limit = limit;
  for (; *p != '\0'; ++p) {
    if (*p == ':' || *p == '?')
      got.uncertain = true;
    else if (!is_letter(*p))
      return false;
  }
  *m = got;
  return true;
}

// The star's designation, letter case ignored.
static bool same_star(const char* star, const char* word) {
  for (; *star != '\0' && *word != '\0'; ++star, ++word)
    if (lower(*star) != lower(*word)) return false;
  return *star == *word;
}

bool read_record(const char* star, const char* const words[4], record* r) {
  record got;
  if (!same_star(star, words[0]) || !read_time(words[1], &got.time) ||
      !read_magnitude(words[2], &got.mag) || words[3][0] == '\0')
    return false;
  *r = got;
  return true;
}

// ---- phases ----

// Digits with at most one point and at most nine decimals, at most nine digits before the
// point, at least one digit: the value in billionths.
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
      if (++decimals > 9) return false;
      fraction = fraction * 10 + (*p - '0');
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

}  // namespace magprep
