// Runways as the scenery text's RWY lines. The interpreter drops an earlier
// runway line whose two ends both lie within 1000 ft (on each axis) of the
// two ends of a later one, which would lose one of two close parallel
// runways; such a runway is written as two or three consecutive pieces with
// their joints placed so that no two pieces fall under that rule. End 1 of
// each line is the end nearer the reference point (the interpreter moves
// its reference to end 1).
#pragma once

#include <vector>

#include "tools/airportimport/local_frame.h"

namespace airportimport {

struct RunwayPiece {
  Feet from;
  Feet to;
  size_t runway = 0;  // index into Airport::runways
};

// Pieces for the runways given by their ends in local feet; runways shorter
// than `shortest` feet are left out.
std::vector<RunwayPiece> PlanRunwayPieces(const std::vector<std::pair<Feet, Feet>>& runways,
                                          double shortest);

}  // namespace airportimport
