#include "ostrand/frame/platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ostrand/frame/test_support.h"

namespace ostrand::platform {
namespace {

namespace fs = std::filesystem;
using ostrand::testing::ReadFileBytes;
using ostrand::testing::ScratchDir;
using ostrand::testing::WriteFileBytes;
using Names = std::vector<std::string>;

// Writes the text through OpenFile.
void Put(const std::string& name, const char* mode, const char* text) {
  std::FILE* f = OpenFile(name, mode);
  ASSERT_NE(f, nullptr) << name;
  std::fputs(text, f);
  std::fclose(f);
}

// One function applied to the arguments of a row of the table, its result as text.
std::string Apply(const std::vector<std::string>& row) {
  const std::string& f = row[0];
  if (f == "resolve") return ResolvePath(row[1]);
  if (f == "match") return std::to_string(MatchWildcard(row[1], row[2]));
  if (f == "exists") return std::to_string(PathExists(row[1]));
  if (f == "size") return std::to_string(FileSize(row[1]));
  if (f == "same") return std::to_string(SameFile(row[1], row[2]));
  std::string out;
  if (f == "list")
    for (const std::string& entry : ListDirectory(row[1])) out += "[" + entry + "]";
  if (f != "open") return out.empty() ? "[]" : out;
  std::FILE* stream = OpenFile(row[1], row[2].c_str());
  if (stream != nullptr) std::fclose(stream);
  return stream != nullptr ? "1" : "0";
}

TEST(PlatformTest, NamesTable) {
  ScratchDir dir;
  fs::create_directories("Data/Sub");
  for (const char* name : {"abc.txt", "ABC.txt", "Data/ünî.bgr"}) WriteFileBytes(name, "");
  WriteFileBytes("Data/Sub/abcd.bgr", "12345");
  for (const auto& row : testing::ReadTable(testing::TestData("ostrand/frame", "names.txt"))) {
    SCOPED_TRACE(row[0] + " " + row[1]);
    EXPECT_EQ(Apply(row), row.back());
  }
  EXPECT_EQ(ResolvePath(""), "");
  EXPECT_EQ(ResolvePath((dir.path() / "DATA" / "SUB" / "ABCD.BGR").string()),
            (dir.path() / "Data" / "Sub" / "abcd.bgr").string());
  // A replaced or appended file keeps its own name.
  Put("DATA\\SUB\\ABCD.BGR", "wb", "new");
  Put("data/sub/Abcd.Bgr", "ab", "+more");
  EXPECT_EQ(ReadFileBytes("Data/Sub/abcd.bgr"), "new+more");
  EXPECT_EQ(ListDirectory("Data/Sub"), Names{"abcd.bgr"});
}

// Folder entries are remembered between look-ups; they must follow every
// change, whether made through this layer or not.
TEST(PlatformTest, FolderEntriesStayCurrent) {
  for (int round = 0; round < 3; ++round) {  // fresh folders, same relative names
    ScratchDir dir;
    Put("DATA.bgr", "wb", "");                       // lists the folder
    EXPECT_EQ(ResolvePath("data.BGR"), "DATA.bgr");  // created by this layer
    WriteFileBytes("abcd.bgr", "outside");           // created behind its back
    EXPECT_EQ(ResolvePath("ABCD.BGR"), "abcd.bgr");
    EXPECT_TRUE(RemoveFile("Abcd.Bgr"));
    Put("ABCD.BGR", "wb", "");
    fs::remove("DATA.bgr");
    EXPECT_EQ(ListDirectory(""), Names{"ABCD.BGR"});
    EXPECT_EQ(ResolvePath("data.bgr"), "data.bgr");
  }
}

TEST(PlatformTest, RemoveAndMakeDirectory) {
  ScratchDir dir;
  WriteFileBytes("File.TXT", "");
  EXPECT_TRUE(MakeDirectory("Data"));
  EXPECT_TRUE(MakeDirectory("DATA"));  // exists under another spelling
  EXPECT_FALSE(MakeDirectory("missing\\child"));
  EXPECT_TRUE(RemoveFile("FILE.txt"));
  EXPECT_FALSE(RemoveFile("FILE.txt"));
  EXPECT_FALSE(RemoveFile("data"));  // only files are removed
  EXPECT_EQ(ListDirectory(""), Names{"Data"});
}

}  // namespace
}  // namespace ostrand::platform
