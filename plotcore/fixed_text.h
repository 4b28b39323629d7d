// Fixed-point text of single-precision values, as printf's "%W.Df" writes it.
#pragma once

namespace plotcore {

/// Most characters put_fixed writes: a sign, the 39 digits of the largest float, the point and
/// three decimals, within any width up to 48.
constexpr int fixed_text_max = 48;

/// Writes `v` as std::printf("%*.*f", width, decimals, v) does in the C locale: rounded half to
/// even from its exact binary value, "-" for any negative value (also "-0.000"), right-aligned
/// in `width` characters. `decimals` is 0 to 3 and `width` at most fixed_text_max. Writes no
/// terminator; returns the number of characters written.
int put_fixed(char* out, float v, int width, int decimals);

}  // namespace plotcore
