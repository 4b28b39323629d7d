// magprep's command line: its options, --help and the usage message.
#include "command_line.h"

#include <cstring>

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

static parsed usage_error(std::FILE* err, const char* what, const char* arg) {
  std::fprintf(err, "magprep: %s", what);
  if (arg != nullptr) std::fprintf(err, " '%s'", arg);
  std::fprintf(err, "\n%sTry 'magprep --help'.\n", usage_line);
  return parsed::usage;
}

// Options first (grouped as in -ns0.5 or apart), `--` ends them; then STAR, then the files.
parsed parse_options(int argc, char** argv, std::FILE* err, options* o) {
  *o = {mode::records, nullptr, 0, nullptr, argc};
  bool nights = false;
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
        nights = true;
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
  if (nights && o->shift_text != nullptr)
    return usage_error(err, "-n and -s cannot be given together", nullptr);
  if (o->shift_text != nullptr) {
    o->what = mode::phases;
    if (!read_shift(o->shift_text, &o->shift))
      return usage_error(err, "SHIFT must be a decimal number, not", o->shift_text);
  } else {
    o->what = nights ? mode::nights : mode::records;
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

void print_help(std::FILE* out) {
  std::fputs(usage_line, out);
  std::fputs(help_text, out);
}

void print_version(std::FILE* out) { std::fputs("magprep (magplot) " MAGPLOT_VERSION "\n", out); }

}  // namespace magprep
