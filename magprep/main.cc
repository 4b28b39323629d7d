// Entry point of magprep: the command line, the three standard streams and the tables.
#include <cstdio>

#include "magprep.h"

int main(int argc, char** argv) {
  // Static storage: too large for the stack, and its pages are mapped only when a mode first
  // writes them, so a small report costs no more memory than before.
  static magprep::workspace work;
  return magprep::magprep_run(argc, argv, stdin, stdout, stderr, &work);
}
