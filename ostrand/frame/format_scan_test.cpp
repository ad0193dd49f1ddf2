#include "ostrand/frame/format_scan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

// Scans with one target per conversion of the pattern, of the type the
// conversion stores; returns the result followed by every target's value
// ("_" for one the scan left as it was).
std::string Scan(const char* input, const std::string& pattern) {
  std::string kinds;
  for (size_t at = 0; (at = pattern.find('%', at)) != std::string::npos; ++at) {
    at = pattern.find_first_not_of("0123456789", at + 1);
    if (pattern[at] == 'x' || pattern.compare(at, 2, "ld") == 0 ||
        pattern.compare(at, 2, "lf") == 0)
      kinds += pattern[at] == 'x' ? 'x' : pattern[at + 1];
  }
  std::vector<long> l(kinds.size(), -777);
  std::vector<double> d(kinds.size(), -777);
  std::vector<unsigned> u(kinds.size(), 777);
  std::vector<ScanTarget> targets;
  for (size_t k = 0; k < kinds.size(); ++k) {
    if (kinds[k] == 'x') targets.emplace_back(&u[k]);
    if (kinds[k] == 'f') targets.emplace_back(&d[k]);
    if (kinds[k] == 'd') targets.emplace_back(&l[k]);
  }
  std::string out =
      std::to_string(ScanText(input, pattern.c_str(), targets.data(), targets.size()));
  char text[32];
  for (size_t k = 0; k < kinds.size(); ++k) {
    if (kinds[k] == 'x') std::snprintf(text, sizeof text, u[k] == 777 ? "_" : "%x", u[k]);
    if (kinds[k] == 'f') std::snprintf(text, sizeof text, d[k] == -777 ? "_" : "%g", d[k]);
    if (kinds[k] == 'd') std::snprintf(text, sizeof text, l[k] == -777 ? "_" : "%ld", l[k]);
    out += std::string(" ") + text;
  }
  return out;
}

TEST(FormatScanTest, Table) {
  for (const auto& row :
       testing::ReadTable(testing::TestData("ostrand/frame", "format_scan.txt"))) {
    SCOPED_TRACE(row[0] + " <- \"" + row[1] + "\"");
    EXPECT_EQ(Scan(row[1].c_str(), row[0]), row[2]);
  }
  // A target of the wrong type, or none left, ends the scan.
  long n = 0;
  EXPECT_EQ(ScanText("5", "%lf", {&n}), 0);
  EXPECT_EQ(ScanText("5:6", "%ld:%ld", {&n}), 1);
  EXPECT_EQ(ScanText(nullptr, "%ld", {&n}), kScanEnd);
}

}  // namespace
}  // namespace ostrand
