#include "ostrand/frame/report.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

const std::string kBanner = "ostrand - airport ground network and surface tool, v1.03\n";

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetReportState(); }
  void TearDown() override { ResetReportState(); }

  void Start(std::vector<std::string> args, int consoleOutput = 1) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    Startup(static_cast<int>(args.size()), argv.data(), kVersionText, consoleOutput);
  }
  // What the console received since the last call.
  std::string NewConsole() {
    const std::string text = console_.Text();
    return text.substr(std::exchange(seen_, text.size()));
  }

  testing::ScratchDir dir_;
  testing::CaptureConsole console_;
  size_t seen_ = 0;
};

TEST_F(ReportTest, HeaderOnConsoleAndLog) {
  const std::string longArg(3000, 'L');
  struct Case {
    std::vector<std::string> args;
    const char* logPath;      // where the log goes
    std::string commandLine;  // second header line
  } const cases[] = {
      {{"ostrand", "-ls", "a.bgr"}, "report.txt", "ostrand -ls a.bgr\n"},
      {{"bin\\Ostrand.exe", "-mv1:2", "a b.bgr", "c"},
       "bin/report.txt",
       "Ostrand.exe -mv1:2 a b.bgr c\n"},
      {{"./bin/ostrand"}, "bin/report.txt", "ostrand\n"},
      {{"BIN/sub\\ostrand", "x"}, "bin/Sub/report.txt", "ostrand x\n"},
      {{"ostrand", "-rs" + longArg, longArg},
       "report.txt",
       "ostrand -rs" + longArg + " " + longArg + "\n"},
  };
  fs::create_directories("bin/Sub");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    Start(c.args);
    EXPECT_EQ(NewConsole(), " " + kBanner + c.commandLine);
    EXPECT_EQ(ReadFileBytes(c.logPath), "\n" + kBanner + c.commandLine);
    fs::remove(c.logPath);
  }
}

// An error goes to the log and the console, a quiet line ('>') to the log only.
TEST_F(ReportTest, ErrorAndQuietLines) {
  const std::string longText(5000, 'w');
  struct Case {
    const char* format;
    std::string argument;
    std::string log;
    bool onConsole;
  } const cases[] = {
      {"BgrMerge source file '%s' not found", "a.bgr",
       "ERROR: BgrMerge source file 'a.bgr' not found\n", true},
      {">INFO: %s has 12 vertices", "x", "INFO: x has 12 vertices\n", false},
      {">", "", "\n", false},
      {"%s", ">x", "ERROR: >x\n", true},  // a '>' argument is no quiet line
      {"too long: %s", longText, "ERROR: too long: " + longText + "\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    fs::remove("report.txt");
    ReportError(c.format, c.argument.c_str());
    EXPECT_EQ(ReadFileBytes("report.txt"), c.log);
    EXPECT_EQ(NewConsole(), c.onConsole ? c.log : "");
  }
}

// Every entry ends with the time taken; without console output only the
// time reaches the console.
TEST_F(ReportTest, EntryEndsWithTime) {
  for (int consoleOutput : {1, 0}) {
    SCOPED_TRACE(consoleOutput);
    ResetReportState();
    fs::remove("report.txt");
    Start({"ostrand", "-gr", "a"}, consoleOutput);
    ReportError(">INFO: one");
    ReportError("two");
    Shutdown();
    const std::string time = "TIME= 0\\.[0-9]{3} sec\n";
    const std::string lines = consoleOutput ? " " + kBanner + "ostrand -gr a\nERROR: two\n" : "";
    const std::string log = ReadFileBytes("report.txt");
    EXPECT_TRUE(std::regex_match(
        log, std::regex("\n" + kBanner + "ostrand -gr a\nINFO: one\nERROR: two\n" + time)))
        << log;
    const std::string console = NewConsole();
    EXPECT_TRUE(std::regex_match(console, std::regex(lines + time))) << console;
  }
}

TEST_F(ReportTest, UnopenableLogFallsBackToConsole) {
  // The program path names a folder that does not exist, so the log beside
  // it cannot be opened: every log line goes to the console as well.
  Start({"missing\\ostrand", "-gr", "a"});
  ReportError("bad");
  ReportError(">INFO: hidden");
  EXPECT_EQ(NewConsole(), "INFO: WrapFileOpen(missing\\report.txt, [00] a) failed\n " + kBanner +
                              "ostrand -gr a\n\n" + kBanner +
                              "ostrand -gr a\nERROR: bad\nERROR: bad\nINFO: hidden\n");
  EXPECT_FALSE(fs::exists("report.txt"));
  EXPECT_FALSE(fs::exists("missing"));
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

TEST_F(ReportTest, FatalErrorExitsWithFailureAndNoTime) {
  Start({"ostrand", "-tm", "a"});
  const std::string line = "ERROR: TEXPOINTS alloc failed p 3\n";
  // Once as the error, then twice more from the second report, whose log
  // copy goes to the console because logging is off.
  EXPECT_EQ(RunFatal([] { FatalError("TEXPOINTS alloc failed %s %d", "p", 3); }),
            std::make_pair(0, line + line + line));
  EXPECT_EQ(ReadFileBytes("report.txt"), "\n" + kBanner + "ostrand -tm a\n" + line);
  fs::remove("report.txt");
  EXPECT_EQ(RunFatal([] { FatalError(">INFO: stop %s", "now"); }),
            std::make_pair(0, std::string("INFO: stop now\n")));
  EXPECT_EQ(ReadFileBytes("report.txt"), "INFO: stop now\n");
}

}  // namespace
}  // namespace ostrand
