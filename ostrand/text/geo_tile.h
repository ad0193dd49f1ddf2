// Scenery tiles: the place of a geographic position in the simulator's grid
// of tiles, used by the text interpreter's tile filter ("-ti%03ld%03ld").
//
// Columns are slices of 5062 seconds of arc east of 0 degrees: columns 0 to
// 255, and the last 128 seconds before 360 degrees form column 256. Rows are
// latitude bands of the table below, 128 and up northward from the equator,
// 127 and down southward.
//
// Band table: 256 boundaries B[0..255] in degrees; B[128] = 0; going north
// B[i] = B[i-1] + 1.40625 * cos(B[i-1]); going south
// B[i] = B[i+1] - 1.40625 * cos(B[i+1]). Band i spans B[i] <= lat < B[i+1];
// B[255] is about 85.079 degrees, the northern limit of the grid.
#pragma once

#include <cstdint>

#include "ostrand/text/lat_lon_text.h"

namespace ostrand {

inline constexpr int32_t kLatitudeBands = 256;
inline constexpr int32_t kTileColumnSeconds = 5062;

// Boundary i (0..255) of the latitude band table, in degrees.
double LatitudeBand(int32_t i);

struct GeoTile {
  int32_t column = 0;
  int32_t row = 0;
};

// The tile of a position given as its printed parts (LatitudeText,
// LongitudeText). 1 with column and row set; 0 when the latitude lies
// outside the band table or a hemisphere letter is not N, S (latitude) or
// E, W (longitude), in either case.
int GeoTileOf(const LatLonText& latitude, const LatLonText& longitude, GeoTile& tile);

// The tile of a position in seconds of arc (north and east positive).
int GeoTileOfSeconds(double latitude, double longitude, GeoTile& tile);

}  // namespace ostrand
