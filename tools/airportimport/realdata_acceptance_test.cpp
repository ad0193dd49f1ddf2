// Acceptance on real airports: every ground network of the shared real data
// (with its thresholds and the runways list) through import, -te and -tm.
// Skipped when the data is absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <numeric>
#include <queue>

#include "tools/airportimport/aptdat_reader.h"
#include "tools/airportimport/groundnet_reader.h"
#include "tools/airportimport/import_chain.h"
#include "tools/airportimport/osm_data.h"
#include "tools/airportimport/unique_edges.h"

namespace airportimport {
namespace {

namespace fs = std::filesystem;
const std::string kReal = OSTRAND_SHARED_DIR "/realdata";

ChainPrograms Programs() {
  return {AIRPORTIMPORT_EXE, AIRPORTDB_EXE, fs::path(OSTRAND_EXE).parent_path().string()};
}

struct Graph {
  std::vector<std::vector<std::pair<int, double>>> next;
  std::vector<int> part;
};

Graph Connect(const std::vector<Feet>& at, const std::vector<std::pair<int, int>>& edges) {
  Graph g{std::vector<std::vector<std::pair<int, double>>>(at.size()), std::vector<int>(at.size(), -1)};
  for (auto [a, b] : edges) {
    if (a < 0 || b < 0 || a >= static_cast<int>(at.size()) || b >= static_cast<int>(at.size())) continue;
    const double d = std::hypot(at[a].x - at[b].x, at[a].z - at[b].z);
    g.next[a].push_back({b, d});
    g.next[b].push_back({a, d});
  }
  for (size_t s = 0, n = 0; s < at.size(); ++s) {
    if (g.part[s] >= 0 || g.next[s].empty()) continue;
    std::vector<int> stack{static_cast<int>(s)};
    g.part[s] = static_cast<int>(n);
    while (!stack.empty()) {
      const int v = stack.back();
      stack.pop_back();
      for (auto [w, d] : g.next[v])
        if (g.part[w] < 0) g.part[w] = static_cast<int>(n), stack.push_back(w);
    }
    ++n;
  }
  return g;
}

// Shortest way from a to b in the saved network, stopping beyond `limit`.
double Way(const Graph& g, int a, int b, double limit) {
  std::map<int, double> best{{a, 0}};
  std::priority_queue<std::pair<double, int>, std::vector<std::pair<double, int>>, std::greater<>> open;
  open.push({0, a});
  while (!open.empty()) {
    auto [d, v] = open.top();
    open.pop();
    if (v == b) return d;
    if (d > best[v] || d > limit) continue;
    for (auto [w, len] : g.next[v])
      if (!best.count(w) || d + len < best[w]) best[w] = d + len, open.push({d + len, w});
  }
  return 1e300;
}

int Nearest(const std::vector<Feet>& at, Feet p, double within) {
  int found = -1;
  double best = within;
  for (size_t i = 0; i < at.size(); ++i) {
    const double d = std::hypot(at[i].x - p.x, at[i].z - p.z);
    if (d <= best) best = d, found = static_cast<int>(i);
  }
  return found;
}

bool Paved(const ChainResult& r, Feet p) {
  return std::any_of(r.pavement.begin(), r.pavement.end(), [&](const auto& poly) { return Covers(poly, p, 1.0); });
}

// Whether a point lies on a runway's own surface (within half its width of
// the centre line), which the simulator draws and the surface file leaves out.
bool OnRunway(const Airport& source, const LocalFrame& frame, Feet p) {
  return std::any_of(source.runways.begin(), source.runways.end(), [&](const Runway& rw) {
    const Feet a = frame.ToFeet(rw.ends[0].at), b = frame.ToFeet(rw.ends[1].at);
    const double dx = b.x - a.x, dz = b.z - a.z, length2 = dx * dx + dz * dz;
    const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.z - a.z) * dz) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(a.x + t * dx - p.x, a.z + t * dz - p.z) <= rw.widthFeet / 2;
  });
}

// Runs the chain on one source and checks what it gave against the source.
void Accept(const std::string& label, const std::string& code, const Airport& source,
            const std::vector<std::string>& importArgs, bool pavement = true) {
  SCOPED_TRACE(label);
  const std::string folder = (fs::temp_directory_path() / ("airportimport_accept_" + label)).string();
  const ChainResult r = RunChain(Programs(), folder, importArgs, code);
  ASSERT_EQ(r.failure, "") << r.output;
  {

    // The reference point is the one the importer chose; recompute it the same way.
    Airport placed = source;
    std::ifstream row(folder + "/airports.csv");
    std::string line;
    std::getline(row, line);
    ASSERT_EQ(std::sscanf(line.c_str() + line.find(',') + 1, "%lf,%lf", &placed.reference.lat, &placed.reference.lon), 2);
    const LocalFrame frame(placed.reference);
    std::vector<Feet> nodes;
    for (const Node& n : source.nodes) nodes.push_back(frame.ToFeet(n.at));

    const Graph saved = Connect(r.vertices, r.edges);
    std::vector<std::pair<int, int>> sourceEdges;
    const std::vector<Edge> unique = FoldEdges(source).edges;
    std::vector<int> degree(nodes.size(), 0);
    for (const Edge& e : unique) ++degree[static_cast<size_t>(e.from)], ++degree[static_cast<size_t>(e.to)];
    // A dead end that the generation moved onto a runway or taxiway (up to
    // 150 ft) still counts when the other end leads to a vertex near it.
    auto moved = [&](int end, int other, Feet was) {
      if (degree[static_cast<size_t>(end)] != 1 || other < 0) return false;
      for (auto [w, len] : saved.next[static_cast<size_t>(other)])
        if (std::hypot(r.vertices[static_cast<size_t>(w)].x - was.x, r.vertices[static_cast<size_t>(w)].z - was.z) <= 160) return true;
      return false;
    };
    int missing = 0, merged = 0, movedEnds = 0;
    for (const Edge& e : unique) {
      sourceEdges.push_back({e.from, e.to});
      const Feet a = nodes[static_cast<size_t>(e.from)], b = nodes[static_cast<size_t>(e.to)];
      const int va = Nearest(r.vertices, a, 6), vb = Nearest(r.vertices, b, 6);
      if (va >= 0 && va == vb) { ++merged; continue; }
      if ((va < 0 && moved(e.from, vb, a)) || (vb < 0 && moved(e.to, va, b))) { ++movedEnds; continue; }
      const double length = std::hypot(a.x - b.x, a.z - b.z);
      if (va < 0 || vb < 0 || Way(saved, va, vb, length + 20) > length + 20) ++missing;
    }
    EXPECT_EQ(missing, 0) << "edges of the source not in the saved network";

    const Graph original = Connect(nodes, sourceEdges);
    std::map<int, std::set<int>> savedPartsOf;
    for (size_t i = 0; i < nodes.size(); ++i) {
      const int v = Nearest(r.vertices, nodes[i], 6);
      if (original.part[i] >= 0 && v >= 0 && saved.part[static_cast<size_t>(v)] >= 0)
        savedPartsOf[original.part[i]].insert(saved.part[static_cast<size_t>(v)]);
    }
    int split = 0;
    for (const auto& [part, savedParts] : savedPartsOf) split += savedParts.size() > 1;
    EXPECT_EQ(split, 0) << "connected parts of the source split in the saved network";

    double worstEnd = 0;
    for (const Runway& rw : source.runways)
      for (const RunwayEnd& end : rw.ends) {
        const int v = Nearest(r.vertices, frame.ToFeet(end.at), 1e9);
        worstEnd = std::max(worstEnd, std::hypot(r.vertices[v].x - frame.ToFeet(end.at).x, r.vertices[v].z - frame.ToFeet(end.at).z));
      }
    EXPECT_LE(worstEnd, 1.0) << "runway end moved";

    int samples = 0, bare = 0, bareStands = 0;
    for (const auto& [from, to] : sourceEdges) {
      const Feet a = nodes[static_cast<size_t>(from)], b = nodes[static_cast<size_t>(to)];
      // The middle of every 50-ft piece of the edge (the generation may move
      // the ends themselves).
      const int n = std::max(1, static_cast<int>(std::lround(std::hypot(a.x - b.x, a.z - b.z) / 50)));
      for (int i = 0; i < n; ++i, ++samples) {
        const double t = (i + 0.5) / n;
        const Feet p{a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t};
        bare += !Paved(r, p) && !OnRunway(placed, frame, p);
      }
    }
    for (const Stand& s : source.stands) bareStands += !Paved(r, frame.ToFeet(s.at));
    std::printf("%s: %zu source edges (%d merged within 5 ft, %d with a dead end moved), %zu saved vertices, %zu saved edges, "
                "%zu parts, runway ends within %.2f ft, %d/%d samples and %d/%zu stands unpaved%s\n",
                label.c_str(), sourceEdges.size(), merged, movedEnds, r.vertices.size(), r.edges.size(),
                savedPartsOf.size(), worstEnd, bare, samples, bareStands, source.stands.size(),
                r.tableFull ? ", TABLE FULL" : "");
    if (!pavement) return;
    EXPECT_FALSE(r.tableFull) << "the generation reported \"table full\"";
    EXPECT_EQ(bare, 0) << "taxiway samples without pavement";
    EXPECT_EQ(bareStands, 0) << "stands without pavement";
  }
}

// The made-up OpenStreetMap airport of the tests, through the same chain:
// its runway ends come back within a foot, its edges and parts are kept.
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
