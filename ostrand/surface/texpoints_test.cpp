#include "ostrand/surface/texpoints.h"

#include <gtest/gtest.h>

#include <climits>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using testing::CaptureConsole;
using testing::ScratchDir;

TEST(TexpointsTest, ToleranceIsCheckedOnEachAxisSeparately) {
  struct Case {
    const char* name;
    int32_t x, y, z, tolerance;
    int32_t expected;  // index; 1 means a new entry after the one at (100, 0, 100)
  };
  const Case cases[] = {
      {"exact", 100, 0, 100, 0, 0},
      {"x within", 103, 0, 100, 3, 0},
      {"all axes at the limit", 97, -3, 103, 3, 0},
      {"x one past", 104, 0, 100, 3, 1},
      {"z one past", 100, 0, 96, 3, 1},
      {"y one past", 100, 4, 100, 3, 1},
      // a point within the tolerance on the diagonal sum but not per axis
      {"per-axis not euclidean", 103, 3, 103, 3, 0},
      {"tolerance 0 off by one", 101, 0, 100, 0, 1},
      {"append only", 100, 0, 100, -1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TEXPOINTS t;
    ASSERT_EQ(t.Add(100, 0, 100, 0), 0);
    EXPECT_EQ(t.Add(c.x, c.y, c.z, c.tolerance), c.expected);
    EXPECT_EQ(t.count, c.expected + 1 > 1 ? 2 : 1);
  }
}

TEST(TexpointsTest, DifferencesBeyond32BitsDoNotWrap) {
  TEXPOINTS t;
  ASSERT_EQ(t.Add(INT32_MIN, 0, 0, 0), 0);
  // INT32_MAX - INT32_MIN overflows 32 bits; it must not match.
  EXPECT_EQ(t.Add(INT32_MAX, 0, 0, 10), 1);
  EXPECT_EQ(t.Add(INT32_MIN + 5, 0, 0, 10), 0);
}

TEST(TexpointsTest, FirstMatchInTableOrderWins) {
  TEXPOINTS t;
  t.Add(0, 0, 0, -1);
  t.Add(10, 0, 0, -1);
  EXPECT_EQ(t.Add(6, 0, 0, 6), 0);
  EXPECT_EQ(t.Add(7, 0, 0, 6), 1);
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

TEST(TexpointsTest, FullTableReportsOnceAndReturnsZero) {
  ScratchDir dir;
  CaptureConsole console;
  ResetTexpointsReports();
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
  EXPECT_EQ(console.Text(), "ERROR: TEXPOINTS::Add() table full 0 2\n");
  ResetTexpointsReports();
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

TEST(TexpointsTest, ReleasedTableTakesNoPoints) {
  ScratchDir dir;
  CaptureConsole console;
  ResetTexpointsReports();
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
  ResetTexpointsReports();
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
