// Speed of the scenery text interpreter: "ostrand -te" as a separate process
// on a generated text of 100 000 lines over 20 airports, with an airport
// database of 30 000 airports; the interpreter alone in-process; and the
// nearest-airport lookup; and one airport's text at two lengths, which
// shows whether the time grows with the lines alone. Each run starts
// without airport files. The whole run is also given as a multiple of the
// printf floor (printf_floor.h).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/printf_floor.h"
#include "bench/scenery_text_generator.h"
#include "ostrand/frame/options.h"
#include "ostrand/text/airport_database.h"
#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/text_interpreter.h"


namespace {

using ostrand::bench::DatabaseAirport;

constexpr int kDatabaseAirports = 30000;
constexpr int kTextAirports = 20;
constexpr int kTextLines = 100000;

class Workspace : public ostrand::bench::BenchFolder {
 public:
  Workspace() {
    std::filesystem::create_directories("DATABASE");
    ostrand::bench::WriteAirportDatabase(kDatabaseAirports);
    ostrand::bench::WriteSceneryText("bench.txt", kTextLines, kTextAirports);
  }
  ostrand::bench::PrintfFloor floor;
};

Workspace& TheWorkspace() {
  static Workspace workspace;
  return workspace;
}

void BM_TextProcess(benchmark::State& state) {
  Workspace& work = TheWorkspace();
  work.floor.TimeAgainstFloor(
      state, [] { std::filesystem::remove_all("DATA"); },
      [] { ostrand::bench::RunProgram({"-tebench.txt"}); });
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator("DATA")) files += entry.is_regular_file();
  state.counters["files"] = files;
  std::filesystem::remove_all("DATA");
  state.counters["peak_kb"] = static_cast<double>(ostrand::bench::PeakKilobytes({"-tebench.txt"}));
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(kTextLines) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TextProcess)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// One airport's text of state.range(0) lines, timed (manual time) against
// the same airport's text of half as many lines run right before it:
// "x_double", the median over the median of the half, stays at most 2 when
// the time grows no faster than the lines (at 40 000 lines, too, where the
// program's start-up no longer hides it).
void BM_TextOneAirport(benchmark::State& state) {
  using ostrand::bench::Median;
  using ostrand::bench::SecondsOf;
  TheWorkspace();
  const int lines = static_cast<int>(state.range(0));
  const std::string half = "half" + std::to_string(lines) + ".txt";
  const std::string whole = "whole" + std::to_string(lines) + ".txt";
  ostrand::bench::WriteSceneryText(half.c_str(), lines / 2, 1);
  ostrand::bench::WriteSceneryText(whole.c_str(), lines, 1);
  std::vector<double> halves, wholes;
  for (auto _ : state) {
    std::filesystem::remove_all("DATA");
    halves.push_back(SecondsOf([&] { ostrand::bench::RunProgram({"-te" + half}); }));
    std::filesystem::remove_all("DATA");
    wholes.push_back(SecondsOf([&] { ostrand::bench::RunProgram({"-te" + whole}); }));
    state.SetIterationTime(wholes.back());
  }
  if (!wholes.empty()) state.counters["x_double"] = Median(wholes) / Median(halves);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TextOneAirport)
    ->Arg(kTextLines / kTextAirports)->Arg(2 * kTextLines / kTextAirports)->Arg(8 * kTextLines / kTextAirports)
    ->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

void BM_InterpretTextInProcess(benchmark::State& state) {
  TheWorkspace();
  ostrand::ResetOptions();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all("DATA");
    ostrand::ResetAirportDatabase();  // loaded again in every run, as in a process
    state.ResumeTiming();
    if (ostrand::InterpretText("bench.txt") != 1) state.SkipWithError("InterpretText failed");
  }
}
BENCHMARK(BM_InterpretTextInProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_FindAirport(benchmark::State& state) {
  TheWorkspace();
  ostrand::ResetAirportDatabase();
  int found = 0;
  int i = 0;
  for (auto _ : state) {
    const ostrand::AirportEntry a = DatabaseAirport(i++ % kDatabaseAirports);
    double lat = a.latitude + 50;
    double lon = a.longitude + 1296000 - 50;
    std::string code;
    found += ostrand::FindAirport(lat, lon, code);
  }
  if (found != static_cast<int>(state.iterations())) state.SkipWithError("airport not found");
}
BENCHMARK(BM_FindAirport)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
