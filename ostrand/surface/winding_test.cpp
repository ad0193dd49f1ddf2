#include "ostrand/surface/winding.h"

#include <gtest/gtest.h>

namespace ostrand {
namespace {

TEST(WindingTest, StepDirection) {
  const struct { int64_t du, dv; int32_t degrees; } rows[] = {
      {5, 0, 0}, {-5, 0, 180}, {0, 0, 0}, {0, 7, 90}, {0, -7, -90}, {1, 1, 45}, {-1, 1, 135}, {-1, -1, -135},
      {1, -1, -45}, {1, 2, 63}, {-1, 2, 117}, {-1, -2, -117}, {1, -2, -63},  // toward zero: atan(2) = 63.43 degrees
      // a tiny angle truncates to 0 (and to 180 mirrored)
      {1000, 1, 0}, {-1000, 1, 180}, {-1000, -1, 180},
      {INT64_C(4294967296), INT64_C(4294967296), 45}};  // far beyond 32 bits
  for (const auto& r : rows) EXPECT_EQ(StepDirection(r.du, r.dv), r.degrees) << r.du << " " << r.dv;
}

TEST(WindingTest, NormaliseTurn) {
  const struct { int32_t first, second, turn; } rows[] = {
      {0, 90, 90}, {90, 0, -90}, {0, 180, 180}, {180, 0, 180}, {-90, 180, -90}, {180, -90, 90}, {135, -135, 90},
      {-135, 135, -90}, {0, 181, -179}, {0, -179, -179}, {0, -180, 180}, {0, 721, 1}, {0, -721, -1},
      {INT32_MIN, INT32_MAX, -105}};
  for (const auto& r : rows) EXPECT_EQ(NormaliseTurn(r.first, r.second), r.turn) << r.first << " " << r.second;
}

}  // namespace
}  // namespace ostrand
