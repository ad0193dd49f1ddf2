// Speed of the surface generation, "ostrand -tm", run as the program:
// on the largest network (12000 vertices, 6000 edges) with 100 apron
// polygons and 500 light strings, and on every real airport of the shared
// groundnet data, converted to network files. Each iteration restores the
// input network first, because the generation saves over it. Times are also
// given as multiples of the printf floor (printf_floor.h).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "bench/groundnet_converter.h"
#include "bench/network_generator.h"
#include "bench/bench_support.h"
#include "bench/printf_floor.h"

namespace {

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A temporary working folder with the inputs.
class Workspace : public ostrand::bench::BenchFolder {
 public:
  Workspace() {
    if (!ostrand::bench::WriteGridNetwork("LARGEST.BGR")) std::abort();
    WriteAll("LARGEST.PLY", ostrand::bench::LargestPolygonText());
    inputs["LARGEST.BGR"] = ReadAll("LARGEST.BGR");
    const std::filesystem::path groundnets =
        std::filesystem::path(OSTRAND_SHARED_DIR) / "realdata" / "groundnet";
    std::error_code ec;
    std::vector<std::filesystem::path> files;  // by name, so that each airport keeps its number
    for (const auto& entry : std::filesystem::directory_iterator(groundnets, ec)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& path : files) {
      const std::string file = path.filename().string();
      const std::string icao = file.substr(0, file.find('.'));
      const std::string bgr = icao + ".BGR";
      if (ostrand::bench::ConvertGroundnet(path.string(), bgr).vertices > 0) {
        inputs[bgr] = ReadAll(bgr);
        airports.push_back(icao);
      }
    }
  }
  std::map<std::string, std::string> inputs;
  std::vector<std::string> airports;
  ostrand::bench::PrintfFloor floor;
};

Workspace& Work() {
  static Workspace workspace;
  return workspace;
}

// Each run is timed on its own, against a run of the printf floor program
// right after it (printf_floor.h); "peak_kb" is the program's peak memory.
void RunGeneration(benchmark::State& state, const std::string& bgr) {
  Workspace& work = Work();
  work.floor.TimeAgainstFloor(
      state, [&] { WriteAll(bgr, work.inputs[bgr]); },
      [&] { benchmark::DoNotOptimize(ostrand::bench::RunProgram({"-tm", bgr})); });
  WriteAll(bgr, work.inputs[bgr]);
  state.counters["peak_kb"] = static_cast<double>(ostrand::bench::PeakKilobytes({"-tm", bgr}));
  state.counters["tms_bytes"] = static_cast<double>(
      std::filesystem::file_size(bgr.substr(0, bgr.size() - 3) + "TMS"));
}

void BM_TmLargestNetwork(benchmark::State& state) { RunGeneration(state, "LARGEST.BGR"); }
BENCHMARK(BM_TmLargestNetwork)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_TmRealAirport(benchmark::State& state) {
  const auto& airports = Work().airports;
  const size_t i = static_cast<size_t>(state.range(0));
  if (i >= airports.size()) {
    state.SkipWithError("no such airport in the shared data");
    return;
  }
  state.SetLabel(airports[i]);
  RunGeneration(state, airports[i] + ".BGR");
}
BENCHMARK(BM_TmRealAirport)->DenseRange(0, 11)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
