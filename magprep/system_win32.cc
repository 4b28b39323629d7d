// What magprep asks of Windows.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "system.h"

// The C runtime expands wildcards in the command line (`magprep.exe UXAlg r*.txt`), as the
// console leaves them to each program.
extern "C" {
int _dowildcard = -1;
}

namespace magprep {

// ---- the file of -o ----

// errno for the last error of a call that named a file.
static int errno_of_last_error() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EACCES;
  }
}

// A stream that writes text on the handle `h` (lines ending in CRLF, as with fopen), which then
// owns it; null when there is none, `h` closed.
static std::FILE* text_stream(HANDLE h) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_TEXT);
  std::FILE* f = fd >= 0 ? _fdopen(fd, "w") : nullptr;
  if (f != nullptr) return f;
  if (fd >= 0)
    _close(fd);
  else
    CloseHandle(h);
  return nullptr;
}

// A device (NUL, CON) or a pipe, written as it is, in text mode as fopen writes.
static output_kind open_in_place(const char* name, output_target* t) {
  const HANDLE h = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    errno = errno_of_last_error();
    return output_kind::failed;
  }
  std::FILE* f = text_stream(h);
  if (f == nullptr) {
    errno = EACCES;
    return output_kind::failed;
  }
  t->stream = f;
  t->id = {true, false, 0, 0};
  return output_kind::in_place;
}

output_kind find_output(const char* name, output_target* t) {
  *t = {};
  t->kind = output_kind::failed;
  const std::size_t len = std::strlen(name);
  if (len >= sizeof t->place) {
    errno = ENAMETOOLONG;
    return output_kind::failed;
  }
  std::memcpy(t->place, name, len + 1);
  // Opened to be asked what it is, with no access to its data: nothing is written or emptied,
  // and FILE_FLAG_BACKUP_SEMANTICS opens a folder too.
  const HANDLE h = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD why = GetLastError();
    if (why != ERROR_FILE_NOT_FOUND && why != ERROR_PATH_NOT_FOUND) {
      errno = errno_of_last_error();
      return output_kind::failed;
    }
    // A folder that is missing shows when the part file cannot be made in it.
    t->kind = output_kind::absent;
    return t->kind;
  }
  const DWORD type = GetFileType(h);
  BY_HANDLE_FILE_INFORMATION info;
  if (type != FILE_TYPE_DISK) {
    CloseHandle(h);
    t->kind = open_in_place(name, t);
    return t->kind;
  }
  if (GetFileInformationByHandle(h, &info) == 0) {
    errno = errno_of_last_error();
    CloseHandle(h);
    return output_kind::failed;
  }
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    t->kind = output_kind::folder;
  } else {
    t->kind = output_kind::regular;
    t->id = {true, true, info.dwVolumeSerialNumber,
             (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  }
  if (t->kind == output_kind::regular && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    // A symbolic link is kept, and the file it leads to replaced, by its drive-letter path.
    char path[MAX_PATH + 8];
    const DWORD n = GetFinalPathNameByHandleA(h, path, MAX_PATH, FILE_NAME_NORMALIZED);
    const char* p = path;
    if (n > 4 && std::strncmp(path, "\\\\?\\", 4) == 0) p += 4;
    if (n == 0 || n >= MAX_PATH || std::strlen(p) >= sizeof t->place) {
      CloseHandle(h);
      errno = ENAMETOOLONG;
      t->kind = output_kind::failed;
      return t->kind;
    }
    std::memcpy(t->place, p, std::strlen(p) + 1);
  }
  CloseHandle(h);
  return t->kind;
}

// ---- the part file, removed when the run is interrupted ----

// The name the console's control handler removes. The one piece of state outside the run's own
// data: the handler is given nothing but the event, so the name must wait for it here. It is
// written whole before `part_armed` is set and the handler added, and not changed until the
// handler is taken away again.
static char part_to_remove[part_name_max];
static volatile LONG part_armed = 0;

// Runs in a thread of its own on Ctrl-C, Ctrl-Break or the console closed. The part file was
// opened with FILE_SHARE_DELETE, so it can be deleted while it is being written: it goes when
// its handle closes, as the process ends. The process ends here, with the status of a Ctrl-C,
// rather than in the system's handler: that one exits through the C runtime, which flushes the
// streams whose locks the main thread may hold (and Wine's ends with status 0).
static BOOL WINAPI remove_part_on_event(DWORD) {
  if (part_armed == 0) return FALSE;
  DeleteFileA(part_to_remove);
  TerminateProcess(GetCurrentProcess(), STATUS_CONTROL_C_EXIT);
  return TRUE;
}

std::FILE* create_part(const output_target& t, char* part, plotcore::file_id* id) {
  // The process number makes a name no other running magprep uses; a file left with that name
  // by an earlier run is passed over, and the next name tried.
  const unsigned long pid = GetCurrentProcessId();
  HANDLE h = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    const int n = attempt == 0 ? std::snprintf(part, part_name_max, "%s.magprep-%lu", t.place, pid)
                               : std::snprintf(part, part_name_max, "%s.magprep-%lu-%d", t.place,
                                               pid, attempt);
    if (n < 0 || n >= part_name_max) {
      errno = ENAMETOOLONG;
      return nullptr;
    }
    h = CreateFileA(part, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (h == INVALID_HANDLE_VALUE) {
    errno = errno_of_last_error();
    return nullptr;
  }
  std::memcpy(part_to_remove, part, std::strlen(part) + 1);
  part_armed = 1;
  SetConsoleCtrlHandler(remove_part_on_event, TRUE);
  BY_HANDLE_FILE_INFORMATION info = {};
  const bool known = GetFileInformationByHandle(h, &info) != 0;
  std::FILE* f = known ? text_stream(h) : nullptr;
  if (!known) CloseHandle(h);
  if (f == nullptr) {
    remove_part(part);
    errno = EACCES;
    return nullptr;
  }
  *id = {true, true, info.dwVolumeSerialNumber,
         (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  return f;
}

// The handler is taken away before the name is cleared, so that it never reads a name half
// changed.
static void disarm() {
  SetConsoleCtrlHandler(remove_part_on_event, FALSE);
  part_armed = 0;
}

bool replace_with_part(const char* part, const output_target& t) {
  // ReplaceFile keeps the attributes and the access rights of the file replaced; a new file, or
  // one that it cannot replace so, is moved into place.
  bool ok =
      t.kind == output_kind::regular &&
      ReplaceFileA(t.place, part, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
  if (!ok) ok = MoveFileExA(part, t.place, MOVEFILE_REPLACE_EXISTING) != 0;
  const int why = ok ? 0 : errno_of_last_error();
  disarm();
  errno = why;
  return ok;
}

void remove_part(const char* part) {
  DeleteFileA(part);
  disarm();
}

}  // namespace magprep
