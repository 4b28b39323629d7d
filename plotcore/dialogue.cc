// The console dialogue both programs share: data file, echo, range line, graph passes, saving.
#include "dialogue.h"

#include <climits>

#include "fixed_text.h"

namespace plotcore {

void start_session(session& s, std::FILE* in) {
  open_source(s.console, in, true);
  s.at_terminal = is_terminal(in);
  s.data_held = {false, 0};
  s.table.count = 0;
  s.mag_len = 0;
  s.x_len = 0;
}

// ---- answers ----

// True while everything written to the console so far has reached it.
static bool console_ok(std::FILE* out) { return std::fflush(out) == 0 && !std::ferror(out); }

// Shows a prompt before its answer is read; false when the console could not take it.
static bool show_prompt(std::FILE* out, const char* prompt) {
  std::fputs(prompt, out);
  return console_ok(out);
}

// Says why an answer was refused. True when the run must end: answers that come from a script
// were written ahead for the questions as the script expected them, and asking again would
// take the next one, meant for another question.
static bool refused(const session& s, std::FILE* out, const char* why) {
  std::fputs(why, out);
  return !s.at_terminal;
}

answer ask_int(session& s, std::FILE* out, const char* prompt, int* value) {
  for (;;) {
    if (!show_prompt(out, prompt)) return answer::ended;
    switch (read_int(s.console, value)) {
      case int_status::ok: return answer::given;
      case int_status::end: return answer::ended;
      case int_status::not_a_number:
        if (refused(s, out, "answer must be a whole number.\n")) return answer::refused;
        break;
    }
  }
}

int no_answer(std::FILE* out, answer why) {
  if (why == answer::ended && !std::ferror(out)) {
    std::fputs("\nend of input.\n", out);
    std::fflush(out);
  }
  return 1;
}

// An axis answer: the index of the last row or column drawn, 0 to 79.
static answer ask_axis(session& s, std::FILE* out, const char* prompt, int* value) {
  for (;;) {
    if (const answer a = ask_int(s, out, prompt, value); a != answer::given) return a;
    if (*value >= 0 && *value < canvas_size) return answer::given;
    if (refused(s, out, "axis must be 0 to 79.\n")) return answer::refused;
  }
}

// A file name, read into `name`. A longer one, or one holding a NUL byte, would open a file
// other than the one typed, so it is refused.
static answer ask_name(session& s, std::FILE* out, const char* prompt, word_buf& name) {
  for (;;) {
    if (!show_prompt(out, prompt)) return answer::ended;
    const char* why = nullptr;
    switch (read_word(s.console, name)) {
      case word_status::ok: return answer::given;
      case word_status::end: return answer::ended;
      case word_status::truncated: why = "file name too long (max 29).\n"; break;
      case word_status::has_nul: why = "file name contains a NUL byte.\n"; break;
    }
    if (refused(s, out, why)) return answer::refused;
  }
}

// ---- one data file ----

// The echo line "  %5.2f %7.3f \n" of one observation, built by put_fixed: printf's conversion
// of the two floats took most of the time of a session that echoes thousands of records.
static void echo(std::FILE* out, float x, float mag) {
  char line[2 * fixed_text_max + 5];
  int n = 0;
  line[n++] = ' ';
  line[n++] = ' ';
  n += put_fixed(line + n, x, 5, 2);
  line[n++] = ' ';
  n += put_fixed(line + n, mag, 7, 3);
  line[n++] = ' ';
  line[n++] = '\n';
  std::fwrite(line, 1, static_cast<size_t>(n), out);
}

// Reads records of p.words words until the file ends, keeping and echoing the first p.limit.
static void read_records(session& s, std::FILE* out, const program& p) {
  long long ignored = 0;
  bool incomplete = false;
  s.table.count = 0;
  s.table.limit = p.limit;
  while (read_word(s.data, s.fields[0]) != word_status::end) {
    int got = 1;
    while (got < p.words && read_word(s.data, s.fields[got]) != word_status::end) ++got;
    if (got < p.words) {
      // The last buffers still hold the record before; pairing them with these words would
      // store an observation that is in no record of the file.
      incomplete = true;
      break;
    }
    float x = 0.0f, mag = 0.0f;
    bool kept = false;
    // Past the limit a record is only counted: decoding it would change nothing.
    if (s.table.count < s.table.limit) {
      p.decode(s.fields, &x, &mag);
      kept = add_obs(s.table, x, mag);
    }
    if (!kept) {
      // The echo is over and the rest is only counted: show it all now, and stop reading if
      // nobody can see it.
      if (ignored == 0 && !console_ok(out)) return;
      if (ignored < LLONG_MAX) ++ignored;
      continue;
    }
    echo(out, x, mag);
    // Nobody would see the rest, and a fifo that never ends would be read for ever.
    if (std::ferror(out)) return;
  }
  // A word cut short by a read error ends the reading; the caller reports the error.
  if (s.data.failed) return;
  if (ignored > 0) std::fprintf(out, "records over %d ignored. %lld\n", p.limit, ignored);
  if (incomplete) std::fputs("incomplete last record ignored.\n", out);
}

// Opens, reads and closes the data file named in s.data_name. Returns 0 to go on, else the
// status.
static int load_file(session& s, std::FILE* out, const program& p) {
  // Binary mode: white space already covers "\r", and a Ctrl-Z byte must not end the file
  // early on one platform only.
  release_file(&s.data_held);
  std::FILE* f = open_data_file(s.data_name, &s.data_id, &s.data_held);
  if (f == nullptr) {
    std::fprintf(out, "Cannot open input file. %d\n", 0);
    return 1;
  }
  open_source(s.data, f, false);
  // Editors on Windows start a UTF-8 file with a byte-order mark; it is not part of a word.
  skip_byte_order_mark(s.data);
  read_records(s, out, p);
  const bool read_failed = std::ferror(f) != 0;
  const int closed = std::fclose(f);
  if (std::ferror(out)) return 1;
  if (read_failed) {
    std::fputs("Cannot read input file.\n", out);
    return 1;
  }
  if (closed != 0) {
    std::fprintf(out, "file close error. %d\n", closed);
    return 1;
  }
  return 0;
}

// Graph passes: axis answers, drawing and rows on the console, while the user asks to redraw.
static answer graph_passes(session& s, std::FILE* out, const program& p) {
  int again = 1;
  while (again == 1) {
    if (const answer a = ask_axis(s, out, p.mag_prompt, &s.mag_len); a != answer::given) return a;
    if (const answer a = ask_axis(s, out, p.x_prompt, &s.x_len); a != answer::given) return a;
    std::fputs("\n", out);
    draw_graph(s.drawing, s.table, s.range, s.mag_len, s.x_len, p.kind);
    write_rows(s.drawing, s.mag_len, s.x_len, out);
    const answer a = ask_int(s, out, "\nDo you rewrite the graph ? (yes=1 , no=0) ", &again);
    if (a != answer::given) return a;
  }
  return answer::given;
}

// The save question, asked again after a graph file that cannot be opened or that is the data
// file itself. Returns -1 to go on, else the exit status.
static int save_graph(session& s, std::FILE* out) {
  for (;;) {
    int save = 0;
    const answer a = ask_int(s, out, "\ngraph save ? (yes=1 , no=0) ", &save);
    if (a != answer::given) return no_answer(out, a);
    if (save != 1) return -1;
    if (const answer n = ask_name(s, out, "graph file name = ", s.graph_name); n != answer::given)
      return no_answer(out, n);
    // The graph file is compared with the data file as opened, not by name, and with its bytes,
    // before anything in it is emptied: no spelling, link, rename or other view of the data file
    // can lose the observations.
    graph_open opened;
    std::FILE* g = open_graph_file(s.graph_name, s.data_id, s.data_held, &opened);
    if (opened == graph_open::is_data) {
      if (refused(s, out, "graph file is the data file.\n")) return 1;
      continue;
    }
    if (g == nullptr) {
      if (refused(s, out, "cannot open graph file.\n")) return 1;
      continue;
    }
    const bool written = write_rows(s.drawing, s.mag_len, s.x_len, g);
    int closed = std::fclose(g);
    // A write that failed before the close is a failed save too, whatever the close says.
    if (closed == 0 && !written) closed = EOF;
    if (closed != 0) {
      std::fprintf(out, "file close error. %d\n", closed);
      return 1;
    }
    return -1;
  }
}

static int file_loop(session& s, std::FILE* out, const program& p) {
  for (;;) {
    if (const answer a = ask_name(s, out, "\ndata file name = ", s.data_name); a != answer::given)
      return no_answer(out, a);
    if (const int status = load_file(s, out, p); status != 0) return status;

    s.range = find_range(s.table);
    if (p.phase_axis) {
      s.range.x_max = 10;
      s.range.x_min = 0;
    }
    print_range_line(out, s.range);

    if (const answer a = graph_passes(s, out, p); a != answer::given) return no_answer(out, a);
    if (const int status = save_graph(s, out); status >= 0) return status;

    int more = 0;
    const answer a = ask_int(s, out, "\nDo you continue ? (yes=1 , no=0) ", &more);
    if (a != answer::given) return no_answer(out, a);
    if (more != 1) return 0;
  }
}

int run_files(session& s, std::FILE* out, const program& p) {
  const int status = file_loop(s, out, p);
  release_file(&s.data_held);
  // The console is where the graph goes: a run whose output was lost has failed.
  if (!console_ok(out)) return 1;
  return status;
}

}  // namespace plotcore
