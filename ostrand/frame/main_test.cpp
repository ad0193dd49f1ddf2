// Whole runs of the program: exit statuses, console text and run-log entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using testing::ReadFileBytes;
using testing::RunOstrand;

const std::string kBanner = "ostrand - airport ground network and surface tool, v1\\.03\n";
const std::string kTime = "TIME= [0-9]+\\.[0-9]{3} sec\n";
const std::string kUsage =
    std::regex_replace(ReadFileBytes(testing::TestData("ostrand/frame", "usage.txt")),
                       std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");

// Each run: the program name as typed (which decides where the log goes),
// its arguments, exit status, console text, and the log file with its text
// (all but the status as regular expressions).
TEST(MainTest, RunsAndTheirLogs) {
  const std::string info = "INFO: WrapFileOpen\\(nowhere/report\\.txt, \\[00\\] a\\) failed\n";
  const std::string missing = "ERROR: BgrList source file 'nosuch\\.bgr' not found\n";
  const std::string graph = "VADUDAVEDOV_usage - not implemented\n";
  struct Case {
    const char* program;
    std::vector<std::string> args;
    int status;
    std::string console, log, logText;
  } const cases[] = {
      {"ostrand",
       {"-gr", "x"},
       1,
       " " + kBanner + "ostrand -gr x\n" + graph + kTime,
       "report.txt",
       "\n" + kBanner + "ostrand -gr x\n" + kTime},
      {"ostrand",
       {"-mg", "onlyone"},
       255,
       " " + kBanner + "ostrand -mg onlyone\n" + kUsage + kTime,
       "report.txt",
       "\n" + kBanner + "ostrand -mg onlyone\n" + kTime},
      // Started by a path, the log goes beside the program.
      {"tools\\Ostrand.exe",
       {"-gr", "a"},
       1,
       " " + kBanner + "Ostrand\\.exe -gr a\n" + graph + kTime,
       "Tools/report.txt",
       "\n" + kBanner + "Ostrand\\.exe -gr a\n" + kTime},
      // A log that cannot be opened doubles the console lines.
      {"nowhere/ostrand",
       {"-gr", "a"},
       1,
       info + " " + kBanner + "ostrand -gr a\n\n" + kBanner + "ostrand -gr a\n" + graph + kTime +
           info + kTime,
       "report.txt",
       ""},
      // An operation's missing file is reported, and its run ends with failure.
      {"ostrand",
       {"nosuch.bgr"},
       0,
       " " + kBanner + "ostrand nosuch\\.bgr\n" + missing +
           "WS= 99999999\\.0+ 99999999\\.0+, EN= -99999999\\.0+ -99999999\\.0+\n" + kTime,
       "report.txt",
       "\n" + kBanner + "ostrand nosuch\\.bgr\nINFO: WrapFileOpen\\(nosuch\\.bgr, \\[00\\] rb\\) failed\n" +
           missing + kTime},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    testing::ScratchDir dir;
    std::filesystem::create_directory("Tools");
    const auto run = testing::RunOstrand(c.args, OSTRAND_EXE, -1, c.program);
    EXPECT_EQ(run.status, c.status);
    EXPECT_TRUE(std::regex_match(run.output, std::regex(c.console))) << run.output;
    const std::string log = ReadFileBytes(c.log);
    EXPECT_TRUE(std::regex_match(log, std::regex(c.logText))) << log;
  }
}

}  // namespace
}  // namespace ostrand
