// Whole runs of the program: exit statuses, console text and run-log entries.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using testing::ReadFileBytes;

// Each run appends its entry to the log: its arguments, exit status, and
// the console text and log entry as regular expressions (the header lines
// and the time are added to both).
TEST(MainTest, RunsAndTheirLogs) {
  const std::string usage =
      std::regex_replace(ReadFileBytes(testing::TestData("ostrand/frame", "usage.txt")),
                         std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
  const std::string missing = "ERROR: BgrList source file 'nosuch\\.bgr' not found\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string console, log;
  } cases[] = {
      {{"-gr", "x"}, 1, "VADUDAVEDOV_usage - not implemented\n", ""},
      {{"-mg", "onlyone"}, 255, usage, ""},
      // An operation's missing file is reported, and its run ends with failure.
      {{"nosuch.bgr"},
       0,
       missing + "WS= 99999999\\.0+ 99999999\\.0+, EN= -99999999\\.0+ -99999999\\.0+\n",
       "INFO: WrapFileOpen\\(nosuch\\.bgr, \\[00\\] rb\\) failed\n" + missing},
  };
  testing::ScratchDir dir;
  for (const auto& c : cases) {
    std::string header = "ostrand - airport ground network and surface tool, v1\\.03\nostrand";
    for (const std::string& a : c.args)
      header += " " + std::regex_replace(a, std::regex("\\."), "\\.");
    SCOPED_TRACE(header);
    const std::string before = ReadFileBytes("report.txt");
    const auto run = testing::RunOstrand(c.args, OSTRAND_EXE, -1, "ostrand");
    EXPECT_EQ(run.status, c.status);
    const std::string time = "TIME= [0-9]+\\.[0-9]{3} sec\n";
    EXPECT_TRUE(std::regex_match(run.output, std::regex(" " + header + "\n" + c.console + time)))
        << run.output;
    const std::string log = ReadFileBytes("report.txt");
    EXPECT_EQ(log.substr(0, before.size()), before);
    EXPECT_TRUE(std::regex_match(log.substr(before.size()),
                                 std::regex("\n" + header + "\n" + c.log + time)))
        << log;
  }
}

}  // namespace
}  // namespace ostrand
