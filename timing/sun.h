// Where the Sun is: seen from the Earth (low precision), and about the solar system's barycentre.
#pragma once

#include "timing/sky_position.h"

namespace timing {

/// The Sun seen from the Earth's centre, geometric (no aberration), in the ecliptic and equinox
/// of J2000: ecliptic longitude in radians (not reduced to one turn) and distance in AU; its
/// latitude is taken as 0.
struct sun_place {
  double longitude;
  double distance;
};

/// A position in the equator and equinox of J2000, in AU.
struct position_au {
  double x;
  double y;
  double z;
};

/// The Sun's place `days` days after J2000.0 (JD 2451545.0, in any of UT, TT or TDB: a minute
/// moves it 2.5"): 0.01 degree from 1950 to 2050, slowly worse outside.
void sun_geocentric(double days, sun_place* s);

/// The cosine of the angle between the Sun's direction `longitude` (radians, J2000 ecliptic, as
/// in sun_place) and the star's direction `p`.
double sun_cosine(double longitude, const sky_position& p);

/// The Sun's centre about the solar system's barycentre `days` days after J2000.0 TDB, from the
/// mean orbits of Jupiter, Saturn, Uranus and Neptune: within about 0.0001 AU from 1800 to 2050
/// (the terrestrial planets move it by less than 0.00001 AU). At most 0.011 AU from the origin.
void sun_barycentric(double days, position_au* r);

}  // namespace timing
