// Entry point of magphase: the dialogue on the console.
#include <cstdio>

#include "magphase.h"

int main() { return magphase::magphase_run(stdin, stdout); }
