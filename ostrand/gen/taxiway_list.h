// The airport network in memory, shared by the surface generation and the
// scenery text interpreter: vertices (whole feet, or 1/256 ft while the
// generation runs), edges and origin, read from and written to a network
// file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ostrand/gen/line.h"
#include "ostrand/surface/texpoints.h"

namespace ostrand {

inline constexpr int32_t kMaxEdges = 6000;
inline constexpr int32_t kMaxVertices = 12000;
inline constexpr const char* kNoneSavePath = "DATA\\NONE.BGR";

// The largest distance from the origin, in feet, that the working units of
// the generation can hold. A network with a vertex beyond it is not saved.
inline constexpr int32_t kMaxWorkingFeet = INT32_MAX / 256;

// Edge types.
inline constexpr int32_t kRunway = 0;
inline constexpr int32_t kTaxiway = 1;
inline constexpr int32_t kConnector = 100;
inline constexpr int32_t kStub = 101;
inline constexpr int32_t kCentreLineOnly = 102;

// Edge flag bits.
inline constexpr int32_t kFlagPavement = 1;
inline constexpr int32_t kFlagCentreLine = 2;
inline constexpr int32_t kFlagCentreLights = 4;
inline constexpr int32_t kFlagEdgeLights = 8;

struct Edge {
  int32_t from = 0;
  int32_t to = 0;
  int32_t width = 0;
  int32_t type = 0;
  int32_t flags = 0;
};

class TaxiwayList {
 public:
  TaxiwayList();
  TaxiwayList(const TaxiwayList&) = delete;
  TaxiwayList& operator=(const TaxiwayList&) = delete;

  // Reads the network file (vertices and edges are appended; the edges'
  // vertex numbers are shifted past the vertices already held). 1 when the
  // network file was read.
  //
  // A file that could not be held whole (more than 6000 edges or 12000
  // vertices, a vertex beyond kMaxWorkingFeet, a record cut short) or that
  // exists but is no network file is reported as an error and marked to be
  // kept: Save will not replace it with less than it held. What fits is
  // still loaded (a vertex beyond the range at the range's edge).
  int Load(const std::string& name);
  // Writes the network (staged beside the target, which it replaces); no
  // network for "DATA\NONE.BGR" or an empty one. Edges of type 0 and 1 are
  // written, without those removed (from -1), those naming missing vertices
  // and those whose two vertices are the same point. A network whose file
  // is marked to be kept is not written. The list is cleared in every case.
  // 1 when written; each failure (reported when it happens) adds one to
  // saveFailures.
  int Save(const std::string& name);
  // Empties the network (vertices, edges, loaded).
  void ClearNetwork();

  // 1 when the edge's two vertex numbers name vertices of the table.
  bool HasVertices(const Edge& e) const {
    return e.from >= 0 && e.from < points.count && e.to >= 0 && e.to < points.count;
  }

  int32_t VertexCount() const { return points.count; }

  // Edge i of the table (0 <= i < kMaxEdges) and vertex v.
  Edge& edge(int32_t i) { return edges[static_cast<size_t>(i)]; }
  const Edge& edge(int32_t i) const { return edges[static_cast<size_t>(i)]; }
  IntPoint& vertex(int32_t v) { return points[v]; }
  const IntPoint& vertex(int32_t v) const { return points[v]; }

  // Load found a file that must not be replaced (reported).
  int32_t keepFile = 0;
  int32_t saveFailures = 0;
  int32_t loaded = 0;
  double originLat = 0.0;
  double originLon = 0.0;
  int32_t edgeCount = 0;
  std::vector<Edge> edges;  // kMaxEdges entries
  TEXPOINTS points{kMaxVertices};
};

// The line from an edge's first vertex to its second, and its length.
Line EdgeLine(const TaxiwayList& net, const Edge& e);
double EdgeLength(const TaxiwayList& net, const Edge& e);

}  // namespace ostrand
