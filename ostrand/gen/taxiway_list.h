// The airport network in memory, shared by the surface generation and the
// scenery text interpreter: vertices (whole feet, or 1/256 ft while the
// generation runs), edges, origin, and the polygon file beside the network
// (its line format is described in polygon_file.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/gen/line.h"
#include "ostrand/surface/texpoints.h"

namespace ostrand {

inline constexpr int32_t kMaxEdges = 6000;
inline constexpr int32_t kMaxVertices = 12000;
inline constexpr const char* kNoneSavePath = "DATA\\NONE.BGR";

// Coordinates of the polygon file are clamped to this many feet either side
// of the origin, so that the working units of the generation (feet shifted
// left by 8) and their sums stay far inside 32 bits.
inline constexpr int32_t kMaxCoordinateFeet = 1000000;

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

// A coordinate in whole feet of the polygon file, clamped to
// +-kMaxCoordinateFeet.
int32_t ClampFeet(long feet);

class TEXTURE;

class TaxiwayList {
 public:
  TaxiwayList();
  // Closes the polygon file and saves to savePath (nothing for the default).
  ~TaxiwayList();
  TaxiwayList(const TaxiwayList&) = delete;
  TaxiwayList& operator=(const TaxiwayList&) = delete;

  // Reads the network file (vertices and edges are appended; the edges'
  // vertex numbers are shifted past the vertices already held) and opens
  // the polygon file beside it: "r" when forWriting is 0, otherwise "a" if
  // it exists and "w" (with its "ORG" line) if not; a polygon file opened
  // for writing is staged and replaces the old one when the network is
  // saved. 1 when the network file was read.
  //
  // A file that could not be held whole (more than 6000 edges or 12000
  // vertices, a vertex beyond kMaxWorkingFeet, a record cut short) or that
  // exists but is no network file is reported as an error and marked to be
  // kept: Save will not replace it with less than it held. What fits is
  // still loaded (a vertex beyond the range at the range's edge).
  int Load(const std::string& name, int forWriting);
  // Writes the network (staged beside the target, which it replaces) and
  // closes the polygon file, which replaces the old one only when the
  // network was saved; no network for "DATA\NONE.BGR" or an empty one. Edges of type 0 and 1 are written, without those removed (from
  // -1), those naming missing vertices and those whose two vertices are the
  // same point. A network whose file is marked to be kept is not written,
  // nor is its polygon file. The list is cleared in every case. 1 when
  // written; each failure (reported) adds one to saveFailures.
  int Save(const std::string& name);
  // Empties the network (vertices, edges, loaded).
  void ClearNetwork();

  // 1 when the edge's two vertex numbers name vertices of the table.
  bool HasVertices(const Edge& e) const {
    return e.from >= 0 && e.from < points.count && e.to >= 0 && e.to < points.count;
  }

  // Polygon file (polygon_file.cpp).
  int OpenPly(const char* mode);
  // Closes the polygon file; one being written replaces the old one. 0 when
  // that failed.
  int ClosePly();
  // Closes the polygon file; one being written is dropped.
  void DiscardPly();
  int Rewind();
  // Next apron polygon (vertices into table, records into polygon); 1 when
  // one with at least one vertex was read. shiftMode < 0 shifts repeated
  // vertices by whole feet.
  int ReadPly(TEXPOINTS& table, TEXTURE& polygon, int shiftMode);
  // Next light string; 1 when one was read.
  int ReadLgt(int32_t& type, int32_t& x1, int32_t& z1, int32_t& x2, int32_t& z2,
              int32_t& count);

  int32_t VertexCount() const { return points.count; }

  std::string plyPath;
  std::FILE* plyFile = nullptr;
  StagedOutput plyStaged;
  // Load found a file that must not be replaced (reported).
  int32_t keepFile = 0;
  int32_t saveFailures = 0;
  std::string savePath = kNoneSavePath;
  int32_t loaded = 0;
  double originLat = 0.0;
  double originLon = 0.0;
  int32_t edgeCount = 0;
  std::vector<Edge> edges;  // kMaxEdges entries
  TEXPOINTS points{kMaxVertices};

  // Used by the scenery text interpreter only.
  double offsetZ = 0.0;
  double offsetX = 0.0;
  int32_t lineState = 0;
  int32_t tileFilter[3] = {0, -1, 0};
  Edge pending;
};

// Edge i of the network.
inline Edge& EdgeAt(TaxiwayList& net, int32_t i) { return net.edges[static_cast<size_t>(i)]; }
inline const Edge& EdgeAt(const TaxiwayList& net, int32_t i) {
  return net.edges[static_cast<size_t>(i)];
}
// The line from an edge's first vertex to its second, and its length.
Line EdgeLine(const TaxiwayList& net, const Edge& e);
double EdgeLength(const TaxiwayList& net, const Edge& e);

}  // namespace ostrand
