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
  // A runway 10000 ft long along x from the origin, and a taxiway from
  // (x, z) feet (plus extra units in z) 1000 ft long at `headingDeg`.
  int32_t RunwayAndTaxiway(double x, double z, double headingDeg, int32_t extraZ = 0) {
    E(V(0, 0), V(10000, 0), kRunway, 150);
    const double h = headingDeg * std::numbers::pi / 180;
    const int32_t p = V(x, z, 0, extraZ);
    E(p, V(x + 1000 * std::cos(h), z + 1000 * std::sin(h)));
    Prepare();
    return p;
  }
  testing::CaptureConsole console;
};

TEST_F(SnappingTest, DeadEndNearARunwayIsSnappedAndGetsConnectors) {
  // Where the taxiway starts (its dead end) and its heading from there;
  // whether it is snapped onto the runway, then which connectors it gets
  // (200 ft towards end a, towards end b).
  const struct { double x, gapFt; int32_t extraUnits; double heading; bool snapped, towardA, towardB; } cases[] = {
      {5000, 100, 0, -90, true, true, true},    {5000, 150, 0, -90, true, true, true},
      {5000, 150, 1, -90, false, false, false}, {5000, 151, 0, -90, false, false, false},
      {5000, 100, 0, -25, true, true, false},   {5000, 100, 0, -15, false, false, false},
      {5000, 100, 0, 205, true, false, true},   {5000, 100, 0, 195, false, false, false},
      {5000, 100, 0, -170, false, false, false},
      {5000, 0, 0, -60, true, true, false},     {5000, 0, 0, -120, true, false, true},  // the 115-degree turn limit
      {800, 0, 0, -90, true, false, true},      {9200, 0, 0, -90, true, true, false},   // too near an end
      // Near end b, but its line meets the runway's 264 ft beyond it: more
      // than 200 ft from end a's far side, so it stays where it is.
      {10050, 100, 0, 205, false, false, false},
  };
  for (const auto& c : cases) {
    SetUp();
    const int32_t p = RunwayAndTaxiway(c.x, -c.gapFt, c.heading, -c.extraUnits);
    SnapEndPointsToRunways(net);
    const std::string name = std::to_string(c.x) + " " + std::to_string(c.gapFt) + " " + std::to_string(c.heading);
    EXPECT_EQ(net.points[p].z == 0, c.snapped) << name;
    EXPECT_TRUE(!c.snapped || c.heading != -90 || net.points[p].x == c.x * kFt) << name;
    ASSERT_EQ(net.edgeCount, 2);
    AddRunwayConnectors(net);
    bool foundA = false, foundB = false;
    for (int32_t i = 2; i < net.edgeCount; ++i) {
      const Edge& e = net.edges[static_cast<size_t>(i)];
      EXPECT_EQ(std::vector<int32_t>({e.type, e.from, e.width, e.flags, PointDegree(e.to), net.points[e.to].z}),
                std::vector<int32_t>({kConnector, p, 150 * kFt, 15, 1, 0})) << name;
      foundA = foundA || net.points[e.to].x - net.points[p].x == -200 * kFt;
      foundB = foundB || net.points[e.to].x - net.points[p].x == 200 * kFt;
    }
    EXPECT_EQ(std::pair(foundA, foundB), std::pair(c.towardA, c.towardB)) << name;
    EXPECT_EQ(net.edgeCount, 2 + int{c.towardA} + int{c.towardB}) << name;
    EXPECT_EQ(PointDegree(p), net.edgeCount - 1) << name;
  }
  EXPECT_NE(console.Text().find("SnapEndPointsToRunways()\n"), std::string::npos);

  // A runway whose two ends coincide has no direction: no connectors.
  SetUp();
  E(V(0, 0), V(0, 0), kRunway, 150);
  E(V(0, -50), V(0, -1000));
  Prepare();
  SnapEndPointsToRunways(net);
  AddRunwayConnectors(net);
  EXPECT_EQ(net.edgeCount, 2);
}

TEST_F(SnappingTest, CrossingTaxiwaysAreSplitAtLeast200FeetFromEveryEnd) {
  // Crossing distance from the start of the first taxiway; further
  // taxiways: 1 with a vertex 150 ft from the crossing, or many far off.
  const struct { double crossFt; int others; bool split; } cases[] = {
      {500, 0, true}, {200, 0, true},   {199, 0, false}, {800, 0, true}, {801, 0, false},
      {500, 1, false}, {500, 99, false}};  // no search at all beyond 100 taxiway edges
  for (const auto& c : cases) {
    SetUp();
    const int32_t a = V(0, 0), b = V(1000, 0);
    E(a, b);
    const int32_t c2 = V(c.crossFt, 500);
    E(V(c.crossFt, -500), c2);
    if (c.others == 1) E(V(590, 120), V(2000, 2000));
    for (int i = 0; c.others > 1 && i < c.others; ++i) E(V(5000 + i * 10, 5000), V(5000 + i * 10, 6000));
    Prepare();
    MakeTaxiwayTaxiwayIntersections(net);
    ASSERT_EQ(net.edgeCount, (c.split ? 4 : 2) + c.others) << c.crossFt << " " << c.others;
    if (!c.split) continue;
    const int32_t v = net.edges[0].to;
    EXPECT_EQ(std::vector<int32_t>({net.points[v].x, net.points[v].z, PointDegree(v), net.edges[1].to,
                                    net.edges[2].from, net.edges[2].to, net.edges[3].from, net.edges[3].to}),
              std::vector<int32_t>({static_cast<int32_t>(c.crossFt * kFt), 0, 4, v, v, b, v, c2})) << c.crossFt;
  }
  EXPECT_NE(console.Text().find("MakeTaxiwayTaxiwayIntersections() edges=101\n"), std::string::npos);
}

TEST_F(SnappingTest, DeadEndIsSnappedOntoACrossingTaxiway) {
  // Where the extended taxiway meets the other, how far (feet and units)
  // short it ends.
  const struct { double xFt, gapFt; int32_t extra; bool snapped; } cases[] = {
      {1000, 150, 0, true}, {1000, 150, 1, false}, {1000, 10, 0, true}, {100, 50, 0, true},
      {99, 50, 0, false},   {1900, 50, 0, true},   {1901, 50, 0, false}};
  for (const auto& c : cases) {
    SetUp();
    const int32_t a = V(0, 0), b = V(2000, 0);
    E(a, b);
    const int32_t p = V(c.xFt, -c.gapFt, 0, -c.extra);
    E(V(c.xFt, -1000), p);
    Prepare();
    SnapEndPointsToTaxiways(net);
    ASSERT_EQ(net.edgeCount, c.snapped ? 3 : 2) << c.xFt << " " << c.gapFt;
    if (!c.snapped) continue;
    EXPECT_EQ(std::vector<int32_t>({net.points[p].x, net.points[p].z, net.edges[0].to, net.edges[2].from,
                                    net.edges[2].to, PointDegree(p)}),
              std::vector<int32_t>({static_cast<int32_t>(c.xFt * kFt), 0, p, p, b, 3})) << c.xFt;
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
