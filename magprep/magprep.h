// The filter that turns posted observation reports and phase lists into data files for magtime
// and magphase.
#pragma once

#include <cstdio>

#include "workspace.h"

namespace magprep {

/// Runs magprep with its command line: reads the files named in `argv` (or `in`), writes the
/// data to `out` and every message to `err`, keeping the records in `work`. Returns the exit
/// status: 0 when data was written, 1 when an input or `out` failed or there was nothing to
/// write, 2 for a usage error.
int magprep_run(int argc, char** argv, std::FILE* in, std::FILE* out, std::FILE* err,
                workspace* work);

}  // namespace magprep
