// magprep's input: the FILE operands (or standard input) read one after the other as one
// stream of words, and the window of the last words read in which records are found.
#pragma once

#include <cstdio>

#include "plotcore/files.h"
#include "plotcore/words.h"
#include "reports/aavso.h"
#include "reports/record.h"

namespace reports {

/// The files a run with -o writes, never read: FILE and the part file that takes its place.
struct output_ids {
  plotcore::file_id file;  ///< not known when FILE is new
  plotcore::file_id part;
};

/// How the bytes of the file being read hold its text.
enum class encoding { bytes, utf16le, utf16be };

/// Why a file of a run is not read, or not to its end.
enum class file_problem {
  cannot_open,  ///< errno gives the reason
  cannot_read,  ///< a read failed part way; errno gives the reason
  is_output,    ///< it is one of the files the run writes
};

/// Told of each file not read, or not to its end, as it comes: `context` is the one given to
/// start_input, `error` an errno value (0 for is_output).
using file_problem_fn = void (*)(void* context, const char* name, file_problem what, int error);

/// The files of a run, read in turn. Words are separated by white space, by a non-breaking
/// space (UTF-8 C2 A0, or A0 alone where it is no part of a UTF-8 character), by a UTF-8
/// byte-order mark wherever it stands, and by the end of a file. A line ends at LF, CR LF or a
/// CR alone. A file that starts with a UTF-16 byte-order mark is read as the text it holds (as
/// UTF-8), of any length.
struct input {
  int argc;
  char** argv;
  int next;                  ///< the next FILE operand in argv
  std::FILE* in;             ///< standard input, for "-" and no FILE
  file_problem_fn told;      ///< told of a file that cannot be read
  void* context;             ///< for `told`
  std::FILE* f;              ///< the file being read; null between files
  const char* name;          ///< what f reads, for messages
  bool failed;               ///< a file could not be opened or read (and `told` was told)
  const output_ids* output;  ///< the files of -o, never read; null without -o
  encoding enc;
  bool stdin_alone;  ///< no FILE was given: standard input is read, and has not been opened
  bool at_end;       ///< f has given all it holds, or failed
  int error;         ///< errno of a read that failed
  bool line_start;   ///< a line starts before the next word
  int pos;
  int len;
  int held_len;                      ///< bytes of text read and not yet in `buf`
  unsigned char held[2];             ///< the first two bytes, or the start of a cut mark
  int raw_len;                       ///< bytes of UTF-16 read and not yet decoded
  unsigned char raw[1 << 14];        ///< UTF-16 as read; its text fits `buf` whatever it holds
  unsigned char buf[(1 << 15) + 1];  ///< the text, and a NUL after its last byte
  bool forms;                        ///< each file is told by its start (next_record sets it)
  aavso_file aavso;                  ///< the AAVSO file being read; form report for words
  long long long_lines;              ///< lines of AAVSO files past aavso_line_max, passed over
  long long discrepant;              ///< records of the star flagged discrepant, dropped
  char line[aavso_line_max + 1];     ///< a line of an AAVSO file cut by the end of `buf`
};

/// Starts reading the FILE operands argv[first_file] to argv[argc - 1]; none means `in` alone.
/// Files that cannot be opened or read, or that are one of the files of `output` (when not
/// null), are passed over, told to `told` as they come, and set `failed`.
void start_input(input& s, int argc, char** argv, int first_file, std::FILE* in,
                 file_problem_fn told, void* context, const output_ids* output);

/// The next word of the whole input into `w`, and whether it is the first of its line; false
/// at the end of the last file, and before an AAVSO file (which next_record reads). A word longer
/// than 29 bytes, or holding a NUL byte, comes back empty: it is no part of a record.
bool next_word(input& s, plotcore::word_buf& w, bool* line_start);

/// Most words a window holds: enough for read_record.
constexpr int window_max = 16;
static_assert(window_max >= record_window);

/// The last words read, oldest first.
struct window {
  plotcore::word_buf w[window_max];
  bool line_start[window_max];
  int first;
  int have;
  int used;  ///< words of the last record found, dropped before the next is looked for
};

/// Reads words until the window holds `n` (at most window_max); false when the input ends first.
bool fill(window& win, input& s, int n);

/// The i-th word of the window, oldest first; empty past the words it holds.
const char* word_at(const window& win, int i);

/// Whether the i-th word of the window starts a line.
bool starts_line(const window& win, int i);

/// Drops the `n` oldest words.
void drop(window& win, int n);

/// The next record of `star` in the input; false at its end. Words that start no record are
/// passed over one at a time; those that name the star are counted in `mentions`, and records
/// without an observer's code are passed over whole and counted in `unobserved`. The record's
/// observer points into the window until the next call.
/// Each file is told by its first lines (form_of_line): an AAVSO file is read a line at a time
/// (read_aavso_line), its lines naming the star without a record counted in `mentions`, its
/// records without an observer in `unobserved`, discrepant ones in `s.discrepant` and lines
/// longer than aavso_line_max in `s.long_lines`; the observer then points into `s.aavso`.
bool next_record(input& s, window& win, const star_name& star, record* r, long long* mentions,
                 long long* unobserved);

}  // namespace reports
