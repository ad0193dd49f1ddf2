#include "ostrand/ops/bgr_merge.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace ostrand
