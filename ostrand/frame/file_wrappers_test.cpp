#include "ostrand/frame/file_wrappers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

namespace fs = std::filesystem;
using testing::CaptureConsole;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

// A scratch folder with fresh report state: the log is "report.txt" there.
class FileWrappersTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetReportState(); }
  void TearDown() override { ResetReportState(); }
  std::string Log() { return ReadFileBytes("report.txt"); }

  ScratchDir dir_;
  CaptureConsole console_;
};

TEST_F(FileWrappersTest, OpenSkipsLeadingBlanksAndResolvesCase) {
  WriteFileBytes("abcd.bgr", "data");
  std::FILE* f = WrapFileOpen(" \t ABCD.BGR", "rb");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(ReadByte(f), 'd');
  EXPECT_EQ(WrapFileClose(f), 1);
  EXPECT_EQ(WrapFileClose(nullptr), 0);
  EXPECT_EQ(Log(), "");
  // A missing file logs one quiet line.
  EXPECT_EQ(WrapFileOpen("  missing.bgr", "rb"), nullptr);
  EXPECT_EQ(Log(), "INFO: WrapFileOpen(missing.bgr, [00] rb) failed\n");
  EXPECT_EQ(console_.Text(), "");
}

TEST_F(FileWrappersTest, ExistsModeAndFileExistsAreSilent) {
  EXPECT_EQ(WrapFileOpen("missing", "exists"), nullptr);
  WriteFileBytes("Present.txt", "");
  fs::create_directory("folder");
  struct Case {
    const char* name;
    int exists;
  } const cases[] = {
      {"present.txt", 1}, {"  PRESENT.TXT", 1}, {"missing", 0}, {"", 0},
      {" \t ", 0},        {nullptr, 0},         {"folder", 0},  {".\\present.txt", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name != nullptr ? c.name : "(none)");
    EXPECT_EQ(FileExists(c.name), c.exists);
  }
  EXPECT_FALSE(fs::exists("report.txt"));
  EXPECT_EQ(console_.Text(), "");
}

TEST_F(FileWrappersTest, DeletePlainNameAndPattern) {
  WriteFileBytes("one.tmp", "");
  EXPECT_EQ(DeleteFiles("ONE.TMP"), 1);
  EXPECT_FALSE(fs::exists("one.tmp"));
  EXPECT_EQ(DeleteFiles("one.tmp"), 0);
  EXPECT_EQ(DeleteFiles(""), 0);
  EXPECT_EQ(DeleteFiles(nullptr), 0);
  for (const char* name : {"a.tmp", "B.TMP", "c_bgr.tmp", "keep.txt", "tmp"})
    WriteFileBytes(name, "");
  fs::create_directory("dir.tmp");
  EXPECT_EQ(DeleteFiles("*.tmp"), 0);
  EXPECT_EQ(platform::ListDirectory(""), (std::vector<std::string>{"dir.tmp", "keep.txt", "tmp"}));
}

TEST_F(FileWrappersTest, DeletePatternInSubFolderWithBackslash) {
  fs::create_directories("Work/Sub");
  for (const char* name : {"Work/Sub/x1.bgr", "Work/Sub/x22.bgr", "Work/Sub/y1.bgr", "x1.bgr"})
    WriteFileBytes(name, "");
  EXPECT_EQ(DeleteFiles("WORK\\sub\\X?.BGR"), 0);
  EXPECT_EQ(platform::ListDirectory("Work/Sub"), (std::vector<std::string>{"x22.bgr", "y1.bgr"}));
  EXPECT_TRUE(fs::exists("x1.bgr"));
  EXPECT_EQ(DeleteFiles("nofolder\\*.bgr"), 0);
}

TEST_F(FileWrappersTest, LongNamesEverywhere) {
  const std::string folder = std::string(150, 'd') + "/" + std::string(150, 'e');
  fs::create_directories(folder);
  const std::string name = folder + "/" + std::string(200, 'n') + ".tmp";
  const std::string given = folder + "\\" + std::string(200, 'N') + ".TMP";
  ASSERT_GT(name.size(), 300u);
  WriteFileBytes(name, "old");
  std::FILE* f = WrapFileOpen(given.c_str(), "ab");
  ASSERT_NE(f, nullptr);
  WriteByte(f, '+');
  WrapFileClose(f);
  EXPECT_EQ(ReadFileBytes(name), "old+");
  EXPECT_EQ(FileExists(given.c_str()), 1);
  WriteFileBytes(folder + "/" + std::string(250, 'm') + ".tmp", "");
  EXPECT_EQ(DeleteFiles((folder + "\\*.TMP").c_str()), 0);
  EXPECT_TRUE(platform::ListDirectory(folder).empty());
  // A missing long name is logged whole.
  const std::string missing = std::string(400, 'q');
  EXPECT_EQ(WrapFileOpen(missing.c_str(), "rb"), nullptr);
  EXPECT_EQ(Log(), "INFO: WrapFileOpen(" + missing + ", [00] rb) failed\n");
  // A staged output onto a long target, existing under another spelling.
  WriteFileBytes(name, "old");
  StagedOutput out;
  ASSERT_NE(out.Open(given), nullptr);
  std::fputs("temp", out.Stream());
  EXPECT_EQ(FinishTemp(1, out), 1);
  EXPECT_EQ(ReadFileBytes(name), "temp");
  EXPECT_EQ(platform::ListDirectory(folder).size(), 1u);
}

// A staged output replaces its target only on success, keeping its mode
// bits (even those that deny reading); a new file gets the mode of new files,
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
    std::fputs("new", out.Open("abcd.bgr"));
    EXPECT_EQ(FinishTemp(c.ok, out), c.ok);
    EXPECT_EQ(fs::exists("abcd.bgr") ? static_cast<int>(fs::status("abcd.bgr").permissions()) : 0,
              c.after);
    EXPECT_FALSE(testing::StagedFileLeft());
  }
  ::umask(mask);
  EXPECT_EQ(console_.Text(), "");
}

TEST(TextHelpersTest, ReplaceExtensionTable) {
  struct Case {
    const char* name;
    const char* ext;
    const char* out;
  } const cases[] = {
      {"abcd.bgr", "PLY", "abcd.PLY"},
      {"abcd", "tms", "abcd.tms"},
      {".bgr", "tms", ".bgr.tms"},  // the only '.' is the first character
      {"a.b.c", "x", "a.b.x"},
      {"DATA\\XYZ.BGR", "PLY", "DATA\\XYZ.PLY"},
      {"..\\data\\abc", "ply", "..\\data\\abc.ply"},  // dots of folders do not count
      {"dir.v2/abc", "ply", "dir.v2/abc.ply"},
      {"name.", "bgr", "name.bgr"},
      {"", "bgr", ".bgr"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplaceExtension(c.name, c.ext), c.out);
  }
}

TEST(TextHelpersTest, MatchExtensionTable) {
  struct Case {
    const char* name;
    const char* pattern;
    int match;
  } const cases[] = {
      {"a.tms", "tms", 1},  {"A.TMS", "tms", 1}, {"a.tMs", "TMS", 1},   {"a.bgr", "tms", 0},
      {"a", "tms", 0},      {"a", "", 1},        {"a.", "", 1},         {"a.tms", "", 0},
      {"a.xms", "?ms", 1},  {"a.xMS", "?ms", 1}, {"a.ms", "?ms", 0},    {"a", "???", 0},
      {"a.tmsx", "tms", 0}, {"a.tm", "tms", 0},  {"d.x\\a", "x\\a", 0}, {"a.b.tms", "tms", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
    EXPECT_EQ(MatchExtension(c.name, c.pattern), c.match);
  }
}

TEST(TextHelpersTest, PathHelpers) {
  const char* name = "DATA\\sub/XYZ.BGR";
  EXPECT_STREQ(FileNamePart(name), "XYZ.BGR");
  EXPECT_STREQ(FileNamePart("plain"), "plain");
  EXPECT_EQ(CutToDirectory(name), "DATA\\sub");
  EXPECT_EQ(CutToDirectory("C:\\tools\\ostrand.exe"), "C:\\tools");
  EXPECT_EQ(CutToDirectory("plain"), "");
  EXPECT_EQ(CutToDirectory("\\root"), "");
  const char* text = ".a.b";
  EXPECT_EQ(FindLastChar(text, '.'), text + 2);
  const char* leading = ".ab";
  EXPECT_EQ(FindLastChar(leading, '.'), leading + 3);
  const char* none = "abc";
  EXPECT_EQ(FindLastChar(none, '.'), none + 3);
  EXPECT_EQ(StringEnd(none), none + 3);
  EXPECT_STREQ(SkipLeadingBlanks(" \t x "), "x ");
  EXPECT_EQ(SkipLeadingBlanks(nullptr), nullptr);
  EXPECT_STREQ(SkipPastChar("key=value", '='), "value");
  EXPECT_EQ(SkipPastChar(none, '='), none + 3);
}

TEST(TextHelpersTest, NextTokenTable) {
  struct Case {
    const char* input;
    const char* token;
    const char* rest;
  } const cases[] = {
      {"  abc def", "abc", " def"},
      {"\t\"a b\" c", "a b", " c"},
      {"\"unclosed rest", "unclosed rest", ""},
      {"\"\"x", "", "x"},
      {"last", "last", ""},
      {"   ", "", ""},
      {"", "", ""},
      {"a\"b c", "a\"b", " c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    std::string out = "stale";
    const char* rest = NextToken(c.input, out);
    EXPECT_EQ(out, c.token);
    EXPECT_STREQ(rest, c.rest);
  }
  std::string out = "stale";
  EXPECT_EQ(NextToken(nullptr, out), nullptr);
  EXPECT_EQ(out, "");
}

TEST(TextHelpersTest, FindNoCaseTable) {
  struct Case {
    const char* text;
    const char* pattern;
    long length;
    long at;  // -1: not found
  } const cases[] = {
      {"Hello World", "world", -1, 6},
      {"Hello World", "WORLD", -1, 6},
      {"Hello", "xyz", -1, -1},
      {"Hello", "LLx", 2, 2},
      {"abc", "", -1, 0},
      {"", "a", -1, -1},
      {"ab", "abc", -1, -1},
      {"ab", "b", 5, 1},
      {"aab", "ab", -1, 1},
      {"", "", -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " / " + c.pattern);
    const char* found = FindNoCase(c.text, c.pattern, c.length);
    EXPECT_EQ(found == nullptr ? -1L : static_cast<long>(found - c.text), c.at);
  }
  EXPECT_EQ(FindNoCase(nullptr, "a"), nullptr);
}

TEST(TextHelpersTest, UpperCaseAndAbsValue) {
  std::string s = "abc-Xyz_09";
  UpperCase(s);
  EXPECT_EQ(s, "ABC-XYZ_09");
  char buffer[] = "data\\xyz.bgr";
  UpperCase(buffer);
  EXPECT_STREQ(buffer, "DATA\\XYZ.BGR");
  UpperCase(static_cast<char*>(nullptr));
  EXPECT_EQ(AbsValue(-5), 5);
  EXPECT_EQ(AbsValue(7), 7);
  EXPECT_EQ(AbsValue(INT32_MAX), INT32_MAX);
  EXPECT_EQ(AbsValue(-INT32_MAX), INT32_MAX);
  EXPECT_EQ(AbsValue(INT32_MIN), INT32_MIN);  // wraps, as 32-bit arithmetic does
}

}  // namespace
}  // namespace ostrand
