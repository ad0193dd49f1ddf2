// Test support of the generation tests (header-only): the pieces filed in
// the tile grid, read back with their corner coordinates, and the checks
// that every test of the grid makes (area, inside the tile).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "ostrand/gen/tile_clipping.h"
#include "ostrand/gen/tile_grid.h"
#include "ostrand/surface/texture.h"

namespace ostrand::testing {

struct FiledPiece {
  int32_t column = 0;
  int32_t row = 0;
  int32_t attribute = 0;
  std::vector<PlanePoint> corners;
};

// Every polygon of one layer over the whole grid, in tile order (column
// outer, row inner) and, within a tile, in the order they were filed.
inline std::vector<FiledPiece> FiledPieces(int layer) {
  std::vector<FiledPiece> out;
  for (int32_t c = 0; c < kTilesPerSide; ++c) {
    for (int32_t r = 0; r < kTilesPerSide; ++r) {
      TileLayer& tileLayer = Grid().Layer(c, r, layer);
      for (int32_t s = 0; s < tileLayer.SectionCount(); ++s) {
        TileSection& l = tileLayer.Section(s);
        std::vector<FiledPiece> section;
        for (TEXTURE* t = l.polygons.First(); t != nullptr; t = l.polygons.Next()) {
          FiledPiece p{c, r, t->header.attribute, {}};
          for (int32_t i = 0; i < t->vertexCount(); ++i) {
            const IntPoint& q = l.points[t->vertices[static_cast<size_t>(i)].point];
            p.corners.push_back({q.x, q.z});
          }
          section.insert(section.begin(), p);  // the list yields the last filed first
        }
        out.insert(out.end(), section.begin(), section.end());
      }
    }
  }
  return out;
}

// Signed shoelace area in square working units.
inline double SignedArea(const std::vector<PlanePoint>& corners) {
  double sum = 0;
  for (size_t i = 0; i < corners.size(); ++i) {
    const PlanePoint& a = corners[i];
    const PlanePoint& b = corners[(i + 1) % corners.size()];
    sum += static_cast<double>(a.x) * b.z - static_cast<double>(b.x) * a.z;
  }
  return sum / 2;
}

inline double TotalArea(const std::vector<FiledPiece>& pieces) {
  double sum = 0;
  for (const auto& p : pieces) sum += std::fabs(SignedArea(p.corners));
  return sum;
}

// True when every corner lies in the closed square of the piece's tile,
// widened by `slack` units: the clipping lets a piece reach a few units
// over a border (it tests columns at min + 1 and max - 1, and cuts a lone
// corner again only when it lies 5 units beyond the next border).
inline bool InsideItsTile(const FiledPiece& p, int32_t slack = 5) {
  const TileGrid& g = Grid();
  const int64_t x0 = g.originX + int64_t{p.column} * g.tileSize;
  const int64_t z0 = g.originZ + int64_t{p.row} * g.tileSize;
  for (const auto& q : p.corners) {
    if (q.x < x0 - slack || q.x > x0 + g.tileSize + slack || q.z < z0 - slack ||
        q.z > z0 + g.tileSize + slack) {
      return false;
    }
  }
  return true;
}

// True when every piece of every layer lies in its tile.
inline bool EveryPieceInsideItsTile() {
  for (int layer = 0; layer < kLayersPerTile; ++layer) {
    for (const FiledPiece& p : FiledPieces(layer)) {
      if (!InsideItsTile(p)) return false;
    }
  }
  return true;
}

}  // namespace ostrand::testing
