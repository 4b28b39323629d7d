// Reading the AAVSO's files a line at a time: fields, header rows, parameters and records.
#include "reports/aavso.h"

#include <cstring>

#include "reports/bands.h"

namespace reports {

// ---- characters and texts ----

static char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
static bool is_digit(char c) { return c >= '0' && c <= '9'; }
static bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A piece of a line: bytes [begin, end), in double quotes when `quoted`.
struct span {
  int begin;
  int end;
  bool quoted;
};

// The span without the blanks around it.
static span trimmed(const char* line, span s) {
  while (s.begin < s.end && is_blank(line[s.begin])) ++s.begin;
  while (s.end > s.begin && is_blank(line[s.end - 1])) --s.end;
  return s;
}

// Whether the `len` bytes at `p` start with `word` (in lower case), letter case aside.
static bool starts_with(const char* p, int len, const char* word) {
  int i = 0;
  for (; word[i] != '\0'; ++i)
    if (i >= len || lower(p[i]) != word[i]) return false;
  return true;
}

static bool same_text(const char* p, int len, const char* word) {
  return starts_with(p, len, word) && word[len] == '\0';
}

// Whether the `len` bytes at `p` hold `word` (in lower case) anywhere, letter case aside.
static bool holds(const char* p, int len, const char* word) {
  for (int i = 0; i < len; ++i)
    if (starts_with(p + i, len - i, word)) return true;
  return false;
}

// The text of a field into `out` (at most word_max bytes): the blanks around it dropped, the
// quotes taken off ("" is one), `na` empty. False when it is longer or holds a NUL byte.
static bool field_text(const char* line, span s, plotcore::word_buf* out) {
  s = trimmed(line, s);
  int n = 0;
  for (int i = s.begin; i < s.end; ++i) {
    const char c = line[i];
    if (c == '\0' || n == plotcore::word_max) return false;
    (*out)[n++] = c;
    if (s.quoted && c == '"' && i + 1 < s.end && line[i + 1] == '"') ++i;
  }
  (*out)[n] = '\0';
  if (n == 2 && lower((*out)[0]) == 'n' && lower((*out)[1]) == 'a') (*out)[0] = '\0';
  return true;
}

// ---- fields ----

// Splits the `len` bytes at `line` at `delim` into at most `max` fields; returns how many. A
// field that starts with a double quote (after blanks) runs to its closing quote, delimiters
// within it and "" for a quote; what follows up to the delimiter is dropped. The last field runs
// to the end of the line.
static int split(const char* line, int len, char delim, span* fields, int max) {
  int n = 0;
  int p = 0;
  while (n < max) {
    int q = p;
    while (q < len && line[q] == ' ' && delim != ' ') ++q;
    span f{p, len, false};
    int end = len;
    if (q < len && line[q] == '"') {
      int i = q + 1;
      for (;;) {
        const void* found = std::memchr(line + i, '"', static_cast<size_t>(len - i));
        if (found == nullptr) {
          i = len;
          break;
        }
        i = static_cast<int>(static_cast<const char*>(found) - line);
        if (i + 1 < len && line[i + 1] == '"') {
          i += 2;
          continue;
        }
        break;
      }
      f = {q + 1, i, true};
      const int after = i < len ? i + 1 : len;
      const void* d = std::memchr(line + after, delim, static_cast<size_t>(len - after));
      end = d != nullptr ? static_cast<int>(static_cast<const char*>(d) - line) : len;
    } else {
      const void* d = std::memchr(line + p, delim, static_cast<size_t>(len - p));
      end = d != nullptr ? static_cast<int>(static_cast<const char*>(d) - line) : len;
      f.end = end;
    }
    fields[n++] = f;
    if (end >= len) break;
    p = end + 1;
  }
  return n;
}

// The fields of a space-separated line by the columns of its header row: column k from
// start[k] to the start of the next, the last to the end of the line.
static int fixed_fields(const aavso_file& f, int len, span* fields) {
  int n = 0;
  for (int k = 0; k < f.starts && f.start[k] < len; ++k) {
    const int end = k + 1 < f.starts && f.start[k + 1] < len ? f.start[k + 1] : len;
    fields[n++] = {f.start[k], end, false};
  }
  return n;
}

// ---- header rows ----

// The names of the columns read, in lower case, as a download's header row gives them.
struct column_name {
  const char* name;
  aavso_column column;
};
static constexpr column_name column_names[] = {
    {"jd", col_time},
    {"magnitude", col_mag},
    {"band", col_band},
    {"observer code", col_observer},
    {"comment code", col_comment},
    {"validation flag", col_flag},
    {"star name", col_star},
};

// Names of a header row that hold a space, so that a space-separated row can be told apart.
static constexpr const char* spaced_names[] = {
    "observer code",   "comment code",    "comp star 1",          "comp star 2",
    "star name",       "validation flag", "observer affiliation", "measurement method",
    "grouping method", "ads reference",
};

static void no_columns(aavso_file* f) {
  for (int& c : f->column) c = -1;
}

// The column a name of a header row stands for, or columns_read.
static aavso_column column_of(const char* p, int len) {
  for (const column_name& c : column_names)
    if (same_text(p, len, c.name)) return c.column;
  return columns_read;
}

// A header row after its leading blanks: the columns found by name; with a space between them,
// also where each starts, a name holding a space known as one.
static void read_header(aavso_file* f, const char* line, int len) {
  no_columns(f);
  f->fixed = f->delim == ' ';
  f->starts = 0;
  if (!f->fixed) {
    span fields[aavso_fields_max];
    const int n = split(line, len, f->delim, fields, aavso_fields_max);
    for (int k = 0; k < n; ++k) {
      const span s = trimmed(line, fields[k]);
      const aavso_column c = column_of(line + s.begin, s.end - s.begin);
      if (c != columns_read && f->column[c] < 0) f->column[c] = k;
    }
    return;
  }
  int p = 0;
  while (p < len && f->starts < aavso_fields_max) {
    while (p < len && is_blank(line[p])) ++p;
    if (p == len) break;
    int end = p;
    while (end < len && !is_blank(line[end])) ++end;
    for (const char* name : spaced_names) {
      const int n = static_cast<int>(std::strlen(name));
      if (starts_with(line + p, len - p, name) && (p + n == len || is_blank(line[p + n])))
        end = p + n;
    }
    const aavso_column c = column_of(line + p, end - p);
    if (c != columns_read && f->column[c] < 0) f->column[c] = f->starts;
    f->start[f->starts++] = p;
    p = end;
  }
}

// A header row of a download: `JD` and a delimiter first.
static bool is_header(const char* p, int len) {
  return len > 2 && lower(p[0]) == 'j' && lower(p[1]) == 'd' &&
         (p[2] == ',' || p[2] == '\t' || p[2] == ' ');
}

// The bytes of a Julian Date at `p` ("24", five more digits, decimals after a point): how many,
// 0 when there is none.
static int julian_date_length(const char* p, int len) {
  if (len < 7 || p[0] != '2' || p[1] != '4') return 0;
  for (int i = 2; i < 7; ++i)
    if (!is_digit(p[i])) return 0;
  int n = 7;
  if (n < len && p[n] == '.')
    for (++n; n < len && is_digit(p[n]);) ++n;
  return n;
}

// ---- the forms ----

static span line_span(const char* line, int len) { return trimmed(line, {0, len, false}); }

file_form form_of_line(const char* line, int len) {
  const span s = line_span(line, len);
  const char* p = line + s.begin;
  const int n = s.end - s.begin;
  if (n == 0) return file_form::undecided;
  if (p[0] == '#') {
    if (!starts_with(p, n, "#type=")) return file_form::undecided;
    const span v = trimmed(p, {6, n, false});
    if (same_text(p + v.begin, v.end - v.begin, "visual")) return file_form::visual;
    if (same_text(p + v.begin, v.end - v.begin, "extended")) return file_form::extended;
    return file_form::report;
  }
  if (is_header(p, n) && holds(p, n, "magnitude")) return file_form::download;
  const int jd = julian_date_length(p, n);
  if (jd == 0 || jd == n || (p[jd] != ',' && p[jd] != '\t' && p[jd] != ' '))
    return file_form::report;
  int i = jd + 1;
  if (p[jd] == ' ')
    while (i < n && p[i] == ' ') ++i;
  if (i < n && (p[i] == '<' || p[i] == '-')) ++i;
  return i < n && is_digit(p[i]) ? file_form::download : file_form::report;
}

// The columns of a submission format: the visual one's, or the extended one's.
static void submission_columns(aavso_file* f) {
  no_columns(f);
  f->fixed = false;
  f->column[col_star] = 0;
  f->column[col_time] = 1;
  f->column[col_mag] = 2;
  if (f->form == file_form::visual)
    f->column[col_comment] = 3;
  else
    f->column[col_band] = 4;
}

void start_aavso(aavso_file* f, file_form form, const char* line, int len) {
  *f = aavso_file{};
  f->form = form;
  f->system = time_system::jd;
  f->delim = ',';
  if (form != file_form::download) {
    submission_columns(f);
    return;
  }
  const span s = line_span(line, len);
  const char* p = line + s.begin;
  const int n = s.end - s.begin;
  if (is_header(p, n)) {
    f->delim = p[2];
    read_header(f, p, n);
    return;
  }
  // No header row: the download's columns in their order.
  const int jd = julian_date_length(p, n);
  f->delim = jd > 0 && jd < n ? p[jd] : ',';
  no_columns(f);
  f->column[col_time] = 0;
  f->column[col_mag] = 1;
  f->column[col_band] = 4;
  f->column[col_observer] = 5;
  f->column[col_comment] = 6;
  f->column[col_flag] = 13;
  f->column[col_star] = 17;
}

// ---- parameters ----

// #DELIM=: a character, its ASCII code (one to three digits), or the words comma and tab. Anything
// else (a line end, a quote, `#`) leaves the delimiter as it was.
static void read_delim(aavso_file* f, const char* v, int n) {
  char c = 0;
  if (same_text(v, n, "comma")) {
    c = ',';
  } else if (same_text(v, n, "tab")) {
    c = '\t';
  } else if (n >= 1 && n <= 3 && is_digit(v[0]) && (n < 2 || is_digit(v[1])) &&
             (n < 3 || is_digit(v[2]))) {
    int code = 0;
    for (int i = 0; i < n; ++i) code = code * 10 + (v[i] - '0');
    c = code < 127 ? static_cast<char>(code) : 0;
  } else if (n == 1) {
    c = v[0];
  }
  if (c != 0 && c != '\n' && c != '\r' && c != '"' && c != '#') f->delim = c;
}

// A `#` line of a submission format: a parameter changes `f`, anything else is a comment.
static void read_parameter(aavso_file* f, const char* p, int n) {
  const void* eq = std::memchr(p, '=', static_cast<size_t>(n));
  if (eq == nullptr) return;
  const int key_end = static_cast<int>(static_cast<const char*>(eq) - p);
  const span k = trimmed(p, {1, key_end, false});
  const span v = trimmed(p, {key_end + 1, n, false});
  const char* key = p + k.begin;
  const int key_len = k.end - k.begin;
  const char* value = p + v.begin;
  int value_len = v.end - v.begin;
  if (same_text(key, key_len, "type")) {
    if (same_text(value, value_len, "visual")) f->form = file_form::visual;
    if (same_text(value, value_len, "extended")) f->form = file_form::extended;
    submission_columns(f);
  } else if (same_text(key, key_len, "obscode")) {
    if (value_len > plotcore::word_max) value_len = 0;  // no code: its records have no observer
    std::memcpy(f->obscode, value, static_cast<size_t>(value_len));
    f->obscode[value_len] = '\0';
  } else if (same_text(key, key_len, "delim")) {
    read_delim(f, value, value_len);
  } else if (same_text(key, key_len, "date")) {
    if (same_text(value, value_len, "jd")) {
      f->excel = false;
      f->system = time_system::jd;
    } else if (same_text(value, value_len, "hjd")) {
      f->excel = false;
      f->system = time_system::hjd;
    } else if (same_text(value, value_len, "excel")) {
      f->excel = true;
      f->system = time_system::jd;
    }
  }
}

// ---- times ----

// Reads digits at p[*i] (at least one, at most `max`) into *v.
static bool number_at(const char* p, int* i, int max, int* v) {
  int n = 0;
  *v = 0;
  while (p[*i] != '\0' && is_digit(p[*i]) && n < max) {
    *v = *v * 10 + (p[*i] - '0');
    ++*i;
    ++n;
  }
  return n > 0;
}

// An Excel date and time, "MM/DD/YYYY HH:MM:SS AM" (seconds, and AM or PM, optional; UT) as a
// VSNET time to the millionth of a day, rounded half up.
static bool excel_time(const char* text, obs_time* t) {
  int i = 0;
  int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0;
  if (!number_at(text, &i, 2, &month) || text[i++] != '/' || !number_at(text, &i, 2, &day) ||
      text[i++] != '/' || !number_at(text, &i, 4, &year))
    return false;
  while (text[i] == ' ') ++i;
  if (!number_at(text, &i, 2, &hour) || text[i++] != ':' || !number_at(text, &i, 2, &minute))
    return false;
  if (text[i] == ':' && (++i, !number_at(text, &i, 2, &second))) return false;
  while (text[i] == ' ') ++i;
  const char* rest = text + i;
  const int rest_len = static_cast<int>(std::strlen(rest));
  const bool am = same_text(rest, rest_len, "am");
  const bool pm = same_text(rest, rest_len, "pm");
  if (rest_len > 0 && !am && !pm) return false;
  if ((am || pm) && (hour < 1 || hour > 12)) return false;
  if (am && hour == 12) hour = 0;
  if (pm && hour < 12) hour += 12;
  if (hour > 23 || minute > 59 || second > 59) return false;
  int number = 0;
  if (!day_number(year, month, day, &number)) return false;
  const long long seconds = hour * 3600LL + minute * 60 + second;
  long long millionths = (seconds * 2000000 / 86400 + 1) / 2;
  if (millionths == 1000000) {
    ++number;
    millionths = 0;
  }
  if (number > last_calendar_day) return false;
  int y = 0, m = 0, d = 0;
  civil_date(number, &y, &m, &d);
  char word[plotcore::word_max + 1];
  long long v = y * 10000LL + m * 100 + d;
  for (int k = 7; k >= 0; --k, v /= 10) word[k] = static_cast<char>('0' + v % 10);
  word[8] = '.';
  long long f = millionths;
  for (int k = 14; k >= 9; --k, f /= 10) word[k] = static_cast<char>('0' + f % 10);
  word[15] = '\0';
  return read_time(word, t);
}

// ---- records ----

// A star's name as compared: blanks left out, letters in lower case, and the number of a V
// designation without the zeros the AAVSO pads it with ("V0523 Cas" is v523cas). False for a
// name longer than `most` - 1 such bytes.
static bool compact_name(const char* name, char* out, int most) {
  int n = 0;
  bool first = true;
  for (const char* p = name; *p != '\0'; ++p) {
    if (is_blank(*p)) continue;
    if (n == most - 1) return false;
    out[n++] = lower(*p);
    if (first && (*p == 'V' || *p == 'v') && p[1] == '0') {
      while (p[1] == '0' && p[2] >= '0' && p[2] <= '9') ++p;
    }
    first = false;
  }
  out[n] = '\0';
  return true;
}

// Whether `name` is the star: its letters and digits as STAR's, letter case, blanks and the
// zeros of a V number aside.
static bool is_star(const star_name& star, const char* name) {
  char a[2 * plotcore::word_max + 2];
  char b[2 * plotcore::word_max + 2];
  return star.whole[0] != '\0' && compact_name(star.whole, a, sizeof a) &&
         compact_name(name, b, sizeof b) && std::strcmp(a, b) == 0;
}

// The text of column `c` into `out`; empty when the line has no such field; false when it is
// too long to be read.
static bool column_text(const aavso_file& f, const char* line, const span* fields, int n,
                        aavso_column c, plotcore::word_buf* out) {
  (*out)[0] = '\0';
  const int k = f.column[c];
  if (k < 0 || k >= n) return true;
  return field_text(line, fields[k], out);
}

static bool column_holds(const aavso_file& f, const char* line, const span* fields, int n,
                         aavso_column c, char byte) {
  const int k = f.column[c];
  return k >= 0 && k < n &&
         std::memchr(line + fields[k].begin, byte,
                     static_cast<size_t>(fields[k].end - fields[k].begin)) != nullptr;
}

aavso_line read_aavso_line(aavso_file* f, const star_name& star, const char* line, int len,
                           record* r) {
  const span whole = line_span(line, len);
  if (whole.begin == whole.end) return aavso_line::other;
  const char* head = line + whole.begin;
  const int head_len = whole.end - whole.begin;
  if (f->form == file_form::download) {
    if (is_header(head, head_len) && holds(head, head_len, "magnitude")) {
      f->delim = head[2];
      read_header(f, head, head_len);
      return aavso_line::other;
    }
  } else if (head[0] == '#') {
    read_parameter(f, head, head_len);
    return aavso_line::other;
  }
  // Only the fields up to the last column read are told apart.
  int needed = 0;
  for (const int k : f->column)
    if (k + 1 > needed) needed = k + 1;
  span fields[aavso_fields_max];
  const int n =
      f->fixed ? fixed_fields(*f, len, fields) : split(line, len, f->delim, fields, needed);
  plotcore::word_buf text;
  if (!column_text(*f, line, fields, n, col_star, &text) || !is_star(star, text))
    return aavso_line::other;
  record got{};
  got.system = f->system;
  plotcore::word_buf mag;
  if (!column_text(*f, line, fields, n, col_time, &text) ||
      !column_text(*f, line, fields, n, col_mag, &mag))
    return aavso_line::mention;
  if (!(f->excel ? excel_time(text, &got.time) : read_time(text, &got.time)))
    return aavso_line::mention;
  const bool negative = mag[0] == '-';
  if (!read_magnitude(negative ? mag + 1 : mag, &got.mag)) return aavso_line::mention;
  got.mag.negative = negative;
  if (!column_text(*f, line, fields, n, col_flag, &text)) text[0] = '\0';
  if (same_text(text, static_cast<int>(std::strlen(text)), "d") ||
      same_text(text, static_cast<int>(std::strlen(text)), "t"))
    return aavso_line::discrepant;
  if (column_holds(*f, line, fields, n, col_comment, ':')) got.mag.uncertain = true;
  if (f->column[col_band] >= 0) {
    if (!column_text(*f, line, fields, n, col_band, &text) || !band_name(text, &got.mag.band))
      std::memcpy(got.mag.band, "N/A", 4);
  } else if (f->form == file_form::visual) {
    std::memcpy(got.mag.band, visual_band, sizeof visual_band);
  } else {
    std::memcpy(got.mag.band, "N/A", 4);
  }
  if (f->column[col_observer] >= 0) {
    if (!column_text(*f, line, fields, n, col_observer, &f->observer)) f->observer[0] = '\0';
  } else {
    std::memcpy(f->observer, f->obscode, sizeof f->obscode);
  }
  if (f->observer[0] == '\0') return aavso_line::no_observer;
  got.observer = f->observer;
  *r = got;
  return aavso_line::record;
}

}  // namespace reports
