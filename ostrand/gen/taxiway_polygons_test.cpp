#include "ostrand/gen/taxiway_polygons.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "ostrand/gen/segment_list.h"
#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

constexpr int32_t kFt = testing::WorkingNetwork::kFt;

// A point at (x, z) feet, truncated to working units.
IntPoint Ft(double x, double z) {
  return IntPoint{static_cast<int32_t>(x * kFt), 0, static_cast<int32_t>(z * kFt)};
}

// One tile wide enough for every test network, so that pieces stay whole.
void OneTile(TileGrid& grid) { grid.SetGeometry(-(1 << 26), -(1 << 26), 1 << 28); }

class TaxiwayPolygonsTest : public testing::GenerationTest, protected testing::WorkingNetwork {
 protected:
  void SetUp() override { GenerationTest::SetUp(), net.ClearNetwork(); }
  // Segments, then one tile holding everything, then the surfaces.
  void Generate() {
    Prepare(run), FileTaxiwaySegments(run, net), OneTile(run.grid), GenerateTaxiPolygons(run, net);
  }
};

// The pieces of every layer for small networks, against the expected text:
// a straight taxiway, junction trims, joints on a bend by its turn, the
// flags choosing the pieces, a connector, fillets built directly, and the
// strip of a centre-line-only edge.
TEST_F(TaxiwayPolygonsTest, PiecesMatchExpected) {
  std::vector<std::pair<std::string, std::function<void()>>> cases;
  cases.emplace_back("straight 60 ft", [&] {
    const int32_t a = V(0, 0);
    E(a, V(1000, 300), kTaxiway, 60);
  });
  // Length, and junctions (spurs far off the line) at 0, 1 or 2 of its ends.
  for (const auto& [length, junctions] : std::vector<std::pair<int, int>>{
           {1000, 0}, {1000, 1}, {1000, 2}, {200, 2}, {250, 1}, {100, 1}, {25, 2}}) {
    const std::string name = "trim " + std::to_string(length) + " " + std::to_string(junctions);
    cases.emplace_back(name, [&, length, junctions] {
      const int32_t a = V(0, 0), b = V(length, 0);
      E(a, b);
      if (junctions >= 1) E(b, V(length, 1000));
      if (junctions >= 2) E(a, V(0, 1000));
    });
  }
  for (double turn : {0, 10, -10, 25, 45, -45, 90, 120, 160, -160}) {
    cases.emplace_back("bend " + std::to_string(static_cast<int>(turn)), [&, turn] {
      const double h = turn * std::numbers::pi / 180;
      const int32_t s = V(0, 0);
      E(V(-1000, 0), s, kTaxiway, 50, kFlagPavement);
      E(s, V(1000 * std::cos(h), 1000 * std::sin(h)), kTaxiway, 50, kFlagPavement);
    });
  }
  // Three 1000-ft segments in a straight line off the axis: three quads, two joints.
  for (int32_t flags : {kFlagPavement, kFlagCentreLine, kFlagPavement | kFlagCentreLine,
                        kFlagCentreLights, kFlagEdgeLights, kFlagPavement | kFlagEdgeLights, 15}) {
    cases.emplace_back("flags " + std::to_string(flags), [&, flags] {
      const int32_t v[] = {V(0, 100), V(1000, 100), V(2000, 100), V(3000, 100)};
      for (size_t i = 0; i < 3; ++i) E(v[i], v[i + 1], kTaxiway, 50, flags);
    });
  }
  cases.emplace_back("connector: its joint is paved", [&] {
    const int32_t s = V(0, 0);
    E(V(-1000, 0), s, kTaxiway, 50, kFlagPavement);
    E(s, V(1000, 0), kConnector, 50, kFlagPavement);
  });
  std::string text;
  for (const auto& [name, build] : cases) {
    SetUp(), build(), Generate();
    text += "== " + name + "\n" + FiledPiecesText();
  }
  // A 45-degree bend of a 50-ft taxiway as a fillet, with the near corners
  // 150 ft from the bend: lights on every second step, centre and edges.
  SetUp(), OneTile(run.grid);
  const double h = std::numbers::pi / 4, r = 150;
  const int32_t steps =
      BuildFillet(run, StyleOf(15), Ft(-r, -25), Ft(std::tan(h / 2) * 25, -25),
                  Ft(r * std::cos(h) + 25 * std::sin(h), r * std::sin(h) - 25 * std::cos(h)),
                  Ft(-r, 25), Ft(-std::tan(h / 2) * 25, 25),
                  Ft(r * std::cos(h) - 25 * std::sin(h), r * std::sin(h) + 25 * std::cos(h)));
  text += "== fillet of " + std::to_string(steps) + " steps\n" + FiledPiecesText();
  // A centre path of 100 ft: 4 steps, too short for edge lights (flags 13:
  // asked for with pavement and centre lights).
  SetUp(), OneTile(run.grid);
  const int32_t shortSteps = BuildFillet(run, StyleOf(13), Ft(0, -10), Ft(50, -10), Ft(50, 40),
                                         Ft(0, 10), Ft(50, 10), Ft(50, 60));
  text += "== short fillet of " + std::to_string(shortSteps) + " steps\n" + FiledPiecesText();
  SetUp(), OneTile(run.grid);
  GenerateIsYellow(run, 0, 0, 800 * kFt, 600 * kFt);
  GenerateIsYellow(run, 5, 5, 5, 5);  // nothing for a point
  text += "== centre strip\n" + FiledPiecesText();
  testing::ExpectMatchesFile(text, "taxiway_polygons.txt");
}

}  // namespace
}  // namespace ostrand
