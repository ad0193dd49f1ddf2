#include "ostrand/ops/bgr_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ostrand/frame/options.h"
#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using namespace testing;

const char kBegin[] = "<bgno> ========== BEGIN OBJECT ==========";
const char kEnd[] = "<endo> ========== END OBJECT ==========";

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }
  ScratchDir dir_;
};

Net ThreeVertices() {
  Net net = MakeNet({{1.5, 2, 3}, {4, 5, 6.25}, {-7, 8, 9}}, {{0, 1}, {2, 1, 17000, 0x33, 0}});
  net.lon = -3600.5;
  net.elev = 7.0;
  return net;
}

// TXD: the edge count, per edge from, to, 0.0, 75.0, 75.0; the vertex
// count, per vertex x, z, 0.0, 0.0. A failed export replaces nothing.
TEST_F(ExportTest, TxdTable) {
  Net noEdges = ThreeVertices();
  noEdges.edges.clear();
  const auto edge = [](Bytes& b, int32_t from, int32_t to) -> Bytes& { return b.Int(from).Int(to).Real(0).Real(75).Real(75); };
  const auto vertex = [](Bytes& b, double x, double z) -> Bytes& { return b.Real(x).Real(z).Real(0).Real(0); };
  Bytes three, two, example;
  vertex(vertex(vertex(three.Int(3), 1.5, 3), 4, 6.25), -7, 9);
  edge(edge(two.Int(2), 0, 1), 2, 1);
  vertex(vertex(edge(example.Int(1), 0, 1).Int(2), 0, 0), 2560, 5120);
  const std::pair<std::string, std::string> rows[] = {
      {ExampleNetworkBytes(), example.str()},
      {NetBytes(noEdges), Bytes().Int(0).Raw(three.str()).str()},
      {NetBytes(ThreeVertices()), two.Raw(three.str()).str()},
      {"no network", "old"},
  };
  for (const auto& [source, expected] : rows) {
    WriteFileBytes("n.x.bgr", source);
    WriteFileBytes("n.x.txd", "old");
    CaptureConsole console;
    EXPECT_EQ(BgrTxd("n.x.bgr"), expected == "old" ? 0 : 1);
    EXPECT_EQ(ReadFileBytes("n.x.txd"), expected);
  }
  EXPECT_EQ(example.str().size(), 104u);
}

// TXP: the origin, then with pool data (variant 0) the vertex pool and one
// polygon over all vertices; variant 1 writes a pool of 0 vertices.
std::string TxpWithPool(const Net& net, bool withData) {
  Bytes b;
  b.Tag(kBegin).Tag("<orgn> ---- origin ----").Real(net.lat).Real(net.lon).Real(net.elev).Int(1);
  const int32_t n = static_cast<int32_t>(net.vertices.size());
  if (n > 0) b.Tag("<vert> ---- vertex pool ----").Int(withData ? n : 0);
  if (n > 0 && withData) {
    for (const auto& v : net.vertices) b.Real(v.x).Real(v.y).Real(v.z);
    b.Tag("<poly> ---- polygon ----").Tag(kBegin).Tag("<pvrt> ---- vertex reference list ----").Int(n);
    for (int32_t i = 0; i < n; ++i) b.Int(i);
    b.Tag(kEnd);
  }
  return b.Tag(kEnd).str();
}

TEST_F(ExportTest, TxpTable) {
  const Net empty = MakeNet({}, {});
  for (const Net& net : {ThreeVertices(), empty}) {
    for (int variant : {0, 1}) {
      WriteFileBytes("t.bgr", NetBytes(net));
      EXPECT_EQ(BgrTxp("t.bgr", variant), 1);
      EXPECT_EQ(ReadFileBytes("t.txp"), TxpWithPool(net, variant == 0)) << variant << " " << net.vertices.size();
    }
  }
  Options().printFlag = 1;  // the fields are printed
  CaptureConsole console;
  WriteFileBytes("t.bgr", NetBytes(MakeNet({{1, 2, 3}}, {})));
  EXPECT_EQ(BgrTxp("t.bgr", 0), 1);
  EXPECT_NE(console.Text().find(" 1.000000 2.000000 3.000000\n"), std::string::npos);
}

// Missing sources, outputs that cannot be opened, more than 12000 vertices
// (a part is no export): reported, and no output made.
TEST_F(ExportTest, Failures) {
  WriteFileBytes("t.bgr", NetBytes(ThreeVertices()));
  WriteFileBytes("big.bgr", NetBytes(GridNet(12002)));
  std::filesystem::create_directory("t.txp");
  std::filesystem::create_directory("t.txd");
  CaptureConsole console;
  for (const auto& run : {+[] { return BgrTxd("missing.bgr"); }, +[] { return BgrTxp("missing.bgr", 0); },
                          +[] { return BgrTxp("t.bgr", 0); }, +[] { return BgrTxd("t.bgr"); },
                          +[] { return BgrTxd("big.bgr"); }}) {
    EXPECT_EQ(run(), 0);
  }
  EXPECT_EQ(console.Text(),
            "ERROR: BgrTxd source file 'missing.bgr' not found\n"
            "ERROR: BgrTxp source file 'missing.bgr' not found\n"
            "ERROR: BgrTxp dest file 't.txp' not openable\n"
            "ERROR: BgrTxd dest file 't.txd' not openable\n"
            "ERROR: BgrTxd too many nodes in big.txd\nERROR: BgrTxd too many nodes in big.txd\n");
  EXPECT_FALSE(FileExistsOnDisk("missing.txd") || FileExistsOnDisk("missing.txp") || FileExistsOnDisk("big.txd"));
}

// Every cut of a network exports whole records or nothing.
TEST_F(ExportTest, CutSources) {
  for (const std::string& source : AllCuts(NetBytes(ThreeVertices()))) {
    WriteFileBytes("t.bgr", source);
    CaptureConsole console;
    std::filesystem::remove("t.txd");
    std::filesystem::remove("t.txp");
    if (BgrTxd("t.bgr") == 0) {
      EXPECT_FALSE(FileExistsOnDisk("t.txd"));
    } else {
      const std::string txd = ReadFileBytes("t.txd");
      ASSERT_GE(txd.size(), 8u);
      EXPECT_EQ((txd.size() - 8) % 32, 0u);
    }
    if (BgrTxp("t.bgr", 0) == 0) {
      EXPECT_FALSE(FileExistsOnDisk("t.txp"));
      continue;
    }
    const std::string txp = ReadFileBytes("t.txp");
    EXPECT_EQ(txp.substr(0, sizeof kBegin), std::string(kBegin, sizeof kBegin));
    EXPECT_EQ(txp.substr(txp.size() - sizeof kEnd), std::string(kEnd, sizeof kEnd));
  }
}

}  // namespace
}  // namespace ostrand
