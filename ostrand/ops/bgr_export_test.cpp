#include "ostrand/ops/bgr_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "ostrand/frame/options.h"
#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using testing::AllCuts;
using testing::Bytes;
using testing::CaptureConsole;
using testing::Net;
using testing::NetBytes;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

const char kBegin[] = "<bgno> ========== BEGIN OBJECT ==========";
const char kEnd[] = "<endo> ========== END OBJECT ==========";

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }
  ScratchDir dir_;
};

Net ThreeVertices() {
  Net net;
  net.lat = 184827.0;
  net.lon = -3600.5;
  net.elev = 7.0;
  net.vertices = {{1.5, 2, 3}, {4, 5, 6.25}, {-7, 8, 9}};
  net.edges = {{0, 1}, {2, 1, 17000, 0x33, 0}};
  return net;
}

// TXD records: an edge, a vertex.
Bytes& TxdEdge(Bytes& b, int32_t from, int32_t to) {
  return b.Int(from).Int(to).Real(0.0).Real(75.0).Real(75.0);
}
Bytes& TxdVertex(Bytes& b, double x, double z) { return b.Real(x).Real(z).Real(0).Real(0); }

TEST_F(ExportTest, TxdOfTwoVerticesAndOneEdgeIs104Bytes) {
  WriteFileBytes("net.bgr", testing::ExampleNetworkBytes());
  EXPECT_EQ(BgrTxd("net.bgr"), 1);
  Bytes expected;
  TxdVertex(TxdVertex(TxdEdge(expected.Int(1), 0, 1).Int(2), 0, 0), 2560, 5120);
  ASSERT_EQ(expected.str().size(), 104u);
  EXPECT_EQ(ReadFileBytes("net.txd"), expected.str());
}

TEST_F(ExportTest, TxdTable) {
  Net noEdges = ThreeVertices();
  noEdges.edges.clear();
  Bytes three, two;
  TxdVertex(TxdVertex(TxdVertex(three.Int(3), 1.5, 3), 4, 6.25), -7, 9);
  TxdEdge(TxdEdge(two.Int(2), 0, 1), 2, 1);
  struct Case {
    std::string source, expected;
    int result;
  } cases[] = {
      {NetBytes(noEdges), Bytes().Int(0).Raw(three.str()).str(), 1},
      {NetBytes(ThreeVertices()), two.Raw(three.str()).str(), 1},
      {"no network", "old", 0},  // a failed export replaces nothing
  };
  for (const auto& c : cases) {
    WriteFileBytes("n.x.bgr", c.source);
    WriteFileBytes("n.x.txd", "old");
    CaptureConsole console;
    EXPECT_EQ(BgrTxd("n.x.bgr"), c.result);
    EXPECT_EQ(ReadFileBytes("n.x.txd"), c.expected);
  }
  CaptureConsole console;
  EXPECT_EQ(BgrTxd("missing.bgr"), 0);
  EXPECT_EQ(console.Text(), "ERROR: BgrTxd source file 'missing.bgr' not found\n");
  EXPECT_FALSE(testing::FileExistsOnDisk("missing.txd"));
}

TEST_F(ExportTest, TxdOfMoreThan12000VerticesIsRefused) {
  Net net = testing::GridNet(12002);
  WriteFileBytes("big.bgr", NetBytes(net));
  CaptureConsole console;
  EXPECT_EQ(BgrTxd("big.bgr"), 0);
  EXPECT_EQ(console.Text(), "ERROR: BgrTxd too many nodes in big.txd\n"
                            "ERROR: BgrTxd too many nodes in big.txd\n");
  EXPECT_FALSE(testing::FileExistsOnDisk("big.txd"));  // a part is no export
}

std::string TxpWithPool(const Net& net, bool withData) {
  Bytes b;
  b.Tag(kBegin).Tag("<orgn> ---- origin ----").Real(net.lat).Real(net.lon).Real(net.elev).Int(1);
  if (!net.vertices.empty()) {
    b.Tag("<vert> ---- vertex pool ----").Int(withData ? static_cast<int32_t>(net.vertices.size()) : 0);
    if (withData) {
      for (const auto& v : net.vertices) b.Real(v.x).Real(v.y).Real(v.z);
      b.Tag("<poly> ---- polygon ----").Tag(kBegin).Tag("<pvrt> ---- vertex reference list ----");
      b.Int(static_cast<int32_t>(net.vertices.size()));
      for (size_t i = 0; i < net.vertices.size(); ++i) b.Int(static_cast<int32_t>(i));
      b.Tag(kEnd);
    }
  }
  b.Tag(kEnd);
  return b.str();
}

TEST_F(ExportTest, TxpTable) {
  Net empty = ThreeVertices();
  empty.vertices.clear();
  empty.edges.clear();
  struct Case {
    Net net;
    int variant;
    bool withData;
  } cases[] = {
      {ThreeVertices(), 0, true},
      {ThreeVertices(), 1, false},
      {empty, 0, true},
      {empty, 1, false},
  };
  for (const auto& c : cases) {
    WriteFileBytes("t.bgr", NetBytes(c.net));
    EXPECT_EQ(BgrTxp("t.bgr", c.variant), 1);
    EXPECT_EQ(ReadFileBytes("t.txp"), TxpWithPool(c.net, c.withData))
        << c.variant << " " << c.net.vertices.size();
  }
}

TEST_F(ExportTest, TxpFailures) {
  CaptureConsole console;
  EXPECT_EQ(BgrTxp("missing.bgr", 0), 0);
  EXPECT_FALSE(testing::FileExistsOnDisk("missing.txp"));
  WriteFileBytes("t.bgr", NetBytes(ThreeVertices()));
  std::filesystem::create_directory("t.txp");  // the output cannot be opened
  std::filesystem::create_directory("t.txd");
  EXPECT_EQ(BgrTxp("t.bgr", 0), 0);
  EXPECT_EQ(BgrTxd("t.bgr"), 0);
  EXPECT_EQ(console.Text(),
            "ERROR: BgrTxp source file 'missing.bgr' not found\n"
            "ERROR: BgrTxp dest file 't.txp' not openable\n"
            "ERROR: BgrTxd dest file 't.txd' not openable\n");
}

TEST_F(ExportTest, TxpPrintsFieldsWithThePrintFlag) {
  Net net;
  net.vertices = {{1, 2, 3}};
  WriteFileBytes("t.bgr", NetBytes(net));
  Options().printFlag = 1;
  CaptureConsole console;
  EXPECT_EQ(BgrTxp("t.bgr", 0), 1);
  EXPECT_NE(console.Text().find(" 1.000000 2.000000 3.000000\n"), std::string::npos);
}

TEST_F(ExportTest, CutAndRandomSources) {
  std::vector<std::string> sources = AllCuts(NetBytes(ThreeVertices()));
  std::mt19937 rng(9);
  for (int i = 0; i < 50; ++i) {
    std::string bytes = "<bgno>";
    bytes += '\0';
    const size_t n = rng() % 300;
    for (size_t k = 0; k < n; ++k) bytes += "<>edgvlocnrt\0\x01\xff"[rng() % 15];
    sources.push_back(bytes);
  }
  for (const std::string& source : sources) {
    WriteFileBytes("t.bgr", source);
    CaptureConsole console;
    std::filesystem::remove("t.txd");
    std::filesystem::remove("t.txp");
    if (BgrTxd("t.bgr") == 0) {
      EXPECT_FALSE(testing::FileExistsOnDisk("t.txd"));
    } else {
      const std::string txd = ReadFileBytes("t.txd");
      ASSERT_GE(txd.size(), 8u);
      EXPECT_EQ((txd.size() - 8) % 32, 0u);
    }
    if (BgrTxp("t.bgr", 0) == 0) {
      EXPECT_FALSE(testing::FileExistsOnDisk("t.txp"));
      continue;
    }
    const std::string txp = ReadFileBytes("t.txp");
    EXPECT_EQ(txp.substr(0, sizeof kBegin), std::string(kBegin, sizeof kBegin));
    EXPECT_EQ(txp.substr(txp.size() - sizeof kEnd), std::string(kEnd, sizeof kEnd));
  }
}

}  // namespace
}  // namespace ostrand
