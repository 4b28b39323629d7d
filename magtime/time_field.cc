// The hour of day of an observation, from the time field of a VSOLJ or a VSNET record.
#include "time_field.h"

#include <cstring>

#include "plotcore/num.h"
#include "plotcore/words.h"

namespace magtime {

float vsolj_hour(const char* field) {
  const size_t len = std::strlen(field);
  int digit[4];
  for (int i = 0; i < 4; ++i) {
    const size_t at = 8 + static_cast<size_t>(i);
    digit[i] = (at < len ? static_cast<unsigned char>(field[at]) : '0') - 48;
  }
  const double hour = digit[0] * 10 + digit[1];
  const double minute = digit[2] * 10 + digit[3];
  return static_cast<float>(hour + minute / 60.0);
}

float vsnet_hour(const char* field) {
  plotcore::word_buf day;
  size_t len = std::strlen(field);
  if (len > plotcore::word_max) len = plotcore::word_max;
  std::memcpy(day, field, len);
  day[len] = '\0';
  for (size_t i = 0; i < len; ++i) {
    if (i > 0 && day[i] == '.') break;
    day[i] = '0';
  }
  return plotcore::num(day) * 24.0f;
}

}  // namespace magtime
