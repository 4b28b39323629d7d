// Elements of an ephemeris: cycles, O−C, and the elements refined by weighted least squares.
#include "timing/elements.h"

#include <cmath>

#include "timing/units.h"

namespace timing {

// ---- cycles ----

// The nearest half cycle of d = time − epoch is floor(2d / P + 1/2) = floor((4d + P) / 2P), the
// nearest whole one floor((2d + P) / 2P). A Julian Date of the year 9999 is 5.4e16 units, so 4d
// stays far inside 64 bits.
bool cycle_of(long long time, long long epoch, long long period, bool halves, cycle* c) {
  const long long d = time - epoch;
  const long long n =
      halves ? floor_div(4 * d + period, 2 * period) : 2 * floor_div(2 * d + period, 2 * period);
  if (n > 2000000000000LL || n < -2000000000000LL) return false;
  c->half_cycles = n;
  c->o_minus_c = floor_div(2 * d - n * period, 2);
  return true;
}

// ---- the fit ----

// The basis is 1, x and x² with x = (E − Ē) / s, Ē the weighted mean of the cycles and s their
// largest distance from it, so that the normal equations stay well conditioned for cycles in
// the hundred thousands; the coefficients are then taken back to E = 0 (the epoch given).
// Normal equations solved by the Cholesky factorisation (Press et al., Numerical Recipes, 2nd
// ed., section 2.9), whose inverse is the covariance of the coefficients (section 15.4).

static constexpr int terms_max = 3;

struct normal_equations {
  double a[terms_max][terms_max];
  double b[terms_max];
};

// Inverts the symmetric positive definite `m` (n × n) in place; false when it is singular.
static bool invert(double m[terms_max][terms_max], int n) {
  double l[terms_max][terms_max] = {};
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j <= i; ++j) {
      double sum = m[i][j];
      for (int k = 0; k < j; ++k) sum -= l[i][k] * l[j][k];
      if (i == j) {
        if (!(sum > 1e-12 * m[i][i])) return false;
        l[i][i] = std::sqrt(sum);
      } else {
        l[i][j] = sum / l[j][j];
      }
    }
  }
  // The inverse of L, lower triangular, then m = L^-T L^-1.
  double li[terms_max][terms_max] = {};
  for (int i = 0; i < n; ++i) {
    li[i][i] = 1 / l[i][i];
    for (int j = 0; j < i; ++j) {
      double sum = 0;
      for (int k = j; k < i; ++k) sum -= l[i][k] * li[k][j];
      li[i][j] = sum / l[i][i];
    }
  }
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double sum = 0;
      for (int k = i > j ? i : j; k < n; ++k) sum += li[k][i] * li[k][j];
      m[i][j] = sum;
    }
  return true;
}

// g^T C g for the covariance C (n × n).
static double variance(const double c[terms_max][terms_max], const double g[terms_max], int n) {
  double sum = 0;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) sum += g[i] * c[i][j] * g[j];
  return sum;
}

bool fit_elements(const oc_points& p, int terms, elements_fit* f) {
  if (terms < 2 || terms > terms_max || p.count < terms + 1) return false;
  double wsum = 0;
  double wesum = 0;
  for (int i = 0; i < p.count; ++i) {
    const double w = p.weighted ? 1 / (p.error[i] * p.error[i]) : 1;
    wsum += w;
    wesum += w * p.e[i];
  }
  const double mean = wesum / wsum;
  double scale = 0;
  for (int i = 0; i < p.count; ++i) {
    const double d = std::fabs(p.e[i] - mean);
    if (d > scale) scale = d;
  }
  if (scale == 0) return false;
  normal_equations ne{};
  for (int i = 0; i < p.count; ++i) {
    const double w = p.weighted ? 1 / (p.error[i] * p.error[i]) : 1;
    const double x = (p.e[i] - mean) / scale;
    const double basis[terms_max] = {1, x, x * x};
    for (int j = 0; j < terms; ++j) {
      ne.b[j] += w * basis[j] * p.oc[i];
      for (int k = 0; k < terms; ++k) ne.a[j][k] += w * basis[j] * basis[k];
    }
  }
  if (!invert(ne.a, terms)) return false;
  double c[terms_max] = {};
  for (int j = 0; j < terms; ++j)
    for (int k = 0; k < terms; ++k) c[j] += ne.a[j][k] * ne.b[k];
  double chi2 = 0;
  double squares = 0;
  for (int i = 0; i < p.count; ++i) {
    const double x = (p.e[i] - mean) / scale;
    const double r = p.oc[i] - (c[0] + c[1] * x + c[2] * x * x);
    const double w = p.weighted ? 1 / (p.error[i] * p.error[i]) : 1;
    chi2 += w * r * r;
    squares += r * r;
  }
  const int dof = p.count - terms;
  // Without errors the weights are 1 and the covariance is scaled by the variance of a residual.
  const double cov_scale = p.weighted ? 1 : chi2 / dof;
  for (int j = 0; j < terms; ++j)
    for (int k = 0; k < terms; ++k) ne.a[j][k] *= cov_scale;
  const double x0 = -mean / scale;
  const double g_epoch[terms_max] = {1, x0, x0 * x0};
  const double g_period[terms_max] = {0, 1 / scale, 2 * x0 / scale};
  const double g_q[terms_max] = {0, 0, 1 / (scale * scale)};
  f->terms = terms;
  f->d_epoch = c[0] + c[1] * x0 + c[2] * x0 * x0;
  f->d_period = (c[1] + 2 * c[2] * x0) / scale;
  f->q = c[2] / (scale * scale);
  f->d_epoch_error = std::sqrt(variance(ne.a, g_epoch, terms));
  f->d_period_error = std::sqrt(variance(ne.a, g_period, terms));
  f->q_error = terms == 3 ? std::sqrt(variance(ne.a, g_q, terms)) : 0;
  f->rms = std::sqrt(squares / p.count);
  f->chi2 = chi2;
  f->dof = dof;
  return true;
}

}  // namespace timing
