// The editor's document: one airport's ground network as the listings of
// `ostrand -ls` give it, the taxi path the user clicks out over it, and the
// settings of the taxi-path (TP) file.
//
// Project file (text, written by WriteProjectFile, read back by the document
// reader of listing_reader.h), one item per line:
//   "<vloc> (0) 0.0 0.0 0.0"  a vertex line, so the reader sets the edge bit
//   ""                        an empty line
//   "ICAO %s"                 airport name
//   "ORGN %.5f %.5f"          origin latitude and longitude, arc-seconds
//   "# %02d %02d %02d %02d %013.5f %013.5f %d"  one line per taxi point:
//                             kind, type, factory, pivot, x, z, stopNo
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "corvane/core/options_model.h"
#include "corvane/core/text_file.h"

namespace corvane {

struct NetVertex {
  double x = 0.0;
  double z = 0.0;
};

struct NetEdge {
  int32_t from = 0;  // positions in m_vertices, from 0
  int32_t to = 0;
};

// One corner of a surface polygon; every corner of a polygon carries the
// polygon's corner count.
struct PavePoint {
  int32_t count = 0;
  double x = 0.0;
  double z = 0.0;
};

enum PathKind : uint8_t { kKindArrival = 2, kKindDeparture = 4 };

enum PointType : int32_t {
  kTypeOrdinary = 0,
  kTypeLanding = 2,
  kTypeBraking = 4,
  kTypeStop = 8,
  kTypeAcceleration = 16,
  kTypeTakeOff = 32,
};

struct TaxiPoint {
  uint8_t kind = 0;
  int32_t type = 0;
  uint8_t pivot = 0;
  uint8_t factory = 0;
  double z = 0.0;
  double x = 0.0;
  int32_t stopNo = 0;

  bool operator==(const TaxiPoint&) const = default;
};

struct IntPoint {
  int32_t x = 0;
  int32_t z = 0;
};

// Bits of m_nShowFlags.
enum ShowFlag : uint8_t { kShowEdges = 2, kShowEdgesRead = 4, kShowPolygons = 8 };

// Number of the last stop point clicked; 0 at start and after New.
extern int32_t g_nStopCount;

// Outcome of writing one of the editor's files.
enum class WriteResult { kNothingToWrite, kWritten, kCannotCreate };

class CCorvaneDoc {
 public:
  static constexpr size_t kNameMax = 7;

  std::vector<NetVertex> m_vertices;
  std::vector<NetEdge> m_edges;
  std::vector<PavePoint> m_pavePoints;
  std::vector<TaxiPoint> m_taxiPoints;
  int32_t m_nAIType = 0;  // 0 not chosen, 1 Light, 2 Heavy
  double m_dSoftAngle = 0.0;
  int32_t m_bSoftAngles = 0;
  double m_dOrgLat = 0.0;
  double m_dOrgLon = 0.0;
  std::string m_szName;  // at most kNameMax characters
  IntPoint m_ptCentre;
  IntPoint m_ptMouse;
  uint8_t m_nShowFlags = 0;
  uint8_t m_bStopped = 1;
  int32_t m_nMode = 0;  // 0 Normal, 1 Other
  OptionsModel m_optionsDlg;

  // Stores a name cut to kNameMax characters.
  void SetName(std::string_view name);

  void AddTaxiPoint(const TaxiPoint& point) { m_taxiPoints.push_back(point); }
  // Removes the last point of the path; a stop point given the last number
  // gives its number back.
  void RemoveLastTaxiPoint();

  // New: empties the document and resets the path settings; the name, the
  // mode, the mouse position and the options dialog's values stay.
  void OnNewDocument();

  // Called before the document reader: empties the taxi path only.
  void DeleteContents() { m_taxiPoints.clear(); }

  // "Process Data 1": moves every factory point onto the network vertices
  // within 75 feet (each later vertex tested against the moved position).
  void SnapFactoryPoints();

  // Text of the project file (see the layout above).
  std::string ProjectFileText() const;

  // Writes the project file; nothing is written for an empty taxi path.
  WriteResult WriteProjectFile(const std::string& path, const TextSaver& save = SaveTextFile) const;
};

}  // namespace corvane
