// The network operations run as commands of the built program: options,
// file names, exit status and files on disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrand/ops/network_fixtures.h"

namespace ostrand {
namespace {

using testing::Bytes;
using testing::Net;
using testing::NetBytes;
using testing::ReadFileBytes;
using testing::RunOstrand;
using testing::ScratchDir;
using testing::WriteFileBytes;

Net CommandNet() {
  Net net;
  net.vertices = {{0, 0, 0}, {2560, 0, 5120}, {2563, 0, 5122}, {300, 0, 300}};
  net.edges = {{1, 0}, {0, 2, 16904}, {2, 1}};
  return net;
}

TEST(OpsCommandsTest, EachModeRuns) {
  ScratchDir dir;
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string file;
    Net expected;
  };
  Net moved = CommandNet();
  for (auto& v : moved.vertices) {
    v.z += 10;
    v.x -= 5;
  }
  Net deleted = CommandNet();
  deleted.edges = {{0, 2, 16904}};
  Net purged = CommandNet();
  purged.vertices = {{0, 0, 0}, {2560, 0, 5120}};
  purged.edges = {{1, 0}, {0, 1, 16904}, {1, 1}};
  Net merged = CommandNet();
  for (const auto& v : CommandNet().vertices) merged.vertices.push_back(v);
  for (auto e : CommandNet().edges) {
    e.from += 4;
    e.to += 4;
    merged.edges.push_back(e);
  }
  Net widened = CommandNet();
  widened.edges[1].code = 16916;
  Case cases[] = {
      {{"-mv10:-5", "a.bgr", "b.bgr"}, 1, "b.bgr", moved},
      {{"-de1:-1", "a.bgr", "b.bgr"}, 1, "b.bgr", deleted},
      {{"-pg", "a.bgr"}, 1, "a.bgr", purged},
      {{"-rsscript.txt", "a.bgr"}, 1, "a.bgr", widened},
      {{"-mg", "a.bgr", "b.bgr"}, 1, "b.bgr", merged},
      {{"-mv", "a.bgr", "./a.bgr"}, 0, "a.bgr", CommandNet()},
      {{"-mg", "a.bgr"}, 255, "a.bgr", CommandNet()},
  };
  WriteFileBytes("script.txt", "<bgr-width-edges> 30\n");
  for (const auto& c : cases) {
    WriteFileBytes("a.bgr", NetBytes(CommandNet()));
    WriteFileBytes("b.bgr", NetBytes(CommandNet()));
    const auto run = RunOstrand(c.args);
    EXPECT_EQ(run.status, c.status) << c.args[0];
    EXPECT_EQ(ReadFileBytes(c.file), NetBytes(c.expected)) << c.args[0];
  }
}

TEST(OpsCommandsTest, ExportsAndDeletedLines) {
  ScratchDir dir;
  WriteFileBytes("a.bgr", NetBytes(CommandNet()));
  auto run = RunOstrand({"-txd", "a.bgr"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(ReadFileBytes("a.txd").size(), 4u + 3 * 32 + 4 + 4 * 32);
  run = RunOstrand({"-txp0", "a.bgr"});
  EXPECT_EQ(run.status, 1);
  const std::string pool0 = ReadFileBytes("a.txp");
  run = RunOstrand({"-txp", "a.bgr"});
  EXPECT_EQ(run.status, 1);
  EXPECT_GT(ReadFileBytes("a.txp").size(), pool0.size() + 4 * 24);
  run = RunOstrand({"-de2:1", "a.bgr", "b.bgr"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("\nDeleted 2 1\n"), std::string::npos) << run.output;
}

// Every operation against every way it can fail: the file it writes keeps
// its bytes and mode bits (or is not created), nothing staged is left
// behind, and the run exits with the failure status.
TEST(OpsCommandsTest, FailuresReplaceNothing) {
  ScratchDir dir;
  // Failure kinds: m missing source, r read-only target, f full disk,
  // d damaged input, o oversized network.
  struct Case {
    std::vector<std::string> args;
    const char* target;
    const char* kinds;
  } const cases[] = {
      {{"-mv1:1", "a.bgr", "b.bgr"}, "b.bgr", "mrf"},
      {{"-de0", "a.bgr", "b.bgr"}, "b.bgr", "mrf"},
      {{"-txd", "a.bgr"}, "a.txd", "mrfd"},
      {{"-txp", "a.bgr"}, "a.txp", "mrf"},
      {{"-mg", "a.bgr", "b.bgr"}, "b.bgr", "mrfd"},
      {{"-pg", "a.bgr"}, "a.bgr", "mrfd"},
      {{"-rsscript.txt", "a.bgr"}, "a.bgr", "mrfd"},
      {{"-tm", "a.bgr"}, "a.bgr", "rfdo"},
      {{"-tm", "a.bgr"}, "a.TMS", "rf"},
  };
  const std::string whole = NetBytes(testing::GridNet(400));  // beyond the size limit
  const std::string cut = whole.substr(0, whole.size() - 7 - 20);  // inside the last edge
  Net oversized = testing::GridNet(12000);
  oversized.edges.push_back({0, 2});  // 6001 edges
  WriteFileBytes("script.txt", "<bgr-width-edges> 30\n");
  for (const Case& c : cases) {
    for (const char* k = c.kinds; *k != '\0'; ++k) {
      SCOPED_TRACE(c.args[0] + " " + c.target + " " + *k);
      for (const char* name : {"a.bgr", "b.bgr", "a.txd", "a.txp", "a.TMS"}) {
        std::filesystem::remove(name);
        WriteFileBytes(name, whole);
        std::filesystem::permissions(name, static_cast<std::filesystem::perms>(0640));
      }
      if (*k == 'm') std::filesystem::remove("a.bgr");
      if (*k == 'd') WriteFileBytes("a.bgr", cut);
      if (*k == 'o') WriteFileBytes("a.bgr", NetBytes(oversized));
      const bool existed = std::filesystem::exists(c.target);
      const std::string before = ReadFileBytes(c.target);
      const auto mode = static_cast<std::filesystem::perms>(*k == 'r' ? 0444 : 0640);
      if (existed) std::filesystem::permissions(c.target, mode);
      const auto run = RunOstrand(c.args, OSTRAND_EXE, *k == 'f' ? 4096 : -1);
      EXPECT_EQ(run.status, 0);
      EXPECT_EQ(std::filesystem::exists(c.target), existed);  // none is created
      EXPECT_EQ(ReadFileBytes(c.target), before);
      if (existed) {
        EXPECT_EQ(std::filesystem::status(c.target).permissions(), mode);
      }
      EXPECT_FALSE(testing::StagedFileLeft());
    }
  }
}

}  // namespace
}  // namespace ostrand
