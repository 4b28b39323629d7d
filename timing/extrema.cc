// Times of minimum and maximum light of one run of observations.
#include "extrema.h"

#include <cmath>

#include "poly_fit.h"

namespace timing {

// ---- the run ----

// The observations looked at: at most run_max.
static int used(const run& r) { return r.count < run_max ? r.count : run_max; }

static bool valid(const run& r) {
  const int n = used(r);
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(r.time[i]) || !std::isfinite(r.mag[i])) return false;
    if (i > 0 && r.time[i] < r.time[i - 1]) return false;
  }
  return true;
}

int magnitude_decimals(const run& r) {
  const int n = used(r);
  int decimals = 0;
  double scale = 1;
  for (int i = 0; i < n; ++i) {
    // A magnitude read from "12.3456" is within a few units of its last bit of 123456 / 10^4.
    while (decimals < 4) {
      const double v = r.mag[i] * scale;
      if (std::fabs(v - std::floor(v + 0.5)) <= 1e-6) break;
      ++decimals;
      scale *= 10;
    }
  }
  return decimals;
}

// The residuals of observations first + 1 to last - 1 from the line through their neighbours:
// with a point's variance sigma^2, residual i has (1 + w^2 + (1 - w)^2) sigma^2, w its place
// between the neighbours.
static double noise_of(const double* t, const double* m, int first, int last) {
  double squares = 0;
  double factors = 0;
  for (int i = first + 1; i < last; ++i) {
    const double span = t[i + 1] - t[i - 1];
    const double w = span > 0 ? (t[i] - t[i - 1]) / span : 0.5;
    const double d = m[i] - (m[i - 1] + w * (m[i + 1] - m[i - 1]));
    squares += d * d;
    factors += 1 + w * w + (1 - w) * (1 - w);
  }
  return factors > 0 ? std::sqrt(squares / factors) : 0;
}

double run_noise(const run& r) {
  const int n = used(r);
  return n >= 3 ? noise_of(r.time, r.mag, 0, n - 1) : 0;
}

// The variance of one observation: the noise, and never less than rounding to `resolution`
// (or to a millionth where it is 0) makes it (a uniform spread of one unit: unit^2 / 12).
static double point_variance(double noise, double resolution) {
  const double v = noise * noise;
  const double unit = resolution > 0 ? resolution : 1e-6;  // never known better than a millionth
  const double rounding = unit * unit / 12;
  return v > rounding ? v : rounding;
}

// The mean of the magnitudes within `half` observations of i, fewer near the ends so that the
// mean stays centred on i (the first and last observations are their own means).
static double smoothed(const run& r, int n, int half, int i) {
  int h = half;
  if (h > i) h = i;
  if (h > n - 1 - i) h = n - 1 - i;
  double s = 0;
  for (int j = i - h; j <= i + h; ++j) s += r.mag[j];
  return s / (2 * h + 1);
}

// Half the running mean's width: a twentieth of the run, 1 to 25 observations.
static int smoothing_half(int n) {
  const int h = n / 20;
  return h < 1 ? 1 : h > 25 ? 25 : h;
}

// The observation where the running mean is faintest (sign 1) or brightest (sign -1); the first
// of equal ones.
static int extreme_index(const run& r, int n, int half, int from, int to, double sign) {
  int best = from;
  double best_value = sign * smoothed(r, n, half, from);
  for (int i = from + 1; i <= to; ++i) {
    const double v = sign * smoothed(r, n, half, i);
    if (v > best_value) {
      best_value = v;
      best = i;
    }
  }
  return best;
}

// Is the extreme running mean at observation i one of the two first or last: a run that does
// not turn?
static bool at_edge(int i, int n) { return i < 2 || i > n - 3; }

// First observation at or after time x (n if none).
static int first_at(const double* t, int n, double x) {
  int lo = 0;
  int hi = n;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (t[mid] < x)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

// Last observation at or before time x (-1 if none).
static int last_at(const double* t, int n, double x) {
  int lo = 0;
  int hi = n;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (t[mid] <= x)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo - 1;
}

// ---- minima: the even grid ----

// The observations averaged into cells: node k holds the mean time and magnitude of the
// observations in one cell, and how many they are; the grid's values are the line through the
// nodes, flat beyond the first and the last.
struct nodes {
  int count;
  double time[grid_max];
  double mag[grid_max];
  int weight[grid_max];
};

static void make_nodes(const run& r, int first, int last, double start, double cell, int cells,
                       nodes& g) {
  g.count = 0;
  int i = first;
  for (int c = 0; c < cells && i <= last; ++c) {
    const double end = c == cells - 1 ? r.time[last] : start + (c + 1) * cell;
    double ts = 0;
    double ms = 0;
    int k = 0;
    while (i <= last && (r.time[i] < end || c == cells - 1)) {
      ts += r.time[i];
      ms += r.mag[i];
      ++k;
      ++i;
    }
    if (k == 0) continue;
    g.time[g.count] = ts / k;
    g.mag[g.count] = ms / k;
    g.weight[g.count] = k;
    ++g.count;
  }
}

// The grid at x: the line from node `node` to the next, `w` of the way (w = 0 beyond the ends,
// where `node` is the first or the last). `at` is the node to start looking from, moved as x
// moves.
struct grid_point {
  double mag;
  int node;
  double w;
};

static grid_point grid_at(const nodes& g, double x, int& at) {
  if (x <= g.time[0]) return {g.mag[0], 0, 0};
  const int last = g.count - 1;
  if (x >= g.time[last]) return {g.mag[last], last, 0};
  while (at > 0 && g.time[at] > x) --at;
  while (at < last - 1 && g.time[at + 1] <= x) ++at;
  const double span = g.time[at + 1] - g.time[at];
  const double w = span > 0 ? (x - g.time[at]) / span : 0;
  return {g.mag[at] + w * (g.mag[at + 1] - g.mag[at]), at, w};
}

// S(T): the squared differences of the grid at T + tau and T - tau, tau = (j - 1/2) cell for
// j = 1 to pairs.
static double sum_of_squares(const nodes& g, double trial, double cell, int pairs) {
  int right = 0;
  int left = g.count - 1;
  double s = 0;
  for (int j = 1; j <= pairs; ++j) {
    const double tau = (j - 0.5) * cell;
    const double d = grid_at(g, trial + tau, right).mag - grid_at(g, trial - tau, left).mag;
    s += d * d;
  }
  return s;
}

// What the noise of the observations does to the sums at T, in units of one observation's
// variance. Each difference is a sum of nodes times their weights; `spread` gets the sum of the
// differences' variances (what S is at its least from the noise alone), and `shared` the
// variance of the differences' sum, in which a node that several differences interpolate counts
// as one. A vertex moves with the differences weighted by the branches' slopes, of one sign along
// a branch, so shared / spread is how many differences make one independent pair.
static void noise_of_sums(const nodes& g, double trial, double cell, int pairs, double* spread,
                          double* shared) {
  double coeff[grid_max] = {};
  int right = 0;
  int left = g.count - 1;
  double v = 0;
  for (int j = 1; j <= pairs; ++j) {
    const double tau = (j - 0.5) * cell;
    const grid_point a = grid_at(g, trial + tau, right);
    const grid_point b = grid_at(g, trial - tau, left);
    coeff[a.node] += 1 - a.w;
    if (a.w > 0) coeff[a.node + 1] += a.w;
    coeff[b.node] -= 1 - b.w;
    if (b.w > 0) coeff[b.node + 1] -= b.w;
    v += (1 - a.w) * (1 - a.w) / g.weight[a.node] + (1 - b.w) * (1 - b.w) / g.weight[b.node];
    if (a.w > 0) v += a.w * a.w / g.weight[a.node + 1];
    if (b.w > 0) v += b.w * b.w / g.weight[b.node + 1];
  }
  double c2 = 0;
  for (int k = 0; k < g.count; ++k) c2 += coeff[k] * coeff[k] / g.weight[k];
  *spread = v;
  *shared = c2;
}

// ---- minima: the window and the fit ----

// How far from `middle` the window reaches on one side (`dir` -1 or 1): as far as the end of
// the run, or as far as the brightest point of the running mean where the run fades again
// beyond it by half the depth, and by more than five times the running mean's own noise (a
// run that goes on into the next minimum). Only running means over their full width count.
static double reach_of(const run& r, int n, int half, int centre, int dir, double noise) {
  const double middle = r.time[centre];
  const double edge = dir < 0 ? middle - r.time[0] : r.time[n - 1] - middle;
  const int from = dir < 0 ? half : centre + 1;
  const int to = dir < 0 ? centre - 1 : n - 1 - half;
  if (from > to) return edge;
  const int b = extreme_index(r, n, half, from, to, -1);
  const double bright = smoothed(r, n, half, b);
  const double faint = smoothed(r, n, half, centre);
  const double margin = 5 * noise / std::sqrt(2.0 * half + 1);
  const double fade = bright + (faint - bright) / 2;
  if (fade - bright <= margin) return edge;
  for (int i = b + dir; i >= half && i <= n - 1 - half; i += dir)
    if (smoothed(r, n, half, i) > fade) return dir < 0 ? middle - r.time[b] : r.time[b] - middle;
  return edge;
}

// Half the window about `middle`: the nearer of its reaches.
static double window_half(const run& r, int n, int half, double middle, double noise) {
  int centre = first_at(r.time, n, middle);
  if (centre > n - 1) centre = n - 1;
  const double left = reach_of(r, n, half, centre, -1, noise) - (r.time[centre] - middle);
  const double right = reach_of(r, n, half, centre, 1, noise) + (r.time[centre] - middle);
  return left < right ? left : right;
}

// The outcome of one pass about a first guess.
struct kvw_pass {
  double time;
  double curvature;  ///< a of a T^2 + b T + c
  double least;      ///< (4ac - b^2) / (4a): the parabola at its vertex
  double noise_sum;  ///< the variance of S at the vertex in units of one observation's
  double pairs;      ///< Z, the independent pairs
  int points;        ///< observations within the reflected stretch
  int first;         ///< the first of them
  int last;          ///< the last of them
  double cell;       ///< days
  double step;       ///< between trials, days
};

// Trials either side of the middle one that the parabola is fitted to.
constexpr int trial_reach = 3;

static timing_status kvw_about(const run& r, int n, int half, double noise, double guess,
                               kvw_pass* out) {
  const double w = window_half(r, n, half, guess, noise);
  const int first = first_at(r.time, n, guess - w);
  const int last = last_at(r.time, n, guess + w);
  const int before = first_at(r.time, n, guess) - first;
  const int after = last - first_at(r.time, n, guess) + 1;
  if (before < branch_min || after < branch_min) return timing_status::branch_too_short;
  int cells = last - first + 1;
  if (cells > grid_max) cells = grid_max;
  // A sparse run still gets enough cells for the seven trials and branch_min pairs beyond them:
  // its observations are then interpolated into several cells each, which Z allows for.
  if (cells < 4 * (branch_min + trial_reach)) cells = 4 * (branch_min + trial_reach);
  const double cell = 2 * w / cells;
  if (!(cell > 0)) return timing_status::no_extremum;
  nodes g;
  make_nodes(r, first, last, guess - w, cell, cells, g);

  // S of trials a cell apart within half the window, each over as many pairs as the window
  // holds about it (a quarter of the cells at least), as a mean per pair; the least of them.
  int reach = cells / 4;
  if (reach < 1) reach = 1;
  double scan[grid_max / 2 + 1];
  int best = 0;
  for (int k = -reach; k <= reach; ++k) {
    const int pairs = cells / 2 - (k < 0 ? -k : k);
    scan[k + reach] = sum_of_squares(g, guess + k * cell, cell, pairs) / pairs;
    if (scan[k + reach] < scan[best + reach]) best = k;
  }
  // The trials' spacing: a cell, or as many as S needs to reach three times its least three
  // steps either side. S(T) wavers about its parabola by its noise, about sqrt(2 / Z) of it
  // from one cell to the next: the seven trials must span enough of the parabola that this
  // moves its vertex by a small part of the error.
  const double rise = 2 * scan[best + reach];
  int spacing = 1;
  while (3 * (spacing + 1) <= reach) {
    const int lo = best - 3 * spacing;
    const int hi = best + 3 * spacing;
    const bool left_risen = lo < -reach || scan[lo + reach] - scan[best + reach] >= rise;
    const bool right_risen = hi > reach || scan[hi + reach] - scan[best + reach] >= rise;
    if (left_risen && right_risen) break;
    ++spacing;
  }
  double step = spacing * cell;

  // Seven trials about the least, moved until the vertex lies within a step of the middle one
  // (within the seven after four moves, as noise may make it swing).
  for (int round = 0; round < 12; ++round) {
    const double middle = guess + best * cell;
    const double room_left = middle - (guess - w);
    const double room_right = guess + w - middle;
    const double room = room_left < room_right ? room_left : room_right;
    // Closer trials where the window leaves too few pairs beyond the outer ones.
    int pairs = static_cast<int>((room - trial_reach * step) / cell);
    while (pairs < branch_min && spacing > 1) {
      --spacing;
      step = spacing * cell;
      pairs = static_cast<int>((room - trial_reach * step) / cell);
    }
    if (pairs < branch_min) return timing_status::branch_too_short;
    double s[2 * trial_reach + 1];
    double sum = 0;
    double sum_u = 0;
    double sum_uu = 0;
    for (int k = -trial_reach; k <= trial_reach; ++k) {
      s[k + trial_reach] = sum_of_squares(g, middle + k * step, cell, pairs);
      sum += s[k + trial_reach];
      sum_u += k * s[k + trial_reach];
      sum_uu += k * k * s[k + trial_reach];
    }
    // Least squares over u = -3..3: sum u^2 = 28, sum u^4 = 196.
    const double gamma = (7 * sum_uu - 28 * sum) / 588;
    const double beta = sum_u / 28;
    const double alpha = (sum - 28 * gamma) / 7;
    const double u = gamma > 0 ? -beta / (2 * gamma) : 0;
    const double accept = round < 4 ? 1 : trial_reach;
    if (!(gamma > 0) || u > accept || u < -accept) {
      // Towards the least of the seven.
      int lowest = 0;
      for (int k = -trial_reach; k <= trial_reach; ++k)
        if (s[k + trial_reach] < s[lowest + trial_reach]) lowest = k;
      if (lowest == 0) lowest = u > 0 ? 1 : -1;
      const int moved = best + lowest * spacing;
      if (moved < -cells / 2 || moved > cells / 2) return timing_status::no_extremum;
      best = moved;
      continue;
    }
    kvw_pass p;
    p.time = middle + u * step;
    p.cell = cell;
    p.step = step;
    p.curvature = gamma / (step * step);
    p.least = alpha - beta * beta / (4 * gamma);
    double spread;
    double shared;
    noise_of_sums(g, p.time, cell, pairs, &spread, &shared);
    const double reflected = pairs * cell;
    p.first = first_at(r.time, n, p.time - reflected);
    p.last = last_at(r.time, n, p.time + reflected);
    p.points = p.last - p.first + 1;
    const int left = first_at(r.time, n, p.time) - p.first;
    if (left < branch_min || p.points - left < branch_min) return timing_status::branch_too_short;
    // Z: the pairs, less as many as the interpolation makes them depend on each other.
    p.pairs = shared > spread ? pairs * spread / shared : pairs;
    p.noise_sum = spread;
    if (p.pairs <= 1) return timing_status::branch_too_short;
    *out = p;
    return timing_status::ok;
  }
  return timing_status::no_extremum;
}

// The middle of the chord at half depth: where the running mean crosses halfway between its
// faintest and brightest on either side of the faintest observation; the faintest observation
// itself where the run does not reach that far on a side.
static double half_depth_middle(const run& r, int n, int half, int faintest) {
  const double faint = smoothed(r, n, half, faintest);
  const double bright = smoothed(r, n, half, extreme_index(r, n, half, 0, n - 1, -1));
  const double level = (faint + bright) / 2;
  double left = 0;
  double right = 0;
  bool have_left = false;
  bool have_right = false;
  for (int i = faintest; i > 0 && !have_left; --i) {
    const double a = smoothed(r, n, half, i - 1);
    if (a >= level) continue;
    const double b = smoothed(r, n, half, i);
    left = r.time[i - 1] + (r.time[i] - r.time[i - 1]) * (level - a) / (b - a);
    have_left = true;
  }
  for (int i = faintest; i < n - 1 && !have_right; ++i) {
    const double b = smoothed(r, n, half, i + 1);
    if (b >= level) continue;
    const double a = smoothed(r, n, half, i);
    right = r.time[i] + (r.time[i + 1] - r.time[i]) * (a - level) / (a - b);
    have_right = true;
  }
  return have_left && have_right ? (left + right) / 2 : r.time[faintest];
}

// Whether the run dips at `time`: the mean of the k observations nearest to it fainter, by more
// than two standard errors of such a difference, than the mean of some k in a row on either side
// of them, k an eighth of the observations from first to last (at least 2). The branches
// reflected about the middle of a maximum, or of a plateau, match as well as those of a minimum.
static bool dips_at(const run& r, int n, int first, int last, double time, double noise) {
  const int count = last - first + 1;
  const int k = count / 8 > 2 ? count / 8 : 2;
  int a = 0;
  while (a < n - 1 && r.time[a + 1] <= time) ++a;
  int b = a;
  while (b - a + 1 < k && b - a + 1 < n) {
    if (a > 0 && (b == n - 1 || time - r.time[a - 1] <= r.time[b + 1] - time))
      --a;
    else
      ++b;
  }
  double middle = 0;
  for (int i = a; i <= b; ++i) middle += r.mag[i];
  middle /= b - a + 1;
  const double margin = 2 * noise * std::sqrt(2.0 / k);
  // The brightest mean of k in a row wholly before a, and wholly after b.
  auto brightest = [&r, k](int from, int to) {
    double best = 1e300;
    if (to - from + 1 < k) return best;
    double sum = 0;
    for (int i = from; i < from + k; ++i) sum += r.mag[i];
    best = sum / k;
    for (int i = from + k; i <= to; ++i) {
      sum += r.mag[i] - r.mag[i - k];
      if (sum / k < best) best = sum / k;
    }
    return best;
  };
  return middle - brightest(0, a - 1) > margin && middle - brightest(b + 1, n - 1) > margin;
}

timing_status time_minimum(const run& r, double resolution, extremum* result) {
  const int n = used(r);
  if (n < 2 * branch_min + 1) return timing_status::too_few_points;
  if (!valid(r)) return timing_status::bad_input;
  const int half = smoothing_half(n);
  const int faintest = extreme_index(r, n, half, 0, n - 1, 1);
  if (at_edge(faintest, n)) return timing_status::extremum_at_edge;
  // Passes about the latest time, so that the window is centred on the minimum.
  kvw_pass p;
  double guess = half_depth_middle(r, n, half, faintest);
  const double whole_noise = noise_of(r.time, r.mag, 0, n - 1);
  for (int pass = 0; pass < 8; ++pass) {
    const timing_status st = kvw_about(r, n, half, whole_noise, guess, &p);
    if (st != timing_status::ok) return st;
    const double moved = std::fabs(p.time - guess);
    guess = p.time;
    if (pass > 0 && moved <= p.step) break;
  }

  const double noise = noise_of(r.time, r.mag, p.first, p.last);
  const double variance = point_variance(noise, resolution);
  if (!dips_at(r, n, p.first, p.last, p.time, std::sqrt(variance)))
    return timing_status::no_extremum;
  // S at the vertex from the noise alone, less the one freedom that the time takes.
  const double revised2 = variance * p.noise_sum / (p.curvature * p.pairs);
  const double kvw2 = p.least / (p.curvature * (p.pairs - 1));
  extremum e;
  e.time = p.time;
  e.points = p.points;
  e.noise = std::sqrt(variance);
  e.kvw_error = kvw2 > 0 ? std::sqrt(kvw2) : 0;
  if (kvw2 > 0 && 4 * kvw2 >= revised2) {
    e.error = e.kvw_error;
    e.method = error_method::kwee_van_woerden;
  } else {
    e.error = std::sqrt(revised2);
    e.method = error_method::revised;
  }
  if (!(e.error > 0)) return timing_status::no_extremum;
  *result = e;
  return timing_status::ok;
}

// ---- maxima ----

// Where the fit's slope is 0 within [from, to]: the lowest of 64 even samples, then Newton's
// steps. False where the fit has no minimum of magnitude inside.
static bool brightest_of(const poly_fit_result& f, double from, double to, double* at) {
  double x = from;
  double low = poly_value(f, from);
  for (int k = 1; k <= 64; ++k) {
    const double xk = from + (to - from) * k / 64;
    const double v = poly_value(f, xk);
    if (v < low) {
      low = v;
      x = xk;
    }
  }
  for (int k = 0; k < 30; ++k) {
    const double c = poly_curvature(f, x);
    if (!(c > 0)) return false;
    const double step = poly_slope(f, x) / c;
    x -= step;
    if (!(x > from && x < to)) return false;
    if (std::fabs(step) <= 1e-13 * (to - from)) break;
  }
  if (!(poly_curvature(f, x) > 0)) return false;
  *at = x;
  return true;
}

// A fit of the top of a maximum over one window.
struct window_fit {
  double time;
  double variance;  ///< of the time, days^2
  int points;
  int degree;
};

// The time where fit `f` of observations a to b is brightest, and its variance from the
// covariance of the coefficients, each observation's scatter the larger of the residuals' and
// the run's noise. False where the fit does not turn within them, where it knows its bending to
// less than a third of itself (the delta method's error would be unsound), or where it does not
// fade clearly towards both ends.
static bool time_of_fit(const run& r, int a, int b, const poly_fit_result& f, double variance,
                        window_fit* out) {
  const int count = b - a + 1;
  double x;
  if (!brightest_of(f, r.time[a], r.time[b], &x)) return false;
  const double scatter = f.chi2 / (count - f.degree - 1);
  const double point = scatter > variance ? scatter : variance;
  // The root moves by -(dp'/dc) / p'' for a change of the coefficients c, and p'' by h.
  const double u = x - f.origin;
  const double curvature = poly_curvature(f, x);
  double g[degree_max + 1] = {};
  double h[degree_max + 1] = {};
  double power = 1;
  for (int k = 1; k <= f.degree; ++k) {
    g[k] = -k * power / curvature;
    power *= u;
  }
  power = 1;
  for (int k = 2; k <= f.degree; ++k) {
    h[k] = k * (k - 1) * power;
    power *= u;
  }
  double v = 0;
  double vc = 0;
  for (int i = 0; i <= f.degree; ++i)
    for (int j = 0; j <= f.degree; ++j) {
      v += g[i] * f.covariance[i][j] * g[j];
      vc += h[i] * f.covariance[i][j] * h[j];
    }
  if (!(curvature * curvature > 9 * vc * point)) return false;
  // The fit must fade by more than five standard errors from its brightest to either end of
  // the window, or the turn may be the noise's.
  const double ends[] = {r.time[a], r.time[b]};
  for (const double end : ends) {
    double d[degree_max + 1];
    double pe = 1;
    double px = 1;
    for (int k = 0; k <= f.degree; ++k) {
      d[k] = pe - px;
      pe *= end - f.origin;
      px *= u;
    }
    double vd = 0;
    for (int i = 0; i <= f.degree; ++i)
      for (int j = 0; j <= f.degree; ++j) vd += d[i] * f.covariance[i][j] * d[j];
    const double fade = poly_value(f, end) - poly_value(f, x);
    if (!(fade > 0 && fade * fade > 16 * vd * point)) return false;
  }
  *out = {x, v * point, count, f.degree};
  return true;
}

// Fits observations a to b about `centre`: of degree 4 with 20 observations or more, 3 with 12 or
// more, else 2; or of a lower degree where that one's time is unsound.
static bool fit_window(const run& r, int a, int b, double centre, double variance,
                       window_fit* out) {
  const int n = b - a + 1;
  for (int d = n >= 20 ? 4 : n >= 12 ? 3 : 2; d >= 2; --d) {
    poly_fit_result f;
    if (poly_fit(r.time + a, r.mag + a, nullptr, n, d, centre, &f) != fit_status::ok) continue;
    if (!time_of_fit(r, a, b, f, variance, out)) continue;
    // How far one degree less moves the time: what the shape of the curve, more than the noise,
    // may do to it.
    poly_fit_result lower;
    double x;
    if (d > 2 &&
        poly_fit(r.time + a, r.mag + a, nullptr, n, d - 1, centre, &lower) == fit_status::ok &&
        brightest_of(lower, r.time[a], r.time[b], &x))
      out->variance += (x - out->time) * (x - out->time) / 4;
    return true;
  }
  return false;
}

timing_status time_maximum(const run& r, double resolution, extremum* result) {
  const int n = used(r);
  if (n < 2 * branch_min + 1) return timing_status::too_few_points;
  if (!valid(r)) return timing_status::bad_input;
  const int half = smoothing_half(n);
  const int brightest = extreme_index(r, n, half, 0, n - 1, -1);
  if (at_edge(brightest, n)) return timing_status::extremum_at_edge;
  const int faintest = extreme_index(r, n, half, 0, n - 1, 1);
  const double peak = smoothed(r, n, half, brightest);
  const double range = smoothed(r, n, half, faintest) - peak;
  // The narrowest of the windows where the running mean stays within a tenth, 0.15, a fifth,
  // 0.3 and a half of the run's range of its brightest that holds branch_min observations either
  // side and gives a sound time: the narrower, the less an asymmetric curve moves the time.
  constexpr double fractions[] = {0.1, 0.15, 0.2, 0.3, 0.5};
  timing_status why = timing_status::branch_too_short;
  for (const double fraction : fractions) {
    const double fade = peak + range * fraction;
    int first = brightest;
    while (first > 0 && smoothed(r, n, half, first - 1) <= fade) --first;
    int last = brightest;
    while (last < n - 1 && smoothed(r, n, half, last + 1) <= fade) ++last;
    if (brightest - first < branch_min || last - brightest < branch_min) continue;
    const double variance = point_variance(noise_of(r.time, r.mag, first, last), resolution);
    window_fit w;
    if (!fit_window(r, first, last, r.time[brightest], variance, &w)) {
      why = timing_status::no_extremum;
      continue;
    }
    const int left = first_at(r.time, n, w.time) - first;
    if (left < branch_min || w.points - left < branch_min) continue;
    extremum e;
    e.time = w.time;
    e.error = std::sqrt(w.variance);
    e.points = w.points;
    e.method = error_method::polynomial;
    e.kvw_error = 0;
    e.noise = std::sqrt(variance);
    if (!(e.error > 0)) continue;
    *result = e;
    return timing_status::ok;
  }
  return why;
}

}  // namespace timing
