#include "tools/airportimport/import_command.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "ostrand/frame/platform.h"
#include "tools/airportimport/aptdat_reader.h"
#include "tools/airportimport/file_text.h"
#include "tools/airportimport/groundnet_reader.h"
#include "tools/airportimport/import_error.h"
#include "tools/airportimport/network_check.h"
#include "tools/airportimport/osm_data.h"
#include "tools/airportimport/scenery_writer.h"

namespace airportimport {

const char* const kUsage =
    "usage: airportimport [options] FILE\n"
    "Reads one airport and writes its scenery text for \"ostrand -te\".\n"
    "FILE is a ground network (*.groundnet.xml, with its runway thresholds\n"
    "CODE.threshold.xml beside it or in ../threshold/), an apt.dat file (*.dat),\n"
    "OpenStreetMap data (*.osm, *.osm.pbf) or Overpass API JSON (*.json).\n"
    "\n"
    "  -o, --output FILE        scenery text to FILE (default: standard output)\n"
    "  --row FILE               write the airport's row CODE,LAT,LON for airportdb\n"
    "  --airport CODE           the airport to import from a file of several\n"
    "  --list                   list the airports of the file and stop\n"
    "  --code CODE              airport code (default: from the source)\n"
    "  --ref LAT,LON            reference point in degrees (default: from the source)\n"
    "  --threshold FILE         runway thresholds of a ground network\n"
    "  --runways FILE           runways CSV giving runway widths (width_ft)\n"
    "  --runway-width FT        runway width when the source has none (150)\n"
    "  --taxiway-width FT       taxiway width when the source has none (75)\n"
    "  --format KIND            groundnet, aptdat, osm or overpass (default: by name)\n"
    "  --check                  print every finding of the validation report (the\n"
    "                           scenery text is then written only with -o)\n"
    "  -h, --help               this text\n"
    "\n"
    "Exit status: 0 nothing to report, 2 the report found something,\n"
    "1 the input could not be read (nothing written).\n";

namespace {

// Writes an output file beside its target and puts it in place only when it
// is whole, so that a failed run leaves a user's file as it was; false, with
// the reason on standard error, when it could not be written.
bool WriteOutput(const std::string& path, const std::string& text) {
  errno = 0;
  if (ostrand::platform::WriteStagedFile(path, text.data(), text.size())) return true;
  std::fprintf(stderr, "airportimport: %s: not written (%s)\n", path.c_str(),
               errno != 0 ? std::strerror(errno) : "read-only, or not a file");
  return false;
}

struct Options {
  std::string input, output, row, airport, code, ref, threshold, runways, format;
  double runwayWidth = 150.0, taxiwayWidth = 75.0;
  bool list = false, check = false, help = false;
};

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string FormatOf(const Options& o) {
  if (!o.format.empty()) return o.format;
  const std::string name = Lower(o.input);
  if (EndsWith(name, ".dat")) return "aptdat";
  if (EndsWith(name, ".osm") || EndsWith(name, ".pbf") || EndsWith(name, ".osm.xml")) return "osm";
  if (EndsWith(name, ".json")) return "overpass";
  return "groundnet";
}

// Parses the command line; an empty text on success, else the complaint.
std::string ParseOptions(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    auto number = [&](double& into) {
      std::string text;
      if (!value(text)) return false;
      char* end = nullptr;
      into = std::strtod(text.c_str(), &end);
      return end != text.c_str() && *end == '\0' && into > 0 && into < 1000;
    };
    bool ok = true;
    if (a == "-h" || a == "--help") o.help = true;
    else if (a == "--list") o.list = true;
    else if (a == "--check") o.check = true;
    else if (a == "-o" || a == "--output") ok = value(o.output);
    else if (a == "--row") ok = value(o.row);
    else if (a == "--airport") ok = value(o.airport);
    else if (a == "--code") ok = value(o.code);
    else if (a == "--ref") ok = value(o.ref);
    else if (a == "--threshold") ok = value(o.threshold);
    else if (a == "--runways") ok = value(o.runways);
    else if (a == "--format") ok = value(o.format);
    else if (a == "--runway-width") ok = number(o.runwayWidth);
    else if (a == "--taxiway-width") ok = number(o.taxiwayWidth);
    else if (!a.empty() && a[0] == '-' && a != "-") return "unknown option " + a;
    else if (o.input.empty()) o.input = a;
    else return "more than one input file (" + o.input + ", " + a + ")";
    if (!ok) return "option " + a + " needs a value" + (a.find("width") != std::string::npos ? " in feet" : "");
  }
  if (o.help) return "";
  if (o.input.empty()) return "no input file";
  const std::string f = FormatOf(o);
  if (f != "groundnet" && f != "aptdat" && f != "osm" && f != "overpass") return "unknown format " + f;
  return "";
}

bool ParseRef(const std::string& text, LatLon& at) {
  double lat = 0, lon = 0;
  char comma = 0, extra = 0;
  if (std::sscanf(text.c_str(), "%lf %c %lf %c", &lat, &comma, &lon, &extra) != 3 || comma != ',') return false;
  if (!std::isfinite(lat) || !std::isfinite(lon) || std::fabs(lat) > 85 || std::fabs(lon) > 180) return false;
  at = {lat, lon};
  return true;
}

Airport Read(const Options& o) {
  const std::string format = FormatOf(o);
  if (format == "groundnet") {
    GroundnetOptions g;
    g.code = o.code;
    g.thresholdPath = o.threshold;
    g.runwaysCsv = o.runways;
    g.runwayWidthFeet = o.runwayWidth;
    g.taxiwayWidthFeet = o.taxiwayWidth;
    return ReadGroundnet(o.input, g);
  }
  if (format == "aptdat") {
    AptDatOptions a;
    a.airport = o.airport;
    a.runwayWidthFeet = o.runwayWidth;
    a.taxiwayWidthFeet = o.taxiwayWidth;
    return ReadAptDat(o.input, a);
  }
  OsmOptions osm;
  osm.runwayWidthFeet = o.runwayWidth;
  osm.taxiwayWidthFeet = o.taxiwayWidth;
  const OsmData data = format == "osm" ? ReadOsmFile(o.input) : ReadOverpassJson(ReadFileText(o.input), o.input);
  return AirportFromOsm(data, o.input, osm);
}

constexpr int kInterpreterEdges = 5999;

double Rounded(double degrees) { return std::round(degrees * 1e6) / 1e6; }

std::string RowText(const Airport& a) {
  char row[128];
  std::snprintf(row, sizeof row, "%s,%.6f,%.6f\n", a.code.c_str(), a.reference.lat, a.reference.lon);
  return row;
}

}  // namespace

LatLon CentreOf(const Airport& airport) {
  double minLat = 1e9, maxLat = -1e9, minLon = 1e9, maxLon = -1e9;
  auto add = [&](LatLon p) {
    minLat = std::min(minLat, p.lat), maxLat = std::max(maxLat, p.lat);
    minLon = std::min(minLon, p.lon), maxLon = std::max(maxLon, p.lon);
  };
  for (const Node& n : airport.nodes) add(n.at);
  for (const Runway& r : airport.runways) add(r.ends[0].at), add(r.ends[1].at);
  for (const Outline& o : airport.outlines)
    for (const LatLon& c : o.corners) add(c);
  for (const Stand& s : airport.stands) add(s.at);
  if (minLat > maxLat) return {};
  return {Rounded((minLat + maxLat) / 2), Rounded((minLon + maxLon) / 2)};
}

int RunImport(const std::vector<std::string>& args) {
  Options o;
  const std::string complaint = ParseOptions(args, o);
  if (o.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (!complaint.empty()) {
    std::fprintf(stderr, "airportimport: %s\n%s", complaint.c_str(), kUsage);
    return 1;
  }
  Airport airport;
  try {
    if (o.list) {
      if (FormatOf(o) != "aptdat") throw ImportError(o.input, "", "--list needs an apt.dat file");
      for (const auto& [code, name] : ListAptDat(ReadFileText(o.input), o.input))
        std::printf("%s %s\n", code.c_str(), name.c_str());
      return 0;
    }
    airport = Read(o);
  } catch (const ImportError& e) {
    std::fprintf(stderr, "airportimport: %s\n", e.what());
    return 1;
  }
  if (!o.code.empty()) airport.code = o.code;
  if (!o.ref.empty()) {
    if (!ParseRef(o.ref, airport.reference)) {
      std::fprintf(stderr, "airportimport: --ref %s is not LAT,LON in degrees\n", o.ref.c_str());
      return 1;
    }
    airport.hasReference = true;
  }
  if (!airport.hasReference) airport.reference = CentreOf(airport);
  airport.reference = {Rounded(airport.reference.lat), Rounded(airport.reference.lon)};
  if (airport.code.empty()) {
    std::fprintf(stderr, "airportimport: %s: no airport code in the source; give --code CODE\n", o.input.c_str());
    return 1;
  }
  if (airport.nodes.empty() && airport.runways.empty()) {
    std::fprintf(stderr, "airportimport: %s: no runways and no taxi network in airport %s\n", o.input.c_str(), airport.code.c_str());
    return 1;
  }

  WrittenCounts counts;
  const std::string text = SceneryText(airport, &counts);
  const std::vector<Finding> findings = CheckAirport(airport);
  if (!o.output.empty() || !o.check) {
    if (o.output.empty() || o.output == "-") {
      std::fwrite(text.data(), 1, text.size(), stdout);
      std::fflush(stdout);
    } else if (!WriteOutput(o.output, text)) {
      return 1;
    }
  }
  if (!o.row.empty()) {
    if (!WriteOutput(o.row, RowText(airport))) return 1;
  }

  std::fprintf(stderr,
               "airportimport: %s at %.6f,%.6f from %s: %d runway lines, %zu nodes, %d edges, "
               "%d outlines, %zu stands, %d lights\n",
               airport.code.c_str(), airport.reference.lat, airport.reference.lon, o.input.c_str(),
               counts.runwayLines, airport.nodes.size(), counts.edges, counts.outlines,
               airport.stands.size(), counts.lights);
  if (counts.edges + counts.runwayLines > kInterpreterEdges)
    std::fprintf(stderr, "airportimport: more than %d edges: ostrand -te keeps only the first\n", kInterpreterEdges);
  for (const std::string& note : airport.notes) std::fprintf(stderr, "airportimport: note: %s\n", note.c_str());
  std::fprintf(stderr, "airportimport: check: %zu findings%s\n%s", findings.size(),
               findings.empty() || o.check ? "" : " (--check lists them)", FindingSummary(findings).c_str());
  if (o.check) {
    std::FILE* report = o.output == "-" ? stderr : stdout;
    for (const Finding& f : findings) std::fprintf(report, "%s\n", FindingLine(airport, f).c_str());
  }
  return findings.empty() ? 0 : 2;
}

}  // namespace airportimport
