// The command line of the plotters: --help and --version alone, every other one ignored.
#include "arguments.h"

#include <cstring>

#ifndef MAGPLOT_VERSION
#define MAGPLOT_VERSION "unknown"
#endif

namespace plotcore {

// The same bytes on every platform: the Windows build names its manual as a text file.
static void print_help(const about& a, std::FILE* out) {
  std::fprintf(out, "Usage: %s\n", a.name);
  std::fputs(a.description, out);
  std::fputs(
      "\n"
      "  --help     show this help and exit\n"
      "  --version  show the version and exit\n"
      "With any other arguments the questions are asked as without them.\n"
      "\n",
      out);
  std::fprintf(out, "The manual: man %s (on Windows, %s.txt beside %s.exe).\n", a.name, a.name,
               a.name);
}

bool answer_arguments(int argc, const char* const* argv, const about& a, std::FILE* out,
                      int* status) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--help") == 0) {
    print_help(a, out);
  } else if (std::strcmp(argv[1], "--version") == 0) {
    std::fprintf(out, "%s (magplot) " MAGPLOT_VERSION "\n", a.name);
  } else {
    return false;
  }
  *status = std::fflush(out) == 0 && !std::ferror(out) ? 0 : 1;
  return true;
}

}  // namespace plotcore
