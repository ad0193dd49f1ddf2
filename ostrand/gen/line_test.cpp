#include "ostrand/gen/line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

Line Segment(const double (&c)[4]) {
  Line l;
  l.Set(c[0], c[1], c[2], c[3]);
  return l;
}
Line Through(double x, double z, double headingDeg) {
  Line l;
  l.ThroughPoint(x, z, headingDeg * kDeg);
  return l;
}

// Numbers as the expected text holds them, separated by blanks.
std::string Text(std::initializer_list<double> values) {
  std::string text;
  for (double v : values) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %.10g", v);
    text += buffer;
  }
  return text + "\n";
}

// The results of the plane geometry for small tables of inputs, against
// the expected text.
TEST(LineTest, ResultsMatchExpected) {
  std::string out;
  // Heading of (x1, z1) -> (x2, z2), and the turn from there to (x3, z3).
  const double turns[][6] = {{0, 0, 1, 0, 2, 0},    {0, 0, 1, 0, 1, 1},    {0, 0, 1, 0, 1, -1},
                             {0, 0, 1, 0, 0, 0},    {0, 0, -1, 0, 0, 0},   {0, 0, 0, -1, -1, -1},
                             {0, 0, -1, 0, -1, -1}, {0, 0, -1, -1, 0, -2}, {0, 0, 0, 1, 0, 1},
                             {0, 0, 0, 0, 1, 1},    {0, 0, 1, -1, 1, -2}};
  for (const auto& t : turns) {
    out += "turn" +
           Text({Heading(t[0], t[1], t[2], t[3]), TurnAngle(t[0], t[1], t[2], t[3], t[4], t[5])});
  }
  for (double v : {2.5, 2.4999, 0.0, -2.5, -2.9, -0.4, 1e30, -1e30, std::nan("")}) {
    out += "round" + Text({v, static_cast<double>(RoundHalfUp(v))});
  }
  // Segments: the derived fields, the results at points, and the ends
  // after extending by 3 and 4 and shifting sideways by 2.
  const double segments[][4] = {{2, 1, 6, 9},  {6, 9, 2, 8},  {3, 0, 3, 10}, {5, 7, 5, 7},
                                {0, 0, 10, 0}, {0, 10, 0, 0}, {0, 0, 10, 9}, {0, 0, 30, 40}};
  const double points[][2] = {{5, 3},  {-3, 4},  {13, 4}, {10, -2}, {4, 5},
                              {3, 14}, {-3, -4}, {9, 20}, {1, 4},   {3, 4}};
  for (const auto& s : segments) {
    Line l = Segment(s);
    out += "segment" + Text({s[0], s[1], s[2], s[3]}) + " fields" +
           Text({l.dx, l.dz, l.m, l.b, l.norm, l.minX, l.maxX, l.minZ, l.maxZ, l.length, l.heading,
                 static_cast<double>(l.xMajor)});
    for (const auto& p : points) {
      out += " at" +
             Text({p[0], p[1], l.ZAtX(p[0]), l.XAtZ(p[1]), l.SideValue(p[0], p[1]),
                   static_cast<double>(l.SideOf(p[0], p[1])), l.DistanceToLine(p[0], p[1]),
                   l.DistanceToSegment(p[0], p[1]), static_cast<double>(l.IsNear(p[0], p[1], 3))});
    }
    l.Extend(3, 4);
    l.ShiftSideways(2);
    out += " moved" + Text({l.x1, l.z1, l.x2, l.z2, l.length, l.heading});
  }
  // A line through the origin and one through (5, 0), by their headings,
  // crossed with an angle tolerance (degrees; headings run from -90 to 270,
  // a difference near a full or half turn is folded); then pairs of
  // segments; then lines through the origin and (0, 1) and their bisector.
  const double crossings[][3] = {{0, 20, 30},  {0, 178, 30}, {0, 60, 30}, {0, 170, 30},
                                 {0, 90, 30},  {0, 20, 0},   {0, 178, 0}, {0, -60, 30},
                                 {0, 150, 30}, {0, 176, 5},  {0, 174, 5}, {-89, 268, 30},
                                 {-89, 268, 2}};
  for (const auto& c : crossings) {
    double x = 99, z = 99;
    const int crossed = Through(0, 0, c[0]).Intersect(Through(5, 0, c[1]), x, z, c[2] * kDeg);
    out += "cross" + Text({c[0], c[1], c[2], static_cast<double>(crossed), x, z});
  }
  const double pairs[][8] = {{3, 0, 3, 10, 7, 0, 7, 10},
                             {3, 0, 3, 10, 0, 4, 10, 4},
                             {0, 0, 10, 10, 7, 0, 7, 10},
                             {0, 0, 10, 10, 0, 4, 10, 4},
                             {0, 0, 10, 10, 0, 1, 10, 11}};
  for (const auto& p : pairs) {
    double x = 99, z = 99;
    const int crossed =
        Segment({p[0], p[1], p[2], p[3]}).Intersect(Segment({p[4], p[5], p[6], p[7]}), x, z, 0);
    out += "pair" + Text({static_cast<double>(crossed), x, z});
  }
  const double bisected[][2] = {{0, 90}, {10, 350}, {-80, 200}, {-60, 60}, {100, 200}, {0, 180}};
  for (const auto& b : bisected) {
    Line l = Segment({1, 2, 3, 4});
    const int made = l.Bisector(Through(0, 0, b[0]), Through(0, 1, b[1]), 5 * kDeg);
    out += "bisector" + Text({b[0], b[1], static_cast<double>(made), l.x1, l.z1, l.x2, l.z2});
  }
  // Integer lines: the intercept, z at x and the distance (truncated
  // toward zero), and nearness within 10 and 5 units.
  const int32_t big = std::numeric_limits<int32_t>::max(),
                small = std::numeric_limits<int32_t>::min();
  const int32_t intLines[][4] = {
      {0, 10, 10, 15},       {3, 7, 10, 0},  {-7, 0, 2, 5},    {4, 0, 4, 9},
      {0, 0, 100, 0},        {0, 0, 0, 100}, {0, 0, 100, 100}, {small, small, big, big},
      {big, 0, big - 1, big}};
  const int32_t intPoints[][2] = {{5, 12},  {4, 6},     {-5, 1},          {-100, 0},
                                  {50, 10}, {50, 11},   {-11, 0},         {110, 5},
                                  {0, 111}, {50, 57},   {50, 58},         {50, 59},
                                  {0, 0},   {big, big}, {big - 1, small}, {small, small}};
  for (const auto& s : intLines) {
    IntLine l;
    l.Set(s[0], s[1], s[2], s[3]);
    out += "int line" + Text({1.0 * s[0], 1.0 * s[1], 1.0 * s[2], 1.0 * s[3], 1.0 * l.dx,
                              1.0 * l.dz, l.m, 1.0 * l.b});
    for (const auto& p : intPoints) {
      out += " at" +
             Text({1.0 * p[0], 1.0 * p[1], 1.0 * l.ZAtX(p[0]), 1.0 * l.DistanceToLine(p[0], p[1]),
                   1.0 * l.IsNear(p[0], p[1], 10), 1.0 * l.IsNear(p[0], p[1], 5)});
    }
  }
  testing::ExpectMatchesFile(out, "line.txt");
}

}  // namespace
}  // namespace ostrand
