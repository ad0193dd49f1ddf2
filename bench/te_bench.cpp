// Speed of the scenery text interpreter: "ostrand -te" as a separate process
// on a generated text of 100 000 lines over 20 airports, with an airport
// database of 30 000 airports; the interpreter alone in-process; and the
// nearest-airport lookup; and one airport's text at two lengths, which
// shows whether the time grows with the lines alone. Each run starts
// without airport files.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
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
};

Workspace& TheWorkspace() {
  static Workspace workspace;
  return workspace;
}

void BM_TextProcess(benchmark::State& state) {
  TheWorkspace();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all("DATA");
    state.ResumeTiming();
    ostrand::bench::RunProgram({"-tebench.txt"});
  }
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator("DATA")) files += entry.is_regular_file();
  state.counters["files"] = files;
  std::filesystem::remove_all("DATA");
  state.counters["peak_kb"] = static_cast<double>(ostrand::bench::PeakKilobytes({"-tebench.txt"}));
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(kTextLines) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TextProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// One airport's text of state.range(0) lines: doubling the lines should at
// most double the time.
void BM_TextOneAirport(benchmark::State& state) {
  TheWorkspace();
  const std::string name = "one" + std::to_string(state.range(0)) + ".txt";
  ostrand::bench::WriteSceneryText(name.c_str(), static_cast<int>(state.range(0)), 1);
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all("DATA");
    state.ResumeTiming();
    ostrand::bench::RunProgram({"-te" + name});
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.range(0)) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TextOneAirport)->Arg(kTextLines / kTextAirports / 2)->Arg(kTextLines / kTextAirports)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

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
