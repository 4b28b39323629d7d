// Starts a program with its standard input read from a file: stdin_from FILE PROGRAM [ARGS...].
// hyperfine times commands best without a shell, and so without "<"; this sets standard input
// and replaces itself with the program, adding one exec of a small static binary.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: stdin_from FILE PROGRAM [ARGS...]\n", stderr);
    return 2;
  }
  const int fd = open(argv[1], O_RDONLY);
  if (fd < 0 || dup2(fd, 0) < 0) {
    std::perror(argv[1]);
    return 2;
  }
  close(fd);
  execvp(argv[2], argv + 2);
  std::perror(argv[2]);
  return 2;
}
