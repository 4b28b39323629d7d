// The records of a star in a posted report: times, magnitudes, whole records, phases, dates.
#include "magprep/record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using magprep::layout;

// A record as the tests compare it: "LAYOUT day part/per_day digits [limit] [uncertain]", or
// "-" for words that make no record.
std::string shown(bool ok, const magprep::record& r) {
  if (!ok) return "-";
  return std::string(r.time.kind == layout::vsolj ? "VSOLJ " : "VSNET ") +
         std::to_string(r.time.day) + " " + std::to_string(r.time.part) + "/" +
         std::to_string(r.time.per_day) + " " + r.mag.digits + (r.mag.limit ? " limit" : "") +
         (r.mag.uncertain ? " uncertain" : "");
}

struct record_case {
  const char* words[4];
  const char* expected;
};

// 2026-12-07 is day 20794, 1994-05-16 day 8901, 2004-11-02 day 12724.
TEST(read_record, takes_four_words_of_the_star_and_nothing_else) {
  const record_case cases[] = {
      {{"BLAlg", "202612071930", "102", "QZK"}, "VSOLJ 20794 1170/1440 102"},
      {{"blalg", "202612071930", "10.2", "QZK"}, "VSOLJ 20794 1170/1440 10.2"},
      {{"BLALG", "202612072634", "118:", "QZK"}, "VSOLJ 20794 1594/1440 118 uncertain"},
      {{"BLAlg", "20261207.812", "14.80V", "QZK"}, "VSNET 20794 812000/1000000 14.80"},
      {{"BLAlg", "940516.588", "98p", "QZK"}, "VSNET 8901 588000/1000000 98"},
      {{"BLAlg", "200411022230", "<110p", "QZK"}, "VSOLJ 12724 1350/1440 110 limit"},
      {{"BLAlg", "20261207.1234567", "[13.5", "x"}, "VSNET 20794 123456/1000000 13.5 limit"},
      {{"BLAlg", "20261207.5", "12.1?V:", "x"}, "VSNET 20794 500000/1000000 12.1 uncertain"},
      {{"BLAlg", "20261207.5", ".5", "x"}, "VSNET 20794 500000/1000000 .5"},
      // Not the star, or not one word of it.
      {{"BLAlgX", "202612071930", "102", "QZK"}, "-"},
      {{">", "BLAlg", "202612071930", "102"}, "-"},
      // Not a time: a wrong length, a letter, a date or an hour that does not exist.
      {{"BLAlg", "20261207193", "102", "QZK"}, "-"},
      {{"BLAlg", "20261207193O", "102", "QZK"}, "-"},
      {{"BLAlg", "202613071930", "102", "QZK"}, "-"},
      {{"BLAlg", "202602291930", "102", "QZK"}, "-"},
      {{"BLAlg", "202612074800", "102", "QZK"}, "-"},
      {{"BLAlg", "20261207.", "102", "QZK"}, "-"},
      {{"BLAlg", "2026120.75", "102", "QZK"}, "-"},
      {{"BLAlg", "20261207.8.1", "102", "QZK"}, "-"},
      {{"BLAlg", "-20261207.8", "102", "QZK"}, "-"},
      // Not a magnitude.
      {{"BLAlg", "202612071930", "V14.8", "QZK"}, "-"},
      {{"BLAlg", "202612071930", "1.2.3", "QZK"}, "-"},
      {{"BLAlg", "202612071930", "<", "QZK"}, "-"},
      {{"BLAlg", "202612071930", "12-13", "QZK"}, "-"},
      {{"BLAlg", "202612071930", "12.1(V)", "QZK"}, "-"},
      // No observer: a word too long or with a NUL byte comes as an empty word.
      {{"BLAlg", "202612071930", "102", ""}, "-"},
  };
  for (const record_case& c : cases) {
    magprep::record r{};
    const bool ok = magprep::read_record("BLAlg", c.words, &r);
    EXPECT_EQ(shown(ok, r), c.expected) << c.words[0] << " " << c.words[1] << " " << c.words[2];
  }
}

TEST(day_number, counts_days_from_1970_and_back) {
  const struct {
    int y, m, d, number;
  } cases[] = {{1970, 1, 1, 0},         {1969, 12, 31, -1},   {2000, 2, 29, 11016},
               {2000, 3, 1, 11017},     {2026, 12, 7, 20794}, {1, 1, 1, -719162},
               {9999, 12, 31, 2932896}, {1900, 3, 1, -25508}};
  for (const auto& c : cases) {
    int n = 0, y = 0, m = 0, d = 0;
    ASSERT_TRUE(magprep::day_number(c.y, c.m, c.d, &n)) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(n, c.number) << c.y << "-" << c.m << "-" << c.d;
    magprep::civil_date(n, &y, &m, &d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
  }
  int n = 0;
  EXPECT_FALSE(magprep::day_number(1900, 2, 29, &n));
  EXPECT_FALSE(magprep::day_number(2026, 4, 31, &n));
  EXPECT_FALSE(magprep::day_number(0, 1, 1, &n));
}

TEST(read_phase, takes_phases_from_0_to_1_as_billionths) {
  const struct {
    const char* word;
    long long billionths;  // -1: not a phase
  } cases[] = {{"0.25", 250000000},
               {".5", 500000000},
               {"1", 1000000000},
               {"1.000", 1000000000},
               {"0.123456789", 123456789},
               {"1.0001", -1},
               {"0.1234567891", -1},
               {"-0.1", -1},
               {"0.5:", -1},
               {".", -1},
               {"", -1}};
  for (const auto& c : cases) {
    long long v = -1;
    EXPECT_EQ(magprep::read_phase(c.word, &v) ? v : -1, c.billionths) << c.word;
  }
  long long v = 0;
  EXPECT_TRUE(magprep::read_shift("-0.25", &v));
  EXPECT_EQ(v, -250000000);
  EXPECT_TRUE(magprep::read_shift("+2.5", &v));
  EXPECT_EQ(v, 2500000000);
  EXPECT_FALSE(magprep::read_shift("0.5x", &v));
  EXPECT_FALSE(magprep::read_shift("--1", &v));
}

}  // namespace
