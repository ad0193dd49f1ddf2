#include "ostrand/frame/platform.h"

#include <gtest/gtest.h>

#include "ostrand/frame/test_support.h"

namespace ostrand::platform {
namespace {

namespace fs = std::filesystem;
using ostrand::testing::ScratchDir;
using ostrand::testing::WriteFileBytes;

// One function applied to the arguments of a row of the table, its result as text.
std::string Apply(const std::vector<std::string>& row) {
  const std::string& f = row[0];
  if (f == "resolve") return ResolvePath(row[1]);
  if (f == "match") return std::to_string(MatchWildcard(row[1], row[2]));
  if (f == "exists") return std::to_string(PathExists(row[1]));
  if (f == "size") return std::to_string(FileSize(row[1]));
  if (f == "same") return std::to_string(SameFile(row[1], row[2]));
  if (f == "remove") return std::to_string(RemoveFile(row[1]));
  if (f == "mkdir") return std::to_string(MakeDirectory(row[1]));
  if (f == "touch") WriteFileBytes(row[1], "");
  if (f == "erase") fs::remove(row[1]);
  std::string out;
  for (const std::string& entry : f == "list" ? ListDirectory(row[1]) : std::vector<std::string>{})
    out += "[" + entry + "]";
  if (f != "open") return f == "list" && out.empty() ? "[]" : out.empty() ? "-" : out;
  std::FILE* stream = OpenFile(row[1], row[2].c_str());
  if (stream == nullptr) return "0";
  if (row[2] != "rb") std::fputc('x', stream);
  std::fclose(stream);
  return "1";
}

TEST(PlatformTest, NamesTable) {
  for (int round = 0; round < 3; ++round) {  // fresh folders, same relative names
    ScratchDir dir;
    fs::create_directories("Data/Sub");
    for (const char* name : {"abc.txt", "ABC.txt", "Data/ünî.bgr"}) WriteFileBytes(name, "");
    WriteFileBytes("Data/Sub/abcd.bgr", "12345");
    for (const auto& row : testing::ReadTable(testing::TestData("ostrand/frame", "names.txt"))) {
      SCOPED_TRACE(row[0] + " " + row[1]);
      EXPECT_EQ(Apply(row), row.back());
    }
    EXPECT_EQ(ResolvePath((dir.path() / "DATA" / "SUB" / "ABCD.BGR").string()),
              (dir.path() / "Data" / "Sub" / "abcd.bgr").string());
  }
}

}  // namespace
}  // namespace ostrand::platform
