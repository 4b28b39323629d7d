// Elements of an ephemeris, epoch + E × period (+ Q × E²): the cycle of a timing, its O−C, and
// the elements refined from many timings by weighted least squares.
#pragma once

namespace timing {

/// A timing's place on the elements `epoch` + E × `period` (times in units of magprep's
/// ephemeris, 9e9 a day; period > 0): E in half cycles, the nearest whole cycle (even) or, with
/// `halves`, the nearest half cycle (a secondary minimum); O−C the timing less epoch + E ×
/// period, in units, rounded down. False when E would pass 10^12 cycles.
struct cycle {
  long long half_cycles;
  long long o_minus_c;
};
bool cycle_of(long long time, long long epoch, long long period, bool halves, cycle* c);

/// Most timings a fit takes.
constexpr int fit_max = 5000;

/// Timings for a fit: cycle numbers, O−C in days against the elements they were counted on,
/// and the error of each in days (all above 0), or none (then every timing weighs alike and the
/// errors of the elements come from the scatter).
struct oc_points {
  int count;
  bool weighted;
  double e[fit_max];
  double oc[fit_max];
  double error[fit_max];
};

/// Corrections to the elements from a weighted least-squares fit of O−C = d_epoch + d_period ×
/// E (+ q × E²), with standard errors; `rms` of the residuals and `chi2` (weighted; with no
/// errors, the sum of squared residuals in days²). `dof` the degrees of freedom.
struct elements_fit {
  int terms;  ///< 2 for linear elements, 3 with the quadratic term
  double d_epoch, d_period, q;
  double d_epoch_error, d_period_error, q_error;
  double rms;
  double chi2;
  int dof;
};

/// Fits `terms` (2 or 3) terms to `p`. False when the timings cannot fix them: fewer than
/// `terms` + 1 timings, or fewer than `terms` different cycles.
bool fit_elements(const oc_points& p, int terms, elements_fit* f);

}  // namespace timing
