#include "ostrand/gen/line.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

Line Segment(const std::array<double, 4>& c) {
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
  std::ostringstream text;
  text.precision(10);
  for (double v : values) text << " " << v;
  return text.str() + "\n";
}

// The inputs of testdata/line_inputs.txt by kind, each row its numbers.
std::map<std::string, std::vector<std::vector<double>>> Inputs() {
  std::map<std::string, std::vector<std::vector<double>>> inputs;
  for (const auto& row : testing::ReadTable(testing::TestData("ostrand/gen", "line_inputs.txt"))) {
    std::istringstream in(row.at(1));
    std::vector<double>& values = inputs[row[0]].emplace_back();
    for (std::string v; in >> v;) values.push_back(std::stod(v));
  }
  return inputs;
}

// The results of the plane geometry for small tables of inputs, against
// the expected text.
TEST(LineTest, ResultsMatchExpected) {
  auto in = Inputs();
  std::string out;
  for (const auto& t : in["turn"]) {
    out += "turn" +
           Text({Heading(t[0], t[1], t[2], t[3]), TurnAngle(t[0], t[1], t[2], t[3], t[4], t[5])});
  }
  for (double v : in["round"].at(0)) out += "round" + Text({v, static_cast<double>(RoundHalfUp(v))});
  // Segments: the derived fields, the results at points, and the ends
  // after extending by 3 and 4 and shifting sideways by 2.
  for (const auto& s : in["segment"]) {
    Line l = Segment({s[0], s[1], s[2], s[3]});
    out += "segment" + Text({s[0], s[1], s[2], s[3]}) + " fields" +
           Text({l.dx, l.dz, l.m, l.b, l.norm, l.minX, l.maxX, l.minZ, l.maxZ, l.length, l.heading,
                 static_cast<double>(l.xMajor)});
    for (const auto& p : in["point"]) {
      out += " at" +
             Text({p[0], p[1], l.ZAtX(p[0]), l.XAtZ(p[1]), l.SideValue(p[0], p[1]),
                   static_cast<double>(l.SideOf(p[0], p[1])), l.DistanceToLine(p[0], p[1]),
                   l.DistanceToSegment(p[0], p[1]), static_cast<double>(l.IsNear(p[0], p[1], 3))});
    }
    l.Extend(3, 4);
    l.ShiftSideways(2);
    out += " moved" + Text({l.x1, l.z1, l.x2, l.z2, l.length, l.heading});
  }
  // Crossings with an angle tolerance (headings run from -90 to 270, a
  // difference near a full or half turn is folded); then pairs of segments;
  // then bisectors.
  for (const auto& c : in["cross"]) {
    double x = 99, z = 99;
    const int crossed = Through(0, 0, c[0]).Intersect(Through(5, 0, c[1]), x, z, c[2] * kDeg);
    out += "cross" + Text({c[0], c[1], c[2], static_cast<double>(crossed), x, z});
  }
  for (const auto& p : in["pair"]) {
    double x = 99, z = 99;
    const int crossed =
        Segment({p[0], p[1], p[2], p[3]}).Intersect(Segment({p[4], p[5], p[6], p[7]}), x, z, 0);
    out += "pair" + Text({static_cast<double>(crossed), x, z});
  }
  for (const auto& b : in["bisector"]) {
    Line l = Segment({1, 2, 3, 4});
    const int made = l.Bisector(Through(0, 0, b[0]), Through(0, 1, b[1]), 5 * kDeg);
    out += "bisector" + Text({b[0], b[1], static_cast<double>(made), l.x1, l.z1, l.x2, l.z2});
  }
  // Integer lines: the intercept, z at x and the distance (truncated
  // toward zero), and nearness within 10 and 5 units.
  const auto i32 = [](double v) { return static_cast<int32_t>(v); };
  for (const auto& s : in["int line"]) {
    IntLine l;
    l.Set(i32(s[0]), i32(s[1]), i32(s[2]), i32(s[3]));
    out += "int line" + Text({s[0], s[1], s[2], s[3], 1.0 * l.dx, 1.0 * l.dz, l.m, 1.0 * l.b});
    for (const auto& p : in["int point"]) {
      const int32_t x = i32(p[0]), z = i32(p[1]);
      out += " at" + Text({p[0], p[1], 1.0 * l.ZAtX(x), 1.0 * l.DistanceToLine(x, z),
                           1.0 * l.IsNear(x, z, 10), 1.0 * l.IsNear(x, z, 5)});
    }
  }
  testing::ExpectMatchesFile(out, "line.txt");
}

}  // namespace
}  // namespace ostrand
