// The operations that copy a network into another file: move, delete
// edges, and the TXD and TXP exports.
#include "ostrand/ops/bgr_move.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "ostrand/frame/options.h"
#include "ostrand/ops/bgr_export.h"
#include "ostrand/ops/test_networks.h"

namespace ostrand {
namespace {

using namespace testing;

// A surface-like section after the edges that the copy must keep.
const std::string kSection = std::string("<tex1>") + '\0' + "\x01\x02\x03\xff" + "<endo>" + '\0';

Net MoveNet() {
  return MakeNet({{0, 0, 0}, {2560, 0, 5120}, {10, 2, 20}}, {{0, 1}, {1, 2}}, kSection);
}

class CopyTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }
  ScratchDir dir_;
};

// The network moved by dz, dx (the vertices listed), or with the edges listed.
Net Moved(Net net, std::vector<size_t> which, double dz, double dx) {
  for (size_t i : which) net.vertices[i].x += dx, net.vertices[i].z += dz;
  return net;
}

Net Kept(Net net, std::vector<size_t> kept) {
  std::vector<NetEdge> edges;
  for (size_t k : kept) edges.push_back(net.edges[k]);
  net.edges = edges;
  return net;
}

// Each copy of "a.bgr" into "b.bgr" (a longer file before: it is cut to
// the copy): the network it holds and the text printed. Everything but what
// the command changes is copied byte for byte, sections after the edges too.
// Move: the vertices of the range (all for -1; one for an upper end of -1;
// also beyond number 9999), printed with the print flag. Delete: the edges
// between the two vertices, either way round, or all edges of one vertex
// for an upper end of -1, each printed. Vertex numbers whose bytes hold '<'
// and '>' (574 is 3E 02 00 00, 1084 is 3C 04 00 00) and a width word with
// '<' are copied whole, not taken for tags.
TEST_F(CopyTest, Copies) {
  using Command = std::function<int()>;
  const auto move = [](long vmin, long vmax) -> Command {
    return [=] { return BgrMove("a.bgr", "b.bgr", 1.5, -512, vmin, vmax); };
  };
  const auto del = [](long vmin, long vmax) -> Command {
    return [=] { return BgrDeleteEdges("a.bgr", "b.bgr", vmin, vmax); };
  };
  const Net net = MoveNet(), grid = GridNet(10005);
  Net edges = MakeNet({}, {{5, 6}, {1, 2}, {6, 5}, {5, 7}, {7, 5}}, kSection);
  for (int i = 0; i < 8; ++i) edges.vertices.push_back({i * 10.0, 0, 0});
  Net tags = GridNet(1100);
  tags.edges = {{574, 1084}, {1084, 574, 0x3C3C, 0x3C3E, 1}, {574, 575}, {60, 62}};
  std::vector<size_t> all(10005);
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  struct Row { Net net; Command command; Net expected; std::string printed; };
  const Row rows[] = {
      {net, move(-1, -1), Moved(net, {0, 1, 2}, 1.5, -512), ""},
      {net, move(1, -1), Moved(net, {1}, 1.5, -512), ""},
      {net, move(1, 2), Moved(net, {1, 2}, 1.5, -512), ""},
      {net, move(0, 0), Moved(net, {0}, 1.5, -512), ""},
      {net, move(5, -1), net, ""},
      {net, move(-5, 1), Moved(net, {0, 1}, 1.5, -512), ""},
      {grid, [] { return BgrMove("a.bgr", "b.bgr", 1, 0, -1, -1); }, Moved(grid, all, 1, 0), ""},
      {MakeNet({{1, 2, 3}}, {}),
       [] { return Options().printFlag = 1, BgrMove("a.bgr", "b.bgr", 10, 20, 0, -1); },
       MakeNet({{21, 2, 13}}, {}), "<vloc> (0) 21.000000 2.000000 13.000000\n"},
      {edges, del(5, 6), Kept(edges, {1, 3, 4}), "Deleted 5 6\nDeleted 6 5\n"},
      {edges, del(6, 5), Kept(edges, {1, 3, 4}), "Deleted 5 6\nDeleted 6 5\n"},
      {edges, del(5, -1), Kept(edges, {1}), "Deleted 5 6\nDeleted 6 5\nDeleted 5 7\nDeleted 7 5\n"},
      {edges, del(-1, -1), edges, ""},
      {edges, del(2, 1), Kept(edges, {0, 2, 3, 4}), "Deleted 1 2\n"},
      {edges, del(3, -1), edges, ""},
      {WithTrailer(net, ""), del(2, 1), Kept(WithTrailer(net, ""), {0}), "Deleted 1 2\n"},
      {tags, [] { return BgrMove("a.bgr", "b.bgr", 0, 0, 5, -1); }, tags, ""},
      {tags, del(574, 575), Kept(tags, {0, 1, 3}), "Deleted 574 575\n"},
      {tags, del(1084, -1), Kept(tags, {2, 3}), "Deleted 574 1084\nDeleted 1084 574\n"},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    ResetOptions();
    WriteFileBytes("a.bgr", NetBytes(rows[i].net));
    WriteFileBytes("b.bgr", std::string(5000, 'x'));
    CaptureConsole console;
    EXPECT_EQ(rows[i].command(), 1);
    EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(rows[i].expected));
    EXPECT_EQ(console.Text(), rows[i].printed);
  }
}

// The source itself under another name (case, folders, a hard link, '\\',
// leading blanks) is refused as destination and left as it was.
TEST_F(CopyTest, SameFileIsRefused) {
  const std::string bytes = NetBytes(MoveNet());
  WriteFileBytes("a.bgr", bytes);
  std::filesystem::create_directory("sub");
  std::filesystem::create_hard_link("a.bgr", "sub/link.bgr");
  for (const char* alias :
       {"a.bgr", "./a.bgr", "A.BGR", "sub/../a.bgr", "sub\\link.bgr", "  a.bgr"}) {
    CaptureConsole console;
    EXPECT_EQ(BgrMove("a.bgr", alias, 1, 1, -1, -1), 0) << alias;
    EXPECT_EQ(BgrDeleteEdges("a.bgr", alias, 0, 1), 0) << alias;
    EXPECT_EQ(ReadFileBytes("a.bgr"), bytes) << alias;
    const std::string same = std::string(" dest file '") + alias + "' is the source file\n";
    EXPECT_EQ(console.Text(), "ERROR: BgrMove" + same + "ERROR: BgrDeleteEdges" + same);
  }
}

// A cut source is copied as far as it goes: with nothing to change, the
// destination is exactly the cut source.
TEST_F(CopyTest, CutSourcesAreCopiedAsFarAsTheyGo) {
  const std::string bytes = NetBytes(MoveNet());
  for (size_t n = 0; n < bytes.size(); ++n) {
    const std::string cut = bytes.substr(0, n);
    WriteFileBytes("a.bgr", cut);
    EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 0, 0, 7, -1), 1);
    EXPECT_EQ(ReadFileBytes("b.bgr"), cut) << cut.size();
    EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 0, 0, -1, -1), 1);  // fields cut short copied as they were
    EXPECT_EQ(ReadFileBytes("b.bgr"), cut) << cut.size();
    EXPECT_EQ(BgrDeleteEdges("a.bgr", "c.bgr", -1, -1), 1);
    EXPECT_EQ(ReadFileBytes("c.bgr"), cut) << cut.size();
  }
}

const char kBegin[] = "<bgno> ========== BEGIN OBJECT ==========";
const char kEnd[] = "<endo> ========== END OBJECT ==========";

using ExportTest = CopyTest;

Net ThreeVertices() {
  Net net = MakeNet({{1.5, 2, 3}, {4, 5, 6.25}, {-7, 8, 9}}, {{0, 1}, {2, 1, 17000, 0x33, 0}});
  return net.lon = -3600.5, net.elev = 7.0, net;
}

// TXD: the edge count, per edge from, to, 0.0, 75.0, 75.0; the vertex
// count, per vertex x, z, 0.0, 0.0.
std::string Txd(const Net& net) {
  Bytes b;
  b.Int(static_cast<int32_t>(net.edges.size()));
  for (const NetEdge& e : net.edges) b.Int(e.from).Int(e.to).Real(0).Real(75).Real(75);
  b.Int(static_cast<int32_t>(net.vertices.size()));
  for (const NetVertex& v : net.vertices) b.Real(v.x).Real(v.z).Real(0).Real(0);
  return b.str();
}

// The example network (104 bytes), a network without edges, one with
// edges; the output name replaces the last extension. A failed export
// replaces nothing.
TEST_F(ExportTest, TxdTable) {
  const Net noEdges = MakeNet(ThreeVertices().vertices, {});
  const Net example = MakeNet({{0, 0, 0}, {2560, 0, 5120}}, {{0, 1, 16968, 0, 0}});
  for (const Net& net : {example, noEdges, ThreeVertices()}) {
    WriteFileBytes("n.x.bgr", NetBytes(net));
    EXPECT_EQ(BgrTxd("n.x.bgr"), 1);
    EXPECT_EQ(ReadFileBytes("n.x.txd"), Txd(net));
  }
  WriteFileBytes("n.x.bgr", "no network");
  CaptureConsole console;
  EXPECT_EQ(BgrTxd("n.x.bgr"), 0);
  EXPECT_EQ(ReadFileBytes("n.x.txd"), Txd(ThreeVertices()));
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
    b.Tag("<poly> ---- polygon ----").Tag(kBegin);
    b.Tag("<pvrt> ---- vertex reference list ----").Int(n);
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
      EXPECT_EQ(ReadFileBytes("t.txp"), TxpWithPool(net, variant == 0))
          << variant << " " << net.vertices.size();
    }
  }
  Options().printFlag = 1;  // the fields are printed
  CaptureConsole console;
  WriteFileBytes("t.bgr", NetBytes(MakeNet({{1, 2, 3}}, {})));
  EXPECT_EQ(BgrTxp("t.bgr", 0), 1);
  EXPECT_NE(console.Text().find(" 1.000000 2.000000 3.000000\n"), std::string::npos);
}

// Missing sources, outputs that cannot be opened, a malformed tag (which
// ends a copy or a TXP export), more than 12000 vertices for an export (a
// part is no export): reported as testdata/export_failures.txt lists, and
// no output made (a move from a missing source leaves its destination
// created empty).
TEST_F(ExportTest, Failures) {
  Net damaged = MoveNet();
  damaged.trailer = std::string("<bad>x") + std::string("<endo>") + '\0';
  WriteFileBytes("d.bgr", NetBytes(damaged));
  WriteFileBytes("t.bgr", NetBytes(ThreeVertices()));
  WriteFileBytes("big.bgr", NetBytes(GridNet(12002)));
  std::filesystem::create_directory("t.txp");
  std::filesystem::create_directory("t.txd");
  CaptureConsole console;
  for (const auto& run : {+[] { return BgrMove("missing.bgr", "b.bgr", 1, 1, -1, -1); },
                          +[] { return BgrDeleteEdges("t.bgr", "nodir/b.bgr", 0, 1); },
                          +[] { return BgrMove("d.bgr", "e.bgr", 0, 0, -1, -1); },
                          +[] { return BgrDeleteEdges("d.bgr", "f.bgr", 7, -1); },
                          +[] { return BgrTxd("missing.bgr"); },
                          +[] { return BgrTxp("missing.bgr", 0); },
                          +[] { return BgrTxp("t.bgr", 0); }, +[] { return BgrTxd("t.bgr"); },
                          +[] { return BgrTxd("big.bgr"); }, +[] { return BgrTxp("d.bgr", 0); }}) {
    EXPECT_EQ(run(), 0);
  }
  const std::string golden = OSTRAND_SOURCE_DIR "/ostrand/ops/testdata/export_failures.txt";
  EXPECT_EQ(console.Text(), ReadFileBytes(golden));
  EXPECT_EQ(ReadFileBytes("b.bgr"), "");
  for (const char* name : {"e.bgr", "f.bgr", "missing.txd", "missing.txp", "big.txd", "d.txp"}) {
    EXPECT_FALSE(FileExistsOnDisk(name)) << name;
  }
}

}  // namespace
}  // namespace ostrand
