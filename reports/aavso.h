// The AAVSO's files, read a line at a time: the International Database's download (comma-,
// tab- or space-separated, with or without its header row) and the Visual and Extended File
// Formats in which observers submit. Pure functions on lines; no state but the file's own.
#pragma once

#include "reports/record.h"

namespace reports {

/// Longest line of an AAVSO file that is read, in bytes without its end; a longer one is passed
/// over whole and counted by the reader of lines.
constexpr int aavso_line_max = 1024;

/// What a file is, as its first lines tell.
enum class file_form {
  undecided,  ///< a blank line or a `#` comment: the next line tells
  report,     ///< a posted report (VSNET, VSOLJ), read as words
  download,   ///< the AAVSO International Database's download
  visual,     ///< the AAVSO Visual File Format (`#TYPE=Visual`)
  extended,   ///< the AAVSO Extended File Format (`#TYPE=Extended`)
};

/// The columns read from an AAVSO file.
enum aavso_column : int {
  col_time,
  col_mag,
  col_band,
  col_observer,
  col_comment,
  col_flag,
  col_star,
  columns_read
};

/// Most columns of a line that are told apart; columns past it are never read.
constexpr int aavso_fields_max = 64;

/// An AAVSO file as far as it has been read: its form, how its fields are told apart and
/// which are read, and the parameters of the submission formats.
struct aavso_file {
  file_form form;
  char delim;                   ///< between fields: ',', '\t', ' ' or #DELIM's character
  bool fixed;                   ///< a space-separated download with a header row: by position
  int column[columns_read];     ///< the field of each column read; -1 when the file has none
  int starts;                   ///< fixed: the columns of the header row
  int start[aavso_fields_max];  ///< fixed: the byte at which each column starts
  bool excel;                   ///< #DATE=EXCEL: "MM/DD/YYYY HH:MM:SS AM", UT
  time_system system;           ///< #DATE=HJD: heliocentric Julian Dates
  plotcore::word_buf obscode;   ///< #OBSCODE=, empty until given
  plotcore::word_buf observer;  ///< the observer of the last record read
};

/// What the first line of a file that is not blank nor a `#` comment says it is (`len` bytes,
/// without its end): `#TYPE=Visual` or `#TYPE=Extended` (letter case aside); a header row
/// starting with `JD` and a delimiter (comma, tab or space) and naming `Magnitude`; a Julian
/// Date ("24" and five digits, decimals after a point), a delimiter and a magnitude (digits
/// with `<` or `-` before); anything else is a report. Blank lines and `#` lines say nothing.
file_form form_of_line(const char* line, int len);

/// Starts reading a file of `form` (download, visual or extended) whose deciding line is
/// `line`: a download takes its delimiter from it, and its columns from it when it is the
/// header row, in the download's order otherwise; the submission formats start with a comma,
/// Julian Dates (UT) and no observer's code.
void start_aavso(aavso_file* f, file_form form, const char* line, int len);

/// What a line of an AAVSO file holds.
enum class aavso_line {
  other,        ///< a parameter, comment, header row, blank line or a record of another star
  record,       ///< a record of the star, in `r`
  mention,      ///< the star, with no time or magnitude that can be read
  discrepant,   ///< a record of the star whose validation flag says discrepant (D or T)
  no_observer,  ///< a record of the star without an observer's code
};

/// Reads one line (`len` bytes, at most aavso_line_max, without its end) of the file `f`
/// for `star`, whose name in the file matches STAR letter case and spaces aside ("SS Cyg" is
/// "SSCyg", "sscyg"). Parameters (`#DELIM=`, `#DATE=`, `#OBSCODE=`, ...) change `f` for the
/// lines after; so does a header row of a download. A field is a plain text between delimiters
/// or one in double quotes ("" a quote within); `na` is an empty field. A record has its time
/// read by read_time (an Excel date and time as a VSNET one), its magnitude by read_magnitude
/// (a `-` before marks it `negative`), uncertain also when its comment code holds `:`, the band
/// by band_name (a visual file's `Vis.`, none `N/A`), the time system of #DATE, and its
/// observer in f->observer.
aavso_line read_aavso_line(aavso_file* f, const star_name& star, const char* line, int len,
                           record* r);

}  // namespace reports
