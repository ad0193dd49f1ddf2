// Aprons: the paved areas of the polygon file. The first pass sizes the
// tile grid by the accepted outlines; the second triangulates each into the
// pavement layer of the tile grid (through the tile clipping).
#pragma once

#include "ostrand/gen/generation_run.h"
#include "ostrand/gen/polygon_file.h"
#include "ostrand/surface/texpoints.h"
#include "ostrand/surface/texture.h"

namespace ostrand {

// Reads every polygon of the polygon file (from its start):
// drops a closing repeat of the first vertex, skips outlines of fewer than
// three vertices and a repeat of the outline accepted just before, reports
// outlines that use a point twice (once per run) and skips them, and scales
// the rest to working units. Pass 0 extends the run's bounding box by
// their vertices; pass 1 triangulates them into the pavement layer.
void GenerateApron(GenerationRun& run, PolygonFile& polygons, int pass);

// Triangulates one outline (vertex k refers to point k of table, working
// units) into the pavement layer; reports once per run when no triangle
// comes out. An outline closed by a repeat of its first vertex (kept by the
// reader as a copy shifted a few feet) whose triangulation fails is paved
// without that last vertex.
void GenerateApronPolygons(GenerationRun& run, const TEXPOINTS& table, TEXTURE& polygon);

}  // namespace ostrand
