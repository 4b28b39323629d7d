// The phase-diagram program: magnitude against phase on a fixed 0.0 to 1.0 axis.
#pragma once

#include <cstdio>

namespace magphase {

/// Runs the whole dialogue: answers come from `in`, everything shown goes to `out`.
/// Returns the process exit status.
int magphase_run(std::FILE* in, std::FILE* out);

}  // namespace magphase
