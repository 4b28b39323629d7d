// Reading whitespace-separated words from a data file or from the console.
#pragma once

#include <cstdio>

namespace plotcore {

/// Characters a word keeps; its buffer holds them and a terminator.
constexpr int word_max = 29;

/// A word buffer: up to 29 characters and a terminator.
using word_buf = char[word_max + 1];

/// A stream read byte by byte through a buffer of its own. A data file is read in blocks; the
/// console one byte at a time, so that reading never waits for more than the user has typed.
struct byte_source {
  std::FILE* f;
  bool one_at_a_time;
  bool at_end;
  bool failed;  ///< reading stopped on a read error, not at the end of the stream
  /// The stream is UTF-16 text, told by its byte-order mark: 0 no, 1 little-endian, 2 big-endian.
  int utf16;
  bool after_high;  ///< UTF-16: the last unit was the first half of a surrogate pair
  int odd;          ///< UTF-16: a byte read without the other half of its unit, or -1
  int pos;
  int len;
  unsigned char buf[1 << 14];
};

/// Starts reading `f`: in blocks (`one_at_a_time` false) or byte by byte (the console).
void open_source(byte_source& s, std::FILE* f, bool one_at_a_time);

/// Skips a UTF-8 byte-order mark (EF BB BF) when a block source starts with one; call it before
/// the first byte is read. Those bytes anywhere else are word bytes like any other. A UTF-16
/// mark (FF FE little-endian, FE FF big-endian) is skipped too, and the rest is then read as the
/// text it holds: each ASCII character as that byte, any other character (a surrogate pair is
/// one) as the single byte '?', and a last byte with no other half as '?'.
void skip_byte_order_mark(byte_source& s);

/// The next byte (0 to 255), or -1 at the end of the stream or on a read error (then `failed`).
int next_byte(byte_source& s);

/// True for the separators of words: space, tab, line feed, vertical tab, form feed, return.
inline bool is_white(int byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r');  // tab, line feed, vt, form feed, return
}

enum class word_status {
  ok,         ///< a whole word was read
  truncated,  ///< a longer word was read whole; its first 29 characters were kept
  has_nul,    ///< the word holds a NUL byte somewhere, also past the 29th; kept as for the others
  end,        ///< the stream ended before a word began, or failed before the word was whole
};

/// Skips white space and reads one word, keeping its first 29 bytes (terminated) in `w`.
/// Bytes past the 29th are read and dropped so the next word starts where it should. A NUL byte
/// is a word byte like any other, so a word that holds one says so: as a string it ends early.
/// A word that a read error cut short is not a word: the status is `end`, and `failed` is set.
word_status read_word(byte_source& s, word_buf& w);

enum class int_status {
  ok,            ///< a whole decimal integer within int: optional sign, then digits only
  not_a_number,  ///< any other word, which has been read whole
  end,           ///< the stream ended before a word began, or failed within it
};

/// Reads one word and takes it as a decimal integer. Words of any length are read whole; the
/// value is set only when the status is ok.
int_status read_int(byte_source& s, int* value);

}  // namespace plotcore
