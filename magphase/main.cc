// Entry point of magphase: the command line and the console.
#include <cstdio>

#include "magphase.h"

int main(int argc, char** argv) { return magphase::magphase_main(argc, argv, stdin, stdout); }
