// The network operations run as commands of the built program: options,
// file names, exit status, printed lines and files on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ostrand/ops/test_networks.h"

namespace ostrand {
namespace {

using namespace testing;

Net CommandNet() {
  return MakeNet({{0, 0, 0}, {2560, 0, 5120}, {2563, 0, 5122}, {300, 0, 300}},
                 {{1, 0}, {0, 2, 16904}, {2, 1}});
}

// Each mode on a.bgr (and b.bgr): the file it writes (or leaves), its exit
// status and a line it prints; names resolve without regard to case. The
// exports are measured: TXD 4 + 32 bytes per edge and 4 + 32 per vertex;
// TXP with pool data holds the 4 vertices' coordinates.
TEST(OpsCommandsTest, EachModeRuns) {
  ScratchDir dir;
  const Net base = CommandNet();
  Net moved = base, deleted = base, merged = base, widened = base;
  for (auto& v : moved.vertices) v = {v.x - 5, v.y, v.z + 10};
  deleted.edges = {{0, 2, 16904}};
  merged.vertices.insert(merged.vertices.end(), base.vertices.begin(), base.vertices.end());
  for (NetEdge e : base.edges) merged.edges.push_back({e.from + 4, e.to + 4, e.code});
  widened.edges[1].code = 16916;
  struct Row { std::vector<std::string> args; int status; std::string file, bytes, printed; };
  const Row rows[] = {
      {{"-mv10:-5", "a.bgr", "b.bgr"}, 1, "b.bgr", NetBytes(moved), ""},
      {{"-de1:-1", "a.bgr", "b.bgr"}, 1, "b.bgr", NetBytes(deleted), "\nDeleted 1 0\n"},
      {{"-de2:1", "a.bgr", "b.bgr"}, 1, "b.bgr",
       NetBytes(MakeNet(base.vertices, {{1, 0}, {0, 2, 16904}})), "\nDeleted 2 1\n"},
      {{"-pg", "a.bgr"}, 1, "a.bgr",
       NetBytes(MakeNet({{0, 0, 0}, {2560, 0, 5120}}, {{1, 0}, {0, 1, 16904}, {1, 1}})), ""},
      {{"-rsscript.txt", "a.bgr"}, 1, "a.bgr", NetBytes(widened), ""},
      {{"-mg", "a.bgr", "b.bgr"}, 1, "b.bgr", NetBytes(merged), ""},
      {{"-mv", "a.bgr", "./a.bgr"}, 0, "a.bgr", NetBytes(base), "is the source file"},
      {{"-mg", "a.bgr"}, 255, "a.bgr", NetBytes(base), ""},
      {{"-txd", "a.bgr"}, 1, "a.txd", std::string(4 + 3 * 32 + 4 + 4 * 32, '?'), ""},
      {{"-txp", "a.bgr"}, 1, "a.txp", std::string(429, '?'), ""},
      {{"-txp0", "a.bgr"}, 1, "a.txp", std::string(167, '?'), ""},
      {{"-ls", "A.BGR"}, 1, "a.bgr", NetBytes(base),
       "\n<vloc> (3) 300.000000 0.000000 300.000000\n<endo>\n"},
      {{"a.bgr"}, 1, "a.bgr", NetBytes(base), "\n<vloc> (2)\n<endo>\n"},
      {{"-ls1", "a.bgr"}, 1, "a.bgr", NetBytes(base),
       " 00<vloc> (1) 2560.000000 0.000000 5120.000000\n 00 00 00 00 00 06 A4 40"},
      {{"-ls", "missing.bgr"}, 0, "a.bgr", NetBytes(base),
       "\nERROR: BgrList source file 'missing.bgr' not found\n"},
  };
  WriteFileBytes("script.txt", "<bgr-width-edges> 30\n");
  for (const Row& r : rows) {
    SCOPED_TRACE(r.args[0]);
    WriteFileBytes("a.bgr", NetBytes(CommandNet()));
    WriteFileBytes("b.bgr", NetBytes(CommandNet()));
    const RunResult run = RunOstrand(r.args);
    EXPECT_EQ(run.status, r.status);
    const std::string written = ReadFileBytes(r.file);
    EXPECT_EQ(r.bytes.front() == '?' ? std::string(written.size(), '?') : written, r.bytes);
    EXPECT_NE(run.output.find(r.printed), std::string::npos) << run.output;
  }
}

// Every operation against every way it can fail: the file it writes keeps
// its bytes and mode bits (or is not created), nothing staged is left
// behind, and the run exits with the failure status. Failure kinds: m
// missing source, r read-only target, f full disk, d damaged input, o
// oversized network.
TEST(OpsCommandsTest, FailuresReplaceNothing) {
  ScratchDir dir;
  const std::pair<std::vector<std::string>, const char*> rows[] = {
      {{"-mv1:1", "a.bgr", "b.bgr", "b.bgr"}, "mrf"}, {{"-de0", "a.bgr", "b.bgr", "b.bgr"}, "mrf"},
      {{"-txd", "a.bgr", "a.txd"}, "mrfd"},          {{"-txp", "a.bgr", "a.txp"}, "mrf"},
      {{"-mg", "a.bgr", "b.bgr", "b.bgr"}, "mrfd"},   {{"-pg", "a.bgr", "a.bgr"}, "mrfd"},
      {{"-rsscript.txt", "a.bgr", "a.bgr"}, "mrfd"},  {{"-tm", "a.bgr", "a.bgr"}, "rfdo"},
      {{"-tm", "a.bgr", "a.TMS"}, "rf"},
  };
  const std::string whole = NetBytes(GridNet(400));                 // beyond the size limit
  const std::string cut = whole.substr(0, whole.size() - 7 - 20);  // inside the last edge
  Net oversized = GridNet(12000);
  oversized.edges.push_back({0, 2});  // 6001 edges
  WriteFileBytes("script.txt", "<bgr-width-edges> 30\n");
  for (const auto& [command, kinds] : rows) {
    std::vector<std::string> args = command;
    const std::string target = args.back();
    args.pop_back();
    for (const char* k = kinds; *k != '\0'; ++k) {
      SCOPED_TRACE(args[0] + " " + target + " " + *k);
      for (const char* name : {"a.bgr", "b.bgr", "a.txd", "a.txp", "a.TMS"}) {
        std::filesystem::remove(name);
        WriteFileBytes(name, whole);
        std::filesystem::permissions(name, static_cast<std::filesystem::perms>(0640));
      }
      if (*k == 'm') std::filesystem::remove("a.bgr");
      if (*k == 'd') WriteFileBytes("a.bgr", cut);
      if (*k == 'o') WriteFileBytes("a.bgr", NetBytes(oversized));
      const bool existed = std::filesystem::exists(target);
      const std::string before = ReadFileBytes(target);
      const auto mode = static_cast<std::filesystem::perms>(*k == 'r' ? 0444 : 0640);
      if (existed) std::filesystem::permissions(target, mode);
      EXPECT_EQ(RunOstrand(args, OSTRAND_EXE, *k == 'f' ? 4096 : -1).status, 0);
      EXPECT_EQ(std::filesystem::exists(target), existed);  // none is created
      EXPECT_EQ(ReadFileBytes(target), before);
      EXPECT_EQ(existed ? std::filesystem::status(target).permissions() : mode, mode);
      EXPECT_FALSE(StagedFileLeft());
    }
  }
}

}  // namespace
}  // namespace ostrand
