// Times of minimum and maximum light of one run of observations: a minimum by the method of
// Kwee and van Woerden, a maximum by a low-degree polynomial, each with its standard error.
#pragma once

namespace timing {

/// Most observations in a run; more are not looked at.
constexpr int run_max = 20000;

/// Most cells of the even grid a minimum is timed on.
constexpr int grid_max = 2048;

/// Fewest observations each side of an extremum.
constexpr int branch_min = 5;

/// A run of observations: times in days since an origin the caller chooses (small numbers, so
/// that a double keeps them to well below a second), ascending (equal times allowed), and
/// magnitudes (larger is fainter).
struct run {
  const double* time;
  const double* mag;
  int count;  ///< 0 to run_max
};

/// How an error was found.
enum class error_method {
  kwee_van_woerden,  ///< from the sums of squares alone (Kwee and van Woerden 1956)
  revised,           ///< with the sum at the minimum from the run's own noise (Deeg 2021)
  polynomial,        ///< from the covariance of a fitted polynomial
};

enum class timing_status {
  ok,
  too_few_points,    ///< fewer than 2 * branch_min + 1 observations
  bad_input,         ///< a time or magnitude that is not finite, or times out of order
  extremum_at_edge,  ///< the faintest (brightest) stretch at the first or last two observations:
                     ///< the run does not turn
  branch_too_short,  ///< fewer than branch_min observations on one side of it
  no_extremum,       ///< the run does not turn there (no minimum of the sums, no turn of the fit)
};

/// A timed extremum.
struct extremum {
  double time;          ///< days, from the run's origin
  double error;         ///< one standard error, days (above 0)
  int points;           ///< observations the timing used
  error_method method;  ///< where `error` came from
  double kvw_error;     ///< a minimum's error by Kwee and van Woerden's formula, days; 0 where
                        ///< it is imaginary, and 0 for a maximum
  double noise;         ///< the scatter of one observation about the curve, magnitudes
};

/// The smallest number of decimals, 0 to 4, in which every magnitude of the run is written
/// (12.3456: 4, visual estimates in tenths: 1); 4 where some need more. With no magnitudes, 0.
int magnitude_decimals(const run& r);

/// Times the minimum of `r` by the method of Kwee and van Woerden (1956, BAN 12, 327). The
/// faintest stretch of a running mean gives a first time, the middle of the chord at half depth
/// where the run reaches it on both sides; the run is taken in a window symmetric about it, as far
/// as the nearer end of the run or, where the run fades again beyond its brightest (into the next
/// minimum), that brightest point, and averaged into an even grid of cells (as many as the
/// observations in the window, at least 32, at most grid_max), an empty cell interpolated linearly
/// between its neighbours. The sums of squared differences S(T) between the branches reflected
/// about trial times T are found near their least; a parabola a T^2 + b T + c is fitted by least
/// squares to seven of them, spaced a cell apart or as many cells as S needs to rise to three times
/// its least over three steps, and its vertex is the time; the window is centred on it again until
/// it moves by less than a step (seven trials rather than the three of 1956: Deeg 2021,
/// Galaxies 9, 1, finds five or more give the better times). The error is Kwee and van Woerden's,
/// sigma^2 = (4ac - b^2) / (4 a^2 (Z - 1)), Z the independent pairs in the sums (the pairs of grid
/// values, fewer where one observation is interpolated into several cells); where that is imaginary
/// or below half the revised error, it is the revised one, in which the sum at the vertex (4ac -
/// b^2) / (4a) is what the run's own noise makes it (after Deeg 2021): sigma^2 = N / (a Z), N the
/// sum of the variances of the reflected differences from the scatter of the observations about the
/// line through their neighbours. `resolution` is the magnitudes' unit (0.0001 for four decimals; 0
/// if not known): the noise is never taken below what rounding to it (or to a millionth) adds.
/// `result` is written only with ok.
timing_status time_minimum(const run& r, double resolution, extremum* result);

/// Times the maximum of `r`: a polynomial (of degree 4 over 20 observations or more, 3 over 12
/// or more, else 2) is fitted by least squares to the brightest stretch, where the running mean
/// stays within a tenth of the run's range of its brightest; where that holds fewer than
/// branch_min observations on a side, or gives no sound time, within 0.15, a fifth, 0.3 or half
/// of it: the narrower the stretch, the less a curve that rises faster than it falls moves the
/// time. The time is where the fit is brightest (its slope 0), and the error the standard error
/// of that root from the covariance of the coefficients, each observation's scatter the larger of
/// the residuals' and the run's noise. A time is sound where the fit knows its bending at the
/// root to a third of itself and fades by more than five standard errors towards both ends of the
/// stretch. `resolution` as for time_minimum. `result` is written only with ok.
timing_status time_maximum(const run& r, double resolution, extremum* result);

/// The scatter of one observation of `r` about a smooth curve, from the residual of each
/// observation from the line through its two neighbours, in magnitudes; 0 with fewer than three
/// observations. The curve's own bending adds a little where the run is sparse.
double run_noise(const run& r);

}  // namespace timing
