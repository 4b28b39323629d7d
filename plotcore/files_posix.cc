// Files on Linux and other POSIX systems: a file is its device and inode number.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files.h"

namespace plotcore {

static file_id identity_of(const struct stat& st) {
  return {true, S_ISREG(st.st_mode), static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino)};
}

static bool same_file(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::FILE* open_data_file(const char* name, file_id* id, held_file* hold) {
  *id = {};
  if (hold != nullptr) *hold = {false, -1};
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
  if (hold != nullptr && S_ISREG(st.st_mode)) {
    // A second descriptor of the same open file outlives the stream. Without it the file would
    // not be protected as promised, so its identity counts as unknown and no save goes ahead.
    const int fd = dup(fileno(f));
    if (fd < 0) return f;
    *hold = {true, fd};
  }
  *id = identity_of(st);
  return f;
}

void release_file(held_file* hold) {
  if (!hold->open) return;
  close(static_cast<int>(hold->handle));
  *hold = {false, -1};
}

// Reads `n` bytes at `at`; false when the file ends first or a read fails.
static bool read_at(int fd, unsigned char* buf, size_t n, off_t at) {
  size_t got = 0;
  while (got < n) {
    const ssize_t r = pread(fd, buf + got, n - got, at + static_cast<off_t>(got));
    if (r <= 0) return false;
    got += static_cast<size_t>(r);
  }
  return true;
}

// Whether the regular file `name`, open with status `st`, holds the bytes of the held
// file as it is now: 1 yes, 0 no, -1 when that cannot be told. The two files are compared block
// by block, so a file of any size is compared in fixed buffers.
static int holds_data(const char* name, const struct stat& st, int held) {
  struct stat data;
  if (fstat(held, &data) != 0) return -1;
  if (data.st_size != st.st_size) return 0;
  // The graph file is open for writing only: it is read through a second open of its name,
  // which must lead to the same file.
  const int reader = open(name, O_RDONLY | O_NONBLOCK);
  if (reader < 0) return -1;
  struct stat again;
  int same = -1;
  if (fstat(reader, &again) == 0 && same_file(again, st)) {
    unsigned char a[4096];
    unsigned char b[4096];
    same = 1;
    for (off_t at = 0; at < st.st_size && same == 1;) {
      const off_t left = st.st_size - at;
      const size_t n = left < static_cast<off_t>(sizeof a) ? static_cast<size_t>(left) : sizeof a;
      if (!read_at(reader, a, n, at) || !read_at(held, b, n, at))
        same = -1;
      else if (std::memcmp(a, b, n) != 0)
        same = 0;
      at += static_cast<off_t>(n);
    }
  }
  close(reader);
  return same;
}

// Takes back a file this save created and then refused, if its name still leads to it.
static void remove_created(const char* name, int fd) {
  struct stat mine;
  struct stat named;
  if (fstat(fd, &mine) == 0 && stat(name, &named) == 0 && same_file(mine, named)) unlink(name);
}

std::FILE* open_graph_file(const char* name, const file_id& data, const held_file& held,
                           graph_open* status) {
  *status = graph_open::failed;
  if (!data.known) return nullptr;
  // Created exclusively first, so that a refused save knows whether the file is its own to
  // remove; an existing file is opened without O_TRUNC, and nothing is emptied until it is
  // known not to be the data. O_NONBLOCK: a fifo that nobody reads fails here (ENXIO) instead
  // of waiting for a reader for ever.
  bool created = true;
  int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_NONBLOCK, 0666);
  if (fd < 0 && errno == EEXIST) {
    created = false;
    fd = open(name, O_WRONLY | O_CREAT | O_NONBLOCK, 0666);
  }
  if (fd < 0) return nullptr;
  struct stat st;
  graph_open refusal = graph_open::failed;
  if (fstat(fd, &st) == 0) {
    const file_id graph = identity_of(st);
    refusal = graph_open::ok;
    if (graph.volume == data.volume && graph.index == data.index) {
      refusal = graph_open::is_data;
    } else if (S_ISREG(st.st_mode) && !created && st.st_size > 0 && held.open) {
      // Another view of the data file (an overlay, a second mount of one share) has another
      // identity but the same bytes, and so does a copy: neither is replaced.
      const int same = holds_data(name, st, static_cast<int>(held.handle));
      if (same != 0) refusal = same > 0 ? graph_open::is_data : graph_open::failed;
    }
  }
  std::FILE* g = nullptr;
  if (refusal == graph_open::ok) {
    // Written as a blocking file from here on.
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) g = fdopen(fd, "w");
    if (g == nullptr) refusal = graph_open::failed;
  }
  // Emptied last, once nothing else can fail; a device or a fifo is written as it is.
  if (g != nullptr && S_ISREG(st.st_mode) && ftruncate(fd, 0) != 0) refusal = graph_open::failed;
  if (refusal != graph_open::ok) {
    if (created) remove_created(name, fd);
    if (g != nullptr)
      std::fclose(g);
    else
      close(fd);
    *status = refusal;
    return nullptr;
  }
  *status = graph_open::ok;
  return g;
}

bool is_terminal(std::FILE* f) { return isatty(fileno(f)) != 0; }

}  // namespace plotcore
