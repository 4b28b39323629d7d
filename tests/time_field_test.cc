// Hour of day from VSOLJ and VSNET time fields.
#include "magtime/time_field.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "g9.h"

namespace {

struct time_case {
  const char* field;
  const char* hour;  // "%.9g" of the single-precision hour
};

TEST(vsolj_hour, takes_hour_and_minute_from_positions_8_to_11) {
  const time_case cases[] = {
      {"201211180736", "7.5999999"},  // 7 + 36 / 60 rounded once
      {"201211182030", "20.5"},
      {"201211182215", "22.25"},
      {"201211180223", "2.38333344"},  // formed in double, rounded once
      {"201211182359", "23.9833336"},
      {"2012111807", "7"},  // minute positions past the end count as "0"
      {"20121118", "0"},
      {"2012", "0"},
      {"20121118AB:;", "189.850006"},  // codes taken as they are: 17*10+18, (10*10+11)/60
      {"201211180736999", "7.5999999"},
  };
  for (const time_case& c : cases) EXPECT_EQ(g9(magtime::vsolj_hour(c.field)), c.hour) << c.field;
}

TEST(vsnet_hour, keeps_only_the_day_fraction) {
  const time_case cases[] = {
      {"20121118.5", "12"},
      {"20121118.25", "6"},
      {"2456000.123", "2.95200014"},
      {".2.25", "6"},     // the first byte is always overwritten: "00.25"
      {"20121118", "0"},  // no "." after the first byte: all "0"
      {"5", "0"},
      {"1.5.5", "13.2000008"},  // "0.5.5" reads 0.55
      {"20121118.5V", "12"},
  };
  for (const time_case& c : cases) EXPECT_EQ(g9(magtime::vsnet_hour(c.field)), c.hour) << c.field;
}

}  // namespace
