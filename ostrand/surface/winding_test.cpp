#include "ostrand/surface/winding.h"

#include <gtest/gtest.h>

namespace ostrand {
namespace {

TEST(WindingTest, StepDirection) {
  struct Case {
    int64_t du, dv;
    int32_t degrees;
  };
  const Case cases[] = {
      {5, 0, 0},       {-5, 0, 180},    {0, 0, 0},      {0, 7, 90},      {0, -7, -90},
      {1, 1, 45},      {-1, 1, 135},    {-1, -1, -135}, {1, -1, -45},
      // truncation toward zero: atan(2) = 63.43 degrees
      {1, 2, 63},      {-1, 2, 117},    {-1, -2, -117}, {1, -2, -63},
      // a tiny angle truncates to 0 (and to 180 mirrored)
      {1000, 1, 0},    {-1000, 1, 180}, {-1000, -1, 180},
      // far beyond 32 bits
      {INT64_C(4294967296), INT64_C(4294967296), 45},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StepDirection(c.du, c.dv), c.degrees) << c.du << " " << c.dv;
  }
}

TEST(WindingTest, NormaliseTurn) {
  struct Case {
    int32_t first, second, turn;
  };
  const Case cases[] = {
      {0, 90, 90},     {90, 0, -90},   {0, 180, 180},   {180, 0, -180 + 360},
      {-90, 180, -90}, {180, -90, 90}, {135, -135, 90}, {-135, 135, -90},
      {0, 181, -179},  {0, -179, -179}, {0, -180, 180},
      {0, 721, 1},     {0, -721, -1},  {INT32_MIN, INT32_MAX, -105},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NormaliseTurn(c.first, c.second), c.turn) << c.first << " " << c.second;
  }
}

}  // namespace
}  // namespace ostrand
