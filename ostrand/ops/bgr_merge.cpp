// Merge and purge of network files.
#include "ostrand/ops/bgr_merge.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "ostrand/frame/point_grid.h"
#include "ostrand/frame/report.h"
#include "ostrand/surface/texpoints.h"

namespace ostrand {
namespace {

bool IsClose(const DoublePoint& a, const DoublePoint& b, double tolerance) {
  return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

// The kept table of a purge, searched through a grid of square cells twice
// the tolerance wide. Find gives the same answer as FindOrAddPoint: the
// lowest close index. The box searched reaches a whole cell beyond the
// tolerance, so that rounding at its edges cannot leave a close entry out.
// The answer for a source vertex never changes once found (entries are
// only appended, with higher indices), so it is remembered.
class KeptTable {
 public:
  KeptTable(const DoublePointTable& source, DoublePointTable& kept, double tolerance,
            InPlaceRewrite& rewrite)
      : source_(source),
        kept_(kept),
        tolerance_(tolerance),
        cellSize_(tolerance > 0.0 ? 2.0 * tolerance : 1.0),
        rewrite_(rewrite),
        known_(static_cast<size_t>(source.count), -1),
        grid_(cellSize_) {}

  void Append(const DoublePoint& p) {
    kept_.Add(p.x, p.y, p.z, &rewrite_);
    grid_.File(kept_.count - 1, p.x, p.z);
  }

  int32_t Find(int32_t sourceIndex) {
    if (sourceIndex < 0 || sourceIndex >= source_.count) return 0;
    int32_t& known = known_[static_cast<size_t>(sourceIndex)];
    if (known >= 0) return known;
    const DoublePoint& p = source_[sourceIndex];
    int32_t best = grid_.First(p.x, p.z, tolerance_ + cellSize_,
                               [&](int32_t k) { return IsClose(kept_[k], p, tolerance_); });
    if (best < 0) {
      Append(p);
      best = kept_.count - 1;
    }
    known = best;
    return best;
  }

 private:
  const DoublePointTable& source_;
  DoublePointTable& kept_;
  double tolerance_;
  double cellSize_;
  InPlaceRewrite& rewrite_;
  std::vector<int32_t> known_;
  PointGrid grid_;
};

// Reads the vertices of a merge source into the point table as whole feet;
// each vertex that does not fit is reported. Returns the number read.
int32_t ReadMergeVertices(BgrFile& in, const char* name, TEXPOINTS& points, int& result) {
  int32_t read = 0;
  double x = 0.0, y = 0.0, z = 0.0;
  while (in.ReadNode(x, y, z)) {
    if (points.count < points.capacity) {
      points.Add(WholeFeet(x), WholeFeet(y), WholeFeet(z), -1);
    } else {
      result = 0;
      ReportError("BgrMerge too many nodes in %s", name);
    }
    ++read;
  }
  return read;
}

}  // namespace

int32_t FindOrAddPoint(int32_t sourceIndex, const DoublePoint* source, int32_t sourceCount,
                       DoublePoint* kept, int32_t& keptCount, double tolerance,
                       int32_t keptCapacity) {
  if (sourceIndex < 0 || sourceIndex >= sourceCount) return 0;
  const DoublePoint& p = source[sourceIndex];
  for (int32_t k = 0; k < keptCount; ++k) {
    if (IsClose(kept[k], p, tolerance)) return k;
  }
  insert_double_points(kept, keptCount, p.x, p.y, p.z, keptCapacity);
  return keptCount - 1;
}

int BgrMerge(const char* file, const char* file2) {
  InPlaceRewrite rewrite("BgrMerge");
  TEXPOINTS points(kMergeCapacity);
  int result = 1;
  BgrFile in;
  BgrFile in2;
  if (!rewrite.OpenSource(in, file)) result = 0;
  if (!rewrite.OpenSource(in2, file2)) result = 0;
  if (!rewrite.OpenTemp(file2)) result = 0;
  if (result && !rewrite.CopyOrigin(in2, file2)) result = 0;
  if (result && !rewrite.SkipOrigin(in, file)) result = 0;
  if (result) {
    const int32_t shift = ReadMergeVertices(in2, file2, points, result);
    ReadMergeVertices(in, file, points, result);
    BgrFile& out = rewrite.Temp();
    out.WriteNodes(points);
    BgrEdge edge;
    while (in2.ReadEdge(edge)) out.WriteEdge(edge);
    while (in.ReadEdge(edge)) {
      // End numbers are 32-bit fields: the shifted value wraps as stored.
      edge.from = static_cast<int32_t>(static_cast<uint32_t>(edge.from) + static_cast<uint32_t>(shift));
      edge.to = static_cast<int32_t>(static_cast<uint32_t>(edge.to) + static_cast<uint32_t>(shift));
      out.WriteEdge(edge);
    }
    if (!rewrite.CheckWhole(in2, file2) || !rewrite.CheckWhole(in, file)) result = 0;
  }
  in.Close();
  in2.Close();
  return rewrite.Finish(result);
}

int BgrPurge(const char* file) {
  InPlaceRewrite rewrite("BgrPurge");
  DoublePointTable source;
  DoublePointTable kept;
  // The kept table holds (0, 0, 0) and at most every source vertex.
  if (!source.Allocate() || !kept.Allocate(kMaxDoublePoints + 1)) {
    FatalError("BgrPurge cannot allocate points");
  }
  int result = 1;
  BgrFile in;
  if (!rewrite.OpenSource(in, file)) result = 0;
  if (!rewrite.OpenTemp(file)) result = 0;
  if (result && !rewrite.CopyOrigin(in, file)) result = 0;
  if (result) {
    double x = 0.0, y = 0.0, z = 0.0;
    while (in.ReadNode(x, y, z)) source.Add(x, y, z, &rewrite);
    KeptTable table(source, kept, kPurgeTolerance, rewrite);
    table.Append(DoublePoint{0.0, 0.0, 0.0});
    const long edgesStart = in.Tell();
    if (edgesStart < 0) result = 0;
    BgrEdge edge;
    while (result && in.ReadEdge(edge)) {
      table.Find(edge.from);
      table.Find(edge.to);
    }
    BgrFile& out = rewrite.Temp();
    for (int32_t k = 0; k < kept.count; ++k) out.WriteNode(kept[k].x, kept[k].y, kept[k].z);
    if (result && !in.Seek(edgesStart)) result = 0;
    BgrEdge again;
    while (result && in.ReadEdge(again)) {
      const int32_t from = table.Find(again.from);
      const int32_t to = table.Find(again.to);
      out.WriteEdge(from, to, again.width, again.type, again.code, again.sp);
    }
    if (!rewrite.CheckWhole(in, file)) result = 0;
  }
  in.Close();
  return rewrite.Finish(result);
}

}  // namespace ostrand
