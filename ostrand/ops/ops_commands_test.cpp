// The network operations run as commands of the built program: options,
// file names, exit status, printed lines and files on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "ostrand/ops/test_networks.h"
#include "ostrand/ops/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

// The rows of testdata/program_runs.txt (its head describes them): the
// file each mode writes (or leaves), its exit status and a text it prints.
TEST(OpsCommandsTest, EachModeRuns) {
  ScratchDir dir;
  const auto data = [](const std::string& name) {
    return ReadFileBytes(TestData("ostrand/ops", ("operations/" + name).c_str()));
  };
  WriteFileBytes("script.txt", "<bgr-width-edges> 30\n");
  for (const auto& row : ReadTable(TestData("ostrand/ops", "program_runs.txt"))) {
    SCOPED_TRACE(row[0]);
    WriteFileBytes("a.bgr", data("commands.bgr"));
    WriteFileBytes("b.bgr", data("commands.bgr"));
    std::istringstream words(row[0]);
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    const RunResult run = RunOstrand(args);
    EXPECT_EQ(run.status, std::stoi(row[1]));
    const std::string written = ReadFileBytes(row[2]);
    if (row[3].ends_with(".bgr")) EXPECT_EQ(written, data(row[3]));
    else EXPECT_EQ(written.size(), std::stoul(row[3]));
    EXPECT_NE(run.output.find(Printed(row, 4)), std::string::npos) << run.output;
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
