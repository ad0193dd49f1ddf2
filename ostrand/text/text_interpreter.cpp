// Scenery text interpreter: keyword lines to per-airport network and
// polygon files, with the exclusion list and the airport database.
#include "ostrand/text/text_interpreter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ostrand/frame/ascii_text.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/format_scan.h"
#include "ostrand/frame/int32_range.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"
#include "ostrand/gen/line.h"
#include "ostrand/gen/network_files.h"
#include "ostrand/gen/taxiway_list.h"
#include "ostrand/text/airport_database.h"
#include "ostrand/text/exclusion_list.h"
#include "ostrand/text/geo_tile.h"
#include "ostrand/text/lat_lon_text.h"
#include "ostrand/text/line_reader.h"

namespace ostrand {
namespace {

// Feet per full circle of latitude, and of longitude at the equator.
constexpr double kFeetPerLatitudeCircle = 131256561.67979005;
constexpr double kFeetPerLongitudeCircle = 131479658.79265094;
constexpr double kSecondsPerCircle = 1296000.0;
constexpr double kSecondsPerHalfCircle = 648000.0;
constexpr double kSmallCosine = 0.001;

// A real number of feet as a whole number, truncated toward zero.
int32_t Feet(double v) { return TruncateToInt32(v); }

// Feet east per second of arc of longitude at a latitude (seconds of arc);
// 0 near the poles.
double EastFeetPerSecond(double latitude) {
  const double c = std::cos(DegreesToRadians(latitude / 3600.0));
  if (c >= -kSmallCosine && c <= kSmallCosine) return 0.0;
  return kFeetPerLongitudeCircle * c / kSecondsPerCircle;
}

// Number values of the keyword lines; a value that does not convert keeps
// the one of the line before.
struct LineValues {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  long width = 0;
  long flags = 0;
  long lightType = 0;
  double light[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
  long count = 1;
  double length = 0.0;
  double runwayWidth = 0.0;
};

// Reads a coordinate text at the cursor and moves past it; false when the
// line has ended.
bool ReadCoordinate(LineReader& reader, double (*parse)(const char*), double& value) {
  if (!reader.SkipBlanks()) return false;
  value = parse(reader.Cursor());
  reader.SkipWord();
  return true;
}

}  // namespace

TextInterpreter::TextInterpreter(TaxiwayList& list, std::optional<TileFilter> tileFilter)
    : list_(list), tileFilter_(tileFilter) {}

void TextInterpreter::OpenAirport(double latitude, double longitude) {
  edgesByEnds_.Clear();
  list_.originLat = latitude;
  list_.originLon = longitude;
  std::string code;
  FindAirport(list_.originLat, list_.originLon, code);
  if (tileFilter_) {
    GeoTile tile;
    if (!GeoTileOfSeconds(list_.originLat, list_.originLon, tile) ||
        tile.column != tileFilter_->column || tile.row != tileFilter_->row)
      code = "NONE";
  }
  savePath_ = "DATA\\" + code + ".BGR";
  // A line begun before belongs to another network: LIN needs a new MOV.
  pending_.from = -1;
  if (code == "NONE") return;
  // Without the folder neither the network nor the polygon file could be
  // written, and the airport would be lost.
  const std::string folder = CutToDirectory(savePath_);
  if (!platform::MakeDirectory(folder))
    ReportError("SetReference folder '%s' cannot be created", folder.c_str());
  LoadNetworkFiles(list_, polygons_, savePath_, 1);
}

void TextInterpreter::ComputeOffsets(double latitude, double longitude) {
  offsetZ_ = (latitude - list_.originLat) * kFeetPerLatitudeCircle / kSecondsPerCircle;
  // The origin may be given west-negative and the point east of 0 to 360
  // degrees (or the other way round): the difference goes the short way.
  double dLon = longitude - list_.originLon;
  if (dLon > kSecondsPerHalfCircle || dLon < -kSecondsPerHalfCircle)
    dLon = std::remainder(dLon, kSecondsPerCircle);
  offsetX_ = dLon * EastFeetPerSecond(list_.originLat);
}

void TextInterpreter::SetReference(double latitude, double longitude) {
  if (longitude < 0) longitude += kSecondsPerCircle;
  for (int pass = 0; pass < 2; ++pass) {
    const bool opened = lineState_ == LineState::kNoAirport;
    if (opened) OpenAirport(latitude, longitude);
    ComputeOffsets(latitude, longitude);
    if (opened) break;
    if (std::fabs(offsetZ_) < kAirportReach && std::fabs(offsetX_) < kAirportReach) break;
    // Too far from the open airport: write it and open the one of this point.
    SaveAirport();
  }
  lineState_ = LineState::kReady;
}

void TextInterpreter::SaveAirport() {
  SaveNetworkFiles(list_, polygons_, savePath_);
  lineState_ = LineState::kNoAirport;
}

int32_t TextInterpreter::AddPoint(double x, double y, double z) {
  return list_.points.Add(Feet(x + offsetX_), Feet(y), Feet(z + offsetZ_), kPointMergeTolerance);
}

int32_t TextInterpreter::FindEdge(int32_t from, int32_t to, int32_t type) {
  if (list_.edgeCount < edgesByEnds_.Filed()) edgesByEnds_.Clear();
  for (int32_t i = edgesByEnds_.Filed(); i < list_.edgeCount; ++i) {
    const Edge& e = list_.edge(i);
    edgesByEnds_.File(i, e.from, e.to);
  }
  return edgesByEnds_.First(from, to, 0, [&](int32_t i) {
    const Edge& e = list_.edge(i);
    return e.from == from && e.to == to && e.type == type;
  });
}

void TextInterpreter::MoveTo(double x, double y, double z) {
  if (list_.edgeCount >= kInterpreterEdgeLimit) return;
  pending_.from = AddPoint(x, y, z);
  lineState_ = LineState::kMoved;
}

int32_t TextInterpreter::LineTo(double x, double y, double z, long width, long flags, int32_t type) {
  if (list_.edgeCount >= kInterpreterEdgeLimit) return -1;
  const int32_t end = AddPoint(x, y, z);
  pending_.to = end;
  pending_.width = ClampToInt32(width);
  pending_.type = type;
  pending_.flags = ClampToInt32(flags);

  // A start that names no point (a line begun in another airport) draws
  // nothing.
  const bool startValid = pending_.from >= 0 && pending_.from < list_.points.count;
  int32_t holder = startValid ? FindEdge(pending_.from, pending_.to, pending_.type) : -1;
  if (holder >= 0) {
    Edge& e = list_.edge(holder);
    e.width = std::max(e.width, pending_.width);
  }
  if (holder < 0 && pending_.from != end && startValid && list_.edgeCount < kMaxEdges) {
    holder = list_.edgeCount;
    list_.edge(list_.edgeCount) = pending_;
    ++list_.edgeCount;
  }
  pending_.from = end;
  lineState_ = LineState::kDrawn;
  return holder;
}

void TextInterpreter::AddRunway(double lat1, double lon1, double lat2, double lon2, long length,
                                long width) {
  if (length < kShortestRunway) return;
  SetReference(lat1, lon1);
  MoveTo(0.0, 0.0, 0.0);
  const double dz = (lat2 - lat1) * kFeetPerLatitudeCircle / kSecondsPerCircle;
  const double dx = (lon2 - lon1) * EastFeetPerSecond(lat1);
  const int32_t runway = LineTo(dx, 0.0, dz, width, 0, kRunway);
  if (runway < 0) return;  // nothing drawn: the old description stays

  // Earlier descriptions of the same runway (ends within 1000 feet on each
  // axis, either direction) are removed.
  auto valid = [&](int32_t i) { return i >= 0 && i < list_.points.count; };
  auto near = [](const IntPoint& p, const IntPoint& q) {
    return std::llabs(int64_t{p.x} - q.x) <= kRunwayReplaceDistance &&
           std::llabs(int64_t{p.z} - q.z) <= kRunwayReplaceDistance;
  };
  const Edge& r = list_.edge(runway);
  if (!valid(r.from) || !valid(r.to)) return;
  const IntPoint a = list_.vertex(r.from);
  const IntPoint b = list_.vertex(r.to);
  for (int32_t i = 0; i < list_.edgeCount; ++i) {
    Edge& e = list_.edge(i);
    if (i == runway || e.from == -1 || e.type != kRunway || !valid(e.from) || !valid(e.to)) continue;
    const IntPoint& f = list_.vertex(e.from);
    const IntPoint& t = list_.vertex(e.to);
    if ((near(f, a) && near(t, b)) || (near(f, b) && near(t, a))) e.from = -1;
  }
}

void TextInterpreter::WritePoint(double x, double y, double z) {
  (void)y;  // heights are not kept in the polygon file
  polygons_.WritePoint(Feet(x + offsetX_), Feet(z + offsetZ_));
  lineState_ = LineState::kInPolygon;
}

void TextInterpreter::WritePolygonEnd(const std::string& name) {
  if (lineState_ == LineState::kInPolygon) polygons_.WritePolygonEnd(name);
  lineState_ = LineState::kReady;
}

void TextInterpreter::WriteLight(long type, double x1, double y1, double z1, double x2, double y2,
                                 double z2, long count) {
  (void)y1;
  (void)y2;
  if (count >= 1 && polygons_.IsOpen()) {
    const long ax = Feet(x1 + offsetX_);
    const long az = Feet(z1 + offsetZ_);
    if (count == 1) {
      polygons_.WriteLight(type, ax, az);
    } else {
      polygons_.WriteLightString(type, ax, az, Feet(x2 + offsetX_), Feet(z2 + offsetZ_), count);
    }
  }
  lineState_ = LineState::kReady;
}

int InterpretText(const char* name) {
  auto list = std::make_unique<TaxiwayList>();
  LineReader reader;
  if (name == nullptr || !reader.Open(name)) return 0;
  ExclusionList exclusions;
  exclusions.Load();
  int32_t area = kNoArea;
  int excluded = 0;
  // Column -1 asks for no tile filter.
  std::optional<TileFilter> tileFilter;
  const int32_t column = ClampToInt32(Options().tileColumn);
  if (column != -1) tileFilter = TileFilter{column, ClampToInt32(Options().tileRow)};

  TextInterpreter text(*list, tileFilter);
  LineValues v;
  while (reader.ReadLine()) {
    const char* line = reader.Line();
    if (StartsWith(line, "SRC ")) {
      reader.SkipFields(1);
      std::string token;
      reader.ScanToken(token);
      std::string directory = CutToDirectory(token);
      UpperCase(directory);
      area = exclusions.FindArea(directory);
    } else if (StartsWith(line, "REF ")) {
      reader.SkipFields(1);
      double latitude = 0.0;
      double longitude = 0.0;
      ReadCoordinate(reader, ParseLatitude, latitude);
      ReadCoordinate(reader, ParseLongitude, longitude);
      text.SetReference(latitude, longitude);
      excluded = exclusions.IsExcluded(area, latitude, longitude) >= 0 ? 1 : 0;
    } else if (StartsWith(line, "RWY ")) {
      // A runway line without all its fields describes no runway.
      if (!reader.SkipFields(5)) continue;
      reader.ScanField("%lf", &v.length);
      reader.ScanField("%lf", &v.runwayWidth);
      double lat1 = 0.0, lon1 = 0.0, lat2 = 0.0, lon2 = 0.0;
      if (!ReadCoordinate(reader, ParseLatitude, lat1) || !ReadCoordinate(reader, ParseLongitude, lon1) ||
          !ReadCoordinate(reader, ParseLatitude, lat2) || !ReadCoordinate(reader, ParseLongitude, lon2))
        continue;
      if (exclusions.IsExcluded(area, (lat1 + lat2) / 2, (lon1 + lon2) / 2) < 0)
        text.AddRunway(lat1, lon1, lat2, lon2, Feet(v.length), Feet(v.runwayWidth));
    } else if (excluded) {
      continue;
    } else if (StartsWith(line, "MOV ")) {
      long ignored1 = 0, ignored2 = 0;
      ScanText(line + 4, "%lf %lf %lf %ld %ld", {&v.x, &v.y, &v.z, &ignored1, &ignored2});
      text.MoveTo(v.x, v.y, v.z);
    } else if (StartsWith(line, "LIN ")) {
      ScanText(line + 4, "%lf %lf %lf %ld %ld", {&v.x, &v.y, &v.z, &v.width, &v.flags});
      text.LineTo(v.x, v.y, v.z, v.width, v.flags, kTaxiway);
    } else if (StartsWith(line, "POI ")) {
      ScanText(line + 4, "%lf %lf %lf", {&v.x, &v.y, &v.z});
      text.WritePoint(v.x, v.y, v.z);
    } else if (StartsWith(line, "PLY ")) {
      reader.SkipFields(1);
      std::string polygonName;
      reader.ScanToken(polygonName);
      text.WritePolygonEnd(polygonName);
    } else if (StartsWith(line, "LGT ")) {
      v.count = 1;
      ScanText(line + 4, "%ld %lf %lf %lf %lf %lf %lf %ld",
               {&v.lightType, &v.light[0], &v.light[1], &v.light[2], &v.light[3], &v.light[4],
                &v.light[5], &v.count});
      text.WriteLight(v.lightType, v.light[0], v.light[1], v.light[2], v.light[3], v.light[4], v.light[5],
                      v.count);
    } else if (StartsWith(line, "EXI")) {
      break;
    }
  }
  reader.Close();
  text.SaveAirport();
  // An airport whose network or polygon file could not be saved fails the
  // run (the others are saved all the same).
  return list->saveFailures == 0 ? 1 : 0;
}

}  // namespace ostrand
