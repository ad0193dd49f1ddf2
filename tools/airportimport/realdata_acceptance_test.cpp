// Acceptance on real airports: every ground network of the shared real data
// (with its thresholds and the runways list) through import, -te and -tm.
// Skipped when the data is absent.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <queue>

#include "tools/airportimport/aptdat_reader.h"
#include "tools/airportimport/file_text.h"
#include "tools/airportimport/groundnet_reader.h"
#include "tools/airportimport/import_chain.h"
#include "tools/airportimport/osm_data.h"
#include "tools/airportimport/unique_edges.h"

namespace airportimport {
namespace {

namespace fs = std::filesystem;
const std::string kReal = OSTRAND_SHARED_DIR "/realdata";

double Distance(Feet a, Feet b) { return std::hypot(a.x - b.x, a.z - b.z); }

// The neighbours of every vertex, with the lengths of the edges.
using Graph = std::vector<std::vector<std::pair<int, double>>>;

Graph Connect(const std::vector<Feet>& at, const std::vector<std::pair<int, int>>& edges) {
  const int n = static_cast<int>(at.size());
  Graph g(at.size());
  for (auto [a, b] : edges) {
    if (a < 0 || b < 0 || a >= n || b >= n) continue;
    g[a].push_back({b, Distance(at[a], at[b])});
    g[b].push_back({a, Distance(at[a], at[b])});
  }
  return g;
}

// Shortest way from a to b in the saved network, stopping beyond `limit`.
double Way(const Graph& g, int a, int b, double limit) {
  std::map<int, double> best{{a, 0}};
  std::priority_queue<std::pair<double, int>, std::vector<std::pair<double, int>>, std::greater<>> open;
  for (open.push({0, a}); !open.empty();) {
    auto [d, v] = open.top();
    open.pop();
    if (v == b) return d;
    if (d > best[v] || d > limit) continue;
    for (auto [w, len] : g[v])
      if (!best.count(w) || d + len < best[w]) best[w] = d + len, open.push({d + len, w});
  }
  return 1e300;
}

int Nearest(const std::vector<Feet>& at, Feet p, double within) {
  int found = -1;
  for (size_t i = 0; i < at.size(); ++i)
    if (Distance(at[i], p) <= within) within = Distance(at[i], p), found = static_cast<int>(i);
  return found;
}

// Runs the chain on one source and checks what it gave against the source:
// every edge of the source is in the saved network (its ends merged within 5
// ft, or a dead end moved onto a runway or taxiway; so no connected part of
// it is split either), runway ends stay within a foot, and (with `pavement`) every piece
// of taxiway off the runways and every stand is paved.
void Accept(const std::string& label, const std::string& code, const Airport& source,
            const std::vector<std::string>& importArgs, bool pavement = true) {
  SCOPED_TRACE(label);
  const std::string folder = (fs::temp_directory_path() / ("airportimport_accept_" + label + "_" + std::to_string(getpid()))).string();
  const ChainResult r = RunChain({AIRPORTIMPORT_EXE, AIRPORTDB_EXE, fs::path(OSTRAND_EXE).parent_path().string()},
                                 folder, importArgs, code);
  ASSERT_EQ(r.failure, "") << r.output;
  // The reference point is the one the importer chose.
  LatLon reference;
  std::string row = ReadFileText(folder + "/airports.csv");
  ASSERT_EQ(std::sscanf(row.c_str() + row.find(',') + 1, "%lf,%lf", &reference.lat, &reference.lon), 2);
  const LocalFrame frame(reference);
  std::vector<Feet> nodes;
  for (const Node& n : source.nodes) nodes.push_back(frame.ToFeet(n.at));

  const Graph saved = Connect(r.vertices, r.edges);
  const std::vector<Edge> unique = FoldEdges(source).edges;
  std::vector<std::pair<int, int>> sourceEdges;
  std::vector<int> degree(nodes.size(), 0);
  for (const Edge& e : unique) ++degree[e.from], ++degree[e.to], sourceEdges.push_back({e.from, e.to});
  // A dead end that the generation moved (up to 150 ft) still counts when
  // the other end leads to a vertex near where it was.
  auto moved = [&](int end, int other, Feet was) {
    if (degree[end] != 1 || other < 0) return false;
    return std::any_of(saved[other].begin(), saved[other].end(),
                       [&](auto next) { return Distance(r.vertices[next.first], was) <= 160; });
  };
  int missing = 0;
  for (auto [from, to] : sourceEdges) {
    const Feet a = nodes[from], b = nodes[to];
    const int va = Nearest(r.vertices, a, 6), vb = Nearest(r.vertices, b, 6);
    if ((va >= 0 && va == vb) || (va < 0 && moved(from, vb, a)) || (vb < 0 && moved(to, va, b))) continue;
    missing += va < 0 || vb < 0 || Way(saved, va, vb, Distance(a, b) + 20) > Distance(a, b) + 20;
  }
  EXPECT_EQ(missing, 0) << "edges of the source not in the saved network";

  for (const Runway& rw : source.runways)
    for (const RunwayEnd& end : rw.ends) EXPECT_GE(Nearest(r.vertices, frame.ToFeet(end.at), 1.0), 0) << "runway end moved";
  if (!pavement) {
    fs::remove_all(folder);
    return;
  }
  EXPECT_FALSE(r.tableFull) << "the generation reported \"table full\"";

  // Whether a point is paved, or lies on a runway's own surface (within half
  // its width of the centre line), which the simulator draws and the surface
  // file leaves out.
  // Each polygon is tried only in the 100-ft cells that its box (widened by
  // the slack of 1 ft) meets.
  std::map<std::pair<long, long>, std::vector<size_t>> cells;
  const auto cell = [](double v) { return std::lround(std::floor(v / 100)); };
  for (size_t i = 0; i < r.pavement.size(); ++i) {
    double x0 = 1e300, z0 = 1e300, x1 = -1e300, z1 = -1e300;
    for (Feet f : r.pavement[i]) x0 = std::min(x0, f.x), z0 = std::min(z0, f.z), x1 = std::max(x1, f.x), z1 = std::max(z1, f.z);
    for (long cx = cell(x0 - 1); cx <= cell(x1 + 1); ++cx)
      for (long cz = cell(z0 - 1); cz <= cell(z1 + 1); ++cz) cells[{cx, cz}].push_back(i);
  }
  auto paved = [&](Feet p) {
    const auto near = cells.find({cell(p.x), cell(p.z)});
    return near != cells.end() &&
           std::any_of(near->second.begin(), near->second.end(), [&](size_t i) { return Covers(r.pavement[i], p, 1.0); });
  };
  auto onRunway = [&](Feet p) {
    return std::any_of(source.runways.begin(), source.runways.end(), [&](const Runway& rw) {
      const Feet a = frame.ToFeet(rw.ends[0].at), b = frame.ToFeet(rw.ends[1].at);
      const double dx = b.x - a.x, dz = b.z - a.z, length2 = dx * dx + dz * dz;
      const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.z - a.z) * dz) / length2, 0.0, 1.0) : 0.0;
      return Distance({a.x + t * dx, a.z + t * dz}, p) <= rw.widthFeet / 2;
    });
  };
  int bare = 0, bareStands = 0;
  for (auto [from, to] : sourceEdges) {
    // The middle of every 50-ft piece of the edge (the generation may move
    // the ends themselves).
    const Feet a = nodes[from], b = nodes[to];
    const int n = std::max(1, static_cast<int>(std::lround(Distance(a, b) / 50)));
    for (int i = 0; i < n; ++i) {
      const double t = (i + 0.5) / n;
      const Feet p{a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t};
      bare += !onRunway(p) && !paved(p);
    }
  }
  for (const Stand& s : source.stands) bareStands += !paved(frame.ToFeet(s.at));
  EXPECT_EQ(bare, 0) << "taxiway samples without pavement";
  EXPECT_EQ(bareStands, 0) << "stands without pavement";
  fs::remove_all(folder);
}

// The made-up OpenStreetMap airport of the tests, through the same chain.
// (Its connectors meet the runway at the thresholds at right angles, where
// the generation leaves the corners unpaved; pavement is not asserted.)
TEST(Fixtures, OpenStreetMapChain) {
  const std::string path = OSTRAND_SOURCE_DIR "/tools/airportimport/testdata/small_airport.osm";
  Accept("EDXA_osm", "EDXA", AirportFromOsm(ReadOsmFile(path), path, {}), {path}, false);
}

// Calls check(path, code) for every file of a folder of the real data (the
// code is the first four letters of the file name); skips when it is absent.
template <typename Check>
void ForEachRealFile(const std::string& folder, Check check) {
  const fs::path dir = kReal + "/" + folder;
  if (!fs::is_directory(dir)) GTEST_SKIP() << "no real data at " << kReal;
  for (const auto& entry : fs::directory_iterator(dir))
    check(entry.path().string(), entry.path().filename().string().substr(0, 4));
}

TEST(RealAirports, GroundNetworks) {
  ForEachRealFile("groundnet", [](const std::string& path, const std::string& code) {
    GroundnetOptions options;
    options.runwaysCsv = kReal + "/runways/runways_subset.csv";
    Accept(code, code, ReadGroundnet(path, options), {path, "--runways", options.runwaysCsv});
  });
}

TEST(RealAirports, AptDat) {
  ForEachRealFile("aptdat", [](const std::string& path, const std::string& code) {
    AptDatOptions options;
    options.airport = code;
    Accept(code + "_aptdat", code, ReadAptDat(path, options), {path, "--airport", code});
  });
}

}  // namespace
}  // namespace airportimport
