#include "ostrand/ops/bgr_script.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using testing::AllCuts;
using testing::CaptureConsole;
using testing::ExpectUntouched;
using testing::Net;
using testing::NetBytes;
using testing::NetEdge;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

const char* const kPatterns[] = {"replace-edges> %ld %ld %ld", "align-nodes> %ld %ld %ld",
                                 "width-edges> %ld %ld"};

// The pattern scan behaves as the C library's for numbers in range.
TEST(ScriptParseTest, ScanPatternAgreesWithTheLibrary) {
  std::vector<std::string> texts = {
      "", "r", "replace", "replace-edges>", "replace-edges> ", "replace-edges> 3",
      "replace-edges> 3 7", "replace-edges>3 7 12", "replace-edges> 3x", "replace-edges> x",
      "replace-edges > 3", " replace-edges> 3", "replace-edges> +3 -7 \t 9 10",
      "replace-edges> - 3", "replace-edges> -", "width-edges> 40", "width-edges>\t30\n60",
      "align-nodes> 1 2 3", "Replace-edges> 1", "replace-edges> 1 2 3 4",
      "replace-edges> 1\r", "align", "w", "width-edges> 30,60", "alignX"};
  std::mt19937 rng(5);
  const char alphabet[] = "replacwidthgsno-> 0123456789+-\t";
  for (int i = 0; i < 3000; ++i) {
    const std::string& base = texts[rng() % texts.size()];
    std::string t = base.substr(0, rng() % (base.size() + 1));
    const int extra = static_cast<int>(rng() % 6);
    for (int k = 0; k < extra; ++k) t += alphabet[rng() % (sizeof alphabet - 1)];
    if (t.find_first_of("0123456789") != std::string::npos && t.size() > 18) continue;
    texts.push_back(t);
  }
  for (const std::string& text : texts) {
    for (const char* pattern : kPatterns) {
      long expected[3] = {-11, -12, -13};
      const int want = std::sscanf(text.c_str(), pattern, &expected[0], &expected[1], &expected[2]);
      int32_t got[3] = {-11, -12, -13};
      ASSERT_EQ(ScanPattern(text.c_str(), pattern, got), want) << "'" << text << "' " << pattern;
      for (int k = 0; k < 3; ++k) EXPECT_EQ(got[k], expected[k]) << "'" << text << "'";
    }
  }
}

TEST(ScriptParseTest, HugeNumbersAreHeldAtTheLimits) {
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
  struct Case {
    const char* text;
    std::vector<ScriptCall> calls;
  } cases[] = {
      {"", {{C::kReplaceEdges, {-1, -1, 10}}, {C::kAlignNodes, {-1, -1, 10}}, {C::kWidthEdges, {25, 100, 0}}}},
      {"replace-edges> 3 7", {{C::kReplaceEdges, {3, 7, 10}}}},
      {"replace-edges> 3 7 4", {{C::kReplaceEdges, {3, 7, 4}}}},
      {"replace", {{C::kReplaceEdges, {-1, -1, 10}}}},
      {"align-nodes> 2", {{C::kAlignNodes, {2, -1, 10}}}},
      {"width-edges> 40", {{C::kWidthEdges, {40, 100, 0}}}},
      {"width-edges> 30 60", {{C::kWidthEdges, {30, 60, 0}}}},
      {"width-edges> x", {}},
      {"Replace-edges> 3 7", {}},
      {"foo> 1 2", {}},
      {"replace-edges>", {{C::kReplaceEdges, {-1, -1, 10}}}},
  };
  for (const auto& c : cases) {
    const std::vector<ScriptCall> calls = ParseScriptLine(c.text);
    ASSERT_EQ(calls.size(), c.calls.size()) << c.text;
    for (size_t i = 0; i < calls.size(); ++i) {
      EXPECT_EQ(calls[i].command, c.calls[i].command) << c.text;
      for (int k = 0; k < 3; ++k) EXPECT_EQ(calls[i].values[k], c.calls[i].values[k]) << c.text;
    }
  }
}

class ScriptTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

// Vertices 3, 5, 6 and 7 lie along a line running east; the rest far off.
Net LineNet() {
  return testing::MakeNet({{0, 0, 500},
                           {50, 0, 500},
                           {0, 0, 900},
                           {0, 0, 0},
                           {300, 0, 900},
                           {10.9, 2, 1},
                           {20, 0, -10},
                           {30, 1, 0.5},
                           {400, 0, 400}},
                          {{0, 1}, {3, 5, 16904}, {5, 6}, {2, 4}, {6, 7}, {7, 8, 17096, 0x21, 0}});
}

// Replace 3..7: the edges along the line give way to one edge 3-7 with the
// width and type of the last of them; the tolerance is inclusive.
TEST_F(ScriptTest, ReplaceEdgesAlongTheLine) {
  const NetEdge last = {7, 8, 17096, 0x21, 0}, replaced = {3, 7, 17096, 0x21, 0};
  struct Case {
    int32_t tolerance;
    std::vector<NetEdge> edges;
  } cases[] = {  // vertex 6 lies 10 feet off the line
      {10, {{0, 1}, {2, 4}, last, replaced}},
      {9, {{0, 1}, {5, 6}, {2, 4}, {6, 7}, last, replaced}},
  };
  for (const auto& c : cases) {
    WriteFileBytes("n.bgr", NetBytes(LineNet()));
    EXPECT_EQ(BgrReplaceEdges("n.bgr", 3, 7, c.tolerance), 1);
    Net expected = LineNet();
    expected.edges = c.edges;
    EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(expected)) << c.tolerance;
  }
}

TEST_F(ScriptTest, ReplaceSpecialCases) {
  Net net = LineNet();
  net.edges = {{0, 1}, {3, 99}, {-1, 5}, {5, 6}};  // ends outside the file are kept
  net.trailer = std::string("<tex1>") + '\0' + "zz";
  WriteFileBytes("n.bgr", NetBytes(net));
  EXPECT_EQ(BgrReplaceEdges("n.bgr", 3, 7, 10), 1);
  Net expected = net;
  expected.trailer.clear();
  expected.edges = {{0, 1}, {3, 99}, {-1, 5}, {3, 7}};
  EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(expected));

  // No edge on the line: the edge a-b is still added.
  net = LineNet();
  net.edges = {{0, 1, 17000, 7, 0}};
  WriteFileBytes("n.bgr", NetBytes(net));
  EXPECT_EQ(BgrReplaceEdges("n.bgr", 3, 7, 10), 1);
  expected = net;
  expected.edges.push_back({3, 7, 17000, 7, 0});
  EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(expected));

  // Inactive: a vertex number outside the file.
  for (int32_t b : {-1, 9, 2147483647}) {
    WriteFileBytes("n.bgr", NetBytes(LineNet()));
    EXPECT_EQ(BgrReplaceEdges("n.bgr", 3, b, 10), 1);
    EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(LineNet())) << b;
  }
}

TEST_F(ScriptTest, AlignTable) {
  struct Case {
    testing::NetVertex a, b, v, expected;
  } cases[] = {
      {{0, 0, 50}, {100, 0, 50}, {40.7, 3, 55.5}, {40.7, 3, 50}},    // east-west: z = z1
      {{0, 0, 50}, {100, 0, 50}, {40, 3, 61}, {40, 3, 61}},          // 11 off: unchanged
      {{0, 0, 50}, {100, 0, 50}, {-10, 3, 60}, {-10, 3, 50}},        // corner of the box
      {{0, 0, 0}, {100, 0, 100}, {50.9, 0, 53}, {50.9, 0, 50}},      // diagonal: ZAtX(50)
      {{50, 0, 0}, {50, 0, 100}, {53.5, 2, 40.25}, {50, 2, 40.25}},  // north-south: x = 50
  };
  for (const auto& c : cases) {
    const Net net = testing::MakeNet({c.a, c.b, c.v}, {{0, 2, 17000, 3, 0}});
    WriteFileBytes("n.bgr", NetBytes(net));
    EXPECT_EQ(BgrAlignNodes("n.bgr", 0, 1, 10), 1);
    Net expected = net;
    expected.vertices[2] = c.expected;
    EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(expected)) << c.v.x << "," << c.v.z;
  }
}

TEST_F(ScriptTest, CommandsRefuseAFileWithoutOrigin) {
  Net net = LineNet();
  net.origin = false;
  const std::string bytes = NetBytes(net);
  WriteFileBytes("n.bgr", bytes);
  for (int which = 0; which < 3; ++which) {
    CaptureConsole console;
    const int result = which == 0   ? BgrReplaceEdges("n.bgr", 3, 7, 10)
                       : which == 1 ? BgrAlignNodes("n.bgr", 3, 7, 10)
                                    : BgrWidthEdges("n.bgr", 30, 60);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(console.Text(), "ERROR: Bgr no origin record in 'n.bgr'\n");
    ExpectUntouched("n.bgr", bytes);
  }
  CaptureConsole console;
  EXPECT_EQ(BgrWidthEdges("missing.bgr", 30, 60), 0);
  EXPECT_EQ(console.Text(), "ERROR: Bgr source file 'missing.bgr' not found\n");
}

// Edges of 25, 100 and 500 feet; widths change, flags and types stay.
Net WidthNet() {
  return testing::MakeNet({{0, 0, 0}, {1, 0, 1}},
                          {{0, 1, 16904, 0x5, 1}, {0, 1, 17096, 0x6, 0}, {0, 1, 18120, 0x7, 1}});
}

// Width codes of WidthNet after a script.
Net WidthNetWith(int32_t c0, int32_t c1, int32_t c2) {
  Net net = WidthNet();
  for (int32_t i : {0, 1, 2}) net.edges[i].code = (i == 0 ? c0 : i == 1 ? c1 : c2);
  return net;
}

TEST_F(ScriptTest, ScriptsTable) {
  const std::string longPrefix(254, 'x');
  struct Case {
    std::string script;
    Net expected;
  } cases[] = {
      {"<bgr-width-edges> 30 60\n", WidthNetWith(16916, 16993, 16993)},
      {"<bgr-width-edges> 30 60\r\n", WidthNetWith(16916, 16993, 16993)},
      {"<bgr-width-edges> 40\n", WidthNetWith(16942, 17096, 17096)},
      {"<bgr-\n", WidthNetWith(16904, 17096, 17096)},  // all three with defaults
      {"<bgr-width-edges>\n", WidthNetWith(16904, 17096, 17096)},
      {"; comment\n<bgr-foo> 1 2\n<BGR-width-edges> 30 60\n", WidthNet()},
      {"<bgr-width-edges> x\n", WidthNet()},
      {"<bgr-width-edges> 99999999999999999999 -99999999999999999999\n",
       WidthNetWith(18120, 18120, 18120)},
      {longPrefix + "<bgr-width-edges> 30 60\n", WidthNetWith(16916, 16993, 16993)},
      {"<bgr-width-edges> 30 60" + std::string(300, ' ') + "<bgr-width-edges> 100 100\n",
       WidthNetWith(16916, 16993, 16993)},
      {"<bgr-width-edges> 30 600\n<bgr-width-edges> 200 300\n", WidthNetWith(17352, 17352, 17608)},
  };
  for (const auto& c : cases) {
    WriteFileBytes("n.bgr", NetBytes(WidthNet()));
    WriteFileBytes("s.txt", c.script);
    CaptureConsole console;
    EXPECT_EQ(BgrScript("n.bgr", "s.txt"), 1) << c.script;
    EXPECT_EQ(ReadFileBytes("n.bgr"), NetBytes(c.expected)) << c.script;
    EXPECT_EQ(console.Text(), "") << c.script;
  }
}

TEST_F(ScriptTest, ScriptWithoutCommandsLeavesTheFileAlone) {
  Net net = WidthNet();
  net.trailer = std::string("<tex1>") + '\0';
  const std::string bytes = NetBytes(net);
  WriteFileBytes("n.bgr", bytes);
  WriteFileBytes("s.txt", "nothing here\n<bgr-unknown> 1\n");
  EXPECT_EQ(BgrScript("n.bgr", "s.txt"), 1);
  EXPECT_EQ(ReadFileBytes("n.bgr"), bytes);
  WriteFileBytes("e.txt", "\n\n");
  EXPECT_EQ(BgrScript("n.bgr", "e.txt"), 0);
  EXPECT_EQ(BgrScript("n.bgr", "missing.txt"), 0);
  EXPECT_EQ(ReadFileBytes("n.bgr"), bytes);
}

TEST_F(ScriptTest, ScriptStopsAtTheFirstFailingCommand) {
  Net net = WidthNet();
  net.origin = false;
  const std::string bytes = NetBytes(net);
  WriteFileBytes("n.bgr", bytes);
  WriteFileBytes("s.txt", "<bgr-width-edges> 30 60\n<bgr-replace-edges> 0 1\n");
  CaptureConsole console;
  EXPECT_EQ(BgrScript("n.bgr", "s.txt"), 0);
  EXPECT_EQ(console.Text(), "ERROR: Bgr no origin record in 'n.bgr'\n");  // once: stopped
  ExpectUntouched("n.bgr", bytes);
}

TEST_F(ScriptTest, CutNetworks) {
  const Net net = testing::MakeNet({{0, 0, 0}, {10, 0, 1}, {20, 0, 0}}, {{0, 1}, {1, 2}});
  for (const std::string& cut : AllCuts(NetBytes(net))) {
    CaptureConsole console;
    WriteFileBytes("n.bgr", cut);
    if (BgrReplaceEdges("n.bgr", 0, 2, 10) == 0) ExpectUntouched("n.bgr", cut);
    EXPECT_FALSE(testing::StagedFileLeft());
  }
}

}  // namespace
}  // namespace ostrand
