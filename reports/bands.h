// Bands of observations, named as the AAVSO names them ("Vis.", "V", "CV", "TG"), whether they
// come from a Band or FILTER column, from the letters after a magnitude in a report, or from
// the command line.
#pragma once

#include "plotcore/words.h"

namespace reports {

/// The band of a visual estimate.
inline constexpr char visual_band[] = "Vis.";

/// `text` (1 to 29 characters) as the AAVSO writes it: a name of the AAVSO's list in its own
/// spelling whatever the letter case ("cv" is "CV", "vis" "Vis."), "Vis", "Visual" and
/// "Vis.:" also "Vis.", "Unknown" "N/A", "Rc" and "Ic" R and I, and "C", as reports mark
/// unfiltered CCD magnitudes on V comparison stars, "CV"; a name not on the list is kept as
/// given. False for an empty or longer text.
bool band_name(const char* text, plotcore::word_buf* name);

/// Whether `text` is a band of the AAVSO's list or one of the other names band_name knows.
bool known_band(const char* text);

/// The band that the letters after a magnitude in a VSNET or VSOLJ report say (`letters`
/// holds only letters, at most 29): none, visual; any others as band_name reads them ("V", "v"
/// and "CR" are those bands, "C" is CV).
void band_of_letters(const char* letters, plotcore::word_buf* name);

/// Whether two band names as band_name writes them are the same band (letter case aside).
bool same_band(const char* a, const char* b);

}  // namespace reports
