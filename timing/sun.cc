// The Sun's place seen from the Earth, and the Sun's motion about the barycentre.
#include "timing/sun.h"

#include <cmath>

namespace timing {

static constexpr double pi = 3.14159265358979323846;
static constexpr double degree = pi / 180.0;

// The obliquity of the ecliptic at J2000, 84381.448" (the IAU 1976 value: J. H. Lieske et al.
// 1977, Astron. Astrophys. 58, 1-16).
static constexpr double obliquity = 23.4392911 * degree;

// ---- the Sun seen from the Earth ----

// The Astronomical Almanac's low-precision formulae for the Sun (Section C, "Low-precision
// formulas for the Sun's coordinates", p. C5 of the editions since 2005; 0.01 degree from 1950
// to 2050): mean longitude L = 280.460 + 0.9856474 n, mean anomaly g = 357.528 + 0.9856003 n,
// ecliptic longitude L + 1.915 sin g + 0.020 sin 2g, distance 1.00014 - 0.01671 cos g - 0.00014
// cos 2g AU, n days from J2000.0. That longitude is apparent, of the equinox of date: the
// aberration (20.496", the constant of aberration of the same almanac's Section K) is taken off
// again, and the general precession in longitude since J2000 too (5029.0966" a century, IAU
// 1976: Lieske et al. 1977, as above), since stars are placed in J2000.
// These are magprep's heliocentric correction's formulas, in the same order of operations, so
// that both give the same doubles.
void sun_geocentric(double days, sun_place* s) {
  const double n = days;
  const double mean_longitude = std::fmod(280.460 + 0.9856474 * n, 360.0);
  const double g = std::fmod(357.528 + 0.9856003 * n, 360.0) * degree;
  s->longitude = (mean_longitude + 1.915 * std::sin(g) + 0.020 * std::sin(2 * g) + 20.496 / 3600.0 -
                  1.396971 * n / 36525.0) *
                 degree;
  s->distance = 1.00014 - 0.01671 * std::cos(g) - 0.00014 * std::cos(2 * g);
}

// The Sun's unit vector (cos l, sin l cos e, sin l sin e) in the equator of J2000, on the star's
// (cos d cos a, cos d sin a, sin d), grouped as magprep's heliocentric correction groups it.
double sun_cosine(double longitude, const sky_position& p) {
  const double cos_dec = std::cos(p.dec);
  return std::cos(longitude) * cos_dec * std::cos(p.ra) +
         std::sin(longitude) * (std::sin(obliquity) * std::sin(p.dec) +
                                std::cos(obliquity) * cos_dec * std::sin(p.ra));
}

// ---- the Sun about the barycentre ----

// Mean orbital elements at J2000 and their rates per Julian century, in the mean ecliptic and
// equinox of J2000: semi-major axis a (AU), eccentricity e, inclination I, mean longitude L,
// longitude of perihelion w and of the ascending node N (degrees). E. M. Standish, "Keplerian
// Elements for Approximate Positions of the Major Planets" (JPL Solar System Dynamics), Table 1,
// valid 1800 AD - 2050 AD, fitted to DE405; Jupiter there within 400" and 600,000 km.
struct orbit {
  double a, da;
  double e, de;
  double inclination, dinclination;
  double mean_longitude, dmean_longitude;
  double perihelion, dperihelion;
  double node, dnode;
  double sun_mass_ratio;  // the Sun's mass over the planet's and its moons'
};

// Mass ratios of the IAU 2009 System of Astronomical Constants (B. Luzum et al. 2011, Celest.
// Mech. Dyn. Astron. 110, 293, Table 1), those of DE405 and DE421.
static constexpr orbit giants[] = {
    {5.20288700, -0.00011607, 0.04838624, -0.00013253, 1.30439695, -0.00183714, 34.39644051,
     3034.74612775, 14.72847983, 0.21252668, 100.47390909, 0.20469106, 1047.348644},  // Jupiter
    {9.53667594, -0.00125060, 0.05386179, -0.00050991, 2.48599187, 0.00193609, 49.95424423,
     1222.49362201, 92.59887831, -0.41897216, 113.66242448, -0.28867794, 3497.9018},  // Saturn
    {19.18916464, -0.00196176, 0.04725744, -0.00004397, 0.77263783, -0.00242939, 313.23810451,
     428.48202785, 170.95427630, 0.40805281, 74.01692503, 0.04240589, 22902.98},  // Uranus
    {30.06992276, 0.00026291, 0.00859048, 0.00005105, 1.77004347, 0.00035372, -55.12002969,
     218.45945325, 44.96476227, -0.32241464, 131.78422574, -0.00508664, 19412.26},  // Neptune
};

// A planet's heliocentric position in the ecliptic of J2000 from its mean orbit, T centuries
// after J2000: Kepler's equation by Newton's method from E = M + e sin M, five steps for e below
// 0.06 (the error squares each step), then the orbit's plane turned onto the ecliptic, as the
// formulae before Standish's Table 1 do.
static void heliocentric(const orbit& o, double t, position_au* r) {
  const double a = o.a + o.da * t;
  const double e = o.e + o.de * t;
  const double inclination = (o.inclination + o.dinclination * t) * degree;
  const double perihelion = o.perihelion + o.dperihelion * t;
  const double node = (o.node + o.dnode * t) * degree;
  const double anomaly = std::fmod(o.mean_longitude + o.dmean_longitude * t - perihelion, 360.0);
  const double m = anomaly * degree;
  const double argument = perihelion * degree - node;
  double ecc = m + e * std::sin(m);
  for (int i = 0; i < 5; ++i) ecc -= (ecc - e * std::sin(ecc) - m) / (1 - e * std::cos(ecc));
  const double x = a * (std::cos(ecc) - e);
  const double y = a * std::sqrt(1 - e * e) * std::sin(ecc);
  const double cw = std::cos(argument), sw = std::sin(argument);
  const double cn = std::cos(node), sn = std::sin(node);
  const double ci = std::cos(inclination), si = std::sin(inclination);
  r->x = (cw * cn - sw * sn * ci) * x + (-sw * cn - cw * sn * ci) * y;
  r->y = (cw * sn + sw * cn * ci) * x + (-sw * sn + cw * cn * ci) * y;
  r->z = sw * si * x + cw * si * y;
}

// The barycentre is where the masses balance: with the Sun at the origin it lies at
// sum(m_i r_i) / (M + sum m_i), so the Sun lies at minus that from the barycentre. The planets'
// positions are heliocentric, as the elements are.
void sun_barycentric(double days, position_au* r) {
  const double t = days / 36525.0;
  double total = 1.0;
  for (const orbit& o : giants) total += 1.0 / o.sun_mass_ratio;
  double x = 0, y = 0, z = 0;
  for (const orbit& o : giants) {
    position_au p{};
    heliocentric(o, t, &p);
    x += p.x / o.sun_mass_ratio;
    y += p.y / o.sun_mass_ratio;
    z += p.z / o.sun_mass_ratio;
  }
  const double ce = std::cos(obliquity), se = std::sin(obliquity);
  r->x = -x / total;
  r->y = -(ce * y - se * z) / total;
  r->z = -(se * y + ce * z) / total;
}

}  // namespace timing
