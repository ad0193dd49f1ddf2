// Tile clipping: files surface pieces into the tile grid. Light strings are
// cut at every column and row border; triangles are cut along a border into
// a triangle and a quadrilateral, recursively; quadrilaterals are filed
// whole when they lie in one tile, otherwise split into two triangles. Each
// piece goes into the tile that holds its centre, its corners found or added
// in the point table of that tile layer's last section, or of a further
// section when they do not fit (so no piece is lost to a full table).
// Surface pieces that enclose no area are not filed.
#pragma once

#include <cstdint>

namespace ostrand {

struct BoundingBox;

// A point of the ground plane in working units.
struct PlanePoint {
  int32_t x = 0;
  int32_t z = 0;
};

// Column of x, (x - originX) / tileSize truncated; 0 for anything outside
// 0..7. A tile size below 1 is first set to 1000 ft.
int32_t TileIndex(int64_t x);
int32_t TileIndexZ(int64_t z);
void SelectTile(int64_t x, int64_t z);
int32_t CellId(int64_t x, int64_t z);
// 1 when v lies strictly between a and b (0 when a = b).
int Between(int32_t v, int32_t a, int32_t b);

// A light string from (x1, z1) to (x2, z2); attribute = type * 256 + step
// in feet.
void AddLightLine(int layer, int32_t x1, int32_t z1, int32_t x2, int32_t z2,
                  int32_t attribute);
void AddTriangle(int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3);
void AddQuad(int layer, PlanePoint p1, PlanePoint p2, PlanePoint p3, PlanePoint p4);

// Holding back: the grid can only be sized once every piece is known, so
// the generation holds the pieces handed to the three entry points above,
// in order, sizes the grid to take them all in, then files them.
void HoldPieces();
// True when every corner of every held piece lies inside the 8 x 8 grid.
bool HeldPiecesInsideGrid();
// Extends the box by every corner of every held piece.
void ExtendByHeldPieces(BoundingBox& box);
// Stops holding and files the held pieces in the order they came.
void FileHeldPieces();
// Stops holding and forgets the held pieces.
void DropHeldPieces();

}  // namespace ostrand
