// Surface speed: triangulation of concave polygons of 16, 64 and 255
// corners (ear clipping), and the listing of a full TMS file (64 tiles whose
// pavement layers hold 2000 points each) as the taxi-path editor runs it,
// "ostrand -ls" as a separate process, and the dump alone in-process.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_support.h"
#include "ostrand/frame/report.h"
#include "ostrand/surface/surface_dump.h"
#include "ostrand/surface/surface_file.h"
#include "ostrand/surface/texture.h"

namespace {

// A star-shaped concave polygon of n corners (radius alternating between
// 1000 and 600 feet), counter-clockwise seen from above, vertex i = point i.
void MakeStar(int32_t n, ostrand::TEXPOINTS& table, ostrand::TEXTURE& polygon) {
  table.SetSize(n);
  polygon.header.normal[1] = 32767;
  polygon.vertexCount() = n;
  for (int32_t i = 0; i < n; ++i) {
    double angle = 2.0 * 3.14159265358979323846 * i / n;
    double r = (i % 2 == 0 ? 1000.0 : 600.0) * 256.0;
    polygon.vertices[static_cast<size_t>(i)].point =
        table.Add(static_cast<int32_t>(r * std::cos(angle)), 0, static_cast<int32_t>(r * std::sin(angle)), -1);
  }
}

void BM_TriangulateConcave(benchmark::State& state) {
  const int32_t n = static_cast<int32_t>(state.range(0));
  ostrand::TEXPOINTS table;
  ostrand::TEXTURE polygon;
  MakeStar(n, table, polygon);
  int32_t triangles = 0;
  for (auto _ : state) {
    triangles = 0;
    while (polygon.Triangulate(table, triangles, 0) != nullptr) ++triangles;
    benchmark::DoNotOptimize(triangles);
  }
  if (triangles != n - 2) state.SkipWithError("triangulation failed");
  state.counters["triangles"] = triangles;
}
BENCHMARK(BM_TriangulateConcave)->Arg(16)->Arg(64)->Arg(255)->Unit(benchmark::kMicrosecond);

// A temporary working folder holding the benchmark's TMS file.
class Workspace : public ostrand::bench::BenchFolder {
 public:
  Workspace() { WriteFullSurface("full.tms"); }

 private:
  // 8 x 8 tiles of 1000 feet; per tile a pavement table of 2000 points (a
  // 40 x 50 lattice) covered by 500 quads, and an empty edge marking,
  // centre marking and light section, as the generation writes them.
  static void WriteFullSurface(const char* name) {
    ostrand::SurfaceFile f;
    if (!f.Create(name)) std::abort();
    f.WriteOrigin(184827.0, 3600.0, 0.0);
    f.lowLeft[0] = -4000.0;
    f.lowLeft[2] = -4000.0;
    f.WriteGrid();
    for (int32_t tx = 0; tx < 8; ++tx) {
      for (int32_t tz = 0; tz < 8; ++tz) {
        f.tileX = tx;
        f.tileZ = tz;
        f.WriteTile();
        f.points.count = 0;
        const int32_t x0 = (tx * 1000 - 4000) * 256;
        const int32_t z0 = (tz * 1000 - 4000) * 256;
        for (int32_t i = 0; i < 40; ++i)
          for (int32_t j = 0; j < 50; ++j) f.points.Add(x0 + i * 25 * 256, 0, z0 + j * 20 * 256, -1);
        f.polygon.vertexCount() = 4;
        for (int32_t q = 0; q < 500; ++q) {
          const int32_t base = q * 4;
          for (int32_t k = 0; k < 4; ++k) f.polygon.vertices[static_cast<size_t>(k)].point = base + k;
          f.WritePave();
        }
        f.polygon.vertexCount() = 0;
        f.points.count = 0;
        f.WriteEdgeMark();
        f.WriteCentre();
        f.WriteLights();
        f.WriteTileEnd();
      }
    }
    f.Close();
  }
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

void BM_ListSurfaceProcess(benchmark::State& state) {
  Shared();
  size_t bytes = 0;
  for (auto _ : state) bytes = ostrand::bench::RunProgram({"-ls", "full.tms"});
  state.counters["listing_bytes"] = static_cast<double>(bytes);
  state.counters["listing_rate"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsIterationInvariantRate,
                         benchmark::Counter::kIs1024);
}
BENCHMARK(BM_ListSurfaceProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DumpSurfaceInProcess(benchmark::State& state) {
  Shared();
  ostrand::bench::MeasureConsoleText(state, [] { ostrand::DumpSurfaceFile("full.tms"); });
}
BENCHMARK(BM_DumpSurfaceInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
