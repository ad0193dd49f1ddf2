#include "ostrand/frame/platform.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "ostrand/frame/test_support.h"

namespace ostrand::platform {
namespace {

namespace fs = std::filesystem;
using ostrand::testing::ReadFileBytes;
using ostrand::testing::ScratchDir;
using ostrand::testing::WriteFileBytes;

// A folder chain whose whole path is longer than 300 characters.
std::string LongFolder() {
  return std::string(120, 'a') + "/" + std::string(120, 'b') + "/" + std::string(120, 'c');
}

TEST(PlatformTest, SeparatorsAndResolution) {
  ScratchDir dir;
  fs::create_directories("Data/Sub");
  WriteFileBytes("Data/Sub/abcd.bgr", "x");
  WriteFileBytes("abc.txt", "lower");
  WriteFileBytes("ABC.txt", "upper");
  WriteFileBytes("Data/ünî.bgr", "");
  struct Case {
    const char* given;
    const char* resolved;
  } const cases[] = {
      {"Data\\Sub\\abcd.bgr", "Data/Sub/abcd.bgr"},
      {"DATA\\SUB\\ABCD.BGR", "Data/Sub/abcd.bgr"},
      {"data/sub/Abcd.Bgr", "Data/Sub/abcd.bgr"},
      {"DATA\\new.bgr", "Data/new.bgr"},  // a new file keeps its chosen name
      {"DATA\\NEWDIR\\SUB\\x.bgr", "Data/NEWDIR/SUB/x.bgr"},
      {"./DATA/./sub/../SUB/ABCD.bgr", "./Data/./Sub/../Sub/abcd.bgr"},
      {"", ""},
      // The exact name wins over other spellings, else the first in name order.
      {"ABC.txt", "ABC.txt"},
      {"abc.txt", "abc.txt"},
      {"Abc.txt", "ABC.txt"},
      {"data\\ÜNÎ.BGR", "Data/ünî.bgr"},  // letters beyond ASCII fold too
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    EXPECT_EQ(ResolvePath(c.given), c.resolved);
  }
  const std::string absolute = (dir.path() / "DATA" / "SUB" / "ABCD.BGR").string();
  EXPECT_EQ(ResolvePath(absolute), (dir.path() / "Data" / "Sub" / "abcd.bgr").string());
  EXPECT_EQ(NormalizeSeparators("a\\b/c\\"), "a/b/c/");
}

TEST(PlatformTest, ReplacedOrAppendedFileKeepsItsName) {
  ScratchDir dir;
  WriteFileBytes("abcd.bgr", "old");
  std::FILE* f = OpenFile("ABCD.BGR", "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("new", f);
  std::fclose(f);
  f = OpenFile("Abcd.Bgr", "ab");
  ASSERT_NE(f, nullptr);
  std::fputs("+more", f);
  std::fclose(f);
  EXPECT_EQ(ReadFileBytes("abcd.bgr"), "new+more");
  EXPECT_FALSE(fs::exists("ABCD.BGR") && !fs::equivalent("ABCD.BGR", "abcd.bgr"));
  EXPECT_EQ(ListDirectory(""), std::vector<std::string>{"abcd.bgr"});
}

// Folder entries are remembered between look-ups; they must follow every
// change, whether made through this layer or not.
TEST(PlatformTest, FolderEntriesStayCurrent) {
  for (int round = 0; round < 3; ++round) {  // fresh folders, same relative names
    ScratchDir dir;
    std::FILE* f = OpenFile("DATA.bgr", "wb");  // lists the folder
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(ResolvePath("data.BGR"), "DATA.bgr");  // created by this layer
    WriteFileBytes("abcd.bgr", "outside");           // created behind its back
    EXPECT_EQ(ResolvePath("ABCD.BGR"), "abcd.bgr");
    EXPECT_TRUE(RemoveFile("Abcd.Bgr"));
    f = OpenFile("ABCD.BGR", "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    fs::remove("DATA.bgr");
    EXPECT_EQ(ListDirectory(""), std::vector<std::string>{"ABCD.BGR"});
    EXPECT_EQ(ResolvePath("data.bgr"), "data.bgr");
  }
}

TEST(PlatformTest, OpenRefusesFoldersAndMissingFiles) {
  ScratchDir dir;
  fs::create_directory("folder");
  EXPECT_EQ(OpenFile("folder", "r"), nullptr);
  EXPECT_EQ(OpenFile("FOLDER", "rb"), nullptr);
  EXPECT_EQ(OpenFile("missing.bgr", "rb"), nullptr);
  EXPECT_EQ(OpenFile("nofolder\\x.bgr", "wb"), nullptr);
}

TEST(PlatformTest, RemoveExistsSizeAndSameFile) {
  ScratchDir dir;
  WriteFileBytes("File.TXT", "12345");
  EXPECT_TRUE(PathExists("file.txt"));
  EXPECT_EQ(FileSize("FILE.txt"), 5);
  EXPECT_EQ(FileSize("none"), -1);
  EXPECT_TRUE(SameFile("file.txt", ".\\FILE.TXT"));
  WriteFileBytes("other", "");
  EXPECT_FALSE(SameFile("file.txt", "other"));
  EXPECT_FALSE(SameFile("file.txt", "none"));
  EXPECT_TRUE(RemoveFile("FILE.txt"));
  EXPECT_FALSE(PathExists("File.TXT"));
  EXPECT_FALSE(RemoveFile("FILE.txt"));
  fs::create_directory("folder");
  EXPECT_FALSE(RemoveFile("folder"));  // only files are removed
  EXPECT_TRUE(fs::exists("folder"));
}

TEST(PlatformTest, MakeDirectoryAndListing) {
  ScratchDir dir;
  EXPECT_TRUE(MakeDirectory("Data"));
  EXPECT_TRUE(MakeDirectory("DATA"));  // exists under another spelling
  EXPECT_TRUE(fs::is_directory("Data"));
  EXPECT_FALSE(fs::exists("DATA") && !fs::equivalent("DATA", "Data"));
  EXPECT_FALSE(MakeDirectory("missing\\child"));
  WriteFileBytes("Data/b", "");
  WriteFileBytes("Data/a", "");
  EXPECT_EQ(ListDirectory("data"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(ListDirectory("missing").empty());
}

TEST(PlatformTest, WildcardTable) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } const cases[] = {
      {"*.tmp", "a.tmp", true},   {"*.tmp", "A.TMP", true},    {"*.TMP", "x_bgr.tmp", true},
      {"*.tmp", "a.tmpx", false}, {"*.tmp", "tmp", false},     {"?.bgr", "a.bgr", true},
      {"?.bgr", "ab.bgr", false}, {"a*b*c", "aXbYc", true},    {"a*b*c", "aXbYcZ", false},
      {"*", "", true},            {"*", "anything", true},     {"", "", true},
      {"", "a", false},           {"*.*", "noext", true},      {"*.*", "a.b", true},
      {"abc.*", "ABC", true},     {"abc.*", "abcd", false},    {"**a", "bba", true},
      {"_TEMP_.BGR", "_temp_.bgr", true}, {"ÜnÎ.bgr", "ünî.BGR", true}, {"ŁÓDŹ*", "łódź.bgr", true},
      {"ДОМ*", "дома", true},       {"é", "É", true},             {"é", "e", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " ~ " + c.name);
    EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match);
  }
}

TEST(PlatformTest, NamesLongerThan300Characters) {
  ScratchDir dir;
  const std::string folder = LongFolder();
  fs::create_directories(folder);
  std::string upper = folder;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  const std::string name = folder + "/" + std::string(200, 'f') + ".bgr";
  ASSERT_GT(name.size(), 300u);
  std::FILE* f = OpenFile(upper + "\\" + std::string(200, 'f') + ".bgr", "wb");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_TRUE(fs::exists(name));
  EXPECT_TRUE(PathExists(upper + "\\" + std::string(200, 'F') + ".BGR"));
  EXPECT_TRUE(RemoveFile(upper + "\\" + std::string(200, 'F') + ".BGR"));
}

}  // namespace
}  // namespace ostrand::platform
