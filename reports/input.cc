// magprep's input: the FILE operands (or standard input) read one after the other as one
// stream of words, and the window of the last words read in which records are found.
#include "reports/input.h"

#include <cerrno>
#include <cstring>

#include "reports/stream.h"

namespace reports {

// ---- bytes of the files ----

// What each byte is to the reader of words.
enum byte_kind : unsigned char { word_byte, white, line_end, special };

struct byte_table {
  byte_kind kind[256];
};

static constexpr byte_table make_table() {
  byte_table t{};
  for (int c = 0; c < 256; ++c) t.kind[c] = word_byte;
  t.kind[static_cast<unsigned char>(' ')] = white;
  for (int c = '\t'; c <= '\r'; ++c) t.kind[c] = white;
  // LF, CR LF, or CR alone as old Macs wrote.
  t.kind[static_cast<unsigned char>('\n')] = line_end;
  t.kind[static_cast<unsigned char>('\r')] = line_end;
  t.kind[0] = special;     // the end of the buffer, or a NUL in a word
  t.kind[0xA0] = special;  // a non-breaking space, or part of a UTF-8 character
  return t;
}

static constexpr byte_table table = make_table();

// Letters in lower case, every other byte as it is.
struct fold_table {
  unsigned char lower[256];
};

static constexpr fold_table make_fold() {
  fold_table t{};
  for (int c = 0; c < 256; ++c) t.lower[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) t.lower[c] = static_cast<unsigned char>(c - 'A' + 'a');
  return t;
}

static constexpr fold_table fold = make_fold();

static bool is_alnum_byte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

static constexpr int buf_room = 1 << 15;

// Appends the UTF-8 form of `c` (below 0x110000) at `out`; returns the bytes written.
static int put_utf8(unsigned char* out, unsigned c) {
  if (c < 0x80) {
    out[0] = static_cast<unsigned char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
    out[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
    out[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
  out[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
  return 4;
}

static unsigned unit_at(const input& s, int i) {
  return s.enc == encoding::utf16le ? s.raw[i] | (s.raw[i + 1] << 8)
                                    : (s.raw[i] << 8) | s.raw[i + 1];
}

// Decodes the whole units of s.raw into s.buf, at most 24 KiB of text from 16 KiB. A high
// surrogate waits for its partner unless the file has ended; a surrogate without one, and an odd
// last byte, become U+FFFD. A byte-order mark within the text becomes a space.
static void decode_utf16(input& s) {
  static_assert(sizeof s.raw / 2 * 3 <= buf_room, "the text of s.raw fits s.buf");
  int i = 0;
  int n = 0;
  while (i + 1 < s.raw_len) {
    unsigned c = unit_at(s, i);
    int used = 2;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 3 >= s.raw_len && !s.at_end) break;
      const unsigned low = i + 3 < s.raw_len ? unit_at(s, i + 2) : 0;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        used = 4;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      c = 0xFFFD;
    } else if (c == 0xFEFF) {
      c = ' ';
    }
    n += put_utf8(s.buf + n, c);
    i += used;
  }
  if (s.at_end && i < s.raw_len) {
    n += put_utf8(s.buf + n, 0xFFFD);
    i = s.raw_len;
  }
  std::memmove(s.raw, s.raw + i, static_cast<size_t>(s.raw_len - i));
  s.raw_len -= i;
  s.pos = 0;
  s.len = n;
  s.buf[n] = 0;
}

// Writes spaces over the UTF-8 byte-order marks (EF BB BF) in the `len` bytes at `b`, so that a
// mark is white space wherever it stands (as where files are joined with cat). Returns how many
// of the last bytes may start a mark cut by the end of the block (EF, or EF BB), to be put
// before the next block; none when `last` says no block follows. The marks are looked for by
// their middle byte, rarer in text than EF, with which every full-width form starts.
static int blank_marks(unsigned char* b, int len, bool last) {
  unsigned char* const end = b + len;
  for (unsigned char* p = b + 1; p < end - 1; ++p) {
    p = static_cast<unsigned char*>(std::memchr(p, 0xBB, static_cast<size_t>(end - 1 - p)));
    if (p == nullptr) break;
    if (p[-1] == 0xEF && p[1] == 0xBF) p[-1] = p[0] = p[1] = ' ';
  }
  if (last) return 0;
  if (len >= 2 && b[len - 2] == 0xEF && b[len - 1] == 0xBB) return 2;
  return len >= 1 && b[len - 1] == 0xEF ? 1 : 0;
}

// Reads more of the file; false when it has nothing more (its end, or a read error).
static bool refill(input& s) {
  for (;;) {
    if (s.enc == encoding::bytes) {
      if (s.at_end && s.held_len == 0) return false;
      // The bytes held back from the last block, then the next block.
      const int held = s.held_len;
      std::memcpy(s.buf, s.held, static_cast<size_t>(held));
      size_t n = 0;
      if (!s.at_end) {
        const size_t room = static_cast<size_t>(buf_room - held);
        n = std::fread(s.buf + held, 1, room, s.f);
        s.at_end = n < room;
        if (s.at_end && std::ferror(s.f)) s.error = errno;
      }
      s.pos = 0;
      s.len = held + static_cast<int>(n);
      s.held_len = blank_marks(s.buf, s.len, s.at_end);
      s.len -= s.held_len;
      std::memcpy(s.held, s.buf + s.len, static_cast<size_t>(s.held_len));
      s.buf[s.len] = 0;
      if (s.len > 0) return true;
      continue;
    }
    if (s.at_end && s.raw_len == 0) return false;
    if (!s.at_end) {
      const size_t room = sizeof s.raw - static_cast<size_t>(s.raw_len);
      const size_t n = std::fread(s.raw + s.raw_len, 1, room, s.f);
      s.raw_len += static_cast<int>(n);
      s.at_end = n < room;
      if (s.at_end && std::ferror(s.f)) s.error = errno;
    }
    decode_utf16(s);
    if (s.len > 0) return true;
  }
}

// Starts reading `f`. Its first two bytes are read alone: a UTF-16 byte-order mark there says
// that the rest is UTF-16, decoded as it is read; anything else is the start of the text.
static void start_file(input& s, std::FILE* f, const char* name) {
  s.f = f;
  s.name = name;
  s.enc = encoding::bytes;
  s.at_end = false;
  s.error = 0;
  s.line_start = true;
  s.raw_len = 0;
  s.pos = 0;
  s.len = 0;
  s.buf[0] = 0;
  const size_t n = std::fread(s.held, 1, 2, f);
  if (n < 2) {
    s.at_end = true;
    if (std::ferror(f)) s.error = errno;
  }
  const unsigned char* b = s.held;
  const bool utf16 = n == 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF));
  if (utf16) s.enc = b[0] == 0xFF ? encoding::utf16le : encoding::utf16be;
  s.held_len = utf16 ? 0 : static_cast<int>(n);
}

// The length of the line at `p` (`room` bytes of the buffer): up to LF or CR, or all of them.
static int line_length(const unsigned char* p, int room) {
  const void* lf = std::memchr(p, '\n', static_cast<size_t>(room));
  int n = lf != nullptr ? static_cast<int>(static_cast<const unsigned char*>(lf) - p) : room;
  const void* cr = std::memchr(p, '\r', static_cast<size_t>(n));
  if (cr != nullptr) n = static_cast<int>(static_cast<const unsigned char*>(cr) - p);
  return n;
}

// Tells by the lines of the first block whether the file just started is an AAVSO file; the
// block is left in the buffer to be read from its start.
static void recognise(input& s) {
  s.aavso.form = file_form::report;
  if (!refill(s)) return;
  int p = 0;
  while (p < s.len) {
    const unsigned char* b = s.buf + p;
    const int n = line_length(b, s.len - p);
    const file_form f = form_of_line(reinterpret_cast<const char*>(b), n);
    if (f == file_form::undecided) {
      p += n + 1;
      continue;
    }
    if (f != file_form::report) start_aavso(&s.aavso, f, reinterpret_cast<const char*>(b), n);
    return;
  }
}

// ---- the files one after the other ----

void start_input(input& s, int argc, char** argv, int first_file, std::FILE* in,
                 file_problem_fn told, void* context, const output_ids* output) {
  s.argc = argc;
  s.argv = argv;
  s.next = first_file;
  s.in = in;
  s.told = told;
  s.context = context;
  s.f = nullptr;
  s.name = nullptr;
  s.failed = false;
  s.output = output;
  s.pos = 0;
  s.len = 0;
  s.buf[0] = 0;
  s.at_end = true;
  s.stdin_alone = first_file >= argc;
  s.forms = false;
  s.aavso.form = file_form::report;
  s.long_lines = 0;
  s.discrepant = 0;
}

// Closes the file being read; tells when reading it failed.
static void end_file(input& s) {
  if (std::ferror(s.f)) {
    s.told(s.context, s.name, file_problem::cannot_read, s.error);
    s.failed = true;
  }
  if (s.f != s.in) std::fclose(s.f);
  s.f = nullptr;
}

// A file on disk, or a fifo or a device where the platform numbers them (POSIX does, by inode;
// Windows gives pipes and devices no number): a fifo written and read would feed the run its own
// output.
static bool same_file(const plotcore::file_id& a, const plotcore::file_id& b) {
  return a.known && b.known && a.on_disk == b.on_disk && (a.on_disk || a.index != 0) &&
         a.volume == b.volume && a.index == b.index;
}

static bool is_output(const input& s, const plotcore::file_id& id) {
  return s.output != nullptr && (same_file(id, s.output->file) || same_file(id, s.output->part));
}

// Opens the next file that can be read, telling of those that cannot.
static bool open_next(input& s) {
  bool standard_input = s.stdin_alone;
  s.stdin_alone = false;
  for (;;) {
    const char* name = "standard input";
    std::FILE* f = s.in;
    plotcore::file_id id{};
    if (!standard_input) {
      if (s.next >= s.argc) return false;
      name = s.argv[s.next++];
      if (std::strcmp(name, "-") == 0) {
        name = "standard input";
      } else {
        f = plotcore::open_data_file(name, &id);
        if (f == nullptr) {
          s.told(s.context, name, file_problem::cannot_open, errno);
          s.failed = true;
          continue;
        }
      }
    }
    standard_input = false;
    if (f == s.in) {
      binary_input(f);
      if (s.output != nullptr) stream_identity(f, &id);
    }
    if (is_output(s, id)) {
      s.told(s.context, name, file_problem::is_output, 0);
      s.failed = true;
      if (f != s.in) std::fclose(f);
      continue;
    }
    start_file(s, f, name);
    s.aavso.form = file_form::report;
    if (s.forms) recognise(s);
    return true;
  }
}

// ---- words ----

bool next_word(input& s, plotcore::word_buf& w, bool* line_start) {
  if (s.aavso.form != file_form::report) return false;
  int total = 0;  // bytes of the word, also those past the 29 kept
  bool bad = false;
  unsigned char last = 0;
  for (;;) {
    // Between words.
    for (;;) {
      const unsigned char c = s.buf[s.pos];
      const byte_kind k = table.kind[c];
      if (k == word_byte || (c == 0 && s.pos < s.len)) break;
      if (k == white || c == 0xA0) {
        ++s.pos;
      } else if (k == line_end) {
        ++s.pos;
        s.line_start = true;
      } else {
        // The end of the buffer.
        if (s.f != nullptr && refill(s)) continue;
        if (s.f != nullptr) end_file(s);
        if (!open_next(s) || s.aavso.form != file_form::report) return false;
      }
    }
    const bool line = s.line_start;
    s.line_start = false;
    // In a word: runs of word bytes, as long as the buffer holds them.
    for (;;) {
      const int start = s.pos;
      while (table.kind[s.buf[s.pos]] == word_byte) ++s.pos;
      const int run = s.pos - start;
      if (run > 0) {
        if (total < plotcore::word_max) {
          const int keep = run < plotcore::word_max - total ? run : plotcore::word_max - total;
          std::memcpy(w + total, s.buf + start, static_cast<size_t>(keep));
        }
        // Counted exactly up to one past the longest word, so that a C2 taken back from a word
        // of 30 bytes leaves 29.
        total = total + run > plotcore::word_max + 1 ? plotcore::word_max + 2 : total + run;
        last = s.buf[s.pos - 1];
      }
      const unsigned char c = s.buf[s.pos];
      const byte_kind k = table.kind[c];
      if (k == white) {
        ++s.pos;
        break;
      }
      if (k == line_end) {
        ++s.pos;
        s.line_start = true;
        break;
      }
      if (c == 0 && s.pos == s.len) {
        // The end of the buffer; the end of the file also ends the word.
        if (refill(s)) continue;
        if (std::ferror(s.f)) bad = true;  // a word cut short by a read error is no word
        break;
      }
      ++s.pos;
      if (c == 0xA0 && !((last >= 0x80 && last <= 0xBF) || (last >= 0xC3 && last <= 0xF4))) {
        // A non-breaking space: Latin-1 A0, or UTF-8 C2 A0 whose C2 is taken back.
        if (last == 0xC2) --total;
        break;
      }
      // A NUL, or A0 within a UTF-8 character: a word byte.
      if (c == 0) bad = true;
      if (total < plotcore::word_max) w[total] = static_cast<char>(c);
      if (total <= plotcore::word_max + 1) ++total;
      last = c;
    }
    if (total == 0) {
      s.line_start = s.line_start || line;  // a lone C2 before A0 was no word
      continue;
    }
    *line_start = line;
    if (total > plotcore::word_max || bad) total = 0;
    w[total] = '\0';
    return true;
  }
}

// Passes over the words that cannot name the star, straight in the buffer: a word that names
// it starts with `first` (in lower case, starting with a letter or digit) once any marks before
// it are passed over. Stops before a word that may name it, and before anything the careful
// reader of words must decide: a NUL, an A0 byte or the end of the buffer.
static void skip_other_words(input& s, const unsigned char* first) {
  const unsigned char* b = s.buf;
  int p = s.pos;
  for (;;) {
    byte_kind k = table.kind[b[p]];
    while (k == white || k == line_end) {
      if (k == line_end) s.line_start = true;
      k = table.kind[b[++p]];
    }
    if (k != word_byte) break;
    const int start = p;
    while (table.kind[b[p]] == word_byte && !is_alnum_byte(b[p])) ++p;
    int i = 0;
    while (first[i] != 0 && fold.lower[b[p + i]] == first[i]) ++i;  // the NUL at the end stops
    if (first[i] == 0) {
      p = start;
      break;
    }
    while (table.kind[b[p]] == word_byte) ++p;
    if (table.kind[b[p]] == special) {
      p = start;
      break;
    }
    s.line_start = false;
  }
  s.pos = p;
}

// ---- the window ----

bool fill(window& win, input& s, int n) {
  while (win.have < n) {
    const int slot = (win.first + win.have) % window_max;
    if (!next_word(s, win.w[slot], &win.line_start[slot])) return false;
    ++win.have;
  }
  return true;
}

const char* word_at(const window& win, int i) {
  return i < win.have ? win.w[(win.first + i) % window_max] : "";
}

bool starts_line(const window& win, int i) {
  return i < win.have && win.line_start[(win.first + i) % window_max];
}

void drop(window& win, int n) {
  win.first = (win.first + n) % window_max;
  win.have -= n;
}

// ---- records of a star ----

// Whether `word` may name the star whose first word is `prefix` (in lower case, starting with a
// letter or digit): it does only when it starts with `prefix` once any marks before are passed.
static bool may_name(const char* word, const unsigned char* prefix) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(word);
  while (*b != 0 && !is_alnum_byte(*b)) ++b;
  int i = 0;
  while (prefix[i] != 0 && fold.lower[b[i]] == prefix[i]) ++i;
  return prefix[i] == 0;
}

// What read_record finds at the first word of the window.
static found record_at(const window& win, const star_name& star, record* r, int* words) {
  const char* w[record_window];
  bool line_start[record_window];
  for (int i = 0; i < record_window; ++i) {
    w[i] = word_at(win, i);
    line_start[i] = starts_line(win, i);
  }
  return read_record(star, w, line_start, r, words);
}

// ---- lines of AAVSO files ----

// The next line of the file being read, without its end: in the buffer, or in s.line when the
// end of a block cuts it; false at the end of the file. A line longer than aavso_line_max comes
// back empty with `*too_long` set. A CR LF also gives an empty line between, which is no record.
static bool next_line(input& s, const char** line, int* len, bool* too_long) {
  int have = 0;  // bytes of a cut line in s.line; aavso_line_max + 1 once it is too long
  for (;;) {
    if (s.pos < s.len) {
      const unsigned char* p = s.buf + s.pos;
      const int room = s.len - s.pos;
      const int n = line_length(p, room);
      const bool ended = n < room;
      s.pos += ended ? n + 1 : n;
      if (have == 0 && ended) {
        *too_long = n > aavso_line_max;
        *line = reinterpret_cast<const char*>(p);
        *len = *too_long ? 0 : n;
        return true;
      }
      if (have + n > aavso_line_max) {
        have = aavso_line_max + 1;
      } else {
        std::memcpy(s.line + have, p, static_cast<size_t>(n));
        have += n;
      }
      if (ended) break;
    }
    if (refill(s)) continue;
    if (have == 0) return false;
    break;
  }
  *too_long = have > aavso_line_max;
  *line = s.line;
  *len = *too_long ? 0 : have;
  return true;
}

// The next record of the star in the AAVSO file being read. At its end the file is closed and
// the next one opened, and false.
static bool aavso_record(input& s, const star_name& star, record* r, long long* mentions,
                         long long* unobserved) {
  const char* line = nullptr;
  int len = 0;
  bool too_long = false;
  while (next_line(s, &line, &len, &too_long)) {
    if (too_long) {
      ++s.long_lines;
      continue;
    }
    switch (read_aavso_line(&s.aavso, star, line, len, r)) {
      case aavso_line::record: return true;
      case aavso_line::mention: ++*mentions; break;
      case aavso_line::discrepant: ++s.discrepant; break;
      case aavso_line::no_observer: ++*unobserved; break;
      case aavso_line::other: break;
    }
  }
  end_file(s);
  s.aavso.form = file_form::report;
  open_next(s);
  return false;
}

bool next_record(input& s, window& win, const star_name& star, record* r, long long* mentions,
                 long long* unobserved) {
  drop(win, win.used);
  win.used = 0;
  s.forms = true;
  // Most words cannot name the star, which a few of their first bytes tell. With an empty window
  // they are passed over in the buffer itself; otherwise one at a time, and the window is filled
  // for a whole record only behind a word that may name it. That is sure only for a star whose
  // first word starts with a letter or digit; any other is looked for at every word.
  unsigned char prefix[plotcore::word_max + 1] = {};
  const bool skip = is_alnum_byte(static_cast<unsigned char>(star.first[0]));
  for (int i = 0; star.first[i] != '\0'; ++i)
    prefix[i] = fold.lower[static_cast<unsigned char>(star.first[i])];
  for (;;) {
    if (win.have == 0 && s.aavso.form != file_form::report) {
      if (aavso_record(s, star, r, mentions, unobserved)) return true;
      continue;
    }
    if (win.have == 0 && skip && s.f != nullptr) skip_other_words(s, prefix);
    fill(win, s, 1);
    if (win.have <= 0) {
      if (s.aavso.form != file_form::report) continue;
      return false;
    }
    if (skip && !may_name(word_at(win, 0), prefix)) {
      drop(win, 1);
      continue;
    }
    // Six words hold a record. The words of a whole record after it can change what is found
    // only where its observer's code may be the star, starting the next record or line: only
    // then are they read. Words not read are empty to read_record.
    fill(win, s, record_words_max);
    int n = 0;
    record got;
    found f = record_at(win, star, &got, &n);
    if (f == found::record && (!skip || may_name(word_at(win, n - 1), prefix))) {
      fill(win, s, record_window);
      f = record_at(win, star, &got, &n);
    }
    if (f == found::record) {
      *r = got;
      win.used = n;
      return true;
    }
    if (f == found::no_observer) {
      ++*unobserved;
      drop(win, n);
      continue;
    }
    const char* first[2] = {word_at(win, 0), word_at(win, 1)};
    if (names_star(star, first)) ++*mentions;
    drop(win, 1);
  }
}

}  // namespace reports
