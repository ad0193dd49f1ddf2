#include "tools/airportimport/aptdat_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "tools/airportimport/file_text.h"
#include "tools/airportimport/import_error.h"

namespace airportimport {

namespace {

constexpr double kFeetPerMetre = 1.0 / 0.3048;
constexpr int kCurveSteps = 8;

struct Row {
  long line = 0;
  std::vector<std::string> fields;
  int code() const { return std::atoi(fields[0].c_str()); }
};

// The rows of the text: blank-separated fields, empty lines dropped.
std::vector<Row> Rows(const std::string& text) {
  std::vector<Row> rows;
  long line = 0;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    ++line;
    Row row{line, {}};
    size_t i = at;
    while (i < end) {
      while (i < end && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r')) ++i;
      size_t j = i;
      while (j < end && text[j] != ' ' && text[j] != '\t' && text[j] != '\r') ++j;
      if (j > i) row.fields.emplace_back(text, i, j - i);
      i = j;
    }
    if (!row.fields.empty()) rows.push_back(std::move(row));
    at = end + 1;
  }
  return rows;
}

class RowError {
 public:
  RowError(const std::string& file, const Row& row) : file_(file), row_(row) {}
  [[noreturn]] void Fail(const std::string& what) const {
    throw ImportError(file_, "line " + std::to_string(row_.line), "row " + row_.fields[0] + ": " + what);
  }
  void Need(size_t count) const {
    if (row_.fields.size() < count) Fail("needs " + std::to_string(count - 1) + " fields after the row code");
  }
  double Number(size_t i) const {
    Need(i + 1);
    char* end = nullptr;
    const double v = std::strtod(row_.fields[i].c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) Fail("field " + std::to_string(i) + " '" + row_.fields[i] + "' is not a number");
    return v;
  }
  LatLon Position(size_t i) const {
    const LatLon p{Number(i), Number(i + 1)};
    if (std::fabs(p.lat) > 85 || std::fabs(p.lon) > 180) Fail("position out of range");
    return p;
  }

 private:
  const std::string& file_;
  const Row& row_;
};

std::string Rest(const Row& row, size_t from) {
  std::string s;
  for (size_t i = from; i < row.fields.size(); ++i) s += (s.empty() ? "" : " ") + row.fields[i];
  return s;
}

bool IsAirportRow(int code) { return code == 1 || code == 16 || code == 17; }

// A node of a pavement ring or a line, with its optional control point.
struct PathNode {
  LatLon at;
  bool curve = false;
  LatLon control;
  int light = 0;
};

std::vector<LatLon> Flatten(const std::vector<PathNode>& nodes, bool closed) {
  std::vector<LatLon> out;
  const size_t n = nodes.size();
  for (size_t i = 0; i < n; ++i) {
    out.push_back(nodes[i].at);
    if (!closed && i + 1 == n) break;
    const PathNode& a = nodes[i];
    const PathNode& b = nodes[(i + 1) % n];
    if (!a.curve && !b.curve) continue;
    const LatLon p1 = a.curve ? a.control : a.at;
    const LatLon p2 = b.curve ? LatLon{2 * b.at.lat - b.control.lat, 2 * b.at.lon - b.control.lon} : b.at;
    for (int s = 1; s < kCurveSteps; ++s) {
      const double t = static_cast<double>(s) / kCurveSteps, u = 1 - t;
      const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
      out.push_back({w0 * a.at.lat + w1 * p1.lat + w2 * p2.lat + w3 * b.at.lat,
                     w0 * a.at.lon + w1 * p1.lon + w2 * p2.lon + w3 * b.at.lon});
    }
  }
  return out;
}

double StandRadiusFeet(const std::string& classes) {
  if (classes.find("heavy") != std::string::npos) return 120;
  if (classes.find("jets") != std::string::npos) return 80;
  if (classes.find("turboprops") != std::string::npos) return 50;
  return 35;
}

class AptDatParser {
 public:
  AptDatParser(const std::string& name, const AptDatOptions& options) : name_(name), options_(options) {}

  Airport Read(const std::vector<Row>& rows, size_t begin, size_t end) {
    airport_.source = name_;
    for (size_t i = begin; i < end; ++i) {
      const Row& row = rows[i];
      const RowError e(name_, row);
      switch (row.code()) {
        case 1: case 16: case 17:
          e.Need(5);
          airport_.code = row.fields[4];
          airport_.name = Rest(row, 5);
          break;
        case 1302:
          if (row.fields.size() >= 3 && row.fields[1] == "datum_lat") datum_.lat = e.Number(2), hasDatum_ |= 1;
          if (row.fields.size() >= 3 && row.fields[1] == "datum_lon") datum_.lon = e.Number(2), hasDatum_ |= 2;
          break;
        case 100: Runway100(row, e); break;
        case 110: i = Path(rows, i + 1, end, true, Rest(row, 4)) - 1; break;
        case 120: i = Path(rows, i + 1, end, false, Rest(row, 1)) - 1; break;
        case 1201: TaxiNode(row, e); break;
        case 1202: TaxiEdge(row, e); break;
        case 1300: {
          e.Need(6);
          Stand s;
          s.at = e.Position(1);
          s.headingDegrees = e.Number(3);
          s.radiusFeet = StandRadiusFeet(row.fields[5]);
          s.name = Rest(row, 6);
          s.where = "line " + std::to_string(row.line);
          airport_.stands.push_back(s);
          break;
        }
        default: break;
      }
    }
    if (hasDatum_ == 3 && std::fabs(datum_.lat) <= 85 && std::fabs(datum_.lon) <= 180 && (datum_.lat != 0 || datum_.lon != 0)) {
      airport_.reference = datum_;
      airport_.hasReference = true;
    }
    return airport_;
  }

 private:
  void Runway100(const Row& row, const RowError& e) {
    e.Need(20);
    Runway r;
    r.widthFeet = e.Number(1) * kFeetPerMetre;
    if (r.widthFeet <= 0 || r.widthFeet > 1000) r.widthFeet = options_.runwayWidthFeet;
    r.ends[0] = {row.fields[8], e.Position(9)};
    r.ends[1] = {row.fields[17], e.Position(18)};
    airport_.runways.push_back(r);
  }

  void TaxiNode(const Row& row, const RowError& e) {
    e.Need(5);
    Node n;
    n.at = e.Position(1);
    n.where = "line " + std::to_string(row.line);
    const std::string& id = row.fields[4];
    if (ids_.count(id) != 0) e.Fail("node id " + id + " given again");
    ids_[id] = static_cast<int32_t>(airport_.nodes.size());
    airport_.nodes.push_back(n);
  }

  void TaxiEdge(const Row& row, const RowError& e) {
    e.Need(4);
    const auto a = ids_.find(row.fields[1]), b = ids_.find(row.fields[2]);
    if (a == ids_.end() || b == ids_.end()) e.Fail("names a node id that no 1201 row gave before");
    Edge edge;
    edge.from = a->second;
    edge.to = b->second;
    edge.twoWay = row.fields[3] != "oneway";
    if (row.fields[3] != "oneway" && row.fields[3] != "twoway") e.Fail("direction '" + row.fields[3] + "' is not oneway or twoway");
    edge.where = "line " + std::to_string(row.line);
    const std::string kind = row.fields.size() > 4 ? row.fields[4] : "taxiway";
    edge.widthFeet = options_.taxiwayWidthFeet;
    if (kind == "runway") {
      airport_.nodes[static_cast<size_t>(edge.from)].onRunway = true;
      airport_.nodes[static_cast<size_t>(edge.to)].onRunway = true;
    } else if (kind.size() == 9 && kind.compare(0, 8, "taxiway_") == 0 && SizeClassWidthFeet(kind[8]) > 0) {
      edge.widthFeet = SizeClassWidthFeet(kind[8]);
    }
    airport_.edges.push_back(edge);
  }

  // Reads the nodes of a pavement (outline) or a linear feature from row
  // `i`; returns the first row after them.
  size_t Path(const std::vector<Row>& rows, size_t i, size_t end, bool pavement, const std::string& label) {
    std::vector<PathNode> ring;
    int rings = 0;
    long startLine = i < end ? rows[i].line : 0;
    for (; i < end; ++i) {
      const Row& row = rows[i];
      const int code = row.code();
      if (code < 111 || code > 116) break;
      const RowError e(name_, row);
      PathNode node;
      node.at = e.Position(1);
      size_t next = 3;
      if (code == 112 || code == 114 || code == 116) {
        node.curve = true;
        node.control = e.Position(3);
        next = 5;
      }
      for (size_t f = next; f < row.fields.size(); ++f) {
        const int v = std::atoi(row.fields[f].c_str());
        if (v >= 101 && v <= 108) node.light = v;
      }
      ring.push_back(node);
      const bool closes = code == 113 || code == 114, ends = code == 115 || code == 116;
      if (closes || ends) {
        const std::string where = "line " + std::to_string(startLine);
        if (pavement && rings == 0) {
          airport_.outlines.push_back({label.empty() ? "PAVEMENT" : label, Flatten(ring, true), where});
        } else if (pavement) {
          airport_.notes.push_back(where + ": a hole in pavement '" + label + "' is skipped");
        } else {
          Lights(ring, closes);
        }
        ++rings;
        ring.clear();
        if (i + 1 < end) startLine = rows[i + 1].line;
      }
    }
    if (!ring.empty())
      airport_.notes.push_back("line " + std::to_string(startLine) + ": an unfinished ring or line is skipped");
    return i;
  }

  void Lights(const std::vector<PathNode>& nodes, bool closed) {
    const size_t n = nodes.size();
    for (size_t i = 0; i + (closed ? 0 : 1) < n; ++i) {
      if (nodes[i].light == 0) continue;
      const std::vector<LatLon> piece = Flatten({nodes[i], nodes[(i + 1) % n]}, false);
      for (size_t k = 0; k + 1 < piece.size(); ++k)
        airport_.lights.push_back({nodes[i].light - 100, piece[k], piece[k + 1], 2});
    }
  }

  const std::string& name_;
  const AptDatOptions& options_;
  Airport airport_;
  std::map<std::string, int32_t> ids_;
  LatLon datum_;
  int hasDatum_ = 0;
};

void CheckHeader(const std::vector<Row>& rows, const std::string& name) {
  if (rows.size() < 2 || (rows[0].fields[0] != "I" && rows[0].fields[0] != "A"))
    throw ImportError(name, "line 1", "not an apt.dat file (it begins with I or A)");
  const int version = std::atoi(rows[1].fields[0].c_str());
  if (version < 850 || version > 1200)
    throw ImportError(name, "line " + std::to_string(rows[1].line),
                      "version " + rows[1].fields[0] + " is not one of 850 to 1200");
}

}  // namespace

double SizeClassWidthFeet(char letter) {
  switch (letter) {
    case 'A': return 25;
    case 'B': return 35;
    case 'C': return 50;
    case 'D': return 60;
    case 'E': return 75;
    case 'F': return 82;
    default: return 0;
  }
}

std::vector<std::pair<std::string, std::string>> ListAptDat(const std::string& text, const std::string& name) {
  const std::vector<Row> rows = Rows(text);
  CheckHeader(rows, name);
  std::vector<std::pair<std::string, std::string>> list;
  for (const Row& row : rows)
    if (IsAirportRow(row.code()) && row.fields.size() >= 5) list.push_back({row.fields[4], Rest(row, 5)});
  return list;
}

Airport ReadAptDatText(const std::string& text, const std::string& name, const AptDatOptions& options) {
  const std::vector<Row> rows = Rows(text);
  CheckHeader(rows, name);
  std::vector<size_t> starts;
  for (size_t i = 2; i < rows.size(); ++i)
    if (IsAirportRow(rows[i].code())) {
      RowError(name, rows[i]).Need(5);
      starts.push_back(i);
    }
  if (starts.empty()) throw ImportError(name, "", "no airport (row 1, 16 or 17)");
  size_t pick = 0;
  if (!options.airport.empty()) {
    const auto found = std::find_if(starts.begin(), starts.end(), [&](size_t i) { return rows[i].fields[4] == options.airport; });
    if (found == starts.end()) throw ImportError(name, "", "no airport " + options.airport + " (--list lists them)");
    pick = static_cast<size_t>(found - starts.begin());
  } else if (starts.size() > 1) {
    std::string codes;
    for (size_t i : starts) codes += " " + rows[i].fields[4];
    throw ImportError(name, "", std::to_string(starts.size()) + " airports; name one with --airport CODE:" + codes);
  }
  size_t end = pick + 1 < starts.size() ? starts[pick + 1] : rows.size();
  for (size_t i = starts[pick]; i < end; ++i)
    if (rows[i].code() == 99) end = i;
  return AptDatParser(name, options).Read(rows, starts[pick], end);
}

Airport ReadAptDat(const std::string& path, const AptDatOptions& options) {
  return ReadAptDatText(ReadFileText(path), path, options);
}

}  // namespace airportimport
