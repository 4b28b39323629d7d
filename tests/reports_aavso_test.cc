// The AAVSO's files line by line: what a file's start says it is, the parameters of the
// submission formats, header rows, and the rules of fields and records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "reports/aavso.h"

namespace {

using reports::file_form;

// Reads `text` (lines ended by \n) as a file for `star`, as the reader of lines does: its
// form from the first lines that say one, then every line. Gives each line that is not
// `other`: "TIME MAG BAND OBSERVER" and marks for a record, "mention", "discrepant" or "no
// observer", joined by " | "; "report" when the file is no AAVSO file.
std::string read_file(const char* text, const char* star) {
  reports::star_name s;
  if (!reports::read_star(star, &s)) return "bad star";
  const std::string all = text;
  reports::aavso_file f{};
  f.form = file_form::report;
  std::string got;
  std::size_t p = 0;
  while (p < all.size()) {
    std::size_t e = all.find('\n', p);
    if (e == std::string::npos) e = all.size();
    const std::string line = all.substr(p, e - p);
    p = e + 1;
    const int len = static_cast<int>(line.size());
    if (f.form == file_form::report) {
      const file_form k = reports::form_of_line(line.c_str(), len);
      if (k == file_form::report) return "report";
      if (k == file_form::undecided) continue;
      reports::start_aavso(&f, k, line.c_str(), len);
    }
    reports::record r{};
    std::string one;
    switch (reports::read_aavso_line(&f, s, line.c_str(), len, &r)) {
      case reports::aavso_line::other: continue;
      case reports::aavso_line::mention: one = "mention"; break;
      case reports::aavso_line::discrepant: one = "discrepant"; break;
      case reports::aavso_line::no_observer: one = "no observer"; break;
      case reports::aavso_line::record:
        one = std::string(r.time.text) + " " + r.mag.digits + " " + r.mag.band + " " + r.observer +
              (r.mag.limit ? " limit" : "") + (r.mag.uncertain ? " uncertain" : "") +
              (r.mag.negative ? " negative" : "") +
              (r.system == reports::time_system::hjd ? " hjd" : "");
        break;
    }
    got += (got.empty() ? "" : " | ") + one;
  }
  return got;
}

struct file_case {
  const char* text;
  const char* star;
  const char* expected;
};

void check(const file_case* cases, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    EXPECT_EQ(read_file(cases[i].text, cases[i].star), cases[i].expected) << cases[i].text;
}

// The download's header row, in its order, older files' columns only.
#define HEADER                                                                               \
  "JD,Magnitude,Uncertainty,HQuncertainty,Band,Observer Code,Comment Code,Comp Star 1,Comp " \
  "Star 2,Charts,Comments,Transformed,Airmass,Validation Flag,Cmag,Kmag,HJD,Star Name\n"

// JD 2461380.25 is 2026-12-05 18 h UT.
TEST(read_aavso_file, takes_the_records_of_a_download_by_its_header_row) {
  const file_case cases[] = {
      {HEADER "2461380.25,11.6,,,Vis.,QZK,,110,118,X1,,0,,Z,,,,SS Cyg\n", "SS Cyg",
       "20261205.75 11.6 Vis. QZK"},
      {HEADER "2461380.25,11.6,,,Vis.,QZK,,110,118,X1,,0,,Z,,,,SS Cyg\n", "sscyg",
       "20261205.75 11.6 Vis. QZK"},
      {HEADER "2461380.25,11.6,,,Vis.,QZK,,110,118,X1,,0,,Z,,,,SS Cyg\n", "SSCyg",
       "20261205.75 11.6 Vis. QZK"},
      {HEADER "2461380.25,11.6,,,Vis.,QZK,,110,118,X1,,0,,Z,,,,SS Cyg\n", "SS Cygni", ""},
      {HEADER "2461380.25,11.6,,,Vis.,QZK,,110,118,X1,,0,,Z,,,,SS Cyg\n", "S", ""},
      // Limits, uncertain comment codes, bands as the AAVSO spells them.
      {HEADER "2461380.25,<12.0,,,Vis.,QZK,,,,,,0,,Z,,,,SS Cyg\n"
              "2461380.3,11.5,,,vis,QZK,U:,,,,,0,,Z,,,,SS Cyg\n"
              "2461380.35,11.51,0.01,,v,PXW,,,,,,1,1.2,V,,,,SS Cyg\n"
              "2461380.4,11.52,0.01,,,PXW,,,,,,1,1.2,V,,,,SS Cyg\n",
       "SSCyg",
       "20261205.75 12.0 Vis. QZK limit | 20261205.8 11.5 Vis. QZK uncertain | 20261205.85 11.51 V "
       "PXW | 20261205.9 11.52 N/A PXW"},
      // Validation flags: discrepant (D), and T, dropped; others kept.
      {HEADER "2461380.25,11.6,,,Vis.,QZK,,,,,,0,,D,,,,SS Cyg\n"
              "2461380.25,11.6,,,Vis.,QZK,,,,,,0,,t,,,,SS Cyg\n"
              "2461380.25,11.6,,,Vis.,QZK,,,,,,0,,U,,,,SS Cyg\n",
       "SSCyg", "discrepant | discrepant | 20261205.75 11.6 Vis. QZK"},
      // Quoted comments hold the delimiter and quotes; the columns after them stay in place.
      {HEADER "2461380.25,11.6,,,Vis.,QZK,,,,,\"haze, moon, \"\"low\"\"\",0,,Z,,,,SS Cyg\n",
       "SSCyg", "20261205.75 11.6 Vis. QZK"},
      {HEADER "2461380.25,11.6,,,Vis.,QZK,,,,,\"haze, SS Cyg\",0,,Z,,,,bet Per\n", "SSCyg", ""},
      // A differential magnitude; no observer; a time or magnitude that cannot be read.
      {HEADER "2461380.25,-0.752,,,V,PXW,,,,,,0,,V,,,,SS Cyg\n"
              "2461380.25,11.6,,,Vis.,,,,,,,0,,Z,,,,SS Cyg\n"
              "2461380,11.6,,,Vis.,QZK,,,,,,0,,Z,,,,SS Cyg\n"
              "2461380.25,bright,,,Vis.,QZK,,,,,,0,,Z,,,,SS Cyg\n",
       "SSCyg", "20261205.75 0.752 V PXW negative | no observer | mention | mention"},
      // Lines that stop before the Star Name column name no star.
      {HEADER "2461380.25,11.6,,,Vis.,QZK\n", "SSCyg", ""},
      // Newer columns after Star Name, and a header row reordered with letter case of its own.
      {"jd,star name,BAND,magnitude,observer code\n"
       "2461380.25,SS Cyg,V,11.62,PXW\n",
       "SSCyg", "20261205.75 11.62 V PXW"},
      // Tab-separated, with a header row again when downloads are joined.
      {"JD\tMagnitude\tBand\tObserver Code\tStar Name\n2461380.25\t11.6\tVis.\tQZK\tSS Cyg\n"
       "JD\tStar Name\tMagnitude\tObserver Code\n2461380.5\tSS Cyg\t11.7\tPXW\n",
       "SSCyg", "20261205.75 11.6 Vis. QZK | 20261206.0 11.7 N/A PXW"},
  };
  check(cases, std::size(cases));
}

TEST(read_aavso_file, reads_a_download_without_its_header_row_in_its_order) {
  const file_case cases[] = {
      {"2461380.25,11.6,,,Vis.,QZK,U:,110,118,X1,,0,,Z,,,,SS Cyg\n", "SSCyg",
       "20261205.75 11.6 Vis. QZK uncertain"},
      {"2461380.25\t<12.0\t\t\tVis.\tQZK\t\t\t\t\t\t0\t\tZ\t\t\t\tSS Cyg\tAAVSO\n", "SSCyg",
       "20261205.75 12.0 Vis. QZK limit"},
      // Space-separated: a space is a delimiter as a comma is; a name holding one is quoted.
      {"2461380.25 11.6   Vis. QZK      0  Z    \"SS Cyg\"\n", "SSCyg",
       "20261205.75 11.6 Vis. QZK"},
  };
  check(cases, std::size(cases));
}

TEST(read_aavso_file, reads_a_space_separated_download_by_the_columns_of_its_header_row) {
  const file_case cases[] = {
      {"JD            Magnitude  Band  Observer Code  Comment Code  Star Name  Charts\n"
       "2461380.25    11.6       Vis.  QZK            U:            SS Cyg     X1\n"
       "2461380.3     11.7             PXW                          SS Cyg\n",
       "SSCyg", "20261205.75 11.6 Vis. QZK uncertain | 20261205.8 11.7 N/A PXW"},
  };
  check(cases, std::size(cases));
}

TEST(read_aavso_file, reads_the_visual_file_format_with_its_parameters) {
  const file_case cases[] = {
      {"#TYPE=Visual\n#OBSCODE=QZK\n#SOFTWARE=pencil\n#DELIM=,\n#DATE=JD\n#OBSTYPE=Visual\n"
       "#NAME,DATE,MAG,COMMENTCODE,COMP1,COMP2,CHART,NOTES\n"
       "SS CYG,2461380.25,11.6,na,110,118,X1,na\n"
       "SS CYG,2461380.3,<12.0,na,118,na,X1,clouds\n"
       "SS CYG,2461380.35,11.8,U:,110,118,X1,na\n"
       "SS CYG,2461380.4,na,na,110,118,X1,na\n",
       "SSCyg",
       "20261205.75 11.6 Vis. QZK | 20261205.8 12.0 Vis. QZK limit | 20261205.85 11.8 Vis. QZK "
       "uncertain | mention"},
      // Not case sensitive; #OBSCODE and #DATE change for the lines after.
      {"#type=visual\n#obscode=QZK\n#date=excel\n"
       "ss cyg,12/05/2026 06:00:00 PM,11.6,na,110,118,X1,na\n"
       "#OBSCODE=PXW\n#DATE=JD\n"
       "ss cyg,2461380.3,11.7,na,110,118,X1,na\n",
       "SSCyg", "20261205.750000 11.6 Vis. QZK | 20261205.8 11.7 Vis. PXW"},
      // Excel times: AM and PM, 12 AM at midnight, seconds optional, 24 hours without.
      {"#TYPE=Visual\n#OBSCODE=QZK\n#DATE=EXCEL\n"
       "SS Cyg,12/05/2026 12:00 AM,11.6,na,na,na,na,na\n"
       "SS Cyg,1/5/2026 9:30:30 am,11.6,na,na,na,na,na\n"
       "SS Cyg,12/05/2026 23:59:59,11.6,na,na,na,na,na\n"
       "SS Cyg,02/30/2026 10:00 PM,11.6,na,na,na,na,na\n",
       "SSCyg",
       "20261205.000000 11.6 Vis. QZK | 20260105.396181 11.6 Vis. QZK | 20261205.999988 11.6 Vis. "
       "QZK | mention"},
      // Without #OBSCODE, no observer.
      {"#TYPE=Visual\nSS Cyg,2461380.25,11.6,na,na,na,na,na\n", "SSCyg", "no observer"},
  };
  check(cases, std::size(cases));
}

TEST(read_aavso_file, takes_delim_as_a_character_its_code_or_its_name) {
  const file_case cases[] = {
      {"#TYPE=Visual\n#OBSCODE=QZK\n#DELIM=|\nSS Cyg|2461380.25|11.6|na|na|na|na|a, b\n", "SSCyg",
       "20261205.75 11.6 Vis. QZK"},
      {"#TYPE=Visual\n#OBSCODE=QZK\n#DELIM=59\nSS Cyg;2461380.25;11.6;na;na;na;na;na\n", "SSCyg",
       "20261205.75 11.6 Vis. QZK"},
      {"#TYPE=Visual\n#OBSCODE=QZK\n#DELIM=9\nSS Cyg\t2461380.25\t11.6\tna\tna\tna\tna\tna\n",
       "SSCyg", "20261205.75 11.6 Vis. QZK"},
      {"#TYPE=Visual\n#OBSCODE=QZK\n#DELIM=Tab\nSS Cyg\t2461380.25\t11.6\tna\tna\tna\tna\tna\n",
       "SSCyg", "20261205.75 11.6 Vis. QZK"},
      {"#TYPE=Visual\n#OBSCODE=QZK\n#DELIM=;\n#DELIM=comma\nSS "
       "Cyg,2461380.25,11.6,na,na,na,na,na\n",
       "SSCyg", "20261205.75 11.6 Vis. QZK"},
      // A delimiter that cannot be leaves the one before.
      {"#TYPE=Visual\n#OBSCODE=QZK\n#DELIM=\"\nSS Cyg,2461380.25,11.6,na,na,na,na,na\n", "SSCyg",
       "20261205.75 11.6 Vis. QZK"},
  };
  check(cases, std::size(cases));
}

TEST(read_aavso_file, reads_the_extended_file_format_its_filter_and_hjd) {
  const file_case cases[] = {
      {"#TYPE=EXTENDED\n#OBSCODE=PXW\n#SOFTWARE=x\n#DELIM=,\n#DATE=HJD\n#OBSTYPE=CCD\n"
       "#NAME,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AMASS,GROUP,CHART,NOTES\n"
       "V2384 Cyg,2461399.2247,11.1984,0.004,V,NO,STD,ENSEMBLE,na,K,12.1,1.1,na,X2,na\n"
       "V2384 Cyg,2461399.2287,-0.7520,0.004,Rc,NO,DIF,C,11.9,K,12.1,1.1,na,X2,na\n"
       "V2384 Cyg,2461399.2327,11.2,0.004,na,NO,STD,C,na,K,na,1.1,na,X2,na\n",
       "V2384Cyg",
       "20261224.7247 11.1984 V PXW hjd | 20261224.7287 0.7520 R PXW negative hjd | "
       "20261224.7327 11.2 N/A PXW hjd"},
      {"#TYPE=Extended\n#OBSCODE=PXW\n#DATE=JD\n"
       "V2384 Cyg,2461399.2247,11.1984,0.004,TG,NO,STD,C,na,K,na,na,na,na,na\n"
       "#DATE=HJD\n"
       "V2384 Cyg,2461399.2287,11.1990,0.004,TG,NO,STD,C,na,K,na,na,na,na,na\n",
       "V2384Cyg", "20261224.7247 11.1984 TG PXW | 20261224.7287 11.1990 TG PXW hjd"},
  };
  check(cases, std::size(cases));
}

TEST(read_aavso_file, tells_a_report_from_an_aavso_file_by_its_first_lines) {
  const file_case cases[] = {
      {"\n# comment\n#TYPE=Visual\n#OBSCODE=QZK\nSS Cyg,2461380.25,11.6,na,na,na,na,na\n", "SSCyg",
       "20261205.75 11.6 Vis. QZK"},
      {"#TYPE=Photographic\nSSCyg 2461380.25 11.6 QZK\n", "SSCyg", "report"},
      {"SSCyg 2461380.25 11.6 QZK\n", "SSCyg", "report"},
      {"JD of the maximum: 2461380\n", "SSCyg", "report"},
      {"2461380.25 is when it rose\n", "SSCyg", "report"},
      {"2461380.25,-0.75,,,V,QZK,,,,,,,,,,,,SS Cyg\n", "SSCyg", "20261205.75 0.75 V QZK negative"},
  };
  check(cases, std::size(cases));
}

}  // namespace
