// magprep's command line: its options, --help and the usage message.
#pragma once

#include <cstdio>

#include "libraries.h"

namespace magprep {

/// What a run writes: records of STAR for magtime (the default), several nights as X
/// MAGNITUDE pairs for magphase (-n), a phase list shifted (-s), the records of STAR folded on
/// an ephemeris (-p), the best periods of STAR (-f, with -g its periodogram), or the visual
/// estimates of STAR by one observer for the AAVSO (-a).
enum class mode { records, nights, phases, fold, search, extrema, oc, predictions, aavso };

/// The command line as read. Times and periods are in units of ephemeris.h.
/// Most bands -b and observers -w take.
constexpr int chosen_bands_max = 8;
constexpr int chosen_observers_max = 16;

/// The records -b and -w keep: those in one of `band` (none given: any) by one of `observer`
/// (none given: anyone).
struct selection {
  int bands;
  plotcore::word_buf band[chosen_bands_max];  ///< as band_name writes them
  int observers;
  plotcore::word_buf observer[chosen_observers_max];
};

struct options {
  mode what;
  const char* shift_text;       ///< the SHIFT as given, null unless -s was given
  long long shift;              ///< the SHIFT in billionths of the phase
  const char* star_text;        ///< STAR as given; null with -s alone
  star_name star;               ///< STAR as read
  const char* output;           ///< the FILE of -o, null for standard output
  int first_file;               ///< index in argv of the first FILE operand
  const char* period_text;      ///< -p PERIOD as given, or null
  long long period;             ///< -p
  const char* epoch_text;       ///< -e EPOCH as given, or null
  long long epoch;              ///< -e
  const char* position_text;    ///< -r RA,DEC as given, or null
  sky_position position;        ///< -r
  const char* range_text;       ///< -f MIN,MAX as given, or null
  long long min_period;         ///< -f
  long long max_period;         ///< -f
  bool periodogram;             ///< -g
  bool minima;                  ///< -m
  bool maxima;                  ///< -M
  bool oc;                      ///< -c
  bool secondaries;             ///< -2
  const char* barycentre_text;  ///< -B RA,DEC as given, or null (then also in position_text)
  bool barycentric;             ///< -B: times in BJD_TDB
  const char* times_text;       ///< -t FROM,TO as given, or null
  long long from;               ///< -t, JD in units
  long long to;                 ///< -t
  const char* bands_text;       ///< -b BAND[,BAND] as given, or null
  const char* observers_text;   ///< -w CODE[,CODE] as given, or null
  selection chosen;             ///< -b, -w
  const char* obscode;          ///< -a OBSCODE as given, or null
};

enum class parsed { run, help, version, usage };

/// Reads the command line into `o`. Options may come anywhere before `--`: they are moved to
/// the front of argv, keeping the order of the operands. A usage error is said on `err` (with
/// the usage line and where to find help) and comes back as parsed::usage.
parsed parse_options(int argc, char** argv, std::FILE* err, options* o);

/// Writes the --help text to `out`.
void print_help(std::FILE* out);

/// Writes the --version line to `out`.
void print_version(std::FILE* out);

}  // namespace magprep
