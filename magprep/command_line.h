// magprep's command line: its options, --help and the usage message.
#pragma once

#include <cstdio>

namespace magprep {

/// What a run writes: records of STAR for magtime (the default), several nights as X
/// MAGNITUDE pairs for magphase (-n), or a phase list shifted (-s).
enum class mode { records, nights, phases };

/// The command line as read.
struct options {
  mode what;
  const char* shift_text;  ///< the SHIFT as given, null unless -s was given
  long long shift;         ///< the SHIFT in billionths of the phase
  const char* star;        ///< STAR as given; null with -s
  int first_file;          ///< index in argv of the first FILE operand
};

enum class parsed { run, help, version, usage };

/// Reads the command line into `o`. A usage error is said on `err` (with the usage line and
/// where to find help) and comes back as parsed::usage.
parsed parse_options(int argc, char** argv, std::FILE* err, options* o);

/// Writes the --help text to `out`.
void print_help(std::FILE* out);

/// Writes the --version line to `out`.
void print_version(std::FILE* out);

}  // namespace magprep
