#include "ostrand/frame/file_wrappers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <string>

#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;
using Names = std::vector<std::string>;

// Fresh report state, and a working folder whose path is longer than 300
// characters (all names of these tests are longer than that): the log is
// "report.txt" there.
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

TEST_F(FileWrappersTest, OpenAndDelete) {
  WriteFileBytes("Present.txt", "data");
  std::FILE* f = WrapFileOpen(" \t PRESENT.TXT", "ab");
  WriteByte(f, '+');
  EXPECT_EQ(WrapFileClose(f), 1);
  f = WrapFileOpen(" \t present.TXT", "rb");
  EXPECT_EQ(ReadByte(f), 'd');
  EXPECT_EQ(WrapFileClose(f), 1);
  EXPECT_EQ(ReadFileBytes("Present.txt"), "data+");
  EXPECT_EQ(WrapFileClose(nullptr), 0);
  EXPECT_EQ(WrapFileOpen("missing", "exists"), nullptr);
  EXPECT_FALSE(fs::exists("report.txt"));  // silent
  // A missing file logs one quiet line, however long its name.
  const std::string missing = "  " + std::string(400, 'q');
  EXPECT_EQ(WrapFileOpen(missing, "rb"), nullptr);
  EXPECT_EQ(ReadFileBytes("report.txt"), "INFO: WrapFileOpen(" + missing.substr(2) + ", [00] rb) failed\n");
  fs::remove("report.txt");

  EXPECT_EQ(DeleteFiles("PRESENT.TXT"), 1);
  EXPECT_EQ(DeleteFiles("present.txt"), 0);
  EXPECT_EQ(DeleteFiles(""), 0);
  EXPECT_EQ(DeleteFiles(nullptr), 0);
  fs::create_directories("Folder/dir.tmp");
  for (const char* name : {"a.tmp", "B.TMP", "c_bgr.tmp", "keep.txt", "tmp", "Folder/x1.bgr",
                           "Folder/x22.bgr", "Folder/y1.bgr", "x1.bgr"})
    WriteFileBytes(name, "");
  EXPECT_EQ(DeleteFiles("*.tmp"), 0);
  EXPECT_EQ(DeleteFiles("FOLDER\\X?.BGR"), 0);
  EXPECT_EQ(DeleteFiles("folder/*.TMP"), 0);  // folders are never removed
  EXPECT_EQ(DeleteFiles("nofolder\\*.bgr"), 0);
  EXPECT_EQ(platform::ListDirectory(""), (Names{"Folder", "keep.txt", "tmp", "x1.bgr"}));
  EXPECT_EQ(platform::ListDirectory("folder"), (Names{"dir.tmp", "x22.bgr", "y1.bgr"}));
  EXPECT_EQ(console_.Text(), "");
}

// A staged output replaces its target only on success, keeping its mode
// name and mode bits (even those that deny reading); a new file gets the mode of new files,
// and a failed one creates nothing. Refusals are tested with the operations.
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

// One helper applied to the arguments of a row of the table, its result as text.
std::string Apply(const std::vector<std::string>& row) {
  const std::string& f = row[0];
  const char* text = row[1].c_str();
  const auto at = [text](const char* p) { return std::to_string(p == nullptr ? -1 : p - text); };
  if (f == "ReplaceExtension") return ReplaceExtension(text, row[2].c_str());
  if (f == "MatchExtension") return std::to_string(MatchExtension(text, row[2].c_str()));
  std::string out = "stale";
  if (f == "NextToken") {
    const std::string rest = NextToken(text, out);
    return "[" + out + "][" + rest + "]";
  }
  if (f == "FindNoCase") return at(FindNoCase(text, row[2].c_str(), std::stol(row[3])));
  if (f == "FileNamePart") return FileNamePart(text);
  if (f == "CutToDirectory") return "[" + CutToDirectory(text) + "]";
  if (f == "FindLastChar") return at(FindLastChar(text, row[2][0]));
  if (f == "SkipPastChar") return "[" + std::string(SkipPastChar(text, row[2][0])) + "]";
  if (f == "FileExists") return std::to_string(FileExists(text));
  if (f == "SkipLeadingBlanks") return "[" + std::string(SkipLeadingBlanks(text)) + "]";
  std::vector<char> chars(text, text + row[1].size() + 1);  // both forms of UpperCase
  UpperCase(chars.data());
  UpperCase(out = row[1]);
  return out == chars.data() ? out : "differs: " + std::string(chars.data());
}

TEST_F(FileWrappersTest, TextHelpersTable) {
  WriteFileBytes("Present.txt", "");
  fs::create_directory("folder");
  for (const auto& row : testing::ReadTable(testing::TestData("ostrand/frame", "text_helpers.txt"))) {
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
  EXPECT_FALSE(fs::exists("report.txt"));  // FileExists is silent
  for (int32_t v : {-5, 7, INT32_MAX, -INT32_MAX}) EXPECT_EQ(AbsValue(v), v < 0 ? -v : v);
  EXPECT_EQ(AbsValue(INT32_MIN), INT32_MIN);  // wraps, as 32-bit arithmetic does
}

}  // namespace
}  // namespace ostrand
