// The operations that copy a network into another file: move, delete
// edges, and the TXD and TXP exports (their cases are rows of
// testdata/operations.txt; here what a table row cannot hold).
#include "ostrand/ops/bgr_move.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ostrand/frame/options.h"
#include "ostrand/ops/bgr_export.h"
#include "ostrand/ops/test_networks.h"
#include "ostrand/ops/test_support.h"

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

// A move of all vertices reaches those beyond number 9999 (the other moves
// and deletes are rows of testdata/operations.txt).
TEST_F(CopyTest, MovesBeyond9999) {
  Net grid = GridNet(10005);
  WriteFileBytes("a.bgr", NetBytes(grid));
  EXPECT_EQ(BgrMove("a.bgr", "b.bgr", 1, 0, -1, -1), 1);
  for (NetVertex& v : grid.vertices) v.z += 1;
  EXPECT_EQ(ReadFileBytes("b.bgr"), NetBytes(grid));
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

using ExportTest = CopyTest;

// The output name replaces the last extension (the exports themselves are
// rows of testdata/operations.txt).
TEST_F(ExportTest, OutputNames) {
  WriteFileBytes("n.x.bgr", ExampleNetworkBytes());
  EXPECT_EQ(BgrTxd("n.x.bgr") + BgrTxp("n.x.bgr", 1), 2);
  EXPECT_TRUE(FileExistsOnDisk("n.x.txd") && FileExistsOnDisk("n.x.txp"));
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
  WriteFileBytes("t.bgr", NetBytes(MoveNet()));
  WriteFileBytes("big.bgr", NetBytes(GridNet(12002)));
  std::filesystem::create_directory("t.txp");
  std::filesystem::create_directory("t.txd");
  CaptureConsole console;
  for (const char* operation :
       {"move missing.bgr b.bgr 1 1 -1 -1", "delete t.bgr nodir/b.bgr 0 1", "move d.bgr e.bgr 0 0 -1 -1",
        "delete d.bgr f.bgr 7 -1", "txd missing.bgr", "txp missing.bgr 0", "txp t.bgr 0", "txd t.bgr",
        "txd big.bgr", "txp d.bgr 0"}) {
    EXPECT_EQ(RunOperation(operation), 0) << operation;
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
