// Entry point of magtime: the dialogue on the console.
#include <cstdio>

#include "magtime.h"

int main() { return magtime::magtime_run(stdin, stdout); }
