#include "ostrand/text/geo_tile.h"

#include <gtest/gtest.h>

#include "ostrand/text/test_support.h"

namespace ostrand {
namespace {

TEST(GeoTileTest, TilesOfPositions) {
  const auto rows = testing::TableRows("ostrand/text/testdata/geo_tiles.txt");
  ASSERT_GE(rows.size(), 15u);
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0]);
    GeoTile tile{-7, -7};
    EXPECT_EQ(GeoTileOfSeconds(std::stod(row[1]), std::stod(row[2]), tile), std::stoi(row[3]));
    EXPECT_EQ(tile.column, std::stoi(row[4]));
    EXPECT_EQ(tile.row, std::stoi(row[5]));
  }
}

// The bands are symmetric about the equator, each narrower than the one
// before, and every band is found by its own lower boundary, north and south.
TEST(GeoTileTest, BandTable) {
  EXPECT_EQ(LatitudeBand(128), 0.0);
  EXPECT_DOUBLE_EQ(LatitudeBand(129), 1.40625);
  EXPECT_DOUBLE_EQ(LatitudeBand(127), -1.40625);
  EXPECT_NEAR(LatitudeBand(255), 85.079, 0.001);
  EXPECT_EQ(LatitudeBand(-1), 0.0);
  EXPECT_EQ(LatitudeBand(256), 0.0);
  for (int32_t band = 128; band < 255; ++band) {
    EXPECT_GT(LatitudeBand(band + 1), LatitudeBand(band)) << band;
    if (band > 128) {
      EXPECT_LT(LatitudeBand(band + 1) - LatitudeBand(band), LatitudeBand(band) - LatitudeBand(band - 1)) << band;
    }
    GeoTile tile;
    const double lat = LatitudeBand(band) * 3600 + 0.01;
    ASSERT_EQ(GeoTileOfSeconds(lat, 0, tile), 1) << band;
    EXPECT_EQ(tile.row, band);
    ASSERT_EQ(GeoTileOfSeconds(-lat, 0, tile), 1) << band;
    EXPECT_EQ(tile.row, 255 - band);
  }
}

// Hemisphere letters of either case; absurd parts stay in range.
TEST(GeoTileTest, HemisphereLetters) {
  struct Row { char lat, lon; int32_t degrees; int result; int32_t column; };
  const Row rows[] = {{'n', 'w', 1, 1, (1295999 - 3600) / 5062}, {'X', 'w', 1, 0, -7},
                      {'s', 'Q', 1, 0, -7},
                      {'s', 'e', 2000000000, 1, 1422362702}};  // 2e9 * 3600 / 5062
  for (const Row& r : rows) {
    LatLonText lat, lon;
    lat.hemisphere = r.lat, lon.hemisphere = r.lon, lon.degrees = r.degrees;
    GeoTile tile{-7, -7};
    EXPECT_EQ(GeoTileOf(lat, lon, tile), r.result) << r.lat << r.lon;
    EXPECT_EQ(r.result == 1 ? tile.column : -7, r.column) << r.lat << r.lon;
  }
}

}  // namespace
}  // namespace ostrand
