// One surface generation run ("ostrand -tm"): what its stages share from
// the network's load to the surface file. The segment lists, the vertex
// degrees that tell dead ends from junctions, the bounding box that sizes
// the tile grid, the grid, and what the tile clipping keeps while it files
// pieces into the grid. A run starts empty and is passed to every stage;
// nothing of it outlives the run.
//
// Coordinates are working units (1/256 ft).
#pragma once

#include <cstdint>
#include <vector>

#include "ostrand/gen/segment_list.h"
#include "ostrand/gen/tile_clipping.h"
#include "ostrand/gen/tile_grid.h"

namespace ostrand {

// Vertex degrees: edge ends meeting at each vertex (12000 entries).
inline constexpr int32_t kDegreeTableSize = 12000;

class GenerationRun {
 public:
  // An empty run; the once-per-run reports may report again.
  GenerationRun();

  // Degree of a vertex; indices outside the table read as 0 and are never
  // counted.
  int32_t PointDegree(int32_t vertex) const;
  void AddPointDegree(int32_t vertex, int32_t amount);
  void ClearPointDegrees();
  // A dead end: exactly one edge end meets there.
  bool IsDeadEnd(int32_t vertex) const { return PointDegree(vertex) == 1; }

  // Everything the grid must cover.
  BoundingBox box;
  SegmentList runways{kMaxRunwaySegments};
  SegmentList taxiways{kMaxTaxiwaySegments};
  TileGrid grid;
  ClippingState clipping;
  // Writing the surface file frees each tile layer once it is written,
  // unless the grid is to be kept for a look at it afterwards.
  bool keepGridAfterWriting = false;

 private:
  std::vector<int32_t> degrees_;
};

}  // namespace ostrand
