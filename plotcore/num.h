// Numeric fields of data files and the digit characters of axis labels.
#pragma once

namespace plotcore {

/// Longest prefix of a field that `num` looks at.
constexpr int num_scan_limit = 21;

/// Value of a data field in single precision. Scans at most the first 21 bytes; stops at the
/// terminator or at any byte above 64 (letters, bytes from 128 up). "." starts the fraction;
/// every other byte is a digit worth (code - 48), so "-1.5" reads as -28.5. Never fails.
float num(const char* field);

/// Tens character of a label: 48 + n / 10 (toward zero), kept to its low 8 bits.
char t2(int n);

/// Units character of a label: 48 + n % 10 (sign of n), kept to its low 8 bits.
char t1(int n);

/// A magnitude as the data files store it: a value read above 20 was written without its
/// decimal point ("123" is 12.3) and is divided by ten; 20 and below stay as read.
float magnitude_of(const char* field);

}  // namespace plotcore
