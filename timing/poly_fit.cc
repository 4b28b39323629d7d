// The weighted least-squares polynomial by its normal equations, solved by Cholesky.
#include "poly_fit.h"

#include <cmath>

namespace timing {

// ---- the normal equations ----

constexpr int terms_max = degree_max + 1;

// Factors the symmetric positive definite m (size k) into L L^T in place (the lower triangle),
// and inverts it into `inverse`. False when a pivot falls below a billionth of its diagonal
// element: the powers are then as good as dependent.
static bool invert(double m[terms_max][terms_max], int k, double inverse[terms_max][terms_max]) {
  double l[terms_max][terms_max] = {};
  for (int j = 0; j < k; ++j) {
    double d = m[j][j];
    for (int p = 0; p < j; ++p) d -= l[j][p] * l[j][p];
    if (!(d > 1e-9 * m[j][j])) return false;
    l[j][j] = std::sqrt(d);
    for (int i = j + 1; i < k; ++i) {
      double s = m[i][j];
      for (int p = 0; p < j; ++p) s -= l[i][p] * l[j][p];
      l[i][j] = s / l[j][j];
    }
  }
  // L^-1 column by column (lower triangular), then (L^-1)^T L^-1.
  double li[terms_max][terms_max] = {};
  for (int j = 0; j < k; ++j) {
    li[j][j] = 1 / l[j][j];
    for (int i = j + 1; i < k; ++i) {
      double s = 0;
      for (int p = j; p < i; ++p) s += l[i][p] * li[p][j];
      li[i][j] = -s / l[i][i];
    }
  }
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j) {
      double s = 0;
      const int from = i > j ? i : j;
      for (int p = from; p < k; ++p) s += li[p][i] * li[p][j];
      inverse[i][j] = s;
    }
  return true;
}

fit_status poly_fit(const double* x, const double* y, const double* w, int n, int degree,
                    double origin, poly_fit_result* fit) {
  if (degree < 1 || degree > degree_max) return fit_status::bad_degree;
  if (!std::isfinite(origin)) return fit_status::bad_input;
  const int k = degree + 1;
  int count = 0;
  double scale = 0;
  double wsum = 0;
  for (int i = 0; i < n; ++i) {
    const double wi = w ? w[i] : 1;
    if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || !std::isfinite(wi) || wi < 0)
      return fit_status::bad_input;
    if (wi == 0) continue;
    ++count;
    wsum += wi;
    const double d = std::fabs(x[i] - origin);
    if (d > scale) scale = d;
  }
  if (count <= k) return fit_status::too_few_points;
  if (!(scale > 0) || !std::isfinite(scale) || !std::isfinite(wsum)) return fit_status::singular;

  // In u = (x - origin) / scale, within -1 to 1.
  double m[terms_max][terms_max] = {};
  double rhs[terms_max] = {};
  for (int i = 0; i < n; ++i) {
    const double wi = w ? w[i] : 1;
    if (wi == 0) continue;
    const double u = (x[i] - origin) / scale;
    double power[2 * terms_max - 1];
    power[0] = wi;
    for (int p = 1; p < 2 * k - 1; ++p) power[p] = power[p - 1] * u;
    for (int a = 0; a < k; ++a) {
      for (int b = 0; b <= a; ++b) m[a][b] += power[a + b];
      rhs[a] += power[a] * y[i];
    }
  }
  for (int a = 0; a < k; ++a)
    for (int b = a + 1; b < k; ++b) m[a][b] = m[b][a];
  double inverse[terms_max][terms_max];
  if (!invert(m, k, inverse)) return fit_status::singular;
  double c[terms_max];
  for (int a = 0; a < k; ++a) {
    double s = 0;
    for (int b = 0; b < k; ++b) s += inverse[a][b] * rhs[b];
    c[a] = s;
  }

  poly_fit_result r{};
  r.degree = degree;
  r.origin = origin;
  r.count = count;
  // Back to powers of (x - origin): coefficient a is divided by scale^a.
  double unit[terms_max];
  unit[0] = 1;
  for (int a = 1; a < k; ++a) unit[a] = unit[a - 1] / scale;
  for (int a = 0; a < k; ++a) {
    r.coeff[a] = c[a] * unit[a];
    for (int b = 0; b < k; ++b) r.covariance[a][b] = inverse[a][b] * unit[a] * unit[b];
  }
  double chi2 = 0;
  for (int i = 0; i < n; ++i) {
    const double wi = w ? w[i] : 1;
    if (wi == 0) continue;
    const double u = (x[i] - origin) / scale;
    double v = c[degree];
    for (int a = degree - 1; a >= 0; --a) v = v * u + c[a];
    const double d = y[i] - v;
    chi2 += wi * d * d;
  }
  r.chi2 = chi2;
  r.rms = std::sqrt(chi2 / wsum);
  *fit = r;
  return fit_status::ok;
}

// ---- the fitted polynomial ----

double poly_value(const poly_fit_result& fit, double x) {
  const double u = x - fit.origin;
  double v = fit.coeff[fit.degree];
  for (int a = fit.degree - 1; a >= 0; --a) v = v * u + fit.coeff[a];
  return v;
}

double poly_slope(const poly_fit_result& fit, double x) {
  const double u = x - fit.origin;
  double v = fit.degree * fit.coeff[fit.degree];
  for (int a = fit.degree - 1; a >= 1; --a) v = v * u + a * fit.coeff[a];
  return v;
}

double poly_curvature(const poly_fit_result& fit, double x) {
  const double u = x - fit.origin;
  double v = 0;
  for (int a = fit.degree; a >= 2; --a) v = v * u + a * (a - 1) * fit.coeff[a];
  return v;
}

double poly_value_variance(const poly_fit_result& fit, double x) {
  const double u = x - fit.origin;
  double g[terms_max];
  g[0] = 1;
  for (int a = 1; a <= fit.degree; ++a) g[a] = g[a - 1] * u;
  double s = 0;
  for (int a = 0; a <= fit.degree; ++a)
    for (int b = 0; b <= fit.degree; ++b) s += g[a] * fit.covariance[a][b] * g[b];
  return s;
}

}  // namespace timing
