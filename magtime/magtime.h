// The light-curve program: magnitude against hour of day, from VSOLJ or VSNET files.
#pragma once

#include <cstdio>

namespace magtime {

/// Runs the whole dialogue: answers come from `in`, everything shown goes to `out`.
/// Returns the process exit status.
int magtime_run(std::FILE* in, std::FILE* out);

/// Runs magtime for its command line: `--help` or `--version` alone are answered on `out`, any
/// other command line runs the dialogue with its arguments ignored. Returns the exit status.
int magtime_main(int argc, const char* const* argv, std::FILE* in, std::FILE* out);

}  // namespace magtime
