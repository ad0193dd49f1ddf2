#include "ostrand/text/value_scan.h"

#include <gtest/gtest.h>

namespace ostrand {
namespace {

TEST(ValueScanTest, Table) {
  struct Case {
    const char* text;
    int stored;
    double x;
    long n;
    unsigned h;
  } cases[] = {
      {"1.5 7 ff", 3, 1.5, 7, 0xff},
      {"  -2e1\t\t-3   0x1A", 3, -20, -3, 0x1a},
      {"1.5,7", 1, 1.5, -9, 9},
      {"4-5 10", 3, 4, -5, 0x10},
      {"abc 1 2", 0, -9, -9, 9},
      {"", 0, -9, -9, 9},
      {"1 99999999999 1", 3, 1, 2147483647, 1},
      {"1 -99999999999 -1", 3, 1, -2147483647L - 1, 0xFFFFFFFFu},
      {"1 2 123456789abcdef", 3, 1, 2, 0xFFFFFFFFu},
      {"1 +", 1, 1, -9, 9},
      {"1 2 g", 2, 1, 2, 9},
  };
  for (const Case& c : cases) {
    double x = -9;
    long n = -9;
    unsigned h = 9;
    EXPECT_EQ(ScanValues(c.text, {&x, &n, &h}), c.stored) << c.text;
    EXPECT_EQ(x, c.x) << c.text;
    EXPECT_EQ(n, c.n) << c.text;
    EXPECT_EQ(h, c.h) << c.text;
  }
  EXPECT_EQ(ScanValues(nullptr, {}), 0);
}

}  // namespace
}  // namespace ostrand
