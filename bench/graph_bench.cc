// Micro-benchmark of one graph pass: draw_graph and write_rows at 79 x 79, 5000 observations.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "plotcore/graph.h"

namespace {

void draw_and_write_79x79(benchmark::State& state) {
  static plotcore::obs_table table;
  static plotcore::canvas drawing;
  table.count = 0;
  unsigned seed = 777;
  for (int i = 0; i < plotcore::max_obs; ++i) {
    seed = seed * 1103515245u + 12345u;
    const float phase = static_cast<float>((seed >> 8) % 10000) / 1000.0f;
    const float mag = 10.5f + static_cast<float>((seed >> 20) % 250) / 100.0f;
    plotcore::add_obs(table, phase, mag);
  }
  plotcore::graph_range range = plotcore::find_range(table);
  range.x_max = 10;
  range.x_min = 0;
  // 80 rows of 80 characters, rewritten in place on every pass.
  static char rows[80 * 81];
  std::FILE* out = fmemopen(rows, sizeof rows, "w");
  for (auto _ : state) {
    std::rewind(out);
    plotcore::draw_graph(drawing, table, range, 79, 79, plotcore::x_kind::phase);
    if (!plotcore::write_rows(drawing, 79, 79, out)) state.SkipWithError("write_rows failed");
    std::fflush(out);
    benchmark::DoNotOptimize(rows);
  }
  std::fclose(out);
  state.SetItemsProcessed(state.iterations() * plotcore::max_obs);
}
BENCHMARK(draw_and_write_79x79);

}  // namespace
