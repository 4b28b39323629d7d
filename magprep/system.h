// What magprep asks of the system that each platform answers in its own way: binary standard
// input, which file a stream reads, and the output file put in place whole.
#pragma once

#include <cstdio>

#include "plotcore/files.h"

namespace magprep {

/// Reads `f` byte for byte from now on (on Windows, a Ctrl-Z byte no longer ends it).
void binary_input(std::FILE* f);

/// Which file the open stream `f` reads, as plotcore's open_data_file tells it; `id` is not
/// known when the platform cannot tell.
void stream_identity(std::FILE* f, plotcore::file_id* id);

/// Creates the file `name` for writing text, failing when it exists already.
std::FILE* create_new_file(const char* name);

/// Puts the file `from` in the place of `to`, replacing what `to` held; false when it cannot.
bool replace_file(const char* from, const char* to);

}  // namespace magprep
