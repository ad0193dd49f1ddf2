// The printf floor: the listing of the largest network (12000 vertices,
// 6000 edges) printed by bare C, as a program of its own and as snprintf
// into memory. The surface generation benchmarks report their times as
// multiples of both.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "bench/printf_floor.h"

namespace {

void BM_PrintfFloor(benchmark::State& state) {
  ostrand::bench::BenchFolder folder;
  ostrand::bench::PrintfFloor floor;
  size_t bytes = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bytes = floor.Print());
  state.counters["listing_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PrintfFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrintfFloorProgram(benchmark::State& state) {
  ostrand::bench::BenchFolder folder;
  ostrand::bench::PrintfFloor floor;
  size_t bytes = 0;
  for (auto _ : state) benchmark::DoNotOptimize(bytes = ostrand::bench::RunProgram({"FLOOR.BGR"}, PRINTF_FLOOR_EXE));
  state.counters["listing_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PrintfFloorProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
