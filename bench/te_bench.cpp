// Speed of the scenery text interpreter: "ostrand -te" as a separate process
// on a generated text of 100 000 lines over 20 airports, with an airport
// database of 30 000 airports; the interpreter alone in-process; and the
// nearest-airport lookup. Each run starts without airport files.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "ostrand/frame/options.h"
#include "ostrand/text/airport_database.h"
#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/text_interpreter.h"


namespace {

constexpr int kDatabaseAirports = 30000;
constexpr int kTextAirports = 20;
constexpr int kTextLines = 100000;

// Airport i of the database: a grid of 150 rows by 200 columns over the
// globe, every one far from the others; codes "AAAA", "AAAB", ...
ostrand::AirportEntry DatabaseAirport(int i) {
  ostrand::AirportEntry a;
  const int row = i / 200;
  const int column = i % 200;
  a.latitude = (-60.0 + row * 0.85) * 3600.0;
  a.longitude = (-179.0 + column * 1.79) * 3600.0;
  for (int k = 0, v = i; k < 4; ++k, v /= 26) a.code.insert(a.code.begin(), static_cast<char>('A' + v % 26));
  return a;
}

std::string Coordinate(double seconds, char positive, char negative) {
  char text[64];
  const double v = std::fabs(seconds);
  const int degrees = static_cast<int>(v / 3600);
  const int minutes = static_cast<int>((v - degrees * 3600) / 60);
  std::snprintf(text, sizeof text, "%c%d:%d:%.4f", seconds < 0 ? negative : positive, degrees, minutes,
                v - degrees * 3600 - minutes * 60);
  return text;
}

std::string Reference(double lat, double lon) {
  return Coordinate(lat, 'N', 'S') + " " + Coordinate(lon, 'E', 'W');
}

// 5000 lines per airport: two runways, then blocks of a reference point, a
// taxiway polyline of 20 edges, an apron and lights.
void WriteText(const char* name) {
  std::ofstream out(name);
  const int perAirport = kTextLines / kTextAirports;
  for (int a = 0; a < kTextAirports; ++a) {
    const ostrand::AirportEntry ap = DatabaseAirport(1000 + a * 1400);
    int lines = 0;
    out << "SRC \"SCENERY\\BENCH\\airport" << a << ".bgl\"\n";
    out << "RWY 09 27 ASPH 0 9000 150 " << Reference(ap.latitude, ap.longitude - 40) << " "
        << Reference(ap.latitude, ap.longitude + 40) << "\n";
    out << "RWY 18 36 ASPH 0 9000 150 " << Reference(ap.latitude + 40, ap.longitude) << " "
        << Reference(ap.latitude - 40, ap.longitude) << "\n";
    lines += 3;
    for (int block = 0; lines < perAirport; ++block) {
      out << "REF " << Reference(ap.latitude + (block % 7), ap.longitude + (block % 5)) << "\n";
      out << "MOV " << (block % 40) * 150 - 3000 << " 0 " << (block / 40) * 150 - 3000 << " 0 0\n";
      lines += 2;
      for (int k = 1; k <= 20 && lines < perAirport; ++k, ++lines)
        out << "LIN " << (block % 40) * 150 - 3000 + k * 7 << " 0 " << (block / 40) * 150 - 3000 + (k % 2) * 20
            << " 50 15\n";
      for (int k = 0; k < 4 && lines < perAirport; ++k, ++lines)
        out << "POI " << (k % 2) * 100 << " 0 " << (k / 2) * 100 << "\n";
      if (lines < perAirport) {
        out << "PLY \"apron " << block << "\"\n";
        ++lines;
      }
      for (int k = 0; k < 3 && lines < perAirport; ++k, ++lines)
        out << "LGT 1 0 0 " << k * 10 << " 500 0 " << k * 10 << " " << (k + 1) * 3 << "\n";
    }
  }
  out << "EXI\n";
}

class Workspace : public ostrand::bench::BenchFolder {
 public:
  Workspace() {
    std::filesystem::create_directories("DATABASE");
    std::vector<ostrand::AirportEntry> airports;
    for (int i = 0; i < kDatabaseAirports; ++i) airports.push_back(DatabaseAirport(i));
    const std::vector<uint8_t> image = ostrand::DatabaseImage(airports);
    std::ofstream("DATABASE/AIRPORT.DBD", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    std::ofstream("DATABASE/AIRPORT.dbt") << ostrand::FieldListText();
    std::ofstream("excllist.txt") << "ARE 10 \"SCENERY\\BENCH\\\"\nXCL 5 0 0 1 1 1\n";
    WriteText("bench.txt");
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
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(kTextLines) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TextProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

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
