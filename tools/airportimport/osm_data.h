// OpenStreetMap elements as the airport conversion needs them, filled from
// OSM XML or PBF files (libosmium) or from Overpass API JSON
// (nlohmann-json), and the conversion of the aeroway features into an
// airport:
//   aeroway=runway      way: a runway centre line from its first to its last
//                       node; ref "05/23" names the ends; width in metres
//                       ("45", "45 m") or feet ("150 ft", "150'")
//   aeroway=taxiway,    ways: taxiway centre lines; consecutive nodes make
//   aeroway=taxilane    edges; ways meet only at shared nodes; oneway=yes
//   aeroway=apron       closed way, or multipolygon relation: outline(s); inner
//                       rings are holes (reported, skipped)
//   aeroway=parking_position, aeroway=gate
//                       node (or way: its centre): a stand, named by ref or name
//   aeroway=aerodrome   the airport: icao (or ref) tag is its code, its
//                       position or centre the reference point
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/airportimport/airport_model.h"

namespace airportimport {

using OsmTags = std::map<std::string, std::string>;

struct OsmNode {
  LatLon at;
  OsmTags tags;
};

struct OsmWay {
  std::vector<int64_t> nodes;
  OsmTags tags;
};

struct OsmMember {
  char type = 'w';  // 'n', 'w' or 'r'
  int64_t ref = 0;
  std::string role;
};

struct OsmRelation {
  std::vector<OsmMember> members;
  OsmTags tags;
};

struct OsmData {
  std::map<int64_t, OsmNode> nodes;
  std::map<int64_t, OsmWay> ways;
  std::map<int64_t, OsmRelation> relations;
};

struct OsmOptions {
  double runwayWidthFeet = 150.0;
  double taxiwayWidthFeet = 75.0;
  double taxilaneWidthFeet = 50.0;
  double standRadiusFeet = 60.0;
};

// .osm XML or .osm.pbf through libosmium; throws ImportError.
OsmData ReadOsmFile(const std::string& path);
// The same from memory, `format` "osm" or "pbf" (for the fuzz target).
OsmData ReadOsmBuffer(const std::string& data, const std::string& format, const std::string& name);
// Overpass API JSON ({"elements": [...]}); throws ImportError.
OsmData ReadOverpassJson(const std::string& text, const std::string& name);

// "45" and "45 m" are metres, "150 ft" and "150'" feet; 0 when unreadable.
double WidthTagFeet(const std::string& text);

// The airport of the aeroway features; throws ImportError.
Airport AirportFromOsm(const OsmData& data, const std::string& name, const OsmOptions& options);

}  // namespace airportimport
