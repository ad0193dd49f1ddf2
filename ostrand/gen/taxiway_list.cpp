// The airport network in memory: reading and writing the network file.
#include "ostrand/gen/taxiway_list.h"

#include <cmath>
#include <cstdio>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"

namespace ostrand {

TaxiwayList::TaxiwayList() : edges(static_cast<size_t>(kMaxEdges)) {}

void TaxiwayList::ClearNetwork() {
  points.count = 0;
  edgeCount = 0;
  loaded = 0;
  keepFile = 0;
}

Line EdgeLine(const TaxiwayList& net, const Edge& e) {
  return LineOf(net.vertex(e.from), net.vertex(e.to));
}

double EdgeLength(const TaxiwayList& net, const Edge& e) {
  const IntPoint& a = net.vertex(e.from);
  const IntPoint& b = net.vertex(e.to);
  return Distance(a.x, a.z, b.x, b.z);
}

namespace {

// A coordinate read from a network file, and whether it lies within the
// working range (beyond it, it is held at the range's edge).
int32_t NetworkFeet(double feet, bool& inRange) {
  if (!(std::fabs(feet) < kMaxWorkingFeet + 1.0)) {  // also NaN
    inRange = false;
    if (std::isnan(feet)) return 0;
    return feet > 0 ? kMaxWorkingFeet : -kMaxWorkingFeet;
  }
  return static_cast<int32_t>(feet);  // truncation toward zero
}

}  // namespace

int TaxiwayList::Load(const std::string& name) {
  int result = 0;
  const char* problem = nullptr;
  BgrFile file;
  if (FileExists(name) && file.OpenRead(name)) {
    double elevation = 0.0;
    file.ReadOrigin(originLat, originLon, elevation);
    // Vertex numbers of the file count from the first vertex read here.
    const int32_t base = points.count;
    double x = 0.0, y = 0.0, z = 0.0;
    // Vertices beyond the table are read past (not kept), so that the
    // edges behind them are still found.
    bool inRange = true;
    bool tooMany = false;
    while (file.ReadNode(x, y, z)) {
      if (points.count >= kMaxVertices) {
        tooMany = true;
        continue;
      }
      const int32_t fx = NetworkFeet(x, inRange);
      const int32_t fy = NetworkFeet(y, inRange);
      points.Add(fx, fy, NetworkFeet(z, inRange), -1);
    }
    if (tooMany) problem = "holds more than 12000 vertices";
    if (!inRange) problem = "has a vertex too far from its origin";
    BgrEdge e;
    while (file.ReadEdge(e)) {
      if (edgeCount >= kMaxEdges) {
        problem = "holds more than 6000 edges";
        continue;
      }
      Edge& out = edge(edgeCount);
      // Shift only sound vertex numbers: others stay out of range.
      auto shift = [base](int32_t v) { return v >= 0 && v < kMaxVertices ? v + base : v; };
      out.from = shift(e.from);
      out.to = shift(e.to);
      out.width = e.width;
      out.type = e.type;
      out.flags = e.sp;
      ++edgeCount;
    }
    if (file.Damaged()) problem = "has a damaged record";
    file.Close();
    loaded = 1;
    result = 1;
  } else if (platform::PathExists(name)) {
    problem = "is not a network file";
  }
  if (problem != nullptr) {
    keepFile = 1;
    ReportError("TaxiwayList::Load(%s) %s, left unchanged", name.c_str(), problem);
  }
  return result;
}

int TaxiwayList::Save(const std::string& name) {
  if (keepFile) {
    ++saveFailures;
    ClearNetwork();
    return 0;
  }
  if (points.count < 1 || edgeCount < 1 || name == kNoneSavePath) {
    ClearNetwork();
    return 0;
  }

  BgrFile file;
  int written = 0;
  if (file.OpenWrite(name)) {
    file.WriteOrigin(originLat, originLon, 0.0);
    file.WriteNodes(points);
    for (int32_t i = 0; i < edgeCount; ++i) {
      const Edge& e = edge(i);
      if (e.from == -1 || !HasVertices(e)) continue;
      const IntPoint& a = vertex(e.from);
      const IntPoint& b = vertex(e.to);
      if (Equals(a, b.x, b.y, b.z)) continue;
      file.WriteEdge(e.from, e.to, e.width, e.type, 0, e.flags);
    }
    written = file.Close();
  }
  if (!written) {
    ReportError("TaxiwayList::Save(%s) failed", name.c_str());
    ++saveFailures;
  }
  ClearNetwork();
  return written;
}

}  // namespace ostrand
