// Reader of apt.dat airport files (versions 850 to 1200), with a line reader
// of its own: rows of blank-separated fields whose first field is the row
// code. The file begins with "I" or "A" and a line whose first number is
// the version; "99" ends it. Rows read:
//   1, 16, 17   airport (land, sea, heliport): elevation, two unused fields,
//               code, name. Each starts a new airport.
//   1302        metadata: "datum_lat" and "datum_lon" give the reference point
//   100         runway: width (m), surface, shoulder, smoothness, centre lights,
//               edge lights, signs, then per end: name, latitude, longitude,
//               displaced threshold, overrun, markings, approach lights, TDZ,
//               REIL (26 fields)
//   110         pavement outline: surface, smoothness, texture heading, name;
//               then its nodes
//   120         linear feature: name; then its nodes (light codes 101-108 make
//               light strings)
//   111-116     nodes: latitude, longitude; 112, 114 and 116 add a Bézier control
//               point; optional line and light codes follow. 113 and 114 close a
//               ring, 115 and 116 end a line. The first ring of a pavement is
//               its outline, later rings are holes.
//   1201        taxi route node: latitude, longitude, usage, id, name
//   1202        taxi route edge: node id, node id, "oneway"/"twoway", "runway" or
//               "taxiway" or "taxiway_A" to "taxiway_F" (ICAO size class), name
//   1300        start location: latitude, longitude, heading, type, aircraft
//               classes ("heavy|jets|..."), name
// Other rows are skipped.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/airportimport/airport_model.h"

namespace airportimport {

struct AptDatOptions {
  std::string airport;  // the airport to import from a file of several
  double taxiwayWidthFeet = 75.0;
  double runwayWidthFeet = 150.0;
};

// Code and name of each airport of the text.
std::vector<std::pair<std::string, std::string>> ListAptDat(const std::string& text, const std::string& name);

// Reads the airport (the only one, or the one named in the options); throws
// ImportError.
Airport ReadAptDatText(const std::string& text, const std::string& name, const AptDatOptions& options);
Airport ReadAptDat(const std::string& path, const AptDatOptions& options);

// Width in feet of an ICAO taxiway size class letter A-F, 0 for another letter.
double SizeClassWidthFeet(char letter);

}  // namespace airportimport
