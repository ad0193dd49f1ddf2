#include "ostrand/gen/snapping.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <span>
#include <string>
#include <vector>

#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

class SnappingTest : public testing::GenerationTest, protected testing::WorkingNetwork {
 protected:
  void SetUp() override { GenerationTest::SetUp(), net.ClearNetwork(); }
  // The four stages, then the network as text: every vertex (x z in
  // units, degree) and every edge (from to type width flags).
  std::string RepairedText() {
    Prepare(run), SnapEndPointsToRunways(run, net), AddRunwayConnectors(run, net);
    MakeTaxiwayTaxiwayIntersections(run, net), SnapEndPointsToTaxiways(run, net);
    std::string text;
    const auto line = [&text](const std::string& head, std::initializer_list<int32_t> values) {
      text += head;
      for (int32_t v : values) text += " " + std::to_string(v);
      text += "\n";
    };
    for (int32_t i = 0; i < net.points.count; ++i)
      line("v" + std::to_string(i), {net.vertex(i).x, net.vertex(i).z, run.PointDegree(i)});
    for (const Edge& e : std::span(net.edges.data(), static_cast<size_t>(net.edgeCount)))
      line("e", {e.from, e.to, e.type, e.width, e.flags});
    return text;
  }
  // An edge between two new vertices, made in this order.
  void L(double x1, double z1, double x2, double z2, int32_t type = kTaxiway, int32_t extraZ1 = 0) {
    const int32_t a = V(x1, z1, 0, extraZ1);
    E(a, V(x2, z2), type, type == kRunway ? 150 : 50);
  }
  testing::CaptureConsole console;
};

// Small networks through the four repairs, against the expected text.
TEST_F(SnappingTest, RepairsMatchExpected) {
  std::vector<std::pair<std::string, std::function<void()>>> cases;
  // A runway 10000 ft long along x, and a taxiway 1000 ft long from its
  // dead end (x, -gap) feet, less `extra` units, at `heading` degrees.
  // Snapped within 150 ft and at 20 degrees or more from the runway's
  // line, with connectors 200 ft either side within 115 degrees of turn
  // and not too near an end. The last one's line meets the runway's 264 ft
  // beyond end b: not within 200 ft of both ends, it stays.
  const double runwayCases[][4] = {{5000, 100, 0, -90}, {5000, 150, 0, -90}, {5000, 150, 1, -90},
                                   {5000, 151, 0, -90}, {5000, 100, 0, -25}, {5000, 100, 0, -15},
                                   {5000, 100, 0, 205}, {5000, 100, 0, 195}, {5000, 100, 0, -170},
                                   {5000, 0, 0, -60},   {5000, 0, 0, -120},  {800, 0, 0, -90},
                                   {9200, 0, 0, -90},   {10050, 100, 0, 205}};
  for (const auto& c : runwayCases) {
    std::string name = "runway";
    for (double v : c) name += " " + std::to_string(static_cast<int>(v));
    cases.emplace_back(name, [&, c] {
      L(0, 0, 10000, 0, kRunway);
      const double h = c[3] * std::numbers::pi / 180;
      L(c[0], -c[1], c[0] + 1000 * std::cos(h), -c[1] + 1000 * std::sin(h), kTaxiway,
        -static_cast<int32_t>(c[2]));
    });
  }
  cases.emplace_back("runway after its taxiway, whose far end is vertex 0", [&] {
    const int32_t far = V(5000, -1100);
    E(far, V(5000, -100));
    L(0, 0, 10000, 0, kRunway);
  });
  cases.emplace_back("a connector ends on vertex 0", [&] {
    V(4800, 0);
    E(V(5000, -1100), V(5000, -100));
    L(0, 0, 10000, 0, kRunway);
  });
  cases.emplace_back("crossing at 30 degrees", [&] { L(0, 0, 1000, 0), L(-366, -500, 1366, 500); });
  cases.emplace_back("runway with coincident ends", [&] {
    L(0, 0, 0, 0, kRunway);
    L(0, -50, 0, -1000);
  });
  // Two taxiways crossing at `cross` feet from the first one's start,
  // split at least 200 ft from every end; with a third taxiway's vertex
  // 150 ft from the crossing (1), or beyond 100 taxiway edges (99), not.
  for (const auto& [cross, others] : std::vector<std::pair<int, int>>{
           {500, 0}, {200, 0}, {199, 0}, {800, 0}, {801, 0}, {500, 1}, {500, 99}}) {
    const std::string name = "crossing " + std::to_string(cross) + " " + std::to_string(others);
    cases.emplace_back(name, [&, cross, others] {
      L(0, 0, 1000, 0), L(cross, -500, cross, 500);
      if (others == 1) L(590, 120, 2000, 2000);
      for (int i = 0; others > 1 && i < others; ++i) L(5000 + i * 10, 5000, 5000 + i * 10, 6000);
    });
  }
  // A dead end `gap` feet and `extra` units short of a crossing taxiway,
  // meeting it `x` feet from its start: snapped within 150 ft, and at
  // least 100 ft inside the other.
  for (const auto& c : std::vector<std::array<int, 3>>{
           {1000, 150, 0}, {1000, 150, 1}, {1000, 10, 0}, {100, 50, 0}, {99, 50, 0}, {1900, 50, 0},
           {1901, 50, 0}}) {
    cases.emplace_back("dead end " + std::to_string(c[0]) + " " + std::to_string(c[1]) + " " +
                       std::to_string(c[2]), [&, c] {
      L(0, 0, 2000, 0);
      const int32_t q = V(c[0], -1000);
      E(q, V(c[0], -c[1], 0, -c[2]));
    });
  }
  // A dead end 70 ft short of a taxiway so long that its reach covers
  // hundreds of 1024-ft cells.
  cases.emplace_back("dead end onto a long diagonal", [&] { L(0, 0, 30000, 30000), L(20000, 10000, 15050, 14950); });
  // An isolated taxiway of at most 500 ft is a stub (type 101).
  cases.emplace_back("stub of 500 ft", [&] { L(0, 0, 500, 0); });
  cases.emplace_back("500 ft and a unit", [&] {
    const int32_t a = V(0, 0);
    E(a, V(500, 0, 1));
  });
  cases.emplace_back("broken edges take no part", [&] {
    const int32_t a = V(0, 0), b = V(1000, 0);
    E(a, b), E(a, 50000), E(-3, b), L(500, -500, 500, 500), E(70000, 2, kRunway);
  });
  std::string text;
  for (const auto& [name, build] : cases) {
    SetUp(), build();
    text += "== " + name + "\n" + RepairedText();
  }
  testing::ExpectMatchesFile(text, "snapping.txt");
  EXPECT_EQ(OtherEnd(net, 50000), -1);
  EXPECT_NE(console.Text().find(
                "SnapEndPointsToRunways()\nMakeTaxiwayTaxiwayIntersections() edges=101\n"),
            std::string::npos);
}

TEST_F(SnappingTest, EveryTaxiwayCrossingEveryOtherStaysBounded) {
  // 30 horizontal and 30 vertical taxiways, 400 ft apart: 900 crossings.
  for (int i = 0; i < 30; ++i) L(-100, i * 400.0, 12000, i * 400.0);
  for (int i = 0; i < 30; ++i) L(i * 400.0, -100, i * 400.0, 12000);
  Prepare(run);
  MakeTaxiwayTaxiwayIntersections(run, net);
  // Crossings 100 ft from the first column and row stay whole.
  EXPECT_EQ(net.edgeCount, 60 + 2 * 29 * 29);
  // Then every dead end, 100 ft short of a crossing taxiway, is snapped.
  SnapEndPointsToTaxiways(run, net);
  EXPECT_EQ(net.edgeCount, 60 + 2 * 29 * 29 + 59);
}

}  // namespace
}  // namespace ostrand
