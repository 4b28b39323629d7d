// The names of variable stars as the AAVSO writes them.
#include "reports/star_names.h"

#include <cstring>

namespace reports {

// ---- characters ----

static bool is_digit(char c) { return c >= '0' && c <= '9'; }
static bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }
static bool is_lower(char c) { return c >= 'a' && c <= 'z'; }
static char upper(char c) { return is_lower(c) ? static_cast<char>(c - 'a' + 'A') : c; }

// The `n` characters at `p` are `name` (letter case ignored), and `name` has no more.
static bool same_letters(const char* p, int n, const char* name) {
  for (int i = 0; i < n; ++i)
    if (name[i] == '\0' || upper(p[i]) != upper(name[i])) return false;
  return name[n] == '\0';
}

// ---- constellations ----

// The IAU's abbreviations of the 88 constellations (its list of 1922, spelt as the IAU gives
// them since 1930).
static constexpr const char* constellations[] = {
    "And", "Ant", "Aps", "Aqr", "Aql", "Ara", "Ari", "Aur", "Boo", "Cae", "Cam", "Cnc", "CVn",
    "CMa", "CMi", "Cap", "Car", "Cas", "Cen", "Cep", "Cet", "Cha", "Cir", "Col", "Com", "CrA",
    "CrB", "Crv", "Crt", "Cru", "Cyg", "Del", "Dor", "Dra", "Equ", "Eri", "For", "Gem", "Gru",
    "Her", "Hor", "Hya", "Hyi", "Ind", "Lac", "Leo", "LMi", "Lep", "Lib", "Lup", "Lyn", "Lyr",
    "Men", "Mic", "Mon", "Mus", "Nor", "Oct", "Oph", "Ori", "Pav", "Peg", "Per", "Phe", "Pic",
    "PsA", "Psc", "Pup", "Pyx", "Ret", "Sge", "Sgr", "Sco", "Scl", "Sct", "Ser", "Sex", "Tau",
    "Tel", "Tri", "TrA", "Tuc", "UMa", "UMi", "Vel", "Vir", "Vol", "Vul",
};
static_assert(sizeof constellations / sizeof constellations[0] == constellation_count);

const char* constellation(int i) { return constellations[i]; }

// The constellation of the three characters at `p`, or null; `exact` tells whether they are
// in the IAU's letter case.
static const char* find_constellation(const char* p, bool* exact) {
  for (const char* c : constellations)
    if (same_letters(p, 3, c)) {
      *exact = std::memcmp(p, c, 3) == 0;
      return c;
    }
  return nullptr;
}

// ---- designations ----

// A Greek letter: the AAVSO's spelling and the other names written for it.
struct greek {
  const char* aavso;
  const char* names[3];
};

// The AAVSO's spellings are the General Catalogue of Variable Stars' (its transliteration of
// the Russian names), but "miu" and "niu" for mu and nu, which its database takes so that they
// are not read as the designations MU and NU whatever the letter case (E. O. Waagen, "Greek
// Letters and Star Names in the AAVSO", aavso.org).
static constexpr greek greek_letters[] = {
    {"alf", {"alpha", "alf", nullptr}},   {"bet", {"beta", "bet", nullptr}},
    {"gam", {"gamma", "gam", nullptr}},   {"del", {"delta", "del", nullptr}},
    {"eps", {"epsilon", "eps", nullptr}}, {"zet", {"zeta", "zet", nullptr}},
    {"eta", {"eta", nullptr, nullptr}},   {"tet", {"theta", "tet", "the"}},
    {"iot", {"iota", "iot", nullptr}},    {"kap", {"kappa", "kap", nullptr}},
    {"lam", {"lambda", "lam", nullptr}},  {"miu", {"mu", "miu", nullptr}},
    {"niu", {"nu", "niu", nullptr}},      {"ksi", {"xi", "ksi", nullptr}},
    {"omi", {"omicron", "omi", nullptr}}, {"pi.", {"pi", nullptr, nullptr}},
    {"rho", {"rho", nullptr, nullptr}},   {"sig", {"sigma", "sig", nullptr}},
    {"tau", {"tau", nullptr, nullptr}},   {"ups", {"upsilon", "ups", nullptr}},
    {"phi", {"phi", nullptr, nullptr}},   {"khi", {"chi", "khi", nullptr}},
    {"psi", {"psi", nullptr, nullptr}},   {"ome", {"omega", "ome", nullptr}},
};
static_assert(sizeof greek_letters / sizeof greek_letters[0] == 24);

// A Greek letter of `n` characters at `p`: letters, a point after a name of two ("mu."), then
// at most two digits of a number from 1 to 9 ("alf2", "alf02"). Written as the AAVSO spells it
// into `out`.
static bool greek_letter(const char* p, int n, char* out) {
  int letters = 0;
  while (letters < n && (is_lower(p[letters]) || is_upper(p[letters]))) ++letters;
  int k = letters;
  const bool point = k < n && p[k] == '.';
  if (point) ++k;
  const int digits = n - k;
  for (int i = k; i < n; ++i)
    if (!is_digit(p[i])) return false;
  if (digits > 2 || (digits > 0 && (p[n - 1] == '0' || (digits == 2 && p[k] != '0')))) return false;
  if (point && letters != 2) return false;
  // MU and NU in capitals alone are the designations of those letters.
  if (!point && digits == 0 && letters == 2 && is_upper(p[0]) && is_upper(p[1]) &&
      (same_letters(p, n, "mu") || same_letters(p, n, "nu")))
    return false;
  for (const greek& g : greek_letters)
    for (const char* name : g.names)
      if (name != nullptr && same_letters(p, letters, name)) {
        std::memcpy(out, g.aavso, 3);
        int m = 3;
        if (digits > 0) out[m++] = p[n - 1];
        out[m] = '\0';
        return true;
      }
  return false;
}

// R to Z, RR to ZZ, AA to QZ without J, the second letter not before the first; in capitals.
static bool argelander(const char* p, int n, char* out) {
  if (n < 1 || n > 2) return false;
  const char a = upper(p[0]);
  const char b = n == 2 ? upper(p[1]) : '\0';
  if (!is_upper(a) || (n == 2 && !is_upper(b))) return false;
  if (n == 1) {
    if (a < 'R') return false;
  } else if (b < a || a == 'J' || b == 'J') {
    return false;
  }
  out[0] = a;
  out[1] = b;
  out[n] = '\0';
  return true;
}

// V335 and on: V, then three to five digits, the first not 0.
static bool v_number(const char* p, int n, char* out) {
  if (n < 4 || n > 6 || upper(p[0]) != 'V' || p[1] == '0') return false;
  int v = 0;
  for (int i = 1; i < n; ++i) {
    if (!is_digit(p[i])) return false;
    v = v * 10 + (p[i] - '0');
  }
  if (v < 335) return false;
  out[0] = 'V';
  std::memcpy(out + 1, p + 1, static_cast<std::size_t>(n - 1));
  out[n] = '\0';
  return true;
}

// The designation of `n` characters at `p` as the AAVSO writes it, at most 6 characters and a
// terminator.
static bool designation(const char* p, int n, char* out) {
  return greek_letter(p, n, out) || argelander(p, n, out) || v_number(p, n, out);
}

// ---- names ----

// "designation constellation" into `name`.
static void join(const char* designation, const char* constellation, plotcore::word_buf* name) {
  const std::size_t n = std::strlen(designation);
  std::memcpy(*name, designation, n);
  (*name)[n] = ' ';
  std::memcpy(*name + n + 1, constellation, 4);
}

// One word holding both, the constellation first or last.
static bool glued_name(const char* w, int n, plotcore::word_buf* name) {
  if (n < 4) return false;
  char first[8];
  char last[8];
  bool first_exact = false;
  bool last_exact = false;
  const char* c_first = find_constellation(w, &first_exact);
  const char* c_last = find_constellation(w + n - 3, &last_exact);
  const bool ok_first = c_first != nullptr && designation(w + 3, n - 3, first);
  const bool ok_last = c_last != nullptr && designation(w, n - 3, last);
  if (ok_first && (!ok_last || first_exact || !last_exact))
    join(first, c_first, name);
  else if (ok_last)
    join(last, c_last, name);
  return ok_first || ok_last;
}

// Two words: a designation and a constellation, in either order.
static bool two_word_name(const char* a, int na, const char* b, int nb, plotcore::word_buf* name) {
  char d[8];
  bool exact = false;
  const char* c = nb == 3 ? find_constellation(b, &exact) : nullptr;
  if (c != nullptr && designation(a, na, d)) {
    join(d, c, name);
    return true;
  }
  c = na == 3 ? find_constellation(a, &exact) : nullptr;
  if (c != nullptr && designation(b, nb, d)) {
    join(d, c, name);
    return true;
  }
  return false;
}

static bool is_white(char c) { return plotcore::is_white(static_cast<unsigned char>(c)); }

bool aavso_star_name(const char* star, plotcore::word_buf* name) {
  if (std::strlen(star) > static_cast<std::size_t>(plotcore::word_max)) return false;
  const char* word[3] = {};
  int len[3] = {};
  int words = 0;
  for (const char* p = star; *p != '\0';) {
    if (is_white(*p)) {
      ++p;
      continue;
    }
    if (words == 2) return false;
    word[words] = p;
    while (*p != '\0' && !is_white(*p)) ++p;
    len[words] = static_cast<int>(p - word[words]);
    ++words;
  }
  plotcore::word_buf got;
  const bool ok = words == 1   ? glued_name(word[0], len[0], &got)
                  : words == 2 ? two_word_name(word[0], len[0], word[1], len[1], &got)
                               : false;
  if (ok) std::memcpy(*name, got, sizeof got);
  return ok;
}

}  // namespace reports
