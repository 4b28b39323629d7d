// Files on Windows: a file is its volume serial number and file index. Names go to the ANSI
// functions, which read them in the same code page as fopen does.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "files.h"

namespace plotcore {

std::FILE* open_data_file(const char* name) {
  // The C library refuses to open a folder here.
  return std::fopen(name, "rb");
}

// The identity of the file `name` leads to, following links; false when there is none.
static bool identify(const char* name, BY_HANDLE_FILE_INFORMATION* info) {
  // No access asked for: the file is only looked at. Backup semantics let a folder open too.
  const HANDLE h = CreateFileA(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(h, info) != 0;
  CloseHandle(h);
  return known;
}

bool same_file(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION ia, ib;
  if (!identify(a, &ia) || !identify(b, &ib)) return false;
  return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

}  // namespace plotcore
