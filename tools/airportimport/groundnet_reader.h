// Reader of public ground networks: the ground-network XML of an airport and
// its runway threshold XML.
//
// Ground network (root <groundnet>):
//   <parkingList><Parking index= lat= lon= heading= radius= name= number=
//     type= pushBackRoute=/>...</parkingList>
//   <TaxiNodes><node index= lat= lon= isOnRunway= holdPointType=/>...</TaxiNodes>
//   <TaxiWaySegments><arc begin= end= isPushBackRoute= name=/>...</TaxiWaySegments>
// Positions are a hemisphere letter, whole degrees and decimal minutes
// ("N50 2.123", "W122 22.5"); radius is in metres, heading in degrees.
// Parkings are network nodes too (arcs name them by index) and become
// stands. An arc is one direction; one given both ways is one edge.
//
// Thresholds (root <PropertyList>): <runway> elements each holding two
// <threshold> elements with <lat>, <lon> (decimal degrees) and <rwy> (the
// end's name).
#pragma once

#include <string>

#include "tools/airportimport/airport_model.h"

namespace airportimport {

struct GroundnetOptions {
  std::string code;           // airport code; from the file name when empty
  std::string thresholdPath;  // runway ends; searched beside the file when empty
  std::string runwaysCsv;     // runway widths; none when empty
  double runwayWidthFeet = 150.0;
  double taxiwayWidthFeet = 75.0;
};

// Reads the ground network `path` (and its thresholds); throws ImportError.
Airport ReadGroundnet(const std::string& path, const GroundnetOptions& options);

// Reads ground-network text already in memory (no thresholds); for the fuzz
// target and the tests.
Airport ReadGroundnetText(const std::string& text, const std::string& name,
                          const GroundnetOptions& options);

// "N53 37.7592" -> degrees; false when the text is not of that form.
bool ParseDegreesMinutes(const std::string& text, bool latitude, double& degrees);

}  // namespace airportimport
