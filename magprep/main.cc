// Entry point of magprep: the command line and the three standard streams.
#include <cstdio>

#include "magprep.h"

int main(int argc, char** argv) { return magprep::magprep_run(argc, argv, stdin, stdout, stderr); }
