#include "tools/airportimport/groundnet_reader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <vector>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "tools/airportimport/file_text.h"
#include "tools/airportimport/import_error.h"
#include "tools/airportimport/runway_table.h"

namespace airportimport {

namespace {

constexpr double kFeetPerMetre = 1.0 / 0.3048;

// Lines of byte offsets in a text (1-based), from the line ends found once.
class LineIndex {
 public:
  explicit LineIndex(const std::string& text) : size_(text.size()) {
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') ends_.push_back(i);
  }
  std::string Line(ptrdiff_t offset) const {
    if (offset < 0 || static_cast<size_t>(offset) > size_) return "";
    const auto before = std::lower_bound(ends_.begin(), ends_.end(), static_cast<size_t>(offset));
    return std::to_string(before - ends_.begin() + 1);
  }

 private:
  size_t size_;
  std::vector<size_t> ends_;
};

pugi::xml_document Parse(const std::string& text, const std::string& name) {
  pugi::xml_document doc;
  const pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
  if (!result) throw ImportError(name, "line " + LineIndex(text).Line(result.offset), result.description());
  return doc;
}

bool Number(const char* text, double& value) {
  char* end = nullptr;
  value = std::strtod(text, &end);
  if (end == text || !std::isfinite(value)) return false;
  while (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r') ++end;
  return *end == '\0';
}

class GroundnetParser {
 public:
  GroundnetParser(const std::string& text, const std::string& name, const GroundnetOptions& options)
      : text_(text), lines_(text), name_(name), options_(options) {}

  Airport Read() {
    const pugi::xml_document doc = Parse(text_, name_);
    const pugi::xml_node root = doc.child("groundnet");
    if (!root) throw ImportError(name_, "", "no <groundnet> element");
    airport_.source = name_;
    airport_.code = options_.code;
    for (pugi::xml_node p : root.child("parkingList").children("Parking")) {
      const int32_t n = AddNode(p);
      Stand s;
      s.at = airport_.nodes[static_cast<size_t>(n)].at;
      s.name = std::string(p.attribute("name").as_string()) + p.attribute("number").as_string();
      s.where = Where(p);
      double radius = 0, heading = 0;
      if (!Number(p.attribute("radius").as_string("0"), radius) || radius < 0 || radius > 200)
        throw ImportError(name_, s.where, "radius is not a number of metres");
      if (!Number(p.attribute("heading").as_string("0"), heading) || std::fabs(heading) > 720)
        throw ImportError(name_, s.where, "heading is not a number of degrees");
      s.radiusFeet = radius * kFeetPerMetre;
      s.headingDegrees = heading;
      airport_.stands.push_back(s);
    }
    for (pugi::xml_node n : root.child("TaxiNodes").children("node")) AddNode(n);
    for (pugi::xml_node a : root.child("TaxiWaySegments").children("arc")) AddArc(a);
    return airport_;
  }

 private:
  std::string Where(pugi::xml_node n) const { return "line " + lines_.Line(n.offset_debug()); }

  int32_t AddNode(pugi::xml_node n) {
    Node node;
    node.where = Where(n);
    const pugi::xml_attribute index = n.attribute("index");
    char* end = nullptr;
    const long id = std::strtol(index.as_string(), &end, 10);
    if (!index || end == index.as_string() || *end != '\0')
      throw ImportError(name_, node.where, std::string("<") + n.name() + "> without a whole-number index");
    if (!ParseDegreesMinutes(n.attribute("lat").as_string(), true, node.at.lat) ||
        !ParseDegreesMinutes(n.attribute("lon").as_string(), false, node.at.lon))
      throw ImportError(name_, node.where,
                        std::string("<") + n.name() + " index=\"" + std::to_string(id) +
                            "\"> has no position of the form lat=\"N50 2.123\" lon=\"E8 31.5\"");
    node.onRunway = n.attribute("isOnRunway").as_int() == 1;
    if (index_.count(id) != 0) {
      airport_.notes.push_back(node.where + ": index " + std::to_string(id) + " given again, skipped");
      return index_[id];
    }
    const int32_t number = static_cast<int32_t>(airport_.nodes.size());
    index_[id] = number;
    airport_.nodes.push_back(node);
    return number;
  }

  void AddArc(pugi::xml_node a) {
    Edge e;
    e.where = Where(a);
    const pugi::xml_attribute begin = a.attribute("begin"), end = a.attribute("end");
    if (!begin || !end) throw ImportError(name_, e.where, "<arc> without begin and end");
    const auto from = index_.find(begin.as_llong(-1)), to = index_.find(end.as_llong(-1));
    if (from == index_.end() || to == index_.end()) {
      airport_.notes.push_back(e.where + ": arc " + begin.as_string() + "-" + end.as_string() +
                               " names a node that does not exist, skipped");
      return;
    }
    e.from = from->second;
    e.to = to->second;
    e.twoWay = false;
    e.widthFeet = options_.taxiwayWidthFeet;
    e.kind = a.attribute("isPushBackRoute").as_int() == 1 ? EdgeKind::Pushback : EdgeKind::Taxiway;
    airport_.edges.push_back(e);
  }

  const std::string& text_;
  const LineIndex lines_;
  const std::string& name_;
  const GroundnetOptions& options_;
  Airport airport_;
  std::map<long long, int32_t> index_;
};

void ReadThresholds(const std::string& path, const GroundnetOptions& options, Airport& airport) {
  const std::string text = ReadFileText(path);
  const pugi::xml_document doc = Parse(text, path);
  const LineIndex lines(text);
  const pugi::xml_node root = doc.child("PropertyList");
  if (!root) throw ImportError(path, "", "no <PropertyList> element");
  RunwayTable widths;
  if (!options.runwaysCsv.empty()) widths.Load(options.runwaysCsv, airport.code);
  for (pugi::xml_node r : root.children("runway")) {
    Runway runway;
    int count = 0;
    for (pugi::xml_node t : r.children("threshold")) {
      const std::string where = "line " + lines.Line(t.offset_debug());
      if (count == 2) throw ImportError(path, where, "a runway with more than two thresholds");
      RunwayEnd& end = runway.ends[count++];
      end.name = t.child_value("rwy");
      if (!Number(t.child_value("lat"), end.at.lat) || !Number(t.child_value("lon"), end.at.lon) ||
          std::fabs(end.at.lat) > 90 || std::fabs(end.at.lon) > 180)
        throw ImportError(path, where, "threshold without a position in <lat> and <lon> degrees");
    }
    if (count != 2) throw ImportError(path, "line " + lines.Line(r.offset_debug()), "a runway without two thresholds");
    runway.widthFeet = widths.WidthFeet(runway.ends[0].name, runway.ends[1].name);
    if (runway.widthFeet <= 0) runway.widthFeet = options.runwayWidthFeet;
    airport.runways.push_back(runway);
  }
}

std::string FindThresholds(const std::string& path, const std::string& code) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(path).parent_path();
  for (const fs::path& candidate : {dir / (code + ".threshold.xml"), dir / ".." / "threshold" / (code + ".threshold.xml")}) {
    std::error_code ec;
    if (fs::is_regular_file(candidate, ec)) return candidate.string();
  }
  return "";
}

}  // namespace

bool ParseDegreesMinutes(const std::string& text, bool latitude, double& degrees) {
  if (text.size() < 2) return false;
  const char h = text[0];
  double sign = 1;
  if (latitude ? h == 'S' : h == 'W') sign = -1;
  else if (latitude ? h != 'N' : h != 'E') return false;
  char* rest = nullptr;
  const char* start = text.c_str() + 1;
  const long whole = std::strtol(start, &rest, 10);
  if (rest == start || *rest != ' ') return false;
  double minutes = 0;
  if (!Number(rest + 1, minutes) || minutes < 0 || minutes >= 60 || whole < 0) return false;
  degrees = sign * (static_cast<double>(whole) + minutes / 60.0);
  return std::fabs(degrees) <= (latitude ? 90.0 : 180.0);
}

Airport ReadGroundnetText(const std::string& text, const std::string& name,
                          const GroundnetOptions& options) {
  return GroundnetParser(text, name, options).Read();
}

Airport ReadGroundnet(const std::string& path, const GroundnetOptions& given) {
  GroundnetOptions options = given;
  if (options.code.empty()) {
    const std::string file = std::filesystem::path(path).filename().string();
    options.code = file.substr(0, file.find('.'));
  }
  Airport airport = ReadGroundnetText(ReadFileText(path), path, options);
  const std::string thresholds =
      options.thresholdPath.empty() ? FindThresholds(path, options.code) : options.thresholdPath;
  if (thresholds.empty())
    airport.notes.push_back("no threshold file " + options.code + ".threshold.xml: no runways");
  else
    ReadThresholds(thresholds, options, airport);
  return airport;
}

}  // namespace airportimport
