#include "ostrand/surface/texture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

struct XZ {
  int32_t x;
  int32_t z;
};

// Loads a polygon whose vertex i is point i of the table (the layout that
// the triangulation expects), all corners at height y, normal straight up.
void Load(const std::vector<XZ>& corners, int32_t y, TEXPOINTS& table, TEXTURE& polygon) {
  table.SetSize(static_cast<int32_t>(corners.size()) + 4);
  polygon.header.normal[0] = 0;
  polygon.header.normal[1] = 32767;
  polygon.header.normal[2] = 0;
  polygon.vertexCount() = static_cast<int32_t>(corners.size());
  for (size_t i = 0; i < corners.size(); ++i) {
    polygon.vertices[i].point = table.Add(corners[i].x, y, corners[i].z, -1);
  }
}

// A polygon loaded as above, with its own point table.
struct Loaded {
  TEXPOINTS table;
  TEXTURE polygon;
  Loaded(const std::vector<XZ>& corners, int32_t y) { Load(corners, y, table, polygon); }
};

std::vector<Triangle> AllTriangles(TEXTURE& polygon, const TEXPOINTS& table, int allowFan) {
  std::vector<Triangle> out;
  for (int32_t i = 0;; ++i) {
    const Triangle* t = polygon.Triangulate(table, i, allowFan);
    if (t == nullptr) break;
    out.push_back(*t);
    if (i > 10000) break;
  }
  return out;
}

// Twice the signed area in the x-z plane.
double Area2(const XZ& a, const XZ& b, const XZ& c) {
  return (static_cast<double>(b.x) - a.x) * (static_cast<double>(c.z) - a.z) -
         (static_cast<double>(b.z) - a.z) * (static_cast<double>(c.x) - a.x);
}

// Sum of the triangles' doubled areas over `c`; every corner index must lie
// in the polygon and every triangle turn counter-clockwise (or be flat when
// `allowFlat`).
double CoveredArea2(const std::vector<Triangle>& triangles, const std::vector<XZ>& c, bool allowFlat = false) {
  double sum = 0.0;
  for (const Triangle& t : triangles) {
    for (int32_t v : t.v) {
      if (v < 0 || v >= static_cast<int32_t>(c.size())) {
        ADD_FAILURE() << "corner index " << v;
        return NAN;
      }
    }
    double a = Area2(c[static_cast<size_t>(t.v[0])], c[static_cast<size_t>(t.v[1])], c[static_cast<size_t>(t.v[2])]);
    if (allowFlat) {
      EXPECT_GE(a, 0.0);
    } else {
      EXPECT_GT(a, 0.0);
    }
    sum += a;
  }
  return sum;
}

double PolygonArea2(const std::vector<XZ>& p) {
  double sum = 0.0;
  for (size_t i = 0; i < p.size(); ++i) {
    const XZ& a = p[i];
    const XZ& b = p[(i + 1) % p.size()];
    sum += static_cast<double>(a.x) * b.z - static_cast<double>(b.x) * a.z;
  }
  return sum;
}

std::vector<XZ> Scaled(std::vector<XZ> p, int32_t factor) {
  for (XZ& c : p) {
    c.x *= factor;
    c.z *= factor;
  }
  return p;
}

// A star of `spikes` points, counter-clockwise seen from above (x east, z north).
std::vector<XZ> Star(int spikes, double outer, double inner) {
  std::vector<XZ> p;
  for (int k = 0; k < 2 * spikes; ++k) {
    double angle = 3.14159265358979323846 * k / spikes;
    double r = (k % 2 == 0) ? outer : inner;
    p.push_back(XZ{static_cast<int32_t>(std::lround(r * std::cos(angle))),
                   static_cast<int32_t>(std::lround(r * std::sin(angle)))});
  }
  return p;
}

// Counter-clockwise comb: a spine along z = 0 with `teeth` teeth upward.
std::vector<XZ> Comb(int teeth) {
  std::vector<XZ> p{{0, 0}, {20 * teeth, 0}};
  for (int t = teeth - 1; t >= 0; --t) {
    int32_t right = 20 * t + 20;
    int32_t left = 20 * t;
    p.push_back({right, 50});
    p.push_back({right - 10, 50});
    p.push_back({right - 10, 15});
    if (t > 0) p.push_back({left, 15});
  }
  p.push_back({0, 50});
  // The loop above ends at the left tooth's inner corner; close along x = 0.
  return p;
}

const std::vector<XZ> kSquare{{0, 0}, {10, 0}, {10, 10}, {0, 10}};

struct Shape {
  const char* name;
  std::vector<XZ> corners;
};

std::vector<Shape> ConcaveShapes() {
  return {
      {"L", {{0, 0}, {40, 0}, {40, 10}, {10, 10}, {10, 30}, {0, 30}}},
      {"U", {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}}},
      {"comb", Comb(4)},
      {"star5", Star(5, 1000, 400)},
      {"star12", Star(12, 5000, 1500)},
      {"star100", Star(100, 100000, 60000)},
      {"arrow", {{0, 0}, {50, 20}, {100, 0}, {50, 100}}},  // 4 corners: fanned
      {"chevron", {{0, 0}, {50, 30}, {100, 0}, {100, 40}, {50, 70}, {0, 40}}},
  };
}

TEST(EarClippingTest, ConcaveShapesAreCoveredExactly) {
  for (const Shape& shape : ConcaveShapes()) {
    if (shape.corners.size() <= 4) continue;  // fanned, not clipped
    for (int32_t scale : {1, 256}) {
      std::vector<XZ> corners = Scaled(shape.corners, scale);
      // Every rotation of the start vertex.
      for (size_t start = 0; start < corners.size(); start += corners.size() > 24 ? 17 : 1) {
        SCOPED_TRACE(std::string(shape.name) + " scale " + std::to_string(scale) + " start " +
                     std::to_string(start));
        std::vector<XZ> rotated(corners.begin() + static_cast<long>(start), corners.end());
        rotated.insert(rotated.end(), corners.begin(), corners.begin() + static_cast<long>(start));
        ASSERT_GT(PolygonArea2(rotated), 0.0);
        Loaded s(rotated, 0);
        ASSERT_EQ(s.polygon.IsConvexFlat(s.table), 0);
        std::vector<Triangle> triangles = AllTriangles(s.polygon, s.table, 0);
        ASSERT_EQ(triangles.size(), rotated.size() - 2);
        EXPECT_DOUBLE_EQ(CoveredArea2(triangles, rotated), PolygonArea2(rotated));
        EXPECT_FALSE(s.polygon.hasTriangles);  // freed by the read past the end
      }
    }
  }
}

TEST(TriangulateTest, SmallPolygonsAreFannedConvexOrNot) {
  struct Case {
    const char* name;
    std::vector<XZ> corners;
    int32_t y;
  };
  const Case cases[] = {
      {"triangle", {{0, 0}, {10, 0}, {0, 10}}, 0},
      {"clockwise triangle", {{0, 0}, {0, 10}, {10, 0}}, 0},
      {"concave quad", {{0, 0}, {50, 20}, {100, 0}, {50, 100}}, 0},
      {"raised quad", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 7},
      {"flat convex pentagon", {{0, 0}, {10, 0}, {15, 8}, {5, 15}, {-5, 8}}, 0},
      {"collinear corner counts as convex", {{0, 0}, {10, 0}, {20, 0}, {20, 10}, {0, 10}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Loaded s(c.corners, c.y);
    std::vector<Triangle> triangles = AllTriangles(s.polygon, s.table, 0);
    ASSERT_EQ(triangles.size(), c.corners.size() - 2);
    for (size_t i = 0; i < triangles.size(); ++i) {
      EXPECT_EQ(triangles[i].v[0], 0);
      EXPECT_EQ(triangles[i].v[1], static_cast<int32_t>(i) + 1);
      EXPECT_EQ(triangles[i].v[2], static_cast<int32_t>(i) + 2);
    }
  }
}

TEST(TriangulateTest, RaisedConvexPentagonIsClipped) {
  // Convex, but at y = 5: not "flat", so ear clipping runs. Its first
  // candidate is the corner at vertex 0 (the cursor starts at the last
  // vertex). Clockwise seen from above, attempt 0 finds no ear and attempt 1
  // walks the vertices from the last to the first, so the triangles turn
  // against the polygon's own winding.
  struct Case {
    const char* name;
    std::vector<XZ> corners;
    Triangle first;
  } const cases[] = {
      {"counter-clockwise", {{0, 0}, {10, 0}, {15, 8}, {5, 15}, {-5, 8}}, {{4, 0, 1}}},
      {"clockwise", {{-5, 8}, {5, 15}, {15, 8}, {10, 0}, {0, 0}}, {{0, 4, 3}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Loaded s(c.corners, 5);
    EXPECT_EQ(s.polygon.IsConvexFlat(s.table), 0);
    std::vector<Triangle> triangles = AllTriangles(s.polygon, s.table, 0);
    ASSERT_EQ(triangles.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(triangles[0].v[k], c.first.v[k]) << k;
    EXPECT_DOUBLE_EQ(CoveredArea2(triangles, c.corners), std::fabs(PolygonArea2(c.corners)));
  }
}

TEST(TriangulateTest, DegeneratePolygonFailsUnlessFanAllowed) {
  Loaded s({{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}}, 0);
  EXPECT_EQ(s.polygon.Triangulate(s.table, 0, 0), nullptr);
  EXPECT_FALSE(s.polygon.hasTriangles);
  std::vector<Triangle> fanned = AllTriangles(s.polygon, s.table, 1);
  ASSERT_EQ(fanned.size(), 3u);
  EXPECT_EQ(fanned[2].v[0], 0);
  EXPECT_EQ(fanned[2].v[2], 4);
}

TEST(TriangulateTest, ReadingPastTheEndFreesTheList) {
  Loaded s({{0, 0}, {10, 0}, {0, 10}}, 0);
  TEXPOINTS& table = s.table;
  TEXTURE& polygon = s.polygon;
  EXPECT_EQ(polygon.Triangulate(table, -1, 0), nullptr);
  ASSERT_NE(polygon.Triangulate(table, 0, 0), nullptr);
  EXPECT_TRUE(polygon.hasTriangles);
  EXPECT_EQ(polygon.triangleCount(), 1);
  EXPECT_EQ(polygon.Triangulate(table, 1, 0), nullptr);
  EXPECT_FALSE(polygon.hasTriangles);
  EXPECT_EQ(polygon.triangleCount(), 0);
  EXPECT_EQ(polygon.Triangulate(table, 1, 0), nullptr);
  // Too few vertices.
  polygon.vertexCount() = 2;
  EXPECT_EQ(polygon.Triangulate(table, 0, 1), nullptr);
}

TEST(TriangulateTest, CornersBeyondTheTableFailCleanly) {
  // Vertex positions 0..5 but only three points in the table.
  std::vector<XZ> l{{0, 0}, {40, 0}, {40, 10}, {10, 10}, {10, 30}, {0, 30}};
  TEXPOINTS table(3);
  TEXTURE polygon;
  polygon.header.normal[1] = 32767;
  polygon.vertexCount() = 6;
  // Raised, so that the polygon is not taken as flat and convex.
  for (int32_t i = 0; i < 3; ++i) table.Add(l[static_cast<size_t>(i)].x, 1, l[static_cast<size_t>(i)].z, -1);
  for (int32_t i = 0; i < 6; ++i) polygon.vertices[static_cast<size_t>(i)].point = i % 3;
  EXPECT_EQ(polygon.Triangulate(table, 0, 0), nullptr);
  EXPECT_EQ(AllTriangles(polygon, table, 1).size(), 4u);
  // Point indices outside the table: no winding, no convexity, no crash.
  for (int32_t i = 0; i < 6; ++i) polygon.vertices[static_cast<size_t>(i)].point = 1000 + i;
  EXPECT_EQ(polygon.IsConvexFlat(table), 0);
  EXPECT_EQ(polygon.Orientation(table, 0), 0);
  // A vertex count beyond the records is cut to them.
  polygon.vertexCount() = 100000;
  EXPECT_EQ(polygon.Orientation(table, 0), 0);
  polygon.Reverse();
}

TEST(TextureTest, ChooseAxis) {
  struct Case {
    int32_t x, y, z;
    int axis;
  };
  const Case cases[] = {{0, 0, 0, 0},  {1, 1, 1, 0},  {0, 1, 1, 1},       {0, 0, 1, 2},
                        {-5, 3, 0, 0}, {0, -5, 5, 1}, {0, 32767, 0, 1},   {3, 2, -4, 2},
                        {INT32_MIN, 0, 0, 0}};
  for (const Case& c : cases) {
    TEXTURE t;
    t.header.normal[0] = c.x;
    t.header.normal[1] = c.y;
    t.header.normal[2] = c.z;
    EXPECT_EQ(t.ChooseAxis(), c.axis) << c.x << " " << c.y << " " << c.z;
  }
}

TEST(TextureTest, OrientationFollowsTheNormal) {
  // Counter-clockwise seen from above (x east, z north).
  Loaded s(kSquare, 0);
  TEXPOINTS& table = s.table;
  TEXTURE& polygon = s.polygon;
  EXPECT_EQ(polygon.Orientation(table, 0), 1);
  polygon.Reverse();
  EXPECT_EQ(polygon.Orientation(table, 0), 0);
  // A downward normal walks the polygon backwards.
  polygon.header.normal[1] = -32767;
  EXPECT_EQ(polygon.Orientation(table, 0), 1);
  // The quirk: exactly (0, 32766, 0) returns the fallback untested.
  polygon.header.normal[1] = 32766;
  EXPECT_EQ(polygon.Orientation(table, 7), 7);
  EXPECT_EQ(polygon.Orientation(table, 0), 0);
  polygon.Reverse();
  EXPECT_EQ(polygon.Orientation(table, 0), 0);
  polygon.header.normal[1] = 32767;
  EXPECT_EQ(polygon.Orientation(table, 7), 1);
  // Fewer than three vertices.
  polygon.vertexCount() = 2;
  EXPECT_EQ(polygon.Orientation(table, 7), 0);
}

TEST(TextureTest, OrientationSubtractsTheBase) {
  Loaded s(kSquare, 0);
  s.table.base = 100;
  for (int32_t i = 0; i < 4; ++i) s.polygon.vertices[static_cast<size_t>(i)].point = 100 + i;
  EXPECT_EQ(s.polygon.Orientation(s.table, 0), 1);
}

TEST(TextureTest, OrientationOfConcaveShapes) {
  for (const Shape& shape : ConcaveShapes()) {
    SCOPED_TRACE(shape.name);
    Loaded s(Scaled(shape.corners, 256), 0);
    // The test counts corners, not angles: a star has as many reflex as
    // convex corners and reads as positive either way.
    bool star = std::string(shape.name).rfind("star", 0) == 0;
    EXPECT_EQ(s.polygon.Orientation(s.table, 0), star ? 0 : 1);
    s.polygon.Reverse();
    EXPECT_EQ(s.polygon.Orientation(s.table, 0), 0);
  }
}

TEST(TextureTest, IsConvexFlat) {
  struct Case {
    const char* name;
    std::vector<XZ> corners;
    int32_t y;
    int expected;
  };
  const Case cases[] = {
      {"ccw square", kSquare, 0, 1},
      {"cw square", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 0, 1},
      {"raised square", kSquare, 1, 0},
      {"L", {{0, 0}, {40, 0}, {40, 10}, {10, 10}, {10, 30}, {0, 30}}, 0, 0},
      {"two vertices", {{0, 0}, {10, 0}}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Loaded s(c.corners, c.y);
    EXPECT_EQ(s.polygon.IsConvexFlat(s.table), c.expected);
  }
}

TEST(TextureTest, ReverseCopyAndRelease) {
  TEXTURE t;
  t.vertexCount() = 5;
  for (int32_t i = 0; i < 5; ++i) t.vertices[static_cast<size_t>(i)] = TexVertex{i, {i, i + 1, i + 2, i + 3}};
  t.Reverse();
  for (int32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(t.vertices[static_cast<size_t>(i)].point, 4 - i);
    EXPECT_EQ(t.vertices[static_cast<size_t>(i)].extra[3], 4 - i + 3);
  }
  t.vertexCount() = 4;
  t.Reverse();
  EXPECT_EQ(t.vertices[0].point, 1);
  EXPECT_EQ(t.vertices[3].point, 4);

  t.header.reserved = 3;
  t.header.extra[2] = -12;
  t.header.flag = 9;
  t.header.attribute = 356;
  Loaded triangle({{0, 0}, {10, 0}, {0, 10}}, 0);
  TEXTURE copy;
  copy.CopyFrom(t);
  EXPECT_EQ(copy.header.reserved, 3);
  EXPECT_EQ(copy.header.extra[2], -12);
  EXPECT_EQ(copy.header.flag, 9);
  EXPECT_EQ(copy.header.attribute, 356);
  EXPECT_EQ(copy.vertexCount(), 4);
  EXPECT_EQ(copy.vertices[3].extra[0], 4);
  EXPECT_FALSE(copy.hasTriangles);

  copy.Release();
  EXPECT_EQ(copy.vertexCount(), 0);
  EXPECT_EQ(copy.Triangulate(triangle.table, 0, 1), nullptr);
  copy.CopyFrom(t);  // storage comes back
  EXPECT_EQ(copy.vertices[3].point, 4);
}

TEST(TextureListTest, IteratesLastAddedFirstAndCarriesEverything) {
  TextureList list;
  EXPECT_EQ(list.First(), nullptr);
  TEXTURE t;
  for (int32_t k = 0; k < 3; ++k) {
    t.vertexCount() = 3 + k;
    t.header.attribute = 100 + k;
    t.header.extra[1] = k;
    for (int32_t i = 0; i < t.vertexCount(); ++i)
      t.vertices[static_cast<size_t>(i)] = TexVertex{10 * k + i, {k, i, -k, -i}};
    EXPECT_EQ(list.Add(t), 1);
  }
  EXPECT_EQ(list.Count(), 3);
  int32_t k = 2;
  for (TEXTURE* p = list.First(); p != nullptr; p = list.Next(), --k) {
    ASSERT_GE(k, 0);
    EXPECT_EQ(p->vertexCount(), 3 + k);
    EXPECT_EQ(p->header.attribute, 100 + k);
    EXPECT_EQ(p->header.extra[1], k);
    EXPECT_EQ(p->vertices[static_cast<size_t>(p->vertexCount() - 1)].point, 10 * k + 2 + k);
    EXPECT_EQ(p->vertices[1].extra[1], 1);
    EXPECT_EQ(p->vertices[1].extra[2], -k);
  }
  EXPECT_EQ(k, -1);
  EXPECT_EQ(list.Next(), nullptr);
  // First starts over.
  ASSERT_NE(list.First(), nullptr);
  EXPECT_EQ(list.First()->header.attribute, 102);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.First(), nullptr);
  // A polygon without vertices is carried too.
  t.vertexCount() = 0;
  EXPECT_EQ(list.Add(t), 1);
  ASSERT_NE(list.First(), nullptr);
  EXPECT_EQ(list.First()->vertexCount(), 0);
}


// Real pavement outlines: the outer ring of every pavement of the public
// airport layouts (curve nodes taken as plain corners), in 1/256 ft around
// the ring's first corner. Simple rings of 5 to 256 corners are ear-clipped;
// every triangulation that succeeds must cover the ring exactly.
namespace realdata {

std::vector<std::vector<XZ>> OuterRings(const std::string& path) {
  std::vector<std::vector<XZ>> rings;
  std::FILE* in = std::fopen(path.c_str(), "r");
  if (in == nullptr) return rings;
  char line[512];
  bool pavement = false;
  bool outer = false;
  std::vector<std::pair<double, double>> ring;
  while (std::fgets(line, sizeof line, in) != nullptr) {
    int code = 0;
    double lat = 0.0, lon = 0.0;
    int fields = std::sscanf(line, "%d %lf %lf", &code, &lat, &lon);
    if (fields < 1) continue;
    if (code == 110) {
      pavement = true;
      outer = true;
      ring.clear();
      continue;
    }
    if (code < 111 || code > 116) {
      if (code != 0) pavement = false;
      continue;
    }
    if (!pavement || !outer || fields < 3) continue;
    ring.emplace_back(lat, lon);
    if (code == 113 || code == 114) {
      outer = false;
      std::vector<XZ> corners;
      const double lat0 = ring[0].first, lon0 = ring[0].second;
      for (const auto& [la, lo] : ring) {
        XZ p{static_cast<int32_t>((lo - lon0) * 364000.0 * std::cos(lat0 * 3.14159265358979 / 180.0) * 256.0),
             static_cast<int32_t>((la - lat0) * 364000.0 * 256.0)};
        if (corners.empty() || corners.back().x != p.x || corners.back().z != p.z) corners.push_back(p);
      }
      if (corners.size() > 1 && corners.front().x == corners.back().x && corners.front().z == corners.back().z)
        corners.pop_back();
      rings.push_back(corners);
    }
  }
  std::fclose(in);
  return rings;
}

bool SegmentsCross(const XZ& a, const XZ& b, const XZ& c, const XZ& d) {
  auto side = [](const XZ& p, const XZ& q, const XZ& r) {
    double v = Area2(p, q, r);
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
  };
  return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

bool IsSimple(const std::vector<XZ>& p) {
  const size_t n = p.size();
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      if (SegmentsCross(p[i], p[(i + 1) % n], p[j], p[(j + 1) % n])) return false;
    }
  return true;
}

bool TouchesItselfOrIsStraightSomewhere(const std::vector<XZ>& p) {
  const size_t n = p.size();
  for (size_t i = 0; i < n; ++i) {
    if (Area2(p[i], p[(i + 1) % n], p[(i + 2) % n]) == 0.0) return true;
    for (size_t j = i + 1; j < n; ++j)
      if (p[i].x == p[j].x && p[i].z == p[j].z) return true;
  }
  return false;
}

}  // namespace realdata

TEST(EarClippingTest, RealPavementOutlinesAreCoveredExactly) {
  const std::string dir = ostrand::testing::RealDataDir();
  if (dir.empty()) GTEST_SKIP() << "no real airport data";
  int tried = 0, clipped = 0;
  for (const char* file : {"EDDH.apt.dat", "EDFX.apt.dat", "LSZH_region.apt.dat"}) {
    for (const std::vector<XZ>& ring : realdata::OuterRings(dir + "/aptdat/" + file)) {
      if (ring.size() < 5 || ring.size() > 256 || PolygonArea2(ring) <= 0.0 || !realdata::IsSimple(ring))
        continue;
      ++tried;
      Loaded s(ring, 0);
      std::vector<Triangle> triangles = AllTriangles(s.polygon, s.table, 0);
      if (triangles.empty()) {
        // A ring that touches itself (a corner repeated) or has a straight
        // corner puts a corner on the border of its would-be ears, which the
        // ear test refuses; every other simple ring must be clipped.
        EXPECT_TRUE(realdata::TouchesItselfOrIsStraightSomewhere(ring)) << file << " " << ring.size();
        continue;
      }
      ++clipped;
      EXPECT_NEAR(CoveredArea2(triangles, ring, true), PolygonArea2(ring), 1e-9 * PolygonArea2(ring))
          << file << " " << ring.size();
    }
  }
  EXPECT_GT(tried, 200);
  EXPECT_GT(clipped, tried * 9 / 10);
}

}  // namespace
}  // namespace ostrand
