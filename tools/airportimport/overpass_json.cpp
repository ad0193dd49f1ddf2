// Overpass API JSON input through nlohmann-json: {"elements": [...]} with
// nodes (id, lat, lon, tags), ways (id, nodes, tags; "geometry" of
// {lat, lon} beside the nodes when the query asked for it) and relations
// (id, members of {type, ref, role}, tags).
#include <nlohmann/json.hpp>

#include <cmath>

#include "tools/airportimport/import_error.h"
#include "tools/airportimport/osm_data.h"

namespace airportimport {

namespace {

using nlohmann::json;

OsmTags TagsOf(const json& element, const std::string& name, const std::string& where) {
  OsmTags tags;
  if (!element.contains("tags")) return tags;
  const json& t = element["tags"];
  if (!t.is_object()) throw ImportError(name, where, "tags is not an object");
  for (const auto& [key, value] : t.items()) {
    if (!value.is_string()) throw ImportError(name, where, "tag " + key + " is not a string");
    tags[key] = value.get<std::string>();
  }
  return tags;
}

LatLon Position(const json& e, const std::string& name, const std::string& where) {
  if (!e.contains("lat") || !e.contains("lon") || !e["lat"].is_number() || !e["lon"].is_number())
    throw ImportError(name, where, "has no lat and lon numbers");
  const LatLon p{e["lat"].get<double>(), e["lon"].get<double>()};
  if (!(std::fabs(p.lat) <= 85) || !(std::fabs(p.lon) <= 180)) throw ImportError(name, where, "position out of range");
  return p;
}

}  // namespace

OsmData ReadOverpassJson(const std::string& text, const std::string& name) {
  json doc;
  try {
    doc = json::parse(text);
  } catch (const json::parse_error& e) {
    throw ImportError(name, "byte " + std::to_string(e.byte), e.what());
  }
  if (!doc.is_object() || !doc.contains("elements") || !doc["elements"].is_array())
    throw ImportError(name, "", "not Overpass API JSON (no \"elements\" array)");
  OsmData data;
  for (const json& e : doc["elements"]) {
    if (!e.is_object() || !e.contains("type") || !e["type"].is_string() || !e.contains("id") ||
        !e["id"].is_number_integer())
      throw ImportError(name, "", "an element without type and id");
    const std::string type = e["type"].get<std::string>();
    const int64_t id = e["id"].get<int64_t>();
    const std::string where = type + " " + std::to_string(id);
    if (type == "node") {
      data.nodes[id] = {Position(e, name, where), TagsOf(e, name, where)};
    } else if (type == "way") {
      if (!e.contains("nodes") || !e["nodes"].is_array()) throw ImportError(name, where, "has no nodes array");
      OsmWay way{{}, TagsOf(e, name, where)};
      for (const json& n : e["nodes"]) {
        if (!n.is_number_integer()) throw ImportError(name, where, "a node reference is not a whole number");
        way.nodes.push_back(n.get<int64_t>());
      }
      if (e.contains("geometry") && e["geometry"].is_array() && e["geometry"].size() == way.nodes.size())
        for (size_t i = 0; i < way.nodes.size(); ++i)
          if (data.nodes.count(way.nodes[i]) == 0 && e["geometry"][i].is_object())
            data.nodes[way.nodes[i]] = {Position(e["geometry"][i], name, where), {}};
      data.ways[id] = std::move(way);
    } else if (type == "relation") {
      if (!e.contains("members") || !e["members"].is_array()) throw ImportError(name, where, "has no members array");
      OsmRelation rel{{}, TagsOf(e, name, where)};
      for (const json& m : e["members"]) {
        if (!m.is_object() || !m.contains("type") || !m["type"].is_string() || !m.contains("ref") ||
            !m["ref"].is_number_integer())
          throw ImportError(name, where, "a member without type and ref");
        const std::string role = m.contains("role") && m["role"].is_string() ? m["role"].get<std::string>() : "";
        rel.members.push_back({m["type"].get<std::string>().empty() ? 'w' : m["type"].get<std::string>()[0],
                               m["ref"].get<int64_t>(), role});
      }
      data.relations[id] = std::move(rel);
    }
  }
  return data;
}

}  // namespace airportimport
