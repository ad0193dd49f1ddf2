// Helpers shared by the tests of the surface files (header-only, test
// programs only): filling the point table and polygon of a SurfaceFile, and
// rewriting a scratch file many times over without slowing the file system.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"
#include "ostrand/surface/surface_file.h"

namespace ostrand::testing {

inline void SetPoints(SurfaceFile& f, const std::vector<IntPoint>& pts) {
  f.points.count = 0;
  for (const IntPoint& p : pts) f.points.Add(p.x, p.y, p.z, -1);
}

inline void SetPolygon(SurfaceFile& f, const std::vector<int32_t>& indices) {
  f.polygon.vertexCount() = static_cast<int32_t>(indices.size());
  for (size_t i = 0; i < indices.size(); ++i) f.polygon.vertices[i].point = indices[i];
}

// Creates the file with origin (0, 0, 0) and the default grid and opens
// the first tile; 1 when the file was created.
inline int StartTile(SurfaceFile& f, const char* name) {
  int created = f.Create(name);
  f.WriteOrigin(0, 0, 0);
  f.WriteGrid();
  f.WriteTile();
  return created;
}

// Writes a fresh file: removing the old one first spares the file system
// the flush that a truncating rewrite forces, which the damage loops would
// otherwise pay a few thousand times.
inline void WriteFresh(const char* name, const std::string& bytes) {
  std::remove(name);
  WriteFileBytes(name, bytes);
}

}  // namespace ostrand::testing
