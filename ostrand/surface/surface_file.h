// SurfaceFile: writer and reader of TMS surface files, one tile and one
// section at a time.
//
// Byte layout (tags, integers and reals as in network files: tag text plus
// NUL, 32-bit little-endian integers, little-endian IEEE reals, no padding):
//
//   "<bgno>"
//   "<orgn>" f64 lat, f64 lon, f64 elev, i32 1
//   "<tlxz>" i32 tilesX, i32 tilesZ
//   "<feet>" f32 tile edge in feet
//   "<lowl>" f64 x, f64 y, f64 z      lower-left corner in feet
//   per tile: "<tile>" "<bgno>" "<indx>" i32 tileX, i32 tileZ,
//             zero or more sections, "<endo>"
//   "<endo>"
//
// A section is a tag ("<pave>", "<edmk>", "<cntr>", "<lite>"), an i32 length
// (bytes after the length field up to and including the terminator), a body
// and the terminator i32 0.
//   polygon body: i32 20, 65536, 2, 0; i32 point count p, p × (i32 x, y, z)
//     in 1/256 ft; per polygon: i32 5, i32 n (3..256), i32 0, 65535, 0, 0,
//     n × i32 point index. Length = 16 + 4 + 12p + Σ(24 + 4n) + 4.
//   light body: per record: i32 count (> 0), i32 type, count × (f32 x, f32 z)
//     in feet, f32 step_ft only when count > 1. The terminator reads as a
//     record of count 0.
//
// A tile may hold several sections of one kind, one after the other: a
// polygon section's point table holds at most 2000 points, so a tile layer
// with more points goes on in a further section with a table of its own.
// The generation writes a tile's sections grouped by kind: pavement, edge
// marking, centre marking, lights.
//
// State: 0 outside a tile, 1 in a tile with no section open, 2 "<pave>",
// 3 "<edmk>", 4 "<cntr>", 5 "<lite>". Writing a section of another kind, the
// tile end or Close ends the open section (terminator, then its length is
// written back into the placeholder). Reading: a tag that does not match
// leaves the stream where it was, so the next kind can be tried; counts read
// are clamped (points and lights to 0..capacity, vertices to 0..256); a
// point table or light record cut short by the end of the file keeps the
// entries read in full, and a polygon record cut short is no record.
#pragma once

#include <cstdint>
#include <string>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/surface/texpoints.h"
#include "ostrand/surface/texture.h"

namespace ostrand {

class SurfaceFile {
 public:
  static constexpr int32_t kStateOutside = 0;
  static constexpr int32_t kStateTile = 1;
  static constexpr int32_t kStatePave = 2;
  static constexpr int32_t kStateEdgeMark = 3;
  static constexpr int32_t kStateCentre = 4;
  static constexpr int32_t kStateLights = 5;

  SurfaceFile() = default;
  ~SurfaceFile();
  SurfaceFile(const SurfaceFile&) = delete;
  SurfaceFile& operator=(const SurfaceFile&) = delete;

  // Writing; each returns 1 on success, 0 when the file is not open or a
  // write fell short.
  int Create(const std::string& name);
  int WriteOrigin(double a, double b, double c);
  int WriteGrid();
  // The tile header with tileX, tileZ (a section still open is ended first).
  int WriteTile();
  // One polygon record of `polygon` into the section of that kind, opening
  // it (and writing `points` as its table) first if needed. A polygon of
  // fewer than 3 or more than 256 vertices is not written (result 0), but
  // the section is still opened: that is how an empty section is written.
  int WritePave();
  int WriteEdgeMark();
  int WriteCentre();
  // The same for a polygon given as the point indices of its n corners, in
  // the section of `kind` (kStatePave, kStateEdgeMark or kStateCentre).
  int WritePolygonRecord(int32_t kind, const int32_t* corners, int32_t n);
  // One light record: `points` as positions (x and z in whole feet, cut
  // toward zero), lightType, and stepFeet when there are several positions.
  // No positions: only the section is opened.
  int WriteLights();
  // Ends the open section, so that the next write of the same kind opens a
  // further section (with the then current `points` as its table).
  int EndSection();
  // Ends any open section and writes the tile's "<endo>".
  int WriteTileEnd();
  // Ends any open section; a file opened for writing gets its closing
  // "<endo>". Also closes a file opened for reading.
  int Close();

  // Reading; each returns 1 when the item was read. Per tile: ReadTile, then
  // the Read of each kind until none yields a record, then ReadTileEnd.
  int Open(const std::string& name);
  int ReadOrigin(double& a, double& b, double& c);
  int ReadGrid();
  int ReadTile();
  int ReadPave();
  int ReadEdgeMark();
  int ReadCentre();
  int ReadLights();
  int ReadTileEnd();

  BgrFile& File() { return file; }
  // Current stream position, -1 without a file.
  long Tell();

  int32_t sectionStart = 0;
  BgrFile file;
  int32_t tilesX = 8;
  int32_t tilesZ = 8;
  float tileFeet = 1000.0f;
  double lowLeft[3] = {0.0, 0.0, 0.0};
  int32_t state = 0;
  int32_t tileX = 0;
  int32_t tileZ = 0;
  int32_t lightType = 0;
  float stepFeet = 0.0f;
  TEXPOINTS points;
  TEXTURE polygon;

 private:
  int OpenSection();
  int CloseSection();
  int WritePolygon(int32_t kind);
  int ReadPolygon(int32_t kind, const char* tag);
  int WriteSingle(float v);
  int ReadSingle(float& v);
};

}  // namespace ostrand

// DumpSurfaceFile, the reader's consumer, for callers that include this header.
#include "ostrand/surface/surface_dump.h"
