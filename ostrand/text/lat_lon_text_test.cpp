#include "ostrand/text/lat_lon_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ostrand {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Non-finite input counts as 0.
struct TextCase {
  double seconds;
  const char* text;
};

TEST(LatLonTextTest, Latitudes) {
  const TextCase cases[] = {
      {0.0, "0 0'00.0000\"N"},        {-1800.5, "0 30'00.5000\"S"},  {184827.0, "51 20'27.0000\"N"},
      {170828.5, "47 27'08.5000\"N"}, {324000.0, "90 0'00.0000\"N"}, {-324000.0, "90 0'00.0000\"S"},
      {0.00009, "0 0'00.0000\"N"},   // below one ten-thousandth: truncated
      {-0.00009, "0 0'00.0000\"S"},  // sign decided before truncation
      {3599.9999, "0 59'59.9999\"N"}, {kNan, "0 0'00.0000\"N"},      {kInf, "0 0'00.0000\"N"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatLatLon(LatitudeText(c.seconds)), c.text) << c.seconds;
  }
}

TEST(LatLonTextTest, Longitudes) {
  const TextCase cases[] = {
      {0.0, "0 0'00.0000\"E"},
      {3600.0, "1 0'00.0000\"E"},
      {648000.0, "180 0'00.0000\"E"},      // exactly 180 degrees is east
      {648000.0001, "179 59'59.9998\"W"},  // just beyond: west
      {-3600.0, "0 59'59.9999\"W"},        // one ten-thousandth short
      {-648000.0, "180 0'00.0000\"E"},     // -180 wraps to +180
      {1292400.0, "0 59'59.9999\"W"},      // 359 degrees east
      {-0.0001, "0 0'00.0000\"W"},
      {-487.5, "0 8'07.4999\"W"},
      {kNan, "0 0'00.0000\"E"},
      {-kInf, "0 0'00.0000\"E"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatLatLon(LongitudeText(c.seconds)), c.text) << c.seconds;
  }
}

// Huge input is clamped so that every part still fits and the split stays
// consistent.
TEST(LatLonTextTest, HugeValues) {
  for (double s : {1e300, -1e300, 7.2e12, -7.2e12, 1e18}) {
    for (const LatLonText& t : {LatitudeText(s), LongitudeText(s)}) {
      EXPECT_GE(std::abs(t.minutes), 0);
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
    const long expected = static_cast<long>(std::trunc(std::abs(s) * 10000.0));
    EXPECT_EQ(back, expected) << s;
    EXPECT_EQ(t.hemisphere, v < 0 ? 'S' : 'N') << s;
  }
}

struct ParseCase {
  const char* text;
  double latitude;
  double longitude;
};

TEST(LatLonTextTest, Parse) {
  const ParseCase cases[] = {
      {"N47:27:8.5", 170828.5, 0.0},
      {"n47:27:8.5", 170828.5, 0.0},
      {"S0:30:0.5", -1800.5, 0.0},
      {"E1:0:0", 0.0, 3600.0},
      {"w1", 0.0, -3600.0},
      {"W122:18:35", 0.0, -(122 * 3600.0 + 18 * 60.0 + 35.0)},
      {"N47:27", 47 * 3600.0 + 27 * 60.0, 0.0},  // missing seconds
      {"N", 0.0, 0.0},                           // nothing after the letter
      {"Nx:1:2", 0.0, 0.0},                      // first field does not parse
      {"X47:27:8", 0.0, 0.0},                    // wrong letter
      {"47:27:8", 0.0, 0.0},
      {"", 0.0, 0.0},
      {"Nnan", 0.0, 0.0},
      {"Einf", 0.0, 0.0},
      {"N1.5:0.5:0.25", 1.5 * 3600.0 + 30.0 + 0.25, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ParseLatitude(c.text), c.latitude) << c.text;
    EXPECT_DOUBLE_EQ(ParseLongitude(c.text), c.longitude) << c.text;
  }
  EXPECT_EQ(ParseLatitude(nullptr), 0.0);
  EXPECT_EQ(ParseLongitude(nullptr), 0.0);
}

}  // namespace
}  // namespace ostrand
