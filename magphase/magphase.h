// The phase-diagram program: magnitude against phase on a fixed 0.0 to 1.0 axis.
#pragma once

#include <cstdio>

namespace magphase {

/// Runs the whole dialogue: answers come from `in`, everything shown goes to `out`.
/// Returns the process exit status.
int magphase_run(std::FILE* in, std::FILE* out);

/// Runs magphase for its command line: `--help` or `--version` alone are answered on `out`, any
/// other command line runs the dialogue with its arguments ignored. Returns the exit status.
int magphase_main(int argc, const char* const* argv, std::FILE* in, std::FILE* out);

}  // namespace magphase
