// Files on Windows: a file on disk is its volume serial number and file index. Names go to the
// ANSI functions, which read them in the same code page as fopen does.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>

#include "files.h"

namespace plotcore {

// Which file the handle `h` has open. Pipes and devices have no file index: they are known,
// and never the same as a file on disk.
static file_id identity_of(HANDLE h) {
  if (GetFileType(h) != FILE_TYPE_DISK) return {true, false, 0, 0};
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(h, &info) == 0) return {};
  return {true, true, info.dwVolumeSerialNumber,
          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::FILE* open_data_file(const char* name, file_id* id) {
  *id = {};
  // The C library refuses to open a folder here.
  std::FILE* f = std::fopen(name, "rb");
  if (f == nullptr) return nullptr;
  *id = identity_of(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f))));
  return f;
}

std::FILE* open_graph_file(const char* name, const file_id& data, graph_open* status) {
  *status = graph_open::failed;
  if (!data.known) return nullptr;
  // OPEN_ALWAYS keeps what the file holds until it is known not to be the data file.
  const HANDLE h = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  const file_id graph = identity_of(h);
  if (!graph.known) {
    CloseHandle(h);
    return nullptr;
  }
  if (graph.on_disk && data.on_disk && graph.volume == data.volume && graph.index == data.index) {
    CloseHandle(h);
    *status = graph_open::is_data;
    return nullptr;
  }
  // The handle stands at the start of the file: ending the file there empties it.
  if (graph.on_disk && SetEndOfFile(h) == 0) {
    CloseHandle(h);
    return nullptr;
  }
  // Text mode, so that lines end in CRLF as with fopen.
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_TEXT);
  if (fd < 0) {
    CloseHandle(h);
    return nullptr;
  }
  std::FILE* g = _fdopen(fd, "w");
  if (g == nullptr) {
    _close(fd);
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
