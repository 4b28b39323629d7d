// Fuzz target: the numeric field parser, the label digits, the time decoders and the echo's
// fixed-point text on any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "magtime/time_field.h"
#include "plotcore/fixed_text.h"
#include "plotcore/num.h"
#include "plotcore/words.h"

// The fixed-point text of v must be printf's, character for character.
static void check_fixed(float v, int width, int decimals) {
  char mine[plotcore::fixed_text_max];
  const int n = plotcore::put_fixed(mine, v, width, decimals);
  char expected[plotcore::fixed_text_max + 16];
  const int m =
      std::snprintf(expected, sizeof expected, "%*.*f", width, decimals, static_cast<double>(v));
  if (n != m || std::memcmp(mine, expected, static_cast<size_t>(n)) != 0) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A field as the reader hands it over: at most 29 bytes and a terminator. The bytes may hold
  // a NUL of their own, which ends the field early as it does in the programs.
  plotcore::word_buf field;
  const size_t len = size < plotcore::word_max ? size : plotcore::word_max;
  std::memcpy(field, data, len);
  field[len] = '\0';

  const float value = plotcore::num(field);
  // Only the first 21 bytes count, whatever follows them.
  plotcore::word_buf cut;
  std::memcpy(cut, field, sizeof cut);
  if (len > plotcore::num_scan_limit) cut[plotcore::num_scan_limit] = '\0';
  const float cut_value = plotcore::num(cut);
  if (std::memcmp(&value, &cut_value, sizeof value) != 0) std::abort();

  // The values the echo line prints: X and magnitude, as "%5.2f" and "%7.3f".
  check_fixed(plotcore::magnitude_of(field), 7, 3);
  check_fixed(magtime::vsolj_hour(field), 5, 2);
  check_fixed(magtime::vsnet_hour(field), 5, 2);
  check_fixed(value * 10.0f, 5, 2);

  // Any int is a label value, and any float (NaN and infinities too) has a fixed-point text:
  // the first four bytes, with a width and a number of decimals from the next two.
  if (size >= 4) {
    int n = 0;
    std::memcpy(&n, data, sizeof n);
    (void)plotcore::t1(n);
    (void)plotcore::t2(n);
    float v = 0.0f;
    std::memcpy(&v, data, sizeof v);
    const int width = size >= 5 ? data[4] % (plotcore::fixed_text_max + 1) : 7;
    const int decimals = size >= 6 ? data[5] % 4 : 3;
    check_fixed(v, width, decimals);
  }
  return 0;
}
