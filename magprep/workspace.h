// The tables magprep's modes keep their records in: up to records_max records, more than a
// stack holds (Linux gives 8 MB, Windows 1 MB), so the caller keeps them and hands them down.
#pragma once

#include "plotcore/words.h"
#include "timing/period_search.h"

namespace magprep {

/// Most records -n, -p, -f, -m and -M take; more are counted and dropped.
constexpr int records_max = 1000000;
static_assert(records_max == timing::search_max);

/// Most points magphase draws from one file: -n and -p write no more.
constexpr int magphase_max = 5000;

/// The records of -n and -p: X (-n: parts of an hour; -p: phase in billionths, shifted),
/// magnitudes in ten-thousandths, and the first magphase_max magnitudes as written.
struct point_table {
  int count;
  int decimals;  ///< the most decimals a magnitude is written with, 0 to 4
  long long x[records_max];
  int mag[records_max];
  plotcore::word_buf written[magphase_max];
};

/// The records of -m and -M: times in units and magnitudes in ten-thousandths.
struct extrema_table {
  int count;
  long long time[records_max];
  long long mag[records_max];
};

/// The same as days since the first record and magnitudes, as the timing takes them.
struct extrema_days {
  double time[records_max];
  double mag[records_max];
};

/// -m, -M: the records and their days.
struct extrema_tables {
  extrema_table records;
  extrema_days days;
};

/// -f: the records and the tables the search works in.
struct search_tables {
  timing::search_input in;
  timing::search_work work;
};

/// The tables of the one mode that runs: 32 MB, of which a run touches only what its records
/// fill.
union workspace {
  point_table points;
  extrema_tables extrema;
  search_tables search;
};

}  // namespace magprep
