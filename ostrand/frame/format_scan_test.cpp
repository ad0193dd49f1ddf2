#include "ostrand/frame/format_scan.h"

#include <gtest/gtest.h>

#include <sstream>
#include <variant>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

// Scans with one target per conversion of the pattern, of the type the
// conversion stores, each first holding 777 (hexadecimal for "x"); returns
// the result followed by every target's value.
std::string Scan(const std::string& input, const std::string& pattern) {
  std::vector<std::variant<long, double, unsigned>> values;
  for (size_t at = 0; (at = pattern.find('%', at)) != std::string::npos; ++at) {
    const char kind = pattern[pattern.find_first_of("xdf", at)];
    if (kind == 'x') values.emplace_back(0x777u);
    if (kind == 'f') values.emplace_back(777.0);
    if (kind == 'd') values.emplace_back(777L);
  }
  std::vector<ScanTarget> targets;
  for (auto& v : values) targets.push_back(std::visit([](auto& x) { return ScanTarget(&x); }, v));
  std::ostringstream out;
  out << ScanText(input.c_str(), pattern.c_str(), targets.data(), targets.size());
  const auto print = [&out](auto x) {
    out << (std::is_same_v<decltype(x), unsigned> ? std::hex : std::dec) << ' ' << x;
  };
  for (const auto& v : values) std::visit(print, v);
  return out.str();
}

TEST(FormatScanTest, Table) {
  for (const auto& row :
       testing::ReadTable(testing::TestData("ostrand/frame", "format_scan.txt"))) {
    SCOPED_TRACE(row[0] + " <- \"" + row[1] + "\"");
    EXPECT_EQ(Scan(row[1], row[0]), row[2]);
  }
  // A target of the wrong type, or none left, ends the scan.
  long n = 0;
  EXPECT_EQ(ScanText("5", "%lf", {&n}), 0);
  EXPECT_EQ(ScanText("5:6", "%ld:%ld", {&n}), 1);
  EXPECT_EQ(ScanText(nullptr, "%ld", {&n}), kScanEnd);
}

}  // namespace
}  // namespace ostrand
