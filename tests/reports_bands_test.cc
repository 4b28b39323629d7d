// Band names: the AAVSO's spelling whatever the case, the usual aliases, and the letters after a
// magnitude in a report.
#include <gtest/gtest.h>

#include <string>

#include "reports/bands.h"
#include "reports/record.h"

namespace {

TEST(bands, are_named_as_the_aavso_names_them) {
  struct row {
    const char* given;
    const char* name;
  };
  const row rows[] = {
      {"V", "V"},
      {"v", "V"},
      {"vis.", "Vis."},
      {"Vis", "Vis."},
      {"VISUAL", "Vis."},
      {"cv", "CV"},
      {"C", "CV"},
      {"Rc", "R"},
      {"tg", "TG"},
      {"sthbw", "STHBW"},
      {"n/a", "N/A"},
      {"unknown", "N/A"},
      {"green-vis.", "Green-Vis."},
      {"Ha", "HA"},
      {"Lum", "Lum"},
  };
  for (const row& r : rows) {
    plotcore::word_buf name;
    ASSERT_TRUE(reports::band_name(r.given, &name)) << r.given;
    EXPECT_EQ(std::string(name), r.name) << r.given;
  }
  plotcore::word_buf name;
  EXPECT_FALSE(reports::band_name("", &name));
  EXPECT_FALSE(reports::band_name("abcdefghijklmnopqrstuvwxyz1234", &name));  // 30 characters
  EXPECT_TRUE(reports::same_band("Vis.", "VIS."));
  EXPECT_FALSE(reports::same_band("V", "CV"));
}

TEST(bands, come_from_the_letters_after_a_magnitude) {
  struct row {
    const char* word;
    const char* band;
    bool uncertain;
  };
  const row rows[] = {
      {"118", "Vis.", false},  {"11.8:", "Vis.", true}, {"14.80V", "V", false},
      {"14.38C", "CV", false}, {"12.1R", "R", false},   {"12.1CR", "CR", false},
      {"13.2v:", "V", true},   {"13.2:V", "V", true},   {"<14.0B", "B", false},
      {"12.0TG", "TG", false},
  };
  for (const row& r : rows) {
    reports::magnitude m{};
    ASSERT_TRUE(reports::read_magnitude(r.word, &m)) << r.word;
    EXPECT_EQ(std::string(m.band), r.band) << r.word;
    EXPECT_EQ(m.uncertain, r.uncertain) << r.word;
  }
}

}  // namespace
