#include "ostrand/frame/format_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace ostrand {
namespace {

struct LongCase {
  const char* input;
  const char* pattern;
  int result;
  long first;   // 99 when not stored
  long second;  // 99 when not stored
};

TEST(FormatScanTest, DecimalTable) {
  const LongCase cases[] = {
      {"5:20", "%ld:%ld", 2, 5, 20},
      {"5", "%ld:%ld", 1, 5, 99},
      {"5:", "%ld:%ld", 1, 5, 99},
      {"5:x", "%ld:%ld", 1, 5, 99},
      {"x", "%ld:%ld", 0, 99, 99},
      {"", "%ld:%ld", kScanEnd, 99, 99},
      {"   ", "%ld:%ld", kScanEnd, 99, 99},
      {" -7: +8", "%ld:%ld", 2, -7, 8},
      {"-", "%ld", 0, 99, 99},
      {"+x", "%ld", 0, 99, 99},
      {"-ti012034", "-ti%03ld%03ld", 2, 12, 34},
      {"-ti1234567", "-ti%03ld%03ld", 2, 123, 456},
      {"-ti-1-2", "-ti%03ld%03ld", 2, -1, -2},
      {"-ti5", "-ti%03ld%03ld", 1, 5, 99},
      {"-ti", "-ti%03ld%03ld", kScanEnd, 99, 99},
      {"-t", "-ti%03ld%03ld", kScanEnd, 99, 99},
      {"", "-ti%03ld%03ld", kScanEnd, 99, 99},
      {"-tm", "-ti%03ld%03ld", 0, 99, 99},
      {"-tix", "-ti%03ld%03ld", 0, 99, 99},
      // Saturation at the 32-bit limits.
      {"99999999999999999999", "%ld", 1, INT32_MAX, 99},
      {"-99999999999999999999", "%ld", 1, INT32_MIN, 99},
      {"2147483647:-2147483648", "%ld:%ld", 2, INT32_MAX, INT32_MIN},
  };
  for (const LongCase& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " <- \"" + c.input + "\"");
    long a = 99;
    long b = 99;
    EXPECT_EQ(ScanText(c.input, c.pattern, {&a, &b}), c.result);
    EXPECT_EQ(a, c.first);
    EXPECT_EQ(b, c.second);
  }
}

TEST(FormatScanTest, HexadecimalTable) {
  struct Case {
    const char* input;
    int result;
    unsigned value;  // 0x99 when not stored
  } const cases[] = {
      {"-pr0", 1, 0},
      {"-pr1F", 1, 0x1f},
      {"-prff", 1, 0xff},
      {"-pr0x10", 1, 0x10},
      {"-pr0xg", 1, 0},
      {"-pr", kScanEnd, 0x99},
      {"-p", kScanEnd, 0x99},
      {"", kScanEnd, 0x99},
      {"-prz", 0, 0x99},
      {"-pr-", 0, 0x99},
      {"-pr-1", 1, 0xffffffffu},
      {"-pq", 0, 0x99},
      {"x", 0, 0x99},
      {"-pr123456789", 1, 0xffffffffu},
      {"-pr 7", 1, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    unsigned v = 0x99;
    EXPECT_EQ(ScanText(c.input, "-pr%x", {&v}), c.result);
    EXPECT_EQ(v, c.value);
  }
}

TEST(FormatScanTest, RealsAndMixedTargets) {
  double north = 99;
  double east = 99;
  long vmin = 99;
  long vmax = 99;
  EXPECT_EQ(ScanText("10:-5", "%lf:%lf:%ld:%ld", {&north, &east, &vmin, &vmax}), 2);
  EXPECT_DOUBLE_EQ(north, 10);
  EXPECT_DOUBLE_EQ(east, -5);
  EXPECT_EQ(vmin, 99);
  EXPECT_EQ(ScanText("1.5e1:.25:3:4", "%lf:%lf:%ld:%ld", {&north, &east, &vmin, &vmax}), 4);
  EXPECT_DOUBLE_EQ(north, 15);
  EXPECT_DOUBLE_EQ(east, 0.25);
  EXPECT_EQ(vmin, 3);
  EXPECT_EQ(vmax, 4);
  north = 99;
  EXPECT_EQ(ScanText("x", "%lf", {&north}), 0);
  EXPECT_EQ(north, 99);
  // A target of the wrong type, or none left, ends the scan.
  EXPECT_EQ(ScanText("5", "%lf", {&vmin}), 0);
  EXPECT_EQ(ScanText("5:6", "%ld:%ld", {&vmin}), 1);
  // An unknown conversion ends the scan.
  EXPECT_EQ(ScanText("5", "%d", {&vmin}), 0);
  EXPECT_EQ(ScanText(nullptr, "%ld", {&vmin}), kScanEnd);
}

// Blank-separated values as the scenery text and exclusion list lines are
// read: a blank in the pattern matches any run of white space, also none.
TEST(FormatScanTest, BlankSeparatedValues) {
  struct Case {
    const char* text;
    int stored;
    double x;
    long n;
    unsigned h;
  } const cases[] = {
      {"1.5 7 ff", 3, 1.5, 7, 0xff},
      {"  -2e1\t\t-3   0x1A", 3, -20, -3, 0x1a},
      {"1.5,7", 1, 1.5, -9, 9},
      {"4-5 10", 3, 4, -5, 0x10},
      {"abc 1 2", 0, -9, -9, 9},
      {"", kScanEnd, -9, -9, 9},
      {"1 99999999999 1", 3, 1, 2147483647, 1},
      {"1 -99999999999 -1", 3, 1, -2147483647L - 1, 0xFFFFFFFFu},
      {"1 2 123456789abcdef", 3, 1, 2, 0xFFFFFFFFu},
      {"1 +", 1, 1, -9, 9},
      {"1 2 g", 2, 1, 2, 9},
      // Reals that are not finite are no numbers.
      {"nan 1 2", 0, -9, -9, 9},
      {"1e999 1 2", 0, -9, -9, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    double x = -9;
    long n = -9;
    unsigned h = 9;
    EXPECT_EQ(ScanText(c.text, "%lf %ld %x", {&x, &n, &h}), c.stored);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(n, c.n);
    EXPECT_EQ(h, c.h);
  }
}

}  // namespace
}  // namespace ostrand
