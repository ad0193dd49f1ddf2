#include "ostrand/gen/snapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/bgr_tms.h"
#include "ostrand/gen/network_fixture.h"
#include "ostrand/gen/segment_list.h"
#include "ostrand/gen/tile_grid.h"

namespace ostrand {
namespace {

constexpr int32_t kFt = testing::WorkingNetwork::kFt;

class SnappingTest : public testing::GenerationTest, protected testing::WorkingNetwork {
 protected:
  void SetUp() override {
    GenerationTest::SetUp();
    net.ClearNetwork();
  }

  int32_t RunwayAndTaxiway(double x, double z, double headingDeg, int32_t extraZ = 0);
  testing::CaptureConsole console;
};

// A runway 10000 ft long along x from the origin, and a taxiway from
// (x, z) feet (plus extra units in z) 1000 ft long at `headingDeg`.
int32_t SnappingTest::RunwayAndTaxiway(double x, double z, double headingDeg, int32_t extraZ) {
  E(V(0, 0), V(10000, 0), kRunway, 150);
  const double h = headingDeg * std::numbers::pi / 180;
  const int32_t p = V(x, z, 0, extraZ);
  E(p, V(x + 1000 * std::cos(h), z + 1000 * std::sin(h)));
  Prepare();
  return p;
}

TEST_F(SnappingTest, DeadEndIsSnappedOntoRunwayWithin150FeetAndNotAtShallowAngles) {
  // Heading of the taxiway from its dead end to its far end, in degrees.
  struct Case {
    double gapFt;
    int32_t extraUnits;
    double heading;
    bool snapped;
  } cases[] = {{100, 0, -90, true},   {150, 0, -90, true},   {150, 1, -90, false},
               {151, 0, -90, false},  {100, 0, -25, true},   {100, 0, -15, false},
               {100, 0, 205, true},   {100, 0, 195, false},  {100, 0, -170, false}};
  for (const Case& c : cases) {
    SetUp();
    const int32_t p = RunwayAndTaxiway(5000, -c.gapFt, c.heading, -c.extraUnits);
    SnapEndPointsToRunways(net);
    EXPECT_EQ(net.points[p].z == 0, c.snapped) << c.gapFt << " " << c.heading;
    EXPECT_TRUE(!c.snapped || c.heading != -90 || net.points[p].x == 5000 * kFt) << c.gapFt;
    EXPECT_EQ(net.edgeCount, 2);
    AddRunwayConnectors(net);
    EXPECT_EQ(net.edgeCount > 2, c.snapped) << c.heading;  // connectors only when snapped
  }
  EXPECT_NE(console.Text().find("SnapEndPointsToRunways()\n"), std::string::npos);
}

TEST_F(SnappingTest, ConnectorsGo200FeetEitherSideWithinTheTurnLimit) {
  struct Case {
    double xFt;     // where the taxiway meets the runway
    double heading; // taxiway direction from the runway, degrees
    bool towardA, towardB;
  } cases[] = {
      {5000, -90, true, true},   // square: both
      {5000, -60, true, false},  // the turn towards b exceeds 115 degrees
      {5000, -120, false, true}, // the turn towards a exceeds 115 degrees
      {800, -90, false, true},   // too near end a: no connector towards it
      {9200, -90, true, false},  // too near end b
  };
  for (const Case& c : cases) {
    SetUp();
    const int32_t p = RunwayAndTaxiway(c.xFt, 0, c.heading);
    AddRunwayConnectors(net);
    bool foundA = false, foundB = false;
    for (int32_t i = 2; i < net.edgeCount; ++i) {
      const Edge& e = net.edges[static_cast<size_t>(i)];
      EXPECT_EQ(e.type, kConnector);
      EXPECT_EQ(e.from, p);
      EXPECT_EQ(e.width, 150 * kFt);
      EXPECT_EQ(e.flags, 15);
      EXPECT_EQ(PointDegree(e.to), 1);
      const IntPoint& t = net.points[e.to];
      EXPECT_EQ(t.z, 0);
      if (t.x == (c.xFt - 200) * kFt) foundA = true;
      if (t.x == (c.xFt + 200) * kFt) foundB = true;
    }
    EXPECT_EQ(foundA, c.towardA) << c.xFt << " " << c.heading;
    EXPECT_EQ(foundB, c.towardB) << c.xFt << " " << c.heading;
    EXPECT_EQ(net.edgeCount, 2 + (c.towardA ? 1 : 0) + (c.towardB ? 1 : 0));
    EXPECT_EQ(PointDegree(p), 1 + net.edgeCount - 2);
  }
}

TEST_F(SnappingTest, RunwayWithCoincidentEndsGetsNoConnectors) {
  const int32_t a = V(0, 0), b = V(0, 0);
  E(a, b, kRunway, 150);
  const int32_t p = V(0, -50);
  E(p, V(0, -1000));
  Prepare();
  SnapEndPointsToRunways(net);
  AddRunwayConnectors(net);
  EXPECT_EQ(net.edgeCount, 2);
}

TEST_F(SnappingTest, CrossingTaxiwaysAreSplitAtLeast200FeetFromEveryEnd) {
  struct Case {
    double crossFt;  // crossing distance from the start of the first taxiway
    int others;      // further taxiways: 1 with a vertex 150 ft from the crossing, or many far off
    bool split;
  } cases[] = {{500, 0, true},  {200, 0, true}, {199, 0, false}, {800, 0, true},
               {801, 0, false}, {500, 1, false},
               {500, 99, false}};  // no search at all beyond 100 taxiway edges
  for (const Case& c : cases) {
    SetUp();
    const int32_t a = V(0, 0), b = V(1000, 0);
    E(a, b);
    const int32_t c1 = V(c.crossFt, -500), c2 = V(c.crossFt, 500);
    E(c1, c2);
    if (c.others == 1) E(V(590, 120), V(2000, 2000));
    for (int i = 0; c.others > 1 && i < c.others; ++i) {
      E(V(5000 + i * 10, 5000), V(5000 + i * 10, 6000));
    }
    Prepare();
    MakeTaxiwayTaxiwayIntersections(net);
    ASSERT_EQ(net.edgeCount, (c.split ? 4 : 2) + c.others) << c.crossFt << " " << c.others;
    if (!c.split) continue;
    const int32_t v = net.edges[0].to;
    EXPECT_EQ(net.points[v].x, c.crossFt * kFt);
    EXPECT_EQ(net.points[v].z, 0);
    EXPECT_EQ(PointDegree(v), 4);
    EXPECT_EQ(net.edges[1].to, v);
    EXPECT_EQ(net.edges[2].from, v);
    EXPECT_EQ(net.edges[2].to, b);
    EXPECT_EQ(net.edges[3].from, v);
    EXPECT_EQ(net.edges[3].to, c2);
  }
  EXPECT_NE(console.Text().find("MakeTaxiwayTaxiwayIntersections() edges=101\n"),
            std::string::npos);
}


TEST_F(SnappingTest, DeadEndIsSnappedOntoACrossingTaxiway) {
  struct Case {
    double xFt;       // where the extended taxiway meets the other
    double gapFt;     // how far short it ends
    int32_t extra;    // and how many units more
    bool snapped;
  } cases[] = {{1000, 150, 0, true}, {1000, 150, 1, false}, {1000, 10, 0, true},
               {100, 50, 0, true},   {99, 50, 0, false},    {1900, 50, 0, true},
               {1901, 50, 0, false}};
  for (const Case& c : cases) {
    SetUp();
    const int32_t a = V(0, 0), b = V(2000, 0);
    E(a, b);
    const int32_t p = V(c.xFt, -c.gapFt, 0, -c.extra);
    const int32_t q = V(c.xFt, -1000);
    E(q, p);
    Prepare();
    SnapEndPointsToTaxiways(net);
    ASSERT_EQ(net.edgeCount, c.snapped ? 3 : 2) << c.xFt << " " << c.gapFt;
    if (!c.snapped) continue;
    EXPECT_EQ(net.points[p].x, c.xFt * kFt);
    EXPECT_EQ(net.points[p].z, 0);
    EXPECT_EQ(net.edges[0].to, p);
    EXPECT_EQ(net.edges[2].from, p);
    EXPECT_EQ(net.edges[2].to, b);
    EXPECT_EQ(PointDegree(p), 3);
  }
}

TEST_F(SnappingTest, BrokenEdgesTakeNoPart) {
  const int32_t a = V(0, 0), b = V(1000, 0);
  E(a, b);
  E(a, 50000);
  E(-3, b);
  E(V(500, -500), V(500, 500));
  E(70000, 2, kRunway);
  Prepare();
  SnapEndPointsToRunways(net);
  AddRunwayConnectors(net);
  MakeTaxiwayTaxiwayIntersections(net);
  SnapEndPointsToTaxiways(net);
  EXPECT_EQ(OtherEnd(net, 50000), -1);
  EXPECT_EQ(net.edgeCount, 7);  // the one sound crossing is split
}

TEST_F(SnappingTest, EveryTaxiwayCrossingEveryOtherStaysBounded) {
  // 30 horizontal and 30 vertical taxiways, 400 ft apart: 900 crossings.
  for (int i = 0; i < 30; ++i) E(V(-100, i * 400.0), V(12000, i * 400.0));
  for (int i = 0; i < 30; ++i) E(V(i * 400.0, -100), V(i * 400.0, 12000));
  Prepare();
  MakeTaxiwayTaxiwayIntersections(net);
  // Crossings 100 ft from the first column and row stay whole.
  EXPECT_EQ(net.edgeCount, 60 + 2 * 29 * 29);
  // Then every dead end, 100 ft short of a crossing taxiway, is snapped.
  SnapEndPointsToTaxiways(net);
  EXPECT_EQ(net.edgeCount, 60 + 2 * 29 * 29 + 59);
}

}  // namespace
}  // namespace ostrand
