// magprep's modes and command line, run in-process on streams.
#include "magprep/magprep.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "reports/record.h"

namespace {

// The tables of every run, as main keeps them: too large for the stack.
magprep::workspace* tables() {
  static magprep::workspace work;
  return &work;
}

std::FILE* stream_of(const std::string& text) {
  std::FILE* f = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return f;
}

std::string text_of(std::FILE* f) {
  std::rewind(f);
  std::string text;
  for (int c = std::getc(f); c != EOF; c = std::getc(f)) text += static_cast<char>(c);
  std::fclose(f);
  return text;
}

struct run_case {
  std::vector<std::string> args;
  std::string in;
  std::string out;
  std::string err;
  int status;
};

// magprep with the arguments `args` (after its name) and standard input `in`: what it wrote on
// standard output and error, and its exit status.
run_case run_on(std::vector<std::string> args, const std::string& in) {
  args.insert(args.begin(), "magprep");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::FILE* in_stream = stream_of(in);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = magprep::magprep_run(static_cast<int>(argv.size()), argv.data(), in_stream,
                                          out, err, tables());
  std::fclose(in_stream);
  return {args, in, text_of(out), text_of(err), status};
}

void expect_run(const run_case& c) {
  const run_case got = run_on(c.args, c.in);
  const std::string where = !c.args.empty() ? c.args[0] + " " + c.args.back() : "";
  EXPECT_EQ(got.out, c.out) << where;
  EXPECT_EQ(got.err, c.err) << where;
  EXPECT_EQ(got.status, c.status) << where;
}

// The line after the summary of -n and -p on 5001 records.
const std::string in_pairs =
    "magprep: more records than the 5000 points magphase draws: written as 2501 means of 2 "
    "neighbours in X, the last of 1; X and magnitudes rounded half up\n";

const std::string usage =
    "Usage: magprep [OPTION]... STAR [FILE]...  or  magprep -s SHIFT [-o FILE] [FILE]...\n"
    "Try 'magprep --help'.\n";

TEST(magprep, keeps_the_records_of_the_star_in_the_order_of_the_report) {
  const run_case cases[] = {
      {{"BLAlg", "-"},
       "Report of BLAlg 2026 Dec. > BLAlg 202612071900 102 QZK ZZPup 202612071905 112 QZK\n"
       "blalg 202612071930 <100 QZK BLALG 202612072634 118: QZK haze BLAlg 202612072000\n"
       "10.4V QZK",
       "BLAlg 202612071900 102 QZK\nBLAlg 202612072634 118 QZK\nBLAlg 202612072000 10.4 QZK\n",
       "magprep: BLAlg: 3 records, 1 upper limit dropped, 1 uncertain kept, 1 mention of BLAlg "
       "passed over; VSOLJ: answer 1 to the layout question\n"
       "magprep: BLAlg: records in 2 bands, Vis. 2, V 1; -b BAND chooses one\n",
       0},
      // Records of the other layout are dropped and said so; nothing to write is an error.
      {{"S"},
       "S 20261207.95 12.1 O S 202612072000 121 O",
       "S 20261207.95 12.1 O\n",
       "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; records in both layouts: "
       "the 1 in VSOLJ dropped\n",
       1},
      {{"S"}, "S 20261207.95 <12.1 O", "", "magprep: S: only 1 upper limit, nothing to write\n", 1},
      {{"S"},
       "S 20261207.95 12.1",
       "",
       "magprep: no record of S found, 1 record without an observer's code dropped\n",
       1},
      {{"S"}, "", "", "magprep: no record of S found\n", 1},
      // The dates named are the earliest and the latest, whatever their order.
      {{"S"},
       "S 20261207.5 12 O S 20261205.5 12 O",
       "S 20261207.5 12 O\nS 20261205.5 12 O\n",
       "magprep: S: 2 records, 0 upper limits dropped, 0 uncertain kept; VSNET: answer 0 to the "
       "layout question; dates 2026-12-05 to 2026-12-07: -n draws them as one curve\n",
       0},
      // An observer's code of 30 bytes is no observer.
      {{"S"},
       "S 20261207.5 12 O12345678901234567890123456789",
       "",
       "magprep: no record of S found, 1 record without an observer's code dropped\n",
       1},
  };
  for (const run_case& c : cases) expect_run(c);
}

TEST(magprep, spreads_several_nights_from_0_to_1) {
  // VSOLJ 26:34 on the 7th is 02:34 on the 8th: the scale runs from the 6th to the 9th.
  expect_run({{"-n", "S"},
              "S 202612072634 118 O S 202612061800 12.0V O S 202612070000 <13 O",
              "0.7761 118\n0.2333 12.0\n",
              "magprep: S: 2 records, 1 upper limit dropped, 0 uncertain kept; X 0.0 is "
              "2026-12-06 4 h JST and 1.0 is 2026-12-08 16 h JST, 6 hours per tenth\n"
              "magprep: S: records in 2 bands, Vis. 1, V 1; -b BAND chooses one\n",
              0});
  // One record: ten hours around it.
  expect_run({{"-n", "S"},
              "S 20261207.99999 12.0 O",
              "0.6000 12.0\n",
              "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; X 0.0 is "
              "2026-12-07 18 h and 1.0 is 2026-12-08 4 h, 1 hour per tenth\n",
              0});
  // Times on whole hours that fill the axis exactly: the first at 0 h is X 0.
  expect_run({{"-n", "S"},
              "S 202612070000 12.0 O S 202612071000 12.5 O S 202612070500 12.2 O",
              "0.0000 12.0\n1.0000 12.5\n0.5000 12.2\n",
              "magprep: S: 3 records, 0 upper limits dropped, 0 uncertain kept; X 0.0 is "
              "2026-12-07 0 h JST and 1.0 is 2026-12-07 10 h JST, 1 hour per tenth\n",
              0});
  // Centred as far as the whole hours allow: X 1 must still be after the last time.
  expect_run({{"-n", "S"},
              "S 202612070100 12.0 O S 202612071050 12.5 O",
              "0.0000 12.0\n0.9833 12.5\n",
              "magprep: S: 2 records, 0 upper limits dropped, 0 uncertain kept; X 0.0 is "
              "2026-12-07 1 h JST and 1.0 is 2026-12-07 11 h JST, 1 hour per tenth\n",
              0});
  // Six days: a day per tenth, from 0 h.
  expect_run({{"-n", "S"},
              "S 20261207.5 12.0 O S 20261201.5 12.5 O",
              "0.8500 12.0\n0.2500 12.5\n",
              "magprep: S: 2 records, 0 upper limits dropped, 0 uncertain kept; X 0.0 is "
              "2026-11-29 0 h and 1.0 is 2026-12-09 0 h, 1 day per tenth\n",
              0});
  // One night across 0 h UT, 20 h to 4 h, fills most of the axis.
  expect_run({{"-n", "S"},
              "S 20261207.83334 12.0 O S 20261208.16667 12.5 O",
              "0.1000 12.0\n0.9000 12.5\n",
              "magprep: S: 2 records, 0 upper limits dropped, 0 uncertain kept; X 0.0 is "
              "2026-12-07 19 h and 1.0 is 2026-12-08 5 h, 1 hour per tenth\n",
              0});
  // Ends of the axis outside the years 1 to 9999 are Julian Dates, UT: 10000-01-01 18 h JST
  // is 9 h UT, JD 5373484.5 + 0.375 (2000-01-01 0 h is JD 2451544.5, 2921940 days before).
  expect_run({{"-n", "S"},
              "S 00010101.5 10 O S 99991231.5 11 O",
              "0.1348 10\n0.8652 11\n",
              "magprep: S: 2 records, 0 upper limits dropped, 0 uncertain kept; X 0.0 is JD "
              "1047454.500000 and 1.0 is JD 6047454.500000, 500000 days per tenth\n",
              0});
  expect_run({{"-n", "S"},
              "S 999912314700 11 O",
              "0.5000 11\n",
              "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; X 0.0 is JD "
              "5373484.875000 and 1.0 is JD 5373485.291667, 1 hour per tenth\n",
              0});
  std::string many;
  for (int i = 0; i < 5001; ++i) many += "S 20261207.5 12.0 O\n";
  std::string kept;
  for (int i = 0; i < 2501; ++i) kept += "0.5000 12.0\n";
  expect_run({{"-n", "S"},
              many,
              kept,
              "magprep: S: 5001 records, 0 upper limits dropped, 0 uncertain kept; X 0.0 is "
              "2026-12-07 7 h and 1.0 is 2026-12-07 17 h, 1 hour per tenth\n" +
                  in_pairs,
              0});
}

TEST(magprep, shifts_phases_modulo_1) {
  const run_case cases[] = {
      {{"-s", "0.5"},
       "# phase mag obs\n0 11.7 QZK\n0.75 10.2: QZK\n0.49 <10.5 QZK\n1 11.8 P = 2.8673 d\n"
       "0.99996 10.3\n",
       "0.5000 11.7\n0.2500 10.2\n0.5000 11.8\n0.5000 10.3\n",
       "magprep: 4 phase records, 1 upper limit dropped, 1 uncertain kept; phases shifted by "
       "0.5\n",
       0},
      {{"-s-0.25"},
       "0.1 10.2",
       "0.8500 10.2\n",
       "magprep: 1 phase record, 0 upper limits dropped, 0 uncertain kept; phases shifted by "
       "-0.25\n",
       0},
      {{"-s", "0"}, "0.5 <10", "", "magprep: only 1 upper limit, nothing to write\n", 1},
      // A line's first two words; an error column or a second pair on the line is passed over.
      {{"-s", "0.5"},
       "0.02 11.7 0.05\n0.04 11.3 0.05\n\n0.07 10.8 0.04 0.08 10.1\nP 0.09 10.5\n0.1\n10.0\n",
       "0.5200 11.7\n0.5400 11.3\n0.5700 10.8\n",
       "magprep: 3 phase records, 0 upper limits dropped, 0 uncertain kept; phases shifted by "
       "0.5\n",
       0},
      // Ties at the fourth decimal round up; 1 is 0; a whole phase 10 is none; decimals past the
      // ninth are not looked at; a limit mark may stand alone.
      {{"-s", "0"},
       "0.99995 10.1\n0.49995 10.2\n10 10.3\n0.1234567891 10.4\n0.2 < 10.5 x\n0.3 [ <10.6\n"
       "0.000049999 10.7\n",
       "0.0000 10.1\n0.5000 10.2\n0.1235 10.4\n0.0000 10.7\n",
       "magprep: 4 phase records, 1 upper limit dropped, 0 uncertain kept; phases shifted by 0\n",
       0},
      {{"-s", "0.12345678949"},
       "0.00000000051 9",
       "0.1235 9\n",
       "magprep: 1 phase record, 0 upper limits dropped, 0 uncertain kept; phases shifted by "
       "0.12345678949\n",
       0},
  };
  for (const run_case& c : cases) expect_run(c);
}

TEST(magprep, folds_the_records_of_a_star_on_an_ephemeris) {
  const std::string geocentric = "; times geocentric (-r makes them heliocentric)\n";
  const run_case cases[] = {
      // JD 2461382.312 is 0.624 of 0.5 d after the epoch; JD 2461381.25 is 1.5 periods before.
      {{"-p", "0.5", "-e", "2461382.0", "S"},
       "S 20261207.812 12.1 O S 20261206.999 <12 O S 20261206.75 12.3: O",
       "0.6240 12.1\n0.5000 12.3\n",
       "magprep: S: 2 records, 1 upper limit dropped, 1 uncertain kept; folded on 0.5 d from JD "
       "2461382.0" +
           geocentric,
       0},
      // A Julian Date and a dashed date are the same UT time as the VSNET one.
      {{"-p", "0.5", "-e", "2461382.0", "S"},
       "S 2461382.312 12.1 O S 2026-12-07.812 12.2 O S 20261207.812 12.3 O",
       "0.6240 12.1\n0.6240 12.2\n0.6240 12.3\n",
       "magprep: S: 3 records, 0 upper limits dropped, 0 uncertain kept; folded on 0.5 d from JD "
       "2461382.0" +
           geocentric,
       0},
      // VSOLJ: 19:30 JST is 10:30 UT; 26:30 JST on the 7th is 7 hours later, 1.1667 periods.
      {{"-p", "0.25", "S"},
       "S 202612071930 102 O S 202612072630 104 O",
       "0.0000 102\n0.1667 104\n",
       "magprep: S: 2 records, 0 upper limits dropped, 0 uncertain kept; folded on 0.25 d, phase "
       "0 at the first record, JD 2461381.937500" +
           geocentric,
       0},
      // A shift before the rounding: 0.25 + 0.24995 is a tie at the fourth decimal, up.
      {{"-p", "1.248", "-e", "2461382", "-s", "0.24995", "S"},
       "S 20261207.812 12.1 O",
       "0.5000 12.1\n",
       "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; folded on 1.248 d from JD "
       "2461382; times geocentric (-r makes them heliocentric); phases shifted by 0.24995\n",
       0},
      {{"-p1.248", "-e2461382", "-s0.24994", "S"},
       "S 20261207.812 12.1 O",
       "0.4999 12.1\n",
       "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; folded on 1.248 d from JD "
       "2461382; times geocentric (-r makes them heliocentric); phases shifted by 0.24994\n",
       0},
      // Records in both layouts: the first layout's are folded, and the status says so.
      {{"-p", "1", "-e", "2461382", "S"},
       "S 20261207.75 12.1 O S 202612071930 102 O",
       "0.2500 12.1\n",
       "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; records in both layouts: "
       "the 1 in VSOLJ dropped; folded on 1 d from JD 2461382" +
           geocentric,
       1},
      {{"-p", "1", "S"},
       "S 20261207.75 <12.1 O",
       "",
       "magprep: S: only 1 upper limit, nothing to write\n",
       1},
      // An epoch more than 100000 days from a record ends the fold there; one without its 24
      // is given in full.
      {{"-p", "1.5", "-e", "61382.0", "S"},
       "S 20261207.812 12.1 O S 20261207.9 12.2 O",
       "",
       "magprep: S: EPOCH 61382.0 is more than 100000 days from the record at JD "
       "2461382.312000; as a full Julian Date: -e 2461382.0\n",
       1},
      // 1126-12-07 is day 411238 of the calendar, whose day 1 starts at JD 1721425.5.
      {{"-p", "1.5", "-e", "2461382", "S"},
       "S 20261207.812 12.1 O S 11261207.9 12.2 O S 20261208.812 12.2 O",
       "0.2080 12.1\n",
       "magprep: S: EPOCH 2461382 is more than 100000 days from the record at JD "
       "2132663.400000\n",
       1},
      // Without -e, records far apart are folded.
      {{"-p", "1.5", "S"},
       "S 20261207.812 12.1 O S 11261207.9 12.2 O",
       "0.0000 12.1\n0.0587 12.2\n",
       "magprep: S: 2 records, 0 upper limits dropped, 0 uncertain kept; folded on 1.5 d, phase "
       "0 at the first record, JD 2461382.312000" +
           geocentric,
       0},
      // 100000 days exactly, 66666 and 2/3 periods.
      {{"-p", "1.5", "-e", "2361382.312", "S"},
       "S 20261207.812 12.1 O",
       "0.6667 12.1\n",
       "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; folded on 1.5 d from JD "
       "2361382.312" +
           geocentric,
       0},
  };
  for (const run_case& c : cases) expect_run(c);
  std::string many;
  for (int i = 0; i < 5001; ++i) many += "S 20261207.5 12.0 O\n";
  std::string kept;
  for (int i = 0; i < 2501; ++i) kept += "0.0000 12.0\n";
  expect_run({{"-p", "1", "S"},
              many,
              kept,
              "magprep: S: 5001 records, 0 upper limits dropped, 0 uncertain kept; folded on 1 d, "
              "phase 0 at the first record, JD 2461382.000000" +
                  geocentric + in_pairs,
              0});
}

// Records of S every `step` days from 2026-12-07 0 h UT, within December.
std::string records(int count, double step) {
  std::string text;
  char line[64];
  for (int i = 0; i < count; ++i) {
    const long long microdays = static_cast<long long>(i * step * 1000000 + 0.5);
    std::snprintf(line, sizeof line, "S %d.%06lld %d.%d O\n", 20261207 + 0, microdays % 1000000,
                  11 + i % 2, i % 10);
    // Whole days go into the date.
    line[8] = static_cast<char>('0' + (7 + microdays / 1000000) / 10);
    line[9] = static_cast<char>('0' + (7 + microdays / 1000000) % 10);
    text += line;
  }
  return text;
}

TEST(magprep, refuses_a_search_it_cannot_make_with_status_1) {
  const run_case cases[] = {
      {{"-f", "0.5,5", "S"},
       records(9, 2),
       "",
       "magprep: S: 9 records, 0 upper limits dropped, 0 uncertain kept; a period search needs "
       "at least 10\n",
       1},
      {{"-f", "0.5,5", "-g", "S"},
       records(10, 0.4),
       "",
       "magprep: S: 10 records, 0 upper limits dropped, 0 uncertain kept; they span less than "
       "the longest period, 5 d\n",
       1},
      {{"-f", "0.5,5", "S"}, "", "", "magprep: no record of S found\n", 1},
      {{"-f", "0.5,5", "S"},
       [] {
         std::string alike;  // a star that does not vary, on 12 nights
         for (int day = 10; day < 22; ++day)
           alike += "S 202612" + std::to_string(day) + ".5 12.0 O\n";
         return alike;
       }(),
       "",
       "magprep: S: 12 records, 0 upper limits dropped, 0 uncertain kept; the magnitudes do "
       "not vary, so there is no period to find\n",
       1},
      {{"-f", "0.5,5", "S"},
       records(12, 1),
       "",
       "magprep: S: 12 records, 0 upper limits dropped, 0 uncertain kept; the times lie on "
       "steps of 1 d, and periods shorter than 10 steps, 10 d, fold as longer ones do: nothing "
       "to search up to 5 d\n",
       1},
  };
  for (const run_case& c : cases) expect_run(c);
  // 0.001 to 10 days over 2418 days take (1000 - 0.1) * 5 * 2418, about 1.2 * 10^7 trials; the
  // last time, to 0.0001 d, lets the search reach 0.001 d.
  std::vector<std::string> args = {"magprep", "-f", "0.001,10", "S"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::FILE* in = stream_of(records(10, 2) + "S 20330721.0001 12.0 O\n");
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  EXPECT_EQ(magprep::magprep_run(4, argv.data(), in, out, err, tables()), 1);
  std::fclose(in);
  EXPECT_EQ(text_of(out), "");
  const std::string said = text_of(err);
  EXPECT_EQ(said.rfind("magprep: S: 11 records, 0 upper limits dropped, 0 uncertain kept; periods "
                       "from 0.001 to 10 d over 2418.00 days would take 120",
                       0),
            0u)
      << said;
  EXPECT_NE(said.find(" trials, more than 10000000\n"), std::string::npos) << said;
}

TEST(magprep, reads_several_files_as_one_text) {
  std::FILE* a = std::fopen("magprep_test_a.txt", "wb");
  std::fputs("x S 202612071930", a);
  std::fclose(a);
  std::FILE* b = std::fopen("magprep_test_b.txt", "wb");
  std::fputs(
      "\xEF\xBB\xBF"
      "102 O",
      b);  // a byte-order mark starts each file
  std::fclose(b);
  expect_run({{"S", "magprep_test_a.txt", "no_such_file.txt", "magprep_test_b.txt"},
              "",
              "S 202612071930 102 O\n",
              "magprep: cannot open no_such_file.txt: No such file or directory\n"
              "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; VSOLJ: answer 1 "
              "to the layout question\n",
              1});
  std::remove("magprep_test_a.txt");
  std::remove("magprep_test_b.txt");
}

void write_file(const char* name, const std::string& bytes) {
  std::FILE* f = std::fopen(name, "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// UTF-16 as PowerShell's ">" and Notepad write it: a byte-order mark, then the units of the
// UTF-8 `text` in the byte order asked for.
std::string utf16_of(const std::string& text, bool big_endian) {
  std::string units;
  auto put = [&](unsigned u) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    units += big_endian ? high : low;
    units += big_endian ? low : high;
  };
  put(0xFEFF);
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    unsigned code = n == 1 ? c : c & (0x7F >> n);
    for (int k = 1; k < n; ++k) code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += static_cast<size_t>(n);
    if (code < 0x10000) {
      put(code);
    } else {
      put(0xD800 + ((code - 0x10000) >> 10));
      put(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  return units;
}

// A report, or with `phases` a phase list, whose UTF-16 form is `size` bytes (even): lines of a
// record each, with characters of two and four bytes in UTF-8 and of one and two units in UTF-16
// after it, and spaces to make up the size. The number of records into `count`.
std::string report_of_size(size_t size, bool phases, int* count) {
  std::string text;
  size_t units = 1;  // the byte-order mark
  int n = 0;
  while (units + 40 < size / 2) {
    char line[64];
    const int len =
        phases ? std::snprintf(line, sizeof line, "0.%04d 1%d.%d \u00e9\U0001F600\r\n", n % 10000,
                               n % 5, n % 10)
               : std::snprintf(line, sizeof line, "S 202612%02d.%04d 1%d.%d Q \u00e9\U0001F600\r\n",
                               1 + n % 28, n % 10000, n % 5, n % 10);
    text.append(line, static_cast<size_t>(len));
    units += static_cast<size_t>(len) - 6 + 3;  // é and the emoji: 6 bytes, 3 units
    ++n;
  }
  text.append(size / 2 - units, ' ');
  *count = n;
  return text;
}

// A report in UTF-16 reads as the same text in UTF-8 does, whatever its size (the decoder's
// buffers hold 16 and 32 KiB), in either byte order, in every mode, from a FILE and from
// standard input.
TEST(magprep, reads_utf16_of_any_size_as_utf8) {
  const size_t sizes[] = {2000,  16382, 16384, 16386, 16388,  24576,
                          32766, 32768, 32770, 49152, 100000, 262146};
  const std::vector<std::string> modes[] = {
      {"S"}, {"-n", "S"}, {"-p", "0.5", "S"}, {"-f", "0.5,2", "S"}, {"-s", "0.5"}};
  const char* name = "magprep_test_utf16.txt";
  for (const size_t size : sizes) {
    for (const std::vector<std::string>& mode : modes) {
      const bool phases = mode[0] == "-s";
      int count = 0;
      const std::string text = report_of_size(size, phases, &count);
      std::vector<std::string> with_file = mode;
      with_file.push_back(name);
      write_file(name, text);
      const run_case expected[2] = {run_on(mode, text), run_on(with_file, "")};
      const std::string kept = phases ? "magprep: " + std::to_string(count) + " phase records, "
                                      : "magprep: S: " + std::to_string(count) + " records, ";
      ASSERT_EQ(expected[0].err.rfind(kept, 0), 0u) << expected[0].err;
      for (const bool big_endian : {false, true}) {
        const std::string bytes = utf16_of(text, big_endian);
        ASSERT_EQ(bytes.size(), size);
        write_file(name, bytes);
        const run_case got[2] = {run_on(mode, bytes), run_on(with_file, "")};
        for (int i = 0; i < 2; ++i) {
          const std::string where = std::to_string(size) + (big_endian ? " BE " : " LE ") +
                                    mode[0] + (i == 1 ? " FILE" : " stdin");
          EXPECT_EQ(got[i].out, expected[i].out) << where;
          EXPECT_EQ(got[i].err, expected[i].err) << where;
          EXPECT_EQ(got[i].status, expected[i].status) << where;
        }
      }
    }
  }
  std::remove(name);
}

// A UTF-8 byte-order mark is white space wherever it stands: glued between two records, or
// after white space, and cut by the end of the reader's 32 KiB buffer at each of its bytes.
TEST(magprep, takes_a_byte_order_mark_within_the_text_for_white_space) {
  const std::string mark = "\xEF\xBB\xBF";
  for (const std::string before : {"O", "O "}) {
    for (int at = 32764; at <= 32769; ++at) {
      std::string text(static_cast<size_t>(at) - 18 - before.size(), ' ');
      text += "S 20261207.5 12.0 " + before + mark + "S 20261207.6 12.1 P\n";
      ASSERT_EQ(text.find(mark), static_cast<size_t>(at));
      expect_run({{"S"},
                  text,
                  "S 20261207.5 12.0 O\nS 20261207.6 12.1 P\n",
                  "magprep: S: 2 records, 0 upper limits dropped, 0 uncertain kept; VSNET: answer "
                  "0 to the layout question\n",
                  0});
    }
  }
}

// -o never writes over an input, standard input included, by whatever name it is given.
TEST(magprep, never_writes_over_an_input) {
  std::FILE* f = std::fopen("magprep_test_in.txt", "wb");
  std::fputs("S 20261207.5 12.0 O\n", f);
  std::fclose(f);
  std::vector<std::string> args = {"magprep", "-o", "magprep_test_in.txt", "S"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::FILE* in = std::fopen("magprep_test_in.txt", "rb");
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status =
      magprep::magprep_run(static_cast<int>(argv.size()), argv.data(), in, out, err, tables());
  std::fclose(in);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(text_of(out), "");
  EXPECT_EQ(text_of(err),
            "magprep: standard input is the output file: not read\n"
            "magprep: no record of S found\nmagprep: magprep_test_in.txt not written\n");
  std::FILE* kept = std::fopen("magprep_test_in.txt", "rb");
  EXPECT_EQ(text_of(kept), "S 20261207.5 12.0 O\n");
  std::remove("magprep_test_in.txt");
}

TEST(magprep, refuses_a_wrong_command_line_with_status_2) {
  const run_case cases[] = {
      {{}, "", "", "magprep: no STAR given\n" + usage, 2},
      {{"-x", "S"}, "", "", "magprep: unknown option '-x'\n" + usage, 2},
      {{"-nq", "S"}, "", "", "magprep: unknown option '-q'\n" + usage, 2},
      {{"--long", "S"}, "", "", "magprep: unknown option '--long'\n" + usage, 2},
      {{"-s"}, "", "", "magprep: option -s needs a SHIFT\n" + usage, 2},
      {{"-s", "half"}, "", "", "magprep: SHIFT must be a decimal number, not 'half'\n" + usage, 2},
      {{"-n", "-s", "0.5"}, "", "", "magprep: -n and -s cannot be given together\n" + usage, 2},
      {{"A B C"},
       "",
       "",
       "magprep: STAR must be one or two words of 1 to 29 characters, not 'A B C'\n" + usage,
       2},
      {{"ABCDEFGHIJKLMNOP QRSTUVWXYZ2345"},
       "",
       "",
       "magprep: STAR must be one or two words of 1 to 29 characters, not "
       "'ABCDEFGHIJKLMNOP QRSTUVWXYZ2345'\n" +
           usage,
       2},
      {{" "},
       "",
       "",
       "magprep: STAR must be one or two words of 1 to 29 characters, not ' '\n" + usage,
       2},
      {{"-o"}, "", "", "magprep: option -o needs a FILE\n" + usage, 2},
      {{"S", "-o", ""}, "", "", "magprep: option -o needs a FILE\n" + usage, 2},
      {{"-b", "V,,B", "S"},
       "",
       "",
       "magprep: -b takes 1 to 8 bands, BAND[,BAND], not 'V,,B'\n" + usage,
       2},
      {{"-b", "V,B,R,I,U,J,H,K,CV", "S"},
       "",
       "",
       "magprep: -b takes 1 to 8 bands, BAND[,BAND], not 'V,B,R,I,U,J,H,K,CV'\n" + usage,
       2},
      {{"-w", "QZK,", "S"},
       "",
       "",
       "magprep: -w takes 1 to 16 observer's codes, CODE[,CODE], not 'QZK,'\n" + usage,
       2},
      {{"-b", "V", "-s", "0.5"},
       "",
       "",
       "magprep: -b and -w choose records of STAR, -b also timings of -c: they go with neither -s "
       "nor -t, nor -w with -c\n" +
           usage,
       2},
      {{"-w", "QZK", "-c", "-p", "1", "-e", "2460000"},
       "",
       "",
       "magprep: -b and -w choose records of STAR, -b also timings of -c: they go with neither -s "
       "nor -t, nor -w with -c\n" +
           usage,
       2},
      // A STAR of 29 characters.
      {{"ABCDEFGHIJKLMNOPQRSTUVWXYZ234"},
       "abcdefghijklmnopqrstuvwxyz234 202612071930 102 O",
       "ABCDEFGHIJKLMNOPQRSTUVWXYZ234 202612071930 102 O\n",
       "magprep: ABCDEFGHIJKLMNOPQRSTUVWXYZ234: 1 record, 0 upper limits dropped, 0 uncertain "
       "kept; VSOLJ: answer 1 to the layout question\n",
       0},
      // Options after STAR and the files, grouped or apart; after "--" an operand.
      {{"S", "-", "-n"},
       "S 202612071930 102 O",
       "0.5500 102\n",
       "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; X 0.0 is 2026-12-07 "
       "14 h JST and 1.0 is 2026-12-08 0 h JST, 1 hour per tenth\n",
       0},
      {{"-", "-s", "-0.25"},
       "0.5 10",
       "0.2500 10\n",
       "magprep: 1 phase record, 0 upper limits dropped, 0 uncertain kept; phases shifted by "
       "-0.25\n",
       0},
      {{"S", "--", "-n"},
       "",
       "",
       "magprep: cannot open -n: No such file or directory\nmagprep: no record of S found\n",
       1},
      {{"-p", "0", "S"},
       "",
       "",
       "magprep: PERIOD must be days above 0 and below 100000, not '0'\n" + usage,
       2},
      {{"-p", "100000", "S"},
       "",
       "",
       "magprep: PERIOD must be days above 0 and below 100000, not '100000'\n" + usage,
       2},
      {{"-p"}, "", "", "magprep: option -p needs a PERIOD\n" + usage, 2},
      {{"-p", "1", "-s", "0.5"}, "", "", "magprep: no STAR given\n" + usage, 2},
      {{"-p", "1", "-e", "JD2460000", "S"},
       "",
       "",
       "magprep: EPOCH must be a Julian Date, not 'JD2460000'\n" + usage,
       2},
      {{"-p", "1", "-r", "05:59:31.7", "S"},
       "",
       "",
       "magprep: RA,DEC must be as 05:59:31.7,+37:12:45 or 89.88d,+37.2125, not '05:59:31.7'\n" +
           usage,
       2},
      {{"-f", "5,1", "S"},
       "",
       "",
       "magprep: MIN,MAX must be days from 0.001 to below 100000, MIN below MAX, not '5,1'\n" +
           usage,
       2},
      {{"-f", "0.0009,1", "S"},
       "",
       "",
       "magprep: MIN,MAX must be days from 0.001 to below 100000, MIN below MAX, not '0.0009,1'\n" +
           usage,
       2},
      {{"-f", "1", "S"},
       "",
       "",
       "magprep: MIN,MAX must be days from 0.001 to below 100000, MIN below MAX, not '1'\n" + usage,
       2},
      // The real reason for a number refused, and leading zeros and zeros past the ninth
      // decimal taken as the number they write.
      {{"-p", "1.0000000001", "S"},
       "",
       "",
       "magprep: PERIOD must have at most 9 decimals, not '1.0000000001'\n" + usage,
       2},
      {{"-p", "1", "-e", "2461382.0000000001", "S"},
       "",
       "",
       "magprep: EPOCH must have at most 9 decimals, not '2461382.0000000001'\n" + usage,
       2},
      {{"-p", "1", "-e", "12345678", "S"},
       "",
       "",
       "magprep: EPOCH must be a Julian Date below 10000000, not '12345678'\n" + usage,
       2},
      {{"-f", "0.5,5.00000000001", "S"},
       "",
       "",
       "magprep: MIN and MAX must have at most 9 decimals, not '0.5,5.00000000001'\n" + usage,
       2},
      {{"-p", "000001.0000000000", "-e", "2461382.50000000000", "S"},
       "S 20261207.812 12.1 O",
       "0.8120 12.1\n",
       "magprep: S: 1 record, 0 upper limits dropped, 0 uncertain kept; folded on "
       "000001.0000000000 d from JD 2461382.50000000000; times geocentric (-r makes them "
       "heliocentric)\n",
       0},
      // A right ascension names its unit: a number alone may be hours or degrees.
      {{"-p", "1", "-r", "15.2,+41.2", "S"},
       "",
       "",
       "magprep: RA must be hours with colons (05:59:31.7) or an h (5.9921h), or degrees with a "
       "d (89.88d), not '15.2,+41.2'\n" +
           usage,
       2},
      // Each option once.
      {{"-p", "1", "-p", "2", "S"}, "", "", "magprep: option given twice: '-p'\n" + usage, 2},
      {{"-o", "a", "S", "-o", "b"}, "", "", "magprep: option given twice: '-o'\n" + usage, 2},
      {{"-n", "S", "-gn"}, "", "", "magprep: option given twice: '-n'\n" + usage, 2},
      {{"-g", "S"}, "", "", "magprep: -g goes with -f or -c\n" + usage, 2},
      {{"-c", "-p", "1"}, "", "", "magprep: -c needs -p PERIOD and -e EPOCH\n" + usage, 2},
      {{"-t", "2026-12-10,2026-12-01", "-p", "1", "-e", "2461000"},
       "",
       "",
       "magprep: FROM,TO must be dates (2026-12-10) or Julian Dates, FROM first, not "
       "'2026-12-10,2026-12-01'\n" +
           usage,
       2},
      {{"-t", "2026-02-30,2026-03-01", "-p", "1", "-e", "2461000"},
       "",
       "",
       "magprep: FROM,TO must be dates (2026-12-10) or Julian Dates, FROM first, not "
       "'2026-02-30,2026-03-01'\n" +
           usage,
       2},
      {{"-t", "2026-12-10,2026-12-11", "-p", "1", "-e", "2461000", "x.txt"},
       "",
       "",
       "magprep: -t reads no FILE, not 'x.txt'\n" + usage,
       2},
      {{"-m", "-M", "S"}, "", "", "magprep: -m and -M cannot be given together\n" + usage, 2},
      {{"-2", "-p", "1", "S"}, "", "", "magprep: -2 goes with -t\n" + usage, 2},
      {{"-m", "-p", "1", "S"},
       "",
       "",
       "magprep: -m and -M take -p PERIOD and -e EPOCH together\n" + usage,
       2},
      {{"-e", "2460000", "S"}, "", "", "magprep: -e goes with -p\n" + usage, 2},
      {{"-r", "1,1", "S"}, "", "", "magprep: -r and -B go with -p, -f, -m, -M or -t\n" + usage, 2},
      {{"-p", "1", "-f", "1,2", "S"},
       "",
       "",
       "magprep: -p and -f cannot be given together\n" + usage,
       2},
      {{"-np", "1", "S"}, "", "", "magprep: -n goes with neither -p nor -f\n" + usage, 2},
      {{"-f", "1,2", "-s", "0.5", "S"},
       "",
       "",
       "magprep: -s goes with -p, not with -f\n" + usage,
       2},
      {{"--version"}, "", "magprep (magplot) 1.0\n", "", 0},
      // After "--" a word starting with "-" is the star.
      {{"--", "-S"},
       "-s 202612071930 102 O",
       "-S 202612071930 102 O\n",
       "magprep: -S: 1 record, 0 upper limits dropped, 0 uncertain kept; VSOLJ: answer 1 to the "
       "layout question\n",
       0},
  };
  for (const run_case& c : cases) expect_run(c);
}

// The records of a run of the default mode, a line each: the Julian Date of the time, the
// magnitude's value and the observer in capitals.
struct plain_record {
  long long jd;
  double mag;
  std::string observer;
};

std::vector<plain_record> records_of(const std::string& out) {
  std::vector<plain_record> got;
  std::size_t start = 0;
  while (start < out.size()) {
    const std::size_t end = out.find('\n', start);
    const std::string line = out.substr(start, end - start);
    start = end + 1;
    // STAR (one or two words) TIME MAGNITUDE OBSERVER: the last three words.
    std::vector<std::string> w;
    for (std::size_t i = 0; i < line.size();) {
      const std::size_t j = line.find(' ', i);
      w.push_back(line.substr(i, j == std::string::npos ? std::string::npos : j - i));
      if (j == std::string::npos) break;
      i = j + 1;
    }
    if (w.size() < 4) continue;
    reports::obs_time t{};
    EXPECT_TRUE(reports::read_time(w[w.size() - 3].c_str(), &t)) << line;
    const std::string& m = w[w.size() - 2];
    double mag = std::stod(m);
    if (m.find('.') == std::string::npos && mag > 20) mag /= 10;  // tenths without the point
    std::string observer = w.back();
    for (char& c : observer) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    got.push_back({reports::julian_date(t), mag, observer});
  }
  return got;
}

TEST(magprep, reads_back_its_aavso_file_as_the_same_records) {
  struct trip {
    std::string star;  // as the report writes it
    std::string aavso_name;
    std::string report;
  };
  const trip trips[] = {
      {"CYGSS", "SS Cyg",
       "CYGSS 20261209.6234 118 qzk CYGSS 20261209.69 11.9: QZK CYGSS 20261210.012 <120 QZK\n"
       "CYGSS 20261210.51 9 QZK CYGSS 20261211.4 .9? QZK CYGSS 20261211.5 12.1V QZK\n"
       "CYGSS 20261212.99999 11,8 QZK\n"},
      {"RZCas", "RZ Cas",
       "RZCas 202612091905 62 QZK RZCas 202612092634 75: QZK RZCas 202612100000 <80 QZK\n"},
  };
  for (const trip& t : trips) {
    const run_case file = run_on({"-a", "QZK", t.star, "-"}, t.report);
    ASSERT_EQ(file.status, 0) << file.err;
    // A Visual file holds the visual estimates alone.
    const run_case direct = run_on({"-b", "Vis", t.star, "-"}, t.report);
    const run_case back = run_on({t.aavso_name, "-"}, file.out);
    ASSERT_EQ(back.status, 0) << back.err;
    // Upper limits are dropped by both readings, and the uncertain ones counted alike.
    const std::vector<plain_record> a = records_of(direct.out);
    const std::vector<plain_record> b = records_of(back.out);
    ASSERT_EQ(a.size(), b.size()) << file.out;
    for (std::size_t i = 0; i < a.size(); ++i) {
      const long long minute = 9000000000LL / 1440;
      EXPECT_LE(std::llabs(a[i].jd - b[i].jd), minute / 2) << i << " of " << t.star;
      EXPECT_EQ(a[i].mag, b[i].mag) << i << " of " << t.star;
      EXPECT_EQ(a[i].observer, b[i].observer) << i << " of " << t.star;
    }
    const std::size_t kept = direct.err.find(" uncertain kept");
    ASSERT_NE(kept, std::string::npos) << direct.err;
    EXPECT_NE(back.err.find(direct.err.substr(kept - 1, 16)), std::string::npos) << back.err;
  }
}

}  // namespace
