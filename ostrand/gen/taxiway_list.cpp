// The airport network in memory: reading and writing the network file.
#include "ostrand/gen/taxiway_list.h"

#include <cmath>
#include <cstdio>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"

namespace ostrand {

int32_t ClampFeet(double feet) {
  if (std::isnan(feet)) return 0;
  if (feet >= kMaxCoordinateFeet) return kMaxCoordinateFeet;
  if (feet <= -kMaxCoordinateFeet) return -kMaxCoordinateFeet;
  return static_cast<int32_t>(feet);  // in range: truncation toward zero
}

int32_t ClampFeet(long feet) {
  if (feet >= kMaxCoordinateFeet) return kMaxCoordinateFeet;
  if (feet <= -kMaxCoordinateFeet) return -kMaxCoordinateFeet;
  return static_cast<int32_t>(feet);
}

TaxiwayList::TaxiwayList() : edges(static_cast<size_t>(kMaxEdges)) {}

TaxiwayList::~TaxiwayList() {
  ClosePly();
  Save(savePath);
}

void TaxiwayList::ClearNetwork() {
  points.count = 0;
  edgeCount = 0;
  loaded = 0;
}

int TaxiwayList::Load(const std::string& name, int forWriting) {
  int result = 0;
  BgrFile file;
  if (FileExists(name) && file.OpenRead(name)) {
    double elevation = 0.0;
    file.ReadOrigin(originLat, originLon, elevation);
    // Vertex numbers of the file count from the first vertex read here.
    const int32_t base = points.count;
    double x = 0.0, y = 0.0, z = 0.0;
    // Vertices beyond the table are read past (not kept), so that the
    // edges behind them are still found.
    while (file.ReadNode(x, y, z)) {
      if (points.count < kMaxVertices) points.Add(ClampFeet(x), ClampFeet(y), ClampFeet(z), -1);
    }
    for (;;) {
      BgrEdge e;
      if (edgeCount >= kMaxEdges || !file.ReadEdge(e)) break;
      Edge& out = edges[static_cast<size_t>(edgeCount)];
      // Shift only sound vertex numbers: others stay out of range.
      auto shift = [base](int32_t v) { return v >= 0 && v < kMaxVertices ? v + base : v; };
      out.from = shift(e.from);
      out.to = shift(e.to);
      out.width = e.width;
      out.type = e.type;
      out.flags = e.sp;
      ++edgeCount;
    }
    file.Close();
    loaded = 1;
    result = 1;
  }
  plyPath = ReplaceExtension(name, "PLY");
  if (forWriting == 0) {
    OpenPly("r");
  } else {
    OpenPly(FileExists(plyPath) ? "a" : "w");
  }
  return result;
}

int TaxiwayList::Save(const std::string& name) {
  ClosePly();
  if (points.count < 1 || edgeCount < 1 || name == kNoneSavePath) {
    ClearNetwork();
    lineState = 0;
    return 0;
  }

  // Written beside the target first, so that the target is either the old
  // network or the whole new one, never a part.
  const std::string target = platform::ResolvePath(name);
  const std::string temp = target + ".part";
  int result = 0;
  {
    BgrFile file;
    if (file.OpenWrite(temp)) {
      file.WriteOrigin(originLat, originLon, 0.0);
      file.WriteNodes(points);
      for (int32_t i = 0; i < edgeCount; ++i) {
        const Edge& e = edges[static_cast<size_t>(i)];
        if (e.from == -1 || !HasVertices(e)) continue;
        const IntPoint& a = points[e.from];
        if (Equals(a, points[e.to].x, points[e.to].y, points[e.to].z)) continue;
        file.WriteEdge(e.from, e.to, e.width, e.type, 0, e.flags);
      }
      if (file.Close() && platform::ReplaceFile(temp, target)) {
        result = 1;
      } else {
        ReportError("TaxiwayList::Save(%s) failed", name.c_str());
      }
    } else {
      ReportError("TaxiwayList::Save(%s) failed", name.c_str());
    }
  }
  if (result == 0) platform::RemoveFile(temp);
  ClearNetwork();
  lineState = 0;
  return result;
}

}  // namespace ostrand
