// Single-precision values as tests compare them: "%.9g", enough digits to tell any two apart.
#pragma once

#include <cstdio>
#include <string>

inline std::string g9(float v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
  return buf;
}
