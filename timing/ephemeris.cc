// Days and positions as written, and phases on an ephemeris.
#include "timing/ephemeris.h"

#include <cmath>

namespace timing {

// ---- numbers on the command line ----

static bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Digits with at most one point, at least one digit, ending at `end` or at the terminator: the
// value in billionths. Leading zeros are not among the `whole_digits`; decimals past the ninth
// must be zeros, as they are all that billionths leave out.
static days_read read_billionths(const char* p, const char* end, int whole_digits,
                                 long long* value) {
  long long whole = 0;
  long long fraction = 0;
  int digits = 0;  // before the point, from the first that is not 0
  int decimals = 0;
  bool any = false;
  bool point = false;
  bool large = false;
  bool fine = false;
  for (; p != end && *p != '\0'; ++p) {
    if (*p == '.' && !point) {
      point = true;
      continue;
    }
    if (!is_digit(*p)) return days_read::not_days;
    any = true;
    const int d = *p - '0';
    if (point) {
      if (++decimals <= 9)
        fraction = fraction * 10 + d;
      else if (d != 0)
        fine = true;
    } else if (whole != 0 || d != 0) {
      if (++digits > whole_digits)
        large = true;
      else
        whole = whole * 10 + d;
    }
  }
  if (!any) return days_read::not_days;
  if (large) return days_read::too_large;
  if (fine) return days_read::too_many_decimals;
  for (int i = decimals; i < 9; ++i) fraction *= 10;
  *value = whole * 1000000000LL + fraction;
  return days_read::ok;
}

days_read read_days(const char* text, int whole_digits, long long* units) {
  long long billionths = 0;
  if (whole_digits > 9) return days_read::too_large;
  const days_read r = read_billionths(text, nullptr, whole_digits, &billionths);
  if (r == days_read::ok) *units = billionths * (units_per_day / 1000000000LL);
  return r;
}

// "a", "a:b" or "a:b:c" up to `end`, only the last field with decimals, minutes and seconds
// below 60: the value in billionths of a second (of time or of arc).
static bool read_sexagesimal(const char* p, const char* end, int whole_digits, long long* value) {
  static constexpr long long scale[3] = {3600, 60, 1};
  static constexpr long long sixty = 60 * 1000000000LL;
  long long total = 0;
  for (int field = 0; field < 3; ++field) {
    const char* stop = p;
    while (stop != end && *stop != ':') ++stop;
    long long v = 0;
    // Two digits for minutes and seconds; a point only in the last field given.
    const bool last = stop == end;
    if (read_billionths(p, stop, field == 0 ? whole_digits : 2, &v) != days_read::ok ||
        (field > 0 && v >= sixty))
      return false;
    for (const char* c = p; c != stop; ++c)
      if (!last && *c == '.') return false;
    total += v * scale[field];
    if (last) {
      *value = total;
      return true;
    }
    p = stop + 1;
  }
  return false;  // a fourth field
}

static bool has_colon(const char* p, const char* end) {
  for (; p != end; ++p)
    if (*p == ':') return true;
  return false;
}

// RA from `text` to `end`, in billionths of a second of time.
static position_read read_right_ascension(const char* text, const char* end, long long* ra) {
  static constexpr long long second = 1000000000LL;
  if (text == end) return position_read::bad;
  const char unit = end[-1];
  long long v = 0;
  if (unit == 'h' || unit == 'd') {
    // Decimal hours, or degrees of 240 seconds of time each.
    if (has_colon(text, end - 1) || end - 1 == text ||
        read_billionths(text, end - 1, unit == 'h' ? 2 : 3, &v) != days_read::ok)
      return position_read::bad;
    *ra = unit == 'h' ? v * 3600 : v * 240;
  } else if (!has_colon(text, end)) {
    return read_billionths(text, end, 3, &v) == days_read::ok ? position_read::ra_without_unit
                                                              : position_read::bad;
  } else if (!read_sexagesimal(text, end, 2, ra)) {
    return position_read::bad;
  }
  return *ra < 24 * 3600 * second ? position_read::ok : position_read::bad;
}

position_read read_position(const char* text, sky_position* p) {
  static constexpr long long second = 1000000000LL;
  static constexpr double pi = 3.14159265358979323846;
  const char* comma = text;
  while (*comma != '\0' && *comma != ',') ++comma;
  if (*comma != ',') return position_read::bad;
  const char* dec_text = comma + 1;
  const bool south = *dec_text == '-';
  if (*dec_text == '-' || *dec_text == '+') ++dec_text;
  const char* dec_end = dec_text;
  while (*dec_end != '\0') ++dec_end;
  // A d may follow decimal degrees.
  if (dec_end != dec_text && dec_end[-1] == 'd' && !has_colon(dec_text, dec_end)) --dec_end;
  long long ra = 0;
  long long dec = 0;
  const position_read r = read_right_ascension(text, comma, &ra);
  if (r == position_read::bad || !read_sexagesimal(dec_text, dec_end, 2, &dec) ||
      dec > 90 * 3600 * second)
    return position_read::bad;
  if (r != position_read::ok) return r;
  // Whole billionths of a second below 2^53: exact as doubles.
  const double arcsec = pi / (180.0 * 3600.0 * static_cast<double>(second));
  p->ra = static_cast<double>(ra) * 15.0 * arcsec;
  p->dec = static_cast<double>(south ? -dec : dec) * arcsec;
  return position_read::ok;
}

// ---- phases ----

long long phase_billionths(long long t, long long epoch, long long period) {
  long long r = (t - epoch) % period;
  if (r < 0) r += period;
  // r / period to nine decimals, three at a time: r * 1000 stays below 10^5 days * 10^3.
  long long billionths = 0;
  for (int i = 0; i < 3; ++i) {
    r *= 1000;
    billionths = billionths * 1000 + r / period;
    r %= period;
  }
  return billionths;
}

int phase_ten_thousandths(long long phase, long long shift) {
  constexpr long long one = 1000000000LL;
  const long long shifted = ((phase + shift % one) % one + one) % one;
  return static_cast<int>((shifted / 50000 + 1) / 2 % 10000);
}

}  // namespace timing
