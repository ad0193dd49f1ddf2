#include "ostrand/ops/bgr_move.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "ostrand/frame/options.h"
#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using testing::AllCuts;
using testing::CaptureConsole;
using testing::Net;
using testing::NetBytes;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

// A surface-like section after the edges that the copy must keep.
const std::string kSection = std::string("<tex1>") + '\0' + "\x01\x02\x03\xff" + "<endo>" + '\0';

Net MoveNet() {
  return testing::MakeNet({{0, 0, 0}, {2560, 0, 5120}, {10, 2, 20}}, {{0, 1}, {1, 2}}, kSection);
}

class CopyTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }
  ScratchDir dir_;
};

TEST_F(CopyTest, MoveAllShiftsEveryVertexAndKeepsOtherBytes) {
  WriteFileBytes("a.bgr", NetBytes(MoveNet()));
  CaptureConsole console;
  EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 256, -512, -1, -1), 1);
  Net expected = MoveNet();
  expected.vertices = {{-512, 0, 256}, {2048, 0, 5376}, {-502, 2, 276}};
  EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(expected));
  EXPECT_EQ(console.Text(), "");  // nothing printed without the print flag
}

TEST_F(CopyTest, MoveRanges) {
  struct Case {
    long vmin, vmax;
    bool moved[3];
  } cases[] = {
      {1, -1, {false, true, false}},
      {1, 2, {false, true, true}},
      {0, 0, {true, false, false}},
      {5, -1, {false, false, false}},
      {-5, 1, {true, true, false}},
  };
  for (const auto& c : cases) {
    WriteFileBytes("a.bgr", NetBytes(MoveNet()));
    EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 1.5, 2, c.vmin, c.vmax), 1);
    Net expected = MoveNet();
    for (int i = 0; i < 3; ++i) {
      if (c.moved[i]) {
        expected.vertices[i].x += 2;
        expected.vertices[i].z += 1.5;
      }
    }
    EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(expected)) << c.vmin << ":" << c.vmax;
  }
}

TEST_F(CopyTest, MoveAllReachesVerticesBeyond9999) {
  Net net = testing::GridNet(10005);
  WriteFileBytes("a.bgr", NetBytes(net));
  EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 1, 0, -1, -1), 1);
  for (auto& v : net.vertices) v.z += 1;
  EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(net));
}

TEST_F(CopyTest, MovePrintsWithPrintFlag) {
  WriteFileBytes("a.bgr", NetBytes(testing::MakeNet({{1, 2, 3}}, {})));
  Options().printFlag = 1;
  CaptureConsole console;
  EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 10, 20, 0, -1), 1);
  EXPECT_NE(console.Text().find("<vloc> (0) 21.000000 2.000000 13.000000\n"), std::string::npos);
}

// Sections after the edges are kept.
TEST_F(CopyTest, DeleteEdgesTable) {
  Net net = testing::MakeNet({}, {{5, 6}, {1, 2}, {6, 5}, {5, 7}, {7, 5}}, kSection);
  for (int i = 0; i < 8; ++i) net.vertices.push_back({i * 10.0, 0, 0});
  struct Case {
    long vmin, vmax;
    std::vector<size_t> kept;
    std::string printed;
  } cases[] = {
      {5, 6, {1, 3, 4}, "Deleted 5 6\nDeleted 6 5\n"},
      {6, 5, {1, 3, 4}, "Deleted 5 6\nDeleted 6 5\n"},
      {5, -1, {1}, "Deleted 5 6\nDeleted 6 5\nDeleted 5 7\nDeleted 7 5\n"},
      {-1, -1, {0, 1, 2, 3, 4}, ""},
      {2, 1, {0, 2, 3, 4}, "Deleted 1 2\n"},
      {3, -1, {0, 1, 2, 3, 4}, ""},
  };
  for (const auto& c : cases) {
    WriteFileBytes("a.bgr", NetBytes(net));
    CaptureConsole console;
    EXPECT_EQ(BgrDeleteEdges("a.bgr", "b.bgr", c.vmin, c.vmax), 1);
    Net expected = net;
    expected.edges.clear();
    for (size_t k : c.kept) expected.edges.push_back(net.edges[k]);
    EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(expected)) << c.vmin << ":" << c.vmax;
    EXPECT_EQ(console.Text(), c.printed);
  }
}

TEST_F(CopyTest, DeletingTheLastEdgeEndsWithTheClosingTag) {
  Net net = MoveNet();
  net.trailer.clear();
  WriteFileBytes("a.bgr", NetBytes(net));
  CaptureConsole console;
  EXPECT_EQ(BgrDeleteEdges("a.bgr", "b.bgr", 2, 1), 1);
  net.edges.pop_back();
  EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(net));  // exact length: nothing left behind
  // A destination that existed and was longer is cut to the copy.
  WriteFileBytes("c.bgr", std::string(5000, 'x'));
  EXPECT_EQ(BgrDeleteEdges("a.bgr", "c.bgr", 0, 1), 1);
  EXPECT_EQ(ReadFileBytes("c.bgr").size(), NetBytes(net).size());
}

TEST_F(CopyTest, SameFileIsRefused) {
  const std::string bytes = NetBytes(MoveNet());
  WriteFileBytes("a.bgr", bytes);
  std::filesystem::create_directory("sub");
  std::filesystem::create_hard_link("a.bgr", "sub/link.bgr");
  const char* aliases[] = {"a.bgr", "./a.bgr", "A.BGR", "sub/../a.bgr", "sub\\link.bgr", "  a.bgr"};
  for (const char* alias : aliases) {
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

TEST_F(CopyTest, MissingFiles) {
  WriteFileBytes("a.bgr", NetBytes(MoveNet()));
  CaptureConsole console;
  EXPECT_EQ(BgrMove("missing.bgr", "b.bgr", 1, 1, -1, -1), 0);
  EXPECT_EQ(ReadFileBytes("b.bgr"), "");  // the destination is created empty
  EXPECT_EQ(BgrDeleteEdges("a.bgr", "nodir/b.bgr", 0, 1), 0);
  EXPECT_EQ(console.Text(),
            "ERROR: BgrMove source file 'missing.bgr' not found\n"
            "ERROR: BgrMove dest file 'nodir/b.bgr' not openable\nDeleted 0 1\n");
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

// Vertex numbers whose bytes hold '<' and '>' (574 is 3E 02 00 00, 1084 is
// 3C 04 00 00) and a width word with '<' are copied whole, not taken for tags.
TEST_F(CopyTest, ValuesThatLookLikeTagsAreCopiedWhole) {
  Net net = testing::GridNet(1100);
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

// A malformed tag ends the copy there; that is reported, not passed off as
// a complete copy, and no destination is made.
TEST_F(CopyTest, DamagedRecordIsReported) {
  Net net = MoveNet();
  net.trailer = std::string("<bad>x") + std::string("<endo>") + '\0';
  WriteFileBytes("a.bgr", NetBytes(net));
  CaptureConsole console;
  EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 0, 0, -1, -1), 0);
  EXPECT_EQ(BgrDeleteEdges("a.bgr", "c.bgr", 7, -1), 0);
  EXPECT_EQ(console.Text(),
            "ERROR: BgrMove stopped at a damaged record in 'a.bgr'\n"
            "ERROR: BgrDeleteEdges stopped at a damaged record in 'a.bgr'\n");
  EXPECT_FALSE(testing::FileExistsOnDisk("b.bgr"));
  EXPECT_FALSE(testing::FileExistsOnDisk("c.bgr"));
}

TEST_F(CopyTest, RandomBytes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 100; ++round) {
    std::string bytes(rng() % 400, '\0');
    for (char& c : bytes) c = "<>edgvlocn\0\x01\xff"[rng() % 13];
    WriteFileBytes("a.bgr", bytes);
    CaptureConsole console;
    std::filesystem::remove("b.bgr");
    std::filesystem::remove("c.bgr");
    BgrMove("a.bgr", "b.bgr", 3, 4, -1, -1);
    EXPECT_LE(ReadFileBytes("b.bgr").size(), bytes.size());
    BgrDeleteEdges("a.bgr", "c.bgr", 0, -1);
    EXPECT_LE(ReadFileBytes("c.bgr").size(), bytes.size());
  }
}

}  // namespace
}  // namespace ostrand
