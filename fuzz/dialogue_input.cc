// Runs one program's whole dialogue on a fuzz input: answers, a separator line, a data file.
#include "dialogue_input.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace fuzz {

static void check(bool ok, const char* what) {
  if (ok) return;
  std::perror(what);
  std::abort();
}

static ssize_t drop(void*, const char*, size_t n) { return static_cast<ssize_t>(n); }

// Removes every file the dialogue left in the current folder.
static void empty_folder() {
  DIR* d = opendir(".");
  check(d != nullptr, "opendir");
  while (const dirent* e = readdir(d)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    check(unlink(e->d_name) == 0, "unlink");
  }
  closedir(d);
}

int run_dialogue(const uint8_t* data, size_t size, int (*run)(std::FILE* in, std::FILE* out)) {
  const size_t sep_len = sizeof separator - 1;
  size_t answers_len = size;
  for (size_t i = 0; i + sep_len <= size; ++i) {
    if (std::memcmp(data + i, separator, sep_len) == 0) {
      answers_len = i;
      break;
    }
  }
  const size_t data_at = answers_len < size ? answers_len + sep_len : size;

  // Keep every name the dialogue sees inside the scratch folder.
  std::vector<char> answers(data, data + answers_len);
  for (char& c : answers)
    if (c == '/' || c == '\\') c = '_';

  // The scratch folder belongs to this process; libFuzzer's own files use the caller's folder,
  // which is restored before this returns.
  char scratch[64];
  std::snprintf(scratch, sizeof scratch, "/tmp/magplot-fuzz.%ld", static_cast<long>(getpid()));
  check(mkdir(scratch, 0700) == 0 || errno == EEXIST, "mkdir");
  const int home = open(".", O_RDONLY | O_DIRECTORY);
  check(home >= 0, "open .");
  check(chdir(scratch) == 0, "chdir");

  std::FILE* f = std::fopen(data_name, "wb");
  check(f != nullptr, "data file");
  check(std::fwrite(data + data_at, 1, size - data_at, f) == size - data_at, "fwrite");
  check(std::fclose(f) == 0, "fclose");

  // fmemopen refuses an empty buffer; an empty answer list reads as an empty file.
  std::FILE* in = answers.empty() ? std::fopen("/dev/null", "r")
                                  : fmemopen(answers.data(), answers.size(), "r");
  check(in != nullptr, "answers");
  std::FILE* out =
      fopencookie(nullptr, "w", cookie_io_functions_t{nullptr, drop, nullptr, nullptr});
  check(out != nullptr, "sink");

  const int status = run(in, out);

  std::fclose(in);
  std::fclose(out);
  empty_folder();
  check(fchdir(home) == 0, "fchdir");
  close(home);
  check(rmdir(scratch) == 0, "rmdir");
  return status;
}

}  // namespace fuzz
