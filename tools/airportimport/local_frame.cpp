#include "tools/airportimport/local_frame.h"

#include <cmath>
#include <numbers>

namespace airportimport {

namespace {
constexpr double kDegreesToRadians = std::numbers::pi / 180.0;
constexpr double kSmallCosine = 0.001;
constexpr double kSecondsPerHalfCircle = 648000.0;
}  // namespace

double EastFeetPerSecond(double latitudeSeconds) {
  const double c = std::cos(latitudeSeconds / 3600.0 * kDegreesToRadians);
  if (c >= -kSmallCosine && c <= kSmallCosine) return 0.0;
  return kFeetPerLongitudeCircle * c / kSecondsPerCircle;
}

LocalFrame::LocalFrame(LatLon reference)
    : reference_(reference), eastFeetPerSecond_(EastFeetPerSecond(reference.lat * 3600.0)) {}

Feet LocalFrame::ToFeet(LatLon p) const {
  double dLon = p.lon * 3600.0 - reference_.lon * 3600.0;
  if (dLon > kSecondsPerHalfCircle || dLon < -kSecondsPerHalfCircle)
    dLon = std::remainder(dLon, kSecondsPerCircle);
  return {dLon * eastFeetPerSecond_,
          (p.lat * 3600.0 - reference_.lat * 3600.0) * kFeetPerLatitudeCircle / kSecondsPerCircle};
}

LatLon LocalFrame::ToLatLon(Feet f) const {
  LatLon p;
  p.lat = (reference_.lat * 3600.0 + f.z * kSecondsPerCircle / kFeetPerLatitudeCircle) / 3600.0;
  const double east = eastFeetPerSecond_ == 0.0 ? 0.0 : f.x / eastFeetPerSecond_;
  p.lon = (reference_.lon * 3600.0 + east) / 3600.0;
  if (p.lon > 180.0) p.lon -= 360.0;
  if (p.lon < -180.0) p.lon += 360.0;
  return p;
}

double WholeFootText(double feet) {
  const double whole = std::round(feet);
  if (whole == 0.0) return 0.0;
  return whole + (whole > 0 ? 0.25 : -0.25);
}

}  // namespace airportimport
