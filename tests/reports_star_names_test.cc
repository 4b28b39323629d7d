// The names of variable stars as the AAVSO writes them, from the forms of the reports.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "reports/star_names.h"

namespace {

// The name, or "-" when it cannot be turned.
std::string aavso(const char* star) {
  plotcore::word_buf name = "untouched";
  if (!reports::aavso_star_name(star, &name)) return std::string("-") + name;
  return name;
}

struct name_case {
  const char* star;
  const char* expected;  // "-untouched": not turned, and nothing written
};

TEST(aavso_star_name, reads_the_constellation_first_or_last) {
  const name_case cases[] = {
      {"CYGSS", "SS Cyg"},
      {"DRAAG", "AG Dra"},
      {"HERalpha", "alf Her"},
      {"CYGV1500", "V1500 Cyg"},
      {"PERbeta", "bet Per"},
      {"RZCas", "RZ Cas"},
      {"SSCyg", "SS Cyg"},
      {"sscyg", "SS Cyg"},
      {"V1500Cyg", "V1500 Cyg"},
      {"v1500cyg", "V1500 Cyg"},
      {"SS Cyg", "SS Cyg"},
      {"ss  cyg", "SS Cyg"},
      {"Cyg SS", "SS Cyg"},
      {" alpha\tHer ", "alf Her"},
      {"CVNalpha2", "alf2 CVn"},
      {"alf2CVn", "alf2 CVn"},
      {"alf02 CVn", "alf2 CVn"},
      {"CRBR", "R CrB"},
      {"RCrA", "R CrA"},
      {"CRTR", "R Crt"},
      {"delCep", "del Cep"},
      {"CEPdelta", "del Cep"},
      {"DELR", "R Del"},
      {"etaAql", "eta Aql"},
      {"tauSgr", "tau Sgr"},
      {"TAUtau", "tau Tau"},
      {"PSAS", "S PsA"},
      // Both ways: the constellation where its letter case is the IAU's, otherwise first.
      {"TAUR", "R Tau"},
      {"TAur", "T Aur"},
      {"TauR", "R Tau"},
      // MU and NU in capitals are designations; in any other case the Greek letters.
      {"CEPMU", "MU Cep"},
      {"CEPmu", "miu Cep"},
      {"muCep", "miu Cep"},
      {"mu. Cep", "miu Cep"},
      {"MU. Cep", "miu Cep"},
      {"Mu Cep", "miu Cep"},
      {"NU Pav", "NU Pav"},
      {"nu Pav", "niu Pav"},
      {"PAVnu2", "niu2 Pav"},
      {"QZ Cas", "QZ Cas"},
      {"ZZ Pup", "ZZ Pup"},
      {"V335 Sgr", "V335 Sgr"},
      {"V99999Sgr", "V99999 Sgr"},
  };
  for (const name_case& c : cases) EXPECT_EQ(aavso(c.star), c.expected) << c.star;
}

TEST(aavso_star_name, spells_every_greek_letter_as_the_aavso_database_takes_it) {
  const name_case cases[] = {
      {"HERalpha", "alf Her"},   {"HERalf", "alf Her"},     {"HERbeta", "bet Her"},
      {"HERgamma", "gam Her"},   {"HERgam", "gam Her"},     {"HERdelta", "del Her"},
      {"HERepsilon", "eps Her"}, {"HEReps", "eps Her"},     {"HERzeta", "zet Her"},
      {"HEReta", "eta Her"},     {"HERtheta", "tet Her"},   {"HERthe", "tet Her"},
      {"HERtet", "tet Her"},     {"HERiota", "iot Her"},    {"HERkappa", "kap Her"},
      {"HERlambda", "lam Her"},  {"HERmu", "miu Her"},      {"HERmiu", "miu Her"},
      {"HERnu", "niu Her"},      {"HERniu", "niu Her"},     {"HERxi", "ksi Her"},
      {"HERXI", "ksi Her"},      {"HERxi.", "ksi Her"},     {"HERksi", "ksi Her"},
      {"HERomicron", "omi Her"}, {"HERomi", "omi Her"},     {"HERpi", "pi. Her"},
      {"HERpi.", "pi. Her"},     {"HERrho", "rho Her"},     {"HERsigma", "sig Her"},
      {"HERtau", "tau Her"},     {"HERupsilon", "ups Her"}, {"HERphi", "phi Her"},
      {"HERchi", "khi Her"},     {"HERkhi", "khi Her"},     {"HERpsi", "psi Her"},
      {"HERomega", "ome Her"},   {"HERome", "ome Her"},     {"omicron2Cyg", "omi2 Cyg"},
      {"CETomicron", "omi Cet"}, {"CYGchi", "khi Cyg"},     {"ORIpi5", "pi.5 Ori"},
      {"ALPHAHER", "alf Her"},   {"Omi Cet", "omi Cet"},
  };
  for (const name_case& c : cases) EXPECT_EQ(aavso(c.star), c.expected) << c.star;
}

TEST(aavso_star_name, keeps_what_is_no_designation_and_constellation) {
  const char* kept[] = {
      "",
      "   ",
      "BLAlg",
      "UXAlg",
      "NSV 1234",
      "1500",
      "Cyg",
      "CYG",
      "SS",
      "CygCyg",
      "QZ",
      "A Cyg",
      "BA Cyg",
      "JJ Cyg",
      "AJ Cyg",
      "RJ Cyg",
      "Q Cyg",
      "V334 Cyg",
      "V0335 Cyg",
      "V12 Cyg",
      "V123456 Cyg",
      "alpha0 Her",
      "alpha10 Her",
      "alf00 Her",
      "eta. Her",
      "alf-2 Her",
      "SS Cyg Cyg",
      "SS Xyz",
      "SSCy",
      ("SS\xc2\xa0"
       "Cyg"),  // a non-breaking space: no blank of a name
      "SSCYG:",
      "(SSCyg)",
      "ETA Car a",
      "VCyg1500",
      "1500Cyg",
      "abcdefghijklmnopqrstuvwxyzabcd",  // 30 characters
      "SS                         Cyg",  // 30 with the spaces
  };
  for (const char* star : kept) EXPECT_EQ(aavso(star), "-untouched") << star;
  // At 29 characters the name is still looked at.
  EXPECT_EQ(aavso("SS                        Cyg"), "SS Cyg");
}

TEST(aavso_star_name, knows_the_88_constellations_in_any_letter_case) {
  auto shout = [](std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
  };
  for (int i = 0; i < reports::constellation_count; ++i) {
    const std::string c = reports::constellation(i);
    EXPECT_EQ(aavso((shout(c) + "RR").c_str()), "RR " + c);
    EXPECT_EQ(aavso(("RR" + c).c_str()), "RR " + c);
    for (int j = 0; j < i; ++j) EXPECT_NE(shout(c), shout(reports::constellation(j)));
  }
}

}  // namespace
