// The weighted least-squares polynomial of degree 1 to 4, with the covariance of its
// coefficients: the maximum of a light curve, and the linear and quadratic elements of an O-C
// diagram.
#pragma once

namespace timing {

/// Highest degree a fit takes.
constexpr int degree_max = 4;

/// A fitted polynomial: y = sum of coeff[k] * (x - origin)^k, k from 0 to degree.
struct poly_fit_result {
  int degree;
  double origin;                                      ///< as the caller gave it
  double coeff[degree_max + 1];                       ///< of the powers of (x - origin)
  double covariance[degree_max + 1][degree_max + 1];  ///< (X^T W X)^-1, see below
  int count;                                          ///< points with a weight above 0
  double chi2;                                        ///< sum of w * (y - fit)^2
  double rms;  ///< sqrt(chi2 / sum of w): the weighted residual rms
};

enum class fit_status {
  ok,
  bad_degree,      ///< below 1 or above degree_max
  too_few_points,  ///< not more points of weight above 0 than coefficients
  bad_input,       ///< a value that is not finite, or a weight below 0
  singular,        ///< fewer distinct x than coefficients (or as good as that in double)
};

/// Fits a polynomial of `degree` (1 to degree_max) to the `n` points (x[i], y[i]) with weights
/// w[i] >= 0 (null: all 1), minimising chi2. Points of weight 0 take no part. `covariance` is
/// (X^T W X)^-1: the covariance of the coefficients when each w[i] is 1 / sigma_i^2; when the
/// weights are only relative (or all 1), multiply it by chi2 / (count - degree - 1), the
/// variance of a point of weight 1 as the residuals tell it. The sums run from i = 0 up, and
/// x is scaled by its largest distance from `origin` inside, so that the powers stay near 1:
/// keep `origin` near the middle of the x for the best precision. `fit` is written only with ok.
fit_status poly_fit(const double* x, const double* y, const double* w, int n, int degree,
                    double origin, poly_fit_result* fit);

/// The fitted polynomial at x.
double poly_value(const poly_fit_result& fit, double x);

/// Its first derivative at x.
double poly_slope(const poly_fit_result& fit, double x);

/// Its second derivative at x.
double poly_curvature(const poly_fit_result& fit, double x);

/// The variance of the polynomial's value at x from the covariance as it stands (scale it as
/// said above): g^T C g with g the powers of (x - origin).
double poly_value_variance(const poly_fit_result& fit, double x);

}  // namespace timing
