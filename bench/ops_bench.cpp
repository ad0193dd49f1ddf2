// Speed of the in-place network operations on the largest network (12000
// vertices, 6000 edges): purge, replace-edges, and merge of two 1000-vertex
// files. Each iteration restores the input file first (timed with it; the
// copy is a small part). The purge's grid search is set against the plain
// linear search of FindOrAddPoint on the same vertices.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/network_generator.h"
#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/report.h"
#include "ostrand/ops/bgr_merge.h"
#include "ostrand/ops/bgr_script.h"

namespace {

std::string ReadAll(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const char* name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A temporary folder, made the working directory, with the input networks.
class Workspace : public ostrand::bench::BenchFolder {
 public:
  Workspace() {
    if (!ostrand::bench::WriteGridNetwork("largest.bgr")) std::abort();
    if (!ostrand::bench::WriteGridNetwork("a1000.bgr", 1000, 1000)) std::abort();
    if (!ostrand::bench::WriteGridNetwork("b1000.bgr", 1000, 1000)) std::abort();
    largest = ReadAll("largest.bgr");
    merge1 = ReadAll("a1000.bgr");
    merge2 = ReadAll("b1000.bgr");
    ostrand::SetConsole(std::fopen("/dev/null", "w"));
  }

  std::string largest, merge1, merge2;
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

void BM_Purge(benchmark::State& state) {
  Workspace& w = Shared();
  for (auto _ : state) {
    WriteAll("work.bgr", w.largest);
    if (ostrand::BgrPurge("work.bgr") != 1) state.SkipWithError("purge failed");
  }
}
BENCHMARK(BM_Purge)->Unit(benchmark::kMillisecond);

// The plain search of FindOrAddPoint over the same references, both
// passes, in memory (no files).
void BM_PurgePlainSearch(benchmark::State& state) {
  Workspace& w = Shared();
  WriteAll("work.bgr", w.largest);
  ostrand::BgrFile in;
  if (!in.OpenRead("work.bgr")) std::abort();
  double lat, lon, elev, x, y, z;
  in.ReadOrigin(lat, lon, elev);
  std::vector<ostrand::DoublePoint> source;
  while (in.ReadNode(x, y, z)) source.push_back({x, y, z});
  std::vector<ostrand::BgrEdge> edges;
  ostrand::BgrEdge e;
  while (in.ReadEdge(e)) edges.push_back(e);
  std::vector<ostrand::DoublePoint> kept(ostrand::kMaxDoublePoints + 1);
  const int32_t n = static_cast<int32_t>(source.size());
  for (auto _ : state) {
    int32_t count = 1;
    kept[0] = {};
    int64_t sum = 0;
    for (int pass = 0; pass < 2; ++pass) {
      for (const auto& edge : edges) {
        sum += ostrand::FindOrAddPoint(edge.from, source.data(), n, kept.data(), count, 5.0,
                                       ostrand::kMaxDoublePoints + 1);
        sum += ostrand::FindOrAddPoint(edge.to, source.data(), n, kept.data(), count, 5.0,
                                       ostrand::kMaxDoublePoints + 1);
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PurgePlainSearch)->Unit(benchmark::kMillisecond);

void BM_ReplaceEdges(benchmark::State& state) {
  Workspace& w = Shared();
  // Vertex 0 to the last vertex of the first row (110 columns).
  for (auto _ : state) {
    WriteAll("work.bgr", w.largest);
    if (ostrand::BgrReplaceEdges("work.bgr", 0, 109, 10) != 1) state.SkipWithError("replace failed");
  }
}
BENCHMARK(BM_ReplaceEdges)->Unit(benchmark::kMillisecond);

void BM_Merge(benchmark::State& state) {
  Workspace& w = Shared();
  WriteAll("a.bgr", w.merge1);
  for (auto _ : state) {
    WriteAll("b.bgr", w.merge2);
    if (ostrand::BgrMerge("a.bgr", "b.bgr") != 1) state.SkipWithError("merge failed");
  }
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
