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

TEST(GeometryTest, HeadingTable) {
  struct Case {
    double dx, dz, expected;
  } cases[] = {
      {1, 0, 0.0},       {-1, 0, kPi},      {0, 1, kPi / 2},       {0, -1, -kPi / 2},
      {0, 0, kPi / 2},   {-1, -1, 5 * kPi / 4}, {1, 1, kPi / 4},   {1, -1, -kPi / 4},
      {-1, 1, 3 * kPi / 4},
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
      {0, 0, -1, 0, -1, -1, kPi / 2},   // heading pi -> 3pi/2
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
  Line l = Segment(2, 1, 6, 9);
  const double got[] = {l.dx, l.dz, l.m, l.b, l.norm, l.minX, l.maxX, l.minZ, l.maxZ, l.length,
                        l.heading};
  const double want[] = {4, 8, 2, -3, std::sqrt(5.0), 2, 6, 1, 9, std::sqrt(80.0), std::atan(2.0)};
  for (size_t i = 0; i < std::size(got); ++i) EXPECT_DOUBLE_EQ(got[i], want[i]) << i;
  EXPECT_EQ(l.xMajor, 0);
  l.Set(6, 9, 2, 8);
  EXPECT_DOUBLE_EQ(l.minX, 2);
  EXPECT_DOUBLE_EQ(l.maxX, 6);
  EXPECT_EQ(l.xMajor, 1);
  EXPECT_DOUBLE_EQ(l.ZAtX(4), 8.5);
  EXPECT_DOUBLE_EQ(l.XAtZ(8.5), 4);
}

TEST(LineTest, VerticalAndZeroLength) {
  const Line v = Segment(3, 0, 3, 10);
  EXPECT_EQ(v.m, kVerticalSlope);
  EXPECT_EQ(v.b, 0.0);
  EXPECT_EQ(v.ZAtX(3), 0.0);
  EXPECT_EQ(v.ZAtX(100), 0.0);
  EXPECT_DOUBLE_EQ(v.SideValue(5, 4), 2.0);  // x - XAtZ(z)
  EXPECT_EQ(v.SideOf(5, 4), 1);
  EXPECT_EQ(v.SideOf(1, 4), -1);
  EXPECT_EQ(v.SideOf(3, 4), 0);
  EXPECT_DOUBLE_EQ(v.DistanceToLine(-1, 50), 4);

  Line z = Segment(5, 7, 5, 7);
  EXPECT_EQ(z.dx, 0.0);
  EXPECT_EQ(z.dz, 0.0);
  EXPECT_EQ(z.m, kVerticalSlope);
  EXPECT_EQ(z.length, 0.0);
  EXPECT_DOUBLE_EQ(z.heading, kPi / 2);
  z.Extend(3, 4);
  z.ShiftSideways(2);
  const double ends[] = {z.x1, z.z1, z.x2, z.z2};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(ends[i], i % 2 == 0 ? 5 : 7) << i;
}

TEST(LineTest, DistanceToSegmentTable) {
  const Line l = Segment(0, 0, 10, 0);  // x-major
  const Line s = Segment(0, 10, 0, 0);  // z-major, start at the top
  struct Case {
    const Line* line;
    double x, z, expected;
  } cases[] = {
      {&l, 5, 3, 3},    // beside the middle
      {&l, -3, 4, 5},   // before the start
      {&l, 13, 4, 5},   // past the end
      {&l, 10, -2, 2},  // at the end's x
      {&s, 4, 5, 4},    // beside a vertical segment
      {&s, 3, 14, 5},   // above the start (start holds maxZ)
      {&s, -3, -4, 5},  // below the end
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(c.line->DistanceToSegment(c.x, c.z), c.expected) << c.x << "," << c.z;
  }
  EXPECT_EQ(l.IsNear(5, 3, 3), 1);
  EXPECT_EQ(l.IsNear(5, 3, 2.999), 0);
  // Only one axis is tested: beside the steep end of a mostly horizontal
  // segment the distance is measured to the infinite line.
  const Line d = Segment(0, 0, 10, 9);
  EXPECT_NEAR(d.DistanceToSegment(9, 20), d.DistanceToLine(9, 20), 1e-12);
}

TEST(LineTest, IntersectTable) {
  // Base line along heading 0 through the origin; the other line through
  // (5, 0) at the given heading in degrees.
  struct Case {
    double headingDeg, tol;
    int expected;
  } cases[] = {
      {20, 30 * kDeg, 0},  {178, 30 * kDeg, 0}, {60, 30 * kDeg, 1}, {170, 30 * kDeg, 1},
      {90, 30 * kDeg, 1},  {20, 0.0, 1},        {178, 0.0, 1},     {-60, 30 * kDeg, 1},
      {150, 30 * kDeg, 1},
      {176, 5 * kDeg, 0},  // within 5 degrees of opposite the difference is folded near 0 ...
      {174, 5 * kDeg, 1},  // ... but 6 degrees short of opposite it is not
  };
  const Line a = Segment(-100, 0, 100, 0);
  for (const auto& c : cases) {
    double x = -1, z = -1;
    EXPECT_EQ(a.Intersect(Through(5, 0, c.headingDeg), x, z, c.tol), c.expected) << c.headingDeg;
    if (c.expected) {
      EXPECT_NEAR(x, 5, 1e-9);
      EXPECT_NEAR(z, 0, 1e-9);
    }
  }
  // Headings run from -90 to 270 degrees: -89 and 268 differ by 357
  // degrees, which folds to -3 (nearly parallel).
  double x = 0, z = 0;
  EXPECT_EQ(Through(0, 0, -89).Intersect(Through(0, 0, 268), x, z, 30 * kDeg), 0);
  EXPECT_EQ(Through(0, 0, -89).Intersect(Through(0, 0, 268), x, z, 2 * kDeg), 1);
}

TEST(LineTest, IntersectSpecialSlopes) {
  const Line v1 = Segment(3, 0, 3, 10), v2 = Segment(7, 0, 7, 10), h = Segment(0, 4, 10, 4),
             d = Segment(0, 0, 10, 10), d2 = Segment(0, 1, 10, 11);
  struct Case {
    const Line *a, *b;
    int expected;
    double x, z;  // unchanged when there is no crossing
  } cases[] = {{&v1, &v2, 0, 99, 99},  // both vertical
               {&v1, &h, 1, 3, 4},     {&d, &v2, 1, 7, 7}, {&d, &h, 1, 4, 4},
               {&d, &d2, 0, 99, 99}};  // parallel
  for (const auto& c : cases) {
    double x = 99, z = 99;
    EXPECT_EQ(c.a->Intersect(*c.b, x, z, 0), c.expected) << c.x << "," << c.z;
    EXPECT_DOUBLE_EQ(x, c.x);
    EXPECT_DOUBLE_EQ(z, c.z);
  }
}

TEST(LineTest, BisectorTable) {
  struct Case {
    double ha, hb, expected;
  } cases[] = {
      {0, 90, 45},      // plain mean
      {10, 350, 0},     // the second heading is -10
      {-80, 200, 240},  // diff 280 > 180: mean 60 + 180
      {-60, 60, 0},     {100, 200, 150},
  };
  for (const auto& c : cases) {
    Line out;
    ASSERT_EQ(out.Bisector(Through(0, 0, c.ha), Through(0, 0, c.hb), 5 * kDeg), 1) << c.ha;
    EXPECT_NEAR(out.x1, 0, 1e-9);
    EXPECT_NEAR(out.z1, 0, 1e-9);
    const double dir = std::atan2(out.z2 - out.z1, out.x2 - out.x1);
    EXPECT_NEAR(std::cos(dir), std::cos(c.expected * kDeg), 1e-9) << c.ha << " " << c.hb;
    EXPECT_NEAR(std::sin(dir), std::sin(c.expected * kDeg), 1e-9) << c.ha << " " << c.hb;
  }
  Line out = Segment(1, 2, 3, 4);
  EXPECT_EQ(out.Bisector(Segment(0, 0, 10, 0), Segment(0, 1, 10, 1), 0), 0);
  EXPECT_EQ(out.x1, 1);
  EXPECT_EQ(out.z2, 4);
}

TEST(LineTest, MovesKeepInvariants) {
  Line l = Segment(0, 0, 30, 40);
  l.Extend(5, 10);
  EXPECT_NEAR(l.length, 65, 1e-9);
  const double extended[] = {l.x1, l.z1, l.x2, l.z2}, wantExtended[] = {-3, -4, 36, 48};
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(extended[i], wantExtended[i], 1e-9) << i;
  const double heading = l.heading;
  l.ShiftSideways(5);  // left of the direction: (-dz, dx) / length * 5
  EXPECT_NEAR(l.x1, -7, 1e-9);
  EXPECT_NEAR(l.z1, -1, 1e-9);
  EXPECT_NEAR(l.heading, heading, 1e-12);
  EXPECT_NEAR(l.length, 65, 1e-9);
  EXPECT_EQ(l.SideOf(l.x1 - 4, l.z1 + 3), 1);
  int32_t p[4];
  Segment(-1.7, 2.9, 3.2, -0.5).GetPointsInt(p[0], p[1], p[2], p[3]);
  EXPECT_EQ(std::vector<int32_t>(p, p + 4), (std::vector<int32_t>{-1, 2, 3, 0}));
  const Line t = Through(1, 2, 90);
  EXPECT_NEAR(t.x2, 1, 1e-9);
  EXPECT_NEAR(t.z2, 1002, 1e-9);
}

TEST(IntLineTest, InterceptAndZAtXTruncateTowardZero) {
  struct Case {
    int32_t x1, z1, x2, z2, b, x, z;
  } cases[] = {
      {0, 10, 10, 15, 10, 5, 12},  // (5 * 5) / 10 + 10
      {3, 7, 10, 0, 10, 4, 6},     // b = (-3 * -7) / 7 + 7; (-7 * 4) / 7 + 10
      {-7, 0, 2, 5, 3, -5, 1},     // b = (7 * 5) / 9 = 3; (5 * -5) / 9 = -2, + 3
      {4, 0, 4, 9, 0, 4, 0},       // vertical
      {4, 0, 4, 9, 0, -100, 0},
  };
  for (const auto& c : cases) {
    const IntLine l = IntSegment(c.x1, c.z1, c.x2, c.z2);
    EXPECT_EQ(l.b, c.b) << c.x1 << "," << c.z1;
    EXPECT_EQ(l.ZAtX(c.x), c.z) << c.x1 << "," << c.z1;
  }
  const IntLine l = IntSegment(0, 10, 10, 15);
  EXPECT_EQ(l.dx, 10);
  EXPECT_EQ(l.dz, 5);
  EXPECT_DOUBLE_EQ(l.m, 0.5);
  EXPECT_EQ(IntSegment(4, 0, 4, 9).m, kVerticalSlope);
}

TEST(IntLineTest, NearTable) {
  const IntLine h = IntSegment(0, 0, 100, 0), v = IntSegment(0, 0, 0, 100),
                d = IntSegment(0, 0, 100, 100);
  struct Case {
    const IntLine* line;
    int32_t x, z, tol;
    int expected;
  } cases[] = {
      {&h, 50, 10, 10, 1}, {&h, 50, 11, 10, 0}, {&h, 50, -10, 10, 1}, {&h, -10, 0, 10, 1},
      {&h, -11, 0, 10, 0}, {&h, 110, 5, 10, 1}, {&v, 10, 50, 10, 1},  {&v, 11, 50, 10, 0},
      {&v, 0, 111, 10, 0},
      {&d, 50, 57, 5, 1},  // 7 / sqrt 2 = 4.95 -> 4
      {&d, 50, 58, 5, 1},  // 5.66 -> 5, exactly the tolerance
      {&d, 50, 59, 5, 0},  // 6.36 -> 6
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.line->IsNear(c.x, c.z, c.tol), c.expected) << c.x << "," << c.z;
  }
}

TEST(IntLineTest, ExtremeValuesDoNotOverflow) {
  const int32_t big = std::numeric_limits<int32_t>::max();
  const int32_t small = std::numeric_limits<int32_t>::min();
  const IntLine l = IntSegment(small, small, big, big);
  EXPECT_EQ(l.dx, big);  // clamped
  EXPECT_EQ(l.ZAtX(0), 0);
  EXPECT_EQ(l.ZAtX(big), big);
  EXPECT_EQ(l.IsNear(big, big, big), 1);
  const IntLine s = IntSegment(big, 0, big - 1, big);  // steep: intercept far outside 32 bits
  EXPECT_EQ(s.ZAtX(big), 0);
  EXPECT_EQ(s.ZAtX(big - 1), big);
  EXPECT_GE(s.DistanceToLine(small, small), 0);
}

}  // namespace
}  // namespace ostrand
