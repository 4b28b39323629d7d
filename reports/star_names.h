// The names of variable stars as the AAVSO writes them: a designation, a space and the
// constellation ("SS Cyg", "V1500 Cyg", "alf Her"), from the forms reports write them in.
#pragma once

#include "plotcore/words.h"

namespace reports {

/// Constellations of the IAU.
constexpr int constellation_count = 88;

/// The IAU's abbreviation of constellation `i` (0 to 87), as it writes it ("CVn").
const char* constellation(int i);

/// STAR (one word, or two separated by white space) as the AAVSO writes the name of a variable
/// star. The constellation is one of the 88 IAU abbreviations in any letter case, written
/// before the designation or after it, glued to it ("CYGSS", "SSCyg") or as a word of its own
/// ("SS Cyg"); a word that reads both ways ("TAUR": R Tau or T Aur) is read with the
/// constellation where its letter case is the IAU's, otherwise first, as VSNET writes it. The
/// designation is one of: R to Z, RR to ZZ or AA to QZ (without J, the second letter not before
/// the first) in any letter case, written in capitals; V335 and on ("v1500" is "V1500"); a Greek
/// letter by its English name, its three letters or the catalogues' forms ("alpha", "alf",
/// "mu.", "xi"), written as the AAVSO's database takes it (alf bet gam del eps zet eta tet iot
/// kap lam miu niu ksi omi pi. rho sig tau ups phi khi psi ome), with a number of 1 to 9 after
/// it ("alpha2", "alf02": "alf2"). "MU" and "NU" in capitals are the letters' designations, not
/// the Greek mu and nu. Returns false, `name` not written, for any other text (empty, more than
/// 29 characters, no constellation, no designation).
bool aavso_star_name(const char* star, plotcore::word_buf* name);

}  // namespace reports
