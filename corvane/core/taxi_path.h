// The taxi-path (TP) file: the document's clicked path split into one
// sub-path per stop point, with turn-around points and softened corners,
// converted to latitude and longitude.
//
// Layout of a TP file (text; one arrival and one departure line per stop
// point s, numbered from 0):
//   arrival line:   "%-4.4s,%c,nn%02d,%010.2f,%010.2f"  name, "a" Light or "A",
//                   s, latitude, longitude of the landing point;
//                   ",00,%02d,%010.2f,%010.2f" per ordinary point (always 00);
//                   ",01,00,%010.2f,%010.2f\n" at the stop point.
//   departure line: the same header with "d" or "D" at the stop point;
//                   ordinary points; ",22,00,%010.2f,%010.2f" at the
//                   acceleration point; ",30,00,%010.2f,%010.2f\n" at take-off.
// Latitudes and longitudes are arc-seconds; a path without stop points gives
// an empty file.
#pragma once

#include <numbers>
#include <string>
#include <vector>

#include "corvane/core/corvane_doc.h"

namespace corvane {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Bearing from p to q in radians, from north (+z) toward east (+x).
double Bearing(const TaxiPoint& p, const TaxiPoint& q);
// Change of bearing at p1, in [-pi, pi].
double TurnAngle(const TaxiPoint& p0, const TaxiPoint& p1, const TaxiPoint& p2);
// p moved toward q by f times half their distance.
TaxiPoint PointTowards(const TaxiPoint& p, const TaxiPoint& q, double f);
// q moved 10 feet along the bearing p->q turned left by pi / n.
TaxiPoint TurnAroundPoint(const TaxiPoint& p, const TaxiPoint& q, int n);

struct LatLon {
  double lat = 0.0;
  double lon = 0.0;
};
LatLon ToLatLon(const TaxiPoint& point, double orgLat, double orgLon);

size_t CountStopPoints(const std::vector<TaxiPoint>& path);
bool HasPivot(const std::vector<TaxiPoint>& path);

// Sub-path s (one per stop point, from 0): the whole path with only the stop
// point numbered s + 1, followed there by the departure copies of the stop
// point and (when the path has a pivot) of the point 1 + s places before it.
std::vector<TaxiPoint> BuildSubPath(const std::vector<TaxiPoint>& path, size_t s, bool hasPivot);

// Cuts corners sharper than the threshold (degrees; with soft angles off no
// corner is cut) and inserts the turn-around points after the departure copy
// of the stop point.
void SoftenSubPath(std::vector<TaxiPoint>& path, bool softAngles, double softAngle, bool hasPivot);

// The whole text of the document's TP file.
std::string TaxiPathFileText(const CCorvaneDoc& doc);

// Writes the TP file (created even when it stays empty).
WriteResult WriteTaxiPathFile(const CCorvaneDoc& doc, const std::string& path,
                              const TextSaver& save = SaveTextFile);

}  // namespace corvane
