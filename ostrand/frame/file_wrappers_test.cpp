#include "ostrand/frame/file_wrappers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ostrand/frame/platform.h"
#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

// One function of the file wrappers applied to the arguments of a row of the
// table, its result as text.
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
  if (f == "AbsValue") return std::to_string(AbsValue(std::stoi(row[1])));
  if (f == "FileExists") return std::to_string(FileExists(text));
  if (f == "DeleteFiles") return std::to_string(DeleteFiles(text));
  std::string out = "stale";
  // The token goes before the rest (the call is sequenced before its argument).
  if (f == "NextToken") return bracket(NextToken(text, out)).insert(0, bracket(out));
  if (f == "WrapFileOpen") {  // the byte read or written, or 0; then what was logged
    std::FILE* stream = WrapFileOpen(text, row[2].c_str());
    const int byte = row[2] == "ab" ? WriteByte(stream, '+') : ReadByte(stream);
    out = WrapFileClose(stream) == 1 ? std::string(1, static_cast<char>(byte)) : "0";
    std::string log = ReadFileBytes("report.txt");
    fs::remove("report.txt");
    return out + " " + bracket(log.substr(0, log.empty() ? 0 : log.size() - 1));
  }
  if (f == "ReadRest") {  // past n bytes of a file of the text, or of a command's output ("!...")
    const bool pipe = text[0] == '!';
    if (!pipe) WriteFileBytes("rest.txt", text);
    std::FILE* stream = pipe ? ::popen(text + 1, "r") : std::fopen("rest.txt", "rb");
    for (int n = std::stoi(row[2]); n > 0; --n) std::fgetc(stream);
    const StreamBytes bytes = ReadRest(stream);
    if (stream != nullptr) pipe ? ::pclose(stream) : std::fclose(stream);
    std::string got(bytes.data.get(), bytes.size);  // its size, first three and last bytes
    if (got.size() > 4) got.erase(3, got.size() - 4);
    for (char& c : got) c = c == '\n' ? '/' : c;
    return std::to_string(bytes.size) + " " + bracket(got);
  }
  if (f == "list") {
    out.clear();
    for (const std::string& entry : platform::ListDirectory(row[1])) out += bracket(entry);
    return out;
  }
  if (f == "staged") {  // success, target mode before | result, target mode after
    fs::remove("abcd.bgr");
    if (row[2] != "-") WriteFileBytes("abcd.bgr", "old");
    if (row[2] != "-") fs::permissions("abcd.bgr", fs::perms(std::stoi(row[2], nullptr, 8)));
    StagedOutput staged;
    std::fputs("new", staged.Open(row[2] != "-" ? " ABCD.BGR" : "abcd.bgr"));
    char mode[16] = "-";
    out = std::to_string(FinishTemp(std::stoi(row[1]), staged));
    const auto perms = static_cast<unsigned>(fs::status("abcd.bgr").permissions());
    if (fs::exists("abcd.bgr")) std::snprintf(mode, sizeof mode, "%o", perms);
    return out + " " + mode + (testing::StagedFileLeft() ? " staged file left" : "");
  }
  std::vector<char> chars(text, text + row[1].size() + 1);  // both forms of UpperCase
  UpperCase(chars.data());
  UpperCase(out = row[1]);
  return out == chars.data() ? out : "differs: " + std::string(chars.data());
}

// Rows run in a working folder whose path is longer than 300 characters, so
// that every name is longer than that; the log is "report.txt" there.
TEST(FileWrappersTest, Table) {
  testing::ScratchDir dir;
  testing::CaptureConsole console;
  ResetReportState();
  fs::create_directories(std::string(150, 'd') + "/" + std::string(150, 'e'));
  fs::current_path(std::string(150, 'd') + "/" + std::string(150, 'e'));
  const mode_t mask = ::umask(022);
  WriteFileBytes("Present.txt", "data");
  fs::create_directories("folder/dir.tmp");
  for (const char* name : {"a.tmp", "B.TMP", "c_bgr.tmp", "keep.txt", "tmp", "folder/x1.bgr",
                           "folder/x22.bgr", "folder/y1.bgr", "x1.bgr"})
    WriteFileBytes(name, "");
  for (const auto& row :
       testing::ReadTable(testing::TestData("ostrand/frame", "file_wrappers.txt"))) {
    SCOPED_TRACE(row[0] + "(" + row[1] + ")");
    EXPECT_EQ(Apply(row), row.back());
  }
  EXPECT_EQ(FindNoCase(nullptr, "a"), nullptr);
  EXPECT_EQ(FileExists(nullptr), 0);
  EXPECT_EQ(DeleteFiles(nullptr), 0);
  // A missing name is logged whole, however long.
  const std::string missing = std::string(400, 'q');
  EXPECT_EQ(WrapFileOpen(missing, "rb"), nullptr);
  EXPECT_EQ(ReadFileBytes("report.txt"), "INFO: WrapFileOpen(" + missing + ", [00] rb) failed\n");
  EXPECT_EQ(console.Text(), "");
  ::umask(mask);
}

}  // namespace
}  // namespace ostrand
