// Numeric fields of data files and the digit characters of axis labels.
#include "num.h"

namespace plotcore {

float num(const char* field) {
  // Every stored value is rounded to single precision; the products and sums leading to it are
  // formed in double, so the fraction digits add value x place without an extra rounding.
  float acc = 0.0f;
  float place = 1.0f;
  bool fraction = false;
  for (int i = 0; i < num_scan_limit; ++i) {
    const int code = static_cast<unsigned char>(field[i]);
    if (code == 0 || code > 64) break;
    if (code == '.') {
      fraction = true;
      continue;
    }
    const int value = code - 48;
    if (!fraction) {
      acc = static_cast<float>(static_cast<double>(acc) * 10.0);
      acc = static_cast<float>(static_cast<double>(acc) + value);
    } else {
      place = static_cast<float>(static_cast<double>(place) / 10.0);
      acc = static_cast<float>(static_cast<double>(acc) +
                               static_cast<double>(value) * static_cast<double>(place));
    }
  }
  return acc;
}

char t2(int n) { return static_cast<char>(static_cast<unsigned char>((48 + n / 10) & 0xff)); }

char t1(int n) { return static_cast<char>(static_cast<unsigned char>((48 + n % 10) & 0xff)); }

float magnitude_of(const char* field) {
  const float m = num(field);
  return m > 20.0f ? m / 10.0f : m;
}

}  // namespace plotcore
