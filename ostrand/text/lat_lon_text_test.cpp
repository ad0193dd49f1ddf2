#include "ostrand/text/lat_lon_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "ostrand/text/test_support.h"

namespace ostrand {
namespace {

// The rows of testdata/lat_lon.txt: texts of positions, and positions of texts.
TEST(LatLonTextTest, TextsOfTheTable) {
  const auto rows = testing::TableRows("ostrand/text/testdata/lat_lon.txt");
  ASSERT_GE(rows.size(), 30u);
  for (const auto& row : rows) {
    SCOPED_TRACE(row[1]);
    if (row[0] == "parse") {
      EXPECT_DOUBLE_EQ(ParseLatitude(row[1].c_str()), std::stod(row[2]));
      EXPECT_DOUBLE_EQ(ParseLongitude(row[1].c_str()), std::stod(row[3]));
    } else {
      const double seconds = std::stod(row[1]);
      EXPECT_EQ(FormatLatLon(row[0] == "lat" ? LatitudeText(seconds) : LongitudeText(seconds)), row[2]);
    }
  }
  EXPECT_EQ(ParseLatitude(nullptr), 0.0);
  EXPECT_EQ(ParseLongitude(nullptr), 0.0);
}

// Huge input is clamped so that every part still fits and the split stays
// consistent.
TEST(LatLonTextTest, HugeValues) {
  for (double s : {1e300, -1e300, 7.2e12, -7.2e12, 1e18}) {
    for (const LatLonText& t : {LatitudeText(s), LongitudeText(s)}) {
      EXPECT_LT(std::abs(t.minutes), 60) << s;
      EXPECT_LT(std::abs(t.seconds), 60) << s;
      EXPECT_LT(std::abs(t.tenThousandths), 10000) << s;
    }
  }
  EXPECT_EQ(LatitudeText(1e300).degrees, 2000000000);
  EXPECT_EQ(LatitudeText(-1e300).hemisphere, 'S');
}

// Splitting and reassembling gives back the truncated value for every
// in-range latitude on a fine grid.
TEST(LatLonTextTest, SplitRoundTrip) {
  for (long v = -3240000000L; v <= 3240000000L; v += 12345677L) {
    const double s = static_cast<double>(v) / 10000.0;
    const LatLonText t = LatitudeText(s);
    const long back = ((t.degrees * 60L + t.minutes) * 60L + t.seconds) * 10000L + t.tenThousandths;
    EXPECT_EQ(back, static_cast<long>(std::trunc(std::abs(s) * 10000.0))) << s;
    EXPECT_EQ(t.hemisphere, v < 0 ? 'S' : 'N') << s;
  }
}

}  // namespace
}  // namespace ostrand
