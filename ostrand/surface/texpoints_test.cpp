#include "ostrand/surface/texpoints.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using testing::CaptureConsole;
using testing::ScratchDir;

TEST(TexpointsTest, MatchWithinTheTolerance) {
  struct Case {
    const char* name;
    std::vector<IntPoint> table;  // added first, appended
    IntPoint point;
    int32_t tolerance;
    int32_t expected;  // index returned
  };
  const std::vector<IntPoint> one{{100, 0, 100}};
  const Case cases[] = {
      {"exact", one, {100, 0, 100}, 0, 0},
      {"x within", one, {103, 0, 100}, 3, 0},
      {"all axes at the limit", one, {97, -3, 103}, 3, 0},
      {"x one past", one, {104, 0, 100}, 3, 1},
      {"z one past", one, {100, 0, 96}, 3, 1},
      {"y one past", one, {100, 4, 100}, 3, 1},
      // within the tolerance on each axis, though not on the distance
      {"per-axis not euclidean", one, {103, 3, 103}, 3, 0},
      {"tolerance 0 off by one", one, {101, 0, 100}, 0, 1},
      {"append only", one, {100, 0, 100}, -1, 1},
      // INT32_MAX - INT32_MIN overflows 32 bits; it must not match.
      {"difference beyond 32 bits", {{INT32_MIN, 0, 0}}, {INT32_MAX, 0, 0}, 10, 1},
      {"near the 32-bit limit", {{INT32_MIN, 0, 0}}, {INT32_MIN + 5, 0, 0}, 10, 0},
      {"first match in table order", {{0, 0, 0}, {10, 0, 0}}, {6, 0, 0}, 6, 0},
      {"second entry when the first is too far", {{0, 0, 0}, {10, 0, 0}}, {7, 0, 0}, 6, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TEXPOINTS t;
    for (const IntPoint& p : c.table) t.Add(p.x, p.y, p.z, -1);
    EXPECT_EQ(t.Add(c.point.x, c.point.y, c.point.z, c.tolerance), c.expected);
    const size_t appended = c.expected == static_cast<int32_t>(c.table.size()) ? 1 : 0;
    EXPECT_EQ(t.count, static_cast<int32_t>(c.table.size() + appended));
  }
}

TEST(TexpointsTest, UsageCountsNewAndMergedPoints) {
  TEXPOINTS t;
  int32_t usage[2000] = {};
  usage[0] = 77;  // overwritten when the entry is created
  EXPECT_EQ(t.Add(5, 5, 5, 0, usage), 0);
  EXPECT_EQ(usage[0], 1);
  EXPECT_EQ(t.Add(5, 5, 5, 0, usage), 0);
  EXPECT_EQ(t.Add(6, 5, 5, 1, usage), 0);
  EXPECT_EQ(usage[0], 3);
  EXPECT_EQ(t.Add(5, 5, 5, -1, usage), 1);
  EXPECT_EQ(usage[1], 1);
  EXPECT_EQ(usage[0], 3);
}

// A scratch folder for the run log, the console captured, and the
// once-only reports re-armed.
class TexpointsReportTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetReportOnce(); }
  void TearDown() override { ResetReportOnce(); }
  ScratchDir dir_;
  CaptureConsole console_;
};

TEST_F(TexpointsReportTest, FullTableReportsOnceAndReturnsZero) {
  TEXPOINTS t(2);
  EXPECT_EQ(t.Add(1, 0, 0, -1), 0);
  EXPECT_EQ(t.Add(2, 0, 0, -1), 1);
  EXPECT_EQ(t.Add(3, 0, 0, -1), 0);
  EXPECT_EQ(t.Add(4, 0, 0, 0), 0);
  EXPECT_EQ(t.count, 2);
  EXPECT_EQ(t[0].x, 1);
  EXPECT_EQ(t[1].x, 2);
  // A match is still found in a full table.
  EXPECT_EQ(t.Add(2, 0, 0, 0), 1);
  EXPECT_EQ(console_.Text(), "ERROR: TEXPOINTS::Add() table full 0 2\n");
}

TEST(TexpointsTest, CopyFromCutsToCapacity) {
  TEXPOINTS big(5);
  for (int32_t i = 0; i < 5; ++i) big.Add(i, i + 1, i + 2, -1);
  big.base = 7;
  TEXPOINTS small(3);
  small.CopyFrom(big);
  EXPECT_EQ(small.base, 7);
  EXPECT_EQ(small.count, 3);
  EXPECT_TRUE(Equals(small[2], 2, 3, 4));

  TEXPOINTS same(5);
  same.CopyFrom(big);
  EXPECT_EQ(same.count, 5);
  EXPECT_TRUE(Equals(same[4], 4, 5, 6));
}

TEST_F(TexpointsReportTest, ReleasedTableTakesNoPoints) {
  TEXPOINTS t;
  t.Add(1, 1, 1, -1);
  t.Release();
  EXPECT_EQ(t.count, 0);
  EXPECT_EQ(t.base, 0);
  EXPECT_EQ(t.Add(1, 1, 1, -1), 0);
  EXPECT_EQ(t.count, 0);
  t.SetSize(4);
  EXPECT_EQ(t.Add(1, 1, 1, -1), 0);
  EXPECT_EQ(t.count, 1);
}

TEST(TexpointsTest, BezierEndsMidpointAndTruncation) {
  IntPoint p0{0, 0, 0}, p1{100, 50, -100}, p2{200, 0, -200};
  EXPECT_TRUE(Equals(Bezier(p0, p1, p2, 0.0), 0, 0, 0));
  EXPECT_TRUE(Equals(Bezier(p0, p1, p2, 1.0), 200, 0, -200));
  // t = 0.5: 0.25 p0 + 0.5 p1 + 0.25 p2.
  EXPECT_TRUE(Equals(Bezier(p0, p1, p2, 0.5), 100, 25, -100));
  // 2 t (1 - t) 2 p1 with t = 0.1: 0.18 * 3 = 0.54 -> 0, -0.54 -> 0 (toward zero).
  IntPoint q{3, -3, 0};
  EXPECT_TRUE(Equals(Bezier(IntPoint{}, q, IntPoint{}, 0.1), 0, 0, 0));
  // The doubled middle point does not wrap at the 32-bit limit.
  IntPoint far{INT32_MAX, 0, 0};
  EXPECT_EQ(Bezier(far, far, far, 0.5).x, INT32_MAX);
}

}  // namespace
}  // namespace ostrand
