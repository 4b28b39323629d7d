// What reading a file asks of the system that each platform answers in its own way: bytes as
// they are, and which file a stream reads.
#pragma once

#include <cstdio>

#include "plotcore/files.h"

namespace reports {

/// Reads `f` byte for byte from now on (on Windows, a Ctrl-Z byte no longer ends it).
void binary_input(std::FILE* f);

/// Which file the open stream `f` reads, as plotcore's open_data_file tells it; `id` is not
/// known when the platform cannot tell.
void stream_identity(std::FILE* f, plotcore::file_id* id);

}  // namespace reports
