// Opening data files and telling whether two names lead to one file: the few things about files
// that each platform answers in its own way.
#pragma once

#include <cstdio>

namespace plotcore {

/// Opens a data file for reading, byte for byte. Null when it cannot be opened, and for a folder
/// on every platform (Linux would open one and fail only when it is read).
std::FILE* open_data_file(const char* name);

/// True when both names lead to one file on disk, whatever the spelling, link or letter case;
/// false when either names no existing file or cannot be looked at.
bool same_file(const char* a, const char* b);

}  // namespace plotcore
