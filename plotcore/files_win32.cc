// Files on Windows: a file on disk is its volume serial number and file index. Names go to the
// ANSI functions, which read them in the same code page as fopen does.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "files.h"

namespace plotcore {

// Which file the handle `h` has open. Pipes and devices have no file index: they are known,
// and never the same as a file on disk. A type that cannot be asked leaves the file unknown.
static file_id identity_of(HANDLE h) {
  const DWORD type = GetFileType(h);
  if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) return {};
  if (type != FILE_TYPE_DISK) return {true, false, 0, 0};
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(h, &info) == 0) return {};
  return {true, true, info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

static HANDLE handle_of(const held_file& hold) { return reinterpret_cast<HANDLE>(hold.handle); }

std::FILE* open_data_file(const char* name, file_id* id, held_file* hold) {
  *id = {};
  if (hold == nullptr) {
    // The C library refuses to open a folder here.
    std::FILE* f = std::fopen(name, "rb");
    if (f == nullptr) return nullptr;
    *id = identity_of(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))));
    return f;
  }
  *hold = {false, 0};
  // Every kind of sharing, so that neither the stream nor the held handle keeps other programs
  // from reading, writing, renaming or deleting the file. A folder is not opened without
  // FILE_FLAG_BACKUP_SEMANTICS.
  const HANDLE h =
      CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD why = GetLastError();
    errno = why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND ? ENOENT : EACCES;
    return nullptr;
  }
  const file_id opened = identity_of(h);
  // The held handle is a second handle of the same open file; without it the file would not be
  // protected as promised, so its identity stays unknown and no save goes ahead.
  HANDLE second = INVALID_HANDLE_VALUE;
  if (opened.on_disk && DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &second, 0,
                                        FALSE, DUPLICATE_SAME_ACCESS) == 0)
    second = INVALID_HANDLE_VALUE;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
  std::FILE* f = nullptr;
  if (fd < 0)
    CloseHandle(h);
  else if ((f = _fdopen(fd, "rb")) == nullptr)
    _close(fd);
  if (f == nullptr) {
    if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
    errno = EACCES;
    return nullptr;
  }
  if (!opened.on_disk || second != INVALID_HANDLE_VALUE) *id = opened;
  if (second != INVALID_HANDLE_VALUE) *hold = {true, reinterpret_cast<std::intptr_t>(second)};
  return f;
}

void release_file(held_file* hold) {
  if (!hold->open) return;
  CloseHandle(handle_of(*hold));
  *hold = {false, 0};
}

// Reads `n` bytes at `at`; false when the file ends first or a read fails. A read at an offset
// also moves the handle's file pointer.
static bool read_at(HANDLE h, unsigned char* buf, DWORD n, std::uint64_t at) {
  DWORD got = 0;
  while (got < n) {
    OVERLAPPED where = {};
    const std::uint64_t from = at + got;
    where.Offset = static_cast<DWORD>(from);
    where.OffsetHigh = static_cast<DWORD>(from >> 32);
    DWORD r = 0;
    if (ReadFile(h, buf + got, n - got, &r, &where) == 0 || r == 0) return false;
    got += r;
  }
  return true;
}

// Whether the file `h` holds the bytes of the held file as it is now: 1 yes, 0 no, -1 when that
// cannot be told. Compared block by block, so a file of any size fits fixed buffers.
static int holds_data(HANDLE h, bool readable, HANDLE held) {
  LARGE_INTEGER size;
  LARGE_INTEGER data;
  if (GetFileSizeEx(h, &size) == 0 || GetFileSizeEx(held, &data) == 0) return -1;
  // An empty file holds nothing to lose.
  if (size.QuadPart == 0 || size.QuadPart != data.QuadPart) return 0;
  if (!readable) return -1;
  unsigned char a[4096];
  unsigned char b[4096];
  const std::uint64_t total = static_cast<std::uint64_t>(size.QuadPart);
  for (std::uint64_t at = 0; at < total;) {
    const std::uint64_t left = total - at;
    const DWORD n = left < sizeof a ? static_cast<DWORD>(left) : static_cast<DWORD>(sizeof a);
    if (!read_at(h, a, n, at) || !read_at(held, b, n, at)) return -1;
    if (std::memcmp(a, b, n) != 0) return 0;
    at += n;
  }
  return 1;
}

std::FILE* open_graph_file(const char* name, const file_id& data, const held_file& held,
                           graph_open* status) {
  *status = graph_open::failed;
  if (!data.known) return nullptr;
  // OPEN_ALWAYS keeps what the file holds until it is known not to be the data file, and says
  // whether it created the file. Read access is asked for to compare the file with the data;
  // a file (or a device such as CON) that cannot be opened so is opened for writing alone.
  bool readable = true;
  HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    readable = false;
    h = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
  const file_id graph = identity_of(h);
  graph_open refusal = graph_open::failed;
  if (graph.known) {
    refusal = graph_open::ok;
    if (graph.on_disk && data.on_disk && graph.volume == data.volume && graph.index == data.index) {
      refusal = graph_open::is_data;
    } else if (graph.on_disk && !created && held.open) {
      // Another view of the data file (a drive letter and the UNC name of one share) may have
      // another identity but has the same bytes, and so has a copy: neither is replaced.
      const int same = holds_data(h, readable, handle_of(held));
      if (same != 0) refusal = same > 0 ? graph_open::is_data : graph_open::failed;
    }
  }
  // The comparison moved the file pointer; writing starts at the beginning.
  LARGE_INTEGER start = {};
  if (refusal == graph_open::ok && graph.on_disk &&
      SetFilePointerEx(h, start, nullptr, FILE_BEGIN) == 0)
    refusal = graph_open::failed;
  int fd = -1;
  std::FILE* g = nullptr;
  if (refusal == graph_open::ok) {
    // Text mode, so that lines end in CRLF as with fopen.
    fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_TEXT);
    if (fd >= 0) g = _fdopen(fd, "w");
    // The handle stands at the start of the file: ending the file there empties it, last, once
    // nothing else can fail.
    if (g == nullptr || (graph.on_disk && SetEndOfFile(h) == 0)) refusal = graph_open::failed;
  }
  if (refusal != graph_open::ok) {
    if (g != nullptr)
      std::fclose(g);
    else if (fd >= 0)
      _close(fd);
    else
      CloseHandle(h);
    // Nobody could rename or delete the file while it was open without FILE_SHARE_DELETE, so
    // the name still led to the file this save created.
    if (created) DeleteFileA(name);
    *status = refusal;
    return nullptr;
  }
  *status = graph_open::ok;
  return g;
}

bool is_terminal(std::FILE* f) {
  DWORD mode;
  return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))), &mode) != 0;
}

}  // namespace plotcore
