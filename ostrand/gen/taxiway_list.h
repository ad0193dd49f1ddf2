// The airport network in memory, shared by the surface generation and the
// scenery text interpreter: vertices (whole feet, or 1/256 ft while the
// generation runs), edges, origin, and the polygon file beside the network.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ostrand/surface/texpoints.h"

namespace ostrand {

inline constexpr int32_t kMaxEdges = 6000;
inline constexpr int32_t kMaxVertices = 12000;
inline constexpr const char* kNoneSavePath = "DATA\\NONE.BGR";

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

class TEXTURE;

class TaxiwayList {
 public:
  TaxiwayList();
  ~TaxiwayList();
  TaxiwayList(const TaxiwayList&) = delete;
  TaxiwayList& operator=(const TaxiwayList&) = delete;

  // Reads the network file and opens the polygon file beside it ("r" for
  // the generation; "a" or "w" with its "ORG" line for the interpreter).
  int Load(const std::string& name, int forWriting);
  // Closes the polygon file and writes the network (through a temporary
  // file and a rename); nothing for "DATA\NONE.BGR" or an empty network.
  // The list is cleared in every case.
  int Save(const std::string& name);
  // Empties the network (vertices, edges, loaded).
  void ClearNetwork();

  // Polygon file.
  int OpenPly(const char* mode);
  void ClosePly();
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

}  // namespace ostrand
