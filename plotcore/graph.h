// The character graph: observation table, range, canvas, drawing and writing of rows.
#pragma once

#include <cstdio>

namespace plotcore {

/// Room of the largest table any program keeps; each program sets its own `limit` below it.
constexpr int max_obs = 5000;

/// Columns and rows of the canvas; the axis answers run from 0 to canvas_size - 1.
constexpr int canvas_size = 80;

/// Observations of one data file in the order read: X and magnitude, single precision.
struct obs_table {
  int count = 0;
  int limit = max_obs;  ///< how many observations this program keeps (at most max_obs)
  float x[max_obs];
  float mag[max_obs];
};

/// Whole-number bounds of a graph.
struct graph_range {
  int y_max;
  int y_min;
  int x_max;
  int x_min;
};

/// 80 x 80 cells; cell[row][col], row 0 is the bottom edge, column 0 the left edge.
struct canvas {
  char cell[canvas_size][canvas_size];
};

/// Style of the X labels: two digits ("20") or digit, ".", digit ("0.5").
enum class x_kind { hour, phase };

/// Adds one observation; returns false, changing nothing, when the table is at its limit.
bool add_obs(obs_table& t, float x, float mag);

/// Bounds of all observations. Empty table: Y max -98, Y min 99, X max -98, X min 99.
/// A bound beyond the range of int is held at INT_MAX or INT_MIN.
graph_range find_range(const obs_table& t);

/// Prints "\nY max=%d min=%d / X max=%d min=%d\n\n".
void print_range_line(std::FILE* out, const graph_range& r);

/// Clears `c` and draws axes, labels, ticks and marks for the top row `mag_len` and the last
/// column `x_len`. Any cell that would fall outside the canvas is skipped; a zero-width range
/// gives a step of 0. Costs O(observations + 80 x 80) whatever the values.
void draw_graph(canvas& c, const obs_table& t, const graph_range& r, int mag_len, int x_len,
                x_kind kind);

/// Writes rows `mag_len` down to 0, columns 0 to `x_len`, each ended by "\n". Answers beyond
/// the canvas are held to its last row and column. Returns false if the stream reported an error.
bool write_rows(const canvas& c, int mag_len, int x_len, std::FILE* out);

}  // namespace plotcore
