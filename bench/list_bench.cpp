// Listing speed: the whole program ("ostrand -ls" as a separate process, as
// the taxi-path editor runs it) and the listing alone in-process, on the
// largest network. Counters: bytes of listing text and their rate.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/network_generator.h"
#include "bench/bench_support.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/report.h"
#include "ostrand/ops/bgr_list.h"

namespace {

// A temporary folder holding the largest network, made the working
// directory so that the run log of every run lands there.
class Workspace : public ostrand::bench::BenchFolder {
 public:
  Workspace() {
    if (!ostrand::bench::WriteGridNetwork("largest.bgr")) std::abort();
  }
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

void BM_ListProcess(benchmark::State& state, std::vector<std::string> args) {
  Shared();
  size_t bytes = 0;
  for (auto _ : state) bytes = ostrand::bench::RunProgram(args);
  state.counters["listing_bytes"] = static_cast<double>(bytes);
  state.counters["listing_rate"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsIterationInvariantRate,
                         benchmark::Counter::kIs1024);
}
BENCHMARK_CAPTURE(BM_ListProcess, values, std::vector<std::string>{"-ls", "largest.bgr"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ListProcess, tags_only, std::vector<std::string>{"largest.bgr"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The listing alone, printing to a temporary file.
void BM_ListInProcess(benchmark::State& state) {
  Shared();
  ostrand::Options().printFlag = 1;
  ostrand::bench::MeasureConsoleText(state, [] { ostrand::BgrList("largest.bgr", -1, -1); });
}
BENCHMARK(BM_ListInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
