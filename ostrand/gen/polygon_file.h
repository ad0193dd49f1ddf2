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
//   LGT <t> <x> <z>                            single light
//   EXI...                                     reading stops here
//
// Any other line is skipped, as are light lines while polygons are read and
// polygon lines while lights are read. A polygon is complete only when its
// "PLY " line follows ("PLY" and a blank, case-sensitive); one of more than
// 255 vertex lines is cut into pieces of 255.
//
// The TaxiwayList members OpenPly, ClosePly, Rewind, ReadPly and ReadLgt
// live in polygon_file.cpp; the helpers below parse single lines.
#pragma once

#include <cstddef>

namespace ostrand {

inline constexpr size_t kPolygonLineSize = 255;  // 254 characters and NUL

}  // namespace ostrand
