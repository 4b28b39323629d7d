// Fuzz target: magprep's whole run on a fuzzed command line and a fuzzed input. The part before
// the separator is the command line, one argument a line; the data file "d" is also standard
// input, so both a FILE operand and "-" read it. -o writes into the scratch folder. A period
// search (-f) is left out: its time grows with records times trials, to seconds by design, and
// its numbers are covered by the generated light curves of the unit tests.
#include <cstdlib>
#include <cstring>

#include "dialogue_input.h"
#include "magprep/magprep.h"

namespace {

constexpr int max_args = 24;
constexpr int max_arg_bytes = 4096;

int run_command_line(std::FILE* in, std::FILE* out) {
  static char text[max_arg_bytes];
  const size_t n = std::fread(text, 1, sizeof text - 1, in);
  text[n] = '\0';
  char* argv[max_args + 1] = {const_cast<char*>("magprep")};
  int argc = 1;
  for (char* line = text; argc < max_args && line < text + n;) {
    char* end = std::strchr(line, '\n');
    if (end != nullptr) *end = '\0';
    argv[argc++] = line;
    if (end == nullptr) break;
    line = end + 1;
  }
  argv[argc] = nullptr;
  for (int i = 1; i < argc; ++i)
    if (argv[i][0] == '-' && argv[i][1] != '-' && std::strchr(argv[i], 'f') != nullptr) return 0;
  std::FILE* data = std::fopen(fuzz::data_name, "rb");
  if (data == nullptr) std::abort();
  static magprep::workspace work;  // as main keeps it
  const int status = magprep::magprep_run(argc, argv, data, out, out, &work);
  std::fclose(data);
  return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int status = fuzz::run_dialogue(data, size, run_command_line);
  if (status < 0 || status > 2) std::abort();
  return 0;
}
