#include "ostrand/frame/point_grid.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace ostrand {
namespace {

struct At {
  double x, z;
};

// Cells of 32: 0..31 is cell 0, 32..63 cell 1, -32..-1 cell -1.
TEST(PointGridTest, FirstEntryWithinTheToleranceAsAScanFindsIt) {
  const std::vector<At> table = {{100, 100}, {31, 0}, {32, 0}, {0, 0}, {32, 0},
                                 {64, 64},   {-1, -1}, {-32, -32}, {-33, 5}};
  const struct {
    At query;
    double tolerance;
    int32_t first;
  } cases[] = {
      {{32, 0}, 1, 1},      // entry 1 in the cell before wins over entry 2 in the point's own
      {{32, 0}, 0, 2},      // tolerance 0: equal points only, the first of two equal ones
      {{33, 0}, 0, -1},
      {{0, 0}, 0, 3},
      {{63, 64}, 1, 5},     // a point on a cell border, found from either side
      {{65, 63}, 1, 5},
      {{63, 63}, 0, -1},
      {{0, 0}, 1, 3},       // entry 6 (cell -1) is within too, but later
      {{1, 1}, 2, 3},
      {{-31, -31}, 1, 7},   // negative coordinates, across the border at -32
      {{-32, 4}, 1, 8},
      {{-2, 0}, 1, 6},
      {{50, 50}, 1e12, 0},  // a box wider than the table: every entry in order
      {{500, 500}, 10, -1},
  };
  PointGrid grid(32);
  for (size_t i = 0; i < table.size(); ++i) grid.File(static_cast<int32_t>(i), table[i].x, table[i].z);
  for (const auto& c : cases) {
    auto within = [&](int32_t k) {
      const At& p = table[static_cast<size_t>(k)];
      return std::abs(p.x - c.query.x) <= c.tolerance && std::abs(p.z - c.query.z) <= c.tolerance;
    };
    EXPECT_EQ(grid.First(c.query.x, c.query.z, c.tolerance, within), c.first)
        << c.query.x << " " << c.query.z << " tolerance " << c.tolerance;
  }
  grid.Clear();
  EXPECT_EQ(grid.First(0, 0, 1, [](int32_t) { return true; }), -1);
}

}  // namespace
}  // namespace ostrand
