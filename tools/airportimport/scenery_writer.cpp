#include "tools/airportimport/scenery_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "tools/airportimport/local_frame.h"
#include "tools/airportimport/runway_pieces.h"
#include "tools/airportimport/unique_edges.h"

namespace airportimport {

namespace {

std::string Field(double degrees, char positive, char negative, int degreeDigits) {
  const char hemisphere = degrees < 0 ? negative : positive;
  const long long micro = std::llround(std::fabs(degrees) * 3600.0 * 1e6);  // millionths of a second
  const long long whole = micro / 1000000;
  char text[64];
  std::snprintf(text, sizeof text, "%c%0*lld:%02lld:%02lld.%06lld", hemisphere, degreeDigits,
                whole / 3600, (whole / 60) % 60, whole % 60, micro % 1000000);
  return text;
}

// Seconds of arc of a field as the interpreter reads it.
double FieldSeconds(const std::string& field) {
  double d = 0, m = 0, s = 0;
  std::sscanf(field.c_str() + 1, "%lf:%lf:%lf", &d, &m, &s);
  const double v = d * 3600 + m * 60 + s;
  return field[0] == 'S' || field[0] == 'W' ? -v : v;
}

std::string Quoted(const std::string& name) {
  std::string clean;
  for (char c : name)
    if (c != '"' && c != '\n' && c != '\r') clean += c;
  return "\"" + clean + "\"";
}

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& out, const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  out += line;
}

long WholeWidth(double feet) { return std::max(1L, std::lround(feet)); }

// One RWY line whose ends land on the whole feet nearest to `from` and `to`.
void WriteRunwayLine(std::string& out, const LocalFrame& frame, const Runway& runway,
                     const RunwayPiece& piece) {
  const double originLat = frame.reference().lat * 3600.0;
  const double originLon = frame.reference().lon * 3600.0;
  const double t1x = WholeFootText(piece.from.x), t1z = WholeFootText(piece.from.z);
  const double t2x = WholeFootText(piece.to.x), t2z = WholeFootText(piece.to.z);
  const double perLat = kFeetPerLatitudeCircle / kSecondsPerCircle;
  const std::string lat1 = LatitudeField((originLat + t1z / perLat) / 3600.0);
  const std::string lon1 = LongitudeField((originLon + t1x / EastFeetPerSecond(originLat)) / 3600.0);
  const double lat1s = FieldSeconds(lat1), lon1s = FieldSeconds(lon1);
  const double offsetX = (lon1s - originLon) * EastFeetPerSecond(originLat);
  const double east = EastFeetPerSecond(lat1s);
  const std::string lat2 = LatitudeField((originLat + t2z / perLat) / 3600.0);
  const std::string lon2 = LongitudeField((lon1s + (east == 0 ? 0 : (t2x - offsetX) / east)) / 3600.0);
  auto name = [](const std::string& n) { return n.empty() ? std::string("-") : n; };
  Append(out, "RWY %s %s - 0 %ld %ld %s %s %s %s\n", name(runway.ends[0].name).c_str(),
         name(runway.ends[1].name).c_str(), std::lround(std::hypot(t2x - t1x, t2z - t1z)),
         WholeWidth(runway.widthFeet), lat1.c_str(), lon1.c_str(), lat2.c_str(), lon2.c_str());
}

void WritePoint(std::string& out, Feet f) {
  Append(out, "POI %.2f 0 %.2f\n", WholeFootText(f.x), WholeFootText(f.z));
}

void WriteRing(std::string& out, const std::vector<Feet>& ring, const std::string& name,
               WrittenCounts& counts) {
  if (ring.size() < 3) return;
  for (const auto& piece : SplitRing(ring.size(), kMaxOutlineCorners)) {
    for (size_t i : piece) WritePoint(out, ring[i]);
    Append(out, "PLY %s\n", Quoted(name).c_str());
    ++counts.outlines;
  }
}

// Edges that meet at a node at less than kSharpJoint degrees: the taxiway
// surfaces cut each other back there, so each such edge also gets an apron
// strip of its width from the node as far as the cut reaches.
constexpr double kSharpJoint = 100.0;

void WriteSharpJoints(std::string& out, const std::vector<Feet>& at, const std::vector<Edge>& edges,
                      WrittenCounts& counts) {
  std::vector<std::vector<size_t>> touching(at.size());
  for (size_t i = 0; i < edges.size(); ++i) {
    touching[static_cast<size_t>(edges[i].from)].push_back(i);
    touching[static_cast<size_t>(edges[i].to)].push_back(i);
  }
  const double radians = std::numbers::pi / 180.0;
  for (size_t n = 0; n < at.size(); ++n) {
    const Feet c = at[n];
    for (size_t i : touching[n]) {
      const Edge& e = edges[i];
      const Feet far = at[static_cast<size_t>(e.from == static_cast<int32_t>(n) ? e.to : e.from)];
      const double length = std::hypot(far.x - c.x, far.z - c.z);
      if (length < 1) continue;
      double reach = 0;
      for (size_t j : touching[n]) {
        if (j == i) continue;
        const Edge& f = edges[j];
        const Feet other = at[static_cast<size_t>(f.from == static_cast<int32_t>(n) ? f.to : f.from)];
        const double a1 = std::atan2(far.z - c.z, far.x - c.x), a2 = std::atan2(other.z - c.z, other.x - c.x);
        double angle = std::fabs(std::remainder(a1 - a2, 2 * std::numbers::pi)) / radians;
        if (angle >= kSharpJoint) continue;
        angle = std::max(angle, 0.5);
        const double half = std::max(e.widthFeet, f.widthFeet) / 2;
        reach = std::max(reach, half / std::tan(angle * radians / 2) + 2 * half);
      }
      if (reach <= 0) continue;
      const double t = std::min(1.0, reach / length), half = std::max(e.widthFeet, 1.0) / 2;
      const Feet dir{(far.x - c.x) / length, (far.z - c.z) / length}, side{-dir.z * half, dir.x * half};
      const Feet end{c.x + (far.x - c.x) * t, c.z + (far.z - c.z) * t};
      const Feet back{c.x - dir.x * half, c.z - dir.z * half};
      for (Feet p : {Feet{back.x + side.x, back.z + side.z}, Feet{end.x + side.x, end.z + side.z},
                     Feet{end.x - side.x, end.z - side.z}, Feet{back.x - side.x, back.z - side.z}})
        WritePoint(out, p);
      out += "PLY \"JOINT\"\n";
      ++counts.outlines;
    }
  }
}

}  // namespace

std::string LatitudeField(double degrees) { return Field(degrees, 'N', 'S', 2); }
std::string LongitudeField(double degrees) { return Field(degrees, 'E', 'W', 3); }

std::vector<std::vector<size_t>> SplitRing(size_t corners, size_t limit) {
  std::vector<std::vector<size_t>> pieces;
  std::vector<size_t> ring(corners);
  for (size_t i = 0; i < corners; ++i) ring[i] = i;
  while (ring.size() > limit) {
    std::vector<size_t> core;
    for (size_t start = 0; start < ring.size(); start += limit - 1) {
      const size_t end = std::min(start + limit - 1, ring.size());  // the run start..end (end may wrap to 0)
      std::vector<size_t> run;
      for (size_t i = start; i <= end; ++i) run.push_back(ring[i % ring.size()]);
      if (run.size() >= 3) pieces.push_back(run);
      core.push_back(ring[start]);
    }
    ring = core;
  }
  if (ring.size() >= 3) pieces.push_back(ring);
  return pieces;
}

std::string SceneryText(const Airport& airport, WrittenCounts* countsOut) {
  WrittenCounts counts;
  const LocalFrame frame(airport.reference);
  std::string out;
  Append(out, "; %s%s%s, imported by airportimport from %s\n", airport.code.c_str(),
         airport.name.empty() ? "" : " ", airport.name.c_str(), airport.source.c_str());
  Append(out, "; feet east (x) and north (z) of the REF point\n");
  Append(out, "SRC %s\n", Quoted(airport.source).c_str());
  const std::string ref =
      "REF " + LatitudeField(airport.reference.lat) + " " + LongitudeField(airport.reference.lon) + "\n";
  out += ref;

  std::vector<std::pair<Feet, Feet>> ends;
  for (const Runway& r : airport.runways) ends.push_back({frame.ToFeet(r.ends[0].at), frame.ToFeet(r.ends[1].at)});
  for (const RunwayPiece& piece : PlanRunwayPieces(ends, kShortestRunwayFeet)) {
    WriteRunwayLine(out, frame, airport.runways[piece.runway], piece);
    ++counts.runwayLines;
  }
  out += ref;

  const std::vector<Edge> edges = FoldEdges(airport).edges;
  for (const Edge& e : edges) {
    const Feet a = frame.ToFeet(airport.nodes[static_cast<size_t>(e.from)].at);
    const Feet b = frame.ToFeet(airport.nodes[static_cast<size_t>(e.to)].at);
    Append(out, "MOV %.2f 0 %.2f 0 0\n", WholeFootText(a.x), WholeFootText(a.z));
    Append(out, "LIN %.2f 0 %.2f %ld 0\n", WholeFootText(b.x), WholeFootText(b.z), WholeWidth(e.widthFeet));
    ++counts.edges;
  }

  // Stand aprons first: they are small and each must be paved.
  for (const Stand& s : airport.stands) {
    const Feet c = frame.ToFeet(s.at);
    const double r = std::max(s.radiusFeet, 20.0);
    const double h = s.headingDegrees * std::numbers::pi / 180.0;
    const Feet along{std::sin(h) * r, std::cos(h) * r}, across{along.z, -along.x};
    std::vector<Feet> square;
    for (const auto& [u, v] : {std::pair{1, 1}, {1, -1}, {-1, -1}, {-1, 1}})
      square.push_back({c.x + u * along.x + v * across.x, c.z + u * along.z + v * across.z});
    WriteRing(out, square, "STAND " + s.name, counts);
  }

  std::vector<Feet> nodeFeet;
  for (const Node& n : airport.nodes) nodeFeet.push_back(frame.ToFeet(n.at));
  WriteSharpJoints(out, nodeFeet, edges, counts);
  for (const Outline& outline : airport.outlines) {
    std::vector<Feet> ring;
    for (const LatLon& c : outline.corners) ring.push_back(frame.ToFeet(c));
    WriteRing(out, ring, outline.name, counts);
  }
  for (const Stand& s : airport.stands) {
    const Feet c = frame.ToFeet(s.at);
    Append(out, "LGT %d %.2f 0 %.2f %.2f 0 %.2f 1\n", kStandLightType, WholeFootText(c.x),
           WholeFootText(c.z), WholeFootText(c.x), WholeFootText(c.z));
    ++counts.lights;
  }
  for (const Light& l : airport.lights) {
    const Feet a = frame.ToFeet(l.from), b = frame.ToFeet(l.to);
    Append(out, "LGT %d %.2f 0 %.2f %.2f 0 %.2f %d\n", l.type, WholeFootText(a.x), WholeFootText(a.z),
           WholeFootText(b.x), WholeFootText(b.z), std::max(1, l.count));
    ++counts.lights;
  }
  out += "EXI\n";
  if (countsOut != nullptr) *countsOut = counts;
  return out;
}

}  // namespace airportimport
