// Micro-benchmarks of the conversions of fields to values (num, the two time layouts) and of
// values to the text of the echo line (put_fixed).
#include <benchmark/benchmark.h>

#include "magtime/time_field.h"
#include "plotcore/fixed_text.h"
#include "plotcore/num.h"

namespace {

// Fields as the data files hold them: magnitudes with and without their point, phases, and a
// VSNET day after its whole days were overwritten.
constexpr const char* typical_fields[] = {"12.34", "118", "0.4375", "00000000.5123", "9.8V", "13"};
constexpr int typical_count = sizeof typical_fields / sizeof typical_fields[0];

void num_typical_field(benchmark::State& state) {
  const char* field = typical_fields[state.range(0)];
  for (auto _ : state) {
    benchmark::DoNotOptimize(field);
    benchmark::DoNotOptimize(plotcore::num(field));
  }
  state.SetLabel(field);
}
BENCHMARK(num_typical_field)->DenseRange(0, typical_count - 1);

// The hour of one time field, by either layout's decoder.
void hour_of(benchmark::State& state, float (*decode)(const char*), const char* field) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(field);
    benchmark::DoNotOptimize(decode(field));
  }
}
BENCHMARK_CAPTURE(hour_of, vsnet, magtime::vsnet_hour, "20121118.51234");
BENCHMARK_CAPTURE(hour_of, vsolj, magtime::vsolj_hour, "201211182215");

// One echo line's two numbers: an hour as "%5.2f" and a magnitude as "%7.3f".
void put_fixed_echo_pair(benchmark::State& state) {
  char text[2 * plotcore::fixed_text_max];
  float hour = 20.5f, mag = 11.8f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(hour);
    benchmark::DoNotOptimize(mag);
    const int n = plotcore::put_fixed(text, hour, 5, 2);
    benchmark::DoNotOptimize(plotcore::put_fixed(text + n, mag, 7, 3));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(put_fixed_echo_pair);

}  // namespace
