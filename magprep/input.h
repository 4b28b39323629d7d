// magprep's input: the FILE operands (or standard input) read one after the other as one
// stream of words, and the window of the last words read in which records are found.
#pragma once

#include <cstdio>

#include "plotcore/words.h"
#include "record.h"

namespace magprep {

/// The files of a run, read in turn; a file's end also ends a word.
struct input {
  plotcore::byte_source src;
  int argc;
  char** argv;
  int next;          ///< the next FILE operand in argv
  bool reading;      ///< src is open on a file or `in`
  const char* name;  ///< what src reads, for messages
  std::FILE* in;
  std::FILE* err;
  bool failed;  ///< a file could not be opened or read (and `err` said so)
};

/// Starts reading the FILE operands from argv[first_file] on; none means `in` alone. Files that
/// cannot be opened or read are named on `err` as they come.
void start_input(input& s, int argc, char** argv, int first_file, std::FILE* in, std::FILE* err);

/// The next word of the whole input into `w`; false at the end of the last file. A word longer
/// than 29 characters, or holding a NUL byte, comes back empty: it is no part of a record.
bool next_word(input& s, plotcore::word_buf& w);

/// The last words read, oldest first.
struct window {
  plotcore::word_buf w[8];
  int first;
  int have;
  int used;  ///< words of the last record found, dropped before the next is looked for
};

/// Reads words until the window holds `n` (at most 8); false when the input ends first.
bool fill(window& win, input& s, int n);

/// The i-th word of the window, oldest first.
const char* word_at(const window& win, int i);

/// Drops the `n` oldest words.
void drop(window& win, int n);

/// A record of the star and the words it was read from, valid until the next call.
struct found_record {
  record r;
  const char* time;      ///< the time word as written
  const char* observer;  ///< the observer's code
};

/// The next record of `star` in the input; false at its end. Words that start no record are
/// passed over one at a time.
bool next_record(input& s, window& win, const char* star, found_record* f);

}  // namespace magprep
