// Fixed-point text of single-precision values, as printf's "%W.Df" writes it.
#include "fixed_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace plotcore {

int put_fixed(char* out, float v, int width, int decimals) {
  static constexpr double scale[] = {1.0, 10.0, 100.0, 1000.0};
  // A float has 24 significant bits and 1000 fits in 10, so the scaled value is exact in
  // double and the rounding below decides ties from the value itself, as printf does.
  const double scaled = std::fabs(static_cast<double>(v)) * scale[decimals];
  if (!(scaled < 1e15)) {
    // Values far beyond any magnitude or hour, infinities and NaN: printf's own text.
    char text[64];
    const int n =
        std::snprintf(text, sizeof text, "%*.*f", width, decimals, static_cast<double>(v));
    const int len = n < fixed_text_max ? n : fixed_text_max;
    std::memcpy(out, text, static_cast<size_t>(len));
    return len;
  }
  // Below 2^53 the whole part converts exactly, and so does what is left after it.
  unsigned long long units = static_cast<unsigned long long>(scaled);
  const double rest = scaled - static_cast<double>(units);
  if (rest > 0.5 || (rest == 0.5 && units % 2 != 0)) ++units;

  // Digits from the right: decimals, the point, then the whole part (at least "0").
  char digits[fixed_text_max];
  int n = 0;
  for (int i = 0; i < decimals; ++i, units /= 10) digits[n++] = static_cast<char>('0' + units % 10);
  if (decimals > 0) digits[n++] = '.';
  do {
    digits[n++] = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units != 0);
  if (std::signbit(v)) digits[n++] = '-';

  int len = 0;
  while (len < width - n) out[len++] = ' ';
  while (n > 0) out[len++] = digits[--n];
  return len;
}

}  // namespace plotcore
