// Helpers shared by the tests of the surface files (header-only, test
// programs only): filling the point table and polygon of a SurfaceFile, and
// the sample file that the format and the dump are checked against.
#pragma once

#include <cstdint>
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

// Writes the sample file; 1 when every write succeeded. Tile (0, 1) holds a
// light section (two positions with a step, then one without), a centre
// marking section of two records (one with corners outside its table), an
// empty edge marking section and two pavement sections with tables of their
// own; tile (2, 3) is empty. The lower-left corner is (-4000, 0, -4000) ft;
// every x is negative, so that the range would show a corner outside its
// table (printed as the origin) if that corner widened it.
inline int WriteSample(const char* name) {
  SurfaceFile f;
  int ok = f.Create(name) && f.WriteOrigin(184827.0, 3600.0, 0.0) ? 1 : 0;
  f.lowLeft[0] = f.lowLeft[2] = -4000.0;
  f.tileZ = 1;
  ok &= f.WriteGrid() && f.WriteTile();
  SetPoints(f, {{-300, 0, 512}, {-1000, 0, -256}});
  f.lightType = 1, f.stepFeet = 25.0f;
  ok &= f.WriteLights();
  SetPoints(f, {{-600, 0, -255}});
  f.lightType = 2;
  ok &= f.WriteLights();
  SetPoints(f, {{-256, 0, 512}, {-300, -256, 0}, {-511, 0, -513}, {INT32_MIN, 0, INT32_MAX}});
  SetPolygon(f, {0, 1, 2});
  ok &= f.WriteCentre();
  SetPolygon(f, {3, 1, 7, -1});
  ok &= f.WriteCentre();
  f.polygon.vertexCount() = 0;
  ok &= f.WriteEdgeMark() == 0 ? 1 : 0;  // opens the section, writes no record
  SetPolygon(f, {2, 1, 0});
  ok &= f.WritePave() && f.EndSection();
  SetPoints(f, {{-512, 0, 0}, {-512, 0, 512}, {-1, 0, 512}});
  ok &= f.WritePave() && f.WriteTileEnd();
  f.tileX = 2, f.tileZ = 3;
  ok &= f.WriteTile() && f.WriteTileEnd();
  return ok & f.Close();
}

}  // namespace ostrand::testing
