// What reading a report asks of Linux and other POSIX systems.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "reports/stream.h"

namespace reports {

void binary_input(std::FILE*) {}

void stream_identity(std::FILE* f, plotcore::file_id* id) {
  *id = {};
  // Only a regular file can be the output file. Another is not opened again: a pipe whose
  // writer has gone would make that wait for ever.
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return;
  // The descriptor opened again by its name in /dev/fd is the same file.
  char name[32];
  std::snprintf(name, sizeof name, "/dev/fd/%d", fileno(f));
  std::FILE* again = plotcore::open_data_file(name, id);
  if (again != nullptr) std::fclose(again);
}

}  // namespace reports
