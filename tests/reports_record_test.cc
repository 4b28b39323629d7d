// The records of a star in a posted report: times, magnitudes, whole records, phases, dates.
#include "reports/record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using reports::layout;

// A record as the tests compare it: "LAYOUT day part/per_day digits [limit] [uncertain]", or
// "-" for words that make no record.
std::string shown(bool ok, const reports::record& r) {
  if (!ok) return "-";
  return std::string(r.time.kind == layout::vsolj ? "VSOLJ " : "VSNET ") +
         std::to_string(r.time.day) + " " + std::to_string(r.time.part) + "/" +
         std::to_string(r.time.per_day) + " " + r.mag.digits + (r.mag.limit ? " limit" : "") +
         (r.mag.uncertain ? " uncertain" : "");
}

struct record_case {
  const char* words[reports::record_window];  // past the last given: no more words
  const char* expected;
};

// The record of `star` that starts at the case's first word, with the words it takes (and its
// observer, when asked), or "no observer" and the words before it. A word written "\nWORD"
// starts a line.
std::string read_case(const char* star, const record_case& c, bool observer = false) {
  reports::star_name s;
  if (!reports::read_star(star, &s)) return "bad star";
  const char* w[reports::record_window];
  bool line_start[reports::record_window];
  for (int i = 0; i < reports::record_window; ++i) {
    w[i] = c.words[i] != nullptr ? c.words[i] : "";
    line_start[i] = w[i][0] == '\n';
    if (line_start[i]) ++w[i];
  }
  reports::record r{};
  int n = 0;
  switch (reports::read_record(s, w, line_start, &r, &n)) {
    case reports::found::nothing: return "-";
    case reports::found::no_observer: return "no observer (" + std::to_string(n) + " words)";
    case reports::found::record: break;
  }
  return shown(true, r) + (observer ? std::string(" by ") + r.observer : "") +
         (n != 4 ? " (" + std::to_string(n) + " words)" : "");
}

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
      {{"BLAlg", "202612071930", "102", ""}, "no observer (3 words)"},
  };
  for (const record_case& c : cases)
    EXPECT_EQ(read_case("BLAlg", c), c.expected)
        << c.words[0] << " " << c.words[1] << " " << c.words[2];
}

// The forms a reader also takes for records: the star in two words or behind glued quote marks,
// a limit mark standing alone, a decimal comma; and the calendar's edges.
TEST(read_record, takes_the_forms_a_person_reads) {
  const struct {
    const char* star;
    record_case c;
  } cases[] = {
      {"RZ Cas", {{"RZCas", "202612071930", "102", "QZK"}, "VSOLJ 20794 1170/1440 102"}},
      {"RZ Cas",
       {{"rz", "CAS", "202612071930", "102", "QZK"}, "VSOLJ 20794 1170/1440 102 (5 words)"}},
      {"RZ Cas", {{"RZ", "202612071930", "102", "QZK"}, "-"}},
      {"RZCas", {{"RZ", "Cas", "202612071930", "102", "QZK"}, "-"}},
      {"BLAlg", {{">BLAlg", "202612071930", "102", "QZK"}, "VSOLJ 20794 1170/1440 102"}},
      {"BLAlg", {{">>blalg", "202612071930", "102", "QZK"}, "VSOLJ 20794 1170/1440 102"}},
      {"BLAlg", {{"<BLAlg", "202612071930", "102", "QZK"}, "-"}},
      {"BLAlg",
       {{"BLAlg", "202612071930", "<", "14.0", "QZK"},
        "VSOLJ 20794 1170/1440 14.0 limit (5 words)"}},
      {"BLAlg",
       {{"BLAlg", "202612071930", "[", "145:", "QZK"},
        "VSOLJ 20794 1170/1440 145 limit uncertain (5 words)"}},
      {"BLAlg", {{"BLAlg", "202612071930", "<", "<14.0", "QZK"}, "-"}},
      {"BLAlg", {{"BLAlg", "202612071930", "<", "14.0"}, "no observer (4 words)"}},
      {"RZ Cas",
       {{"RZ", "Cas", "202612071930", ">", "14.0", "QZK"},
        "VSOLJ 20794 1170/1440 14.0 limit (6 words)"}},
      {"BLAlg", {{"BLAlg", "202612071930", "7,3", "QZK"}, "VSOLJ 20794 1170/1440 7.3"}},
      {"BLAlg", {{"BLAlg", "202612071930", "7,3.1", "QZK"}, "-"}},
      {"BLAlg", {{"BLAlg", "202612071930", "12.1a", "QZK"}, "VSOLJ 20794 1170/1440 12.1"}},
      {"BLAlg", {{"BLAlg", "202612071930", "12.1Z", "QZK"}, "VSOLJ 20794 1170/1440 12.1"}},
      {"AZ", {{"az", "202612071930", "102", "QZK"}, "VSOLJ 20794 1170/1440 102"}},
      {"az", {{"AZ", "202612071930", "102", "QZK"}, "VSOLJ 20794 1170/1440 102"}},
      // Calendar edges.
      {"S", {{"S", "202604301959", "102", "O"}, "VSOLJ 20573 1199/1440 102"}},
      {"S", {{"S", "202604311200", "102", "O"}, "-"}},
      {"S", {{"S", "202608321200", "102", "O"}, "-"}},
      {"S", {{"S", "202612071960", "102", "O"}, "-"}},
      {"S", {{"S", "202402291200", "102", "O"}, "VSOLJ 19782 720/1440 102"}},
      {"S", {{"S", "202302291200", "102", "O"}, "-"}},
      {"S", {{"S", "210002291200", "102", "O"}, "-"}},
      {"S", {{"S", "200002291200", "102", "O"}, "VSOLJ 11016 720/1440 102"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(read_case(c.star, c.c), c.c.expected)
        << c.star << ": " << c.c.words[0] << " " << c.c.words[1];
}

// The word after the magnitude is the observer's code unless it is the star starting the next
// line, or the start of the next record: then the record has no observer, and the words from
// the star to the magnitude are all it takes, so that the next record is read whole.
TEST(read_record, takes_no_observer_from_the_next_line_or_record) {
  const struct {
    const char* star;
    record_case c;
  } cases[] = {
      {"ZZCas",
       {{"ZZCas", "20261207.812", "10.2", "\nZZCas", "20261207.9", "10.3", "ABC"},
        "no observer (3 words)"}},
      {"ZZCas", {{"ZZCas", "20261207.812", "10.2", "\nzzcas:", "bright"}, "no observer (3 words)"}},
      {"ZZ Cas",
       {{"ZZ", "Cas", "20261207.812", "<", "10.2", "\nZZ", "Cas", "is", "bright"},
        "no observer (5 words)"}},
      // The next record on the same line, the longest record in the place of the observer.
      {"ZZCas",
       {{"ZZCas", "20261207.812", "10.2", "ZZCas", "20261207.9", "10.3", "ABC"},
        "no observer (3 words)"}},
      {"ZZ Cas",
       {{"ZZ", "Cas", "20261207.812", "<", "10.2", "ZZ", "Cas", "20261207.9", "[", "10.3", "A"},
        "no observer (5 words)"}},
      // The star where no record starts, within a line: an observer's code like any word.
      {"ZZCas",
       {{"ZZCas", "20261207.812", "10.2", "ZZCas", "20261207.9", "10.3"},
        "VSNET 20794 812000/1000000 10.2 by ZZCas"}},
      {"ZZCas",
       {{"ZZCas", "20261207.812", "10.2", "ZZCas", "\nZZCas", "20261207.9", "10.3", "A"},
        "VSNET 20794 812000/1000000 10.2 by ZZCas"}},
      // Another word starting the next line is the observer's code, as in a report whose
      // records are wrapped.
      {"ZZCas",
       {{"ZZCas", "20261207.812", "10.2", "\nQZK", "\nZZCas", "20261207.9", "10.3", "A"},
        "VSNET 20794 812000/1000000 10.2 by QZK"}},
      {"S",
       {{"\nS", "20261207.5", "12.0", "\nSX", "\nS", "20261207.6"},
        "VSNET 20794 500000/1000000 12.0 by SX"}},
      // The end of the input.
      {"ZZCas", {{"ZZCas", "20261207.812", "10.2"}, "no observer (3 words)"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(read_case(c.star, c.c, true), c.c.expected)
        << c.star << ": " << c.c.words[3] << " " << c.c.words[4];
}

// Julian Dates and dashed dates are written in the VSNET layout, with their fraction's digits.
TEST(read_time, writes_julian_and_dashed_dates_in_the_vsnet_layout) {
  const struct {
    const char* word;
    const char* text;  // "-": not a time
    long long millionths;
  } cases[] = {
      {"2461389.375", "20261214.875", 875000},
      {"2461389.0", "20261214.5", 500000},
      {"2461389.5", "20261215.0", 0},
      {"2461388.99999", "20261214.49999", 499990},
      {"2461389.625", "20261215.125", 125000},
      {"2461389.123456789012345678901", "20261214.623456789012345678901", 623456},
      {"2461389.1234567890123456789012", "-", 0},
      {"2400000.5", "18581117.0", 0},
      {"2499999.4", "21320830.9", 900000},
      {"2399999.5", "-", 0},
      {"2500000.5", "-", 0},
      {"2461389.", "-", 0},
      {"2461389", "-", 0},
      {"2026-12-14.875", "20261214.875", 875000},
      {"2024-02-29.5", "20240229.5", 500000},
      {"2026-02-29.5", "-", 0},
      {"2026-12-14", "-", 0},
      {"2026-12-14.", "-", 0},
      {"2026-12-1.50", "-", 0},
      {"2026-12-14.8a", "-", 0},
      {"2026/12/14.875", "-", 0},
      {"20261214.875", "20261214.875", 875000},
      {"202612141930", "202612141930", 1170},
  };
  for (const auto& c : cases) {
    reports::obs_time t{};
    const bool ok = reports::read_time(c.word, &t);
    EXPECT_EQ(ok ? std::string(t.text) : "-", c.text) << c.word;
    EXPECT_EQ(ok ? t.part : 0, c.millionths) << c.word;
  }
}

TEST(read_star, takes_one_or_two_words) {
  const struct {
    const char* text;
    const char* whole;  // "-": not a STAR
  } cases[] = {{"RZCas", "RZCas"},
               {"RZ Cas", "RZCas"},
               {" RZ\tCas ", "RZCas"},
               {"V1500 Cyg", "V1500Cyg"},
               {"V* RZ Cas", "-"},
               {"", "-"},
               {"  ", "-"},
               {"ABCDEFGHIJKLMNOPQRSTUVWXYZ234", "ABCDEFGHIJKLMNOPQRSTUVWXYZ234"},
               {"ABCDEFGHIJKLMNOPQRSTUVWXYZ2345", "-"}};
  for (const auto& c : cases) {
    reports::star_name s{};
    EXPECT_EQ(reports::read_star(c.text, &s) ? std::string(s.whole) : "-", c.whole) << c.text;
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
    ASSERT_TRUE(reports::day_number(c.y, c.m, c.d, &n)) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(n, c.number) << c.y << "-" << c.m << "-" << c.d;
    reports::civil_date(n, &y, &m, &d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
  }
  int n = 0;
  EXPECT_FALSE(reports::day_number(1900, 2, 29, &n));
  EXPECT_FALSE(reports::day_number(2026, 4, 31, &n));
  EXPECT_FALSE(reports::day_number(0, 1, 1, &n));
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
               {"0.1234567891", 123456789},
               {"0.12345678999999999999", 123456789},
               {"10", -1},
               {"1.0000000009", 1000000000},
               {"1.000000001", -1},
               {"-0.1", -1},
               {"0.5:", -1},
               {".", -1},
               {"", -1}};
  for (const auto& c : cases) {
    long long v = -1;
    EXPECT_EQ(reports::read_phase(c.word, &v) ? v : -1, c.billionths) << c.word;
  }
  long long v = 0;
  EXPECT_TRUE(reports::read_shift("-0.25", &v));
  EXPECT_EQ(v, -250000000);
  EXPECT_TRUE(reports::read_shift("+2.5", &v));
  EXPECT_EQ(v, 2500000000);
  EXPECT_FALSE(reports::read_shift("0.5x", &v));
  EXPECT_FALSE(reports::read_shift("--1", &v));
}

}  // namespace
