// Process-wide tables of the surface generation: tile grid, bounding box.
#include "ostrand/gen/tile_grid.h"

#include <vector>

#include "ostrand/frame/report.h"
#include "ostrand/gen/tile_clipping.h"

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
  const int32_t index = points.Add(x, 0, z, 0);
  if (index < 0 || index >= points.count || !Equals(points[index], x, 0, z)) return -1;
  return index;
}

void TileSection::Clear() {
  points.count = 0;
  polygons.Clear();
}

TileLayer::TileLayer() { sections_.push_back(std::make_unique<TileSection>()); }

TileSection& TileLayer::AddSection() {
  sections_.push_back(std::make_unique<TileSection>());
  return *sections_.back();
}

void TileLayer::Clear() {
  sections_.resize(1);
  sections_[0]->Clear();
}

TileGrid::TileGrid()
    : layers_(new TileLayer[static_cast<size_t>(kTilesPerSide * kTilesPerSide * kLayersPerTile)]) {}

TileLayer& TileGrid::Layer(int32_t column, int32_t row, int layer) {
  return layers_[static_cast<size_t>(LayerSlot(column, row, layer))];
}

void TileGrid::Clear() {
  for (int32_t i = 0; i < kTilesPerSide * kTilesPerSide * kLayersPerTile; ++i) {
    layers_[static_cast<size_t>(i)].Clear();
  }
  originX = originZ = tileSize = 0;
  currentColumn = currentRow = 0;
  depthX = depthZ = 0;
  nesting = 0;
  for (double& a : handedArea) a = 0;
}

TileGrid& Grid() {
  static TileGrid grid;
  return grid;
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

void ResetGenerationState() {
  Grid().Clear();
  DropHeldPieces();
  ResetReportOnce();
}

}  // namespace ostrand
