#include "ostrand/gen/taxiway_polygons.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/bgr_tms.h"
#include "ostrand/gen/grid_inspection.h"
#include "ostrand/gen/network_fixture.h"
#include "ostrand/gen/segment_list.h"
#include "ostrand/gen/tile_grid.h"

namespace ostrand {
namespace {

using testing::FiledPieces;
using testing::SignedArea;
using testing::TotalArea;

constexpr int32_t kFt = testing::WorkingNetwork::kFt;
constexpr double kSqFt = double{kFt} * kFt;

// A point at (x, z) feet, truncated to working units.
IntPoint Ft(double x, double z) {
  return IntPoint{static_cast<int32_t>(x * kFt), 0, static_cast<int32_t>(z * kFt)};
}

// One tile wide enough for every test network, so that pieces stay whole.
void OneTile() {
  Grid().originX = Grid().originZ = -(1 << 26);
  Grid().tileSize = 1 << 28;
}

class TaxiwayPolygonsTest : public testing::GenerationTest, protected testing::WorkingNetwork {
 protected:
  void SetUp() override {
    GenerationTest::SetUp();
    net.ClearNetwork();
  }
  // Segments, then one tile holding everything (so that pieces stay whole),
  // then the surfaces.
  void Generate() {
    Prepare();
    FileTaxiwaySegments(net);
    OneTile();
    GenerateTaxiPolygons(net);
  }
  const IntPoint* Corners(int32_t segment) {
    return TaxiwaySegments().entries[static_cast<size_t>(segment)].corners;
  }
  // Length of the segment's pavement along its centre line, in feet.
  double PavedLengthFt(int32_t segment) {
    const IntPoint* c = Corners(segment);
    return std::hypot(c[3].x - c[0].x, c[3].z - c[0].z) / kFt;
  }
  // A bend at the origin: one segment from the west, the other leaving at
  // `turnDeg` to the left of straight on.
  void Bend(double turnDeg) {
    const double h = turnDeg * std::numbers::pi / 180;
    const int32_t a = V(-1000, 0), s = V(0, 0), b = V(1000 * std::cos(h), 1000 * std::sin(h));
    E(a, s, kTaxiway, 50, kFlagPavement);
    E(s, b, kTaxiway, 50, kFlagPavement);
  }
  // How many pieces each layer holds.
  size_t Count(int layer) { return FiledPieces(layer).size(); }
};

TEST_F(TaxiwayPolygonsTest, StraightTaxiwayPavementAndCentreLine) {
  E(V(0, 0), V(1000, 300), kTaxiway, 60);
  Generate();
  const double length = std::hypot(1000, 300);
  EXPECT_NEAR(TotalArea(FiledPieces(kPavementLayer)) / kSqFt, length * 60, 1.0);
  // The centre line is 1 ft wide along the whole edge.
  const auto centre = FiledPieces(kCentreLayer);
  ASSERT_EQ(centre.size(), 1u);
  // Corners are truncated to whole units: the 1-ft width is exact to 2 units.
  EXPECT_NEAR(TotalArea(centre) / kSqFt, length, length * 2 / kFt);
  const auto& c = centre[0].corners;
  EXPECT_NEAR(std::hypot(c[1].x - c[0].x, c[1].z - c[0].z), kFt, 2);
  EXPECT_NEAR(std::hypot(c[3].x - c[2].x, c[3].z - c[2].z), kFt, 2);
  // Centre lights every 100 ft; no edge lights at dead ends.
  const auto lights = FiledPieces(kLightsLayer);
  ASSERT_EQ(lights.size(), 1u);
  EXPECT_EQ(lights[0].attribute, 100);
}

TEST_F(TaxiwayPolygonsTest, JunctionTrims) {
  struct Case {
    double lengthFt;
    int junctions;  // 0 none, 1 at the end, 2 at both ends
    double pavedFt;
  } cases[] = {{1000, 0, 1000}, {1000, 1, 850}, {1000, 2, 700}, {200, 2, 25},
               {250, 1, 100},   {100, 1, 25},   {25, 2, 25}};
  for (const Case& c : cases) {
    SetUp();
    const int32_t a = V(0, 0), b = V(c.lengthFt, 0);
    E(a, b);
    // Spurs far off the straight line make junctions without joints.
    if (c.junctions >= 1) E(b, V(c.lengthFt, 1000));
    if (c.junctions >= 2) E(a, V(0, 1000));
    Generate();
    EXPECT_NEAR(PavedLengthFt(0), c.pavedFt, 0.01) << c.lengthFt << " " << c.junctions;
    if (c.junctions == 1) {
      EXPECT_EQ(Corners(0)[0].x, 0);  // the dead end keeps its length
    }
  }
}

TEST_F(TaxiwayPolygonsTest, JointRulesOnTheTurn) {
  struct Case {
    double turn;
    int jointPieces;  // pavement pieces beyond the two segment quads; -1: a fillet
  } cases[] = {{0, 1}, {10, 1}, {-10, 1}, {25, 1}, {45, -1}, {-45, -1}, {90, -1},
               {120, -1}, {160, 0}, {-160, 0}};
  for (const Case& c : cases) {
    SetUp();
    Bend(c.turn);
    Generate();
    const int joint = static_cast<int>(Count(kPavementLayer)) - 2;
    if (c.jointPieces >= 0) {
      EXPECT_EQ(joint, c.jointPieces) << c.turn;
    } else {
      EXPECT_GE(joint, 2) << c.turn;
      EXPECT_LE(joint, 25) << c.turn;
    }
  }
}

TEST_F(TaxiwayPolygonsTest, FilletStepsFollowTheCentrePath) {
  // A 45-degree bend of a 50-ft taxiway: control points of both curves.
  const double h = std::numbers::pi / 4, cosH = std::cos(h), sinH = std::sin(h);
  OneTile();
  const double r = 150;  // distance of the near corners from the bend
  const IntPoint outer[] = {Ft(-r, -25), Ft(std::tan(h / 2) * 25, -25),
                            Ft(r * cosH + 25 * sinH, r * sinH - 25 * cosH)};
  const IntPoint inner[] = {Ft(-r, 25), Ft(-std::tan(h / 2) * 25, 25),
                            Ft(r * cosH - 25 * sinH, r * sinH + 25 * cosH)};
  const int32_t n = BuildFillet(true, 3, true, true, outer[0], outer[1], outer[2], inner[0],
                                inner[1], inner[2]);
  // Centre path of about 2 * 150 ft, measured between the midpoints of the
  // control points: 11 or 12 steps of 25 ft.
  double path = 0;
  for (size_t i = 0; i < 2; ++i) {
    path += std::hypot(0.5 * (outer[i + 1].x + inner[i + 1].x) - 0.5 * (outer[i].x + inner[i].x),
                       0.5 * (outer[i + 1].z + inner[i + 1].z) - 0.5 * (outer[i].z + inner[i].z));
  }
  EXPECT_EQ(n, static_cast<int32_t>(path / (25 * kFt)));
  EXPECT_GE(n, 11);
  EXPECT_EQ(Count(kPavementLayer), static_cast<size_t>(n));
  EXPECT_EQ(Count(kCentreLayer), static_cast<size_t>(n));
  // Lights on every second step: centre plus both edges.
  EXPECT_EQ(Count(kLightsLayer), static_cast<size_t>(3 * (n / 2)));
  for (const auto& l : FiledPieces(kLightsLayer)) {
    EXPECT_TRUE(l.attribute == 25 || l.attribute == 256 + 25);
  }
}

TEST_F(TaxiwayPolygonsTest, ShortFilletHasNoEdgeLights) {
  OneTile();
  // Centre path of 100 ft: 4 steps.
  const int32_t n = BuildFillet(true, 2, true, true, Ft(0, -10), Ft(50, -10), Ft(50, 40), Ft(0, 10),
                                Ft(50, 10), Ft(50, 60));
  EXPECT_EQ(n, 4);
  const auto lights = FiledPieces(kLightsLayer);
  ASSERT_EQ(lights.size(), 2u);  // centre lights at steps 2 and 4 only
  for (const auto& l : lights) EXPECT_EQ(l.attribute, 25);
}

TEST_F(TaxiwayPolygonsTest, FlagsChooseThePieces) {
  // Three 1000-ft segments in a straight line: three quads, two joints.
  struct Case {
    int32_t flags;
    size_t pave, centre, centreLights, edgeLights;
  } cases[] = {
      {kFlagPavement, 5, 0, 0, 0},
      {kFlagCentreLine, 0, 0, 0, 0},  // centre line only: left to the centre strip
      {kFlagPavement | kFlagCentreLine, 5, 5, 0, 0},
      {kFlagCentreLights, 0, 0, 5, 0},
      {kFlagEdgeLights, 0, 0, 0, 0},  // edge lights need pavement
      // The middle segment (both ends joined) and both joints get edge lights.
      {kFlagPavement | kFlagEdgeLights, 5, 0, 0, 2 + 2 * 2},
      {15, 5, 5, 5, 6},
  };
  for (const Case& c : cases) {
    SetUp();
    const int32_t v[] = {V(0, 0), V(1000, 0), V(2000, 0), V(3000, 0)};
    for (size_t i = 0; i < 3; ++i) E(v[i], v[i + 1], kTaxiway, 50, c.flags);
    Generate();
    EXPECT_EQ(Count(kPavementLayer), c.pave) << c.flags;
    EXPECT_EQ(Count(kCentreLayer), c.centre) << c.flags;
    size_t centreLights = 0, edgeLights = 0;
    for (const auto& l : FiledPieces(kLightsLayer)) ++(l.attribute < 256 ? centreLights : edgeLights);
    EXPECT_EQ(centreLights, c.centreLights) << c.flags;
    EXPECT_EQ(edgeLights, c.edgeLights) << c.flags;
  }
}

TEST_F(TaxiwayPolygonsTest, ConnectorHasNoPavementButItsJointIsPaved) {
  const int32_t a = V(-1000, 0), s = V(0, 0), b = V(1000, 0);
  E(a, s, kTaxiway, 50, kFlagPavement);
  E(s, b, kConnector, 50, kFlagPavement);
  Generate();
  EXPECT_EQ(Count(kPavementLayer), 2u);  // the taxiway and the joint
}

TEST_F(TaxiwayPolygonsTest, CentreStripOfACentreLineOnlyEdge) {
  OneTile();
  GenerateIsYellow(0, 0, 800 * kFt, 600 * kFt);
  GenerateIsYellow(5, 5, 5, 5);  // nothing for a point
  const auto centre = FiledPieces(kCentreLayer);
  ASSERT_EQ(centre.size(), 1u);
  EXPECT_NEAR(TotalArea(centre) / kSqFt, 1000.0, 1000.0 * 2 / kFt);
}

TEST_F(TaxiwayPolygonsTest, LongChainNeedsNoDeepStack) {
  // 6000 segments in one chain, back and forth along 75 rows of 80.
  int32_t previous = V(0, 0);
  for (int i = 1; i <= kMaxTaxiwaySegments; ++i) {
    const int row = i / 80, step = i % 80;
    const int32_t next = V((row % 2 == 0 ? step : 79 - step) * 100.0, row * 100.0);
    E(previous, next, kTaxiway, 20, kFlagPavement);
    previous = next;
  }
  Prepare();
  FileTaxiwaySegments(net);
  float feet = 0;
  double lowLeft[3];
  SetGridGeometry(feet, lowLeft);
  GenerateTaxiPolygons(net);
  EXPECT_GT(Count(kPavementLayer), 1000u);
}

}  // namespace
}  // namespace ostrand
