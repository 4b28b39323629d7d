// A star's place on the sky, as the timing library takes it.
#pragma once

namespace timing {

/// A position on the sky, J2000 (ICRS to the accuracy that matters here), in radians: right
/// ascension 0 to 2 pi, declination -pi/2 to +pi/2.
struct sky_position {
  double ra;
  double dec;
};

}  // namespace timing
