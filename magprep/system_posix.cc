// What magprep asks of Linux and other POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "system.h"

namespace magprep {

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

std::FILE* create_new_file(const char* name) {
  const int fd = open(name, O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "w");
  if (f == nullptr) close(fd);
  return f;
}

bool replace_file(const char* from, const char* to) { return std::rename(from, to) == 0; }

}  // namespace magprep
