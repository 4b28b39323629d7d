// Fixed-point text of floats against the C library's printf.
#include "plotcore/fixed_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::string fixed(float v, int width, int decimals) {
  char out[plotcore::fixed_text_max];
  const int n = plotcore::put_fixed(out, v, width, decimals);
  return std::string(out, static_cast<size_t>(n));
}

std::string printed(float v, int width, int decimals) {
  char out[128];
  std::snprintf(out, sizeof out, "%*.*f", width, decimals, static_cast<double>(v));
  return out;
}

// The two formats of the echo line, and the others put_fixed allows.
constexpr int formats[][2] = {{5, 2}, {7, 3}, {0, 0}, {3, 1}};

void expect_as_printf(float v) {
  for (const auto& f : formats)
    ASSERT_EQ(fixed(v, f[0], f[1]), printed(v, f[0], f[1]))
        << "%" << f[0] << "." << f[1] << "f of " << std::hexfloat << v;
}

TEST(put_fixed, writes_what_printf_writes_for_telling_values) {
  const float inf = std::numeric_limits<float>::infinity();
  const float values[] = {0.0f,    -0.0f,        7.6f,         12.3f,    11.8f,   20.5f,  22.25f,
                          0.747f,  15.9999999f,  -28.5f,       -1214.5f, -0.001f, 0.004f, 0.005f,
                          99.995f, 99999.99f,    123456789.0f, 1e15f,    1e20f,   -1e30f, FLT_MAX,
                          FLT_MIN, FLT_TRUE_MIN, inf,          -inf};
  for (float v : values) expect_as_printf(v);
  EXPECT_EQ(fixed(7.6f, 5, 2), " 7.60");
  EXPECT_EQ(fixed(12.3f, 7, 3), " 12.300");
  EXPECT_EQ(fixed(-0.0f, 5, 2), "-0.00");
  EXPECT_EQ(fixed(-28.5f, 7, 3), "-28.500");
  EXPECT_EQ(fixed(123456.0f, 5, 2), "123456.00");
}

TEST(put_fixed, rounds_exact_halves_to_even) {
  // Multiples of 1/16 are the floats that lie exactly halfway at two or three decimals.
  EXPECT_EQ(fixed(0.125f, 5, 2), " 0.12");
  EXPECT_EQ(fixed(0.375f, 5, 2), " 0.38");
  EXPECT_EQ(fixed(0.0625f, 7, 3), "  0.062");
  EXPECT_EQ(fixed(0.1875f, 7, 3), "  0.188");
  EXPECT_EQ(fixed(2.5f, 0, 0), "2");
  EXPECT_EQ(fixed(3.5f, 0, 0), "4");
  for (int m = -32000; m <= 32000; ++m) expect_as_printf(static_cast<float>(m) / 16.0f);
}

TEST(put_fixed, writes_what_printf_writes_near_every_rounding_step) {
  // Each step k / 1000 up to 100 and the floats just beside it, on both sides of zero.
  for (int k = 0; k <= 100000; ++k) {
    const float v = static_cast<float>(k) / 1000.0f;
    for (float w : {std::nextafter(v, -1.0f), v, std::nextafter(v, 200.0f)}) {
      expect_as_printf(w);
      expect_as_printf(-w);
    }
  }
}

TEST(put_fixed, writes_what_printf_writes_across_all_magnitudes) {
  // Every 16381st float bit pattern, positive and negative.
  for (std::uint64_t bits = 0; bits < 0x80000000u; bits += 16381) {
    const auto b = static_cast<std::uint32_t>(bits);
    float v;
    std::memcpy(&v, &b, sizeof v);
    if (std::isnan(v)) continue;
    expect_as_printf(v);
    expect_as_printf(-v);
  }
}

}  // namespace
