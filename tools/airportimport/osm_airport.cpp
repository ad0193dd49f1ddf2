// The airport of OpenStreetMap aeroway features; see osm_data.h.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tools/airportimport/import_error.h"
#include "tools/airportimport/osm_data.h"

namespace airportimport {

namespace {

constexpr double kFeetPerMetre = 1.0 / 0.3048;

std::string Tag(const OsmTags& tags, const std::string& key) {
  const auto found = tags.find(key);
  return found == tags.end() ? "" : found->second;
}

class Converter {
 public:
  Converter(const OsmData& data, const std::string& name, const OsmOptions& options)
      : data_(data), name_(name), options_(options) {}

  Airport Convert() {
    airport_.source = name_;
    for (const auto& [id, node] : data_.nodes) Feature('n', id, node.tags, {node.at});
    for (const auto& [id, way] : data_.ways) Way(id, way);
    for (const auto& [id, rel] : data_.relations) Relation(id, rel);
    return airport_;
  }

 private:
  // The positions of a way's nodes; nodes missing from the data are noted.
  std::vector<LatLon> Positions(int64_t id, const OsmWay& way) {
    std::vector<LatLon> out;
    for (int64_t n : way.nodes) {
      const auto found = data_.nodes.find(n);
      if (found == data_.nodes.end()) {
        airport_.notes.push_back("way " + std::to_string(id) + ": node " + std::to_string(n) + " is not in the data, skipped");
        continue;
      }
      out.push_back(found->second.at);
    }
    return out;
  }

  static LatLon Centre(const std::vector<LatLon>& points) {
    LatLon c;
    for (const LatLon& p : points) c.lat += p.lat / static_cast<double>(points.size()), c.lon += p.lon / static_cast<double>(points.size());
    return c;
  }

  // Tags that mean the same on a node, a way or a relation.
  void Feature(char type, int64_t id, const OsmTags& tags, const std::vector<LatLon>& at) {
    const std::string aeroway = Tag(tags, "aeroway");
    const std::string where = std::string(type == 'n' ? "node " : type == 'w' ? "way " : "relation ") + std::to_string(id);
    if (aeroway == "aerodrome" && !at.empty()) {
      std::string code = Tag(tags, "icao");
      if (code.empty()) code = Tag(tags, "ref");
      if (!airport_.hasReference || (airport_.code.empty() && !code.empty())) {
        airport_.reference = Centre(at);
        airport_.hasReference = true;
        airport_.code = code;
        airport_.name = Tag(tags, "name");
      }
    } else if ((aeroway == "parking_position" || aeroway == "gate") && !at.empty()) {
      Stand s;
      s.at = Centre(at);
      s.name = Tag(tags, "ref").empty() ? Tag(tags, "name") : Tag(tags, "ref");
      s.radiusFeet = options_.standRadiusFeet;
      s.where = where;
      airport_.stands.push_back(s);
    }
  }

  void Way(int64_t id, const OsmWay& way) {
    const std::string aeroway = Tag(way.tags, "aeroway");
    const std::string where = "way " + std::to_string(id);
    const bool closed = way.nodes.size() > 3 && way.nodes.front() == way.nodes.back();
    if (aeroway == "aerodrome" || aeroway == "parking_position" || aeroway == "gate") {
      Feature('w', id, way.tags, Positions(id, way));
    } else if (aeroway == "runway") {
      const std::vector<LatLon> at = Positions(id, way);
      if (closed || at.size() < 2) {
        airport_.notes.push_back(where + ": a runway that is an area or has no two nodes, skipped");
        return;
      }
      Runway r;
      r.ends[0].at = at.front();
      r.ends[1].at = at.back();
      const std::string ref = Tag(way.tags, "ref");
      const size_t slash = ref.find('/');
      r.ends[0].name = ref.substr(0, slash);
      r.ends[1].name = slash == std::string::npos ? "" : ref.substr(slash + 1);
      r.widthFeet = WidthTagFeet(Tag(way.tags, "width"));
      if (r.widthFeet <= 0) r.widthFeet = options_.runwayWidthFeet;
      airport_.runways.push_back(r);
      for (int64_t n : way.nodes) runwayNodes_.push_back(n);
    } else if (aeroway == "taxiway" || aeroway == "taxilane") {
      double width = WidthTagFeet(Tag(way.tags, "width"));
      if (width <= 0) width = aeroway == "taxiway" ? options_.taxiwayWidthFeet : options_.taxilaneWidthFeet;
      const bool oneway = Tag(way.tags, "oneway") == "yes";
      int32_t previous = -1;
      for (int64_t n : way.nodes) {
        const int32_t node = NodeIndex(n, where);
        if (node >= 0 && previous >= 0 && node != previous) {
          Edge e;
          e.from = previous;
          e.to = node;
          e.widthFeet = width;
          e.twoWay = !oneway;
          e.kind = aeroway == "taxiway" ? EdgeKind::Taxiway : EdgeKind::Taxilane;
          e.where = where;
          airport_.edges.push_back(e);
        }
        if (node >= 0) previous = node;
      }
    } else if (aeroway == "apron") {
      if (!closed) {
        airport_.notes.push_back(where + ": an apron that is not a closed way, skipped");
        return;
      }
      std::vector<LatLon> ring = Positions(id, way);
      if (!ring.empty()) ring.pop_back();
      airport_.outlines.push_back({Tag(way.tags, "name").empty() ? "APRON" : Tag(way.tags, "name"), ring, where});
    }
  }

  int32_t NodeIndex(int64_t n, const std::string& where) {
    const auto known = index_.find(n);
    if (known != index_.end()) return known->second;
    const auto found = data_.nodes.find(n);
    if (found == data_.nodes.end()) {
      airport_.notes.push_back(where + ": node " + std::to_string(n) + " is not in the data, skipped");
      return -1;
    }
    const int32_t number = static_cast<int32_t>(airport_.nodes.size());
    index_[n] = number;
    airport_.nodes.push_back({found->second.at, false, "node " + std::to_string(n)});
    return number;
  }

  // Outer rings of a multipolygon: its outer ways joined end to end.
  void Relation(int64_t id, const OsmRelation& rel) {
    const std::string where = "relation " + std::to_string(id);
    if (Tag(rel.tags, "aeroway") == "aerodrome") {
      std::vector<LatLon> all;
      for (const OsmMember& m : rel.members)
        if (m.type == 'w' && data_.ways.count(m.ref) != 0) {
          const auto p = Positions(m.ref, data_.ways.at(m.ref));
          all.insert(all.end(), p.begin(), p.end());
        }
      Feature('r', id, rel.tags, all);
      return;
    }
    if (Tag(rel.tags, "aeroway") != "apron" || Tag(rel.tags, "type") != "multipolygon") return;
    std::vector<std::vector<int64_t>> pieces;
    for (const OsmMember& m : rel.members) {
      if (m.type != 'w') continue;
      if (m.role == "inner") {
        airport_.notes.push_back(where + ": a hole (way " + std::to_string(m.ref) + ") is skipped");
        continue;
      }
      const auto way = data_.ways.find(m.ref);
      if (way == data_.ways.end() || way->second.nodes.size() < 2) {
        airport_.notes.push_back(where + ": way " + std::to_string(m.ref) + " is not in the data, skipped");
        continue;
      }
      pieces.push_back(way->second.nodes);
    }
    while (!pieces.empty()) {
      std::vector<int64_t> ring = pieces.back();
      pieces.pop_back();
      for (bool grown = true; grown && ring.front() != ring.back();) {
        grown = false;
        for (size_t i = 0; i < pieces.size() && !grown; ++i) {
          std::vector<int64_t>& p = pieces[i];
          if (p.front() == ring.back()) ring.insert(ring.end(), p.begin() + 1, p.end()), grown = true;
          else if (p.back() == ring.back()) ring.insert(ring.end(), p.rbegin() + 1, p.rend()), grown = true;
          if (grown) pieces.erase(pieces.begin() + static_cast<ptrdiff_t>(i));
        }
      }
      if (ring.size() < 4 || ring.front() != ring.back()) {
        airport_.notes.push_back(where + ": an outer ring that does not close, skipped");
        continue;
      }
      std::vector<LatLon> corners = Positions(id, OsmWay{ring, {}});
      if (corners.size() < 4) continue;  // its nodes are not in the data (noted)
      corners.pop_back();
      airport_.outlines.push_back({Tag(rel.tags, "name").empty() ? "APRON" : Tag(rel.tags, "name"), corners, where});
    }
  }

 public:
  void MarkRunwayNodes() {
    for (int64_t n : runwayNodes_) {
      const auto found = index_.find(n);
      if (found != index_.end()) airport_.nodes[static_cast<size_t>(found->second)].onRunway = true;
    }
  }
  Airport& airport() { return airport_; }

 private:
  const OsmData& data_;
  const std::string& name_;
  const OsmOptions& options_;
  Airport airport_;
  std::map<int64_t, int32_t> index_;
  std::vector<int64_t> runwayNodes_;
};

}  // namespace

double WidthTagFeet(const std::string& text) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(v) || v <= 0) return 0;
  std::string unit(end);
  unit.erase(std::remove(unit.begin(), unit.end(), ' '), unit.end());
  double feet = 0;
  if (unit.empty() || unit == "m") feet = v * kFeetPerMetre;
  else if (unit == "ft" || unit == "'") feet = v;
  return feet > 1000 ? 0 : feet;
}

Airport AirportFromOsm(const OsmData& data, const std::string& name, const OsmOptions& options) {
  Converter converter(data, name, options);
  converter.Convert();
  converter.MarkRunwayNodes();
  return converter.airport();
}

}  // namespace airportimport
