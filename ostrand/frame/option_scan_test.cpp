#include "ostrand/frame/option_scan.h"

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

TEST(OptionScanTest, DecimalTable) {
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

TEST(OptionScanTest, HexadecimalTable) {
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

TEST(OptionScanTest, RealsAndMixedTargets) {
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

}  // namespace
}  // namespace ostrand
