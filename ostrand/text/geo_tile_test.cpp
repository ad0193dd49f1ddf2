#include "ostrand/text/geo_tile.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ostrand {
namespace {

TEST(GeoTileTest, BandTable) {
  EXPECT_EQ(LatitudeBand(128), 0.0);
  EXPECT_DOUBLE_EQ(LatitudeBand(129), 1.40625);
  EXPECT_NEAR(LatitudeBand(255), 85.079, 0.001);
  // Symmetric about the equator, each band narrower than the one before.
  for (int i = 129; i < 256; ++i) {
    EXPECT_GT(LatitudeBand(i), LatitudeBand(i - 1)) << i;
    if (i > 129) {
      EXPECT_LT(LatitudeBand(i) - LatitudeBand(i - 1), LatitudeBand(i - 1) - LatitudeBand(i - 2));
    }
  }
  EXPECT_DOUBLE_EQ(LatitudeBand(127), -1.40625);
  EXPECT_EQ(LatitudeBand(-1), 0.0);
  EXPECT_EQ(LatitudeBand(256), 0.0);
}

TEST(GeoTileTest, TilesOfPositions) {
  struct Case {
    const char* name;
    double latitude;   // seconds of arc
    double longitude;  // seconds of arc
    int ok;
    int32_t column;
    int32_t row;
  } cases[] = {
      {"equator", 0, 0, 1, 0, 128},
      {"just north of the equator", 0.5, 0, 1, 0, 128},
      {"just south of the equator", -0.5, 0, 1, 0, 127},
      {"top of the first band", 1.40625 * 3600 - 0.01, 0, 1, 0, 128},
      {"second band north", 1.40625 * 3600 + 0.01, 0, 1, 0, 129},
      {"second band south", -1.40625 * 3600 - 0.01, 0, 1, 0, 126},
      {"one degree west", 0, -3600, 1, 255, 128},
      {"one second west", 0, -1, 1, 256, 128},
      {"one column east", 0, 5062, 1, 1, 128},
      {"just short of one column", 0, 5061.5, 1, 0, 128},
      {"180 degrees", 0, 648000, 1, 128, 128},
      {"180 degrees stored east of 0 to 360", 0, 648000.5, 1, 128, 128},
      {"Hamburg", 53.6304 * 3600, 9.98823 * 3600, 1, 7, 173},
      {"beyond the last band", 85.1 * 3600, 0, 0, 0, 0},
      {"far south", -85.1 * 3600, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    GeoTile tile{-7, -7};
    EXPECT_EQ(GeoTileOfSeconds(c.latitude, c.longitude, tile), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(tile.column, c.column) << c.name;
      EXPECT_EQ(tile.row, c.row) << c.name;
    }
  }
}

TEST(GeoTileTest, RowsAreBandsOfTheTable) {
  // Every band is found by its own lower boundary, north and south.
  for (int32_t band = 128; band < 255; ++band) {
    GeoTile tile;
    const double lat = LatitudeBand(band) * 3600 + 0.01;
    ASSERT_EQ(GeoTileOfSeconds(lat, 0, tile), 1) << band;
    EXPECT_EQ(tile.row, band);
    ASSERT_EQ(GeoTileOfSeconds(-lat, 0, tile), 1) << band;
    EXPECT_EQ(tile.row, 255 - band);
  }
}

TEST(GeoTileTest, HemisphereLetters) {
  LatLonText lat;
  LatLonText lon;
  GeoTile tile;
  lat.hemisphere = 'n';
  lon.hemisphere = 'w';
  lon.degrees = 1;
  EXPECT_EQ(GeoTileOf(lat, lon, tile), 1);
  EXPECT_EQ(tile.column, (1295999 - 3600) / 5062);
  lat.hemisphere = 'X';
  EXPECT_EQ(GeoTileOf(lat, lon, tile), 0);
  lat.hemisphere = 's';
  lon.hemisphere = 'Q';
  EXPECT_EQ(GeoTileOf(lat, lon, tile), 0);
  lon.hemisphere = 'e';
  lon.degrees = 2000000000;  // absurd parts stay in range
  EXPECT_EQ(GeoTileOf(lat, lon, tile), 1);
  EXPECT_EQ(tile.column, 1422362702);  // 2e9 * 3600 / 5062
}

}  // namespace
}  // namespace ostrand
