// The tile grid of a surface generation run: 8 x 8 tiles with four layers
// per tile (pavement, edge marking, centre marking, lights; each of one
// section or more), the grid geometry, and the bounding box that sizes the
// grid.
//
// Coordinates are working units (1/256 ft).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "ostrand/frame/point_hash.h"
#include "ostrand/surface/texpoints.h"
#include "ostrand/surface/texture.h"

namespace ostrand {

inline constexpr int32_t kTilesPerSide = 8;
inline constexpr int32_t kLayersPerTile = 4;
// The tile size of a grid whose geometry is not set: 1000 ft.
inline constexpr int32_t kDefaultTileSize = 256000;

// Layers of a tile, in the order the surface file writes them.
inline constexpr int kPavementLayer = 0;
inline constexpr int kEdgeMarkLayer = 1;
inline constexpr int kCentreLayer = 2;
inline constexpr int kLightsLayer = 3;

// One section of a tile layer: a point table of 2000 points and polygons
// whose vertices index that table. It becomes one section of the surface
// file, whose point table is limited to 2000 points.
class TileSection {
 public:
  // Most tiles stay empty: the table takes its storage when first used.
  TEXPOINTS points{TEXPOINTS::kDefaultCapacity, TEXPOINTS::Deferred{}};
  TextureList polygons;

  // Index of the point (x, 0, z): the first equal entry of the table, else
  // a new one; -1 when the table is full (reported once per run by the
  // table). Points are added here only, each once, so a hash of the points
  // answers without a scan of the table.
  int32_t FindOrAddPoint(int32_t x, int32_t z);
  // True when the table holds the point (x, 0, z).
  bool Contains(int32_t x, int32_t z) const { return byPoint_.Find(x, z, PointAt{points}) >= 0; }

 private:
  // The hash asks the table for the point of an entry.
  struct PointAt {
    const TEXPOINTS& table;
    const IntPoint& operator()(int32_t i) const { return table[i]; }
  };
  PointHash byPoint_;
};

// One layer of one tile: one section or more. A piece whose corners do not
// fit the last section's point table goes into a further section, so that
// no piece is lost to a full table and every section keeps to the file's
// limits. There is always at least one section (an empty layer is written
// as one empty section).
class TileLayer {
 public:
  TileLayer();
  int32_t SectionCount() const { return static_cast<int32_t>(sections_.size()); }
  // Section i, 0 <= i < SectionCount().
  TileSection& Section(int32_t i) { return *sections_[static_cast<size_t>(i)]; }
  // The section that new pieces go into: the last one.
  TileSection& Current() { return *sections_.back(); }
  // Starts a further, empty section and makes it the current one.
  TileSection& AddSection();
  // Frees every section, leaving one empty section.
  void Release();

 private:
  std::vector<std::unique_ptr<TileSection>> sections_;
};

class TileGrid {
 public:
  TileGrid();
  TileGrid(TileGrid&&) = default;
  TileGrid& operator=(TileGrid&&) = default;

  // Column and row 0..7, layer 0..3; out-of-range values are taken as 0.
  TileLayer& Layer(int32_t column, int32_t row, int layer);

  // Geometry (working units), set by the pipeline from the bounding box: the
  // lower-left corner and the edge of a tile. A tile size below 1 is taken
  // as the default; so is the size of a grid whose geometry is not set.
  void SetGeometry(int32_t originX, int32_t originZ, int32_t tileSize);
  int32_t OriginX() const { return originX_; }
  int32_t OriginZ() const { return originZ_; }
  int32_t TileSize() const { return tileSize_; }

 private:
  std::unique_ptr<TileLayer[]> layers_;
  int32_t originX_ = 0;
  int32_t originZ_ = 0;
  int32_t tileSize_ = kDefaultTileSize;
};

// Bounding box of everything the grid must cover (working units).
// An empty box keeps its start values; the first point it takes in sets all
// four limits.
struct BoundingBox {
  bool empty = true;
  double minX = 9999999.0;
  double minZ = 9999999.0;
  double maxX = -9999999.0;
  double maxZ = -9999999.0;

  void Extend(double x, double z);
};

}  // namespace ostrand
