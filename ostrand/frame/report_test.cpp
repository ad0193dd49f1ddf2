#include "ostrand/frame/report.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

namespace fs = std::filesystem;
using testing::CaptureConsole;
using testing::ReadFileBytes;
using testing::ScratchDir;

const std::string kBanner = "ostrand - airport ground network and surface tool, v1.03\n";

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetReportState(); }
  void TearDown() override { ResetReportState(); }

  void Start(std::vector<std::string> args, int consoleOutput = 1) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    Startup(static_cast<int>(args.size()), argv.data(), kVersionText, consoleOutput);
  }

  ScratchDir dir_;
  CaptureConsole console_;
};

TEST_F(ReportTest, HeaderOnConsoleAndLog) {
  struct Case {
    std::vector<std::string> args;
    const char* logPath;      // where the log goes
    const char* commandLine;  // second header line
  } const cases[] = {
      {{"ostrand", "-ls", "a.bgr"}, "report.txt", "ostrand -ls a.bgr\n"},
      {{"bin\\Ostrand.exe", "-mv1:2", "a b.bgr", "c"},
       "bin/report.txt",
       "Ostrand.exe -mv1:2 a b.bgr c\n"},
      {{"./bin/ostrand"}, "bin/report.txt", "ostrand\n"},
      {{"BIN/sub\\ostrand", "x"}, "bin/Sub/report.txt", "ostrand x\n"},
  };
  fs::create_directories("bin/Sub");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const std::string before = console_.Text();
    Start(c.args);
    EXPECT_EQ(console_.Text().substr(before.size()), " " + kBanner + c.commandLine);
    EXPECT_EQ(ReadFileBytes(c.logPath), "\n" + kBanner + c.commandLine);
    fs::remove(c.logPath);
  }
}

TEST_F(ReportTest, LongCommandLinesAndMessagesAreWhole) {
  const std::string longArg(3000, 'L');
  const std::string text(5000, 'w');
  Start({"ostrand", "-rs" + longArg, longArg});
  ReportError("too long: %s", text.c_str());
  EXPECT_EQ(ReadFileBytes("report.txt"), "\n" + kBanner + "ostrand -rs" + longArg + " " + longArg +
                                             "\nERROR: too long: " + text + "\n");
}

TEST_F(ReportTest, ErrorAndQuietLines) {
  struct Case {
    const char* name;
    void (*report)();
    const char* log;
    const char* console;
  } const cases[] = {
      {"error", [] { ReportError("BgrMerge source file '%s' not found", "a.bgr"); },
       "ERROR: BgrMerge source file 'a.bgr' not found\n",
       "ERROR: BgrMerge source file 'a.bgr' not found\n"},
      {"quiet",
       [] { ReportError(">INFO: %s has %d vertices and %ld edges (%s)", "x", 12, 345678L, "ok"); },
       "INFO: x has 12 vertices and 345678 edges (ok)\n", ""},
      {"quiet text", [] { ReportError(">WARNING: lonely"); }, "WARNING: lonely\n", ""},
      {"own newline", [] { ReportError("STRING_LIST::Add(%s) failed, %d %ld\n", "k", -1, -2L); },
       "ERROR: STRING_LIST::Add(k) failed, -1 -2\n\n",
       "ERROR: STRING_LIST::Add(k) failed, -1 -2\n\n"},
      {"quiet empty", [] { ReportError(">"); }, "\n", ""},
      {"a '>' argument is no quiet line", [] { ReportError("%s", ">x"); }, "ERROR: >x\n",
       "ERROR: >x\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove("report.txt");
    const std::string before = console_.Text();
    c.report();
    EXPECT_EQ(ReadFileBytes("report.txt"), c.log);
    EXPECT_EQ(console_.Text().substr(before.size()), c.console);
  }
}

TEST_F(ReportTest, ConsoleOutputOff) {
  Start({"ostrand", "a"}, 0);
  ReportError("quiet console");
  Shutdown();
  const std::string console = console_.Text();
  EXPECT_TRUE(std::regex_match(console, std::regex("TIME= [0-9]+\\.[0-9]{3} sec\n"))) << console;
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_EQ(log.substr(0, log.find("TIME=")), "\n" + kBanner + "ostrand a\nERROR: quiet console\n");
}

TEST_F(ReportTest, EntryEndsWithTime) {
  Start({"ostrand", "-gr", "a"});
  ReportError(">INFO: one");
  ReportError("two");
  Shutdown();
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_TRUE(std::regex_match(
      log, std::regex("\n" + kBanner +
                      "ostrand -gr a\nINFO: one\nERROR: two\nTIME= 0\\.0[0-9]{2} sec\n")))
      << log;
  EXPECT_TRUE(std::regex_match(
      console_.Text(),
      std::regex(" " + kBanner + "ostrand -gr a\nERROR: two\nTIME= 0\\.0[0-9]{2} sec\n")))
      << console_.Text();
}

TEST_F(ReportTest, UnopenableLogFallsBackToConsole) {
  // The program path names a folder that does not exist, so the log beside
  // it cannot be opened: every log line goes to the console as well.
  Start({"missing\\ostrand", "-gr", "a"});
  ReportError("bad");
  ReportError(">INFO: hidden");
  const std::string info = "INFO: WrapFileOpen(missing\\report.txt, [00] a) failed\n";
  EXPECT_EQ(console_.Text(), info + " " + kBanner + "ostrand -gr a\n" + "\n" + kBanner +
                                 "ostrand -gr a\n" + "ERROR: bad\nERROR: bad\nINFO: hidden\n");
  EXPECT_FALSE(fs::exists("report.txt"));
  EXPECT_FALSE(fs::exists("missing"));
}

// Runs FatalError in a child process; returns its exit status and what it
// printed on the console.
struct FatalRun {
  int status = -1;
  std::string console;
};

FatalRun RunFatal(void (*fatal)()) {
  FatalRun run;
  std::FILE* out = std::tmpfile();
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    SetConsole(out);
    fatal();
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::rewind(out);
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, out)) > 0) run.console.append(buffer, got);
  std::fclose(out);
  return run;
}

TEST_F(ReportTest, FatalErrorExitsWithFailureAndNoTime) {
  Start({"ostrand", "-tm", "a"});
  const FatalRun run = RunFatal([] { FatalError("TEXPOINTS alloc failed %s %d %ld", "p", 3, 4L); });
  EXPECT_EQ(run.status, 0);
  const std::string line = "ERROR: TEXPOINTS alloc failed p 3 4\n";
  // Once as the error, then twice more from the second report, whose log
  // copy goes to the console because logging is off.
  EXPECT_EQ(run.console, line + line + line);
  EXPECT_EQ(ReadFileBytes("report.txt"), "\n" + kBanner + "ostrand -tm a\n" + line);
}

TEST_F(ReportTest, QuietFatalErrorShowsOnConsoleOnce) {
  const FatalRun run = RunFatal([] { FatalError(">INFO: stop %s", "now"); });
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console, "INFO: stop now\n");
  EXPECT_EQ(ReadFileBytes("report.txt"), "INFO: stop now\n");
}

}  // namespace
}  // namespace ostrand
