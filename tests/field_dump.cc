// Prints num, the magnitude rule and the hour of time fields over a large fixed set of fields, so
// that builds for different platforms can be compared line by line.
#include <cstdint>
#include <cstdio>

#include "magtime/time_field.h"
#include "plotcore/num.h"
#include "plotcore/words.h"

namespace {

// The fields of the unit tests, then edge cases around the scan limit and the word length.
// clang-format off
const char* const fixed_fields[] = {
    "12.34", "123", "12.3V", "", "1.2.3", "-1.5", "+3", "<14.5", "14.5:", "00000000.5", ".747",
    "1234567890123456789012345", "A12", "15.9999999", "999999999999999999999", "0.1", "99.99",
    "@@", "/", "12@3", "12\xC3\xA9", "123456789012345678901", "0000000000000000000001",
    "000000000000000000001", " ", "1,", "@", "9A9", "9\2009", "115", "20", "20.0001", "12.6",
    "99999999999999999999999999999", ".99999999999999999999999999", "16777217", "16777216.5",
    "0.000000000000000000001", "9.99999999999999999999", "33554431.9", "4294967295.5"};

const char* const fixed_times[] = {
    "201211180736", "201211182030", "201211182215", "201211180223", "201211182359",
    "2012111807", "20121118", "2012", "20121118AB:;", "201211180736999", "20121118.5",
    "20121118.25", "2456000.123", ".2.25", "5", "1.5.5", "20121118.5V", "", "."};
// clang-format on

// splitmix64 with a fixed seed: the same sequence on every platform and compiler.
struct generator {
  std::uint64_t state;
};

std::uint32_t next(generator& g) {
  std::uint64_t z = (g.state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

int below(generator& g, int n) { return static_cast<int>(next(g) % static_cast<std::uint32_t>(n)); }

char digit(generator& g) { return static_cast<char>('0' + below(g, 10)); }

// Any byte a data word can hold, digits most often: letters, signs, ":", "<", "@", "/", ",",
// and bytes from 128 up.
char any_byte(generator& g) {
  static const char others[] = ".-+:<@/,;=>?!#$%&'()*AVZaz";
  switch (below(g, 8)) {
    case 0: return others[below(g, static_cast<int>(sizeof others) - 1)];
    case 1: return static_cast<char>(static_cast<unsigned char>(128 + below(g, 128)));
    case 2: return static_cast<char>('A' + below(g, 58));  // letters and [\]^_`
    default: return digit(g);
  }
}

// Fields of the kinds data files hold, and kinds they should not but may.
void make_field(generator& g, int kind, plotcore::word_buf& f) {
  int n = 0;
  switch (kind) {
    case 0: {  // a magnitude: "<12.3", "12.34:", "123", "9.8V"
      if (below(g, 8) == 0) f[n++] = '<';
      for (int i = 1 + below(g, 3); i > 0; --i) f[n++] = digit(g);
      if (below(g, 4) != 0) {
        f[n++] = '.';
        for (int i = 1 + below(g, 4); i > 0; --i) f[n++] = digit(g);
      }
      if (below(g, 8) == 0) f[n++] = ":V("[below(g, 3)];
      break;
    }
    case 1: {  // a phase or a day fraction: "0.1234", ".5", "1.0"
      if (below(g, 4) != 0) f[n++] = below(g, 8) == 0 ? '1' : '0';
      f[n++] = '.';
      for (int i = 1 + below(g, 12); i > 0; --i) f[n++] = digit(g);
      break;
    }
    case 2: {  // a long field, 22 to 29 characters, digits with up to two "."
      const int len = 22 + below(g, 8);
      for (int i = 0; i < len; ++i) f[n++] = digit(g);
      for (int dots = below(g, 3); dots > 0; --dots) f[below(g, len)] = '.';
      break;
    }
    case 3: {  // digits with a long fraction, up to the scan limit and past it
      for (int i = below(g, 9); i > 0; --i) f[n++] = digit(g);
      f[n++] = '.';
      for (int i = 1 + below(g, 20); i > 0; --i) f[n++] = digit(g);
      break;
    }
    default: {  // anything, 0 to 29 bytes
      for (int i = below(g, plotcore::word_max + 1); i > 0; --i) f[n++] = any_byte(g);
      break;
    }
  }
  f[n] = '\0';
}

// A VSOLJ time "YYYYMMDDhhmm" (now and then cut short, run long or with other bytes), or a VSNET
// time "YYYYMMDD.ddd" or a Julian day "2456000.1234".
void make_time(generator& g, bool vsolj, plotcore::word_buf& f) {
  int n = 0;
  if (vsolj) {
    for (int i = 0; i < 8; ++i) f[n++] = digit(g);
    f[n++] = static_cast<char>('0' + below(g, 3));
    f[n++] = digit(g);
    f[n++] = static_cast<char>('0' + below(g, 6));
    f[n++] = digit(g);
    if (below(g, 16) == 0) f[8 + below(g, 4)] = any_byte(g);
    if (below(g, 16) == 0) n = below(g, 12);
    if (below(g, 16) == 0) f[n++] = digit(g);
  } else {
    for (int i = below(g, 4) == 0 ? 7 : 8; i > 0; --i) f[n++] = digit(g);
    if (below(g, 32) != 0) f[n++] = '.';
    for (int i = 1 + below(g, 8); i > 0; --i) f[n++] = digit(g);
    if (below(g, 16) == 0) f[below(g, n)] = any_byte(g);
  }
  f[n] = '\0';
}

// The field in printable ASCII: bytes outside "!" to "~", and "\", as \xHH.
void put_field(const char* field) {
  std::putchar('"');
  for (const char* p = field; *p != '\0'; ++p) {
    const int c = static_cast<unsigned char>(*p);
    if (c <= ' ' || c >= 127 || c == '\\' || c == '"')
      std::printf("\\x%02X", static_cast<unsigned>(c));
    else
      std::putchar(c);
  }
  std::putchar('"');
}

void dump_num(const char* field) {
  std::fputs("num ", stdout);
  put_field(field);
  std::printf(" %.9g %.9g\n", static_cast<double>(plotcore::num(field)),
              static_cast<double>(plotcore::magnitude_of(field)));
}

void dump_time(const char* field) {
  std::fputs("time ", stdout);
  put_field(field);
  std::printf(" %.9g %.9g\n", static_cast<double>(magtime::vsolj_hour(field)),
              static_cast<double>(magtime::vsnet_hour(field)));
}

constexpr int generated_fields = 150000;
constexpr int generated_times = 40000;

}  // namespace

int main() {
  for (const char* f : fixed_fields) dump_num(f);
  for (const char* f : fixed_times) dump_num(f);
  for (const char* f : fixed_times) dump_time(f);
  generator g = {20121118};
  plotcore::word_buf field;
  for (int i = 0; i < generated_fields; ++i) {
    make_field(g, i % 5, field);
    dump_num(field);
  }
  for (int i = 0; i < generated_times; ++i) {
    make_time(g, i % 2 == 0, field);
    dump_time(field);
  }
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
