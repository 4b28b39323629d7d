// Fuzz target: magphase's whole dialogue on fuzzed answers and a fuzzed data file.
#include <cstdlib>

#include "dialogue_input.h"
#include "magphase/magphase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int status = fuzz::run_dialogue(data, size, magphase::magphase_run);
  if (status != 0 && status != 1) std::abort();
  return 0;
}
