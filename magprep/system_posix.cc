// What magprep asks of Linux and other POSIX systems.
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "system.h"

namespace magprep {

// ---- the file of -o ----

static plotcore::file_id identity_of(const struct stat& st) {
  return {true, S_ISREG(st.st_mode), static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino)};
}

// A device or a fifo, written as it is. Opened without waiting: a fifo that nobody reads fails
// (ENXIO) instead of waiting for a reader for ever; a terminal does not become the program's.
static output_kind open_in_place(const char* name, bool fifo, output_target* t) {
  const int fd = open(name, O_WRONLY | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return errno == ENXIO && fifo ? output_kind::no_reader : output_kind::failed;
  struct stat st;
  std::FILE* f = nullptr;
  if (fstat(fd, &st) != 0) {
    // errno says why
  } else if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)) {
    errno = EAGAIN;  // the name was given to a file or a folder meanwhile
  } else {
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) f = fdopen(fd, "w");
  }
  if (f == nullptr) {
    const int why = errno;
    close(fd);
    errno = why;
    return output_kind::failed;
  }
  t->stream = f;
  t->id = identity_of(st);
  return output_kind::in_place;
}

// The file that standard output or standard error writes (`fd`), reached through a link such as
// /dev/stdout: written through the descriptor itself, as the program's own output is, where it
// stands (at the end, when the shell appends), and never replaced.
static output_kind write_descriptor(int fd, const struct stat& st, output_target* t) {
  const int copy = dup(fd);
  std::FILE* f = copy >= 0 ? fdopen(copy, "w") : nullptr;
  if (f == nullptr) {
    const int why = errno;
    if (copy >= 0) close(copy);
    errno = why;
    return output_kind::failed;
  }
  t->stream = f;
  t->id = identity_of(st);
  return output_kind::in_place;
}

static bool same_file(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

output_kind find_output(const char* name, output_target* t) {
  *t = {};
  t->kind = output_kind::failed;
  static_assert(PATH_MAX <= place_max, "a resolved name must fit");
  const std::size_t len = std::strlen(name);
  if (len >= sizeof t->place) {
    errno = ENAMETOOLONG;
    return output_kind::failed;
  }
  std::memcpy(t->place, name, len + 1);
  // The name itself first: rename replaces what the name holds, so a link is not the file.
  struct stat st;
  if (lstat(name, &st) != 0) {
    if (errno != ENOENT) return output_kind::failed;
    t->kind = output_kind::absent;
    return t->kind;
  }
  if (S_ISLNK(st.st_mode)) {
    // A link is kept, and what it leads to is written: a file on disk is replaced by its own
    // name, unless standard output or error writes it (/dev/stdout leads to the file, the pipe
    // or the terminal that standard output is). A link that leads nowhere is replaced by the
    // new file.
    if (stat(name, &st) != 0) {
      if (errno != ENOENT) return output_kind::failed;
      t->kind = output_kind::absent;
      return t->kind;
    }
    if (S_ISREG(st.st_mode)) {
      static constexpr int written[2] = {STDOUT_FILENO, STDERR_FILENO};
      for (const int fd : written) {
        struct stat standard;
        if (fstat(fd, &standard) == 0 && same_file(standard, st)) {
          t->kind = write_descriptor(fd, st, t);
          return t->kind;
        }
      }
      if (realpath(name, t->place) == nullptr) return output_kind::failed;
    }
  }
  if (S_ISDIR(st.st_mode)) {
    t->kind = output_kind::folder;
  } else if (S_ISBLK(st.st_mode)) {
    t->kind = output_kind::disk;
  } else if (S_ISREG(st.st_mode)) {
    t->kind = output_kind::regular;
    t->id = identity_of(st);
    t->mode = static_cast<std::uint32_t>(st.st_mode & 07777);
    t->owner = static_cast<std::int64_t>(st.st_uid);
    t->group = static_cast<std::int64_t>(st.st_gid);
  } else {
    t->kind = open_in_place(name, S_ISFIFO(st.st_mode), t);
  }
  return t->kind;
}

// ---- the part file, removed when the run is interrupted ----

// The name a signal handler removes. The one piece of state outside the run's own data: a
// handler is given nothing but the signal's number, so the name must wait for it here. It is
// written whole while the signals are blocked, before `part_armed` is set, and not changed
// until `part_armed` is cleared, again with the signals blocked.
static char part_to_remove[part_name_max];
static volatile sig_atomic_t part_armed = 0;

extern "C" void remove_part_on_signal(int sig) {
  // unlink and raise are async-signal-safe. The handler was reset on entry (SA_RESETHAND), so
  // the signal raised again ends the program as it would have without the handler.
  if (part_armed) unlink(part_to_remove);
  raise(sig);
}

static constexpr int part_signals[3] = {SIGINT, SIGTERM, SIGHUP};

static sigset_t blocked_signals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int sig : part_signals) sigaddset(&set, sig);
  return set;
}

// Installs the handler for each signal the program does not ignore (nohup ignores SIGHUP, a
// shell SIGINT for a program it starts in the background: those stay ignored).
static void install_handlers() {
  struct sigaction act;
  std::memset(&act, 0, sizeof act);
  act.sa_handler = remove_part_on_signal;
  act.sa_mask = blocked_signals();
  act.sa_flags = SA_RESETHAND;
  for (const int sig : part_signals) {
    struct sigaction old;
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler != SIG_IGN)
      sigaction(sig, &act, nullptr);
  }
}

std::FILE* create_part(const output_target& t, char* part, plotcore::file_id* id) {
  // The process number makes a name no other running magprep uses; a file left with that name
  // by an earlier run (one that was killed) is passed over, and the next name tried.
  const long pid = static_cast<long>(getpid());
  const sigset_t set = blocked_signals();
  sigset_t old;
  sigprocmask(SIG_BLOCK, &set, &old);
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    const int n = attempt == 0 ? std::snprintf(part, part_name_max, "%s.magprep-%ld", t.place, pid)
                               : std::snprintf(part, part_name_max, "%s.magprep-%ld-%d", t.place,
                                               pid, attempt);
    if (n < 0 || n >= part_name_max) {
      errno = ENAMETOOLONG;
      break;
    }
    // Private until it is given the permissions of the file it replaces.
    fd = open(part, O_WRONLY | O_CREAT | O_EXCL, t.kind == output_kind::regular ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  const int why = errno;
  if (fd >= 0) {
    std::memcpy(part_to_remove, part, std::strlen(part) + 1);
    part_armed = 1;
    install_handlers();
  }
  sigprocmask(SIG_SETMASK, &old, nullptr);
  if (fd < 0) {
    errno = why;
    return nullptr;
  }
  struct stat st;
  bool ok = fstat(fd, &st) == 0;
  if (ok && t.kind == output_kind::regular) {
    // The owner first, since a change of owner clears the set-user-ID and set-group-ID bits.
    // Only root may give the file another owner; anyone may give it a group of their own.
    const uid_t owner = static_cast<uid_t>(t.owner);
    const gid_t group = static_cast<gid_t>(t.group);
    // Keeping the group alone is the best a user may do; where even that is refused the new file
    // keeps the user's own group, as an editor's would.
    if ((st.st_uid != owner || st.st_gid != group) && fchown(fd, owner, group) != 0 &&
        fchown(fd, static_cast<uid_t>(-1), group) != 0)
      errno = 0;
    ok = fchmod(fd, static_cast<mode_t>(t.mode)) == 0;
  }
  std::FILE* f = ok ? fdopen(fd, "w") : nullptr;
  if (f == nullptr) {
    const int failed = errno;
    close(fd);
    remove_part(part);
    errno = failed;
    return nullptr;
  }
  *id = identity_of(st);
  return f;
}

bool replace_with_part(const char* part, const output_target& t) {
  const sigset_t set = blocked_signals();
  sigset_t old;
  sigprocmask(SIG_BLOCK, &set, &old);
  const bool ok = std::rename(part, t.place) == 0;
  const int why = errno;
  part_armed = 0;
  sigprocmask(SIG_SETMASK, &old, nullptr);
  errno = why;
  return ok;
}

void remove_part(const char* part) {
  const sigset_t set = blocked_signals();
  sigset_t old;
  sigprocmask(SIG_BLOCK, &set, &old);
  unlink(part);
  part_armed = 0;
  sigprocmask(SIG_SETMASK, &old, nullptr);
}

}  // namespace magprep
