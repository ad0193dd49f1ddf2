// Benchmark-side converter (not part of the product): reads a public taxi
// network in the groundnet XML form (parkings and taxi nodes with lat/lon
// strings such as "N49 19.386727", arcs begin/end by node index) and writes
// it as a network file through BgrFile, so that the generation can be timed
// on real airports.
//
// Every node and parking becomes a vertex in feet from the first one (x
// east, z north); every unordered pair of an arc becomes one edge: a runway
// (type 0, 150 ft) when both ends are flagged isOnRunway="1", otherwise a
// taxiway (type 1, 75 ft, flags 0). With a polygon file name, every parking
// stand also becomes a small square apron there (POI/PLY lines, the square's
// half side the stand's radius in metres, taken as feet x 3.28). Header-only,
// for benchmarks and the real-data tests.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ostrand/bgr/bgr_file.h"

namespace ostrand::bench {

struct GroundnetSummary {
  int32_t vertices = 0;
  int32_t edges = 0;
};

namespace groundnet_detail {

// The value of attribute `name` in the tag text, or "".
inline std::string Attribute(const std::string& tag, const char* name) {
  const std::string key = std::string(" ") + name + "=\"";
  const size_t at = tag.find(key);
  if (at == std::string::npos) return "";
  const size_t start = at + key.size();
  const size_t end = tag.find('"', start);
  return end == std::string::npos ? "" : tag.substr(start, end - start);
}

// "N49 19.386727" -> seconds of arc (south and west negative).
inline double ArcSeconds(const std::string& text) {
  if (text.size() < 2) return 0.0;
  const double sign = (text[0] == 'S' || text[0] == 'W') ? -1.0 : 1.0;
  char* rest = nullptr;
  const double degrees = std::strtod(text.c_str() + 1, &rest);
  const double minutes = std::strtod(rest, nullptr);
  return sign * (degrees * 3600.0 + minutes * 60.0);
}

}  // namespace groundnet_detail

// Converts `xmlPath` into the network file `bgrPath` (and the polygon file
// `plyPath` when given); the counts written, or zeros when the XML could not
// be read.
inline GroundnetSummary ConvertGroundnet(const std::string& xmlPath, const std::string& bgrPath,
                                         const std::string& plyPath = "") {
  using groundnet_detail::ArcSeconds;
  using groundnet_detail::Attribute;
  GroundnetSummary summary;
  std::ifstream in(xmlPath, std::ios::binary);
  if (!in) return summary;
  const std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  struct Node {
    double lat, lon;
    bool onRunway;
    double parkingRadius;  // 0 for taxi nodes
  };
  std::map<long, int32_t> indexOf;  // XML index -> vertex number
  std::vector<Node> nodes;
  std::set<std::pair<long, long>> arcs;
  for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
    const size_t end = xml.find('>', at);
    if (end == std::string::npos) break;
    const std::string tag = xml.substr(at, end - at);
    if (tag.rfind("<node ", 0) == 0 || tag.rfind("<Parking ", 0) == 0) {
      const long index = std::strtol(Attribute(tag, "index").c_str(), nullptr, 10);
      if (indexOf.count(index) != 0) continue;
      indexOf[index] = static_cast<int32_t>(nodes.size());
      const bool parking = tag.rfind("<Parking ", 0) == 0;
      const double radius = parking ? std::strtod(Attribute(tag, "radius").c_str(), nullptr) : 0.0;
      nodes.push_back({ArcSeconds(Attribute(tag, "lat")), ArcSeconds(Attribute(tag, "lon")),
                       Attribute(tag, "isOnRunway") == "1", parking ? std::max(radius, 10.0) : 0.0});
    } else if (tag.rfind("<arc ", 0) == 0) {
      long a = std::strtol(Attribute(tag, "begin").c_str(), nullptr, 10);
      long b = std::strtol(Attribute(tag, "end").c_str(), nullptr, 10);
      if (a > b) std::swap(a, b);
      if (a != b) arcs.insert({a, b});
    }
  }
  if (nodes.empty()) return summary;

  // Feet per second of arc: of latitude, and of longitude at the equator.
  constexpr double kFeetPerSecondLat = 131256561.67979005 / 1296000.0;
  constexpr double kFeetPerSecondLon = 131479658.79265094 / 1296000.0;
  const double lat0 = nodes[0].lat, lon0 = nodes[0].lon;
  const double c = std::cos(lat0 / 3600.0 * 3.14159265358979323846 / 180.0);

  BgrFile file;
  if (!file.OpenWrite(bgrPath)) return summary;
  file.WriteOrigin(lat0, lon0, 0.0);
  std::ofstream ply;
  if (!plyPath.empty()) {
    ply.open(plyPath, std::ios::binary | std::ios::trunc);
    ply << "ORG " << lat0 << " " << lon0 << "\n";
  }
  for (const Node& n : nodes) {
    const double x = std::trunc((n.lon - lon0) * kFeetPerSecondLon * c);
    const double z = std::trunc((n.lat - lat0) * kFeetPerSecondLat);
    file.WriteNode(x, 0.0, z);
    if (ply.is_open() && n.parkingRadius > 0) {
      const long h = std::lround(n.parkingRadius * 3.28), cx = std::lround(x), cz = std::lround(z);
      ply << "POI " << cx - h << " " << cz - h << "\nPOI " << cx + h << " " << cz - h << "\nPOI "
          << cx + h << " " << cz + h << "\nPOI " << cx - h << " " << cz + h << "\nPLY \"stand\"\n";
    }
  }
  for (const auto& arc : arcs) {
    const auto a = indexOf.find(arc.first), b = indexOf.find(arc.second);
    if (a == indexOf.end() || b == indexOf.end()) continue;
    const bool runway = nodes[static_cast<size_t>(a->second)].onRunway &&
                        nodes[static_cast<size_t>(b->second)].onRunway;
    file.WriteEdge(a->second, b->second, runway ? 150 : 75, runway ? 0 : 1, 0, 0);
    ++summary.edges;
  }
  file.Close();
  summary.vertices = static_cast<int32_t>(nodes.size());
  return summary;
}

}  // namespace ostrand::bench
