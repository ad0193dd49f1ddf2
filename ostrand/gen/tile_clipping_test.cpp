#include "ostrand/gen/tile_clipping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

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
    Grid().originX = 0;
    Grid().originZ = 0;
    Grid().tileSize = kT;
  }
  // An empty grid again, for the next case of a table.
  static void Fresh() {
    ResetGenerationState();
    Grid().tileSize = kT;
  }
};

// Crossing points are rounded to whole units: each moves a cut edge by up
// to half a unit along at most a tile's length.
double RoundingSlack(const std::vector<FiledPiece>& pieces) {
  return 0.5 * kT * static_cast<double>(pieces.size()) + 1;
}

double TriangleArea(PlanePoint a, PlanePoint b, PlanePoint c) {
  return std::fabs(SignedArea({a, b, c}));
}

TEST_F(TileClippingTest, TileIndexAndBetween) {
  struct Case {
    int64_t x;
    int32_t column;
  } cases[] = {{0, 0}, {999, 0}, {1000, 1}, {7999, 7}, {8000, 0}, {10 * kT, 0}, {-1, 0}, {-1500, 0}};
  for (const Case& c : cases) EXPECT_EQ(TileIndex(c.x), c.column) << c.x;
  EXPECT_EQ(CellId(2500, 3500), 2 * 256 + 3);
  EXPECT_EQ(Between(5, 0, 10), 1);
  EXPECT_EQ(Between(5, 10, 0), 1);
  EXPECT_EQ(Between(0, 0, 10), 0);
  EXPECT_EQ(Between(5, 5, 5), 0);
  Grid().tileSize = 0;
  EXPECT_EQ(TileIndex(256000), 1);  // a missing tile size becomes 1000 ft
}

TEST_F(TileClippingTest, LightStrings) {
  AddLightLine(kLightsLayer, 100, 100, 900, 200, 0x164);
  auto pieces = FiledPieces(kLightsLayer);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].attribute, 0x164);
  EXPECT_EQ(pieces[0].corners.size(), 2u);

  // Two column borders crossed: three strings meeting at the borders.
  Fresh();
  AddLightLine(kLightsLayer, 2500, 500, 500, 500, 100);
  pieces = FiledPieces(kLightsLayer);
  ASSERT_EQ(pieces.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(pieces[i].column, static_cast<int32_t>(i));
    EXPECT_TRUE(InsideItsTile(pieces[i]));
  }
  EXPECT_EQ(pieces[0].corners[1].x, 1000);
  EXPECT_EQ(pieces[1].corners[0].x, 1000);
  EXPECT_EQ(pieces[1].corners[1].x, 2000);
  EXPECT_EQ(pieces[2].corners[0].x, 2000);

  // A single light: both vertices refer to the same point.
  Fresh();
  AddLightLine(kLightsLayer, 3300, 4400, 3300, 4400, 356);
  TileSection& l = Grid().Layer(3, 4, kLightsLayer).Current();
  ASSERT_EQ(l.polygons.Count(), 1);
  TEXTURE* t = l.polygons.First();
  EXPECT_EQ(t->vertexCount(), 2);
  EXPECT_EQ(t->vertices[0].point, t->vertices[1].point);
  EXPECT_EQ(l.points.count, 1);
}

TEST_F(TileClippingTest, DiagonalLightStringIsCutAtEveryBorderAndStaysConnected) {
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

TEST_F(TileClippingTest, QuadInOneTileIsFiledWhole) {
  AddQuad(kPavementLayer, {1100, 1100}, {1900, 1100}, {1900, 1500}, {1100, 1500});
  const auto pieces = FiledPieces(kPavementLayer);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].corners.size(), 4u);
  EXPECT_EQ(pieces[0].column, 1);
  EXPECT_EQ(pieces[0].row, 1);
  EXPECT_LT(SignedArea(pieces[0].corners), 0);  // turned to the surfaces' common winding
}

TEST_F(TileClippingTest, PiecesAreConservedAndInsideTheirTiles) {
  struct Case {
    const char* name;
    std::vector<PlanePoint> corners;
  } cases[] = {
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
  for (const Case& c : cases) {
    Fresh();
    if (c.corners.size() == 3) {
      AddTriangle(kPavementLayer, c.corners[0], c.corners[1], c.corners[2]);
    } else {
      AddQuad(kPavementLayer, c.corners[0], c.corners[1], c.corners[2], c.corners[3]);
    }
    const auto pieces = FiledPieces(kPavementLayer);
    EXPECT_NEAR(TotalArea(pieces), std::fabs(SignedArea(c.corners)), RoundingSlack(pieces)) << c.name;
    EXPECT_DOUBLE_EQ(Grid().handedArea[kPavementLayer], std::fabs(SignedArea(c.corners))) << c.name;
    for (const auto& p : pieces) {
      EXPECT_TRUE(InsideItsTile(p)) << c.name;
      EXPECT_LE(SignedArea(p.corners), 0) << c.name;  // the surfaces' common winding
    }
    EXPECT_EQ(Grid().depthX, 0);
    EXPECT_EQ(Grid().depthZ, 0);
  }
}

TEST_F(TileClippingTest, RandomTrianglesInsideTheGridKeepTheirArea) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int32_t> coordinate(0, 8 * kT - 1);
  for (int round = 0; round < 300; ++round) {
    Fresh();
    PlanePoint p[3];
    for (auto& q : p) q = {coordinate(random), coordinate(random)};
    // Every fourth triangle gets a corner snapped onto a border.
    if (round % 4 == 0) p[0].x = (p[0].x / kT) * kT;
    if (round % 8 == 0) p[1].z = (p[1].z / kT) * kT;
    AddTriangle(kPavementLayer, p[0], p[1], p[2]);
    const auto pieces = FiledPieces(kPavementLayer);
    // The round number repeats the case: the generator is seeded.
    ASSERT_NEAR(TotalArea(pieces), TriangleArea(p[0], p[1], p[2]), RoundingSlack(pieces)) << round;
    for (const auto& piece : pieces) {
      ASSERT_TRUE(InsideItsTile(piece)) << round << " tile " << piece.column << "," << piece.row;
    }
  }
}

TEST_F(TileClippingTest, PiecesOutsideTheGridGoToColumnAndRowZero) {
  AddQuad(kPavementLayer, {10 * kT + 100, 500}, {10 * kT + 200, 500}, {10 * kT + 200, 600},
          {10 * kT + 100, 600});
  const auto pieces = FiledPieces(kPavementLayer);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].column, 0);
}

TEST_F(TileClippingTest, FarCornersEndWithoutRunaway) {
  // Corners as far out as loaded coordinates can be, with the smallest
  // tiles: more splits than allowed, and a light string of 2000 tiles.
  Grid().tileSize = 128000;
  const int32_t far = 256000000;
  AddTriangle(kPavementLayer, {100, 100}, {far, 200}, {200, -far});
  AddLightLine(kLightsLayer, -far, 0, 3 * kT, 0, 100);
  EXPECT_EQ(Grid().depthX, 0);
  EXPECT_EQ(Grid().depthZ, 0);
}

}  // namespace
}  // namespace ostrand
