#include "ostrand/ops/bgr_merge.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ostrand/frame/options.h"
#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using testing::AllCuts;
using testing::CaptureConsole;
using testing::ExpectUntouched;
using testing::MakeNet;
using testing::Net;
using testing::NetBytes;
using testing::NetEdge;
using testing::NetVertex;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

class RewriteTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

Net FileNet() {  // 3 vertices, 2 edges
  Net net;
  net.lat = 1.0;
  net.lon = 2.0;
  net.vertices = {{10.7, 1.2, -20.9}, {30, 0, 40}, {50, 0, 60}};
  net.edges = {{0, 1, 16904, 3, 0}, {1, 2, 17000, 0, 1}};
  return net;
}

Net File2Net() {  // 4 vertices, 3 edges
  Net net;
  net.lat = 184827.0;
  net.lon = 3600.0;
  net.elev = 12.5;
  net.vertices = {{0, 0, 0}, {100, 0, 0}, {100, 0, 100}, {-0.5, 0, 7}};
  net.edges = {{0, 1}, {1, 2, 16968, 0x12, 0}, {2, 3}};
  return net;
}

// Merge 3+2 into 4+3: file2's origin and vertices, then file's vertices in
// whole feet and its edges renumbered; sections after file2's edges are
// dropped. An empty network adds nothing.
TEST_F(RewriteTest, MergeThreePlusTwoIntoFourPlusThree) {
  Net file2 = File2Net();
  file2.trailer = std::string("<tex1>") + '\0' + "abc";
  Net merged = File2Net();
  merged.vertices = {{0, 0, 0},    {100, 0, 0}, {100, 0, 100}, {0, 0, 7},
                     {10, 1, -20}, {30, 0, 40}, {50, 0, 60}};  // whole feet
  merged.edges.push_back({4, 5, 16904, 3, 0});
  merged.edges.push_back({5, 6, 17000, 0, 1});
  Net unchanged = File2Net();
  unchanged.vertices[3].x = 0;
  struct Case {
    Net file, expected;
  } const cases[] = {{FileNet(), merged}, {Net(), unchanged}};
  for (const auto& c : cases) {
    WriteFileBytes("file.bgr", NetBytes(c.file));
    WriteFileBytes("file2.bgr", NetBytes(file2));
    EXPECT_EQ(BgrMerge("file.bgr", "file2.bgr"), 1);
    EXPECT_EQ(ReadFileBytes("file2.bgr"), NetBytes(c.expected));
    EXPECT_EQ(ReadFileBytes("file.bgr"), NetBytes(c.file));
    EXPECT_FALSE(testing::StagedFileLeft());
  }
}

TEST_F(RewriteTest, MergeOverflowLeavesFile2Unchanged) {
  const std::string bytes2 = NetBytes(testing::GridNet(1500));
  WriteFileBytes("file.bgr", NetBytes(testing::GridNet(503)));
  WriteFileBytes("file2.bgr", bytes2);
  CaptureConsole console;
  EXPECT_EQ(BgrMerge("file.bgr", "file2.bgr"), 0);
  ExpectUntouched("file2.bgr", bytes2);
  std::string text = console.Text();
  size_t reports = 0;
  for (size_t at = 0; (at = text.find("ERROR: BgrMerge too many nodes in file.bgr\n", at)) != std::string::npos; ++at) ++reports;
  EXPECT_EQ(reports, 3u);
}

TEST_F(RewriteTest, MergeMissingAndMalformedInputs) {
  const std::string good = NetBytes(File2Net());
  Net noOrigin = File2Net();
  noOrigin.origin = false;
  const std::string bad = NetBytes(noOrigin);
  struct Case {
    const char* file;
    const char* file2;
    std::string message;
  } cases[] = {
      {"good.bgr", "missing.bgr", "ERROR: BgrMerge source file 'missing.bgr' not found\n"},
      {"missing.bgr", "good2.bgr", "ERROR: BgrMerge source file 'missing.bgr' not found\n"},
      {"good.bgr", "bad.bgr", "ERROR: BgrMerge no origin record in 'bad.bgr'\n"},
      {"bad.bgr", "good2.bgr", "ERROR: BgrMerge no origin record in 'bad.bgr'\n"},
  };
  for (const auto& c : cases) {
    WriteFileBytes("good.bgr", good);
    WriteFileBytes("good2.bgr", good);
    WriteFileBytes("bad.bgr", bad);
    CaptureConsole console;
    EXPECT_EQ(BgrMerge(c.file, c.file2), 0) << c.file << " " << c.file2;
    EXPECT_EQ(console.Text(), c.message);
    EXPECT_FALSE(testing::FileExistsOnDisk("missing.bgr"));
    EXPECT_FALSE(testing::StagedFileLeft());
    EXPECT_EQ(ReadFileBytes("good2.bgr"), good);
    EXPECT_EQ(ReadFileBytes("bad.bgr"), bad);
  }
}

// Purge: vertex 0 at the origin, then the vertices in the order edges
// first refer to them, those within 5 feet in x and z (inclusive) folded into
// the first; ends outside the file attach to vertex 0.
TEST_F(RewriteTest, PurgeRenumbersAndFolds) {
  const std::vector<NetVertex> kept = {{0, 0, 0}, {100, 0, 100}, {500, 0, 500}};
  const auto fold = [](NetVertex second) {
    return MakeNet({{500, 0, 500}, {100, 0, 100}, second}, {{1, 0}, {2, 0}});
  };
  Net renumber =
      MakeNet({{100, 0, 100}, {200, 0, 100}, {300, 0, 300}, {400, 1, 400}, {500, 2, 500.25}},
              {{3, 4, 17000, 5, 0}, {4, 2, 16968, 0, 1}});
  renumber.lat = 5;
  Net renumbered = renumber;
  renumbered.vertices = {{0, 0, 0}, {400, 1, 400}, {500, 2, 500.25}, {300, 0, 300}};
  renumbered.edges = {{1, 2, 17000, 5, 0}, {2, 3, 16968, 0, 1}};
  struct Case {
    const char* what;
    Net net, expected;
  } const cases[] = {
      {"renumbered", renumber, renumbered},
      {"5 in x, 3 in z", fold({105, 9, 103}), MakeNet(kept, {{1, 2}, {1, 2}})},
      {"6 in x", fold({106, 0, 103}),
       MakeNet({kept[0], kept[1], kept[2], {106, 0, 103}}, {{1, 2}, {3, 2}})},
      {"5 in both", fold({95, 0, 95}), MakeNet(kept, {{1, 2}, {1, 2}})},
      {"5.1 in z", fold({100, 0, 94.9}),
       MakeNet({kept[0], kept[1], kept[2], {100, 0, 94.9}}, {{1, 2}, {3, 2}})},
      {"origin and bad ends",
       MakeNet({{3, 7, -4}, {100, 0, 100}}, {{0, 1}, {1, 9}, {-3, 1}, {1, 1}}),
       MakeNet({{0, 0, 0}, {100, 0, 100}}, {{0, 1}, {1, 0}, {0, 1}, {1, 1}})},
  };
  for (const auto& c : cases) {
    WriteFileBytes("p.bgr", NetBytes(c.net));
    EXPECT_EQ(BgrPurge("p.bgr"), 1) << c.what;
    EXPECT_EQ(ReadFileBytes("p.bgr"), NetBytes(c.expected)) << c.what;
  }
}

// The grid-accelerated purge gives the same file as the plain search of
// FindOrAddPoint on random networks with many near and far vertices.
TEST_F(RewriteTest, PurgeMatchesThePlainSearch) {
  std::mt19937 rng(11);
  for (int round = 0; round < 30; ++round) {
    Net net;
    const int n = 1 + static_cast<int>(rng() % 300);
    for (int i = 0; i < n; ++i) {
      net.vertices.push_back({static_cast<double>(rng() % 200) - 100 + (rng() % 4) * 0.25, 0,
                              static_cast<double>(rng() % 200) - 100});
    }
    const int edges = static_cast<int>(rng() % 400);
    for (int i = 0; i < edges; ++i) {
      net.edges.push_back({static_cast<int32_t>(rng() % (n + 2)) - 1,
                           static_cast<int32_t>(rng() % (n + 2)) - 1});
    }
    WriteFileBytes("p.bgr", NetBytes(net));
    ASSERT_EQ(BgrPurge("p.bgr"), 1);

    std::vector<DoublePoint> source;
    for (const auto& v : net.vertices) source.push_back({v.x, v.y, v.z});
    std::vector<DoublePoint> kept(kMaxDoublePoints);
    int32_t keptCount = 1;
    Net expected = net;
    expected.edges.clear();
    for (const NetEdge& e : net.edges) {
      NetEdge r = e;
      r.from = FindOrAddPoint(e.from, source.data(), n, kept.data(), keptCount, 5.0);
      r.to = FindOrAddPoint(e.to, source.data(), n, kept.data(), keptCount, 5.0);
      expected.edges.push_back(r);
    }
    expected.vertices.clear();
    for (int32_t k = 0; k < keptCount; ++k) expected.vertices.push_back({kept[k].x, kept[k].y, kept[k].z});
    EXPECT_EQ(ReadFileBytes("p.bgr"), NetBytes(expected)) << round;
  }
}

TEST_F(RewriteTest, PurgeOfTheLargestNetworkKeepsEveryVertex) {
  // 12000 distinct vertices, none near the origin, all used: the kept
  // table holds the origin entry and all of them.
  Net net = testing::GridNet(12000);
  for (auto& v : net.vertices) v.x += 1000;
  WriteFileBytes("p.bgr", NetBytes(net));
  EXPECT_EQ(BgrPurge("p.bgr"), 1);
  Net expected = net;
  expected.vertices.insert(expected.vertices.begin(), NetVertex{0, 0, 0});
  for (auto& e : expected.edges) {
    ++e.from;
    ++e.to;
  }
  EXPECT_EQ(ReadFileBytes("p.bgr"), NetBytes(expected));
}

TEST_F(RewriteTest, PurgeFailures) {
  Net noOrigin = File2Net();
  noOrigin.origin = false;
  const std::string bad = NetBytes(noOrigin);
  WriteFileBytes("bad.bgr", bad);
  CaptureConsole console;
  EXPECT_EQ(BgrPurge("bad.bgr"), 0);
  ExpectUntouched("bad.bgr", bad);
  EXPECT_EQ(BgrPurge("missing.bgr"), 0);
  EXPECT_FALSE(testing::FileExistsOnDisk("missing.bgr"));
  EXPECT_EQ(console.Text(),
            "ERROR: BgrPurge no origin record in 'bad.bgr'\n"
            "ERROR: BgrPurge source file 'missing.bgr' not found\n");
}

TEST(RewriteDeathTest, PurgeOfMoreThan12000VerticesIsFatalAndLeavesNoTemp) {
  ScratchDir dir;
  const std::string bytes = NetBytes(testing::GridNet(12001));
  WriteFileBytes("p.bgr", bytes);
  EXPECT_EXIT(BgrPurge("p.bgr"), ::testing::ExitedWithCode(0), "");
  ExpectUntouched("p.bgr", bytes);
  EXPECT_NE(ReadFileBytes("report.txt").find("ERROR: insert_double_points failed\n"),
            std::string::npos);
}

// Every cut of the inputs: either a clean rewrite or the target unchanged
// and no temporary file left.
TEST_F(RewriteTest, CutInputs) {
  const std::string file = NetBytes(FileNet());
  for (const std::string& cut : AllCuts(NetBytes(MakeNet({{1, 2, 3}, {40, 5, 60}}, {{1, 0}})))) {
    CaptureConsole console;
    WriteFileBytes("file.bgr", file);
    WriteFileBytes("file2.bgr", cut);
    if (BgrMerge("file.bgr", "file2.bgr") == 0) ExpectUntouched("file2.bgr", cut);
    WriteFileBytes("p.bgr", cut);
    if (BgrPurge("p.bgr") == 0) ExpectUntouched("p.bgr", cut);
    EXPECT_FALSE(testing::StagedFileLeft());
  }
}

TEST_F(RewriteTest, RandomBytes) {
  std::mt19937 rng(3);
  const std::string head = NetBytes(Net()).substr(0, 7 + 7 + 28);
  for (int round = 0; round < 100; ++round) {
    std::string bytes = head;
    const size_t n = rng() % 300;
    for (size_t i = 0; i < n; ++i) bytes += "<>edgvlocn\0\x01\xff"[rng() % 13];
    CaptureConsole console;
    WriteFileBytes("p.bgr", bytes);
    if (BgrPurge("p.bgr") == 0) ExpectUntouched("p.bgr", bytes);
    WriteFileBytes("p.bgr", bytes);
    WriteFileBytes("q.bgr", bytes);
    if (BgrMerge("p.bgr", "q.bgr") == 0) ExpectUntouched("q.bgr", bytes);
  }
}

}  // namespace
}  // namespace ostrand
