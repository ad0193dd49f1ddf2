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
#include "ostrand/ops/test_networks.h"
#include "ostrand/ops/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

class RewriteTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

// Vertices 3, 5, 6 and 7 lie along a line running east (6 lies 10 feet
// off it); the rest far off.
Net LineNet(std::vector<NetEdge> edges = {{0, 1}, {3, 5, 16904}, {5, 6}, {2, 4}, {6, 7},
                                          {7, 8, 17096, 0x21, 0}}) {
  return MakeNet({{0, 0, 500}, {50, 0, 500}, {0, 0, 900}, {0, 0, 0}, {300, 0, 900}, {10.9, 2, 1},
                  {20, 0, -10}, {30, 1, 0.5}, {400, 0, 400}}, std::move(edges));
}

// Edges of 25, 100 and 500 feet; widths change, flags and types stay.
Net WidthNet(int32_t c0 = 16904, int32_t c1 = 17096, int32_t c2 = 18120) {
  return MakeNet({{0, 0, 0}, {1, 0, 1}},
                 {{0, 1, c0, 0x5, 1}, {0, 1, c1, 0x6, 0}, {0, 1, c2, 0x7, 1}});
}

// The network with other vertices and edges (origin and trailer kept).
Net With(Net net, std::vector<NetVertex> vertices, std::vector<NetEdge> edges) {
  return net.vertices = std::move(vertices), net.edges = std::move(edges), net;
}

// Each command run on a network written as "n.bgr": the file then holds the
// expected network, and nothing is printed.
//
// Merge 3+2 into 4+3: file2's origin and vertices, then file's vertices in
// whole feet and its edges renumbered; sections after file2's edges are
// dropped; an empty network adds nothing.
// Purge: vertex 0 at the origin, then the vertices in the order edges
// first refer to them, those within 5 feet in x and z (inclusive) folded
// into the first; ends outside the file attach to vertex 0.
// Replace a..b: the edges along the line give way to one edge a-b with the
// width and type of the last of them (the tolerance is inclusive), added
// also when there is none; ends outside the file are kept; sections after
// the edges are dropped; a vertex number outside the file does nothing.
// Align: vertices within 10 feet of the line (and its box) move onto it.
// Scripts: defaults for what a line leaves out, comments and unknown
// commands ignored, repeated lines run once, long lines cut.
TEST_F(RewriteTest, Commands) {
  using Command = std::function<int()>;
  const auto merge = [](const Net& file) -> Command {
    return [=] {
      WriteFileBytes("file.bgr", NetBytes(file));
      return BgrMerge("file.bgr", "n.bgr");
    };
  };
  const Command purge = [] { return BgrPurge("n.bgr"); };
  const auto replace = [](int32_t b, int32_t tolerance) -> Command {
    return [=] { return BgrReplaceEdges("n.bgr", 3, b, tolerance); };
  };
  const auto script = [](const std::string& text) -> Command {
    return [=] { return WriteFileBytes("s.txt", text), BgrScript("n.bgr", "s.txt"); };
  };
  Net file = MakeNet({{10.7, 1.2, -20.9}, {30, 0, 40}, {50, 0, 60}},
                     {{0, 1, 16904, 3, 0}, {1, 2, 17000, 0, 1}});
  file.lat = 1.0;
  Net file2 = MakeNet({{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {-0.5, 0, 7}},
                      {{0, 1}, {1, 2, 16968, 0x12, 0}, {2, 3}});
  file2.elev = 12.5;
  const std::vector<NetVertex> whole2 = {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {0, 0, 7}};
  const std::vector<NetVertex> kept = {{0, 0, 0}, {100, 0, 100}, {500, 0, 500}};
  const auto fold = [](NetVertex v) {
    return MakeNet({{500, 0, 500}, {100, 0, 100}, v}, {{1, 0}, {2, 0}});
  };
  const auto apart = [&](NetVertex v) {
    return MakeNet({kept[0], kept[1], kept[2], v}, {{1, 2}, {3, 2}});
  };
  Net renumber =
      MakeNet({{100, 0, 100}, {200, 0, 100}, {300, 0, 300}, {400, 1, 400}, {500, 2, 500.25}},
              {{3, 4, 17000, 5, 0}, {4, 2, 16968, 0, 1}});
  renumber.lat = 5;
  const NetEdge last = {7, 8, 17096, 0x21, 0}, replaced = {3, 7, 17096, 0x21, 0};
  const std::string tex1 = std::string("<tex1>") + '\0';
  struct Row { Net net; Command command; Net expected; };
  // Vertex v of a network with the line a-b, and where align puts it.
  const auto align = [](NetVertex a, NetVertex b, NetVertex v, NetVertex moved) {
    const Command command = [] { return BgrAlignNodes("n.bgr", 0, 1, 10); };
    const std::vector<NetEdge> edge = {{0, 2, 17000, 3, 0}};
    return Row{MakeNet({a, b, v}, edge), command, MakeNet({a, b, moved}, edge)};
  };
  const Row rows[] = {
      {WithTrailer(file2, tex1 + "abc"), merge(file),
       With(file2,
            {whole2[0], whole2[1], whole2[2], whole2[3], {10, 1, -20}, {30, 0, 40}, {50, 0, 60}},
            {{0, 1}, {1, 2, 16968, 0x12, 0}, {2, 3}, {4, 5, 16904, 3, 0}, {5, 6, 17000, 0, 1}})},
      {file2, merge(Net()), With(file2, whole2, file2.edges)},
      {renumber, purge,
       With(renumber, {{0, 0, 0}, {400, 1, 400}, {500, 2, 500.25}, {300, 0, 300}},
            {{1, 2, 17000, 5, 0}, {2, 3, 16968, 0, 1}})},
      {fold({105, 9, 103}), purge, MakeNet(kept, {{1, 2}, {1, 2}})},  // 5 in x, 3 in z
      {fold({106, 0, 103}), purge, apart({106, 0, 103})},
      {fold({95, 0, 95}), purge, MakeNet(kept, {{1, 2}, {1, 2}})},
      {fold({100, 0, 94.9}), purge, apart({100, 0, 94.9})},
      {MakeNet({{3, 7, -4}, {100, 0, 100}}, {{0, 1}, {1, 9}, {-3, 1}, {1, 1}}), purge,
       MakeNet({{0, 0, 0}, {100, 0, 100}}, {{0, 1}, {1, 0}, {0, 1}, {1, 1}})},
      {LineNet(), replace(7, 10), LineNet({{0, 1}, {2, 4}, last, replaced})},
      {LineNet(), replace(7, 9), LineNet({{0, 1}, {5, 6}, {2, 4}, {6, 7}, last, replaced})},
      {WithTrailer(LineNet({{0, 1}, {3, 99}, {-1, 5}, {5, 6}}), tex1 + "zz"), replace(7, 10),
       LineNet({{0, 1}, {3, 99}, {-1, 5}, {3, 7}})},
      {LineNet({{0, 1, 17000, 7, 0}}), replace(7, 10),
       LineNet({{0, 1, 17000, 7, 0}, {3, 7, 17000, 7, 0}})},
      {LineNet(), replace(-1, 10), LineNet()},
      {LineNet(), replace(9, 10), LineNet()},
      {LineNet(), replace(2147483647, 10), LineNet()},
      align({0, 0, 50}, {100, 0, 50}, {40.7, 3, 55.5}, {40.7, 3, 50}),    // east-west: z = z1
      align({0, 0, 50}, {100, 0, 50}, {40, 3, 61}, {40, 3, 61}),          // 11 off: unchanged
      align({0, 0, 50}, {100, 0, 50}, {-10, 3, 60}, {-10, 3, 50}),        // corner of the box
      align({0, 0, 0}, {100, 0, 100}, {50.9, 0, 53}, {50.9, 0, 50}),      // diagonal: z at x
      align({50, 0, 0}, {50, 0, 100}, {53.5, 2, 40.25}, {50, 2, 40.25}),  // north-south: x = 50
      {WidthNet(), script("<bgr-width-edges> 30 60\n"), WidthNet(16916, 16993, 16993)},
      {WidthNet(), script("<bgr-width-edges> 30 60\r\n"), WidthNet(16916, 16993, 16993)},
      {WidthNet(), script("<bgr-width-edges> 40\n"), WidthNet(16942, 17096, 17096)},
      {WidthNet(), script("<bgr-\n"), WidthNet(16904, 17096, 17096)},
      {WidthNet(), script("; comment\n<bgr-foo> 1 2\n<BGR-width-edges> 30 60\n"), WidthNet()},
      {WidthNet(), script("<bgr-width-edges> x\n"), WidthNet()},
      {WithTrailer(WidthNet(), tex1), script("nothing here\n<bgr-unknown> 1\n"),
       WithTrailer(WidthNet(), tex1)},
      {WidthNet(), script("<bgr-width-edges> 99999999999999999999 -99999999999999999999\n"),
       WidthNet(18120, 18120, 18120)},
      {WidthNet(), script(std::string(254, 'x') + "<bgr-width-edges> 30 60\n"),
       WidthNet(16916, 16993, 16993)},
      {WidthNet(),
       script("<bgr-width-edges> 30 60" + std::string(300, ' ') + "<bgr-width-edges> 100 100\n"),
       WidthNet(16916, 16993, 16993)},
      {WidthNet(), script("<bgr-width-edges> 30 600\n<bgr-width-edges> 200 300\n"),
       WidthNet(17352, 17352, 17608)},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    WriteFileBytes("n.bgr", NetBytes(rows[i].net));
    CaptureConsole console;
    EXPECT_EQ(rows[i].command(), 1);
    EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(rows[i].expected));
    EXPECT_EQ(console.Text(), "");
    EXPECT_FALSE(StagedFileLeft());
  }
}

// Failures print their message and change nothing: missing files and
// networks without origin on either side (a script stops at its first
// failing command), a merge beyond the capacity (reported for each vertex
// that does not fit), an empty or missing script.
TEST_F(RewriteTest, Failures) {
  Net noOrigin = WidthNet();
  noOrigin.origin = false;
  const std::string good = NetBytes(WidthNet()), bad = NetBytes(noOrigin);
  const std::string full = NetBytes(GridNet(1500)), noBad = " no origin record in 'bad.bgr'\n";
  const std::string overflow = "ERROR: BgrMerge too many nodes in big.bgr\n";
  const std::string missing = " source file 'missing.bgr' not found\n";
  const std::pair<std::function<int()>, std::string> rows[] = {
      {[] { return BgrMerge("good.bgr", "missing.bgr"); }, "ERROR: BgrMerge" + missing},
      {[] { return BgrMerge("missing.bgr", "good2.bgr"); }, "ERROR: BgrMerge" + missing},
      {[] { return BgrMerge("good.bgr", "bad.bgr"); }, "ERROR: BgrMerge" + noBad},
      {[] { return BgrMerge("bad.bgr", "good2.bgr"); }, "ERROR: BgrMerge" + noBad},
      {[] { return BgrMerge("big.bgr", "full.bgr"); }, overflow + overflow + overflow},
      {[] { return BgrPurge("bad.bgr"); }, "ERROR: BgrPurge" + noBad},
      {[] { return BgrPurge("missing.bgr"); }, "ERROR: BgrPurge" + missing},
      {[] { return BgrReplaceEdges("bad.bgr", 0, 1, 10); }, "ERROR: Bgr" + noBad},
      {[] { return BgrAlignNodes("bad.bgr", 0, 1, 10); }, "ERROR: Bgr" + noBad},
      {[] { return BgrWidthEdges("bad.bgr", 30, 60); }, "ERROR: Bgr" + noBad},
      {[] { return BgrScript("bad.bgr", "s.txt"); }, "ERROR: Bgr" + noBad},
      {[] { return BgrScript("good2.bgr", "e.txt"); }, ""},
      {[] { return BgrScript("good2.bgr", "missing.txt"); }, ""},
      {[] { return BgrWidthEdges("missing.bgr", 30, 60); }, "ERROR: Bgr" + missing},
  };
  WriteFileBytes("s.txt", "<bgr-width-edges> 30 60\n<bgr-replace-edges> 0 1\n");
  WriteFileBytes("e.txt", "\n\n");
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

// The pattern scan behaves as the C library's for numbers in range (texts
// made from pieces of commands, numbers, signs and blanks), and holds
// numbers beyond the 32-bit range at its limits.
TEST(ScriptParseTest, ScanPatternAgreesWithTheLibrary) {
  std::vector<std::string> texts = {
      "", "replace-edges> ", "replace-edges> 3 7", "replace-edges>3 7 12", "replace-edges> 3x",
      "replace-edges > 3", " replace-edges> 3", "replace-edges> +3 -7 \t 9 10",
      "replace-edges> - 3", "width-edges>\t30\n60", "align-nodes> 1 2 3", "Replace-edges> 1",
      "replace-edges> 1\r", "width-edges> 30,60", "alignX"};
  std::mt19937 rng(5);
  const char alphabet[] = "replacwidthgsno-> 0123456789+-\t";
  for (int i = 0; i < 3000; ++i) {
    const std::string& base = texts[rng() % texts.size()];
    std::string t = base.substr(0, rng() % (base.size() + 1));
    for (int k = rng() % 6; k > 0; --k) t += alphabet[rng() % (sizeof alphabet - 1)];
    if (t.find_first_of("0123456789") == std::string::npos || t.size() <= 18) texts.push_back(t);
  }
  for (const std::string& text : texts) {
    for (const char* pattern :
         {"replace-edges> %ld %ld %ld", "align-nodes> %ld %ld %ld", "width-edges> %ld %ld"}) {
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
