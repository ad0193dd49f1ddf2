#include "ostrand/surface/surface_dump.h"

#include <cstdio>
#include <cstring>

#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/report.h"
#include "ostrand/surface/surface_file.h"
#include "ostrand/text/lat_lon_text.h"

namespace ostrand {

namespace {

constexpr long kRangeStart = 9999999;

// The x and z range of everything printed in this run.
struct Range {
  long minX = kRangeStart;
  long maxX = -kRangeStart;
  long minZ = kRangeStart;
  long maxZ = -kRangeStart;

  void Widen(long x, long z) {
    if (minX > x) minX = x;
    if (maxX < x) maxX = x;
    if (minZ > z) minZ = z;
    if (maxZ < z) maxZ = z;
  }
};

Range g_range;

// One corner or light position: " x y z (x y z ft)" in 1/256 ft and feet.
void PrintPoint(std::FILE* out, const IntPoint& p) {
  std::fprintf(out, " %ld %ld %ld (%ld %ld %ld ft)\n", static_cast<long>(p.x), static_cast<long>(p.y),
               static_cast<long>(p.z), static_cast<long>(p.x / 256), static_cast<long>(p.y / 256),
               static_cast<long>(p.z / 256));
}

void PrintPolygon(std::FILE* out, const char* tag, const SurfaceFile& surface) {
  const TEXTURE& polygon = surface.polygon;
  std::fprintf(out, "%s %ld\n", tag, static_cast<long>(polygon.vertexCount()));
  for (int32_t i = 0; i < polygon.vertexCount(); ++i) {
    int32_t index = polygon.vertices[static_cast<size_t>(i)].point;
    std::fprintf(out, "%3ld:", static_cast<long>(index));
    // An index outside the section's point table names no point: it prints
    // as the origin and does not widen the range.
    IntPoint p;
    if (surface.points.Holds(index)) {
      p = surface.points[index];
      g_range.Widen(p.x, p.z);
    }
    PrintPoint(out, p);
  }
}

void PrintLights(std::FILE* out, const SurfaceFile& surface) {
  std::fprintf(out, "%s %ld, type %ld, step_ft %f\n", "<lite>", static_cast<long>(surface.points.count),
               static_cast<long>(surface.lightType), static_cast<double>(surface.stepFeet));
  for (int32_t i = 0; i < surface.points.count; ++i) {
    const IntPoint& p = surface.points[i];
    std::fprintf(out, "%3d:", static_cast<int>(i));
    PrintPoint(out, p);
    g_range.Widen(p.x, p.z);
  }
}

}  // namespace

void ResetSurfaceDumpRange() { g_range = Range(); }

int DumpSurfaceFile(const char* name) {
  if (name == nullptr || *SkipLeadingBlanks(name) == '\0' || !FileExists(name)) return 1;
  SurfaceFile surface;
  if (!surface.Open(name)) return 1;

  std::FILE* out = Console();
  double a = 0.0, b = 0.0, c = 0.0;
  surface.ReadOrigin(a, b, c);
  surface.ReadGrid();

  std::fprintf(out, "%s (%s %s)\n", "<orgn>", FormatLatLon(LatitudeText(a)).c_str(),
               FormatLatLon(LongitudeText(b)).c_str());
  std::fprintf(out, "%s %ld %ld\n", "<tlxz>", static_cast<long>(surface.tilesX),
               static_cast<long>(surface.tilesZ));
  // The single's bits as a 32-bit integer, then the same bits in hex.
  uint32_t bits = 0;
  static_assert(sizeof bits == sizeof surface.tileFeet);
  std::memcpy(&bits, &surface.tileFeet, sizeof bits);
  std::fprintf(out, "%s %ld (0x%08lx %f)\n", "<feet>", static_cast<long>(static_cast<int32_t>(bits)),
               static_cast<unsigned long>(bits), static_cast<double>(surface.tileFeet));
  std::fprintf(out, "%s %lf %lf %lf\n", "<lowl>", surface.lowLeft[0], surface.lowLeft[1],
               surface.lowLeft[2]);

  while (surface.ReadTile()) {
    std::fprintf(out, "\n%s %ld %ld\n", "<indx>", static_cast<long>(surface.tileX),
                 static_cast<long>(surface.tileZ));
    // Every pass that prints something has consumed at least one record, so
    // the loop ends at the latest at the end of the file.
    for (;;) {
      // A pass that reads no record but moves through the file (it ended a
      // section, or read an empty one) is followed by another, so sections
      // in any order are listed, not only pave, edmk, cntr, lite. A pass
      // that does not move ends the tile, so the loop always ends.
      const long start = surface.Tell();
      if (surface.ReadPave()) {
        PrintPolygon(out, "<pave>", surface);
      } else if (surface.ReadEdgeMark()) {
        PrintPolygon(out, "<edmk>", surface);
      } else if (surface.ReadCentre()) {
        PrintPolygon(out, "<cntr>", surface);
      } else if (surface.ReadLights()) {
        PrintLights(out, surface);
      } else if (surface.Tell() == start) {
        surface.ReadTileEnd();
        break;
      }
    }
  }

  std::fprintf(out, "Range X: %ld %ld, Z: %ld %ld\n", g_range.minX, g_range.maxX, g_range.minZ,
               g_range.maxZ);
  std::fprintf(out, "Tell= %08lX, len= %08lX\n", static_cast<unsigned long>(surface.Tell()),
               static_cast<unsigned long>(surface.File().Length()));
  surface.Close();
  return 1;
}

}  // namespace ostrand
