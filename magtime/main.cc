// Entry point of magtime: the command line and the console.
#include <cstdio>

#include "magtime.h"

int main(int argc, char** argv) { return magtime::magtime_main(argc, argv, stdin, stdout); }
