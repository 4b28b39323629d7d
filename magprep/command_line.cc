// magprep's command line: its options, --help and the usage message.
#include "command_line.h"

#include <cstring>

#ifndef MAGPLOT_VERSION
#define MAGPLOT_VERSION "unknown"
#endif

namespace magprep {

static constexpr const char* usage_line =
    "Usage: magprep [-n] [-o FILE] STAR [FILE]...  or  magprep -s SHIFT [-o FILE] [FILE]...\n";

static constexpr const char* help_text =
    "Write the observations of STAR in observation reports as a data file for\n"
    "magtime, or with -n for magphase; or shift the phases of a phase list.\n"
    "With no FILE, or when FILE is -, read standard input. Several FILEs are read\n"
    "one after the other, the end of each also ending a word.\n"
    "\n"
    "A record is, in a row: STAR (in any letter case; \"RZ Cas\" finds RZCas and\n"
    "RZ Cas), a time (VSNET 20261207.812 or 940516.588, VSOLJ 202612071930,\n"
    "Julian Date 2461382.312, 2026-12-07.812), a magnitude (118, 11.8, 11,8,\n"
    "14.80V, 118:, <115, < 115) and the observer's code. Every other word is\n"
    "passed over. Upper limits are dropped; magnitudes are written as their\n"
    "digits and point alone, times in the VSNET or VSOLJ layout.\n"
    "\n"
    "  -n         several nights: write X MAGNITUDE pairs for magphase, X from 0\n"
    "             to 1 over round hours or days around the observations\n"
    "  -s SHIFT   read a phase list, lines starting PHASE MAGNITUDE (phases 0 to\n"
    "             1), and write them with SHIFT added to the phase, modulo 1\n"
    "             (-s 0.5 moves an eclipse at phase 0 to the middle of the graph)\n"
    "  -o FILE    write the data to FILE, and only when the run succeeds\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "Options may follow STAR and the FILEs; -- ends them.\n"
    "\n"
    "Standard error gets one line on what was kept and dropped, with the answer to\n"
    "magtime's layout question or the -n scale; a line for each file that cannot\n"
    "be read; and a warning when magtime or magphase would not draw all the data.\n"
    "Exit status: 0 when data was written and every FILE read; 1 when an input or\n"
    "the output failed, records came in both layouts, or there was nothing to\n"
    "write; 2 for a usage error.\n";

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

parsed parse_options(int argc, char** argv, std::FILE* err, options* o) {
  *o = {mode::records, nullptr, 0, nullptr, {}, nullptr, argc};
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
      if (*c == 'n') {
        nights = true;
      } else if (*c == 's' || *c == 'o') {
        taken = option_argument(argc, argv, i, c + 1, *c == 's' ? &o->shift_text : &o->output);
        if (taken == 0)
          return usage_error(err, *c == 's' ? "option -s needs a SHIFT" : "option -o needs a FILE",
                             nullptr);
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
  if (nights && o->shift_text != nullptr)
    return usage_error(err, "-n and -s cannot be given together", nullptr);
  if (o->shift_text != nullptr) {
    o->what = mode::phases;
    if (!read_shift(o->shift_text, &o->shift))
      return usage_error(err, "SHIFT must be a decimal number, not", o->shift_text);
  } else {
    o->what = nights ? mode::nights : mode::records;
    if (i >= argc) return usage_error(err, "no STAR given", nullptr);
    o->star_text = argv[i++];
    if (!read_star(o->star_text, &o->star))
      return usage_error(err, "STAR must be one or two words of 1 to 29 characters, not",
                         o->star_text);
  }
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
