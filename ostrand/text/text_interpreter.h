// Scenery text interpreter (ostrand -te<name>): turns a text of keyword
// lines into per-airport network files "DATA\<code>.BGR" and the polygon
// files beside them ("DATA\<code>.PLY"), skipping objects in the areas of
// the exclusion list "excllist.txt".
//
// Input text, one command per line; the keyword is compared with case at
// the start of the line, including its blank (lines of at most 254
// characters; LF or CRLF):
//
//   SRC <path>                      selects the exclusion area of the
//                                   path's directory (token: "quoted" or a
//                                   run of non-blank characters)
//   REF <lat> <lon>                 reference point, e.g. N53:37:49.4
//                                   E009:59:17.6 (hemisphere letter, then
//                                   degrees:minutes:seconds)
//   RWY <4 ignored fields> <length ft> <width ft> <lat1> <lon1> <lat2> <lon2>
//   MOV x y z i i                   starts a line at (x, y, z) feet from the
//                                   reference point (x east, z north)
//   LIN x y z width flags           taxiway edge to (x, y, z)
//   POI x y z                       apron polygon vertex
//   PLY <name>                      ends the apron polygon
//   LGT type x1 y1 z1 x2 y2 z2 [count]   a light or a string of lights
//   EXI                             ends the input (not inside an excluded
//                                   region)
//
// Any other line is ignored. Numbers that do not convert keep the values of
// the line before.
//
// Objects in the areas of the exclusion list (exclusion_list.h) are
// skipped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ostrand/frame/point_grid.h"
#include "ostrand/gen/polygon_file.h"
#include "ostrand/gen/taxiway_list.h"

namespace ostrand {

// MOV and LIN lines are ignored once this many edges exist.
inline constexpr int32_t kInterpreterEdgeLimit = 5999;
inline constexpr int32_t kShortestRunway = 750;          // feet
inline constexpr double kAirportReach = 15000.0;         // feet, per axis
inline constexpr int32_t kRunwayReplaceDistance = 1000;  // feet, per axis
inline constexpr int32_t kPointMergeTolerance = 5;       // feet, per axis

// The tile ("-ti") whose airports alone are written; the others are
// treated as "NONE".
struct TileFilter {
  int32_t column = 0;
  int32_t row = 0;
};

// The operations of the keyword lines on one network in memory and the
// polygon file beside it.
class TextInterpreter {
 public:
  TextInterpreter(TaxiwayList& list, std::optional<TileFilter> tileFilter);

  // Sets the reference point; opens the airport nearest to it when none is
  // open, and saves the open airport and opens the next one when the point
  // lies more than 15000 feet from it on either axis.
  void SetReference(double latitude, double longitude);
  void MoveTo(double x, double y, double z);
  // Returns the index of the edge that now holds the line (added, or an
  // existing one made wider), or -1 when none does.
  int32_t LineTo(double x, double y, double z, long width, long flags, int32_t type);
  void AddRunway(double lat1, double lon1, double lat2, double lon2, long length, long width);
  void WritePoint(double x, double y, double z);
  void WritePolygonEnd(const std::string& name);
  void WriteLight(long type, double x1, double y1, double z1, double x2, double y2, double z2,
                  long count);
  // Saves the open airport's network and polygon file (SaveNetworkFiles);
  // the next reference point opens an airport afresh.
  void SaveAirport();

 private:
  // What the lines before have begun.
  enum class LineState {
    kNoAirport,  // none open: the next reference point opens one
    kReady,      // an airport is open ("NONE" too), nothing begun
    kMoved,      // a line is begun (MOV)
    kDrawn,      // a line goes on (LIN)
    kInPolygon,  // an apron polygon has a vertex (POI)
  };

  void OpenAirport(double latitude, double longitude);
  void ComputeOffsets(double latitude, double longitude);
  int32_t AddPoint(double x, double y, double z);
  // The first edge from `from` to `to` of the type, or -1.
  int32_t FindEdge(int32_t from, int32_t to, int32_t type);

  TaxiwayList& list_;
  PolygonFile polygons_;
  const std::optional<TileFilter> tileFilter_;
  // The network file of the open airport.
  std::string savePath_ = kNoneSavePath;
  LineState lineState_ = LineState::kNoAirport;
  // The open airport's origin to the reference point, in feet.
  double offsetZ_ = 0.0;
  double offsetX_ = 0.0;
  // The edge the next LIN line draws: from the end of the line before.
  Edge pending_;
  // The edges filed by their ends as the point (from, to), so that a line
  // that repeats an edge finds it without a scan of every edge. Edges are
  // only appended, or removed by setting their start to -1; an airport
  // opened files its edges afresh.
  PointGrid edgesByEnds_{1.0};
};

// Runs the interpreter on the text file; 1 when it opened, else 0. The
// tile filter comes from Options() ("-ti").
int InterpretText(const char* name);

}  // namespace ostrand
