#include "ostrand/surface/winding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

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

// Step pairs from a fixed seed turning by 0 to 5 degrees either way from
// straight ahead or from right-about, short to huge: every turn ClearTurn
// calls clear is one the whole-degree walk counts by that sign.
TEST(WindingTest, ClearTurnsCountAsTheWalkCountsThem) {
  std::mt19937 random(7);
  auto below = [&](uint32_t n) { return static_cast<double>(random() % n); };
  int clear = 0;
  for (int i = 0; i < 200000; ++i) {
    const double length = std::pow(2.0, below(32)), heading = below(36000) / 100.0 * std::numbers::pi / 180.0;
    const double turn = heading + ((i % 2) * 180.0 + (below(1000) - 500) / 100.0) * std::numbers::pi / 180.0;
    const int64_t du1 = std::llround(length * std::cos(heading)), dv1 = std::llround(length * std::sin(heading));
    const double length2 = length * (1 + below(4));
    const int64_t du2 = std::llround(length2 * std::cos(turn)), dv2 = std::llround(length2 * std::sin(turn));
    const int32_t sure = ClearTurn(du1, dv1, du2, dv2);
    if (sure == 0) continue;
    ++clear;
    const int32_t walked = NormaliseTurn(StepDirection(du1, dv1), StepDirection(du2, dv2));
    ASSERT_EQ(sure, walked >= 1 ? 1 : walked < 0 ? -1 : 0) << du1 << " " << dv1 << " " << du2 << " " << dv2;
  }
  EXPECT_GT(clear, 40000);  // a quarter of these turns is clear
}

}  // namespace
}  // namespace ostrand
