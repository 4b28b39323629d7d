// The command line of the plotters: they need no arguments, and answer --help and --version.
#pragma once

#include <cstdio>

namespace plotcore {

/// What a plotter says of itself for --help.
struct about {
  const char* name;         ///< the program's name, "magtime"
  const char* description;  ///< what it draws and what it asks: whole lines, each ending in '\n'
};

/// Answers a command line of `--help` or `--version` alone: writes the usage of `a` or its
/// version line to `out`, sets `*status` to the exit status (0, or 1 when `out` could not be
/// written) and returns true. Any other command line, none included, returns false and leaves
/// `*status` alone: the dialogue runs, and the arguments are ignored.
bool answer_arguments(int argc, const char* const* argv, const about& a, std::FILE* out,
                      int* status);

}  // namespace plotcore
