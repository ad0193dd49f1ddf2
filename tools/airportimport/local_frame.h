// Local feet around an airport's reference point, computed exactly as the
// scenery text interpreter computes its offsets (same feet per circle of
// latitude and of longitude, cosine of the reference latitude), so that a
// position written in feet lands where the source had it.
#pragma once

#include "tools/airportimport/airport_model.h"

namespace airportimport {

// Feet per full circle of latitude, and of longitude at the equator.
constexpr double kFeetPerLatitudeCircle = 131256561.67979005;
constexpr double kFeetPerLongitudeCircle = 131479658.79265094;
constexpr double kSecondsPerCircle = 1296000.0;

struct Feet {
  double x = 0.0;  // east
  double z = 0.0;  // north
};

// Feet east per second of arc of longitude at a latitude in seconds of arc
// (0 near the poles, as the interpreter has it).
double EastFeetPerSecond(double latitudeSeconds);

class LocalFrame {
 public:
  explicit LocalFrame(LatLon reference);
  Feet ToFeet(LatLon p) const;
  LatLon ToLatLon(Feet f) const;
  LatLon reference() const { return reference_; }

 private:
  LatLon reference_;
  double eastFeetPerSecond_;
};

// The value to write so that the interpreter, which truncates toward zero
// after adding an offset of almost nothing, lands on the whole foot
// nearest to `feet`.
double WholeFootText(double feet);

}  // namespace airportimport
