// SurfaceFile: writer and reader of TMS surface files.
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
//             sections..., "<endo>"
//   "<endo>"
//
// A section is a tag ("<pave>", "<edmk>", "<cntr>", "<lite>"), an i32 length
// (bytes after the length field up to and including the terminator), a body
// and the terminator i32 0.
//   polygon body: i32 20, 65536, 2, 0; i32 point count p, p × (i32 x, y, z)
//     in 1/256 ft; per polygon: i32 5, i32 n (3..256), i32 0, 65535, 0, 0,
//     n × i32 point index. Length = 16 + 4 + 12p + Σ(24 + 4n) + 4.
//   light body: per record: i32 count (> 0), i32 type, count × (f32 x, f32 z)
//     in feet, f32 step_ft only when count > 1.
#pragma once

#include <cstdint>
#include <string>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/surface/texpoints.h"
#include "ostrand/surface/texture.h"

namespace ostrand {

class SurfaceFile {
 public:
  SurfaceFile() = default;

  // Writing; each returns 1 on success.
  int Create(const std::string& name);
  int WriteOrigin(double a, double b, double c);
  int WriteGrid();
  int WriteTile();
  int WritePave();
  int WriteEdgeMark();
  int WriteCentre();
  int WriteLights();
  int WriteTileEnd();
  int Close();

  // Reading.
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
};

// Prints the dump of a TMS file to the console; 1 in every case.
int DumpSurfaceFile(const char* name);

}  // namespace ostrand
