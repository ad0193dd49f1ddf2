// Network repair: snapping dead ends, runway connectors, crossing splits.
#include "ostrand/gen/snapping.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>
#include <vector>

#include "ostrand/frame/point_grid.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/line.h"
#include "ostrand/gen/working_units.h"

namespace ostrand {
namespace {

constexpr double kNearRunway = 38400;        // 150 ft
constexpr double kRunwaySlack = 51200;       // 200 ft
constexpr double kConnectorOffset = 51200;   // 200 ft
constexpr double kRunwayShortening = 256000; // 1000 ft
constexpr double kCrossingClearance = 51200; // 200 ft
constexpr double kSnapInside = 25600;        // 100 ft
constexpr double kSnapReach = 38400;         // 150 ft
constexpr double kSnapAngle = DegreesToRadians(20.0);
constexpr double kConnectorTurn = DegreesToRadians(115.0);
constexpr int32_t kMaxTaxiwayEdgesForCrossings = 100;

bool IsTaxiway(const TaxiwayList& net, int32_t i) {
  const Edge& e = net.edge(i);
  return e.type == kTaxiway && net.HasVertices(e);
}

double DistanceTo(const TaxiwayList& net, double x, double z, int32_t v) {
  const IntPoint& p = net.vertex(v);
  return Distance(x, z, p.x, p.z);
}

// Index of (x, 0, z), found or added; -1 when the vertex table is full.
int32_t FindOrAddVertex(TaxiwayList& net, int32_t x, int32_t z) {
  const int32_t index = net.points.Add(x, 0, z, 0);
  if (index < 0 || index >= net.points.count || !Equals(net.vertex(index), x, 0, z)) return -1;
  return index;
}

void AppendEdge(TaxiwayList& net, const Edge& e) {
  net.edge(net.edgeCount) = e;
  ++net.edgeCount;
}

// Extent of an edge's two vertices, widened by `margin`.
struct Box {
  double minX, minZ, maxX, maxZ;
  bool Contains(double x, double z) const {
    return x >= minX && x <= maxX && z >= minZ && z <= maxZ;
  }
  bool Overlaps(const Box& o) const {
    return minX <= o.maxX && o.minX <= maxX && minZ <= o.maxZ && o.minZ <= maxZ;
  }
};

Box EdgeBox(const TaxiwayList& net, const Edge& e, double margin) {
  const IntPoint& a = net.vertex(e.from);
  const IntPoint& b = net.vertex(e.to);
  return {std::min<double>(a.x, b.x) - margin, std::min<double>(a.z, b.z) - margin,
          std::max<double>(a.x, b.x) + margin, std::max<double>(a.z, b.z) + margin};
}

// The ends of taxiway edges, filed in a grid of 200-ft cells, to answer "is
// some taxiway vertex closer than 200 ft to this point" without a scan of
// every edge. The crossing split only ever adds ends (vertices do not move
// then).
class EndIndex {
 public:
  explicit EndIndex(const TaxiwayList& net) : net_(net), filed_(static_cast<size_t>(net.points.count), 0) {}

  void Insert(int32_t v) {
    if (static_cast<size_t>(v) >= filed_.size()) filed_.resize(static_cast<size_t>(v) + 1, 0);
    if (filed_[static_cast<size_t>(v)]) return;
    filed_[static_cast<size_t>(v)] = 1;
    const IntPoint& p = net_.vertex(v);
    grid_.File(static_cast<int32_t>(ends_.size()), p.x, p.z);
    ends_.push_back(v);
  }

  bool AnyCloserThan(double x, double z, double limit) const {
    return grid_.First(x, z, limit, [&](int32_t k) {
      return DistanceTo(net_, x, z, ends_[static_cast<size_t>(k)]) < limit;
    }) >= 0;
  }

 private:
  const TaxiwayList& net_;
  PointGrid grid_{kCrossingClearance};
  std::vector<int32_t> ends_;  // the vertex of each filed end
  std::vector<char> filed_;    // per vertex: filed already
};

// The reach boxes of the edges, filed in a grid of 1024-ft cells under
// every cell they overlap (a box of more than 256 cells is kept apart and
// offered for every point), to answer "which edges may reach this point",
// in ascending order, without a scan of every edge. The caller still tests
// each box itself.
class ReachIndex {
 public:
  void Build(const std::vector<Box>& boxes, int32_t count) {
    cells_.clear();
    wide_.clear();
    for (int32_t k = 0; k < count; ++k) {
      const Box& b = boxes[static_cast<size_t>(k)];
      if (!(b.minX <= b.maxX && b.minZ <= b.maxZ)) continue;  // reaches nowhere
      const int64_t x0 = Cell(b.minX), x1 = Cell(b.maxX), z0 = Cell(b.minZ), z1 = Cell(b.maxZ);
      if ((x1 - x0 + 1) * (z1 - z0 + 1) > kMostCells) {
        wide_.push_back(k);
        continue;
      }
      for (int64_t cx = x0; cx <= x1; ++cx)
        for (int64_t cz = z0; cz <= z1; ++cz) cells_[Key(cx, cz)].push_back(k);
    }
  }

  // The edges filed under the cells of the points asked for (a null point
  // is not asked for), ascending, each once.
  void Candidates(const IntPoint* a, const IntPoint* b, std::vector<int32_t>& out) const {
    out.assign(wide_.begin(), wide_.end());
    for (const IntPoint* p : {a, b}) {
      if (p == nullptr) continue;
      const auto found = cells_.find(Key(Cell(p->x), Cell(p->z)));
      if (found != cells_.end()) out.insert(out.end(), found->second.begin(), found->second.end());
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
  }

 private:
  static constexpr double kCellSize = 262144;  // 1024 ft
  static constexpr int64_t kMostCells = 256;
  // Boxes lie within the working range (about +-2^31 units), so cell
  // numbers stay small.
  static int64_t Cell(double v) { return static_cast<int64_t>(std::floor(v / kCellSize)); }
  static uint64_t Key(int64_t cx, int64_t cz) {
    return (static_cast<uint64_t>(cx) << 32) ^ static_cast<uint64_t>(cz & 0xFFFFFFFF);
  }

  std::unordered_map<uint64_t, std::vector<int32_t>> cells_;
  std::vector<int32_t> wide_;
};

// True when the point lies at least `clearance` from both ends of the
// line's edge (bounds inclusive).
bool WellInside(const TaxiwayList& net, const Edge& e, const Line& line, double x, double z,
                double clearance) {
  const double dFrom = DistanceTo(net, x, z, e.from);
  const double dTo = DistanceTo(net, x, z, e.to);
  const double high = line.length - clearance;
  return dFrom >= clearance && dFrom <= high && dTo >= clearance && dTo <= high;
}

}  // namespace

int32_t OtherEnd(const TaxiwayList& net, int32_t p) {
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    if (!IsTaxiway(net, i)) continue;
    const Edge& e = net.edge(i);
    if (e.from == p) return e.to;
    if (e.to == p) return e.from;
  }
  return -1;
}

void AddEdge(GenerationRun& run, TaxiwayList& net, int32_t from, int32_t x, int32_t z,
             int32_t width, int32_t type) {
  if (net.points.count >= kMaxVertices || net.edgeCount >= kMaxEdges) return;
  const int32_t v = FindOrAddVertex(net, x, z);
  if (v < 0) return;
  AppendEdge(net, Edge{from, v, width, type, 15});
  run.AddPointDegree(from, 1);
  run.AddPointDegree(v, 1);
}

void SnapTo(GenerationRun& run, TaxiwayList& net, int32_t v, double x, double z, int32_t j) {
  if (net.edgeCount >= kMaxEdges || DistanceTo(net, x, z, v) > kSnapReach) return;
  IntPoint& p = net.vertex(v);
  p.x = TruncateToInt32(x);
  p.z = TruncateToInt32(z);
  net.points.Changed();
  Edge copy = net.edge(j);
  copy.from = v;
  AppendEdge(net, copy);
  net.edge(j).to = v;
  run.AddPointDegree(v, 2);
}

void SnapEndPointsToRunways(GenerationRun& run, TaxiwayList& net) {
  std::fprintf(Console(), "SnapEndPointsToRunways()\n");
  const SegmentList& runways = run.runways;
  for (int32_t r = 0; r < runways.count; ++r) {
    const Segment& runway = runways.entries[static_cast<size_t>(r)];
    const Edge& re = net.edge(runway.edge);
    if (!net.HasVertices(re)) continue;
    const IntPoint a = net.vertex(re.from);
    const IntPoint b = net.vertex(re.to);
    const double limit = Distance(a.x, a.z, b.x, b.z) + kRunwaySlack;
    for (int32_t p = 0; p < net.points.count; ++p) {
      IntPoint& pt = net.vertex(p);
      if (!run.IsDeadEnd(p) || !runway.line.IsNear(pt.x, pt.z, kNearRunway)) continue;
      const int32_t q = OtherEnd(net, p);
      if (q < 0) continue;
      Line own;
      own.Set(pt.x, pt.z, net.vertex(q).x, net.vertex(q).z);
      double x = 0, z = 0;
      if (!runway.line.Intersect(own, x, z, kSnapAngle)) continue;
      if (Distance(a.x, a.z, x, z) < limit && Distance(b.x, b.z, x, z) < limit) {
        pt.x = TruncateToInt32(x);
        pt.z = TruncateToInt32(z);
        net.points.Changed();
      }
    }
  }
}

void AddRunwayConnectors(GenerationRun& run, TaxiwayList& net) {
  const SegmentList& runways = run.runways;
  for (int32_t r = 0; r < runways.count; ++r) {
    const Segment& runway = runways.entries[static_cast<size_t>(r)];
    const Edge re = net.edge(runway.edge);
    if (!net.HasVertices(re)) continue;
    const IntPoint a = net.vertex(re.from);
    const IntPoint b = net.vertex(re.to);
    const double len = Distance(a.x, a.z, b.x, b.z);
    if (len == 0) continue;  // both ends in one place: no direction to follow
    const double lenLimit = len - kRunwayShortening;
    // In doubles: ends far either side of the origin differ by more than
    // 32 bits can hold.
    const double ux = (static_cast<double>(b.x) - a.x) * kConnectorOffset / len;
    const double uz = (static_cast<double>(b.z) - a.z) * kConnectorOffset / len;
    for (int32_t p = 0; p < net.points.count; ++p) {
      const IntPoint pt = net.vertex(p);
      if (!run.IsDeadEnd(p) || !runway.line.IsNear(pt.x, pt.z, kNearRunway)) continue;
      const int32_t q = OtherEnd(net, p);
      if (q < 0) continue;
      const IntPoint qt = net.vertex(q);
      Line own;
      own.Set(pt.x, pt.z, qt.x, qt.z);
      double x = 0, z = 0;
      if (!runway.line.Intersect(own, x, z, kSnapAngle)) continue;
      const double fx = x - ux, fz = z - uz;  // 200 ft towards a
      const double bx = x + ux, bz = z + uz;  // 200 ft towards b
      const double tF = TurnAngle(fx, fz, x, z, qt.x, qt.z);
      const double tB = TurnAngle(bx, bz, x, z, qt.x, qt.z);
      if (Distance(b.x, b.z, fx, fz) < lenLimit && tF >= -kConnectorTurn && tF <= kConnectorTurn) {
        AddEdge(run, net, p, TruncateToInt32(fx), TruncateToInt32(fz), re.width, kConnector);
      }
      if (Distance(a.x, a.z, bx, bz) < lenLimit && tB >= -kConnectorTurn && tB <= kConnectorTurn) {
        AddEdge(run, net, p, TruncateToInt32(bx), TruncateToInt32(bz), re.width, kConnector);
      }
    }
  }
}

void MakeTaxiwayTaxiwayIntersections(GenerationRun& run, TaxiwayList& net) {
  int32_t n = 0;
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    if (net.edge(i).type == kTaxiway) ++n;
  }
  std::fprintf(Console(), "MakeTaxiwayTaxiwayIntersections() edges=%d\n", n);
  if (n > kMaxTaxiwayEdgesForCrossings) return;

  EndIndex ends(net);
  for (int32_t k = 0; k < net.edgeCount; ++k) {
    if (!IsTaxiway(net, k)) continue;
    ends.Insert(net.edge(k).from);
    ends.Insert(net.edge(k).to);
  }
  // Extents of the taxiway edges (vertices do not move in this stage); a
  // crossing 200 ft inside both edges lies in both extents.
  std::vector<Box> boxes(static_cast<size_t>(kMaxEdges));
  auto refreshBox = [&](int32_t k) {
    if (IsTaxiway(net, k)) boxes[static_cast<size_t>(k)] = EdgeBox(net, net.edge(k), kUnitsPerFoot);
  };
  for (int32_t k = 0; k < net.edgeCount; ++k) refreshBox(k);
  // The edge count grows while the loops run: appended edges are visited.
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    if (!IsTaxiway(net, i)) continue;
    for (int32_t j = 0; j < net.edgeCount && net.edgeCount + 2 < kMaxEdges; ++j) {
      if (j == i || !IsTaxiway(net, j)) continue;
      if (!boxes[static_cast<size_t>(i)].Overlaps(boxes[static_cast<size_t>(j)])) continue;
      const Edge ei = net.edge(i);
      const Edge ej = net.edge(j);
      if (ei.from == ej.from || ei.from == ej.to || ei.to == ej.from || ei.to == ej.to) continue;
      const Line li = EdgeLine(net, ei);
      const Line lj = EdgeLine(net, ej);
      double x = 0, z = 0;
      if (!li.Intersect(lj, x, z, 0)) continue;
      if (!WellInside(net, ei, li, x, z, kCrossingClearance) ||
          !WellInside(net, ej, lj, x, z, kCrossingClearance) ||
          ends.AnyCloserThan(x, z, kCrossingClearance)) {
        continue;
      }
      const int32_t v = FindOrAddVertex(net, TruncateToInt32(x), TruncateToInt32(z));
      if (v < 0) continue;
      Edge copyI = ei;
      copyI.from = v;
      AppendEdge(net, copyI);
      Edge copyJ = ej;
      copyJ.from = v;
      AppendEdge(net, copyJ);
      net.edge(i).to = v;
      net.edge(j).to = v;
      run.AddPointDegree(v, 4);
      ends.Insert(v);
      for (int32_t k : {i, j, net.edgeCount - 2, net.edgeCount - 1}) refreshBox(k);
    }
  }
}

void SnapEndPointsToTaxiways(GenerationRun& run, TaxiwayList& net) {
  std::fprintf(Console(), "SnapEndPointsToTaxiways()\n");
  // A snap needs a dead end within 150 ft of a point inside edge j: the
  // reach of every taxiway edge (other edges reach nowhere), worked out
  // again after each snap, which moves a vertex, shortens an edge and
  // appends one. The edges are tried in ascending order, as a scan of every
  // edge would try them; the index leaves out those that cannot reach.
  std::vector<Box> reach(static_cast<size_t>(kMaxEdges));
  ReachIndex index;
  auto refreshReach = [&]() {
    constexpr double kFar = std::numeric_limits<double>::infinity();
    for (int32_t k = 0; k < net.edgeCount; ++k) {
      reach[static_cast<size_t>(k)] = IsTaxiway(net, k) ? EdgeBox(net, net.edge(k), kSnapReach + kUnitsPerFoot)
                                                        : Box{kFar, kFar, -kFar, -kFar};
    }
    index.Build(reach, net.edgeCount);
  };
  refreshReach();
  std::vector<int32_t> candidates;
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    if (!IsTaxiway(net, i)) continue;
    // A snap changes edge j and appends one, never edge i; it moves a dead
    // end of edge i and makes it a dead end no more (degrees only grow
    // here, so an edge without a dead end keeps none).
    const Edge ei = net.edge(i);
    const IntPoint& f = net.vertex(ei.from);
    const IntPoint& t = net.vertex(ei.to);
    bool deadFrom = run.IsDeadEnd(ei.from);
    bool deadTo = run.IsDeadEnd(ei.to);
    if (!deadFrom && !deadTo) continue;
    index.Candidates(deadFrom ? &f : nullptr, deadTo ? &t : nullptr, candidates);
    for (size_t c = 0; c < candidates.size() && (deadFrom || deadTo);) {
      const int32_t j = candidates[c++];
      const Box& box = reach[static_cast<size_t>(j)];
      if (!(deadFrom && box.Contains(f.x, f.z)) && !(deadTo && box.Contains(t.x, t.z))) continue;
      if (j == i) continue;
      const Edge ej = net.edge(j);
      const Line li = EdgeLine(net, ei);
      const Line lj = EdgeLine(net, ej);
      double x = 0, z = 0;
      if (!li.Intersect(lj, x, z, 0)) continue;
      if (!WellInside(net, ej, lj, x, z, kSnapInside)) continue;
      const int32_t before = net.edgeCount;
      if (deadFrom) SnapTo(run, net, ei.from, x, z, j);
      if (deadTo) SnapTo(run, net, ei.to, x, z, j);
      if (net.edgeCount != before) {
        refreshReach();
        deadFrom = run.IsDeadEnd(ei.from);
        deadTo = run.IsDeadEnd(ei.to);
        // The boxes and the points have moved: the edges after j again.
        index.Candidates(deadFrom ? &f : nullptr, deadTo ? &t : nullptr, candidates);
        c = static_cast<size_t>(std::upper_bound(candidates.begin(), candidates.end(), j) - candidates.begin());
      }
    }
  }
}

}  // namespace ostrand
