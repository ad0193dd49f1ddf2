// Taxiway surfaces: segment quads, joints, fillets, centre lines, lights.
#include "ostrand/gen/taxiway_polygons.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "ostrand/frame/point_hash.h"
#include "ostrand/gen/line.h"
#include "ostrand/gen/segment_list.h"
#include "ostrand/gen/tile_clipping.h"
#include "ostrand/gen/working_units.h"

namespace ostrand {
namespace {

constexpr double kJunctionTrim = 38400;       // 150 ft
constexpr double kShortestPavement = 6400;    // 25 ft, also the fillet step
constexpr double kCentreLineWidth = 256;      // 1 ft
constexpr double kYellowHalfWidth = 128;      // 0.5 ft
constexpr double kEdgeLightMinLength = 76800; // 300 ft
constexpr double kStraightTurn = DegreesToRadians(20.0);
constexpr double kNoJoinTurn = DegreesToRadians(150.0);
constexpr double kCrowdedTurn = DegreesToRadians(105.0);
constexpr double kBusyTurn = DegreesToRadians(100.0);
constexpr double kFilletAngle = DegreesToRadians(30.0);
constexpr int32_t kMinFilletSteps = 1;
constexpr int32_t kMaxFilletSteps = 25;
constexpr int32_t kMinLitFilletSteps = 7;
constexpr int32_t kEdgeLightType = 256;  // light type 1 in the attribute word
constexpr int32_t kJointTableSize = 6000;

PlanePoint Flat(const IntPoint& p) { return {p.x, p.z}; }

IntPoint Point(double x, double z) { return {TruncateToInt32(x), 0, TruncateToInt32(z)}; }

IntPoint Midpoint(const IntPoint& a, const IntPoint& b) {
  return {ClampToInt32((int64_t{a.x} + b.x) / 2), 0, ClampToInt32((int64_t{a.z} + b.z) / 2)};
}

double DistanceOf(const IntPoint& a, const IntPoint& b) { return Distance(a.x, a.z, b.x, b.z); }

// The point d along P -> Q (callers make sure P and Q are apart).
IntPoint PointAlong(const IntPoint& p, const IntPoint& q, double d) {
  const double len = DistanceOf(p, q);
  return Point(p.x + (q.x - p.x) * d / len, p.z + (q.z - p.z) * d / len);
}

void AddLights(GenerationRun& run, const IntPoint& a, const IntPoint& b, int32_t attribute) {
  AddLightLine(run, kLightsLayer, a.x, a.z, b.x, b.z, attribute);
}

// Corners of one segment seen from a joint: inner and outer side, near and
// far from the joint.
struct JointCorners {
  IntPoint innerNear, innerFar, outerNear, outerFar;
};

class TaxiPolygonBuilder {
 public:
  TaxiPolygonBuilder(GenerationRun& run, const TaxiwayList& net)
      : run_(run),
        net_(net),
        segments_(run.taxiways),
        visited_(static_cast<size_t>(segments_.count), 0) {
    // Segments by vertex, in list order, for the neighbour scan: those of
    // vertex v are atVertex_[firstAt_[v] .. firstAt_[v + 1]), counted first,
    // then filed.
    firstAt_.assign(static_cast<size_t>(net.points.count) + 1, 0);
    for (int32_t s = 0; s < segments_.count; ++s) {
      const int32_t edge = segments_.entries[static_cast<size_t>(s)].edge;
      if (edge < 0 || edge >= net.edgeCount || !net.HasVertices(EdgeOf(s))) {
        visited_[static_cast<size_t>(s)] = 1;  // nothing to build from
        continue;
      }
      const Edge& e = EdgeOf(s);
      ++firstAt_[static_cast<size_t>(e.from) + 1];
      if (e.to != e.from) ++firstAt_[static_cast<size_t>(e.to) + 1];
    }
    for (size_t v = 1; v < firstAt_.size(); ++v) firstAt_[v] += firstAt_[v - 1];
    atVertex_.resize(static_cast<size_t>(firstAt_.back()));
    std::vector<int32_t> filed(firstAt_.begin(), firstAt_.end() - 1);
    for (int32_t s = 0; s < segments_.count; ++s) {
      if (visited_[static_cast<size_t>(s)]) continue;  // not filed above
      const Edge& e = EdgeOf(s);
      atVertex_[static_cast<size_t>(filed[static_cast<size_t>(e.from)]++)] = s;
      if (e.to != e.from) atVertex_[static_cast<size_t>(filed[static_cast<size_t>(e.to)]++)] = s;
    }
  }

  void Run() {
    for (int32_t i = 0; i < segments_.count; ++i) ProcessSegment(i);
  }

 private:
  // Where the walk stands with the current neighbour j of segment i: the
  // test whether j meets i's to end, the joint there, then the same at i's
  // from end.
  enum class WalkStep { kTestTo, kJoinTo, kTestFrom, kJoinFrom };

  // The frames of the walk form a stack, and so do their neighbour lists:
  // a frame's list is neighbours_[first .. end), dropped with the frame.
  struct Frame {
    int32_t segment;
    size_t first = 0, end = 0;  // other segments at either end, in list order
    size_t next = 0;            // the current one, first <= next
    WalkStep step = WalkStep::kTestTo;
    int endJ = 0;
  };

  // Past one end of the current neighbour: on to its test at the from end,
  // or from there to the next neighbour.
  static void PassEnd(Frame& frame, bool atTo) {
    if (atTo) {
      frame.step = WalkStep::kTestFrom;
    } else {
      frame.step = WalkStep::kTestTo;
      ++frame.next;
    }
  }

  const Edge& EdgeOf(int32_t s) const {
    return net_.edge(segments_.entries[static_cast<size_t>(s)].edge);
  }
  const IntPoint& Vertex(int32_t v) const { return net_.vertex(v); }

  // Builds the segment's quad and puts its frame on the stack.
  void Enter(int32_t s) {
    BuildSegmentQuad(s);
    visited_[static_cast<size_t>(s)] = 1;
    const Edge& e = EdgeOf(s);
    Frame frame;
    frame.segment = s;
    frame.first = frame.next = neighbours_.size();
    const auto at = [this](size_t v) { return atVertex_.data() + firstAt_[v]; };
    const size_t to = static_cast<size_t>(e.to), from = static_cast<size_t>(e.from);
    std::set_union(at(to), at(to + 1), at(from), at(from + 1), std::back_inserter(neighbours_));
    neighbours_.erase(std::remove(neighbours_.begin() + static_cast<std::ptrdiff_t>(frame.first),
                                  neighbours_.end(), s),
                      neighbours_.end());
    frame.end = neighbours_.size();
    stack_.push_back(frame);
  }

  // For every other segment j in list order: a joint at segment i's to end
  // (segment j completed first), then one at its from end.
  void ProcessSegment(int32_t root) {
    if (visited_[static_cast<size_t>(root)]) return;
    Enter(root);
    while (!stack_.empty()) {
      Frame& frame = stack_.back();
      if (frame.next >= frame.end) {
        neighbours_.resize(frame.first);
        stack_.pop_back();
        continue;
      }
      const int32_t i = frame.segment;
      const int32_t j = neighbours_[frame.next];
      const Edge& ei = EdgeOf(i);
      const Edge& ej = EdgeOf(j);
      const bool atTo = frame.step == WalkStep::kTestTo || frame.step == WalkStep::kJoinTo;
      const int32_t shared = atTo ? ei.to : ei.from;
      if (frame.step == WalkStep::kTestTo || frame.step == WalkStep::kTestFrom) {
        const int endJ = shared == ej.from ? 1 : shared == ej.to ? 0 : -1;
        if (endJ < 0) {
          PassEnd(frame, atTo);
          continue;
        }
        frame.endJ = endJ;
        frame.step = atTo ? WalkStep::kJoinTo : WalkStep::kJoinFrom;
        if (!visited_[static_cast<size_t>(j)]) Enter(j);  // invalidates `frame`
        continue;
      }
      BuildJoint(i, j, atTo ? 0 : 1, frame.endJ);
      PassEnd(frame, atTo);
    }
  }

  void BuildSegmentQuad(int32_t s) {
    Segment& seg = segments_.entries[static_cast<size_t>(s)];
    const Edge& e = EdgeOf(s);
    if (e.type == kStub || e.type == kCentreLineOnly) return;
    const double halfWidth = e.width / 2.0;
    double trimStart = run_.PointDegree(e.from) != 1 ? kJunctionTrim : 0;
    double trimEnd = run_.PointDegree(e.to) != 1 ? kJunctionTrim : 0;
    Line line = seg.line;
    if ((trimStart != 0 || trimEnd != 0) && line.length > kShortestPavement) {
      const double spare = line.length - kShortestPavement;
      if (line.length - (trimStart + trimEnd) < kShortestPavement) {
        if (trimStart == 0) {
          trimEnd = spare;
        } else if (trimEnd != 0) {
          trimStart = trimEnd = spare / 2;
        } else {
          trimStart = spare;
        }
      }
      line.Extend(-trimStart, -trimEnd);
    }
    Line left = line;
    left.ShiftSideways(halfWidth);
    Line right = line;
    right.ShiftSideways(-halfWidth);
    seg.corners[0] = Point(left.x1, left.z1);
    seg.corners[1] = Point(right.x1, right.z1);
    seg.corners[2] = Point(right.x2, right.z2);
    seg.corners[3] = Point(left.x2, left.z2);

    // A connector is not paved, nor is a segment without width; edge lights
    // need pavement and a junction at both ends.
    PieceStyle style = StyleOf(e.flags);
    style.pave = style.pave && e.type != kConnector && halfWidth != 0;
    style.edgeLights = style.pave && style.edgeLights && run_.PointDegree(e.from) > 1 &&
                       run_.PointDegree(e.to) > 1;
    EmitPiece(run_, style, LightStep::kStraight, seg.corners[3], seg.corners[2], seg.corners[1],
              seg.corners[0]);
  }

  // Records the pair; false when a joint of the two exists already. A full
  // table lets the joint be built unrecorded.
  bool RecordJoint(int32_t i, int32_t j) {
    const JointPair pair{std::min(i, j), std::max(i, j)};
    const size_t recorded = joints_.size();
    const int32_t number = jointIndex_.FindOrFile(pair.x, pair.z, JointAt{joints_}, [&] {
      if (static_cast<int32_t>(recorded) >= kJointTableSize) return -1;
      joints_.push_back(pair);
      return static_cast<int32_t>(recorded);
    });
    return number < 0 || joints_.size() != recorded;
  }

  // Which corners of segment s face the joint at C: inner ones on `side` of
  // line `fromShared`; near ones at the end of the segment that lies at the
  // joint (`nearAtStart` tells which end wins a tie).
  JointCorners CornersAt(int32_t s, const Line& fromShared, int side, double cx, double cz,
                         bool startWinsTies) const {
    const IntPoint* c = segments_.entries[static_cast<size_t>(s)].corners;
    const bool leftInner = fromShared.SideOf(c[0].x, c[0].z) == side;
    const IntPoint& innerStart = leftInner ? c[0] : c[1];
    const IntPoint& innerEnd = leftInner ? c[3] : c[2];
    const IntPoint& outerStart = leftInner ? c[1] : c[0];
    const IntPoint& outerEnd = leftInner ? c[2] : c[3];
    const double dStart = Distance(innerStart.x, innerStart.z, cx, cz);
    const double dEnd = Distance(innerEnd.x, innerEnd.z, cx, cz);
    const bool startNear = startWinsTies ? !(dEnd < dStart) : dStart < dEnd;
    if (startNear) return {innerStart, innerEnd, outerStart, outerEnd};
    return {innerEnd, innerStart, outerEnd, outerStart};
  }

  void BuildJoint(int32_t i, int32_t j, int endI, int endJ) {
    if (!RecordJoint(i, j)) return;
    const Edge& ei = EdgeOf(i);
    const Edge& ej = EdgeOf(j);
    if (ei.type == kStub || ei.type == kCentreLineOnly || ej.type == kStub ||
        ej.type == kCentreLineOnly || (ei.type == kConnector && ej.type == kConnector)) {
      return;
    }
    const int32_t s = endI == 0 ? ei.to : ei.from;
    const int32_t a = endI == 0 ? ei.from : ei.to;
    const int32_t b = endJ == 1 ? ej.to : ej.from;
    const IntPoint& S = Vertex(s);
    const IntPoint& A = Vertex(a);
    const IntPoint& B = Vertex(b);
    const Segment& segI = segments_.entries[static_cast<size_t>(i)];
    const Segment& segJ = segments_.entries[static_cast<size_t>(j)];

    // A joint carries what either segment asks for; edge lights only where
    // two long segments, neither a connector, meet and nothing else does.
    PieceStyle style = StyleOf(ei.flags | ej.flags);
    style.edgeLights = style.edgeLights && run_.PointDegree(s) == 2 && ei.type != kConnector &&
                       ej.type != kConnector && segI.line.length >= kEdgeLightMinLength &&
                       segJ.line.length >= kEdgeLightMinLength;
    const Line li = LineOf(S, A);
    const Line lj = LineOf(S, B);
    const double turn = TurnAngle(A.x, A.z, S.x, S.z, B.x, B.z);

    // The inner side is the side of the bend's bisector.
    int sideI = 1, sideJ = 1;
    double cx = S.x, cz = S.z;
    Line bisector;
    if (bisector.Bisector(li, lj, 0)) {
      cx = bisector.x1;
      cz = bisector.z1;
      sideI = li.SideOf(bisector.x2, bisector.z2);
      sideJ = lj.SideOf(bisector.x2, bisector.z2);
    }
    // Segment i: its end corners are near unless its start is strictly
    // nearer; segment j the other way round.
    const JointCorners ci = CornersAt(i, li, sideI, cx, cz, false);
    const JointCorners cj = CornersAt(j, lj, sideJ, cx, cz, true);

    if (turn < -kStraightTurn || turn > kStraightTurn) {
      if (turn < -kNoJoinTurn || turn > kNoJoinTurn) return;
      if (turn < -kCrowdedTurn || turn > kCrowdedTurn) {
        if (segI.line.DistanceToLine(B.x, B.z) <= ei.width ||
            segJ.line.DistanceToLine(A.x, A.z) <= ej.width) {
          return;
        }
      }
      if ((turn < -kBusyTurn || turn > kBusyTurn) && run_.PointDegree(s) > 2) return;
      const Line l1 = LineOf(ci.innerFar, ci.innerNear);
      const Line l2 = LineOf(ci.outerFar, ci.outerNear);
      const Line l3 = LineOf(cj.innerNear, cj.innerFar);
      const Line l4 = LineOf(cj.outerNear, cj.outerFar);
      double inX = 0, inZ = 0, outX = 0, outZ = 0;
      if (l1.Intersect(l3, inX, inZ, kFilletAngle) && l2.Intersect(l4, outX, outZ, kFilletAngle)) {
        BuildFillet(run_, style, ci.outerNear, Point(outX, outZ), cj.outerNear, ci.innerNear,
                    Point(inX, inZ), cj.innerNear);
        return;
      }
    }
    EmitPiece(run_, style, LightStep::kJoint, ci.innerNear, ci.outerNear, cj.outerNear,
              cj.innerNear);
  }

  GenerationRun& run_;
  const TaxiwayList& net_;
  SegmentList& segments_;
  std::vector<uint8_t> visited_;
  std::vector<int32_t> firstAt_, atVertex_;
  std::vector<Frame> stack_;
  std::vector<int32_t> neighbours_;
  // The joints built, each pair of segments (lower, higher) filed in the
  // hash as the point (x, z).
  struct JointPair {
    int32_t x, z;
  };
  struct JointAt {
    const std::vector<JointPair>& joints;
    const JointPair& operator()(int32_t n) const { return joints[static_cast<size_t>(n)]; }
  };
  std::vector<JointPair> joints_;
  PointHash jointIndex_;
};

}  // namespace

PieceStyle StyleOf(int32_t flags) {
  PieceStyle style;
  style.pave = (flags & kFlagPavement) != 0;
  style.centreLine = (flags & kFlagCentreLine) != 0;
  style.centreLights = (flags & kFlagCentreLights) != 0;
  style.edgeLights = (flags & kFlagEdgeLights) != 0;
  return style;
}

void EmitPiece(GenerationRun& run, const PieceStyle& style, LightStep step, IntPoint p1,
               IntPoint p2, IntPoint p3, IntPoint p4) {
  if (style.pave) AddQuad(run, kPavementLayer, Flat(p1), Flat(p2), Flat(p3), Flat(p4));
  if (style.centreLine) {
    // A strip 1 ft wide across the middle of both cross-sections.
    const double offA = (DistanceOf(p1, p2) - kCentreLineWidth) / 2;
    const double offB = (DistanceOf(p3, p4) - kCentreLineWidth) / 2;
    if (offA > 0 && offB > 0) {
      AddQuad(run, kCentreLayer, Flat(PointAlong(p1, p2, offA)),
              Flat(PointAlong(p1, p2, offA + kCentreLineWidth)), Flat(PointAlong(p3, p4, offB)),
              Flat(PointAlong(p3, p4, offB + kCentreLineWidth)));
    }
  }
  const int32_t feet = static_cast<int32_t>(step);
  if (style.centreLights) AddLights(run, Midpoint(p1, p2), Midpoint(p3, p4), feet);
  if (style.edgeLights) {
    AddLights(run, p1, p4, kEdgeLightType + feet);
    AddLights(run, p2, p3, kEdgeLightType + feet);
  }
}

int32_t BuildFillet(GenerationRun& run, const PieceStyle& style, IntPoint p1, IntPoint p2,
                    IntPoint p3, IntPoint p4, IntPoint p5, IntPoint p6) {
  // Length of the centre path between the two curves.
  const double m1x = (p1.x + static_cast<double>(p4.x)) / 2, m1z = (p1.z + static_cast<double>(p4.z)) / 2;
  const double m2x = (p2.x + static_cast<double>(p5.x)) / 2, m2z = (p2.z + static_cast<double>(p5.z)) / 2;
  const double m3x = (p3.x + static_cast<double>(p6.x)) / 2, m3z = (p3.z + static_cast<double>(p6.z)) / 2;
  const double len = Distance(m1x, m1z, m2x, m2z) + Distance(m2x, m2z, m3x, m3z);
  const double steps = std::clamp(len / kShortestPavement, 0.0, 1.0e6);
  const int32_t n = std::clamp(static_cast<int32_t>(steps), kMinFilletSteps, kMaxFilletSteps);
  // Lights on every second step; edge lights only on a fillet long enough.
  PieceStyle lit = style;
  if (n < kMinLitFilletSteps) lit.edgeLights = false;
  PieceStyle unlit = style;
  unlit.centreLights = unlit.edgeLights = false;
  IntPoint prevOuter = p1, prevInner = p4;
  for (int32_t k = 0; k <= n; ++k) {
    const double t = k == n ? 1.0 : static_cast<double>(k) / n;
    const IntPoint outer = Bezier(p1, p2, p3, t);
    const IntPoint inner = Bezier(p4, p5, p6, t);
    if (k > 0) {
      EmitPiece(run, k % 2 == 0 ? lit : unlit, LightStep::kJoint, prevInner, prevOuter, outer,
                inner);
    }
    prevOuter = outer;
    prevInner = inner;
  }
  return n;
}

void GenerateTaxiPolygons(GenerationRun& run, const TaxiwayList& net) {
  TaxiPolygonBuilder builder(run, net);
  builder.Run();
}

void GenerateIsYellow(GenerationRun& run, int32_t x1, int32_t z1, int32_t x2, int32_t z2) {
  if (x1 == x2 && z1 == z2) return;
  Line a;
  a.Set(x1, z1, x2, z2);
  Line b = a;
  a.ShiftSideways(kYellowHalfWidth);
  b.ShiftSideways(-kYellowHalfWidth);
  AddQuad(run, kCentreLayer, {TruncateToInt32(b.x1), TruncateToInt32(b.z1)},
          {TruncateToInt32(a.x1), TruncateToInt32(a.z1)},
          {TruncateToInt32(a.x2), TruncateToInt32(a.z2)},
          {TruncateToInt32(b.x2), TruncateToInt32(b.z2)});
}

}  // namespace ostrand
