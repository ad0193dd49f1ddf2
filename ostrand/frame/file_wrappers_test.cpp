#include "ostrand/frame/file_wrappers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <sstream>
#include <string>

#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

// Fresh report state, and a working folder whose path is longer than 300
// characters, so that every name of these tests is longer than that; the
// log is "report.txt" there.
class FileWrappersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetReportState();
    fs::create_directories(std::string(150, 'd') + "/" + std::string(150, 'e'));
    fs::current_path(std::string(150, 'd') + "/" + std::string(150, 'e'));
  }
  void TearDown() override { ResetReportState(); }

  testing::ScratchDir dir_;
  testing::CaptureConsole console_;
};

// One helper applied to the arguments of a row of the table, its result as text.
std::string Apply(const std::vector<std::string>& row) {
  const std::string& f = row[0];
  const char* text = row[1].c_str();
  const auto at = [text](const char* p) { return std::to_string(p == nullptr ? -1 : p - text); };
  const auto bracket = [](const std::string& s) { return "[" + s + "]"; };
  if (f == "ReplaceExtension") return ReplaceExtension(text, row[2].c_str());
  if (f == "MatchExtension") return std::to_string(MatchExtension(text, row[2].c_str()));
  if (f == "FindNoCase") return at(FindNoCase(text, row[2].c_str(), std::stol(row[3])));
  if (f == "FileNamePart") return FileNamePart(text);
  if (f == "CutToDirectory") return bracket(CutToDirectory(text));
  if (f == "FindLastChar") return at(FindLastChar(text, row[2][0]));
  if (f == "SkipPastChar") return bracket(SkipPastChar(text, row[2][0]));
  if (f == "SkipLeadingBlanks") return bracket(SkipLeadingBlanks(text));
  if (f == "FileExists") return std::to_string(FileExists(text));
  if (f == "DeleteFiles") return std::to_string(DeleteFiles(text));
  std::string out = "stale";
  if (f == "NextToken") {
    const std::string rest = NextToken(text, out);
    return bracket(out) + bracket(rest);
  }
  if (f == "WrapFileOpen") {
    std::FILE* stream = WrapFileOpen(text, row[2].c_str());
    const int byte = row[2] == "ab" ? WriteByte(stream, '+') : ReadByte(stream);
    return WrapFileClose(stream) == 1 ? std::string(1, static_cast<char>(byte)) : "0";
  }
  out.clear();
  if (f == "list")
    for (const std::string& entry : platform::ListDirectory(row[1])) out += bracket(entry);
  if (f == "list") return out;
  std::istringstream lines(f == "log" ? ReadFileBytes("report.txt") : row[1]);
  for (std::string line; std::getline(lines, line, f == "log" ? '\n' : ' ');) {
    if (f == "touch") WriteFileBytes(line, "");
    out += bracket(line);
  }
  if (f == "log") fs::remove("report.txt");
  if (f == "log") return out.empty() ? "[]" : out;
  if (f == "touch") return "-";
  std::vector<char> chars(text, text + row[1].size() + 1);  // both forms of UpperCase
  UpperCase(chars.data());
  UpperCase(out = row[1]);
  return out == chars.data() ? out : "differs: " + std::string(chars.data());
}

TEST_F(FileWrappersTest, Table) {
  WriteFileBytes("Present.txt", "data");
  fs::create_directories("folder/dir.tmp");
  for (const auto& row :
       testing::ReadTable(testing::TestData("ostrand/frame", "file_wrappers.txt"))) {
    SCOPED_TRACE(row[0] + "(" + row[1] + ")");
    EXPECT_EQ(Apply(row), row.back());
  }
  std::string out = "stale";
  EXPECT_EQ(NextToken(nullptr, out), nullptr);
  EXPECT_EQ(out, "");
  EXPECT_EQ(FindNoCase(nullptr, "a"), nullptr);
  EXPECT_EQ(SkipLeadingBlanks(nullptr), nullptr);
  UpperCase(static_cast<char*>(nullptr));
  EXPECT_EQ(FileExists(nullptr), 0);
  EXPECT_EQ(DeleteFiles(nullptr), 0);
  EXPECT_EQ(WrapFileClose(nullptr), 0);
  for (int32_t v : {-5, 7, INT32_MAX, -INT32_MAX}) EXPECT_EQ(AbsValue(v), v < 0 ? -v : v);
  EXPECT_EQ(AbsValue(INT32_MIN), INT32_MIN);  // wraps, as 32-bit arithmetic does
  // A missing name is logged whole, however long.
  const std::string missing = std::string(400, 'q');
  EXPECT_EQ(WrapFileOpen(missing, "rb"), nullptr);
  EXPECT_EQ(ReadFileBytes("report.txt"), "INFO: WrapFileOpen(" + missing + ", [00] rb) failed\n");
  EXPECT_EQ(console_.Text(), "");
}

// A staged output replaces its target only on success, keeping its name and
// mode bits (even those that deny reading); a new file gets the mode of new
// files, and a failed one creates nothing. Refusals are tested with the
// operations.
TEST_F(FileWrappersTest, StagedOutputKeepsModes) {
  struct Case {
    int ok, mode, after;  // mode 0: no target before; after 0: none after
  } const cases[] = {{1, 0200, 0200}, {1, 0, 0644}, {0, 0, 0}};
  const mode_t mask = ::umask(022);
  for (const Case& c : cases) {
    fs::remove("abcd.bgr");
    if (c.mode != 0) WriteFileBytes("abcd.bgr", "old");
    if (c.mode != 0) fs::permissions("abcd.bgr", static_cast<fs::perms>(c.mode));
    StagedOutput out;
    std::fputs("new", out.Open(c.mode != 0 ? " ABCD.BGR" : "abcd.bgr"));
    EXPECT_EQ(FinishTemp(c.ok, out), c.ok);
    EXPECT_EQ(fs::exists("abcd.bgr") ? static_cast<int>(fs::status("abcd.bgr").permissions()) : 0,
              c.after);
    EXPECT_FALSE(testing::StagedFileLeft());
  }
  ::umask(mask);
  EXPECT_EQ(console_.Text(), "");
}

}  // namespace
}  // namespace ostrand
