// Tile clipping: files surface pieces into the tile grid of a run. Light
// strings are cut at every column and row border; triangles are cut along a
// border into a triangle and a quadrilateral, recursively; quadrilaterals
// are filed whole when they lie in one tile, otherwise split into two
// triangles. Each piece goes into the tile that holds its centre, its
// corners found or added in the point table of that tile layer's last
// section, or of a further section when they do not fit (so no piece is
// lost to a full table). Surface pieces that enclose no area are not filed.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "ostrand/gen/tile_grid.h"
#include "ostrand/surface/texture.h"

namespace ostrand {

class GenerationRun;

// A point of the ground plane in working units.
struct PlanePoint {
  int32_t x = 0;
  int32_t z = 0;
};

// A piece handed in while pieces are held: 2 corners for a light string,
// 3 for a triangle, 4 for a quadrilateral.
struct HeldPiece {
  int layer = 0;
  int32_t attribute = 0;
  int32_t n = 0;
  PlanePoint corners[4];
};

// What the clipping keeps while it files the pieces of one run.
struct ClippingState {
  // The tile a piece is filed into (set by SelectTile).
  int32_t column = 0;
  int32_t row = 0;
  // Nesting depth of triangle splits along x and along z.
  int32_t depthX = 0;
  int32_t depthZ = 0;
  // Nesting of the public entry points, and the area (square working units)
  // of the surface pieces handed to them from outside, per layer: what the
  // filed pieces of a layer must add up to (a quadrilateral that is cut
  // counts as the two triangles it is cut into).
  int32_t nesting = 0;
  double handedArea[kLayersPerTile] = {0, 0, 0, 0};
  // The polygon every piece is built in before the list copies it.
  TEXTURE scratch;
  // Pieces are held (see HoldPieces), and those held so far, in order (in
  // blocks, so that holding tens of thousands never copies them).
  bool holding = false;
  std::deque<HeldPiece> held;
};

// Column of x, (x - originX) / tileSize truncated; 0 for anything outside
// 0..7.
int32_t TileIndex(const TileGrid& grid, int64_t x);
int32_t TileIndexZ(const TileGrid& grid, int64_t z);
void SelectTile(GenerationRun& run, int64_t x, int64_t z);
int32_t CellId(const TileGrid& grid, int64_t x, int64_t z);
// 1 when v lies strictly between a and b (0 when a = b).
int Between(int32_t v, int32_t a, int32_t b);

// A light string from (x1, z1) to (x2, z2); attribute = type * 256 + step
// in feet.
void AddLightLine(GenerationRun& run, int layer, int32_t x1, int32_t z1, int32_t x2, int32_t z2,
                  int32_t attribute);
void AddTriangle(GenerationRun& run, int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3);
void AddQuad(GenerationRun& run, int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3,
             PlanePoint p4);

// Holding back: the grid can only be sized once every piece is known, so
// the generation holds the pieces handed to the three entry points above,
// in order, sizes the grid to take them all in, then files them.
void HoldPieces(GenerationRun& run);
// True when every corner of every held piece lies inside the 8 x 8 grid.
bool HeldPiecesInsideGrid(const GenerationRun& run);
// Extends the run's bounding box by every corner of every held piece.
void ExtendByHeldPieces(GenerationRun& run);
// Stops holding and files the held pieces in the order they came.
void FileHeldPieces(GenerationRun& run);

}  // namespace ostrand
