#include "tools/airportimport/network_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>

#include "tools/airportimport/local_frame.h"
#include "tools/airportimport/unique_edges.h"

namespace airportimport {

namespace {

constexpr double kShortestEdgeFeet = 1.0;
constexpr double kStandReachFeet = 300.0;
constexpr double kRunwayReachSlackFeet = 10.0;

double Cross(Feet o, Feet a, Feet b) { return (a.x - o.x) * (b.z - o.z) - (a.z - o.z) * (b.x - o.x); }

// Proper crossing of segments ab and cd (touching ends do not count).
bool Crosses(Feet a, Feet b, Feet c, Feet d, Feet& at) {
  const double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  if (!(((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))))
    return false;
  const double t = d1 / (d1 - d2);
  at = {a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t};
  return true;
}

double DistanceToSegment(Feet p, Feet a, Feet b) {
  const double dx = b.x - a.x, dz = b.z - a.z, len2 = dx * dx + dz * dz;
  double t = len2 == 0 ? 0 : ((p.x - a.x) * dx + (p.z - a.z) * dz) / len2;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + dx * t), p.z - (a.z + dz * t));
}

struct Parts {
  std::vector<int32_t> parent;
  explicit Parts(size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
  int32_t Find(int32_t i) {
    while (parent[static_cast<size_t>(i)] != i) i = parent[static_cast<size_t>(i)] = parent[static_cast<size_t>(parent[static_cast<size_t>(i)])];
    return i;
  }
  void Join(int32_t a, int32_t b) { parent[static_cast<size_t>(Find(a))] = Find(b); }
};

// Crossing pairs of segments, found through a grid of cells so that large
// networks stay fast.
template <typename Report>
void CrossingPairs(const std::vector<std::pair<Feet, Feet>>& segments, Report report) {
  constexpr double kCell = 500.0;
  constexpr double kMostCells = 4096;  // a longer segment is tested against every other
  std::map<std::pair<long, long>, std::vector<size_t>> cells;
  std::vector<size_t> wide;
  for (size_t i = 0; i < segments.size(); ++i) {
    const auto& [a, b] = segments[i];
    const double x0 = std::floor(std::min(a.x, b.x) / kCell), x1 = std::floor(std::max(a.x, b.x) / kCell);
    const double z0 = std::floor(std::min(a.z, b.z) / kCell), z1 = std::floor(std::max(a.z, b.z) / kCell);
    if ((x1 - x0 + 1) * (z1 - z0 + 1) > kMostCells) {
      wide.push_back(i);
      continue;
    }
    for (long cx = std::lround(x0); cx <= std::lround(x1); ++cx)
      for (long cz = std::lround(z0); cz <= std::lround(z1); ++cz) cells[{cx, cz}].push_back(i);
  }
  std::map<std::pair<size_t, size_t>, bool> seen;
  for (const auto& [cell, members] : cells)
    for (size_t i = 0; i < members.size(); ++i)
      for (size_t j = i + 1; j < members.size(); ++j) {
        if (!seen.emplace(std::pair{members[i], members[j]}, true).second) continue;
        Feet at;
        const auto& s = segments[members[i]];
        const auto& t = segments[members[j]];
        if (Crosses(s.first, s.second, t.first, t.second, at)) report(members[i], members[j], at);
      }
  for (size_t w : wide)
    for (size_t i = 0; i < segments.size(); ++i) {
      const std::pair<size_t, size_t> pair{std::min(w, i), std::max(w, i)};
      Feet at;
      if (i == w || !seen.emplace(pair, true).second) continue;
      const auto& s = segments[pair.first];
      const auto& t = segments[pair.second];
      if (Crosses(s.first, s.second, t.first, t.second, at)) report(pair.first, pair.second, at);
    }
}

}  // namespace

const char* KindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::UnusedNode: return "unused node";
    case FindingKind::DuplicateEdge: return "duplicate edge";
    case FindingKind::ShortEdge: return "short edge";
    case FindingKind::Crossing: return "crossing without a shared node";
    case FindingKind::Disconnected: return "part not connected to a runway";
    case FindingKind::LonelyStand: return "stand with no taxiway within 300 ft";
    case FindingKind::SelfCrossing: return "outline crossing itself";
  }
  return "";
}

std::vector<Finding> CheckAirport(const Airport& airport) {
  std::vector<Finding> findings;
  const LocalFrame frame(airport.reference);
  std::vector<Feet> feet;
  for (const Node& n : airport.nodes) feet.push_back(frame.ToFeet(n.at));
  const UniqueEdges unique = FoldEdges(airport);
  auto node = [&](int32_t i) { return feet[static_cast<size_t>(i)]; };

  std::vector<bool> used(airport.nodes.size(), false);
  for (const Edge& e : unique.edges) used[static_cast<size_t>(e.from)] = used[static_cast<size_t>(e.to)] = true;
  for (size_t i = 0; i < used.size(); ++i)
    if (!used[i]) findings.push_back({FindingKind::UnusedNode, airport.nodes[i].at, "node at " + airport.nodes[i].where + " is on no edge"});

  for (size_t i : unique.duplicates) {
    const Edge& e = airport.edges[i];
    findings.push_back({FindingKind::DuplicateEdge, airport.nodes[static_cast<size_t>(e.from)].at, "edge at " + e.where + " is given again"});
  }

  std::vector<std::pair<Feet, Feet>> segments;
  for (const Edge& e : unique.edges) {
    const Feet a = node(e.from), b = node(e.to);
    segments.push_back({a, b});
    if (std::hypot(b.x - a.x, b.z - a.z) < kShortestEdgeFeet)
      findings.push_back({FindingKind::ShortEdge, airport.nodes[static_cast<size_t>(e.from)].at, "edge at " + e.where + " is shorter than 1 ft"});
  }
  CrossingPairs(segments, [&](size_t i, size_t j, Feet at) {
    const Edge& a = unique.edges[i];
    const Edge& b = unique.edges[j];
    if (a.from == b.from || a.from == b.to || a.to == b.from || a.to == b.to) return;
    findings.push_back({FindingKind::Crossing, frame.ToLatLon(at), "edges at " + a.where + " and " + b.where + " cross"});
  });

  Parts parts(airport.nodes.size());
  for (const Edge& e : unique.edges) parts.Join(e.from, e.to);
  std::vector<std::pair<Feet, Feet>> runways;
  std::vector<double> reach;
  for (const Runway& r : airport.runways) {
    runways.push_back({frame.ToFeet(r.ends[0].at), frame.ToFeet(r.ends[1].at)});
    reach.push_back(r.widthFeet / 2 + kRunwayReachSlackFeet);
  }
  std::map<int32_t, bool> reachesRunway;
  std::map<int32_t, std::vector<size_t>> members;
  for (size_t i = 0; i < airport.nodes.size(); ++i) {
    if (!used[i]) continue;
    const int32_t part = parts.Find(static_cast<int32_t>(i));
    members[part].push_back(i);
    bool on = airport.nodes[i].onRunway;
    for (size_t r = 0; r < runways.size() && !on; ++r)
      on = DistanceToSegment(feet[i], runways[r].first, runways[r].second) <= reach[r];
    reachesRunway[part] = reachesRunway[part] || on;
  }
  for (const auto& [part, nodes] : members)
    if (!reachesRunway[part])
      findings.push_back({FindingKind::Disconnected, airport.nodes[nodes.front()].at,
                          std::to_string(nodes.size()) + " nodes from " + airport.nodes[nodes.front()].where + " reach no runway"});

  for (const Stand& s : airport.stands) {
    const Feet p = frame.ToFeet(s.at);
    double nearest = 1e300;
    for (const auto& [a, b] : segments) nearest = std::min(nearest, DistanceToSegment(p, a, b));
    if (nearest > kStandReachFeet)
      findings.push_back({FindingKind::LonelyStand, s.at, "stand " + s.name + " at " + s.where + " has no taxiway within 300 ft"});
  }

  for (const Outline& o : airport.outlines) {
    std::vector<std::pair<Feet, Feet>> sides;
    for (size_t i = 0; i < o.corners.size(); ++i)
      sides.push_back({frame.ToFeet(o.corners[i]), frame.ToFeet(o.corners[(i + 1) % o.corners.size()])});
    bool reported = false;
    CrossingPairs(sides, [&](size_t, size_t, Feet at) {
      if (reported) return;
      reported = true;
      findings.push_back({FindingKind::SelfCrossing, frame.ToLatLon(at), "outline " + o.name + " at " + o.where + " crosses itself"});
    });
  }
  return findings;
}

std::string FindingLine(const Airport& airport, const Finding& f) {
  const Feet p = LocalFrame(airport.reference).ToFeet(f.at);
  char text[160];
  std::snprintf(text, sizeof text, "%c%.6f %c%.6f (x %.0f ft, z %.0f ft): ", f.at.lat < 0 ? 'S' : 'N',
                std::fabs(f.at.lat), f.at.lon < 0 ? 'W' : 'E', std::fabs(f.at.lon), p.x, p.z);
  return std::string(KindName(f.kind)) + " at " + text + f.text;
}

std::string FindingSummary(const std::vector<Finding>& findings) {
  std::map<FindingKind, int> count;
  for (const Finding& f : findings) ++count[f.kind];
  std::string out;
  for (const auto& [kind, n] : count) out += "  " + std::to_string(n) + " " + KindName(kind) + "\n";
  return out;
}

}  // namespace airportimport
