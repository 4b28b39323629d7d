// What reading a report asks of Windows.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "reports/stream.h"

namespace reports {

void binary_input(std::FILE* f) { _setmode(_fileno(f), _O_BINARY); }

void stream_identity(std::FILE* f, plotcore::file_id* id) {
  *id = {};
  // A handle on a disk file has a path, by which the file is opened again.
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
  if (h == INVALID_HANDLE_VALUE || GetFileType(h) != FILE_TYPE_DISK) return;
  char path[MAX_PATH + 8];
  const DWORD n = GetFinalPathNameByHandleA(h, path, MAX_PATH, FILE_NAME_NORMALIZED);
  if (n == 0 || n >= MAX_PATH) return;
  std::FILE* again = plotcore::open_data_file(path, id);
  if (again != nullptr) std::fclose(again);
}

}  // namespace reports
