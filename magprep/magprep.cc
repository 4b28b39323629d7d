// The filter that turns posted observation reports and phase lists into data files for magtime
// and magphase.
#include "magprep.h"

#include <cerrno>
#include <cstring>

#include "plotcore/files.h"
#include "plotcore/words.h"
#include "record.h"

#ifndef MAGPLOT_VERSION
#define MAGPLOT_VERSION "unknown"
#endif

namespace magprep {

static constexpr const char* usage_line =
    "Usage: magprep [-n] STAR [FILE]...  or  magprep -s SHIFT [FILE]...\n";

static constexpr const char* help_text =
    "Write the observations of STAR in observation reports as a data file for\n"
    "magtime, or with -n for magphase; or shift the phases of a phase list.\n"
    "With no FILE, or when FILE is -, read standard input; several FILEs are read\n"
    "as one text.\n"
    "\n"
    "A record is four words in a row: STAR (in any letter case), a time (VSNET\n"
    "20261207.812 or 940516.588, VSOLJ 202612071930), a magnitude (118, 11.8,\n"
    "14.80V, 118:, <115) and the observer's code. Every other word is passed over.\n"
    "Upper limits (<, [ or > before the number) are dropped; magnitudes are\n"
    "written as their digits and point alone.\n"
    "\n"
    "  -n         several nights: write X MAGNITUDE pairs for magphase, X from 0\n"
    "             at 0 h of the first day to 1 at the end of the last day\n"
    "  -s SHIFT   read PHASE MAGNITUDE pairs (phases 0 to 1) and write them with\n"
    "             SHIFT added to the phase, modulo 1 (-s 0.5 moves an eclipse at\n"
    "             phase 0 to the middle of the graph)\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Standard error gets one line on what was kept and dropped, with the answer to\n"
    "magtime's layout question. Exit status: 0 when data was written, 1 when an\n"
    "input failed or there was nothing to write, 2 for a usage error.\n";

// Most observations -n keeps: as many as magphase draws.
static constexpr int nights_max = 5000;

// ---- the command line ----

struct options {
  bool nights;
  const char* shift_text;  ///< null unless -s was given
  long long shift;         ///< billionths of the phase
  const char* star;        ///< null with -s
  int first_file;          ///< index in argv of the first FILE operand
};

enum class parsed { run, help, version, usage };

static parsed usage_error(std::FILE* err, const char* what, const char* arg) {
  std::fprintf(err, "magprep: %s", what);
  if (arg != nullptr) std::fprintf(err, " '%s'", arg);
  std::fprintf(err, "\n%sTry 'magprep --help'.\n", usage_line);
  return parsed::usage;
}

// Options first (grouped as in -ns0.5 or apart), `--` ends them; then STAR, then the files.
static parsed parse_options(int argc, char** argv, std::FILE* err, options* o) {
  *o = {false, nullptr, 0, nullptr, argc};
  int i = 1;
  for (; i < argc; ++i) {
    const char* a = argv[i];
    if (a[0] != '-' || a[1] == '\0') break;  // an operand; "-" is standard input
    if (std::strcmp(a, "--") == 0) {
      ++i;
      break;
    }
    if (std::strcmp(a, "--help") == 0) return parsed::help;
    if (std::strcmp(a, "--version") == 0) return parsed::version;
    if (a[1] == '-') return usage_error(err, "unknown option", a);
    for (const char* c = a + 1; *c != '\0'; ++c) {
      if (*c == 'n') {
        o->nights = true;
      } else if (*c == 's') {
        if (c[1] != '\0')
          o->shift_text = c + 1;
        else if (i + 1 < argc)
          o->shift_text = argv[++i];
        else
          return usage_error(err, "option -s needs a SHIFT", nullptr);
        break;
      } else {
        const char option[3] = {'-', *c, '\0'};
        return usage_error(err, "unknown option", option);
      }
    }
  }
  if (o->nights && o->shift_text != nullptr)
    return usage_error(err, "-n and -s cannot be given together", nullptr);
  if (o->shift_text != nullptr) {
    if (!read_shift(o->shift_text, &o->shift))
      return usage_error(err, "SHIFT must be a decimal number, not", o->shift_text);
  } else {
    if (i >= argc) return usage_error(err, "no STAR given", nullptr);
    o->star = argv[i++];
    const int len = static_cast<int>(std::strlen(o->star));
    bool one_word = len >= 1 && len <= plotcore::word_max;
    for (int k = 0; k < len; ++k)
      if (plotcore::is_white(static_cast<unsigned char>(o->star[k]))) one_word = false;
    if (!one_word)
      return usage_error(err, "STAR must be one word of 1 to 29 characters, not", o->star);
  }
  o->first_file = i;
  return parsed::run;
}

// ---- the input: the files one after the other, as one text ----

struct input {
  plotcore::byte_source src;
  int argc;
  char** argv;
  int next;          ///< the next FILE operand in argv
  bool reading;      ///< src is open on a file or `in`
  const char* name;  ///< what src reads, for messages
  std::FILE* in;
  std::FILE* err;
  bool failed;  ///< a file could not be opened or read
};

static void start_input(input& s, int argc, char** argv, int first_file, std::FILE* in,
                        std::FILE* err) {
  s.argc = argc;
  s.argv = argv;
  s.next = first_file;
  s.reading = false;
  s.name = nullptr;
  s.in = in;
  s.err = err;
  s.failed = false;
  // No FILE operand: standard input alone.
  if (first_file >= argc) {
    plotcore::open_source(s.src, in, false);
    plotcore::skip_byte_order_mark(s.src);
    s.reading = true;
    s.name = "standard input";
  }
}

// Closes the file being read; says so when reading it failed.
static void end_file(input& s) {
  if (s.src.failed) {
    std::fprintf(s.err, "magprep: cannot read %s: %s\n", s.name, std::strerror(errno));
    s.failed = true;
  }
  if (s.src.f != s.in) std::fclose(s.src.f);
  s.reading = false;
}

// Opens the next FILE operand that can be opened, naming those that cannot.
static bool open_next(input& s) {
  while (s.next < s.argc) {
    const char* name = s.argv[s.next++];
    if (std::strcmp(name, "-") == 0) {
      plotcore::open_source(s.src, s.in, false);
      s.name = "standard input";
    } else {
      plotcore::file_id id;
      std::FILE* f = plotcore::open_data_file(name, &id);
      if (f == nullptr) {
        std::fprintf(s.err, "magprep: cannot open %s: %s\n", name, std::strerror(errno));
        s.failed = true;
        continue;
      }
      plotcore::open_source(s.src, f, false);
      s.name = name;
    }
    plotcore::skip_byte_order_mark(s.src);
    s.reading = true;
    return true;
  }
  return false;
}

// The next word of the whole text into `w`; false at the end of the last file. A word longer
// than 29 characters, or holding a NUL byte, comes back empty: it is no part of a record.
static bool next_word(input& s, plotcore::word_buf& w) {
  for (;;) {
    if (!s.reading && !open_next(s)) return false;
    const plotcore::word_status st = plotcore::read_word(s.src, w);
    if (st == plotcore::word_status::end) {
      end_file(s);
      continue;
    }
    if (st != plotcore::word_status::ok) w[0] = '\0';
    return true;
  }
}

// The last words read, oldest first: a record is looked for in the first four.
struct window {
  plotcore::word_buf w[4];
  int first;
  int have;
};

// Reads words until the window holds `n`; false when the text ends first.
static bool fill(window& win, input& s, int n) {
  while (win.have < n) {
    if (!next_word(s, win.w[(win.first + win.have) % 4])) return false;
    ++win.have;
  }
  return true;
}

static const char* word_at(const window& win, int i) { return win.w[(win.first + i) % 4]; }

static void drop(window& win, int n) {
  win.first = (win.first + n) % 4;
  win.have -= n;
}

// ---- numbers as text ----

// floor(a / b) for b > 0.
static long long floor_div(long long a, long long b) { return a / b - (a % b < 0 ? 1 : 0); }

static void print_date(std::FILE* f, int day) {
  int y = 0, m = 0, d = 0;
  civil_date(day, &y, &m, &d);
  std::fprintf(f, "%04d-%02d-%02d", y, m, d);
}

// `num` / `den` (0 <= num, 0 < den) rounded half up to four decimals.
static void print_ratio(std::FILE* f, long long num, long long den) {
  const long long ten_thousandths = (num * 20000 / den + 1) / 2;
  std::fprintf(f, "%lld.%04lld", ten_thousandths / 10000, ten_thousandths % 10000);
}

static const char* plural(long long n) { return n == 1 ? "" : "s"; }

// ---- records of a star: the default and -n ----

struct tally {
  long long records;    ///< kept
  long long limits;     ///< upper limits, dropped
  long long uncertain;  ///< uncertain estimates among the kept records
  long long other;      ///< records in the other layout, dropped
  long long over;       ///< records past what -n keeps, dropped
  bool have_layout;
  layout kind;    ///< the layout of the first record
  int first_day;  ///< the earliest date written (with -n: day spanned) of a kept record
  int last_day;   ///< the latest
};

// What -n keeps before it can write: the time of each record, in parts of a day since day 0 of
// the day numbers, and its magnitude.
struct night_table {
  int count;
  long long time[nights_max];
  plotcore::word_buf mag[nights_max];
};

static const char* layout_name(layout k) { return k == layout::vsolj ? "VSOLJ" : "VSNET"; }

// Counts a record and tells whether it is kept: not a limit, and in the layout of the first.
static bool count_record(tally& t, const record& r) {
  if (r.mag.limit) {
    ++t.limits;
    return false;
  }
  if (!t.have_layout) {
    t.have_layout = true;
    t.kind = r.time.kind;
  } else if (r.time.kind != t.kind) {
    ++t.other;
    return false;
  }
  // The date as written: a VSOLJ night keeps its evening's date past 24 h, as magtime keeps it
  // on one axis.
  const int day = r.time.day;
  if (t.records == 0 || day < t.first_day) t.first_day = day;
  if (t.records == 0 || day > t.last_day) t.last_day = day;
  ++t.records;
  if (r.mag.uncertain) ++t.uncertain;
  return true;
}

// Days of the -n scale: from 0 h of the first day to the end of the last.
static long long span_days(const tally& t) { return t.last_day + 1LL - t.first_day; }

static void write_nights(std::FILE* out, const night_table& n, const tally& t, long long per_day) {
  const long long origin = t.first_day * per_day;
  const long long span = span_days(t) * per_day;
  for (int i = 0; i < n.count; ++i) {
    print_ratio(out, n.time[i] - origin, span);
    std::fprintf(out, " %s\n", n.mag[i]);
  }
}

// The one line on standard error after the records of a star; the exit status.
static int star_summary(std::FILE* err, const options& o, const tally& t) {
  if (t.records == 0) {
    if (t.limits > 0)
      std::fprintf(err, "magprep: %s: only %lld upper limit%s, nothing to write\n", o.star,
                   t.limits, plural(t.limits));
    else
      std::fprintf(err, "magprep: no record of %s found\n", o.star);
    return 1;
  }
  std::fprintf(err, "magprep: %s: %lld record%s, %lld upper limit%s dropped, %lld uncertain kept",
               o.star, t.records, plural(t.records), t.limits, plural(t.limits), t.uncertain);
  if (t.over > 0) std::fprintf(err, ", %lld past the first %d dropped", t.over, nights_max);
  if (t.other > 0) {
    std::fprintf(err, "; records in both layouts: the %lld in %s dropped\n", t.other,
                 layout_name(t.kind == layout::vsolj ? layout::vsnet : layout::vsolj));
    return 1;
  }
  if (o.nights) {
    const long long days = span_days(t);
    std::fputs("; X 0.0 is ", err);
    print_date(err, t.first_day);
    std::fputs(" 0 h and 1.0 is ", err);
    print_date(err, t.last_day + 1);
    std::fprintf(err, " 0 h, %lld.%lld day%s per tenth\n", days / 10, days % 10,
                 days == 10 ? "" : "s");
    return 0;
  }
  std::fprintf(err, "; %s: answer %d to the layout question", layout_name(t.kind),
               t.kind == layout::vsolj ? 1 : 0);
  if (t.last_day > t.first_day) {
    std::fputs("; dates ", err);
    print_date(err, t.first_day);
    std::fputs(" to ", err);
    print_date(err, t.last_day);
    std::fputs(": -n draws them as one curve", err);
  }
  std::fputc('\n', err);
  return 0;
}

static int prepare_star(input& s, const options& o, std::FILE* out, std::FILE* err) {
  // Only -n needs the table; it stays out of the default mode's frame.
  static_assert(sizeof(night_table) < 256 * 1024, "the table must fit a thread's stack");
  night_table table;
  table.count = 0;
  tally t{};
  window win{};
  while (fill(win, s, 4)) {
    const char* words[4] = {word_at(win, 0), word_at(win, 1), word_at(win, 2), word_at(win, 3)};
    record r;
    if (!read_record(o.star, words, &r)) {
      drop(win, 1);
      continue;
    }
    if (count_record(t, r)) {
      if (!o.nights) {
        std::fprintf(out, "%s %s %s %s\n", o.star, words[1], r.mag.digits, words[3]);
      } else if (table.count < nights_max) {
        table.time[table.count] = r.time.day * r.time.per_day + r.time.part;
        std::memcpy(table.mag[table.count], r.mag.digits, sizeof r.mag.digits);
        ++table.count;
      } else {
        --t.records;
        if (r.mag.uncertain) --t.uncertain;
        ++t.over;
      }
    }
    drop(win, 4);
  }
  if (o.nights && t.records > 0) {
    // The kept records' days only, so the scale covers what is written.
    const long long per_day = t.kind == layout::vsolj ? 1440 : 1000000;
    t.first_day = static_cast<int>(floor_div(table.time[0], per_day));
    t.last_day = t.first_day;
    for (int i = 1; i < table.count; ++i) {
      const int day = static_cast<int>(floor_div(table.time[i], per_day));
      if (day < t.first_day) t.first_day = day;
      if (day > t.last_day) t.last_day = day;
    }
    write_nights(out, table, t, per_day);
  }
  return star_summary(err, o, t);
}

// ---- phase lists: -s ----

static int shift_phases(input& s, const options& o, std::FILE* out, std::FILE* err) {
  constexpr long long one = 1000000000LL;
  long long records = 0, limits = 0, uncertain = 0;
  window win{};
  while (fill(win, s, 2)) {
    long long phase = 0;
    magnitude m;
    if (!read_phase(word_at(win, 0), &phase) || !read_magnitude(word_at(win, 1), &m)) {
      drop(win, 1);
      continue;
    }
    drop(win, 2);
    if (m.limit) {
      ++limits;
      continue;
    }
    ++records;
    if (m.uncertain) ++uncertain;
    // In billionths, then rounded half up to four decimals; 1 is the same phase as 0.
    const long long shifted = ((phase + o.shift) % one + one) % one;
    const long long ten_thousandths = (shifted / 50000 + 1) / 2 % 10000;
    std::fprintf(out, "0.%04lld %s\n", ten_thousandths, m.digits);
  }
  if (records == 0) {
    if (limits > 0)
      std::fprintf(err, "magprep: only %lld upper limit%s, nothing to write\n", limits,
                   plural(limits));
    else
      std::fputs("magprep: no phase record found\n", err);
    return 1;
  }
  std::fprintf(err,
               "magprep: %lld phase record%s, %lld upper limit%s dropped, %lld uncertain kept; "
               "phases shifted by %s\n",
               records, plural(records), limits, plural(limits), uncertain, o.shift_text);
  return 0;
}

// ---- the run ----

// Everything written has reached `out`; otherwise says so.
static bool output_ok(std::FILE* out, std::FILE* err) {
  errno = 0;
  if (std::fflush(out) == 0 && !std::ferror(out)) return true;
  std::fprintf(err, "magprep: cannot write standard output%s%s\n", errno != 0 ? ": " : "",
               errno != 0 ? std::strerror(errno) : "");
  return false;
}

int magprep_run(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err) {
  options o;
  switch (parse_options(argc, argv, err, &o)) {
    case parsed::usage: return 2;
    case parsed::help:
      std::fputs(usage_line, out);
      std::fputs(help_text, out);
      return output_ok(out, err) ? 0 : 1;
    case parsed::version:
      std::fputs("magprep (magplot) " MAGPLOT_VERSION "\n", out);
      return output_ok(out, err) ? 0 : 1;
    case parsed::run: break;
  }
  input s;
  start_input(s, argc, argv, o.first_file, in, err);
  const int status =
      o.shift_text != nullptr ? shift_phases(s, o, out, err) : prepare_star(s, o, out, err);
  const bool written = output_ok(out, err);
  return status == 0 && written && !s.failed ? 0 : 1;
}

}  // namespace magprep
