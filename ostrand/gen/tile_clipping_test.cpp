#include "ostrand/gen/tile_clipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/grid_inspection.h"
#include "ostrand/gen/network_fixture.h"
#include "ostrand/gen/tile_grid.h"

namespace ostrand {
namespace {

using testing::FiledPiece;
using testing::FiledPieces;
using testing::InsideItsTile;
using testing::SignedArea;
using testing::TotalArea;

constexpr int32_t kT = 1000;  // tile size of these tests

class TileClippingTest : public testing::GenerationTest {
 protected:
  void SetUp() override {
    GenerationTest::SetUp();
    Fresh();
  }
  // An empty grid again, for the next case of a table.
  static void Fresh() {
    ResetGenerationState();
    Grid().originX = Grid().originZ = 0;
    Grid().tileSize = kT;
  }
  // Files the outline (3 corners a triangle, 4 a quad) into the pavement;
  // checks that the pieces keep its area (crossing points are rounded to
  // whole units: each moves a cut edge by up to half a unit along at most a
  // tile), lie in their tiles with the common winding, and that no split
  // is left open.
  std::vector<FiledPiece> FileChecked(const std::vector<PlanePoint>& c, const std::string& name, bool winding = true) {
    Fresh();
    if (c.size() == 3) {
      AddTriangle(kPavementLayer, c[0], c[1], c[2]);
    } else {
      AddQuad(kPavementLayer, c[0], c[1], c[2], c[3]);
    }
    const auto pieces = FiledPieces(kPavementLayer);
    const double area = std::fabs(SignedArea(c));
    EXPECT_NEAR(TotalArea(pieces), area, 0.5 * kT * static_cast<double>(pieces.size()) + 1) << name;
    EXPECT_DOUBLE_EQ(Grid().handedArea[kPavementLayer], area) << name;
    for (const auto& p : pieces) {
      // A piece outside the grid goes to column and row 0.
      EXPECT_TRUE(InsideItsTile(p) || c[0].x >= 8 * kT) << name << " tile " << p.column << "," << p.row;
      EXPECT_TRUE(!winding || SignedArea(p.corners) <= 0) << name;
    }
    EXPECT_EQ(Grid().depthX + Grid().depthZ, 0) << name;
    return pieces;
  }
};

TEST_F(TileClippingTest, TileIndexAndBetween) {
  const int64_t cases[][2] = {{0, 0}, {999, 0}, {1000, 1}, {7999, 7}, {8000, 0}, {-1, 0}, {-1500, 0}};
  for (const auto& c : cases) EXPECT_EQ(TileIndex(c[0]), c[1]) << c[0];
  EXPECT_EQ(CellId(2500, 3500), 2 * 256 + 3);
  EXPECT_EQ(std::vector<int>({Between(5, 0, 10), Between(5, 10, 0), Between(0, 0, 10), Between(5, 5, 5)}),
            std::vector<int>({1, 1, 0, 0}));
  Grid().tileSize = 0;
  EXPECT_EQ(TileIndex(256000), 1);  // a missing tile size becomes 1000 ft
}

TEST_F(TileClippingTest, LightStrings) {
  // From (x1, z1) to (x2, z2): the pieces' columns and rows, and the x of
  // their ends (a single light is one point referred to twice).
  const struct { int32_t x1, z1, x2, z2; std::vector<int32_t> tiles, xs; } cases[] = {
      {100, 100, 900, 200, {0, 0}, {100, 900}},
      {2500, 500, 500, 500, {0, 0, 1, 0, 2, 0}, {500, 1000, 1000, 2000, 2000, 2500}},
      {3300, 4400, 3300, 4400, {3, 4}, {3300, 3300}},
  };
  for (const auto& c : cases) {
    Fresh();
    AddLightLine(kLightsLayer, c.x1, c.z1, c.x2, c.z2, 0x164);
    std::vector<int32_t> tiles, xs;
    for (const auto& p : FiledPieces(kLightsLayer)) {
      EXPECT_EQ(p.attribute, 0x164);
      tiles.insert(tiles.end(), {p.column, p.row});
      for (const auto& q : p.corners) xs.push_back(q.x);
    }
    EXPECT_EQ(tiles, c.tiles) << c.x1;
    EXPECT_EQ(xs, c.xs) << c.x1;
  }
  EXPECT_EQ(Grid().Layer(3, 4, kLightsLayer).Current().points.count, 1);

  // A diagonal string is cut at every border and stays connected.
  Fresh();
  AddLightLine(kLightsLayer, 7900, 100, 100, 7700, 100);
  const auto pieces = FiledPieces(kLightsLayer);
  ASSERT_GE(pieces.size(), 15u);
  double length = 0;
  for (const auto& p : pieces) {
    EXPECT_TRUE(InsideItsTile(p));
    length += std::hypot(p.corners[1].x - p.corners[0].x, p.corners[1].z - p.corners[0].z);
  }
  EXPECT_NEAR(length, std::hypot(7800, 7600), 20.0);
}

// A quad whose corners, moved a unit inwards, lie in one tile is filed
// whole into it; otherwise it goes as two triangles, cut at the borders.
TEST_F(TileClippingTest, QuadIsFiledWholeOnlyWithinOneTile) {
  const struct { int32_t x0, x1, z0, z1; bool whole; } cases[] = {
      {1100, 1900, 1100, 1500, true}, {999, 2000, 999, 2000, true},   {10 * kT + 100, 10 * kT + 200, 500, 600, true},
      {998, 2000, 1100, 1500, false}, {1000, 2001, 1100, 1500, false}, {1100, 1500, 998, 2000, false},
      {1100, 1500, 1000, 2001, false},
  };
  for (const auto& c : cases) {
    const std::string name = std::to_string(c.x0) + ".." + std::to_string(c.x1) + " x " +
                             std::to_string(c.z0) + ".." + std::to_string(c.z1);
    const auto pieces = FileChecked({{c.x0, c.z0}, {c.x1, c.z0}, {c.x1, c.z1}, {c.x0, c.z1}}, name);
    EXPECT_EQ(pieces.size() == 1 && pieces[0].corners.size() == 4, c.whole) << name;
    // The centre picks the tile; outside the grid it is column and row 0.
    EXPECT_EQ(c.whole ? pieces[0].column : -1, c.whole ? (c.x0 < 8 * kT ? 1 : 0) : -1) << name;
  }
}

TEST_F(TileClippingTest, PiecesAreConservedAndInsideTheirTiles) {
  const struct { const char* name; std::vector<PlanePoint> corners; } cases[] = {
      {"quad across one border", {{500, 200}, {1500, 200}, {1500, 700}, {500, 700}}},
      {"quad across a corner", {{500, 500}, {1500, 500}, {1500, 1500}, {500, 1500}}},
      {"long strip", {{100, 100}, {7900, 150}, {7900, 250}, {100, 200}}},
      {"steep strip", {{4000, 100}, {4100, 100}, {4600, 7900}, {4500, 7900}}},
      {"triangle over many tiles", {{100, 100}, {7900, 3000}, {2000, 7900}}},
      {"cut through a corner", {{1000, 500}, {1500, 100}, {500, 900}}},
      {"cut through a corner in z", {{500, 2000}, {100, 2500}, {900, 1500}}},
      {"corner on a tile corner", {{1000, 1000}, {1700, 300}, {300, 1700}}},
      {"clockwise", {{500, 700}, {1500, 700}, {1500, 200}, {500, 200}}},
  };
  for (const auto& c : cases) FileChecked(c.corners, c.name);

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
  Grid().tileSize = 128000;
  const int32_t far = 256000000;
  AddTriangle(kPavementLayer, {100, 100}, {far, 200}, {200, -far});
  AddLightLine(kLightsLayer, -far, 0, 3 * kT, 0, 100);
  EXPECT_EQ(Grid().depthX + Grid().depthZ, 0);
}

}  // namespace
}  // namespace ostrand
