// Files on Linux and other POSIX systems: a file is its device and inode number.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files.h"

namespace plotcore {

static file_id identity_of(const struct stat& st) {
  return {true, S_ISREG(st.st_mode), static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino)};
}

std::FILE* open_data_file(const char* name, file_id* id) {
  *id = {};
  std::FILE* f = std::fopen(name, "rb");
  if (f == nullptr) return nullptr;
  // Asked of the open file, so the answer is about the file that is read, whatever happens to
  // its name later.
  struct stat st;
  if (fstat(fileno(f), &st) != 0) return f;
  if (S_ISDIR(st.st_mode)) {
    std::fclose(f);
    errno = EISDIR;
    return nullptr;
  }
  *id = identity_of(st);
  return f;
}

std::FILE* open_graph_file(const char* name, const file_id& data, graph_open* status) {
  *status = graph_open::failed;
  if (!data.known) return nullptr;
  // Opened without O_TRUNC: nothing is emptied until the open file is known not to be the data.
  const int fd = open(name, O_WRONLY | O_CREAT, 0666);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0) {
    close(fd);
    return nullptr;
  }
  const file_id graph = identity_of(st);
  if (graph.volume == data.volume && graph.index == data.index) {
    close(fd);
    *status = graph_open::is_data;
    return nullptr;
  }
  // Only a regular file holds anything to replace; a device or a fifo is written as it is.
  if (S_ISREG(st.st_mode) && ftruncate(fd, 0) != 0) {
    close(fd);
    return nullptr;
  }
  std::FILE* g = fdopen(fd, "w");
  if (g == nullptr) {
    close(fd);
    return nullptr;
  }
  *status = graph_open::ok;
  return g;
}

bool is_terminal(std::FILE* f) { return isatty(fileno(f)) != 0; }

}  // namespace plotcore
