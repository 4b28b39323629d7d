// Band names as the AAVSO writes them.
#include "reports/bands.h"

#include <cstring>

namespace reports {

static char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

static bool same_text(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (upper(*a) != upper(*b)) return false;
  return *a == *b;
}

// The AAVSO's bands (its list of bandpasses in the International Database), in its spelling.
static constexpr const char* known_bands[] = {
    "Vis.",      "N/A", "U",  "B",  "V",   "R",      "I",           "RJ",         "IJ",
    "SZ",        "SU",  "SG", "SR", "SI",  "CV",     "CR",          "CBB",        "J",
    "H",         "K",   "TB", "TG", "TR",  "Orange", "Yellow-Vis.", "Green-Vis.", "Red-Vis.",
    "Blue-Vis.", "MA",  "MB", "MI", "STU", "STV",    "STB",         "STY",        "STHBW",
    "STHBN",     "O",   "Y",  "HA", "HAC", "ZS",     "Clear",
};

// Other names observers write for a band.
struct alias {
  const char* name;
  const char* band;
};
static constexpr alias aliases[] = {
    {"Vis", "Vis."}, {"Visual", "Vis."}, {"Vis.:", "Vis."}, {"Unknown", "N/A"}, {"C", "CV"},
    {"Rc", "R"},     {"Ic", "I"},        {"Rj", "RJ"},      {"Ij", "IJ"},
};

static void copy_name(const char* text, plotcore::word_buf* name) {
  const std::size_t n = std::strlen(text);
  std::memcpy(*name, text, n + 1);
}

bool band_name(const char* text, plotcore::word_buf* name) {
  const std::size_t n = std::strlen(text);
  if (n == 0 || n > plotcore::word_max) return false;
  for (const char* band : known_bands)
    if (same_text(text, band)) {
      copy_name(band, name);
      return true;
    }
  for (const alias& a : aliases)
    if (same_text(text, a.name)) {
      copy_name(a.band, name);
      return true;
    }
  copy_name(text, name);
  return true;
}

void band_of_letters(const char* letters, plotcore::word_buf* name) {
  if (letters[0] == '\0')
    copy_name(visual_band, name);
  else
    band_name(letters, name);
}

bool known_band(const char* text) {
  for (const char* band : known_bands)
    if (same_text(text, band)) return true;
  for (const alias& a : aliases)
    if (same_text(text, a.name)) return true;
  return false;
}

bool same_band(const char* a, const char* b) { return same_text(a, b); }

}  // namespace reports
