// The airportimport command: reads one airport source (ground-network XML,
// apt.dat, OpenStreetMap XML, PBF or Overpass JSON), writes its scenery text
// and its row for the airport database, and reports what the checks found.
// Exit status: 0 nothing to report, 2 the checks found something, 1 the
// input could not be read (nothing is written then).
#pragma once

#include <string>
#include <vector>

#include "tools/airportimport/airport_model.h"

namespace airportimport {

extern const char* const kUsage;

int RunImport(const std::vector<std::string>& args);

// The centre of everything the airport holds, rounded to a millionth of a
// degree, as its reference point.
LatLon CentreOf(const Airport& airport);

}  // namespace airportimport
