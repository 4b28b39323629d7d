// What magprep asks of Windows.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdio>

#include "system.h"

// The C runtime expands wildcards in the command line (`magprep.exe UXAlg r*.txt`), as the
// console leaves them to each program.
extern "C" {
int _dowildcard = -1;
}

namespace magprep {

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

std::FILE* create_new_file(const char* name) {
  const int fd = _open(name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEXT, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* f = _fdopen(fd, "w");
  if (f == nullptr) _close(fd);
  return f;
}

bool replace_file(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace magprep
