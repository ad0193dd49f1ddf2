// The polygon file beside a network file (extension "PLY"): apron outlines
// and light strings, written by the scenery text interpreter and read by the
// surface generation.
//
// Text, one item per line; a line is read with at most 254 characters (the
// rest of a longer line is read as a further line):
//
//   ORG <lat> <lon>          "ORG %lf %lf\n"   origin, written once on creation
//   POI <x> <z>              "POI %ld %ld\n"   apron vertex, whole feet
//   PLY "<name>"             "PLY \"%s\"\n"    ends the polygon of the POI
//                                              lines before it
//   LGT <t> <x1> <z1> <x2> <z2> <n>            light string: type, ends in
//                                              feet, number of lights
//                            "LGT %ld %ld %ld %ld %ld %ld\n"
//   LGT <t> <x> <z>          "LGT %ld %ld %ld\n"   single light
//   EXI...                                     reading stops here
//
// Any other line is skipped, as are light lines while polygons are read and
// polygon lines while lights are read. A polygon is complete only when its
// "PLY " line follows ("PLY" and a blank, case-sensitive); one of more than
// 255 vertex lines is cut into pieces of 255.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ostrand/frame/file_wrappers.h"

namespace ostrand {

class TEXPOINTS;
class TEXTURE;

inline constexpr size_t kPolygonLineSize = 255;  // 254 characters and NUL

// Coordinates of the polygon file are clamped to this many feet either side
// of the origin, so that the working units of the generation (feet shifted
// left by 8) and their sums stay far inside 32 bits.
inline constexpr int32_t kMaxCoordinateFeet = 1000000;

// A coordinate in whole feet of the polygon file, clamped to
// +-kMaxCoordinateFeet.
int32_t ClampFeet(long feet);

// One polygon file, open for reading or being written. A file being written
// is staged beside its target and replaces it only at Commit; closing it
// any other way (Discard, the destructor) leaves the old file as it was.
class PolygonFile {
 public:
  PolygonFile() = default;
  ~PolygonFile() { Discard(); }
  PolygonFile(const PolygonFile&) = delete;
  PolygonFile& operator=(const PolygonFile&) = delete;

  // Opens the file for reading, which reads all of it into memory. 1 when
  // open, else 0 (reported).
  int OpenForReading(const std::string& path);
  // Opens the file for writing: a staged copy of the old file to append to
  // when it exists, otherwise a new one that begins with its "ORG" line.
  // 1 when open, else 0 (reported).
  int OpenForWriting(const std::string& path, double originLat, double originLon);
  // Closes the file; one being written replaces the old one. 0 when that
  // failed (reported).
  int Commit();
  // Closes the file; one being written is dropped.
  void Discard();
  bool IsOpen() const { return file_ != nullptr; }

  // Back to the start of the file; 0 when none is open.
  int Rewind();
  // Next apron polygon (vertices into table, records into polygon); 1 when
  // one with at least one vertex was read. shiftMode < 0 shifts repeated
  // vertices by whole feet.
  int ReadPly(TEXPOINTS& table, TEXTURE& polygon, int shiftMode);
  // Next light string; 1 when one was read.
  int ReadLgt(int32_t& type, int32_t& x1, int32_t& z1, int32_t& x2, int32_t& z2, int32_t& count);

  // The "POI", "PLY" and "LGT" lines; nothing when no file is open.
  void WritePoint(long x, long z);
  void WritePolygonEnd(const std::string& name);
  void WriteLight(long type, long x, long z);
  void WriteLightString(long type, long x1, long z1, long x2, long z2, long count);

 private:
  // Opens the file in the mode ("r", "w" or "a"), the old one closed first.
  int Open(const std::string& path, const char* mode, double originLat, double originLon);
  // Reading: cuts the file's bytes into the lines fgets would read with a
  // buffer of kPolygonLineSize (each through its newline, at most 254
  // characters, NUL bytes kept), each stored after a byte that holds its
  // length and before a NUL.
  void CutLines(const StreamBytes& bytes);
  // Reading: the next line, or an empty text at the end.
  const char* ReadLine();
  // Reading: a line ran into the end of the file (as the stream's
  // end-of-file state), or the file could not be read.
  bool AtEnd() const;
  // Reading: whether the line read as line `index` is a "POI" line, with
  // its numbers into xz when it is. Each line is scanned once and what it
  // gave is kept, since the aprons are read twice over.
  bool ScanPoint(const char* line, size_t index, long (&xz)[2]);

  std::string path_;
  std::FILE* file_ = nullptr;
  StagedOutput staged_;
  // Reading: the lines, whether the last one ran into the end of the file
  // (had no newline), where the next line to read is stored, and whether a
  // read has met the end (cleared by Rewind).
  StreamBytes lines_;
  bool lastMetEnd_ = false;
  size_t next_ = 0;
  bool ended_ = false;
  // Reading: the number of the next line; per line, whether it was scanned
  // as a "POI" line and was one, and the numbers of those that were.
  enum PointScan : unsigned char { kUnscanned, kPoint, kNoPoint };
  size_t line_ = 0;
  std::vector<PointScan> pointScans_;
  std::unique_ptr<std::array<int32_t, 2>[]> points_;
};

}  // namespace ostrand
