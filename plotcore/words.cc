// Reading whitespace-separated words from a data file or from the console.
#include "words.h"

#include <climits>
#include <cstring>

namespace plotcore {

void open_source(byte_source& s, std::FILE* f, bool one_at_a_time) {
  s.f = f;
  s.one_at_a_time = one_at_a_time;
  s.at_end = false;
  s.failed = false;
  s.utf16 = 0;
  s.after_high = false;
  s.odd = -1;
  s.pos = 0;
  s.len = 0;
}

// ---- UTF-16 text ----

// Turns the UTF-16 units in buf[from, len) into bytes at the front of the buffer, in place: a
// unit gives at most one byte, so no byte is overwritten before it has been read. A byte left
// without the other half of its unit waits in `odd` for the next block.
static void decode_utf16(byte_source& s, int from) {
  int out = 0;
  int i = from;
  for (; i + 1 < s.len; i += 2) {
    const unsigned first = s.buf[i];
    const unsigned second = s.buf[i + 1];
    const unsigned unit = s.utf16 == 1 ? first | second << 8 : first << 8 | second;
    // The second half of a pair belongs to the character the first half already gave.
    const bool second_half = unit >= 0xDC00 && unit <= 0xDFFF && s.after_high;
    if (unit < 0x80)
      s.buf[out++] = static_cast<unsigned char>(unit);
    else if (!second_half)
      s.buf[out++] = '?';
    s.after_high = unit >= 0xD800 && unit <= 0xDBFF;
  }
  s.odd = i < s.len ? s.buf[i] : -1;
  s.pos = 0;
  s.len = out;
}

// Refills the buffer with the bytes of the next block of UTF-16 text; a block of halves of
// pairs may give none, so blocks are read until one gives a byte or the stream ends.
static bool refill_utf16(byte_source& s) {
  while (s.len == 0) {
    const int start = s.odd >= 0 ? 1 : 0;
    if (start == 1) s.buf[0] = static_cast<unsigned char>(s.odd);
    const int n = static_cast<int>(std::fread(s.buf + start, 1, sizeof s.buf - start, s.f));
    if (n == 0) {
      s.at_end = true;
      s.failed = std::ferror(s.f) != 0;
      // A last byte with no other half is a character that cannot be read.
      if (s.odd >= 0 && !s.failed) {
        s.buf[0] = '?';
        s.len = 1;
      }
      s.odd = -1;
      return s.len > 0;
    }
    s.len = start + n;
    decode_utf16(s, 0);
  }
  return true;
}

// ---- bytes ----

// Refills the buffer; the console gives one byte per call so that reading never blocks for
// answers the user has not typed yet.
static bool refill(byte_source& s) {
  if (s.at_end) return false;
  s.pos = 0;
  s.len = 0;
  if (s.utf16 != 0) return refill_utf16(s);
  if (s.one_at_a_time) {
    const int c = std::getc(s.f);
    if (c != EOF) {
      s.buf[0] = static_cast<unsigned char>(c);
      s.len = 1;
    }
  } else {
    s.len = static_cast<int>(std::fread(s.buf, 1, sizeof s.buf, s.f));
  }
  if (s.len == 0) {
    s.at_end = true;
    s.failed = std::ferror(s.f) != 0;
  }
  return s.len > 0;
}

void skip_byte_order_mark(byte_source& s) {
  if (s.one_at_a_time || s.pos != 0 || s.len != 0 || !refill(s)) return;
  // fread gives a whole block unless the file ends first, so a mark at the start of the file
  // is whole in this first block.
  if (s.len >= 3 && s.buf[0] == 0xEF && s.buf[1] == 0xBB && s.buf[2] == 0xBF) {
    s.pos = 3;
  } else if (s.len >= 2 &&
             ((s.buf[0] == 0xFF && s.buf[1] == 0xFE) || (s.buf[0] == 0xFE && s.buf[1] == 0xFF))) {
    // PowerShell's ">" and Notepad's "Unicode" write UTF-16 with a mark.
    s.utf16 = s.buf[0] == 0xFF ? 1 : 2;
    decode_utf16(s, 2);
  }
}

int next_byte(byte_source& s) {
  if (s.pos >= s.len && !refill(s)) return -1;
  return s.buf[s.pos++];
}

static int skip_white(byte_source& s) {
  int c = next_byte(s);
  while (c >= 0 && is_white(c)) c = next_byte(s);
  return c;
}

word_status read_word(byte_source& s, word_buf& w) {
  const int first = skip_white(s);
  if (first < 0) return word_status::end;
  w[0] = static_cast<char>(first);
  int n = 1;
  bool cut = false;
  bool nul = first == 0;
  // The rest of the word is taken run by run from the buffer, not byte by byte: a long data file
  // is mostly words. The separator after the word is consumed with it.
  while (s.pos < s.len || refill(s)) {
    const int start = s.pos;
    int end = start;
    while (end < s.len && !is_white(s.buf[end])) ++end;
    const int run = end - start;
    const int take = run < word_max - n ? run : word_max - n;
    std::memcpy(w + n, s.buf + start, static_cast<size_t>(take));
    n += take;
    if (run > take) cut = true;
    if (std::memchr(s.buf + start, 0, static_cast<size_t>(run)) != nullptr) nul = true;
    s.pos = end;
    if (end < s.len) {
      ++s.pos;
      break;
    }
  }
  w[n] = '\0';
  // The stream failed where the word might have gone on: what was read is not what was written.
  if (s.failed) return word_status::end;
  if (nul) return word_status::has_nul;
  return cut ? word_status::truncated : word_status::ok;
}

int_status read_int(byte_source& s, int* value) {
  int c = skip_white(s);
  if (c < 0) return int_status::end;
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = next_byte(s);
  }
  // The magnitude is kept in long long and stops growing past INT_MAX + 1, so a word of any
  // length is read without overflow.
  long long magnitude = 0;
  bool digits = false;
  bool valid = true;
  for (; c >= 0 && !is_white(c); c = next_byte(s)) {
    if (c < '0' || c > '9') {
      valid = false;
      continue;
    }
    digits = true;
    if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (c - '0');
  }
  if (s.failed) return int_status::end;
  const long long v = negative ? -magnitude : magnitude;
  if (!valid || !digits || v > INT_MAX || v < INT_MIN) return int_status::not_a_number;
  *value = static_cast<int>(v);
  return int_status::ok;
}

}  // namespace plotcore
