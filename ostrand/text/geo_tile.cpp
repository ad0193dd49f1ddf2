// Scenery tiles: latitude band table and the tile of a position.
#include "ostrand/text/geo_tile.h"

#include <array>
#include <cmath>

#include "ostrand/frame/int32_range.h"
#include "ostrand/gen/line.h"

namespace ostrand {
namespace {

constexpr double kBandStep = 1.40625;  // degrees of a band at the equator
constexpr int32_t kFirstNorthBand = 128;
constexpr int32_t kLastBand = 254;  // the last band with an upper boundary
constexpr int kMaxSearchSteps = 257;

const std::array<double, kLatitudeBands>& BandTable() {
  static const std::array<double, kLatitudeBands> table = [] {
    std::array<double, kLatitudeBands> b{};
    b[kFirstNorthBand] = 0.0;
    for (int i = kFirstNorthBand + 1; i < kLatitudeBands; ++i)
      b[i] = b[i - 1] + kBandStep * std::cos(DegreesToRadians(b[i - 1]));
    for (int i = kFirstNorthBand - 1; i >= 0; --i)
      b[i] = b[i + 1] - kBandStep * std::cos(DegreesToRadians(b[i + 1]));
    return b;
  }();
  return table;
}

}  // namespace

double LatitudeBand(int32_t i) {
  if (i < 0 || i >= kLatitudeBands) return 0.0;
  return BandTable()[static_cast<size_t>(i)];
}

int GeoTileOf(const LatLonText& latitude, const LatLonText& longitude, GeoTile& tile) {
  const auto& b = BandTable();
  const double d = latitude.degrees + latitude.minutes / 60.0 + latitude.seconds / 3600.0 +
                   latitude.tenThousandths / 36000000.0;

  // Binary search among the northern bands; the southern half mirrors it.
  int32_t low = kFirstNorthBand;
  int32_t high = kLastBand;
  int32_t band = -1;
  for (int steps = 0; low <= high && steps < kMaxSearchSteps; ++steps) {
    const int32_t mid = (low + high) / 2;
    if (d >= b[static_cast<size_t>(mid)] && d < b[static_cast<size_t>(mid) + 1]) {
      band = mid;
      break;
    }
    if (d >= b[static_cast<size_t>(mid) + 1]) low = mid + 1;
    if (d < b[static_cast<size_t>(mid)]) high = mid - 1;
  }
  if (band < 0) return 0;

  int32_t row = 0;
  switch (latitude.hemisphere) {
    case 'N':
    case 'n':
      row = band;
      break;
    case 'S':
    case 's':
      row = kLatitudeBands - 1 - band;
      break;
    default:
      return 0;
  }

  // Whole seconds east of 0 degrees. The west text is one ten-thousandth of
  // a second short of 360 degrees minus the longitude; 1295999 - L undoes it.
  int64_t l = static_cast<int64_t>(longitude.degrees) * 3600 +
              static_cast<int64_t>(longitude.minutes) * 60 + longitude.seconds;
  switch (longitude.hemisphere) {
    case 'E':
    case 'e':
      break;
    case 'W':
    case 'w':
      l = 1295999 - l;
      break;
    default:
      return 0;
  }
  tile.column = ClampToInt32(l / kTileColumnSeconds);
  tile.row = row;
  return 1;
}

int GeoTileOfSeconds(double latitude, double longitude, GeoTile& tile) {
  return GeoTileOf(LatitudeText(latitude), LongitudeText(longitude), tile);
}

}  // namespace ostrand
