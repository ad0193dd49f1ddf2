// The tile grid of a surface generation run, and its bounding box.
#include "ostrand/gen/tile_grid.h"

#include <vector>

namespace ostrand {
namespace {

int32_t LayerSlot(int32_t column, int32_t row, int layer) {
  if (column < 0 || column >= kTilesPerSide) column = 0;
  if (row < 0 || row >= kTilesPerSide) row = 0;
  if (layer < 0 || layer >= kLayersPerTile) layer = 0;
  return (column * kTilesPerSide + row) * kLayersPerTile + layer;
}

}  // namespace

int32_t TileSection::FindOrAddPoint(int32_t x, int32_t z) {
  return byPoint_.FindOrFile(x, z, PointAt{points}, [&] {
    // A full table reports it and adds nothing.
    const int32_t index = points.AddNew(x, 0, z);
    return index >= 0 && index < points.count && Equals(points[index], x, 0, z) ? index : -1;
  });
}

TileLayer::TileLayer() { sections_.push_back(std::make_unique<TileSection>()); }

TileSection& TileLayer::AddSection() {
  sections_.push_back(std::make_unique<TileSection>());
  return *sections_.back();
}

void TileLayer::Release() {
  sections_.clear();
  sections_.push_back(std::make_unique<TileSection>());
}

TileGrid::TileGrid()
    : layers_(new TileLayer[static_cast<size_t>(kTilesPerSide * kTilesPerSide * kLayersPerTile)]) {}

TileLayer& TileGrid::Layer(int32_t column, int32_t row, int layer) {
  return layers_[static_cast<size_t>(LayerSlot(column, row, layer))];
}

void TileGrid::SetGeometry(int32_t originX, int32_t originZ, int32_t tileSize) {
  originX_ = originX;
  originZ_ = originZ;
  tileSize_ = tileSize < 1 ? kDefaultTileSize : tileSize;
}

void BoundingBox::Extend(double x, double z) {
  if (empty) {
    empty = false;
    minX = maxX = x;
    minZ = maxZ = z;
    return;
  }
  if (x < minX) minX = x;
  if (z < minZ) minZ = z;
  if (x > maxX) maxX = x;
  if (z > maxZ) maxZ = z;
}

}  // namespace ostrand
