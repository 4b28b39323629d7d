// Files on Linux and other POSIX systems: a file is its device and inode number.
#include <sys/stat.h>

#include "files.h"

namespace plotcore {

std::FILE* open_data_file(const char* name) {
  std::FILE* f = std::fopen(name, "rb");
  if (f == nullptr) return nullptr;
  // Asked of the open file, so the answer is about the file that would be read.
  struct stat st;
  if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(f);
    return nullptr;
  }
  return f;
}

bool same_file(const char* a, const char* b) {
  struct stat sa, sb;
  if (stat(a, &sa) != 0 || stat(b, &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace plotcore
