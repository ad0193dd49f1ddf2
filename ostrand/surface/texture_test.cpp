#include "ostrand/surface/texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

struct XZ {
  int32_t x, z;
};

// A polygon whose vertex i is point i of its own table (the layout that the
// triangulation expects), all corners at height y, normal straight up.
struct Loaded {
  TEXPOINTS table;
  TEXTURE polygon;
  Loaded(const std::vector<XZ>& corners, int32_t y) {
    table.SetSize(static_cast<int32_t>(corners.size()) + 4);
    polygon.header.normal[1] = 32767, polygon.vertexCount() = static_cast<int32_t>(corners.size());
    for (size_t i = 0; i < corners.size(); ++i) polygon.vertices[i].point = table.Add(corners[i].x, y, corners[i].z, -1);
  }
};

std::vector<Triangle> AllTriangles(TEXTURE& polygon, const TEXPOINTS& table, int allowFan) {
  std::vector<Triangle> out;
  for (const Triangle* t; out.size() < 10000 && (t = polygon.Triangulate(table, static_cast<int32_t>(out.size()), allowFan));)
    out.push_back(*t);
  return out;
}

// Twice the signed area in the x-z plane.
double Area2(const XZ& a, const XZ& b, const XZ& c) {
  return (static_cast<double>(b.x) - a.x) * (static_cast<double>(c.z) - a.z) -
         (static_cast<double>(b.z) - a.z) * (static_cast<double>(c.x) - a.x);
}

double PolygonArea2(const std::vector<XZ>& p) {
  double sum = 0.0;
  for (size_t i = 0; i < p.size(); ++i) sum += Area2({0, 0}, p[i], p[(i + 1) % p.size()]);
  return sum;
}

// Sum of the triangles' doubled areas; every corner must lie in the polygon
// (else out_of_range) and every triangle turn counter-clockwise (or be flat
// when `allowFlat`).
double CoveredArea2(const std::vector<Triangle>& triangles, const std::vector<XZ>& c, bool allowFlat = false) {
  double sum = 0.0;
  for (const Triangle& t : triangles) {
    double a = Area2(c.at(static_cast<size_t>(t.v[0])), c.at(static_cast<size_t>(t.v[1])), c.at(static_cast<size_t>(t.v[2])));
    EXPECT_TRUE(a > 0.0 || (allowFlat && a == 0.0)) << a;
    sum += a;
  }
  return sum;
}

const std::vector<XZ> kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
const std::vector<XZ> kL{{0, 0}, {40, 0}, {40, 10}, {10, 10}, {10, 30}, {0, 30}};

// Concave counter-clockwise shapes: the winding test reads them as
// negative, reversed as positive, and the ear clipping covers every one of
// more than four corners exactly, whichever corner comes first. The winding
// test counts corners, not angles: a star has as many reflex as convex
// corners and reads as positive either way.
TEST(TriangulateTest, ConcaveShapesAreOrientedAndCoveredExactly) {
  const struct { const char* name; std::vector<XZ> corners; int orientation; } shapes[] = {
      {"L", kL, 1},
      {"U", {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}}, 1},
      {"star",
       {{1000, 0}, {324, 235}, {309, 951}, {-124, 380}, {-809, 588}, {-400, 0}, {-809, -588}, {-124, -380}, {309, -951},
        {324, -235}},
       0},
      {"arrow", {{0, 0}, {50, 20}, {100, 0}, {50, 100}}, 1},  // 4 corners: fanned, not clipped
      {"chevron", {{0, 0}, {50, 30}, {100, 0}, {100, 40}, {50, 70}, {0, 40}}, 1}};
  for (const auto& [name, corners, orientation] : shapes) {
    Loaded o(corners, 0);
    EXPECT_EQ(o.polygon.Orientation(o.table, 0), orientation) << name;
    o.polygon.Reverse();
    EXPECT_EQ(o.polygon.Orientation(o.table, 0), 0) << name;
    for (size_t start = 0; corners.size() > 4 && start < corners.size(); ++start) {
      SCOPED_TRACE(std::string(name) + " from " + std::to_string(start));
      std::vector<XZ> rotated(corners.begin() + static_cast<long>(start), corners.end());
      rotated.insert(rotated.end(), corners.begin(), corners.begin() + static_cast<long>(start));
      Loaded s(rotated, 0);
      ASSERT_EQ(s.polygon.IsConvexFlat(s.table), 0);
      std::vector<Triangle> triangles = AllTriangles(s.polygon, s.table, 0);
      ASSERT_EQ(triangles.size(), rotated.size() - 2);
      EXPECT_DOUBLE_EQ(CoveredArea2(triangles, rotated), PolygonArea2(rotated));
      EXPECT_FALSE(s.polygon.hasTriangles);  // freed by the read past the end
    }
  }
}

// Polygons of up to four corners, and flat convex ones, are fanned from
// vertex 0; a polygon the ear clipping cannot cut is fanned only when the
// caller allows it. A raised convex polygon is clipped: the first candidate
// is the corner at vertex 0 (the cursor starts at the last vertex); when it
// runs clockwise seen from above, the first attempt finds no ear and the
// second walks the vertices from the last to the first, so the triangles
// turn against the polygon's winding.
TEST(TriangulateTest, FanOrEarsOfSmallAndConvexPolygons) {
  const std::vector<XZ> line{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}};
  const std::vector<XZ> pentagon{{0, 0}, {10, 0}, {15, 8}, {5, 15}, {-5, 8}};
  // Name, corners, their height, convex and flat, fan allowed, triangles (vertex positions).
  const struct { const char* name; std::vector<XZ> corners; int32_t y; int convexFlat, allowFan;
    const char* triangles; } rows[] = {
      {"triangle", {{0, 0}, {10, 0}, {0, 10}}, 0, 1, 0, "012 "}, {"raised quad", kSquare, 7, 0, 0, "012 023 "},
      {"clockwise triangle", {{0, 0}, {0, 10}, {10, 0}}, 0, 1, 0, "012 "},
      {"concave quad", {{0, 0}, {50, 20}, {100, 0}, {50, 100}}, 0, 0, 0, "012 023 "},
      {"flat convex pentagon", pentagon, 0, 1, 0, "012 023 034 "}, {"two corners", {{0, 0}, {10, 0}}, 0, 0, 1, ""},
      {"collinear corner counts as convex", {{0, 0}, {10, 0}, {20, 0}, {20, 10}, {0, 10}}, 0, 1, 0, "012 023 034 "},
      {"raised pentagon", pentagon, 5, 0, 0, "401 123 341 "},
      {"raised clockwise pentagon", {pentagon.rbegin(), pentagon.rend()}, 5, 0, 0, "043 321 103 "},
      {"straight line", line, 0, 0, 0, ""}, {"straight line, fan allowed", line, 0, 0, 1, "012 023 034 "}};
  for (const auto& r : rows) {
    Loaded s(r.corners, r.y);
    EXPECT_EQ(s.polygon.IsConvexFlat(s.table), r.convexFlat) << r.name;
    std::string triangles;
    for (const Triangle& t : AllTriangles(s.polygon, s.table, r.allowFan))
      triangles += std::to_string(t.v[0]) + std::to_string(t.v[1]) + std::to_string(t.v[2]) + " ";
    EXPECT_EQ(triangles, r.triangles) << r.name;
  }
}

// Ear clipping addresses the table by vertex position: six corners over a
// table of three (raised, so as not to count as flat and convex) have only
// the fan. Point indices outside the table give no winding and no
// convexity.
TEST(TriangulateTest, IndicesAndCornersOutsideTheirRange) {
  TEXPOINTS table(3);
  TEXTURE polygon;
  polygon.header.normal[1] = 32767, polygon.vertexCount() = 6;
  for (int32_t i = 0; i < 3; ++i) table.Add(kL[static_cast<size_t>(i)].x, 1, kL[static_cast<size_t>(i)].z, -1);
  for (int32_t i = 0; i < 6; ++i) polygon.vertices[static_cast<size_t>(i)].point = i % 3;
  EXPECT_EQ(polygon.Triangulate(table, -1, 1), nullptr);
  EXPECT_EQ(polygon.Triangulate(table, 0, 0), nullptr);
  EXPECT_EQ(AllTriangles(polygon, table, 1).size(), 4u);
  for (int32_t i = 0; i < 6; ++i) polygon.vertices[static_cast<size_t>(i)].point = 1000 + i;
  EXPECT_EQ(polygon.IsConvexFlat(table), 0);
  EXPECT_EQ(polygon.Orientation(table, 0), 0);
}

TEST(TextureTest, ChooseAxisPrefersXThenY) {
  const int32_t rows[][4] = {{0, 0, 0, 0},  {1, 1, 1, 0},     {0, 1, 1, 1},  {0, 0, 1, 2},         {-5, 3, 0, 0},
                             {0, -5, 5, 1}, {0, 32767, 0, 1}, {3, 2, -4, 2}, {INT32_MIN, 0, 0, 0}};
  for (const auto& r : rows) {
    TEXTURE t;
    std::copy(r, r + 3, t.header.normal);
    EXPECT_EQ(t.ChooseAxis(), r[3]) << r[0] << " " << r[1] << " " << r[2];
  }
}

// The square is counter-clockwise seen from above; a downward normal walks
// it backwards; exactly (0, 32766, 0) returns the fallback untested; fewer
// than three corners have no winding. Rows: normal y, reversed, table base,
// corners, fallback, result.
TEST(TextureTest, OrientationOfTheSquare) {
  const struct { int32_t normalY; bool reversed; int32_t base, count; int fallback, expected; } rows[] = {
      {32767, false, 0, 4, 7, 1},  {32767, true, 0, 4, 7, 0},   {-32767, false, 0, 4, 7, 0}, {-32767, true, 0, 4, 7, 1},
      {32766, false, 0, 4, 7, 7},  {32766, false, 0, 4, 0, 0},  {32767, false, 100, 4, 0, 1}, {32767, false, 0, 3, 7, 1},
      {32767, false, 0, 2, 7, 0}};
  for (const auto& r : rows) {
    Loaded s(kSquare, 0);
    s.polygon.header.normal[1] = r.normalY, s.table.base = r.base;
    if (r.reversed) s.polygon.Reverse();
    for (TexVertex& v : s.polygon.vertices) v.point += r.base;
    s.polygon.vertexCount() = r.count;
    EXPECT_EQ(s.polygon.Orientation(s.table, r.fallback), r.expected) << &r - rows;
  }
  // Clockwise: four corners turn one way, the five straight ones not at all.
  Loaded bar({{0, 0}, {0, 10}, {10, 10}, {20, 10}, {30, 10}, {40, 10}, {50, 10}, {60, 10}, {60, 0}}, 0);
  EXPECT_EQ(bar.polygon.Orientation(bar.table, 0), 0);
  bar.polygon.header.normal[1] = -32767;  // seen from below it runs the other way
  EXPECT_EQ(bar.polygon.Orientation(bar.table, 0), 1);
}

// Polygons from a fixed seed, walked under each axis and sign of the normal:
// the turns between their steps are nearly straight, nearly right-about,
// right or any (an axis-0 normal sees every polygon as a line), the steps
// are zero, short, long or cut at the int32 limits, and a few corners lie
// outside the table. The cross products must answer as the walk does.
TEST(TextureTest, OrientationAgreesWithTheWalk) {
  std::mt19937 random(20261207);
  auto below = [&](uint32_t n) { return static_cast<int32_t>(random() % n); };
  auto coordinate = [](double c) { return static_cast<int32_t>(std::llround(std::clamp(c, -2147483648.0, 2147483647.0))); };
  for (int round = 0; round < 40000; ++round) {
    const int32_t n = 3 + below(6);
    const double scale[] = {3.0, 1e4, 1e8, 1.5e9};
    const double length = scale[round % 4];
    TEXPOINTS table(n);
    TEXTURE polygon;
    polygon.vertexCount() = n, polygon.header.normal[below(3)] = below(2) != 0 ? 32767 : -32767;
    double x = below(2000) - 1000.0, z = below(2000) - 1000.0, heading = below(36000) / 100.0;
    for (int32_t k = 0; k < n; ++k) {
      polygon.vertices[static_cast<size_t>(k)].point = table.Add(coordinate(x), coordinate(z), coordinate(z), -1);
      const double turns[] = {below(400) / 100.0, 180.0 - below(400) / 100.0, 90.0, below(36000) / 100.0};
      heading += (below(2) != 0 ? 1 : -1) * turns[below(4)];
      const double step = below(8) == 0 ? 0.0 : length * (1 + below(1000)) / 1000.0;
      x += step * std::cos(heading * std::numbers::pi / 180.0), z += step * std::sin(heading * std::numbers::pi / 180.0);
    }
    if (round % 64 == 0) polygon.vertices[static_cast<size_t>(below(static_cast<uint32_t>(n)))].point = n;
    ASSERT_EQ(polygon.Orientation(table, 0), polygon.WalkedOrientation(table, 0)) << "round " << round;
  }
}

// CopyFrom takes the descriptive block and the records in use, also into a
// released polygon; a list yields copies, the last added first.
TEST(TextureTest, CopyAndList) {
  TEXTURE t, copy;
  t.vertexCount() = 4, t.header.attribute = 356;
  for (int32_t i = 0; i < 5; ++i) t.vertices[static_cast<size_t>(i)] = TexVertex{i, {i, i + 1, i + 2, i + 3}};
  copy.Release();
  EXPECT_EQ(copy.vertexCount(), 0);
  copy.CopyFrom(t);
  EXPECT_EQ(std::pair(copy.vertexCount(), copy.vertices[3].extra[2]), std::pair(4, 5));

  TextureList list;
  TEXTURE plain;  // no extra fields, and the block `copy` has below
  plain.vertexCount() = 3, plain.header.attribute = 9, plain.vertices[2].point = 7;
  copy.header.attribute = 9, copy.header.flag = 1, copy.vertices[0].point = 8, t.vertexCount() = 3;
  EXPECT_EQ(list.Add(plain) + list.Add(copy) + list.Add(t), 3);
  std::string seen;  // vertex count, attribute, flag, first and last corner, the last one's fourth extra field
  for (TEXTURE* p = list.First(); p != nullptr && seen.size() < 60; p = list.Next()) {
    const TexVertex& last = p->vertices[static_cast<size_t>(p->vertexCount() - 1)];
    seen += std::to_string(p->vertexCount()) + ":" + std::to_string(p->header.attribute) + ":" +
            std::to_string(p->header.flag) + ":" +
            std::to_string(p->vertices[0].point) + std::to_string(last.point) + ":" + std::to_string(last.extra[3]) + " ";
  }
  EXPECT_EQ(seen, "3:356:0:02:5 4:9:1:83:6 3:9:0:07:0 ");
  EXPECT_EQ(list.Count(), 3);
  list.Clear();
  EXPECT_TRUE(list.Count() == 0 && list.First() == nullptr);
}

// Real outlines: every closed ring of the public airport layouts (the
// pavements, their holes, closed lines; curve nodes taken as plain
// corners), in 1/256 ft around the ring's first corner.
std::vector<std::vector<XZ>> Rings(const std::string& path) {
  std::vector<std::vector<XZ>> rings(1);
  std::ifstream in(path);
  double lat0 = 0.0, lon0 = 0.0, lat = 0.0, lon = 0.0;
  for (std::string line; std::getline(in, line);) {
    int code = 0;
    if (std::sscanf(line.c_str(), "%d %lf %lf", &code, &lat, &lon) < 3 || code < 111 || code > 116) {
      rings.back().clear();  // rows 111 to 116 are nodes, 113 and 114 close a ring
      continue;
    }
    std::vector<XZ>& ring = rings.back();
    if (ring.empty()) lat0 = lat, lon0 = lon;
    const XZ p{static_cast<int32_t>((lon - lon0) * 364000.0 * std::cos(lat0 * std::numbers::pi / 180) * 256),
               static_cast<int32_t>((lat - lat0) * 364000.0 * 256)};
    if (ring.empty() || ring.back().x != p.x || ring.back().z != p.z) ring.push_back(p);
    if (code == 113 || code == 114) {
      if (ring.size() > 1 && ring.front().x == p.x && ring.front().z == p.z) ring.pop_back();
      rings.emplace_back();
    }
  }
  return rings;
}

// Counter-clockwise rings of 5 to 256 corners are ear-clipped, and every
// triangulation covers its ring exactly. The rings left uncut cross
// themselves, touch themselves (a corner repeated) or have a straight
// corner, which puts a corner on the border of their would-be ears.
TEST(TriangulateTest, RealPavementOutlinesAreCoveredExactly) {
  const std::string dir = ostrand::testing::RealDataDir();
  if (dir.empty()) GTEST_SKIP() << "no real airport data";
  int tried = 0, clipped = 0;
  for (const char* file : {"EDDH.apt.dat", "EDFX.apt.dat", "LSZH_region.apt.dat"}) {
    for (const std::vector<XZ>& ring : Rings(dir + "/aptdat/" + file)) {
      if (ring.size() < 5 || ring.size() > 256 || PolygonArea2(ring) <= 0.0) continue;
      ++tried;
      Loaded s(ring, 0);
      std::vector<Triangle> triangles = AllTriangles(s.polygon, s.table, 0);
      if (triangles.empty()) continue;
      ++clipped;
      EXPECT_NEAR(CoveredArea2(triangles, ring, true), PolygonArea2(ring), 1e-9 * PolygonArea2(ring))
          << file << " " << ring.size();
    }
  }
  EXPECT_EQ(tried, 297);
  EXPECT_EQ(clipped, 273);
}

}  // namespace
}  // namespace ostrand
