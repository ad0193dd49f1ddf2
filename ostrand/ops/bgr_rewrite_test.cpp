// The operations that rewrite a network file in place: merge, purge and
// the edit script.
#include "ostrand/ops/bgr_merge.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ostrand/ops/bgr_script.h"
#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using namespace testing;

class RewriteTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

Net FileNet() {  // 3 vertices, 2 edges
  Net net = MakeNet({{10.7, 1.2, -20.9}, {30, 0, 40}, {50, 0, 60}}, {{0, 1, 16904, 3, 0}, {1, 2, 17000, 0, 1}});
  net.lat = 1.0;
  net.lon = 2.0;
  return net;
}

Net File2Net() {  // 4 vertices, 3 edges
  Net net = MakeNet({{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {-0.5, 0, 7}}, {{0, 1}, {1, 2, 16968, 0x12, 0}, {2, 3}});
  net.elev = 12.5;
  return net;
}

// Merge 3+2 into 4+3: file2's origin and vertices, then file's vertices in
// whole feet and its edges renumbered; sections after file2's edges are
// dropped. An empty network adds nothing.
TEST_F(RewriteTest, MergeThreePlusTwoIntoFourPlusThree) {
  Net file2 = File2Net();
  file2.trailer = std::string("<tex1>") + '\0' + "abc";
  Net merged = File2Net();
  merged.vertices = {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 7}, {10, 1, -20}, {30, 0, 40}, {50, 0, 60}};
  merged.edges.insert(merged.edges.end(), {{4, 5, 16904, 3, 0}, {5, 6, 17000, 0, 1}});
  Net unchanged = File2Net();
  unchanged.vertices[3].x = 0;
  for (const auto& [file, expected] : {std::pair{FileNet(), merged}, std::pair{Net(), unchanged}}) {
    WriteFileBytes("file.bgr", NetBytes(file));
    WriteFileBytes("file2.bgr", NetBytes(file2));
    EXPECT_EQ(BgrMerge("file.bgr", "file2.bgr"), 1);
    EXPECT_EQ(ReadFileBytes("file2.bgr"), NetBytes(expected));
    EXPECT_EQ(ReadFileBytes("file.bgr"), NetBytes(file));
    EXPECT_FALSE(StagedFileLeft());
  }
}

// Failures print their message and change nothing: missing files and
// networks without origin on either side, a merge beyond the capacity
// (reported for each vertex that does not fit).
TEST_F(RewriteTest, Failures) {
  Net noOrigin = File2Net();
  noOrigin.origin = false;
  const std::string good = NetBytes(File2Net()), bad = NetBytes(noOrigin);
  const std::string full = NetBytes(GridNet(1500));
  const std::string overflow = "ERROR: BgrMerge too many nodes in big.bgr\n";
  const std::pair<std::function<int()>, std::string> rows[] = {
      {[] { return BgrMerge("good.bgr", "missing.bgr"); }, "ERROR: BgrMerge source file 'missing.bgr' not found\n"},
      {[] { return BgrMerge("missing.bgr", "good2.bgr"); }, "ERROR: BgrMerge source file 'missing.bgr' not found\n"},
      {[] { return BgrMerge("good.bgr", "bad.bgr"); }, "ERROR: BgrMerge no origin record in 'bad.bgr'\n"},
      {[] { return BgrMerge("bad.bgr", "good2.bgr"); }, "ERROR: BgrMerge no origin record in 'bad.bgr'\n"},
      {[] { return BgrMerge("big.bgr", "full.bgr"); }, overflow + overflow + overflow},
      {[] { return BgrPurge("bad.bgr"); }, "ERROR: BgrPurge no origin record in 'bad.bgr'\n"},
      {[] { return BgrPurge("missing.bgr"); }, "ERROR: BgrPurge source file 'missing.bgr' not found\n"},
  };
  for (const auto& [command, message] : rows) {
    WriteFileBytes("good.bgr", good);
    WriteFileBytes("good2.bgr", good);
    WriteFileBytes("bad.bgr", bad);
    WriteFileBytes("big.bgr", NetBytes(GridNet(503)));
    WriteFileBytes("full.bgr", full);
    CaptureConsole console;
    EXPECT_EQ(command(), 0) << message;
    EXPECT_EQ(console.Text(), message);
    EXPECT_FALSE(FileExistsOnDisk("missing.bgr"));
    ExpectUntouched("good2.bgr", good);
    ExpectUntouched("bad.bgr", bad);
    ExpectUntouched("full.bgr", full);
  }
}

// Purge: vertex 0 at the origin, then the vertices in the order edges
// first refer to them, those within 5 feet in x and z (inclusive) folded into
// the first; ends outside the file attach to vertex 0.
TEST_F(RewriteTest, PurgeRenumbersAndFolds) {
  const std::vector<NetVertex> kept = {{0, 0, 0}, {100, 0, 100}, {500, 0, 500}};
  const auto fold = [](NetVertex second) { return MakeNet({{500, 0, 500}, {100, 0, 100}, second}, {{1, 0}, {2, 0}}); };
  const auto apart = [&](NetVertex v) { return MakeNet({kept[0], kept[1], kept[2], v}, {{1, 2}, {3, 2}}); };
  Net renumber = MakeNet({{100, 0, 100}, {200, 0, 100}, {300, 0, 300}, {400, 1, 400}, {500, 2, 500.25}},
                         {{3, 4, 17000, 5, 0}, {4, 2, 16968, 0, 1}});
  renumber.lat = 5;
  Net renumbered = renumber;
  renumbered.vertices = {{0, 0, 0}, {400, 1, 400}, {500, 2, 500.25}, {300, 0, 300}};
  renumbered.edges = {{1, 2, 17000, 5, 0}, {2, 3, 16968, 0, 1}};
  const std::pair<Net, Net> rows[] = {
      {renumber, renumbered},
      {fold({105, 9, 103}), MakeNet(kept, {{1, 2}, {1, 2}})},  // 5 in x, 3 in z
      {fold({106, 0, 103}), apart({106, 0, 103})},
      {fold({95, 0, 95}), MakeNet(kept, {{1, 2}, {1, 2}})},
      {fold({100, 0, 94.9}), apart({100, 0, 94.9})},
      {MakeNet({{3, 7, -4}, {100, 0, 100}}, {{0, 1}, {1, 9}, {-3, 1}, {1, 1}}),
       MakeNet({{0, 0, 0}, {100, 0, 100}}, {{0, 1}, {1, 0}, {0, 1}, {1, 1}})},
  };
  for (const auto& [net, expected] : rows) {
    WriteFileBytes("p.bgr", NetBytes(net));
    EXPECT_EQ(BgrPurge("p.bgr"), 1);
    EXPECT_EQ(ReadFileBytes("p.bgr"), NetBytes(expected)) << expected.vertices.size();
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
    for (int i = 0; i < n; ++i) {
      net.vertices.push_back({(rng() % 200) - 100.0 + (rng() % 4) * 0.25, 0, (rng() % 200) - 100.0});
    }
    for (int i = static_cast<int>(rng() % 400); i > 0; --i) {
      net.edges.push_back({static_cast<int32_t>(rng() % (n + 2)) - 1, static_cast<int32_t>(rng() % (n + 2)) - 1});
    }
    WriteFileBytes("p.bgr", NetBytes(net));
    ASSERT_EQ(BgrPurge("p.bgr"), 1);
    std::vector<DoublePoint> source, kept(kMaxDoublePoints);
    for (const auto& v : net.vertices) source.push_back({v.x, v.y, v.z});
    int32_t keptCount = 1;
    Net expected = net;
    for (NetEdge& e : expected.edges) {
      e.from = FindOrAddPoint(e.from, source.data(), n, kept.data(), keptCount, 5.0);
      e.to = FindOrAddPoint(e.to, source.data(), n, kept.data(), keptCount, 5.0);
    }
    expected.vertices.clear();
    for (int32_t k = 0; k < keptCount; ++k) expected.vertices.push_back({kept[k].x, kept[k].y, kept[k].z});
    EXPECT_EQ(ReadFileBytes("p.bgr"), NetBytes(expected)) << round;
  }
}

// 12000 distinct vertices, none near the origin, all used: the kept table
// holds the origin entry and all of them. One more is fatal, and leaves
// the file and no staged copy.
TEST_F(RewriteTest, PurgeOfTheLargestNetworks) {
  Net net = GridNet(12000);
  for (auto& v : net.vertices) v.x += 1000;
  WriteFileBytes("p.bgr", NetBytes(net));
  EXPECT_EQ(BgrPurge("p.bgr"), 1);
  net.vertices.insert(net.vertices.begin(), NetVertex{0, 0, 0});
  for (auto& e : net.edges) e = {e.from + 1, e.to + 1};
  EXPECT_EQ(ReadFileBytes("p.bgr"), NetBytes(net));

  const std::string bytes = NetBytes(GridNet(12001));
  WriteFileBytes("p.bgr", bytes);
  EXPECT_EXIT(BgrPurge("p.bgr"), ::testing::ExitedWithCode(0), "");
  ExpectUntouched("p.bgr", bytes);
  EXPECT_NE(ReadFileBytes("report.txt").find("ERROR: insert_double_points failed\n"), std::string::npos);
}

// The pattern scan behaves as the C library's for numbers in range (texts
// made from pieces of commands, numbers, signs and blanks), and holds
// numbers beyond the 32-bit range at its limits.
TEST(ScriptParseTest, ScanPatternAgreesWithTheLibrary) {
  std::vector<std::string> texts = {
      "", "replace-edges> ", "replace-edges> 3 7", "replace-edges>3 7 12", "replace-edges> 3x",
      "replace-edges > 3", " replace-edges> 3", "replace-edges> +3 -7 \t 9 10", "replace-edges> - 3",
      "width-edges>\t30\n60", "align-nodes> 1 2 3", "Replace-edges> 1", "replace-edges> 1\r",
      "width-edges> 30,60", "alignX"};
  std::mt19937 rng(5);
  const char alphabet[] = "replacwidthgsno-> 0123456789+-\t";
  for (int i = 0; i < 3000; ++i) {
    const std::string& base = texts[rng() % texts.size()];
    std::string t = base.substr(0, rng() % (base.size() + 1));
    for (int k = static_cast<int>(rng() % 6); k > 0; --k) t += alphabet[rng() % (sizeof alphabet - 1)];
    if (t.find_first_of("0123456789") == std::string::npos || t.size() <= 18) texts.push_back(t);
  }
  for (const std::string& text : texts) {
    for (const char* pattern : {"replace-edges> %ld %ld %ld", "align-nodes> %ld %ld %ld", "width-edges> %ld %ld"}) {
      long expected[3] = {-11, -12, -13};
      const int want = std::sscanf(text.c_str(), pattern, &expected[0], &expected[1], &expected[2]);
      int32_t got[3] = {-11, -12, -13};
      ASSERT_EQ(ScanPattern(text.c_str(), pattern, got), want) << "'" << text << "' " << pattern;
      for (int k = 0; k < 3; ++k) EXPECT_EQ(got[k], expected[k]) << "'" << text << "'";
    }
  }
  for (const char* text : {"width-edges> 99999999999999999999999 -99999999999999999999",
                           "width-edges> 2147483648 -2147483648"}) {
    int32_t v[3] = {0, 0, 0};
    EXPECT_EQ(ScanPattern(text, "width-edges> %ld %ld", v), 2);
    EXPECT_EQ(v[0], 2147483647);
    EXPECT_EQ(v[1], -2147483647 - 1);
  }
}

TEST(ScriptParseTest, LineTable) {
  using C = ScriptCommand;
  const std::pair<const char*, std::vector<ScriptCall>> rows[] = {
      {"", {{C::kReplaceEdges, {-1, -1, 10}}, {C::kAlignNodes, {-1, -1, 10}}, {C::kWidthEdges, {25, 100, 0}}}},
      {"replace-edges> 3 7", {{C::kReplaceEdges, {3, 7, 10}}}},
      {"replace-edges> 3 7 4", {{C::kReplaceEdges, {3, 7, 4}}}},
      {"replace", {{C::kReplaceEdges, {-1, -1, 10}}}},
      {"align-nodes> 2", {{C::kAlignNodes, {2, -1, 10}}}},
      {"width-edges> 40", {{C::kWidthEdges, {40, 100, 0}}}},
      {"width-edges> 30 60", {{C::kWidthEdges, {30, 60, 0}}}},
      {"width-edges> x", {}}, {"Replace-edges> 3 7", {}}, {"foo> 1 2", {}},
  };
  for (const auto& [text, calls] : rows) {
    const std::vector<ScriptCall> got = ParseScriptLine(text);
    ASSERT_EQ(got.size(), calls.size()) << text;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].command, calls[i].command) << text;
      for (int k = 0; k < 3; ++k) EXPECT_EQ(got[i].values[k], calls[i].values[k]) << text;
    }
  }
}

class ScriptTest : public RewriteTest {
 protected:
  // Runs the command on the network written as "n.bgr": the file must
  // then hold `expected`, and nothing may be printed.
  void Expect(const Net& net, const std::function<int()>& command, const Net& expected) {
    WriteFileBytes("n.bgr", NetBytes(net));
    CaptureConsole console;
    EXPECT_EQ(command(), 1);
    EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(expected));
    EXPECT_EQ(console.Text(), "");
  }
};

// Vertices 3, 5, 6 and 7 lie along a line running east (6 lies 10 feet
// off it); the rest far off.
Net LineNet(std::vector<NetEdge> edges = {{0, 1}, {3, 5, 16904}, {5, 6}, {2, 4}, {6, 7}, {7, 8, 17096, 0x21, 0}}) {
  return MakeNet({{0, 0, 500}, {50, 0, 500}, {0, 0, 900}, {0, 0, 0}, {300, 0, 900}, {10.9, 2, 1},
                  {20, 0, -10}, {30, 1, 0.5}, {400, 0, 400}}, std::move(edges));
}

// Replace a..b: the edges along the line give way to one edge a-b with the
// width and type of the last of them (the tolerance is inclusive), added
// also when there is none; ends outside the file are kept; sections after
// the edges are dropped; a vertex number outside the file does nothing.
TEST_F(ScriptTest, ReplaceEdges) {
  const NetEdge last = {7, 8, 17096, 0x21, 0}, replaced = {3, 7, 17096, 0x21, 0};
  Net trailing = LineNet({{0, 1}, {3, 99}, {-1, 5}, {5, 6}});
  trailing.trailer = std::string("<tex1>") + '\0' + "zz";
  struct Row { Net net; int32_t b, tolerance; Net expected; };
  const Row rows[] = {
      {LineNet(), 7, 10, LineNet({{0, 1}, {2, 4}, last, replaced})},
      {LineNet(), 7, 9, LineNet({{0, 1}, {5, 6}, {2, 4}, {6, 7}, last, replaced})},
      {trailing, 7, 10, LineNet({{0, 1}, {3, 99}, {-1, 5}, {3, 7}})},
      {LineNet({{0, 1, 17000, 7, 0}}), 7, 10, LineNet({{0, 1, 17000, 7, 0}, {3, 7, 17000, 7, 0}})},
      {LineNet(), -1, 10, LineNet()}, {LineNet(), 9, 10, LineNet()}, {LineNet(), 2147483647, 10, LineNet()},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.b << " " << r.tolerance);
    Expect(r.net, [&] { return BgrReplaceEdges("n.bgr", 3, r.b, r.tolerance); }, r.expected);
  }
}

// Vertices within 10 feet of the line (and its box) move onto it.
TEST_F(ScriptTest, AlignNodes) {
  struct Row { NetVertex a, b, v, expected; };
  const Row rows[] = {
      {{0, 0, 50}, {100, 0, 50}, {40.7, 3, 55.5}, {40.7, 3, 50}},    // east-west: z = z1
      {{0, 0, 50}, {100, 0, 50}, {40, 3, 61}, {40, 3, 61}},          // 11 off: unchanged
      {{0, 0, 50}, {100, 0, 50}, {-10, 3, 60}, {-10, 3, 50}},        // corner of the box
      {{0, 0, 0}, {100, 0, 100}, {50.9, 0, 53}, {50.9, 0, 50}},      // diagonal: z at x
      {{50, 0, 0}, {50, 0, 100}, {53.5, 2, 40.25}, {50, 2, 40.25}},  // north-south: x = 50
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.v.x);
    Expect(MakeNet({r.a, r.b, r.v}, {{0, 2, 17000, 3, 0}}), [] { return BgrAlignNodes("n.bgr", 0, 1, 10); },
           MakeNet({r.a, r.b, r.expected}, {{0, 2, 17000, 3, 0}}));
  }
}

// Edges of 25, 100 and 500 feet; widths change, flags and types stay.
Net WidthNet(int32_t c0 = 16904, int32_t c1 = 17096, int32_t c2 = 18120) {
  return MakeNet({{0, 0, 0}, {1, 0, 1}}, {{0, 1, c0, 0x5, 1}, {0, 1, c1, 0x6, 0}, {0, 1, c2, 0x7, 1}});
}

// Scripts: defaults for what a line leaves out, comments and unknown
// commands ignored, repeated lines run once, long lines cut.
TEST_F(ScriptTest, Scripts) {
  const std::pair<std::string, Net> rows[] = {
      {"<bgr-width-edges> 30 60\n", WidthNet(16916, 16993, 16993)},
      {"<bgr-width-edges> 30 60\r\n", WidthNet(16916, 16993, 16993)},
      {"<bgr-width-edges> 40\n", WidthNet(16942, 17096, 17096)},
      {"<bgr-\n", WidthNet(16904, 17096, 17096)},
      {"; comment\n<bgr-foo> 1 2\n<BGR-width-edges> 30 60\n", WidthNet()},
      {"<bgr-width-edges> x\n", WidthNet()},
      {"<bgr-width-edges> 99999999999999999999 -99999999999999999999\n", WidthNet(18120, 18120, 18120)},
      {std::string(254, 'x') + "<bgr-width-edges> 30 60\n", WidthNet(16916, 16993, 16993)},
      {"<bgr-width-edges> 30 60" + std::string(300, ' ') + "<bgr-width-edges> 100 100\n", WidthNet(16916, 16993, 16993)},
      {"<bgr-width-edges> 30 600\n<bgr-width-edges> 200 300\n", WidthNet(17352, 17352, 17608)},
  };
  for (const auto& [script, expected] : rows) {
    SCOPED_TRACE(script);
    WriteFileBytes("s.txt", script);
    Expect(WidthNet(), [] { return BgrScript("n.bgr", "s.txt"); }, expected);
  }
}

// Failures change nothing: a network without origin (each command reports
// it; a script stops at the first), a missing network, an empty or missing
// script; a script without commands leaves the file as it was.
TEST_F(ScriptTest, Failures) {
  Net noOrigin = WidthNet();
  noOrigin.origin = false;
  const std::string bytes = NetBytes(noOrigin), message = "ERROR: Bgr no origin record in 'n.bgr'\n";
  WriteFileBytes("s.txt", "<bgr-width-edges> 30 60\n<bgr-replace-edges> 0 1\n");
  WriteFileBytes("e.txt", "\n\n");
  const std::pair<std::function<int()>, std::string> rows[] = {
      {[] { return BgrReplaceEdges("n.bgr", 0, 1, 10); }, message},
      {[] { return BgrAlignNodes("n.bgr", 0, 1, 10); }, message},
      {[] { return BgrWidthEdges("n.bgr", 30, 60); }, message},
      {[] { return BgrScript("n.bgr", "s.txt"); }, message},
      {[] { return BgrScript("n.bgr", "e.txt"); }, ""},
      {[] { return BgrScript("n.bgr", "missing.txt"); }, ""},
      {[] { return BgrWidthEdges("missing.bgr", 30, 60); }, "ERROR: Bgr source file 'missing.bgr' not found\n"},
  };
  for (const auto& [command, printed] : rows) {
    WriteFileBytes("n.bgr", bytes);
    CaptureConsole console;
    EXPECT_EQ(command(), 0) << printed;
    EXPECT_EQ(console.Text(), printed);
    ExpectUntouched("n.bgr", bytes);
  }
  Net trailing = WidthNet();
  trailing.trailer = std::string("<tex1>") + '\0';
  WriteFileBytes("s.txt", "nothing here\n<bgr-unknown> 1\n");
  Expect(trailing, [] { return BgrScript("n.bgr", "s.txt"); }, trailing);
}

}  // namespace
}  // namespace ostrand
