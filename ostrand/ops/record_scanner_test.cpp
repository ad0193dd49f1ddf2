#include "ostrand/ops/record_scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ostrand/bgr/bgr_test_bytes.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using testing::Bytes;
using testing::CaptureConsole;

// An in-memory input stream over a copy of the bytes.
class Input {
 public:
  explicit Input(std::string bytes) : bytes_(std::move(bytes)) {
    // fmemopen refuses a size of 0; an empty input is a stream at its end.
    stream_ = bytes_.empty() ? std::tmpfile() : fmemopen(bytes_.data(), bytes_.size(), "rb");
  }
  ~Input() {
    if (stream_ != nullptr) std::fclose(stream_);
  }
  std::FILE* get() { return stream_; }
  long Position() { return std::ftell(stream_); }

 private:
  std::string bytes_;
  std::FILE* stream_ = nullptr;
};

// Everything written to a temporary stream.
std::string Contents(std::FILE* f) {
  std::fflush(f);
  const long end = std::ftell(f);
  std::string text(static_cast<size_t>(end), '\0');
  std::rewind(f);
  text.resize(std::fread(text.data(), 1, text.size(), f));
  return text;
}

class RecordScannerTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }
};

struct ScanCase {
  const char* what;
  std::string input;
  std::vector<std::string> tags;  // the tags ScanTag returns 1 for, in order
  std::string lastTag;            // the buffer after the final 0
};

TEST_F(RecordScannerTest, ScanTag) {
  const std::string tag62 = "<" + std::string(60, 'a') + ">";
  const std::string tag63 = "<" + std::string(61, 'a') + ">";
  const ScanCase cases[] = {
      {"empty", "", {}, ""},
      {"one tag", Bytes().Tag("<bgno>").str(), {"<bgno>"}, ""},
      {"two tags", Bytes().Tag("<bgno>").Tag("<orgn>").str(), {"<bgno>", "<orgn>"}, ""},
      {"payload skipped",
       Bytes().Tag("<edge>").Int(0x41424344).Tag("<type>").str(),
       {"<edge>", "<type>"},
       ""},
      {"no tag", "abc", {}, ""},
      {"empty tag", std::string("<>\0", 3), {"<>"}, ""},
      {"tag of 62", Bytes().Tag(tag62.c_str()).Tag("<endo>").str(), {tag62, "<endo>"}, ""},
      {"tag of 63", Bytes().Tag(tag63.c_str()).Tag("<endo>").str(), {}, tag63.substr(0, 62)},
      {"no NUL", std::string("<bgno>X<endo>\0", 14), {}, "<bgno>"},
      {"end after '>'", "<bgno>", {}, "<bgno>"},
      {"end inside", "<bgn", {}, "<bgn"},
      {"'<' inside a tag", std::string("<a<b>\0", 6), {"<a<b>"}, ""},
  };
  for (const auto& c : cases) {
    Input in(c.input);
    std::FILE* copy = std::tmpfile();
    char tag[kTagBufferSize];
    std::vector<std::string> got;
    while (ScanTag(tag, in.get(), copy)) got.push_back(tag);
    EXPECT_EQ(got, c.tags) << c.what;
    EXPECT_EQ(std::string(tag), c.lastTag) << c.what;
    // Every byte read went to the copy, and nothing else.
    EXPECT_EQ(Contents(copy), c.input.substr(0, static_cast<size_t>(in.Position()))) << c.what;
    std::fclose(copy);
  }
}

TEST_F(RecordScannerTest, SkippedBytesPrintInHexWithThePrintFlag) {
  const std::string input = std::string("\x01\xAB", 2) + Bytes().Tag("<a>").str() + "z";
  for (unsigned flag : {0u, 1u, 0x10u}) {
    Options().printFlag = flag;
    CaptureConsole console;
    Input in(input);
    char tag[kTagBufferSize];
    EXPECT_EQ(ScanTag(tag, in.get(), nullptr), 1);
    EXPECT_EQ(ScanTag(tag, in.get(), nullptr), 0);
    EXPECT_EQ(console.Text(), flag ? " 01 AB 7A" : "") << flag;
  }
}

TEST_F(RecordScannerTest, ReadRealField) {
  struct Case {
    unsigned flag;
    double stored, addend, result;
    const char* printed;
  } const cases[] = {
      {1, 2560.0, 0.0, 2560.0, " 2560.000000"},
      {1, 2560.0, -512.0, 2048.0, " 2048.000000"},
      {0, -1.25, 0.5, -0.75, ""},
  };
  for (const auto& c : cases) {
    Options().printFlag = c.flag;
    CaptureConsole console;
    Input in(Bytes().Real(c.stored).Int(99).str());
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(ReadRealField(in.get(), out, c.addend), c.result);
    EXPECT_EQ(console.Text(), c.printed);
    EXPECT_EQ(Contents(out), Bytes().Real(c.result).str());
    EXPECT_EQ(in.Position(), 8);
    std::fclose(out);
  }
}

TEST_F(RecordScannerTest, ReadLongField) {
  struct Case {
    unsigned flag;
    int32_t stored;
    long addend, divisor;
    int quiet;
    long result;
    int32_t written;
    const char* printed;
  } const cases[] = {
      {1, 7, 0, 1, 0, 7, 7, " 7"},
      {1, 16968 * 65536, 0, 65536, 0, 16968L * 65536, 16968 * 65536, " 16968"},
      {1, 16968 * 65536, 0, 65536, 1, 16968L * 65536, 16968 * 65536, ""},
      {1, -7, 0, 2, 0, -7, -7, " -3"},  // divided toward zero
      {1, 5, 0, 0, 0, 5, 5, " 5"},      // no division by zero
      {0, 5, 10, 1, 0, 15, 15, ""},
      // The field is 32 bits: the sum wraps as it is stored.
      {1, INT32_MAX, 1, 1, 0, INT32_MIN, INT32_MIN, " -2147483648"},
  };
  for (const auto& c : cases) {
    Options().printFlag = c.flag;
    CaptureConsole console;
    Input in(Bytes().Int(c.stored).str());
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(ReadLongField(in.get(), out, c.addend, c.divisor, c.quiet), c.result) << c.stored;
    EXPECT_EQ(console.Text(), c.printed) << c.stored;
    EXPECT_EQ(Contents(out), Bytes().Int(c.written).str()) << c.stored;
    std::fclose(out);
  }
}

// Printed reals are exactly what " %lf" prints, for every kind of value.
TEST_F(RecordScannerTest, PrintedRealsMatchPrintf) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> values = {0.0, -0.0, 2560.0, -99999999.0, 0.0078125, 0.0234375,  // ties
                                -0.0000005, 1e-300, 4.9e-324, 1e22, -1.7976931348623157e308,
                                inf, -inf, nan, -nan};
  std::mt19937_64 random(7);
  for (int i = 0; i < 2000; ++i) {
    const uint64_t bits = random();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    values.push_back(d);
    values.push_back(std::ldexp(static_cast<double>(random() % 100000000) - 5e7, -(i % 40)));
  }
  Options().printFlag = 1;
  for (double v : values) {
    CaptureConsole console;
    Input in(Bytes().Real(v).str());
    ReadRealField(in.get(), nullptr, 0.0);
    char expected[400];
    std::snprintf(expected, sizeof expected, " %lf", v + 0.0);  // the addend is added
    ASSERT_EQ(console.Text(), expected);
  }
}

// A field cut short reads as 0 and is copied as it was; without a stream
// nothing is read.
TEST_F(RecordScannerTest, FieldsCutShort) {
  Options().printFlag = 1;
  const std::string real = Bytes().Real(2560.0).str(), word = Bytes().Int(-1).str();
  for (size_t len = 0; len < 8; ++len) {
    for (bool isReal : {true, false}) {
      if (!isReal && len >= 4) continue;
      CaptureConsole console;
      const std::string bytes = (isReal ? real : word).substr(0, len);
      Input in(bytes);
      std::FILE* out = std::tmpfile();
      const double got = isReal ? ReadRealField(in.get(), out, 100.0)
                                : static_cast<double>(ReadLongField(in.get(), out, 100, 1, 0));
      EXPECT_EQ(got, 0.0) << len;
      EXPECT_EQ(Contents(out), bytes) << len;
      EXPECT_EQ(console.Text(), isReal ? " 0.000000" : " 0") << len;
      std::fclose(out);
    }
  }
  CaptureConsole console;
  EXPECT_EQ(ReadRealField(nullptr, nullptr, 0.0), 0.0);
  EXPECT_EQ(ReadLongField(nullptr, nullptr, 0, 1, 1), 0);
  char tag[kTagBufferSize] = "junk";
  EXPECT_EQ(ScanTag(tag, nullptr, nullptr), 0);
  EXPECT_STREQ(tag, "");
}

}  // namespace
}  // namespace ostrand
