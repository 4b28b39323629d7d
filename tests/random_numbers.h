// A fixed sequence of random numbers for generated light curves and timings: the same on every
// run and every platform (splitmix64; normal ones by Box and Muller).
#pragma once

#include <cmath>
#include <cstdint>

struct random_numbers {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }
  double between(double a, double b) { return a + (b - a) * uniform(); }
  double normal() {
    const double u = 1 - uniform();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * 3.14159265358979323846 * uniform());
  }
};
