// The surface generation pipeline.
#include "ostrand/gen/bgr_tms.h"

#include <algorithm>
#include <cstdio>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/apron.h"
#include "ostrand/gen/line.h"
#include "ostrand/gen/network_files.h"
#include "ostrand/gen/snapping.h"
#include "ostrand/gen/taxiway_polygons.h"
#include "ostrand/gen/tile_clipping.h"
#include "ostrand/gen/tile_grid.h"
#include "ostrand/gen/working_units.h"
#include "ostrand/surface/surface_file.h"

namespace ostrand {
namespace {

constexpr double kStubLength = 128000;   // 500 ft
constexpr double kGridMargin = 128000;   // 500 ft
constexpr int32_t kMinTileSize = 128000; // 500 ft
constexpr int32_t kYellowRestoreLimit = 100;
constexpr int32_t kRestoredYellowWidth = 100;
constexpr int32_t kPlyLightStep = 100;

// Writes one section of a tile's polygon layer (kind: the surface file's
// section kind): its point table once, then every polygon, in list order;
// an empty section is still opened.
void WritePolygonSection(SurfaceFile& out, const TileSection& layer, int32_t kind) {
  out.points.CopyFrom(layer.points);
  // A section can hold points without polygons (a polygon the list could
  // not take); it too opens its section.
  if (out.points.count > 0 && layer.polygons.Count() > 0) {
    layer.polygons.ForEachLastFirst([&](const TextureHeader&, const int32_t* corners, int32_t n) {
      out.WritePolygonRecord(kind, corners, n);
    });
  } else {
    out.WritePolygonRecord(kind, nullptr, 0);
  }
}

// Writes one section of a tile's light layer: each polygon is one light
// string whose positions are its own vertices.
void WriteLightSection(SurfaceFile& out, const TileSection& layer) {
  if (layer.points.count <= 0 || layer.polygons.Count() == 0) {
    out.points.count = 0;
    out.WriteLights();
    return;
  }
  layer.polygons.ForEachLastFirst([&](const TextureHeader& block, const int32_t* corners, int32_t count) {
    const int32_t n = std::min(count, out.points.capacity);
    for (int32_t k = 0; k < n; ++k) {
      const int32_t index = corners[k];
      out.points[k] = index >= 0 && index < layer.points.count ? layer.points[index] : IntPoint();
    }
    out.points.count = n;
    out.lightType = (block.attribute / 256) & 255;
    out.stepFeet = static_cast<float>(block.attribute & 255);
    out.WriteLights();
  });
}

// Writes every section of one layer of a tile (kind: the surface file's
// section kind), each a section of its own in the file; a layer of one
// section is written as a single section. Unless kept, the layer is freed
// once written, so that its memory serves the output.
void WriteLayer(SurfaceFile& out, TileLayer& layer, int32_t kind, bool keep) {
  for (int32_t i = 0; i < layer.SectionCount(); ++i) {
    if (i > 0) out.EndSection();
    if (kind == SurfaceFile::kStateLights) {
      WriteLightSection(out, layer.Section(i));
    } else {
      WritePolygonSection(out, layer.Section(i), kind);
    }
  }
  if (!keep) layer.Release();
}

}  // namespace

void ScaleToWorkingUnits(TaxiwayList& net) {
  for (int32_t i = 0; i < net.points.count; ++i) {
    IntPoint& p = net.vertex(i);
    p.x = FeetToUnits(p.x);
    p.y = FeetToUnits(p.y);
    p.z = FeetToUnits(p.z);
  }
  net.points.Changed();
}

int32_t PrepareEdges(TaxiwayList& net) {
  int32_t yellowCount = 0;
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    Edge& e = net.edge(i);
    if (e.flags == 0) e.flags = 15;
    if (e.type == kTaxiway && (e.flags & 15) == kFlagCentreLine) {
      e.type = kCentreLineOnly;
      ++yellowCount;
    }
    e.width = FeetToUnits(e.width);
  }
  return yellowCount;
}

void CountDegreesAndRunways(GenerationRun& run, TaxiwayList& net) {
  run.ClearPointDegrees();
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    const Edge& e = net.edge(i);
    if (e.type == kRunway && net.HasVertices(e)) {
      run.runways.Add(i, net.vertex(e.from), net.vertex(e.to), run.box);
    }
    if ((e.flags & kFlagPavement) != 0) {
      run.AddPointDegree(e.from, 1);
      run.AddPointDegree(e.to, 1);
    }
  }
}

void MarkIsolatedStubs(GenerationRun& run, TaxiwayList& net) {
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    Edge& e = net.edge(i);
    if (e.type != kTaxiway || !net.HasVertices(e)) continue;
    if (run.IsDeadEnd(e.from) && run.IsDeadEnd(e.to) && EdgeLength(net, e) <= kStubLength) {
      e.type = kStub;
    }
  }
}

void FileTaxiwaySegments(GenerationRun& run, const TaxiwayList& net) {
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    const Edge& e = net.edge(i);
    if ((e.type == kTaxiway || e.type == kConnector) && net.HasVertices(e)) {
      run.taxiways.Add(i, net.vertex(e.from), net.vertex(e.to), run.box);
    }
  }
}

void SetGridGeometry(GenerationRun& run, float& tileFeet, double lowLeft[3]) {
  BoundingBox box = run.box;
  box.minX -= kGridMargin;
  box.minZ -= kGridMargin;
  box.maxX += kGridMargin;
  box.maxZ += kGridMargin;
  const int64_t w = TruncateToInt32(box.maxX - box.minX);
  const int64_t h = TruncateToInt32(box.maxZ - box.minZ);
  const int64_t size = w < h ? h : w;
  int64_t tileSize = size / kTilesPerSide;
  if (tileSize < kMinTileSize) tileSize = kMinTileSize;
  TileGrid& grid = run.grid;
  grid.SetGeometry(TruncateToInt32(box.minX), TruncateToInt32(box.minZ), ClampToInt32(tileSize));
  tileFeet = static_cast<float>(grid.TileSize() / kUnitsPerFoot);
  lowLeft[0] = box.minX / kUnitsPerFoot;
  lowLeft[1] = 0.0;
  lowLeft[2] = box.minZ / kUnitsPerFoot;
}

void RestoreNetwork(TaxiwayList& net, int32_t yellowCount) {
  for (int32_t i = 0; i < net.points.count; ++i) {
    IntPoint& p = net.vertex(i);
    p.x /= kUnitsPerFoot;
    p.y /= kUnitsPerFoot;
    p.z /= kUnitsPerFoot;
  }
  net.points.Changed();
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    Edge& e = net.edge(i);
    e.flags = 0;
    e.width /= kUnitsPerFoot;
    if (yellowCount < kYellowRestoreLimit && e.type == kCentreLineOnly) {
      e.type = kTaxiway;
      e.width = kRestoredYellowWidth;
    }
  }
}

int WriteSurfaceFile(GenerationRun& run, const TaxiwayList& net, const std::string& outName,
                     float tileFeet, const double lowLeft[3]) {
  SurfaceFile out;
  const int created = out.Create(outName);
  out.WriteOrigin(net.originLat, net.originLon, 0.0);
  out.tilesX = kTilesPerSide;
  out.tilesZ = kTilesPerSide;
  out.tileFeet = tileFeet;
  for (int k = 0; k < 3; ++k) out.lowLeft[k] = lowLeft[k];
  out.WriteGrid();
  TileGrid& grid = run.grid;
  const bool keep = run.keepGridAfterWriting;
  for (int32_t tx = 0; tx < kTilesPerSide; ++tx) {
    for (int32_t tz = 0; tz < kTilesPerSide; ++tz) {
      out.tileX = tx;
      out.tileZ = tz;
      out.WriteTile();
      WriteLayer(out, grid.Layer(tx, tz, kPavementLayer), SurfaceFile::kStatePave, keep);
      WriteLayer(out, grid.Layer(tx, tz, kEdgeMarkLayer), SurfaceFile::kStateEdgeMark, keep);
      WriteLayer(out, grid.Layer(tx, tz, kCentreLayer), SurfaceFile::kStateCentre, keep);
      WriteLayer(out, grid.Layer(tx, tz, kLightsLayer), SurfaceFile::kStateLights, keep);
      out.WriteTileEnd();
    }
  }
  if (out.Close() && created) return 1;
  ReportError("BgrTms surface file '%s' not written", outName.c_str());
  return 0;
}

int BgrTms(const std::string& name) {
  GenerationRun run;
  return BgrTms(name, run);
}

int BgrTms(const std::string& name, GenerationRun& run) {
  std::FILE* console = Console();
  TaxiwayList net;
  PolygonFile polygons;

  int result = LoadNetworkFiles(net, polygons, name, 0);
  if (result == 0) ReportError("BgrTms source file '%s' not found", name.c_str());
  std::fprintf(console, "Load(%s) points=%ld edges=%ld\n", name.c_str(),
               static_cast<long>(net.points.count), static_cast<long>(net.edgeCount));

  ScaleToWorkingUnits(net);
  const int32_t yellowCount = PrepareEdges(net);
  CountDegreesAndRunways(run, net);
  MarkIsolatedStubs(run, net);

  SnapEndPointsToRunways(run, net);
  AddRunwayConnectors(run, net);
  MakeTaxiwayTaxiwayIntersections(run, net);
  SnapEndPointsToTaxiways(run, net);

  FileTaxiwaySegments(run, net);
  GenerateApron(run, polygons, 0);
  float tileFeet = 0;
  double lowLeft[3] = {0, 0, 0};
  SetGridGeometry(run, tileFeet, lowLeft);
  // The stages' pieces are held until the grid takes them all in.
  HoldPieces(run);

  std::fprintf(console, "GenerateTaxiPolygons()\n");
  GenerateTaxiPolygons(run, net);

  std::fprintf(console, "GenerateIsYellow()\n");
  for (int32_t i = 0; i < net.edgeCount; ++i) {
    const Edge& e = net.edge(i);
    if (e.type != kCentreLineOnly || !net.HasVertices(e)) continue;
    const IntPoint& a = net.vertex(e.from);
    const IntPoint& b = net.vertex(e.to);
    GenerateIsYellow(run, a.x, a.z, b.x, b.z);
  }

  GenerateApron(run, polygons, 1);

  std::fprintf(console, "GeneratePlyLights()\n");
  polygons.Rewind();
  int32_t type = 0, x1 = 0, z1 = 0, x2 = 0, z2 = 0, count = 0;
  while (polygons.ReadLgt(type, x1, z1, x2, z2, count)) {
    AddLightLine(run, kLightsLayer, FeetToUnits(x1), FeetToUnits(z1), FeetToUnits(x2),
                 FeetToUnits(z2), (type & 255) * 256 + kPlyLightStep);
  }

  // Light strings, centre-line-only strips, connectors and fillets may reach
  // beyond the taxiways and aprons that sized the grid: it is then sized
  // again to take in every piece. A grid that takes them in stays as it is.
  if (!HeldPiecesInsideGrid(run)) {
    ExtendByHeldPieces(run);
    SetGridGeometry(run, tileFeet, lowLeft);
  }
  FileHeldPieces(run);

  const std::string outName = ReplaceExtension(name, "TMS");
  std::fprintf(console, "GenerateOutputFile(%s)\n", outName.c_str());
  if (!WriteSurfaceFile(run, net, outName, tileFeet, lowLeft)) result = 0;

  RestoreNetwork(net, yellowCount);
  // A network that could not be held whole, or not saved, fails the run.
  SaveNetworkFiles(net, polygons, name);
  return net.saveFailures == 0 ? result : 0;
}

}  // namespace ostrand
