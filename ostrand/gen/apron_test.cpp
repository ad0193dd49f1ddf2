#include "ostrand/gen/apron.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/bgr_tms.h"
#include "ostrand/gen/grid_inspection.h"
#include "ostrand/gen/network_fixture.h"
#include "ostrand/gen/tile_grid.h"

namespace ostrand {
namespace {

using testing::FiledPieces;
using testing::ReadFileBytes;
using testing::TotalArea;

std::string Outline(const std::vector<std::pair<int, int>>& points, const char* name = "A") {
  std::string text;
  for (const auto& p : points)
    text += "POI " + std::to_string(p.first) + " " + std::to_string(p.second) + "\n";
  return text + "PLY \"" + name + "\"\n";
}

class ApronTest : public testing::GenerationTest {
 protected:
  // Both passes over the file, with the grid sized between them as the
  // pipeline does; gives the paved area in square feet.
  double Run(const std::string& text) {
    ResetGenerationState();
    testing::WriteFileBytes("T.PLY", text);
    TaxiwayList net;
    net.plyPath = "T.PLY";
    EXPECT_EQ(net.OpenPly("r"), 1);
    GenerateApron(net, 0);
    box = GenerationBox();
    SetGridGeometry(feet, lowLeft);
    GenerateApron(net, 1);
    return TotalArea(FiledPieces(kPavementLayer)) / 65536.0;
  }
  testing::CaptureConsole console;
  BoundingBox box;
  float feet = 0;
  double lowLeft[3] = {0, 0, 0};
};

TEST_F(ApronTest, OutlinesArePavedOnce) {
  const auto square = Outline({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  const auto other = Outline({{1000, 0}, {1100, 0}, {1100, 100}});
  // Every shifted place of the repeated first vertex is taken already: the
  // outline uses a point twice and is skipped.
  const std::vector<std::pair<int, int>> staircase = {
      {0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}, {3, 2}, {3, 3}, {4, 3}, {4, 4}, {5, 4}, {0, 0}};
  const struct {
    const char* name;
    std::string text;
    double area;
  } cases[] = {
      {"twice in a row: once", square + square, 10000},
      {"with another between: twice", square + other + square, 25000},
      {"two points only", Outline({{0, 0}, {5, 5}}), 0},
      // The closing repeat of the first vertex is shifted a foot and kept:
      // a fifth corner on the last side.
      {"closed outline", Outline({{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}}), 10000},
      // Here the shifted copy lies on the first side: a sliver no ear can
      // be cut from, so the outline is paved without it.
      {"closed outline, first side along x",
       Outline({{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}), 10000},
      {"closed concave outline",
       Outline({{0, 0},
                {300, 0},
                {300, 300},
                {200, 300},
                {200, 100},
                {100, 100},
                {100, 300},
                {0, 300},
                {0, 0}}),
       70000},
      {"a point used twice", Outline(staircase) + Outline(staircase, "B"), 0},
  };
  for (const auto& c : cases) EXPECT_NEAR(Run(c.text), c.area, 0.01) << c.name;
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_EQ(log.find("triangulation failed"), std::string::npos);
  EXPECT_EQ(testing::Occurrences(log, "WARNING:GenerateApron complex/holes in PLY 0 0\n"), 1)
      << log;
}

TEST_F(ApronTest, FirstPassSizesTheGridSecondPaves) {
  EXPECT_DOUBLE_EQ(Run("ORG 1 2\n" + Outline({{0, 0}, {100, 0}, {100, 100}})), 5000.0);
  EXPECT_EQ(std::vector<double>({box.minX, box.maxX, box.maxZ}),
            std::vector<double>({0, 100 * 256, 100 * 256}));
  EXPECT_EQ(feet, 500.0f);  // never below 500 ft
  EXPECT_EQ(lowLeft[0], -500.0);
  EXPECT_EQ(FiledPieces(kPavementLayer).size(), 1u);
  EXPECT_EQ(console.Text(), "GenerateApron(0)\nGenerateApron(1)\n");

  // A U over several tiles: the notch between its arms is not paved.
  EXPECT_NEAR(Run(Outline({{0, 0},
                           {3000, 0},
                           {3000, 3000},
                           {2000, 3000},
                           {2000, 1000},
                           {1000, 1000},
                           {1000, 3000},
                           {0, 3000}})),
              3000.0 * 3000 - 1000.0 * 2000, 50.0);
  const auto pieces = FiledPieces(kPavementLayer);
  EXPECT_NEAR(TotalArea(pieces), Grid().handedArea[kPavementLayer],
              pieces.size() * 0.5 * Grid().tileSize);
  for (const auto& p : pieces) {
    EXPECT_TRUE(testing::InsideItsTile(p));
    double cx = 0, cz = 0;
    for (const auto& q : p.corners) {
      cx += q.x / 256.0 / static_cast<double>(p.corners.size());
      cz += q.z / 256.0 / static_cast<double>(p.corners.size());
    }
    EXPECT_FALSE(cx > 1000 && cx < 2000 && cz > 1000) << cx << " " << cz;
  }

  // Without a polygon file: nothing.
  ResetGenerationState();
  TaxiwayList none;
  none.plyPath = "MISSING.PLY";
  GenerateApron(none, 0);
  GenerateApron(none, 1);
  EXPECT_TRUE(FiledPieces(kPavementLayer).empty());
}

}  // namespace
}  // namespace ostrand
