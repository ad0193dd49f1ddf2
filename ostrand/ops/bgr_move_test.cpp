#include "ostrand/ops/bgr_move.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ostrand/frame/options.h"
#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using namespace testing;

// A surface-like section after the edges that the copy must keep.
const std::string kSection = std::string("<tex1>") + '\0' + "\x01\x02\x03\xff" + "<endo>" + '\0';

Net MoveNet() { return MakeNet({{0, 0, 0}, {2560, 0, 5120}, {10, 2, 20}}, {{0, 1}, {1, 2}}, kSection); }

class CopyTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }
  ScratchDir dir_;
};

// The vertices of the range move (all for -1, one for an upper end of -1),
// everything else is copied byte for byte, nothing is printed.
TEST_F(CopyTest, MoveRanges) {
  struct Row { long vmin, vmax; bool moved[3]; };
  const Row rows[] = {{-1, -1, {true, true, true}},  {1, -1, {false, true, false}}, {1, 2, {false, true, true}},
                      {0, 0, {true, false, false}},  {5, -1, {false, false, false}}, {-5, 1, {true, true, false}}};
  for (const Row& r : rows) {
    WriteFileBytes("a.bgr", NetBytes(MoveNet()));
    CaptureConsole console;
    EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 1.5, -512, r.vmin, r.vmax), 1);
    Net expected = MoveNet();
    for (int i = 0; i < 3; ++i) {
      expected.vertices[i].x -= r.moved[i] ? 512 : 0;
      expected.vertices[i].z += r.moved[i] ? 1.5 : 0;
    }
    EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(expected)) << r.vmin << ":" << r.vmax;
    EXPECT_EQ(console.Text(), "");
  }
  Net net = GridNet(10005);  // all vertices: also those beyond number 9999
  WriteFileBytes("a.bgr", NetBytes(net));
  EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 1, 0, -1, -1), 1);
  for (auto& v : net.vertices) v.z += 1;
  EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(net));
}

TEST_F(CopyTest, MovePrintsWithPrintFlag) {
  WriteFileBytes("a.bgr", NetBytes(MakeNet({{1, 2, 3}}, {})));
  Options().printFlag = 1;
  CaptureConsole console;
  EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 10, 20, 0, -1), 1);
  EXPECT_NE(console.Text().find("<vloc> (0) 21.000000 2.000000 13.000000\n"), std::string::npos);
}

// The edges between the two vertices (either way round, or all edges of
// one vertex for an upper end of -1) are dropped and printed; sections
// after the edges are kept. A longer destination is cut to the copy.
TEST_F(CopyTest, DeleteEdges) {
  Net net = MakeNet({}, {{5, 6}, {1, 2}, {6, 5}, {5, 7}, {7, 5}}, kSection);
  for (int i = 0; i < 8; ++i) net.vertices.push_back({i * 10.0, 0, 0});
  Net last = MoveNet();
  last.trailer.clear();
  struct Row { Net net; long vmin, vmax; std::vector<size_t> kept; std::string printed; };
  const Row rows[] = {
      {net, 5, 6, {1, 3, 4}, "Deleted 5 6\nDeleted 6 5\n"},
      {net, 6, 5, {1, 3, 4}, "Deleted 5 6\nDeleted 6 5\n"},
      {net, 5, -1, {1}, "Deleted 5 6\nDeleted 6 5\nDeleted 5 7\nDeleted 7 5\n"},
      {net, -1, -1, {0, 1, 2, 3, 4}, ""},
      {net, 2, 1, {0, 2, 3, 4}, "Deleted 1 2\n"},
      {net, 3, -1, {0, 1, 2, 3, 4}, ""},
      {last, 2, 1, {0}, "Deleted 1 2\n"},
  };
  for (const Row& r : rows) {
    WriteFileBytes("a.bgr", NetBytes(r.net));
    WriteFileBytes("b.bgr", std::string(5000, 'x'));
    CaptureConsole console;
    EXPECT_EQ(BgrDeleteEdges("a.bgr", "b.bgr", r.vmin, r.vmax), 1);
    Net expected = r.net;
    expected.edges.clear();
    for (size_t k : r.kept) expected.edges.push_back(r.net.edges[k]);
    EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(expected)) << r.vmin << ":" << r.vmax;
    EXPECT_EQ(console.Text(), r.printed);
  }
}

// Vertex numbers whose bytes hold '<' and '>' (574 is 3E 02 00 00, 1084 is
// 3C 04 00 00) and a width word with '<' are copied whole, not taken for tags.
TEST_F(CopyTest, ValuesThatLookLikeTagsAreCopiedWhole) {
  Net net = GridNet(1100);
  net.edges = {{574, 1084}, {1084, 574, 0x3C3C, 0x3C3E, 1}, {574, 575}, {60, 62}};
  const std::string bytes = NetBytes(net);
  WriteFileBytes("a.bgr", bytes);
  CaptureConsole console;
  EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 0, 0, 5, -1), 1);
  EXPECT_EQ(ReadFileBytes("b.bgr"), bytes);
  EXPECT_EQ(BgrDeleteEdges("a.bgr", "c.bgr", 574, 575), 1);
  Net expected = net;
  expected.edges.erase(expected.edges.begin() + 2);
  EXPECT_EQ(ReadFileBytes("c.bgr"), NetBytes(expected));
  EXPECT_EQ(BgrDeleteEdges("a.bgr", "c.bgr", 1084, -1), 1);
  expected = net;
  expected.edges.erase(expected.edges.begin(), expected.edges.begin() + 2);
  EXPECT_EQ(ReadFileBytes("c.bgr"), NetBytes(expected));
  EXPECT_EQ(console.Text(), "Deleted 574 575\nDeleted 574 1084\nDeleted 1084 574\n");
}

// The source itself under another name (case, folders, a hard link, '\\',
// leading blanks) is refused as destination and left as it was.
TEST_F(CopyTest, SameFileIsRefused) {
  const std::string bytes = NetBytes(MoveNet());
  WriteFileBytes("a.bgr", bytes);
  std::filesystem::create_directory("sub");
  std::filesystem::create_hard_link("a.bgr", "sub/link.bgr");
  for (const char* alias : {"a.bgr", "./a.bgr", "A.BGR", "sub/../a.bgr", "sub\\link.bgr", "  a.bgr"}) {
    CaptureConsole console;
    EXPECT_EQ(BgrMove("a.bgr", alias, 1, 1, -1, -1), 0) << alias;
    EXPECT_EQ(BgrDeleteEdges("a.bgr", alias, 0, 1), 0) << alias;
    EXPECT_EQ(ReadFileBytes("a.bgr"), bytes) << alias;
    const std::string text = console.Text();
    EXPECT_NE(text.find("ERROR: BgrMove dest file '"), std::string::npos) << text;
    EXPECT_NE(text.find("ERROR: BgrDeleteEdges dest file '"), std::string::npos) << text;
    EXPECT_NE(text.find("' is the source file\n"), std::string::npos) << text;
  }
}

// A missing source, a destination that cannot be opened, a malformed tag
// (which ends the copy: reported, and no destination made).
TEST_F(CopyTest, Failures) {
  Net damaged = MoveNet();
  damaged.trailer = std::string("<bad>x") + std::string("<endo>") + '\0';
  WriteFileBytes("a.bgr", NetBytes(MoveNet()));
  WriteFileBytes("d.bgr", NetBytes(damaged));
  CaptureConsole console;
  EXPECT_EQ(BgrMove("missing.bgr", "b.bgr", 1, 1, -1, -1), 0);
  EXPECT_EQ(ReadFileBytes("b.bgr"), "");  // the destination is created empty
  EXPECT_EQ(BgrDeleteEdges("a.bgr", "nodir/b.bgr", 0, 1), 0);
  EXPECT_EQ(BgrMove("d.bgr", "e.bgr", 0, 0, -1, -1), 0);
  EXPECT_EQ(BgrDeleteEdges("d.bgr", "f.bgr", 7, -1), 0);
  EXPECT_EQ(console.Text(),
            "ERROR: BgrMove source file 'missing.bgr' not found\n"
            "ERROR: BgrMove dest file 'nodir/b.bgr' not openable\nDeleted 0 1\n"
            "ERROR: BgrMove stopped at a damaged record in 'd.bgr'\n"
            "ERROR: BgrDeleteEdges stopped at a damaged record in 'd.bgr'\n");
  EXPECT_FALSE(FileExistsOnDisk("e.bgr") || FileExistsOnDisk("f.bgr"));
}

// A cut source is copied as far as it goes: with nothing to change, the
// destination is exactly the cut source.
TEST_F(CopyTest, CutSourcesAreCopiedAsFarAsTheyGo) {
  for (const std::string& cut : AllCuts(NetBytes(MoveNet()))) {
    WriteFileBytes("a.bgr", cut);
    EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 0, 0, 7, -1), 1);
    EXPECT_EQ(ReadFileBytes("b.bgr"), cut) << cut.size();
    EXPECT_EQ(BgrDeleteEdges("a.bgr", "c.bgr", -1, -1), 1);
    EXPECT_EQ(ReadFileBytes("c.bgr"), cut) << cut.size();
    CaptureConsole console;
    EXPECT_EQ(BgrDeleteEdges("a.bgr", "d.bgr", 1, -1), 1);
    EXPECT_LE(ReadFileBytes("d.bgr").size(), cut.size());
  }
}

}  // namespace
}  // namespace ostrand
