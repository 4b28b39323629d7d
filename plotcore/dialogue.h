// The console dialogue both programs share: data file, echo, range line, graph passes, saving.
#pragma once

#include <cstdio>

#include "files.h"
#include "graph.h"
#include "words.h"

namespace plotcore {

/// Most words in one record of any program.
constexpr int max_fields = 4;

/// What sets one program's dialogue apart: its record, its decoding and its X axis.
struct program {
  const char* mag_prompt;  ///< the magnitude-axis prompt
  const char* x_prompt;    ///< the X-axis prompt
  x_kind kind;             ///< style of the X labels
  bool phase_axis;         ///< X bounds fixed at 10 and 0 instead of taken from the data
  int words;               ///< words per record, 1 to max_fields
  int limit;               ///< observations kept per file, 1 to max_obs
  /// Turns the words of one record into X and magnitude.
  void (*decode)(const word_buf* fields, float* x, float* mag);
};

/// Everything a run keeps, sized in advance; the caller owns it (it is too large for a
/// small stack, so keep it in the function that runs the dialogue).
struct session {
  byte_source console;
  bool at_terminal;  ///< answers are typed as asked, so a refused one can be asked again
  byte_source data;
  word_buf fields[max_fields];
  word_buf data_name;   ///< the data file the table was read from
  file_id data_id;      ///< which file that was, taken from the open file
  held_file data_held;  ///< that file, held until the next one is opened or the run ends
  word_buf graph_name;  ///< the graph file last named
  obs_table table;
  graph_range range;
  canvas drawing;
  int mag_len;
  int x_len;
};

/// Starts a run: answers will be read from `in`, byte by byte.
void start_session(session& s, std::FILE* in);

/// What came of a question.
enum class answer {
  given,    ///< the answer is there
  ended,    ///< the input ended or failed, or the console could not be written
  refused,  ///< answers come from a script and this one was refused: the rest were written for
            ///< other questions, so the run must not go on (the refusal has been said)
};

/// Prints `prompt` and reads an integer answer into `value`. A word that is not a whole decimal
/// integer within int is asked again on a terminal and refused otherwise.
answer ask_int(session& s, std::FILE* out, const char* prompt, int* value);

/// Ends a run whose question got no answer and gives the exit status, 1. Says "\nend of input.\n"
/// when the input ended, and nothing when the console itself failed or the answer was refused.
int no_answer(std::FILE* out, answer why);

/// Runs the dialogue from the first data file name to the end of the run and returns the exit
/// status: 0 when the user does not continue, 1 after an error message, the end of input or a
/// console that could not be written.
int run_files(session& s, std::FILE* out, const program& p);

}  // namespace plotcore
