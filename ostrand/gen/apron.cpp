// Aprons: outlines from the polygon file into the pavement layer.
#include "ostrand/gen/apron.h"

#include <cstdio>

#include "ostrand/frame/report.h"
#include "ostrand/gen/tile_clipping.h"
#include "ostrand/gen/working_units.h"

namespace ostrand {
namespace {

constexpr int64_t kHashModulus = 398713;

ReportOnce g_complex;
ReportOnce g_triangulation;

// Hash of an outline as read (feet), to recognise the same outline written
// twice in a row.
int32_t OutlineHash(const TEXPOINTS& table, const TEXTURE& polygon) {
  int64_t hash = 0;
  for (int32_t i = 0; i < polygon.vertexCount(); ++i) {
    const IntPoint& p = table[polygon.vertices[static_cast<size_t>(i)].point];
    // C++ remainder takes the sign of the dividend, as the hash needs.
    hash = (hash + p.x + 31 * int64_t{p.z}) % kHashModulus;
  }
  return static_cast<int32_t>(hash);
}

PlanePoint CornerOf(const TEXPOINTS& table, int32_t position) {
  if (position < 0 || position >= table.count) return PlanePoint();
  return {table[position].x, table[position].z};
}


// Files the triangles of the outline; the number filed.
int32_t FileTriangles(GenerationRun& run, const TEXPOINTS& table, TEXTURE& polygon) {
  int32_t produced = 0;
  for (int32_t i = 0;; ++i) {
    const Triangle* t = polygon.Triangulate(table, i, 0);
    if (t == nullptr) break;
    AddTriangle(run, kPavementLayer, CornerOf(table, t->v[0]), CornerOf(table, t->v[1]),
                CornerOf(table, t->v[2]));
    ++produced;
  }
  return produced;
}

// True when the last vertex is the first one moved by the reader's shifting
// of a repeated vertex (x + 1, then z + 1, ... up to 5 ft): an outline that
// was closed by repeating its first vertex.
bool EndsWithShiftedFirst(const TEXPOINTS& table, const TEXTURE& polygon) {
  const int32_t n = polygon.vertexCount();
  if (n < 4) return false;
  const IntPoint& first = table[polygon.vertices[0].point];
  const IntPoint& last = table[polygon.vertices[static_cast<size_t>(n - 1)].point];
  const int64_t dx = int64_t{last.x} - first.x;
  const int64_t dz = int64_t{last.z} - first.z;
  const int64_t foot = kUnitsPerFoot;
  return dx >= foot && dx <= 5 * foot && dx % foot == 0 && dz % foot == 0 && dz <= dx &&
         dz >= dx - foot;
}

}  // namespace

void GenerateApronPolygons(GenerationRun& run, const TEXPOINTS& table, TEXTURE& polygon) {
  if (polygon.vertexCount() < 3) return;
  polygon.header.normal[0] = 0;
  polygon.header.normal[1] = 32767;
  polygon.header.normal[2] = 0;
  polygon.header.real = 1.0;
  polygon.header.attribute = 0;
  int32_t produced = FileTriangles(run, table, polygon);
  // A closed outline keeps its shifted closing vertex; when that leaves a
  // sliver the triangulation cannot take (the vertex lies on the first
  // side), the outline is paved without it rather than lost.
  if (produced == 0 && EndsWithShiftedFirst(table, polygon)) {
    --polygon.vertexCount();
    produced = FileTriangles(run, table, polygon);
  }
  if (produced == 0) g_triangulation.Report("GenerateApronPolygons - triangulation failed 0 0");
}

void GenerateApron(GenerationRun& run, PolygonFile& polygons, int pass) {
  std::fprintf(Console(), "GenerateApron(%d)\n", pass);
  TEXTURE polygon;
  TEXPOINTS table;
  int32_t lastHash = 0;
  polygons.Rewind();
  for (;;) {
    table.count = 0;  // vertex identity is tested per polygon
    if (!polygons.ReadPly(table, polygon, -1)) return;
    int32_t& n = polygon.vertexCount();
    if (n > 0 && polygon.vertices[static_cast<size_t>(n - 1)].point == polygon.vertices[0].point) {
      --n;  // a closing repeat of the first vertex
    }
    const int32_t hash = OutlineHash(table, polygon);
    if (n < 3 || hash == lastHash) continue;
    if (n != table.count) {
      g_complex.Report(">WARNING:GenerateApron complex/holes in PLY 0 0");
      continue;
    }
    lastHash = hash;
    for (int32_t i = 0; i < table.count; ++i) {
      table[i].x = FeetToUnits(table[i].x);
      table[i].y = FeetToUnits(table[i].y);
      table[i].z = FeetToUnits(table[i].z);
    }
    if (pass == 0) {
      for (int32_t i = 0; i < n; ++i) {
        const IntPoint& p = table[polygon.vertices[static_cast<size_t>(i)].point];
        run.box.Extend(p.x, p.z);
      }
    } else {
      GenerateApronPolygons(run, table, polygon);
    }
  }
}

}  // namespace ostrand
