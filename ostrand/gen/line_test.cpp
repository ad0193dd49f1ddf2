#include "ostrand/gen/line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace ostrand {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

TEST(GeometryTest, HeadingTable) {
  struct Case {
    double dx, dz, expected;
  } cases[] = {
      {1, 0, 0.0},           {-1, 0, kPi},          {0, 1, kPi / 2},
      {0, -1, -kPi / 2},     {0, 0, kPi / 2},       {-1, -1, 5 * kPi / 4},
      {1, 1, kPi / 4},       {1, -1, -kPi / 4},     {-1, 1, 3 * kPi / 4},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(Heading(10, 20, 10 + c.dx, 20 + c.dz), c.expected, 1e-12) << c.dx << "," << c.dz;
  }
}

TEST(GeometryTest, TurnAngleTable) {
  struct Case {
    double x1, z1, x2, z2, x3, z3, expected;
  } cases[] = {
      {0, 0, 1, 0, 2, 0, 0.0},          // straight on
      {0, 0, 1, 0, 1, 1, kPi / 2},      // left
      {0, 0, 1, 0, 1, -1, -kPi / 2},    // right
      {0, 0, 1, 0, 0, 0, kPi},          // U-turn: raw difference pi kept
      {0, 0, -1, 0, 0, 0, -kPi},        // U-turn the other way: -pi kept
      {0, 0, 0, -1, -1, -1, -kPi / 2},  // -pi/2 to pi: wraps to -pi/2
      {0, 0, -1, 0, -1, -1, kPi / 2},   // pi to 5pi/4 ... heading pi -> 3pi/2
      {0, 0, -1, -1, 0, -2, kPi / 2},   // 5pi/4 to -pi/4: wraps
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(TurnAngle(c.x1, c.z1, c.x2, c.z2, c.x3, c.z3), c.expected, 1e-12)
        << c.x3 << "," << c.z3;
  }
}

TEST(GeometryTest, LengthDistanceRound) {
  EXPECT_DOUBLE_EQ(Length(3, 4), 5);
  EXPECT_DOUBLE_EQ(Distance(1, 1, 4, 5), 5);
  struct Case {
    double v;
    int32_t expected;
  } cases[] = {{2.5, 3}, {2.4999, 2}, {0.0, 0}, {-2.5, -2}, {-2.9, -2}, {-0.4, 0},
               {1e30, std::numeric_limits<int32_t>::max()},
               {-1e30, std::numeric_limits<int32_t>::min()},
               {std::nan(""), 0}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfUp(c.v), c.expected) << c.v;
}

TEST(LineTest, SetDerivesFields) {
  Line l;
  l.Set(2, 1, 6, 9);
  EXPECT_DOUBLE_EQ(l.dx, 4);
  EXPECT_DOUBLE_EQ(l.dz, 8);
  EXPECT_DOUBLE_EQ(l.m, 2);
  EXPECT_DOUBLE_EQ(l.b, -3);
  EXPECT_DOUBLE_EQ(l.norm, std::sqrt(5.0));
  EXPECT_DOUBLE_EQ(l.minX, 2);
  EXPECT_DOUBLE_EQ(l.maxX, 6);
  EXPECT_DOUBLE_EQ(l.minZ, 1);
  EXPECT_DOUBLE_EQ(l.maxZ, 9);
  EXPECT_DOUBLE_EQ(l.length, std::sqrt(80.0));
  EXPECT_DOUBLE_EQ(l.heading, std::atan(2.0));
  EXPECT_EQ(l.xMajor, 0);
  l.Set(6, 9, 2, 8);
  EXPECT_DOUBLE_EQ(l.minX, 2);
  EXPECT_DOUBLE_EQ(l.maxX, 6);
  EXPECT_EQ(l.xMajor, 1);
  EXPECT_DOUBLE_EQ(l.ZAtX(4), 8.5);
  EXPECT_DOUBLE_EQ(l.XAtZ(8.5), 4);
}

TEST(LineTest, VerticalAndZeroLength) {
  Line v;
  v.Set(3, 0, 3, 10);
  EXPECT_EQ(v.m, kVerticalSlope);
  EXPECT_EQ(v.b, 0.0);
  EXPECT_EQ(v.ZAtX(3), 0.0);
  EXPECT_EQ(v.ZAtX(100), 0.0);
  EXPECT_DOUBLE_EQ(v.SideValue(5, 4), 2.0);  // x - XAtZ(z)
  EXPECT_EQ(v.SideOf(5, 4), 1);
  EXPECT_EQ(v.SideOf(1, 4), -1);
  EXPECT_EQ(v.SideOf(3, 4), 0);
  EXPECT_DOUBLE_EQ(v.DistanceToLine(-1, 50), 4);

  Line z;
  z.Set(5, 7, 5, 7);
  EXPECT_EQ(z.dx, 0.0);
  EXPECT_EQ(z.dz, 0.0);
  EXPECT_EQ(z.m, kVerticalSlope);
  EXPECT_EQ(z.length, 0.0);
  EXPECT_DOUBLE_EQ(z.heading, kPi / 2);
  z.Extend(3, 4);
  z.ShiftSideways(2);
  EXPECT_EQ(z.x1, 5);
  EXPECT_EQ(z.z1, 7);
  EXPECT_EQ(z.x2, 5);
  EXPECT_EQ(z.z2, 7);
}

TEST(LineTest, DistanceToSegmentTable) {
  Line l;
  l.Set(0, 0, 10, 0);  // x-major
  Line s;
  s.Set(0, 10, 0, 0);  // z-major, start at the top
  struct Case {
    const Line* line;
    double x, z, expected;
  } cases[] = {
      {&l, 5, 3, 3},            // beside the middle
      {&l, -3, 4, 5},           // before the start
      {&l, 13, 4, 5},           // past the end
      {&l, 10, -2, 2},          // at the end's x
      {&s, 4, 5, 4},            // beside a vertical segment
      {&s, 3, 14, 5},           // above the start (start holds maxZ)
      {&s, -3, -4, 5},          // below the end
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(c.line->DistanceToSegment(c.x, c.z), c.expected) << c.x << "," << c.z;
  }
  EXPECT_EQ(l.IsNear(5, 3, 3), 1);
  EXPECT_EQ(l.IsNear(5, 3, 2.999), 0);

  // Only one axis is tested: beside the steep end of a mostly horizontal
  // segment the distance is measured to the infinite line.
  Line d;
  d.Set(0, 0, 10, 9);
  EXPECT_NEAR(d.DistanceToSegment(9, 20), d.DistanceToLine(9, 20), 1e-12);
}

TEST(LineTest, IntersectTable) {
  // Base line along heading 0 through the origin; the other line through
  // (5, 0) at the given heading in degrees.
  struct Case {
    double headingDeg;
    double tol;
    int expected;
  } cases[] = {
      {20, 30 * kDeg, 0},  {178, 30 * kDeg, 0}, {60, 30 * kDeg, 1},  {170, 30 * kDeg, 1},
      {90, 30 * kDeg, 1},  {20, 0.0, 1},        {178, 0.0, 1},      {-60, 30 * kDeg, 1},
      {150, 30 * kDeg, 1},
      // Within 5 degrees of opposite the difference is folded near 0 ...
      {176, 5 * kDeg, 0},
      // ... but 6 degrees short of opposite it is not.
      {174, 5 * kDeg, 1},
  };
  Line a;
  a.Set(-100, 0, 100, 0);
  for (const auto& c : cases) {
    Line b;
    b.ThroughPoint(5, 0, c.headingDeg * kDeg);
    double x = -1, z = -1;
    EXPECT_EQ(a.Intersect(b, x, z, c.tol), c.expected) << c.headingDeg;
    if (c.expected) {
      EXPECT_NEAR(x, 5, 1e-9);
      EXPECT_NEAR(z, 0, 1e-9);
    }
  }
  // Headings run from -90 to 270 degrees: -89 and 268 differ by 357
  // degrees, which folds to -3 (nearly parallel).
  Line p, q;
  p.ThroughPoint(0, 0, -89 * kDeg);
  q.ThroughPoint(0, 0, 268 * kDeg);
  double x = 0, z = 0;
  EXPECT_EQ(p.Intersect(q, x, z, 30 * kDeg), 0);
  EXPECT_EQ(p.Intersect(q, x, z, 2 * kDeg), 1);
}

TEST(LineTest, IntersectSpecialSlopes) {
  Line v1, v2, h, d;
  v1.Set(3, 0, 3, 10);
  v2.Set(7, 0, 7, 10);
  h.Set(0, 4, 10, 4);
  d.Set(0, 0, 10, 10);
  double x = 99, z = 99;
  EXPECT_EQ(v1.Intersect(v2, x, z, 0), 0);  // both vertical
  EXPECT_EQ(x, 99);
  EXPECT_EQ(z, 99);
  EXPECT_EQ(v1.Intersect(h, x, z, 0), 1);
  EXPECT_DOUBLE_EQ(x, 3);
  EXPECT_DOUBLE_EQ(z, 4);
  EXPECT_EQ(d.Intersect(v2, x, z, 0), 1);
  EXPECT_DOUBLE_EQ(x, 7);
  EXPECT_DOUBLE_EQ(z, 7);
  EXPECT_EQ(d.Intersect(h, x, z, 0), 1);
  EXPECT_DOUBLE_EQ(x, 4);
  EXPECT_DOUBLE_EQ(z, 4);
  Line d2;
  d2.Set(0, 1, 10, 11);  // parallel to d
  EXPECT_EQ(d.Intersect(d2, x, z, 0), 0);
}

TEST(LineTest, BisectorTable) {
  struct Case {
    double ha, hb, expected;
  } cases[] = {
      {0, 90, 45},       // plain mean
      {10, 350, 0},      // the second heading is -10
      {-80, 200, 240},   // diff 280 > 180: mean 60 + 180
      {-60, 60, 0},
      {100, 200, 150},
  };
  for (const auto& c : cases) {
    Line a, b, out;
    a.ThroughPoint(0, 0, c.ha * kDeg);
    b.ThroughPoint(0, 0, c.hb * kDeg);
    ASSERT_EQ(out.Bisector(a, b, 5 * kDeg), 1) << c.ha << " " << c.hb;
    EXPECT_NEAR(out.x1, 0, 1e-9);
    EXPECT_NEAR(out.z1, 0, 1e-9);
    const double dir = std::atan2(out.z2 - out.z1, out.x2 - out.x1);
    EXPECT_NEAR(std::cos(dir), std::cos(c.expected * kDeg), 1e-9) << c.ha << " " << c.hb;
    EXPECT_NEAR(std::sin(dir), std::sin(c.expected * kDeg), 1e-9) << c.ha << " " << c.hb;
  }
  Line a, b, out;
  a.Set(0, 0, 10, 0);
  b.Set(0, 1, 10, 1);
  out.Set(1, 2, 3, 4);
  EXPECT_EQ(out.Bisector(a, b, 0), 0);
  EXPECT_EQ(out.x1, 1);
  EXPECT_EQ(out.z2, 4);
}

TEST(LineTest, MovesKeepInvariants) {
  Line l;
  l.Set(0, 0, 30, 40);
  l.Extend(5, 10);
  EXPECT_NEAR(l.length, 65, 1e-9);
  EXPECT_NEAR(l.x1, -3, 1e-9);
  EXPECT_NEAR(l.z1, -4, 1e-9);
  EXPECT_NEAR(l.x2, 36, 1e-9);
  EXPECT_NEAR(l.z2, 48, 1e-9);
  const double heading = l.heading;
  l.ShiftSideways(5);  // left of the direction: (-dz, dx) / length * 5
  EXPECT_NEAR(l.x1, -7, 1e-9);
  EXPECT_NEAR(l.z1, -1, 1e-9);
  EXPECT_NEAR(l.heading, heading, 1e-12);
  EXPECT_NEAR(l.length, 65, 1e-9);
  EXPECT_EQ(l.SideOf(l.x1 - 4, l.z1 + 3), 1);
  int32_t a, b, c, d;
  l.Set(-1.7, 2.9, 3.2, -0.5);
  l.GetPointsInt(a, b, c, d);
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(d, 0);
  Line t;
  t.ThroughPoint(1, 2, kPi / 2);
  EXPECT_NEAR(t.x2, 1, 1e-9);
  EXPECT_NEAR(t.z2, 1002, 1e-9);
}

TEST(IntLineTest, SetAndZAtX) {
  IntLine l;
  l.Set(0, 10, 10, 15);
  EXPECT_EQ(l.dx, 10);
  EXPECT_EQ(l.dz, 5);
  EXPECT_DOUBLE_EQ(l.m, 0.5);
  EXPECT_EQ(l.b, 10);
  EXPECT_EQ(l.ZAtX(5), 12);  // (5 * 5) / 10 + 10, truncated
  IntLine n;
  n.Set(3, 7, 10, 0);
  EXPECT_EQ(n.b, 10);         // (-3 * -7) / 7 + 7
  EXPECT_EQ(n.ZAtX(4), 6);    // (-7 * 4) / 7 + 10
  IntLine t;
  t.Set(-7, 0, 2, 5);         // b = (7 * 5) / 9 = 3 (toward zero)
  EXPECT_EQ(t.b, 3);
  EXPECT_EQ(t.ZAtX(-5), 1);   // (5 * -5) / 9 = -2 toward zero, + 3
  IntLine v;
  v.Set(4, 0, 4, 9);
  EXPECT_EQ(v.m, kVerticalSlope);
  EXPECT_EQ(v.b, 0);
  EXPECT_EQ(v.ZAtX(4), 0);
  EXPECT_EQ(v.ZAtX(-100), 0);
}

TEST(IntLineTest, NearTable) {
  IntLine h;
  h.Set(0, 0, 100, 0);
  IntLine v;
  v.Set(0, 0, 0, 100);
  IntLine d;
  d.Set(0, 0, 100, 100);
  struct Case {
    const IntLine* line;
    int32_t x, z, tol;
    int expected;
  } cases[] = {
      {&h, 50, 10, 10, 1},   {&h, 50, 11, 10, 0},  {&h, 50, -10, 10, 1},
      {&h, -10, 0, 10, 1},   {&h, -11, 0, 10, 0},  {&h, 110, 5, 10, 1},
      {&v, 10, 50, 10, 1},   {&v, 11, 50, 10, 0},  {&v, 0, 111, 10, 0},
      {&d, 50, 57, 5, 1},    // 7 / sqrt 2 = 4.95 -> 4
      {&d, 50, 58, 5, 1},    // 5.66 -> 5, exactly the tolerance
      {&d, 50, 59, 5, 0},    // 6.36 -> 6
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.line->IsNear(c.x, c.z, c.tol), c.expected) << c.x << "," << c.z;
  }
}

TEST(IntLineTest, ExtremeValuesDoNotOverflow) {
  const int32_t big = std::numeric_limits<int32_t>::max();
  const int32_t small = std::numeric_limits<int32_t>::min();
  IntLine l;
  l.Set(small, small, big, big);
  EXPECT_EQ(l.dx, big);  // clamped
  EXPECT_EQ(l.ZAtX(0), 0);
  EXPECT_EQ(l.ZAtX(big), big);
  EXPECT_EQ(l.IsNear(big, big, big), 1);
  IntLine s;
  s.Set(big, 0, big - 1, big);  // steep: intercept far outside 32 bits
  EXPECT_EQ(s.ZAtX(big), 0);
  EXPECT_EQ(s.ZAtX(big - 1), big);
  EXPECT_GE(s.DistanceToLine(small, small), 0);
}

}  // namespace
}  // namespace ostrand
