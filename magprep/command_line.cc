// magprep's command line: its options, --help and the usage message.
#include "command_line.h"

#include <cstring>

#include "libraries.h"
#include "reports/bands.h"

#ifndef MAGPLOT_VERSION
#define MAGPLOT_VERSION "unknown"
#endif

namespace magprep {

static constexpr const char* usage_line =
    "Usage: magprep [OPTION]... STAR [FILE]...  or  magprep -s SHIFT [-o FILE] [FILE]...\n";

static constexpr const char* help_text =
    "  or:  magprep -c -p PERIOD -e EPOCH [OPTION]... [FILE]...\n"
    "  or:  magprep -t FROM,TO -p PERIOD -e EPOCH [OPTION]...\n"
    "  or:  magprep -a OBSCODE [-o FILE] STAR [FILE]...\n"
    "Write the observations of STAR in observation reports as a data file for\n"
    "magtime, or with -n for magphase; or shift the phases of a phase list.\n"
    "With no FILE, or when FILE is -, read standard input. Several FILEs are read\n"
    "one after the other, the end of each also ending a word.\n"
    "\n"
    "A record is, in a row: STAR (in any letter case; \"RZ Cas\" finds RZCas and\n"
    "RZ Cas), a time (VSNET 20261207.812 or 940516.588, VSOLJ 202612071930,\n"
    "Julian Date 2461382.312, 2026-12-07.812), a magnitude (118, 11.8, 11,8,\n"
    "14.80V, 118:, <115, < 115) and the observer's code. Every other word is\n"
    "passed over. Upper limits are dropped, and so are records without an\n"
    "observer's code (STAR starting the next line or record in its place), which\n"
    "are counted; magnitudes are written as their digits and point alone, times\n"
    "in the VSNET or VSOLJ layout. A UTF-8 byte-order mark is white space; a\n"
    "file starting with a UTF-16 one is read as its text; CR alone ends a line.\n"
    "\n"
    "AAVSO files are read too, each told by its first line: the download of the\n"
    "International Database (comma, tab or space separated, with or without its\n"
    "header row; STAR matches its Star Name, \"SS Cyg\" or SSCyg) and the Visual\n"
    "and Extended File Formats (#TYPE=). Records flagged discrepant (D, T) are\n"
    "dropped; times given as HJD stay HJD (then -r and -B are refused); magnitudes\n"
    "below zero (differential) are kept only by -f, -m and -M.\n"
    "\n"
    "  -n         several nights: write X MAGNITUDE pairs for magphase, X from 0\n"
    "             to 1 over round hours or days around the observations\n"
    "  -s SHIFT   read a phase list, lines starting PHASE MAGNITUDE (phases 0 to\n"
    "             1), and write them with SHIFT added to the phase, modulo 1\n"
    "             (-s 0.5 moves an eclipse at phase 0 to the middle of the graph);\n"
    "             with -p, shift the phases\n"
    "  -p PERIOD  fold: write PHASE MAGNITUDE pairs for magphase, the phase of each\n"
    "             time for PERIOD in days (0.0712345); at most 5000\n"
    "  -e EPOCH   the full Julian Date of phase 0 (2460650.1234), within 100000\n"
    "             days of every record; without it, the first record written\n"
    "  -r RA,DEC  the star's position, J2000: make the times heliocentric, as\n"
    "             catalogue ephemerides are. RA in hours with colons (05:59:31.7)\n"
    "             or an h (5.9921h), or in degrees with a d (89.88d); DEC in\n"
    "             degrees (+37:12:45 or +37.2125)\n"
    "  -f MIN,MAX search for the period from MIN to MAX days and write the five\n"
    "             best, PERIOD THETA, best first (theta below 1 orders the curve)\n"
    "  -B RA,DEC  as -r, but make the times barycentric, BJD_TDB (UTC to TT by the\n"
    "             leap seconds), as ephemerides from space photometry are\n"
    "  -g         with -f, write the periodogram for magphase instead: X from 0 at\n"
    "             MIN to 1 at MAX, even in frequency, and theta times 10; with -c,\n"
    "             the O-C diagram: X over round cycles, 10 - O-C in a round unit\n"
    "  -m         times of minimum of STAR: TIME ERROR N a line (days, N the points\n"
    "             timed), one for each run of records; with -p and -e also E and O-C\n"
    "  -M         times of maximum, as -m; with -c or -t, the ephemeris is of maxima\n"
    "  -c         read lists of timings, TIME [ERROR] [anything] a line, and write\n"
    "             E O-C ERROR for the elements of -p and -e, or with -g the O-C\n"
    "             diagram for magphase; the elements refined on standard error. Times\n"
    "             are Julian Dates, or reduced (JD - 2400000) after a line that says\n"
    "             2400000 (HJD-2400000)\n"
    "  -t FROM,TO the minima of -p and -e from FROM to TO (2026-12-10, the whole day,\n"
    "             or Julian Dates) as seen from the Earth: JD, the date and time in UT\n"
    "             and in JST, and E; with -2 also the secondary minima\n"
    "  -b BAND[,BAND]  keep only the records in these bands, named as the AAVSO\n"
    "             names them (Vis. or Visual, V, B, R, I, CV, CR, TG...); in reports\n"
    "             the letters after a magnitude give its band: 14.80V V, 14.38C CV,\n"
    "             none visual; with -c, the timings whose word after TIME [ERROR]\n"
    "             names these bands or methods (vis, CCD, pe, pg, ptg, DSLR)\n"
    "  -w CODE[,CODE]  keep only the records of these observers (any letter case)\n"
    "  -a OBSCODE the visual estimates of STAR by the observer OBSCODE (letter case\n"
    "             aside) as an AAVSO Visual File Format file for WebObs: STAR named\n"
    "             as the AAVSO names it (CYGSS and SSCyg are SS Cyg), times as JD (UT)\n"
    "             to 4 decimals, 118 as 11.8, upper limits kept (<11.5), : for an\n"
    "             uncertain estimate; other bands and observers dropped and counted\n"
    "  -o FILE    write the data to FILE, replacing it only when the run succeeds;\n"
    "             a device or a fifo is written as it is\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "Options may follow STAR and the FILEs, each given once; -- ends them.\n"
    "Numbers of days take at most 9 decimals (zeros past them aside).\n"
    "\n"
    "VSNET times are UT; VSOLJ times are Japan Standard Time, UT + 9 h, and the\n"
    "-n scale of VSOLJ records says JST.\n"
    "\n"
    "Standard error gets one line on what was kept and dropped, with the answer to\n"
    "magtime's layout question, the -n scale, the ephemeris of -p or the search of\n"
    "-f; a line with the records of each band when they are of several (a warning\n"
    "with -f, -m and -M, as periods and timings from mixed bands are wrong); a\n"
    "line for each file that cannot be read; and a warning when magtime or\n"
    "magphase would not draw all the data, or when -f raises MIN to 10 steps of\n"
    "the times (0.001 d, a minute), as shorter periods fold as longer ones do.\n"
    "Exit status: 0 when data was written and every FILE read; 1 when an input or\n"
    "the output failed, records came in both layouts, EPOCH was far from them, or\n"
    "there was nothing to write; 2 for a usage error.\n";

static parsed usage_error(std::FILE* err, const char* what, const char* arg) {
  std::fprintf(err, "magprep: %s", what);
  if (arg != nullptr) std::fprintf(err, " '%s'", arg);
  std::fprintf(err, "\n%sTry 'magprep --help'.\n", usage_line);
  return parsed::usage;
}

// Moves the `n` arguments at argv[from] to argv[to] (to <= from), those between moving up.
static void move_back(char** argv, int to, int from, int n) {
  char* moved[2] = {argv[from], n > 1 ? argv[from + 1] : nullptr};
  for (int k = from - 1; k >= to; --k) argv[k + n] = argv[k];
  for (int k = 0; k < n; ++k) argv[to + k] = moved[k];
}

// An option with an argument: the rest of its word (-s0.5) or the next word (-s 0.5). Returns
// the words it takes, 0 when the argument is missing.
static int option_argument(int argc, char** argv, int i, const char* rest, const char** value) {
  if (*rest != '\0') {
    *value = rest;
    return 1;
  }
  if (i + 1 >= argc) return 0;
  *value = argv[i + 1];
  return 2;
}

// The options that take a value, and where it goes.
struct option_value {
  char letter;
  const char* options::*text;
  const char* missing;
};

static const option_value* value_of(char letter) {
  static constexpr option_value values[] = {
      {'s', &options::shift_text, "option -s needs a SHIFT"},
      {'o', &options::output, "option -o needs a FILE"},
      {'p', &options::period_text, "option -p needs a PERIOD"},
      {'e', &options::epoch_text, "option -e needs an EPOCH"},
      {'r', &options::position_text, "option -r needs RA,DEC"},
      {'f', &options::range_text, "option -f needs MIN,MAX"},
      {'t', &options::times_text, "option -t needs FROM,TO"},
      {'B', &options::barycentre_text, "option -B needs RA,DEC"},
      {'b', &options::bands_text, "option -b needs a BAND"},
      {'w', &options::observers_text, "option -w needs an observer's CODE"},
      {'a', &options::obscode, "option -a needs an OBSCODE"},
  };
  for (const option_value& v : values)
    if (v.letter == letter) return &v;
  return nullptr;
}

// MIN,MAX of -f: periods in days, MIN at least search_period_min, below MAX. A number that is
// no days, too large or out of order comes back as not_days.
static days_read read_range(const char* text, options* o) {
  const char* comma = std::strchr(text, ',');
  if (comma == nullptr) return days_read::not_days;
  char min_text[32];
  const long long len = comma - text;
  if (len >= static_cast<long long>(sizeof min_text)) return days_read::not_days;
  std::memcpy(min_text, text, static_cast<std::size_t>(len));
  min_text[len] = '\0';
  long long lo = 0;
  long long hi = 0;
  const days_read r = read_days(min_text, 5, &lo);
  const days_read s = read_days(comma + 1, 5, &hi);
  if (r == days_read::too_many_decimals || s == days_read::too_many_decimals)
    return r == days_read::ok || r == days_read::too_many_decimals ? s : r;
  if (r != days_read::ok || s != days_read::ok || lo < search_period_min || lo >= hi)
    return days_read::not_days;
  o->min_period = lo;
  o->max_period = hi;
  return days_read::ok;
}

// A date of -t, "2026-12-10" (0 h UT, or with `end` 24 h) or a Julian Date, in units.
static bool read_when(const char* p, const char* end, bool is_end, long long* jd) {
  char text[32];
  const long long len = end - p;
  if (len <= 0 || len >= static_cast<long long>(sizeof text)) return false;
  std::memcpy(text, p, static_cast<std::size_t>(len));
  text[len] = '\0';
  if (len == 10 && text[4] == '-' && text[7] == '-') {
    int year = 0, month = 0, day = 0;
    for (int i = 0; i < 10; ++i)
      if (i != 4 && i != 7 && (text[i] < '0' || text[i] > '9')) return false;
    year = (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
    month = (text[5] - '0') * 10 + (text[6] - '0');
    day = (text[8] - '0') * 10 + (text[9] - '0');
    int number = 0;
    if (!day_number(year, month, day, &number)) return false;
    // 1970-01-01 0 h UT is JD 2440587.5.
    *jd = (2440587 + number + (is_end ? 1 : 0)) * units_per_day + units_per_day / 2;
    return true;
  }
  return read_days(text, 7, jd) == days_read::ok && *jd >= 1000000 * units_per_day;
}

// FROM,TO of -t: FROM at or before TO.
static bool read_times(const char* text, options* o) {
  const char* comma = std::strchr(text, ',');
  if (comma == nullptr) return false;
  const char* end = comma + std::strlen(comma);
  return read_when(text, comma, false, &o->from) && read_when(comma + 1, end, true, &o->to) &&
         o->from <= o->to;
}

// The names of -b or -w, NAME[,NAME]: at most `most`, each of 1 to 29 characters, bands as the
// AAVSO names them. False for an empty name or too many.
static bool read_names(const char* text, bool bands, int most, plotcore::word_buf* names,
                       int* count) {
  int n = 0;
  for (const char* p = text;; ++p) {
    const char* end = std::strchr(p, ',');
    if (end == nullptr) end = p + std::strlen(p);
    const long long len = end - p;
    if (len == 0 || len > plotcore::word_max || n == most) return false;
    plotcore::word_buf name;
    std::memcpy(name, p, static_cast<std::size_t>(len));
    name[len] = '\0';
    if (bands)
      reports::band_name(name, &names[n]);
    else
      std::memcpy(names[n], name, sizeof name);
    ++n;
    if (*end == '\0') break;
    p = end;
  }
  *count = n;
  return true;
}

// An observer's code of the AAVSO: 1 to 8 letters and digits, a letter among them.
static bool is_obscode(const char* text) {
  int n = 0;
  bool letter = false;
  for (; text[n] != '\0'; ++n) {
    const char c = text[n];
    const bool is_letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!is_letter && (c < '0' || c > '9')) return false;
    letter = letter || is_letter;
  }
  return letter && n <= 8;
}

// The values of -p, -e, -r, -f and which options go together; the mode.
static parsed check_options(bool nights, std::FILE* err, options* o) {
  if (o->obscode != nullptr) {
    if (nights || o->shift_text != nullptr || o->period_text != nullptr ||
        o->epoch_text != nullptr || o->position_text != nullptr || o->range_text != nullptr ||
        o->periodogram || o->minima || o->maxima || o->oc || o->secondaries ||
        o->barycentre_text != nullptr || o->times_text != nullptr || o->bands_text != nullptr ||
        o->observers_text != nullptr)
      return usage_error(err, "-a goes with no other option but -o", nullptr);
    if (!is_obscode(o->obscode))
      return usage_error(
          err, "OBSCODE must be an observer's code, 1 to 8 letters and digits with a letter, not",
          o->obscode);
    o->what = mode::aavso;
    return parsed::run;
  }
  if (o->barycentre_text != nullptr) {
    if (o->position_text != nullptr)
      return usage_error(err, "-r and -B cannot be given together", nullptr);
    o->position_text = o->barycentre_text;
    o->barycentric = true;
  }
  const bool elements = o->period_text != nullptr;
  const bool predict = o->times_text != nullptr;
  const bool extrema = (o->minima || o->maxima) && !o->oc && !predict;
  const bool fold = elements && !extrema && !o->oc && !predict;
  const bool search = o->range_text != nullptr;
  if (o->minima && o->maxima)
    return usage_error(err, "-m and -M cannot be given together", nullptr);
  if (o->oc && predict) return usage_error(err, "-c and -t cannot be given together", nullptr);
  if ((o->oc || predict) && (!elements || o->epoch_text == nullptr))
    return usage_error(
        err, o->oc ? "-c needs -p PERIOD and -e EPOCH" : "-t needs -p PERIOD and -e EPOCH",
        nullptr);
  if ((o->oc || predict || extrema) && (search || nights || o->shift_text != nullptr))
    return usage_error(err, "-m, -M, -c and -t go with neither -n, -s nor -f", nullptr);
  if (extrema && elements != (o->epoch_text != nullptr))
    return usage_error(err, "-m and -M take -p PERIOD and -e EPOCH together", nullptr);
  if (o->oc && o->position_text != nullptr)
    return usage_error(err, "-r and -B do not go with -c: the timings are in the ephemeris's times",
                       nullptr);
  if (o->secondaries && !predict) return usage_error(err, "-2 goes with -t", nullptr);
  if ((o->bands_text != nullptr && (predict || (o->shift_text != nullptr && !elements))) ||
      (o->observers_text != nullptr &&
       (o->oc || predict || (o->shift_text != nullptr && !elements))))
    return usage_error(err,
                       "-b and -w choose records of STAR, -b also timings of -c: they go with "
                       "neither -s nor -t, nor -w with -c",
                       nullptr);
  if (o->bands_text != nullptr &&
      !read_names(o->bands_text, true, chosen_bands_max, o->chosen.band, &o->chosen.bands))
    return usage_error(err, "-b takes 1 to 8 bands, BAND[,BAND], not", o->bands_text);
  if (o->observers_text != nullptr && !read_names(o->observers_text, false, chosen_observers_max,
                                                  o->chosen.observer, &o->chosen.observers))
    return usage_error(err, "-w takes 1 to 16 observer's codes, CODE[,CODE], not",
                       o->observers_text);
  if (predict && !read_times(o->times_text, o))
    return usage_error(err, "FROM,TO must be dates (2026-12-10) or Julian Dates, FROM first, not",
                       o->times_text);
  if (nights && (fold || search))
    return usage_error(err, "-n goes with neither -p nor -f", nullptr);
  if (nights && o->shift_text != nullptr)
    return usage_error(err, "-n and -s cannot be given together", nullptr);
  if (fold && search) return usage_error(err, "-p and -f cannot be given together", nullptr);
  if (search && o->shift_text != nullptr)
    return usage_error(err, "-s goes with -p, not with -f", nullptr);
  if (o->epoch_text != nullptr && !elements) return usage_error(err, "-e goes with -p", nullptr);
  if (o->position_text != nullptr && !elements && !search && !extrema)
    return usage_error(err, "-r and -B go with -p, -f, -m, -M or -t", nullptr);
  if (o->periodogram && !search && !o->oc)
    return usage_error(err, "-g goes with -f or -c", nullptr);
  if (o->shift_text != nullptr && !read_shift(o->shift_text, &o->shift))
    return usage_error(err, "SHIFT must be a decimal number, not", o->shift_text);
  if (elements) {
    const days_read r = read_days(o->period_text, 5, &o->period);
    if (r == days_read::too_many_decimals)
      return usage_error(err, "PERIOD must have at most 9 decimals, not", o->period_text);
    if (r != days_read::ok || o->period == 0)
      return usage_error(err, "PERIOD must be days above 0 and below 100000, not", o->period_text);
  }
  if (o->epoch_text != nullptr) {
    const days_read r = read_days(o->epoch_text, 7, &o->epoch);
    if (r == days_read::too_many_decimals)
      return usage_error(err, "EPOCH must have at most 9 decimals, not", o->epoch_text);
    if (r == days_read::too_large)
      return usage_error(err, "EPOCH must be a Julian Date below 10000000, not", o->epoch_text);
    if (r != days_read::ok)
      return usage_error(err, "EPOCH must be a Julian Date, not", o->epoch_text);
  }
  if (o->position_text != nullptr) {
    const position_read r = read_position(o->position_text, &o->position);
    if (r == position_read::ra_without_unit)
      return usage_error(err,
                         "RA must be hours with colons (05:59:31.7) or an h (5.9921h), or "
                         "degrees with a d (89.88d), not",
                         o->position_text);
    if (r != position_read::ok)
      return usage_error(err, "RA,DEC must be as 05:59:31.7,+37:12:45 or 89.88d,+37.2125, not",
                         o->position_text);
  }
  if (search) {
    const days_read r = read_range(o->range_text, o);
    if (r == days_read::too_many_decimals)
      return usage_error(err, "MIN and MAX must have at most 9 decimals, not", o->range_text);
    if (r != days_read::ok)
      return usage_error(err, "MIN,MAX must be days from 0.001 to below 100000, MIN below MAX, not",
                         o->range_text);
  }
  o->what = o->oc                      ? mode::oc
            : predict                  ? mode::predictions
            : extrema                  ? mode::extrema
            : fold                     ? mode::fold
            : search                   ? mode::search
            : nights                   ? mode::nights
            : o->shift_text != nullptr ? mode::phases
                                       : mode::records;
  return parsed::run;
}

parsed parse_options(int argc, char** argv, std::FILE* err, options* o) {
  *o = {};
  o->what = mode::records;
  o->first_file = argc;
  bool nights = false;
  int options_end = 1;  // argv[1] to argv[options_end - 1]: the options seen, moved there
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (a[0] != '-' || a[1] == '\0') continue;  // an operand; "-" is standard input
    if (std::strcmp(a, "--") == 0) {
      move_back(argv, options_end, i, 1);
      ++options_end;
      break;
    }
    if (std::strcmp(a, "--help") == 0) return parsed::help;
    if (std::strcmp(a, "--version") == 0) return parsed::version;
    if (a[1] == '-') return usage_error(err, "unknown option", a);
    int taken = 1;
    for (const char* c = a + 1; *c != '\0'; ++c) {
      const option_value* v = value_of(*c);
      // Each option once: the last of two would win without a word.
      if ((*c == 'n' && nights) || (*c == 'g' && o->periodogram) ||
          (v != nullptr && o->*(v->text) != nullptr)) {
        const char option[3] = {'-', *c, '\0'};
        return usage_error(err, "option given twice:", option);
      }
      if (*c == 'n') {
        nights = true;
      } else if (*c == 'g') {
        o->periodogram = true;
      } else if (*c == 'm' || *c == 'M' || *c == 'c' || *c == '2') {
        bool& flag = *c == 'm'   ? o->minima
                     : *c == 'M' ? o->maxima
                     : *c == 'c' ? o->oc
                                 : o->secondaries;
        if (flag) {
          const char option[3] = {'-', *c, '\0'};
          return usage_error(err, "option given twice:", option);
        }
        flag = true;
      } else if (v != nullptr) {
        taken = option_argument(argc, argv, i, c + 1, &(o->*(v->text)));
        if (taken == 0) return usage_error(err, v->missing, nullptr);
        break;
      } else {
        const char option[3] = {'-', *c, '\0'};
        return usage_error(err, "unknown option", option);
      }
    }
    move_back(argv, options_end, i, taken);
    options_end += taken;
    i += taken - 1;
  }
  int i = options_end;
  if (check_options(nights, err, o) == parsed::usage) return parsed::usage;
  if (o->what == mode::predictions && i < argc)
    return usage_error(err, "-t reads no FILE, not", argv[i]);
  if (o->what != mode::phases && o->what != mode::oc && o->what != mode::predictions) {
    if (i >= argc) return usage_error(err, "no STAR given", nullptr);
    o->star_text = argv[i++];
    if (!read_star(o->star_text, &o->star))
      return usage_error(err, "STAR must be one or two words of 1 to 29 characters, not",
                         o->star_text);
  }
  // A name with a comma would split its line of the AAVSO file, one starting with # hide it.
  if (o->what == mode::aavso &&
      (std::strchr(o->star_text, ',') != nullptr || o->star.whole[0] == '#'))
    return usage_error(err, "with -a, STAR must hold no comma and not start with #, not",
                       o->star_text);
  if (o->output != nullptr && o->output[0] == '\0')
    return usage_error(err, "option -o needs a FILE", nullptr);
  o->first_file = i;
  return parsed::run;
}

void print_help(std::FILE* out) {
  std::fputs(usage_line, out);
  std::fputs(help_text, out);
}

void print_version(std::FILE* out) { std::fputs("magprep (magplot) " MAGPLOT_VERSION "\n", out); }

}  // namespace magprep
