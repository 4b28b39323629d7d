// Runs one program's whole dialogue on a fuzz input: answers, a separator line, a data file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace fuzz {

/// The line between the answers and the data file's bytes in a fuzz input.
constexpr char separator[] = "\n===\n";

/// The name under which the data file is written; the answers name it to read it.
constexpr char data_name[] = "d";

/// Splits `data` at the first separator into answers and data file bytes (no separator: all
/// answers, empty data file), writes the data file into a fresh scratch folder under /tmp, and
/// runs `run` there with the answers as its input and a sink that drops everything as its
/// output. Every "/" and "\" in the answers becomes "_", so each file the dialogue opens or
/// writes lies in the scratch folder, which is emptied and removed afterwards. Aborts on a
/// failure of the harness itself; returns the dialogue's exit status.
int run_dialogue(const uint8_t* data, size_t size, int (*run)(std::FILE* in, std::FILE* out));

}  // namespace fuzz
