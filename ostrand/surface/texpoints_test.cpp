#include "ostrand/surface/texpoints.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

// The index Add returns for a point after `table` was filled, and whether it
// appended; each row also counts the usage of the entry it names.
TEST(TexpointsTest, MatchWithinTheTolerancePerAxis) {
  const std::vector<IntPoint> one{{100, 0, 100}};
  const struct { const char* name; std::vector<IntPoint> table; IntPoint point;
    int32_t tolerance, expected; } rows[] = {
      {"exact", one, {100, 0, 100}, 0, 0}, {"x within", one, {103, 0, 100}, 3, 0},
      {"all axes at the limit", one, {97, -3, 103}, 3, 0}, {"x one past", one, {104, 0, 100}, 3, 1},
      {"z one past", one, {100, 0, 96}, 3, 1}, {"y one past", one, {100, 4, 100}, 3, 1},
      {"per axis, not euclidean", one, {103, 3, 103}, 3, 0},
      {"tolerance 0 off by one", one, {101, 0, 100}, 0, 1},
      {"append only", one, {100, 0, 100}, -1, 1},
      // INT32_MAX - INT32_MIN overflows 32 bits; it must not match.
      {"difference beyond 32 bits", {{INT32_MIN, 0, 0}}, {INT32_MAX, 0, 0}, 10, 1},
      {"near the 32-bit limit", {{INT32_MIN, 0, 0}}, {INT32_MIN + 5, 0, 0}, 10, 0},
      {"first match in table order", {{0, 0, 0}, {10, 0, 0}}, {6, 0, 0}, 6, 0},
      {"second entry when the first is too far", {{0, 0, 0}, {10, 0, 0}}, {7, 0, 0}, 6, 1}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    TEXPOINTS t;
    std::vector<int32_t> usage(2000, 77);  // a new entry's counter is set, not counted up
    for (const IntPoint& p : r.table) t.Add(p.x, p.y, p.z, -1, usage.data());
    EXPECT_EQ(t.Add(r.point.x, r.point.y, r.point.z, r.tolerance, usage.data()), r.expected);
    const bool appended = r.expected == static_cast<int32_t>(r.table.size());
    EXPECT_EQ(t.count, static_cast<int32_t>(r.table.size()) + (appended ? 1 : 0));
    EXPECT_EQ(usage[static_cast<size_t>(r.expected)], appended ? 1 : 2);
    EXPECT_TRUE(!appended || Equals(t[r.expected], r.point.x, r.point.y, r.point.z));
  }
}

// A full table (two entries here, none after Release) still finds matches,
// gives index 0 for a new point and says so once per run.
TEST(TexpointsTest, FullOrReleasedTableReportsOnce) {
  testing::ScratchDir dir;  // for the run log
  testing::CaptureConsole console;
  ResetReportOnce();
  TEXPOINTS t(2);
  const int32_t added[] = {t.Add(1, 0, 0, -1), t.Add(2, 0, 0, -1), t.Add(3, 0, 0, -1), t.Add(4, 0, 0, 0), t.Add(2, 0, 0, 0)};
  EXPECT_EQ(std::vector<int32_t>(added, added + 5), (std::vector<int32_t>{0, 1, 0, 0, 1}));
  EXPECT_EQ(std::pair(t.count, t[1].x), std::pair(2, 2));
  t.base = 5;
  t.Release();
  EXPECT_EQ(std::vector({t.Add(1, 1, 1, -1), t.count + t.base}), std::vector({0, 0}));
  t.SetSize(4);
  EXPECT_EQ(std::vector({t.Add(1, 1, 1, -1), t.count}), std::vector({0, 1}));
  EXPECT_EQ(console.Text(), "ERROR: TEXPOINTS::Add() table full 0 2\n");
  ResetReportOnce();
}

TEST(TexpointsTest, BezierEndMidpointAndTruncation) {
  IntPoint p0{0, 0, 0}, p1{100, 50, -100}, p2{200, 0, -200};
  // t = 0.5: 0.25 p0 + 0.5 p1 + 0.25 p2.
  EXPECT_TRUE(Equals(Bezier(p0, p1, p2, 1.0), 200, 0, -200));
  EXPECT_TRUE(Equals(Bezier(p0, p1, p2, 0.5), 100, 25, -100));
  // 2 t (1 - t) 2 p1 with t = 0.1: 0.18 * 3 = 0.54 -> 0, -0.54 -> 0 (toward zero).
  EXPECT_TRUE(Equals(Bezier(IntPoint{}, IntPoint{3, -3, 0}, IntPoint{}, 0.1), 0, 0, 0));
  // The doubled middle point does not wrap at the 32-bit limit.
  EXPECT_EQ(Bezier({INT32_MAX, 0, 0}, {INT32_MAX, 0, 0}, {INT32_MAX, 0, 0}, 0.5).x, INT32_MAX);
}

}  // namespace
}  // namespace ostrand
