#include "ostrand/gen/tile_clipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

constexpr int32_t kT = 1000;  // tile size of these tests

class TileClippingTest : public GenerationTest {
 protected:
  void SetUp() override { GenerationTest::SetUp(), Fresh(); }
  // An empty grid again, for the next case of a table.
  void Fresh() { NewRun().grid.SetGeometry(0, 0, kT); }
  // Files the outline (3 corners a triangle, 4 a quad) into the pavement;
  // checks that the pieces keep its area (crossing points are rounded to
  // whole units: each moves a cut edge by up to half a unit along at most a
  // tile), lie in their tiles with the common winding, and that no split
  // is left open.
  void FileChecked(const std::vector<PlanePoint>& c, const std::string& name, bool winding = true) {
    Fresh();
    if (c.size() == 3) AddTriangle(run, kPavementLayer, c[0], c[1], c[2]);
    else AddQuad(run, kPavementLayer, c[0], c[1], c[2], c[3]);
    const auto pieces = FiledPieces(kPavementLayer);
    const double area = std::fabs(SignedArea(c));
    EXPECT_NEAR(TotalArea(pieces), area, 0.5 * kT * static_cast<double>(pieces.size()) + 1) << name;
    EXPECT_DOUBLE_EQ(run.clipping.handedArea[kPavementLayer], area) << name;
    for (const auto& p : pieces) {
      // A piece outside the grid goes to column and row 0.
      EXPECT_TRUE(InsideItsTile(p) || c[0].x >= 8 * kT)
          << name << " tile " << p.column << "," << p.row;
      EXPECT_TRUE(!winding || SignedArea(p.corners) <= 0) << name;
    }
    EXPECT_EQ(run.clipping.depthX + run.clipping.depthZ, 0) << name;
  }
};

TEST_F(TileClippingTest, TileIndex) {
  const int64_t cases[][2] = {{0, 0}, {999, 0}, {1000, 1}, {7999, 7}, {8000, 0}, {-1, 0}};
  for (const auto& c : cases) EXPECT_EQ(TileIndex(run.grid, c[0]), c[1]) << c[0];
  run.grid.SetGeometry(0, 0, 0);
  EXPECT_EQ(TileIndex(run.grid, 256000), 1);  // a missing tile size becomes 1000 ft
}

// Light strings and outlines filed into the grid, against the expected
// text of their pieces; the outlines keep their area and lie in their
// tiles. A light string is cut at every column and row border (a single
// light is one point referred to twice). A quad whose corners, moved a unit
// inwards, lie in one tile is filed whole into the tile of its centre
// (outside the grid column and row 0); otherwise it goes as two triangles,
// cut at the borders.
TEST_F(TileClippingTest, PiecesMatchExpected) {
  std::string text;
  const int32_t lights[][4] = {
      {100, 100, 900, 200}, {2500, 500, 500, 500}, {7900, 100, 100, 7700}, {3300, 4400, 3300,
      4400}};
  for (const auto& l : lights) {
    Fresh();
    AddLightLine(run, kLightsLayer, l[0], l[1], l[2], l[3], 0x164);
    text += "== light string\n" + FiledPiecesText();
  }
  EXPECT_EQ(run.grid.Layer(3, 4, kLightsLayer).Current().points.count, 1);
  const int32_t quads[][4] = {{1100, 1900, 1100, 1500}, {999, 2000, 999, 2000},
      {10 * kT + 100, 10 * kT + 200, 500, 600}, {998, 2000, 1100, 1500}, {1000, 2001, 1100, 1500},
      {1100, 1500, 998, 2000}, {1100, 1500, 1000, 2001}};
  std::vector<std::pair<std::string, std::vector<PlanePoint>>> cases;
  for (const auto& q : quads)
    cases.push_back({"quad", {{q[0], q[2]}, {q[1], q[2]}, {q[1], q[3]}, {q[0], q[3]}}});
  cases.insert(cases.end(), {
      {"quad across one border", {{500, 200}, {1500, 200}, {1500, 700}, {500, 700}}},
      {"quad across a corner", {{500, 500}, {1500, 500}, {1500, 1500}, {500, 1500}}},
      {"long strip", {{100, 100}, {7900, 150}, {7900, 250}, {100, 200}}},
      {"steep strip", {{4000, 100}, {4100, 100}, {4600, 7900}, {4500, 7900}}},
      {"triangle over many tiles", {{100, 100}, {7900, 3000}, {2000, 7900}}},
      {"cut through a corner", {{1000, 500}, {1500, 100}, {500, 900}}},
      {"cut through a corner in z", {{500, 2000}, {100, 2500}, {900, 1500}}},
      {"corner on a tile corner", {{1000, 1000}, {1700, 300}, {300, 1700}}},
      {"clockwise", {{500, 700}, {1500, 700}, {1500, 200}, {500, 200}}}});
  for (const auto& [name, corners] : cases) {
    std::string head = "== " + name + ":";
    for (const auto& c : corners) head += " " + std::to_string(c.x) + " " + std::to_string(c.z);
    FileChecked(corners, head);
    text += head + "\n" + FiledPiecesText();
  }
  ExpectMatchesFile(text, "tile_clipping.txt");
}

TEST_F(TileClippingTest, RandomTrianglesKeepTheirArea) {
  // Random triangles, every fourth with a corner on a border; the round
  // number repeats the case: the generator is seeded.
  std::mt19937 random(12345);
  std::uniform_int_distribution<int32_t> coordinate(0, 8 * kT - 1);
  for (int round = 0; round < 300; ++round) {
    std::vector<PlanePoint> p(3);
    for (auto& q : p) q = {coordinate(random), coordinate(random)};
    if (round % 4 == 0) p[0].x = (p[0].x / kT) * kT;
    if (round % 8 == 0) p[1].z = (p[1].z / kT) * kT;
    FileChecked(p, "round " + std::to_string(round), false);
    if (HasFailure()) break;
  }
}

TEST_F(TileClippingTest, FarCornersEndWithoutRunaway) {
  // Corners as far out as loaded coordinates can be, with the smallest
  // tiles: more splits than allowed, and a light string of 2000 tiles.
  run.grid.SetGeometry(0, 0, 128000);
  const int32_t far = 256000000;
  AddTriangle(run, kPavementLayer, {100, 100}, {far, 200}, {200, -far});
  AddLightLine(run, kLightsLayer, -far, 0, 3 * kT, 0, 100);
  EXPECT_EQ(run.clipping.depthX + run.clipping.depthZ, 0);
}

}  // namespace
}  // namespace ostrand
