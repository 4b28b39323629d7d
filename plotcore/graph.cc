// The character graph: observation table, range, canvas, drawing and writing of rows.
#include "graph.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "num.h"

namespace plotcore {

bool add_obs(obs_table& t, float x, float mag) {
  if (t.count < 0 || t.count >= t.limit || t.count >= max_obs) return false;
  t.x[t.count] = x;
  t.mag[t.count] = mag;
  ++t.count;
  return true;
}

// ---- range ----

// Truncation toward zero, held inside int.
static int trunc_to_int(double v) {
  if (v >= 2147483648.0) return INT_MAX;
  if (v <= -2147483649.0) return INT_MIN;
  return static_cast<int>(v);
}

graph_range find_range(const obs_table& t) {
  float x_high = -99.0f, x_low = 99.0f, y_high = -99.0f, y_low = 99.0f;
  for (int i = 0; i < t.count && i < max_obs; ++i) {
    if (t.x[i] > x_high) x_high = t.x[i];
    if (t.x[i] < x_low) x_low = t.x[i];
    if (t.mag[i] > y_high) y_high = t.mag[i];
    if (t.mag[i] < y_low) y_low = t.mag[i];
  }
  // high + 1 in double: a magnitude of 15.9999999 must give 16, not a rounded-up 17.
  graph_range r;
  r.y_max = trunc_to_int(static_cast<double>(y_high) + 1.0);
  r.y_min = trunc_to_int(static_cast<double>(y_low));
  r.x_max = trunc_to_int(static_cast<double>(x_high) + 1.0);
  r.x_min = trunc_to_int(static_cast<double>(x_low));
  return r;
}

void print_range_line(std::FILE* out, const graph_range& r) {
  std::fprintf(out, "\nY max=%d min=%d / X max=%d min=%d\n\n", r.y_max, r.y_min, r.x_max, r.x_min);
}

// ---- drawing ----

static void put(canvas& c, long long col, long long row, char ch) {
  if (col < 0 || col >= canvas_size || row < 0 || row >= canvas_size) return;
  c.cell[row][col] = ch;
}

// Cells per whole unit; 0 when the bounds give no width (or run backwards, as for an empty table,
// where the division stays as it is).
static int step_of(int len, int first, long long width) {
  if (width == 0) return 0;
  const long long q = (static_cast<long long>(len) - first) / width;
  if (q > INT_MAX) return INT_MAX;
  if (q < INT_MIN) return INT_MIN;
  return static_cast<int>(q);
}

// The labels k = 0 .. last (k counted from the first label) that can change the canvas; none when
// last is negative (bounds that run backwards). With a step of 0 every label lands in the same
// cells and only the last one written shows; otherwise a label more than a canvas away from the
// first lies outside it.
static long long first_visible(long long last, int step) {
  return step == 0 && last > 0 ? last : 0;
}
static long long last_visible(long long last, int step) {
  return step == 0 || last <= canvas_size ? last : canvas_size;
}

// Canvas index of value v, truncated toward zero, or -1 when it falls outside the canvas.
static int cell_of(double v) {
  if (!(v > -1.0 && v < canvas_size)) return -1;
  return static_cast<int>(v);
}

void draw_graph(canvas& c, const obs_table& t, const graph_range& r, int mag_len, int x_len,
                x_kind kind) {
  std::memset(c.cell, ' ', sizeof c.cell);

  const long long y_width = static_cast<long long>(r.y_max) - r.y_min;
  const long long x_width = static_cast<long long>(r.x_max) - r.x_min;
  const int y_step = step_of(mag_len, 2, y_width);
  const int x_step = step_of(x_len, 4, x_width);

  for (int row = 2; row <= mag_len && row < canvas_size; ++row) put(c, 3, row, '|');
  for (int col = 4; col <= x_len && col < canvas_size; ++col) put(c, col, 1, '-');

  // Magnitude labels, Y max at row 2 and each fainter whole magnitude y_step rows higher.
  for (long long k = first_visible(y_width, y_step); k <= last_visible(y_width, y_step); ++k) {
    const int b = static_cast<int>(r.y_max - k);
    const long long row = k * y_step + 2;
    put(c, 0, row, t2(b));
    put(c, 1, row, t1(b));
    put(c, 3, row, '+');
  }

  // Half-step ticks between magnitude labels, once labels are four or more rows apart.
  if ((y_step >> 2) != 0) {
    for (long long k = 0; k <= last_visible(y_width - 1, y_step); ++k)
      put(c, 3, k * y_step + y_step / 2 + 2, '+');
  }

  // X ticks and labels; the tick stands where an observation with X = b lands.
  for (long long k = first_visible(x_width, x_step); k <= last_visible(x_width, x_step); ++k) {
    const int b = static_cast<int>(r.x_min + k);
    const long long col = k * x_step + 3;
    put(c, col + 1, 1, '+');
    put(c, col, 0, t2(b));
    if (kind == x_kind::hour) {
      put(c, col + 1, 0, t1(b));
    } else {
      put(c, col + 1, 0, '.');
      put(c, col + 2, 0, t1(b));
    }
  }

  // Marks, in double on the stored values; 4.5 and 2.5 put whole values on their tick and label.
  for (int i = 0; i < t.count && i < max_obs; ++i) {
    const int col = cell_of((static_cast<double>(t.x[i]) - r.x_min) * x_step + 4.5);
    const int row = cell_of((r.y_max - static_cast<double>(t.mag[i])) * y_step + 2.5);
    if (col >= 0 && row >= 0) c.cell[row][col] = '*';
  }
}

// ---- writing ----

bool write_rows(const canvas& c, int mag_len, int x_len, std::FILE* out) {
  const int top = mag_len < canvas_size ? mag_len : canvas_size - 1;
  const int width = x_len < canvas_size ? x_len + 1 : canvas_size;
  char line[canvas_size + 1];
  bool ok = true;
  for (int row = top; row >= 0; --row) {
    int n = 0;
    for (int col = 0; col < width; ++col) line[n++] = c.cell[row][col];
    line[n++] = '\n';
    if (std::fwrite(line, 1, static_cast<size_t>(n), out) != static_cast<size_t>(n)) ok = false;
  }
  return ok && !std::ferror(out);
}

}  // namespace plotcore
