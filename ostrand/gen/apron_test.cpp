#include "ostrand/gen/apron.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

// A polygon of the polygon file from x, z pairs in feet.
std::string Outline(const std::vector<int>& xz, const char* name = "A") {
  std::string text;
  for (size_t i = 0; i + 1 < xz.size(); i += 2) {
    text += "POI " + std::to_string(xz[i]) + " " + std::to_string(xz[i + 1]) + "\n";
  }
  return text + "PLY \"" + name + "\"\n";
}

using ApronTest = testing::GenerationTest;

// Both passes over small polygon files, with the grid sized between them
// as the pipeline does, against the expected text: the box and grid of the
// first pass, then the pieces paved. An outline is paved once when it
// repeats the one before; one of two points is not; the closing repeat of
// the first vertex is shifted a foot and kept (a fifth corner on the last
// side), unless the shifted copy lies on the first side (a sliver no ear
// can be cut from: paved without it); an outline that uses a point twice
// (every shifted place of its repeated first vertex is taken) is skipped
// and reported once; a concave outline keeps its notch open.
TEST_F(ApronTest, PiecesMatchExpected) {
  const auto square = Outline({0, 0, 100, 0, 100, 100, 0, 100});
  const auto other = Outline({1000, 0, 1100, 0, 1100, 100});
  const auto staircase =
      Outline({0, 0, 1, 0, 1, 1, 2, 1, 2, 2, 3, 2, 3, 3, 4, 3, 4, 4, 5, 4, 0, 0});
  const std::string cases[] = {
      "ORG 1 2\n" + Outline({0, 0, 100, 0, 100, 100}),
      square + square, square + other + square, Outline({0, 0, 5, 5}),
      Outline({0, 0, 0, 100, 100, 100, 100, 0, 0, 0}),
      Outline({0, 0, 100, 0, 100, 100, 0, 100, 0, 0}),
      Outline({0, 0, 300, 0, 300, 300, 200, 300, 200, 100, 100, 100, 100, 300, 0, 300, 0, 0}),
      staircase + staircase,
      Outline({0, 0, 3000, 0, 3000, 3000, 2000, 3000, 2000, 1000, 1000, 1000, 1000, 3000, 0, 3000}),
  };
  std::string text;
  for (const auto& file : cases) {
    NewRun();
    testing::WriteFileBytes("T.PLY", file);
    PolygonFile polygons;
    EXPECT_EQ(polygons.OpenForReading("T.PLY"), 1);
    GenerateApron(run, polygons, 0);
    const BoundingBox box = run.box;
    float feet = 0;
    double lowLeft[3] = {0, 0, 0};
    SetGridGeometry(run, feet, lowLeft);
    GenerateApron(run, polygons, 1);
    char head[120];
    std::snprintf(head, sizeof head, "== box %g %g %g %g, tiles of %g ft from %g %g\n", box.minX,
                  box.minZ, box.maxX, box.maxZ, feet, lowLeft[0], lowLeft[2]);
    text += head + FiledPiecesText();
  }
  testing::ExpectMatchesFile(text, "apron.txt");
  const std::string log = testing::ReadFileBytes("report.txt");
  EXPECT_EQ(testing::Occurrences(log, "WARNING:GenerateApron complex/holes in PLY 0 0\n"), 1)
      << log;
}

}  // namespace
}  // namespace ostrand
