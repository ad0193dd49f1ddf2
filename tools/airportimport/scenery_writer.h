// Writes an imported airport as scenery text: a comment header, SRC, the
// REF line at the airport's reference point, the runways (RWY), REF again
// (a RWY line moves the interpreter's reference to its first end), every
// unique edge as a MOV and a LIN line, the apron outlines and stand aprons
// (POI lines closed by PLY), the lights (LGT) and EXI. Positions in feet are
// written so that the interpreter lands on the nearest whole foot.
#pragma once

#include <string>
#include <vector>

#include "tools/airportimport/airport_model.h"

namespace airportimport {

constexpr double kShortestRunwayFeet = 760.0;  // the interpreter drops runways under 750 ft
constexpr int kMaxOutlineCorners = 255;
constexpr int kStandLightType = 1;

struct WrittenCounts {
  int runwayLines = 0;
  int edges = 0;
  int outlines = 0;  // PLY lines, pieces of long outlines and stand aprons included
  int lights = 0;
};

// "N53:37:49.440000" / "E009:59:17.628000" forms of a position in degrees.
std::string LatitudeField(double degrees);
std::string LongitudeField(double degrees);

std::string SceneryText(const Airport& airport, WrittenCounts* counts = nullptr);

// Cuts a ring of more than `limit` corners into rings of at most `limit`
// corners whose union covers it: consecutive runs of the ring closed by a
// chord, and the ring of the run ends (cut again when still too long).
std::vector<std::vector<size_t>> SplitRing(size_t corners, size_t limit);

}  // namespace airportimport
