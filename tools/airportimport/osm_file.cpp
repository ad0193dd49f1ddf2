// OSM XML and PBF input through libosmium.
#include <osmium/handler.hpp>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/xml_input.hpp>
#include <osmium/visitor.hpp>

#include <cmath>

#include "tools/airportimport/import_error.h"
#include "tools/airportimport/osm_data.h"

namespace airportimport {

namespace {

OsmTags TagsOf(const osmium::TagList& list) {
  OsmTags tags;
  for (const osmium::Tag& t : list) tags[t.key()] = t.value();
  return tags;
}

class Collector : public osmium::handler::Handler {
 public:
  Collector(OsmData& data, const std::string& name) : data_(data), name_(name) {}

  void node(const osmium::Node& n) {
    const osmium::Location l = n.location();
    if (!l.valid())
      throw ImportError(name_, "node " + std::to_string(n.id()), "has no valid position");
    data_.nodes[n.id()] = {{l.lat(), l.lon()}, TagsOf(n.tags())};
  }
  void way(const osmium::Way& w) {
    OsmWay way{{}, TagsOf(w.tags())};
    for (const osmium::NodeRef& r : w.nodes()) way.nodes.push_back(r.ref());
    data_.ways[w.id()] = std::move(way);
  }
  void relation(const osmium::Relation& r) {
    OsmRelation rel{{}, TagsOf(r.tags())};
    for (const osmium::RelationMember& m : r.members())
      rel.members.push_back({m.type() == osmium::item_type::node ? 'n' : m.type() == osmium::item_type::way ? 'w' : 'r',
                             m.ref(), m.role()});
    data_.relations[r.id()] = std::move(rel);
  }

 private:
  OsmData& data_;
  const std::string& name_;
};

OsmData Read(osmium::io::File file, const std::string& name) {
  OsmData data;
  try {
    osmium::io::Reader reader{file};
    Collector collector(data, name);
    osmium::apply(reader, collector);
    reader.close();
  } catch (const ImportError&) {
    throw;
  } catch (const osmium::xml_error& e) {
    throw ImportError(name, "line " + std::to_string(e.line), e.error_string.empty() ? e.what() : e.error_string);
  } catch (const std::exception& e) {
    throw ImportError(name, "", e.what());
  }
  return data;
}

}  // namespace

OsmData ReadOsmFile(const std::string& path) {
  const bool pbf = path.size() > 4 && path.compare(path.size() - 4, 4, ".pbf") == 0;
  return Read(osmium::io::File(path, pbf ? "pbf" : "osm"), path);
}

OsmData ReadOsmBuffer(const std::string& data, const std::string& format, const std::string& name) {
  return Read(osmium::io::File(data.data(), data.size(), format), name);
}

}  // namespace airportimport
