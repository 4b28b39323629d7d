// Micro-benchmarks of reading a 5000-record phase file: the word reader alone, and a whole
// magphase session.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "magphase/magphase.h"
#include "plotcore/graph.h"
#include "plotcore/num.h"
#include "plotcore/words.h"

namespace {

constexpr int records = 5000;

// A phase file of `records` lines such as "0.4375 11.62", the same every run.
struct phase_file {
  char text[records * 16];
  size_t size;
};

const phase_file& sample_file() {
  static phase_file file = [] {
    phase_file f{};
    unsigned seed = 12345;
    for (int i = 0; i < records; ++i) {
      seed = seed * 1103515245u + 12345u;
      const unsigned phase = (seed >> 8) % 10000;
      const unsigned mag = 1050 + (seed >> 20) % 250;
      f.size += static_cast<size_t>(std::snprintf(f.text + f.size, sizeof f.text - f.size,
                                                  "0.%04u %u.%02u\n", phase, mag / 100, mag % 100));
    }
    return f;
  }();
  return file;
}

// Words through the data file's reader, decoded and stored as magphase does.
void read_phase_records(benchmark::State& state) {
  const phase_file& file = sample_file();
  static plotcore::byte_source source;
  static plotcore::obs_table table;
  plotcore::word_buf phase, mag;
  for (auto _ : state) {
    std::FILE* f = fmemopen(const_cast<char*>(file.text), file.size, "r");
    plotcore::open_source(source, f, false);
    table.count = 0;
    while (plotcore::read_word(source, phase) != plotcore::word_status::end &&
           plotcore::read_word(source, mag) != plotcore::word_status::end) {
      plotcore::add_obs(table, plotcore::num(phase) * 10.0f, plotcore::magnitude_of(mag));
    }
    std::fclose(f);
    if (table.count != records) state.SkipWithError("not every record was read");
    benchmark::DoNotOptimize(table);
  }
  state.SetItemsProcessed(state.iterations() * records);
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(file.size));
}
BENCHMARK(read_phase_records);

// The whole dialogue on that file: echo of every record, range line, one 79 x 79 graph.
void magphase_session(benchmark::State& state) {
  const phase_file& file = sample_file();
  char name[] = "/tmp/magphase-benchXXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0 || write(fd, file.text, file.size) != static_cast<ssize_t>(file.size)) {
    state.SkipWithError("cannot write the data file");
    return;
  }
  close(fd);
  char answers[64];
  const int answers_len = std::snprintf(answers, sizeof answers, "%s\n79\n79\n0\n0\n0\n", name);
  std::FILE* out = std::fopen("/dev/null", "w");
  for (auto _ : state) {
    std::FILE* in = fmemopen(answers, static_cast<size_t>(answers_len), "r");
    const int status = magphase::magphase_run(in, out);
    std::fclose(in);
    if (status != 0) state.SkipWithError("the session did not end with status 0");
  }
  std::fclose(out);
  std::remove(name);
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(magphase_session);

}  // namespace
