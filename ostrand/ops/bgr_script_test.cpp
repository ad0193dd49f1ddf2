#include "ostrand/ops/bgr_script.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using namespace testing;

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

class ScriptTest : public ::testing::Test {
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
  ScratchDir dir_;
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
