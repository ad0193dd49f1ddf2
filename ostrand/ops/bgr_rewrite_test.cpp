// The operations on network files by table, and those that rewrite a
// network file in place: merge, purge and the edit script.
#include "ostrand/ops/bgr_merge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ostrand/ops/bgr_script.h"
#include "ostrand/ops/test_networks.h"
#include "ostrand/ops/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

class RewriteTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetOptions(); }
  ScratchDir dir_;
};

// The rows of testdata/operations.txt (its head describes them): merge,
// purge, replace, align, scripts, move, delete and the exports, each on a
// network of testdata/operations/, and the file it leaves.
TEST_F(RewriteTest, Commands) {
  const auto data = [](const std::string& name) { return TestData("ostrand/ops", ("operations/" + name).c_str()); };
  for (const auto& row : ReadTable(TestData("ostrand/ops", "operations.txt"))) {
    SCOPED_TRACE(row[0] + " | " + row[1]);
    ResetOptions();
    WriteFileBytes("n.bgr", ReadFileBytes(data(row[0])));
    WriteFileBytes("b.bgr", std::string(5000, 'x'));
    std::istringstream words(row[1]);
    std::string target;
    for (std::string w; words >> w;) {
      if (w == "n.bgr" || w == "b.bgr") target = w;
      else if (w.ends_with(".bgr") || w.ends_with(".txt")) WriteFileBytes(w, ReadFileBytes(data(w)));
    }
    if (!row[2].ends_with(".bgr")) target = "n" + row[2].substr(row[2].rfind('.'));  // an export
    CaptureConsole console;
    EXPECT_EQ(RunOperation(row[1]), 1);
    EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(data(row[2])));
    EXPECT_EQ(console.Text(), Printed(row, 3));
    EXPECT_FALSE(StagedFileLeft());
  }
}

// The rows of testdata/operation_failures.txt: each prints its message and
// changes nothing.
TEST_F(RewriteTest, Failures) {
  Net net = MakeNet({{0, 0, 0}, {1, 0, 1}}, {{0, 1}});
  const std::string good = NetBytes(net), full = NetBytes(GridNet(1500));
  net.origin = false;
  const std::string bad = NetBytes(net);
  WriteFileBytes("s.txt", "<bgr-width-edges> 30 60\n<bgr-replace-edges> 0 1\n");
  WriteFileBytes("e.txt", "\n\n");
  for (const auto& row : ReadTable(TestData("ostrand/ops", "operation_failures.txt"))) {
    WriteFileBytes("good.bgr", good);
    WriteFileBytes("good2.bgr", good);
    WriteFileBytes("bad.bgr", bad);
    WriteFileBytes("big.bgr", NetBytes(GridNet(503)));
    WriteFileBytes("full.bgr", full);
    CaptureConsole console;
    EXPECT_EQ(RunOperation(row[0]), 0) << row[0];
    EXPECT_EQ(console.Text(), Printed(row, 1)) << row[0];
    EXPECT_FALSE(FileExistsOnDisk("missing.bgr"));
    ExpectUntouched("good2.bgr", good);
    ExpectUntouched("bad.bgr", bad);
    ExpectUntouched("full.bgr", full);
  }
}

// The grid-accelerated purge gives the same file as the plain search of
// FindOrAddPoint on random networks with many near and far vertices and
// ends outside the file.
TEST_F(RewriteTest, PurgeMatchesThePlainSearch) {
  std::mt19937 rng(11);
  for (int round = 0; round < 30; ++round) {
    Net net;
    const int n = 1 + static_cast<int>(rng() % 300);
    const auto any = [&] { return static_cast<int32_t>(rng() % (n + 2)) - 1; };
    const auto coordinate = [&] { return (rng() % 200) - 100.0; };
    for (int i = 0; i < n; ++i) {
      net.vertices.push_back({coordinate() + (rng() % 4) * 0.25, 0, coordinate()});
    }
    for (int i = static_cast<int>(rng() % 400); i > 0; --i) net.edges.push_back({any(), any()});
    WriteFileBytes("n.bgr", NetBytes(net));
    ASSERT_EQ(BgrPurge("n.bgr"), 1);
    EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(PlainPurge(net))) << round;
  }
}

// 12000 distinct vertices, none near the origin, all used: the kept table
// holds the origin entry and all of them. One more is fatal, and leaves
// the file and no staged copy.
TEST_F(RewriteTest, PurgeOfTheLargestNetworks) {
  Net net = GridNet(12000);
  for (auto& v : net.vertices) v.x += 1000;
  WriteFileBytes("n.bgr", NetBytes(net));
  EXPECT_EQ(BgrPurge("n.bgr"), 1);
  net.vertices.insert(net.vertices.begin(), NetVertex{0, 0, 0});
  for (auto& e : net.edges) e = {e.from + 1, e.to + 1};
  EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(net));

  const std::string bytes = NetBytes(GridNet(12001));
  WriteFileBytes("n.bgr", bytes);
  EXPECT_EXIT(BgrPurge("n.bgr"), ::testing::ExitedWithCode(0), "");
  ExpectUntouched("n.bgr", bytes);
  EXPECT_NE(ReadFileBytes("report.txt").find("ERROR: insert_double_points failed\n"),
            std::string::npos);
}

// The pattern scan behaves as the C library's for numbers in range (random
// texts of command names, digits, signs and blanks), and holds numbers
// beyond the 32-bit range at its limits.
TEST(ScriptParseTest, ScanPatternAgreesWithTheLibrary) {
  const char* const heads[] = {"", "replace-edges", "align-nodes", "width-edges", "Replace-edges", " width-edges"};
  const char* const pieces[] = {">", "> ", " ", "\t", "3", "12", "-", "+", "x", "\r", ",", "\n"};
  std::mt19937 rng(5);
  for (int i = 0; i < 5000; ++i) {
    std::string t = heads[rng() % std::size(heads)];
    for (int k = rng() % 9; k > 0; --k) t += pieces[rng() % std::size(pieces)];
    if (std::count_if(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }) > 9) continue;
    for (const char* pattern : {"replace-edges> %ld %ld %ld", "align-nodes> %ld %ld %ld", "width-edges> %ld %ld"}) {
      long want[3] = {-11, -12, -13};
      int32_t got[3] = {-11, -12, -13};
      ASSERT_EQ(ScanPattern(t.c_str(), pattern, got), std::sscanf(t.c_str(), pattern, &want[0], &want[1], &want[2]))
          << "'" << t << "' " << pattern;
      for (int k = 0; k < 3; ++k) EXPECT_EQ(got[k], want[k]) << "'" << t << "'";
    }
  }
  for (const char* text : {"width-edges> 99999999999999999999999 -99999999999999999999",
                           "width-edges> 2147483648 -2147483648"}) {
    int32_t v[3] = {0, 0, 0};
    EXPECT_EQ(ScanPattern(text, "width-edges> %ld %ld", v), 2);
    EXPECT_EQ(std::make_pair(v[0], v[1]), std::make_pair(2147483647, -2147483647 - 1));
  }
}

// The calls of a line after "<bgr-" (command 0 replace, 1 align, 2 width),
// defaults for what it leaves out.
TEST(ScriptParseTest, LineTable) {
  const std::pair<const char*, std::string> rows[] = {
      {"", "0 -1 -1 10;1 -1 -1 10;2 25 100 0;"}, {"replace-edges> 3 7", "0 3 7 10;"},
      {"replace-edges> 3 7 4", "0 3 7 4;"},      {"align-nodes> 2", "1 2 -1 10;"},
      {"width-edges> 40", "2 40 100 0;"},        {"width-edges> x", ""},
      {"Replace-edges> 3 7", ""},                {"foo> 1 2", ""}};
  for (const auto& [text, calls] : rows) {
    std::string got;
    for (const ScriptCall& c : ParseScriptLine(text))
      got += std::to_string(int(c.command)) + " " + std::to_string(c.values[0]) + " " +
             std::to_string(c.values[1]) + " " + std::to_string(c.values[2]) + ";";
    EXPECT_EQ(got, calls) << text;
  }
}

}  // namespace
}  // namespace ostrand
