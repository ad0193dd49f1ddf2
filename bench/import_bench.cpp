// Import speed: the whole chain a user runs on an airport of their own
// (airportimport, airportdb, "ostrand -te", "ostrand -tm", each a process)
// over the ground networks of the shared real data, one benchmark per
// airport; and the reading and writing alone, in-process. Skipped when the
// data is absent.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "tools/airportimport/groundnet_reader.h"
#include "tools/airportimport/import_chain.h"
#include "tools/airportimport/network_check.h"
#include "tools/airportimport/scenery_writer.h"

namespace {

namespace fs = std::filesystem;
const std::string kReal = OSTRAND_SHARED_DIR "/realdata";

void BM_ImportChain(benchmark::State& state, const std::string& path, const std::string& code) {
  const airportimport::ChainPrograms programs{AIRPORTIMPORT_EXE, AIRPORTDB_EXE,
                                              fs::path(OSTRAND_EXE).parent_path().string()};
  const std::string folder = (fs::temp_directory_path() / ("airportimport_bench_" + code)).string();
  const std::string runways = kReal + "/runways/runways_subset.csv";
  for (auto _ : state) {
    const airportimport::ChainResult r = airportimport::RunChain(programs, folder, {path, "--runways", runways}, code, false);
    if (!r.failure.empty()) state.SkipWithError(r.failure.c_str());
  }
}

void BM_ReadWriteCheck(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    const airportimport::Airport a = airportimport::ReadGroundnet(path, {});
    benchmark::DoNotOptimize(airportimport::SceneryText(a));
    benchmark::DoNotOptimize(airportimport::CheckAirport(a));
  }
}

const bool registered = [] {
  const fs::path dir = kReal + "/groundnet";
  if (!fs::is_directory(dir)) return false;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string code = entry.path().filename().string().substr(0, 4);
    benchmark::RegisterBenchmark(("BM_ImportChain/" + code).c_str(), BM_ImportChain, entry.path().string(), code)
        ->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark(("BM_ReadWriteCheck/" + code).c_str(), BM_ReadWriteCheck, entry.path().string())
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
