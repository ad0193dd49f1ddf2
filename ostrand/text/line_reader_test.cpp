#include "ostrand/text/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

TEST(LineReaderTest, LineSplitting) {
  ScratchDir dir;
  const std::string l254(254, 'a'), l253(253, 'b'), z(254, 'z');
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"", {}}, {"one", {"one"}}, {"one\ntwo\n", {"one", "two"}}, {"one\r\ntwo\r\n", {"one", "two"}},
      {"a\rb\n", {"a\rb"}}, {"\n\n", {"", ""}}, {"x\r", {"x\r"}},
      {l254 + "\n", {l254, ""}},      // exactly 254: the newline comes alone
      {l253 + "\r\n", {l253}},        // CR LF counts as one character
      {l254 + "cd\n", {l254, "cd"}},  // longer lines arrive in pieces
      {std::string(600, 'z'), {z, z, std::string(92, 'z')}},
  };
  for (const auto& [bytes, lines] : cases) {
    WriteFileBytes("in.txt", bytes);
    LineReader reader;
    ASSERT_EQ(reader.Open("in.txt"), 1);
    std::vector<std::string> read;
    while (reader.ReadLine()) read.emplace_back(reader.Line());
    EXPECT_EQ(read, lines) << bytes.size();
  }
}

TEST(LineReaderTest, OpenCloseAndFieldScanning) {
  ScratchDir dir;
  LineReader reader;
  EXPECT_EQ(reader.ReadLine(), 0);
  EXPECT_EQ(reader.Close(), 0);
  EXPECT_EQ(reader.Open("missing.txt"), 0);
  WriteFileBytes("f.txt", "  KSEA  47.5,-122.3  \"two words\" tail\nab\na b c\n");
  ASSERT_EQ(reader.Open("  f.txt"), 1);
  EXPECT_EQ(reader.IsOpen(), 1);
  ASSERT_EQ(reader.ReadLine(), 1);
  const auto token = [&](std::string t = "junk") {  // what ScanToken returns, and the token
    return std::to_string(reader.ScanToken(t)) + " " + t;
  };
  EXPECT_EQ(token(), "1 KSEA");
  double lat = 0, lon = 0;
  EXPECT_EQ(reader.ScanField("%lf", &lat, ','), 1);
  EXPECT_DOUBLE_EQ(lat, 47.5);
  EXPECT_STREQ(reader.Cursor(), "-122.3  \"two words\" tail");
  EXPECT_EQ(reader.ScanField("%lf", &lon), 1);
  EXPECT_DOUBLE_EQ(lon, -122.3);
  EXPECT_EQ(token(), "1 two words");
  long n = 5;
  EXPECT_EQ(reader.ScanField("%ld", &n), 0);  // "tail" is no number
  EXPECT_EQ(n, 5);
  EXPECT_STREQ(reader.Cursor(), "tail");
  EXPECT_EQ(reader.SkipWord(), 0);
  EXPECT_EQ(reader.SkipBlanks(), 0);
  EXPECT_EQ(token(), "0 ");

  ASSERT_EQ(reader.ReadLine(), 1);
  char c = 0;
  EXPECT_EQ(reader.ScanField("%c", &c, ';'), 1);  // no ';': to the end
  EXPECT_EQ(c, 'a');
  EXPECT_STREQ(reader.Cursor(), "");
  EXPECT_EQ(reader.ScanField(nullptr, &c), 0);

  ASSERT_EQ(reader.ReadLine(), 1);
  EXPECT_EQ(reader.SkipFields(2), 1);
  EXPECT_STREQ(reader.Cursor(), " c");
  EXPECT_EQ(reader.SkipFields(1), 0);  // the third field ends the line
  EXPECT_EQ(reader.SkipFields(1), 0);  // and none is left
  EXPECT_EQ(reader.Close(), 1);
}

}  // namespace
}  // namespace ostrand
