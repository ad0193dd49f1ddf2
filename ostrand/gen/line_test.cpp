#include "ostrand/gen/line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace ostrand {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;

Line Segment(double x1, double z1, double x2, double z2) {
  Line l;
  l.Set(x1, z1, x2, z2);
  return l;
}
Line Through(double x, double z, double headingDeg) {
  Line l;
  l.ThroughPoint(x, z, headingDeg * kDeg);
  return l;
}
IntLine IntSegment(int32_t x1, int32_t z1, int32_t x2, int32_t z2) {
  IntLine l;
  l.Set(x1, z1, x2, z2);
  return l;
}

TEST(GeometryTest, HeadingTurnAndRounding) {
  // Heading of (10, 20) -> (10 + dx, 20 + dz).
  const double headings[][3] = {{1, 0, 0.0},  {-1, 0, kPi},       {0, 1, kPi / 2}, {0, -1, -kPi / 2},
                                {0, 0, kPi / 2}, {-1, -1, 5 * kPi / 4}, {1, -1, -kPi / 4}};
  for (const auto& c : headings) EXPECT_NEAR(Heading(10, 20, 10 + c[0], 20 + c[1]), c[2], 1e-12) << c[0] << "," << c[1];
  // Turn at (x2, z2) from (x1, z1) towards (x3, z3), brought into -pi..pi.
  const double turns[][7] = {
      {0, 0, 1, 0, 2, 0, 0.0},       {0, 0, 1, 0, 1, 1, kPi / 2},   {0, 0, 1, 0, 1, -1, -kPi / 2},
      {0, 0, 1, 0, 0, 0, kPi},       {0, 0, -1, 0, 0, 0, -kPi},     {0, 0, 0, -1, -1, -1, -kPi / 2},
      {0, 0, -1, 0, -1, -1, kPi / 2}, {0, 0, -1, -1, 0, -2, kPi / 2}};
  for (const auto& c : turns) EXPECT_NEAR(TurnAngle(c[0], c[1], c[2], c[3], c[4], c[5]), c[6], 1e-12) << c[4] << "," << c[5];
  EXPECT_DOUBLE_EQ(Distance(1, 1, 4, 5), 5);
  const struct { double v; int32_t expected; } rounding[] = {
      {2.5, 3}, {2.4999, 2}, {-2.5, -2}, {-2.9, -2}, {-0.4, 0},
      {1e30, std::numeric_limits<int32_t>::max()}, {-1e30, std::numeric_limits<int32_t>::min()}, {std::nan(""), 0}};
  for (const auto& c : rounding) EXPECT_EQ(RoundHalfUp(c.v), c.expected) << c.v;
}

TEST(LineTest, DerivedFieldsOfSlopedVerticalAndZeroLengthLines) {
  Line l = Segment(2, 1, 6, 9);
  EXPECT_EQ(std::vector<double>({l.dx, l.dz, l.m, l.b, l.minX, l.maxX, l.minZ, l.maxZ}),
            std::vector<double>({4, 8, 2, -3, 2, 6, 1, 9}));
  EXPECT_DOUBLE_EQ(l.norm * 4, l.length);  // sqrt(5), sqrt(80)
  EXPECT_DOUBLE_EQ(l.heading, std::atan(2.0));
  EXPECT_EQ(l.xMajor, 0);
  l.Set(6, 9, 2, 8);
  EXPECT_EQ(std::vector<double>({l.minX, l.maxX, l.minZ, l.maxZ, l.ZAtX(4), l.XAtZ(8.5)}),
            std::vector<double>({2, 6, 8, 9, 8.5, 4}));
  EXPECT_EQ(l.xMajor, 1);

  const Line v = Segment(3, 0, 3, 10);
  EXPECT_EQ(std::vector<double>({v.m, v.b, v.ZAtX(100), v.SideValue(5, 4), v.DistanceToLine(-1, 50)}),
            std::vector<double>({kVerticalSlope, 0, 0, 2, 4}));
  EXPECT_EQ(std::vector<int>({v.SideOf(5, 4), v.SideOf(1, 4), v.SideOf(3, 4)}), std::vector<int>({1, -1, 0}));

  Line z = Segment(5, 7, 5, 7);
  EXPECT_EQ(z.m, kVerticalSlope);
  EXPECT_DOUBLE_EQ(z.heading, kPi / 2);
  z.Extend(3, 4);
  z.ShiftSideways(2);
  EXPECT_EQ(std::vector<double>({z.x1, z.z1, z.x2, z.z2, z.length}), std::vector<double>({5, 7, 5, 7, 0}));
}

TEST(LineTest, DistanceToSegmentTable) {
  const Line l = Segment(0, 0, 10, 0);  // x-major
  const Line s = Segment(0, 10, 0, 0);  // z-major, start at the top
  const struct { const Line* line; double x, z, expected; } cases[] = {
      {&l, 5, 3, 3},  {&l, -3, 4, 5}, {&l, 13, 4, 5},  {&l, 10, -2, 2},  // beside, before, past, at the end
      {&s, 4, 5, 4},  {&s, 3, 14, 5}, {&s, -3, -4, 5},                   // beside, above, below
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.line->DistanceToSegment(c.x, c.z), c.expected) << c.x << "," << c.z;
  EXPECT_EQ(l.IsNear(5, 3, 3), 1);
  EXPECT_EQ(l.IsNear(5, 3, 2.999), 0);
  // Only one axis is tested: beside the steep end of a mostly horizontal
  // segment the distance is measured to the infinite line.
  const Line d = Segment(0, 0, 10, 9);
  EXPECT_NEAR(d.DistanceToSegment(9, 20), d.DistanceToLine(9, 20), 1e-12);
}

TEST(LineTest, IntersectTable) {
  // The base line along heading 0; the other through (5, 0) at the heading
  // in degrees, with an angle tolerance in degrees.
  const double cases[][3] = {
      {20, 30, 0}, {178, 30, 0}, {60, 30, 1}, {170, 30, 1}, {90, 30, 1}, {20, 0, 1}, {178, 0, 1},
      {-60, 30, 1}, {150, 30, 1},
      {176, 5, 0},  // within 5 degrees of opposite the difference is folded near 0 ...
      {174, 5, 1},  // ... but 6 degrees short of opposite it is not
  };
  const Line a = Segment(-100, 0, 100, 0);
  for (const auto& c : cases) {
    double x = -1, z = -1;
    EXPECT_EQ(a.Intersect(Through(5, 0, c[0]), x, z, c[1] * kDeg), c[2]) << c[0];
    EXPECT_NEAR(c[2] != 0 ? std::hypot(x - 5, z) : 0, 0, 1e-9) << c[0];
  }
  // Headings run from -90 to 270 degrees: -89 and 268 differ by 357
  // degrees, which folds to -3 (nearly parallel).
  double x = 0, z = 0;
  EXPECT_EQ(Through(0, 0, -89).Intersect(Through(0, 0, 268), x, z, 30 * kDeg), 0);
  EXPECT_EQ(Through(0, 0, -89).Intersect(Through(0, 0, 268), x, z, 2 * kDeg), 1);
  // Vertical, horizontal, diagonal and parallel lines; the point is left
  // alone when they do not cross.
  const Line v1 = Segment(3, 0, 3, 10), v2 = Segment(7, 0, 7, 10), h = Segment(0, 4, 10, 4),
             d = Segment(0, 0, 10, 10), d2 = Segment(0, 1, 10, 11);
  const struct { const Line *a, *b; int expected; double x, z; } special[] = {
      {&v1, &v2, 0, 99, 99}, {&v1, &h, 1, 3, 4}, {&d, &v2, 1, 7, 7}, {&d, &h, 1, 4, 4}, {&d, &d2, 0, 99, 99}};
  for (const auto& c : special) {
    x = z = 99;
    EXPECT_EQ(c.a->Intersect(*c.b, x, z, 0), c.expected) << c.x << "," << c.z;
    EXPECT_EQ(std::pair(x, z), std::pair(c.x, c.z));
  }
}

TEST(LineTest, BisectorTable) {
  // Headings of the two lines through the origin and of their bisector.
  const double cases[][3] = {{0, 90, 45}, {10, 350, 0}, {-80, 200, 240}, {-60, 60, 0}, {100, 200, 150}};
  for (const auto& c : cases) {
    Line out;
    ASSERT_EQ(out.Bisector(Through(0, 0, c[0]), Through(0, 0, c[1]), 5 * kDeg), 1) << c[0];
    EXPECT_NEAR(std::hypot(out.x1, out.z1), 0, 1e-9);
    const double dir = std::atan2(out.z2 - out.z1, out.x2 - out.x1);
    EXPECT_NEAR(std::remainder(dir - c[2] * kDeg, 2 * kPi), 0, 1e-9) << c[0] << " " << c[1];
  }
  Line out = Segment(1, 2, 3, 4);
  EXPECT_EQ(out.Bisector(Segment(0, 0, 10, 0), Segment(0, 1, 10, 1), 0), 0);
  EXPECT_EQ(std::pair(out.x1, out.z2), std::pair(1.0, 4.0));
}

TEST(LineTest, MovesKeepInvariants) {
  Line l = Segment(0, 0, 30, 40);
  l.Extend(5, 10);
  EXPECT_NEAR(l.length, 65, 1e-9);
  const double extended[] = {l.x1 + 3, l.z1 + 4, l.x2 - 36, l.z2 - 48};
  for (double e : extended) EXPECT_NEAR(e, 0, 1e-9);
  const double heading = l.heading;
  l.ShiftSideways(5);  // left of the direction: (-dz, dx) / length * 5
  EXPECT_NEAR(std::hypot(l.x1 + 7, l.z1 + 1) + std::fabs(l.heading - heading) + std::fabs(l.length - 65), 0, 1e-9);
  int32_t p[4];
  Segment(-1.7, 2.9, 3.2, -0.5).GetPointsInt(p[0], p[1], p[2], p[3]);
  EXPECT_EQ(std::vector<int32_t>(p, p + 4), (std::vector<int32_t>{-1, 2, 3, 0}));
  const Line t = Through(1, 2, 90);
  EXPECT_NEAR(std::hypot(t.x2 - 1, t.z2 - 1002), 0, 1e-9);
}

TEST(IntLineTest, InterceptNearnessAndExtremes) {
  // x1 z1 x2 z2, intercept, then x and the z there: truncated toward zero.
  const int32_t lines[][7] = {
      {0, 10, 10, 15, 10, 5, 12},  // (5 * 5) / 10 + 10
      {3, 7, 10, 0, 10, 4, 6},     // b = (-3 * -7) / 7 + 7; (-7 * 4) / 7 + 10
      {-7, 0, 2, 5, 3, -5, 1},     // b = (7 * 5) / 9 = 3; (5 * -5) / 9 = -2, + 3
      {4, 0, 4, 9, 0, -100, 0},    // vertical
  };
  for (const auto& c : lines) {
    const IntLine l = IntSegment(c[0], c[1], c[2], c[3]);
    EXPECT_EQ(l.b, c[4]) << c[0] << "," << c[1];
    EXPECT_EQ(l.ZAtX(c[5]), c[6]) << c[0] << "," << c[1];
  }
  EXPECT_DOUBLE_EQ(IntSegment(0, 10, 10, 15).m, 0.5);
  EXPECT_EQ(IntSegment(4, 0, 4, 9).m, kVerticalSlope);

  const IntLine h = IntSegment(0, 0, 100, 0), v = IntSegment(0, 0, 0, 100), d = IntSegment(0, 0, 100, 100);
  const struct { const IntLine* line; int32_t x, z, tol; int expected; } near[] = {
      {&h, 50, 10, 10, 1}, {&h, 50, 11, 10, 0}, {&h, 50, -10, 10, 1}, {&h, -10, 0, 10, 1},
      {&h, -11, 0, 10, 0}, {&h, 110, 5, 10, 1}, {&v, 10, 50, 10, 1},  {&v, 11, 50, 10, 0},
      {&v, 0, 111, 10, 0},
      {&d, 50, 57, 5, 1},  {&d, 50, 58, 5, 1}, {&d, 50, 59, 5, 0},  // 4.95, 5.66 and 6.36 truncated
  };
  for (const auto& c : near) EXPECT_EQ(c.line->IsNear(c.x, c.z, c.tol), c.expected) << c.x << "," << c.z;

  const int32_t big = std::numeric_limits<int32_t>::max(), small = std::numeric_limits<int32_t>::min();
  const IntLine l = IntSegment(small, small, big, big);
  EXPECT_EQ(l.dx, big);  // clamped
  EXPECT_EQ(std::vector<int32_t>({l.ZAtX(0), l.ZAtX(big), l.IsNear(big, big, big)}), std::vector<int32_t>({0, big, 1}));
  const IntLine s = IntSegment(big, 0, big - 1, big);  // steep: intercept far outside 32 bits
  EXPECT_EQ(std::pair(s.ZAtX(big), s.ZAtX(big - 1)), std::pair(0, big));
  EXPECT_GE(s.DistanceToLine(small, small), 0);
}

}  // namespace
}  // namespace ostrand
