// The airport that an importer reads, before it is written as scenery text:
// positions in degrees (north and east positive), sizes in feet. Readers of
// every source fill the same model; the writer and the checks read it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace airportimport {

struct LatLon {
  double lat = 0.0;  // degrees
  double lon = 0.0;  // degrees
};

struct RunwayEnd {
  std::string name;  // "05", "23L"
  LatLon at;
};

struct Runway {
  RunwayEnd ends[2];
  double widthFeet = 0.0;
};

// A point of the taxi network; `where` says where the source defined it
// (a line number or an element id), for messages.
struct Node {
  LatLon at;
  bool onRunway = false;
  std::string where;
};

enum class EdgeKind { Taxiway, Taxilane, Pushback };

// One edge as the source gives it. A two-way edge counts in both
// directions; a one-way edge only from `from` to `to`.
struct Edge {
  int32_t from = 0;
  int32_t to = 0;
  double widthFeet = 0.0;
  EdgeKind kind = EdgeKind::Taxiway;
  bool twoWay = true;
  std::string where;
};

struct Outline {
  std::string name;
  std::vector<LatLon> corners;  // open ring: the last corner is not the first again
  std::string where;
};

struct Stand {
  std::string name;
  LatLon at;
  double radiusFeet = 0.0;
  double headingDegrees = 0.0;
  std::string where;
};

// One light, or a string of `count` lights from `from` to `to`.
struct Light {
  int32_t type = 1;
  LatLon from;
  LatLon to;
  int32_t count = 1;
};

struct Airport {
  std::string code;
  std::string name;
  std::string source;  // the file read
  LatLon reference;
  bool hasReference = false;
  std::vector<Runway> runways;
  std::vector<Node> nodes;
  std::vector<Edge> edges;
  std::vector<Outline> outlines;
  std::vector<Stand> stands;
  std::vector<Light> lights;
  std::vector<std::string> notes;  // what the reader skipped, with where
};

}  // namespace airportimport
