#include "ostrand/frame/report.h"

#include <gtest/gtest.h>

#include <regex>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

const std::string kBanner = "ostrand - airport ground network and surface tool, v1.03\n";
const std::string kTime = "TIME= 0.000 sec\n";

// The text with its times made 0.
std::string NoTime(const std::string& text) {
  return std::regex_replace(text, std::regex("TIME= [0-9]+\\.[0-9]{3} sec\n"), kTime);
}

std::string Golden(const char* name) {
  return ReadFileBytes(testing::TestData("ostrand/frame", name));
}

void Start(std::vector<std::string> args, int consoleOutput = 1) {
  ResetReportState();
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  Startup(static_cast<int>(args.size()), argv.data(), kVersionText, consoleOutput);
}

// A run's entry: header, errors, quiet lines ('>': log only) and the time,
// in the log beside the program started by a path and on the console (all of
// the log when the log cannot be opened).
TEST(ReportTest, EntryOnConsoleAndLog) {
  testing::ScratchDir dir;
  const struct { const char* program; int consoleOutput; const char *console, *log; } cases[] = {
      {"bin\\Ostrand.exe", 1, "report_console.txt", "report_log.txt"},
      {"bin\\Ostrand.exe", 0, "report_console_off.txt", "report_log.txt"},
      {"missing/Ostrand.exe", 1, "report_console_nolog.txt", nullptr}};
  fs::create_directory("bin");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.console);
    testing::CaptureConsole console;
    fs::remove("bin/report.txt");
    Start({c.program, "-mv1:2", "a b.bgr", "c"}, c.consoleOutput);
    ReportError("source '%s' not found", "a.bgr");
    ReportError(">INFO: %s has %d vertices", "x", 12);
    ReportError(">");
    ReportError("%s", ">x");  // a '>' argument is no quiet line
    Shutdown();
    EXPECT_EQ(NoTime(console.Text()), Golden(c.console));
    EXPECT_EQ(NoTime(ReadFileBytes("bin/report.txt")), c.log != nullptr ? Golden(c.log) : "");
  }
  ResetReportState();
}

// FatalError in a child process: its exit status and console text.
std::pair<int, std::string> RunFatal(void (*fatal)()) {
  testing::CaptureConsole child;
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) fatal();
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, child.Text()};
}

const std::string kLong(5000, 'L');  // command lines and messages of any length

TEST(ReportTest, FatalErrorExitsWithFailureAndNoTime) {
  testing::ScratchDir dir;
  testing::CaptureConsole console;
  Start({"ostrand", "-rs" + kLong, kLong});
  const std::string line = "ERROR: stop " + kLong + " 3\n";
  // Once as the error, then twice more from the second report, whose log
  // copy goes to the console because logging is off.
  EXPECT_EQ(RunFatal([] { FatalError("stop %s %d", kLong.c_str(), 3); }),
            std::make_pair(0, line + line + line));
  EXPECT_EQ(ReadFileBytes("report.txt"),
            "\n" + kBanner + "ostrand -rs" + kLong + " " + kLong + "\n" + line);
  fs::remove("report.txt");
  EXPECT_EQ(RunFatal([] { FatalError(">INFO: stop %s", "now"); }),
            std::make_pair(0, std::string("INFO: stop now\n")));
  EXPECT_EQ(ReadFileBytes("report.txt"), "INFO: stop now\n");
  ResetReportState();
}

// Whole runs of the program append their entries to the log: arguments and
// exit status, then the console text and the log entry between the header
// lines and the time.
TEST(MainTest, RunsAndTheirLogs) {
  const std::string missing = "ERROR: BgrList source file 'nosuch.bgr' not found\n";
  const struct { std::vector<std::string> args; int status; std::string console, log; } cases[] = {
      {{"-gr", "x"}, 1, "VADUDAVEDOV_usage - not implemented\n", ""},
      {{"-mg", "onlyone"}, 255, Golden("usage.txt"), ""},
      // An operation's missing file is reported, and its run ends with failure.
      {{"nosuch.bgr"}, 0,
       missing + "WS= 99999999.000000 99999999.000000, EN= -99999999.000000 -99999999.000000\n",
       "INFO: WrapFileOpen(nosuch.bgr, [00] rb) failed\n" + missing},
  };
  testing::ScratchDir dir;
  for (const auto& c : cases) {
    std::string header = kBanner + "ostrand";
    for (const std::string& a : c.args) header += " " + a;
    SCOPED_TRACE(header);
    const std::string before = ReadFileBytes("report.txt");
    const auto run = testing::RunOstrand(c.args, OSTRAND_EXE, -1, "ostrand");
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(NoTime(run.output), " " + header + "\n" + c.console + kTime);
    const std::string log = ReadFileBytes("report.txt");
    EXPECT_EQ(log.substr(0, before.size()), before);
    EXPECT_EQ(NoTime(log.substr(before.size())), "\n" + header + "\n" + c.log + kTime);
  }
}

}  // namespace
}  // namespace ostrand
