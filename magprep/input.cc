// magprep's input: the FILE operands (or standard input) read one after the other as one
// stream of words, and the window of the last words read in which records are found.
#include "input.h"

#include <cerrno>
#include <cstring>

#include "plotcore/files.h"

namespace magprep {

// ---- the files one after the other ----

void start_input(input& s, int argc, char** argv, int first_file, std::FILE* in, std::FILE* err) {
  s.argc = argc;
  s.argv = argv;
  s.next = first_file;
  s.reading = false;
  s.name = nullptr;
  s.in = in;
  s.err = err;
  s.failed = false;
  // No FILE operand: standard input alone.
  if (first_file >= argc) {
    plotcore::open_source(s.src, in, false);
    plotcore::skip_byte_order_mark(s.src);
    s.reading = true;
    s.name = "standard input";
  }
}

// Closes the file being read; says so when reading it failed.
static void end_file(input& s) {
  if (s.src.failed) {
    std::fprintf(s.err, "magprep: cannot read %s: %s\n", s.name, std::strerror(errno));
    s.failed = true;
  }
  if (s.src.f != s.in) std::fclose(s.src.f);
  s.reading = false;
}

// Opens the next FILE operand that can be opened, naming those that cannot.
static bool open_next(input& s) {
  while (s.next < s.argc) {
    const char* name = s.argv[s.next++];
    if (std::strcmp(name, "-") == 0) {
      plotcore::open_source(s.src, s.in, false);
      s.name = "standard input";
    } else {
      plotcore::file_id id;
      std::FILE* f = plotcore::open_data_file(name, &id);
      if (f == nullptr) {
        std::fprintf(s.err, "magprep: cannot open %s: %s\n", name, std::strerror(errno));
        s.failed = true;
        continue;
      }
      plotcore::open_source(s.src, f, false);
      s.name = name;
    }
    plotcore::skip_byte_order_mark(s.src);
    s.reading = true;
    return true;
  }
  return false;
}

bool next_word(input& s, plotcore::word_buf& w) {
  for (;;) {
    if (!s.reading && !open_next(s)) return false;
    const plotcore::word_status st = plotcore::read_word(s.src, w);
    if (st == plotcore::word_status::end) {
      end_file(s);
      continue;
    }
    if (st != plotcore::word_status::ok) w[0] = '\0';
    return true;
  }
}

// ---- the window ----

bool fill(window& win, input& s, int n) {
  while (win.have < n) {
    if (!next_word(s, win.w[(win.first + win.have) % 8])) return false;
    ++win.have;
  }
  return true;
}

const char* word_at(const window& win, int i) { return win.w[(win.first + i) % 8]; }

void drop(window& win, int n) {
  win.first = (win.first + n) % 8;
  win.have -= n;
}

// ---- records of a star ----

bool next_record(input& s, window& win, const char* star, found_record* f) {
  drop(win, win.used);
  win.used = 0;
  while (fill(win, s, 4)) {
    const char* words[4] = {word_at(win, 0), word_at(win, 1), word_at(win, 2), word_at(win, 3)};
    if (read_record(star, words, &f->r)) {
      f->time = words[1];
      f->observer = words[3];
      win.used = 4;
      return true;
    }
    drop(win, 1);
  }
  return false;
}

}  // namespace magprep
