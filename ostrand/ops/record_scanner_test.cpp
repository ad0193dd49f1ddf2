#include "ostrand/ops/record_scanner.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ostrand/bgr/bgr_test_bytes.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

// An in-memory input stream over a copy of the bytes (an empty one is a
// stream at its end: fmemopen refuses a size of 0), and an output stream
// whose contents can be read back.
class Streams {
 public:
  explicit Streams(std::string bytes) : bytes_(std::move(bytes)) {
    in_ = bytes_.empty() ? std::tmpfile() : fmemopen(bytes_.data(), bytes_.size(), "rb");
  }
  ~Streams() {
    std::fclose(in_);
    std::fclose(out_);
  }
  std::FILE* in() { return in_; }
  std::FILE* out() { return out_; }
  long Position() { return std::ftell(in_); }
  std::string Written() {
    std::fflush(out_);
    std::string text(static_cast<size_t>(std::ftell(out_)), '\0');
    std::rewind(out_);
    text.resize(std::fread(text.data(), 1, text.size(), out_));
    return text;
  }

 private:
  std::string bytes_;
  std::FILE* in_ = nullptr;
  std::FILE* out_ = std::tmpfile();
};

class RecordScannerTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }
};

// The tags ScanTag returns 1 for, the buffer after its final 0, and the
// copy, which gets every byte read and nothing else.
TEST_F(RecordScannerTest, ScanTag) {
  const std::string tag62 = "<" + std::string(60, 'a') + ">", tag63 = "<" + std::string(61, 'a') + ">";
  struct Row { const char* name; std::string input; std::vector<std::string> tags; std::string last; };
  const Row rows[] = {
      {"empty", "", {}, ""},
      {"two tags", Bytes().Tag("<bgno>").Tag("<orgn>").str(), {"<bgno>", "<orgn>"}, ""},
      {"payload", Bytes().Tag("<edge>").Int(0x41424344).Tag("<type>").str(), {"<edge>", "<type>"}, ""},
      {"no tag", "abc", {}, ""},
      {"empty tag", std::string("<>\0", 3), {"<>"}, ""},
      {"tag of 62", Bytes().Tag(tag62.c_str()).Tag("<endo>").str(), {tag62, "<endo>"}, ""},
      {"tag of 63", Bytes().Tag(tag63.c_str()).Tag("<endo>").str(), {}, tag63.substr(0, 62)},
      {"no NUL", std::string("<bgno>X<endo>\0", 14), {}, "<bgno>"},
      {"end after '>'", "<bgno>", {}, "<bgno>"},
      {"end inside", "<bgn", {}, "<bgn"},
      {"'<' inside a tag", std::string("<a<b>\0", 6), {"<a<b>"}, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Streams s(r.input);
    char tag[kTagBufferSize];
    std::vector<std::string> got;
    while (ScanTag(tag, s.in(), s.out())) got.push_back(tag);
    EXPECT_EQ(got, r.tags);
    EXPECT_EQ(std::string(tag), r.last);
    EXPECT_EQ(s.Written(), r.input.substr(0, static_cast<size_t>(s.Position())));
  }
  char tag[kTagBufferSize] = "junk";
  EXPECT_EQ(ScanTag(tag, nullptr, nullptr), 0);  // no stream: nothing read
  EXPECT_STREQ(tag, "");
}

// With the print flag the bytes skipped before a tag print in hex.
TEST_F(RecordScannerTest, SkippedBytesPrintInHexWithThePrintFlag) {
  for (unsigned flag : {0u, 1u, 0x10u}) {
    Options().printFlag = flag;
    CaptureConsole console;
    Streams s(std::string("\x01\xAB", 2) + Bytes().Tag("<a>").str() + "z");
    char tag[kTagBufferSize];
    EXPECT_EQ(ScanTag(tag, s.in(), nullptr), 1);
    EXPECT_EQ(ScanTag(tag, s.in(), nullptr), 0);
    EXPECT_EQ(console.Text(), flag ? " 01 AB 7A" : "") << flag;
  }
}

// A field read, the addend added, what is copied and what is printed.
// Integers are divided toward zero for printing (a divisor of 0 prints the
// value as it is) and wrap at 32 bits as they are stored.
TEST_F(RecordScannerTest, ReadFields) {
  struct Real { unsigned flag; double stored, addend, result; const char* printed; };
  for (const Real& r : {Real{1, 2560.0, 0.0, 2560.0, " 2560.000000"}, Real{1, 2560.0, -512.0, 2048.0, " 2048.000000"},
                        Real{0, -1.25, 0.5, -0.75, ""}}) {
    Options().printFlag = r.flag;
    CaptureConsole console;
    Streams s(Bytes().Real(r.stored).Int(99).str());
    EXPECT_EQ(ReadRealField(s.in(), s.out(), r.addend), r.result);
    EXPECT_EQ(console.Text(), r.printed);
    EXPECT_EQ(s.Written(), Bytes().Real(r.result).str());
    EXPECT_EQ(s.Position(), 8);
  }
  struct Long { unsigned flag; int32_t stored; long addend, divisor; int quiet; int32_t result; const char* printed; };
  const Long longs[] = {
      {1, 7, 0, 1, 0, 7, " 7"},   {1, 16968 * 65536, 0, 65536, 0, 16968 * 65536, " 16968"},
      {1, 16968 * 65536, 0, 65536, 1, 16968 * 65536, ""}, {1, -7, 0, 2, 0, -7, " -3"},
      {1, 5, 0, 0, 0, 5, " 5"},   {0, 5, 10, 1, 0, 15, ""},
      {1, INT32_MAX, 1, 1, 0, INT32_MIN, " -2147483648"},
  };
  for (const Long& r : longs) {
    Options().printFlag = r.flag;
    CaptureConsole console;
    Streams s(Bytes().Int(r.stored).str());
    EXPECT_EQ(ReadLongField(s.in(), s.out(), r.addend, r.divisor, r.quiet), r.result) << r.stored;
    EXPECT_EQ(console.Text(), r.printed) << r.stored;
    EXPECT_EQ(s.Written(), Bytes().Int(r.result).str()) << r.stored;
  }
}

// Printed reals are exactly what " %lf" prints, for every kind of value.
TEST_F(RecordScannerTest, PrintedRealsMatchPrintf) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> values = {0.0, -0.0, 2560.0, -99999999.0, 0.0078125, 0.0234375, -0.0000005, 1e-300,
                                4.9e-324, 1e22, -1.7976931348623157e308, inf, -inf, nan, -nan};
  std::mt19937_64 random(7);
  for (int i = 0; i < 2000; ++i) {
    const uint64_t bits = random();
    values.push_back(std::bit_cast<double>(bits));
    values.push_back(std::ldexp(static_cast<double>(random() % 100000000) - 5e7, -(i % 40)));
  }
  Options().printFlag = 1;
  for (double v : values) {
    CaptureConsole console;
    Streams s(Bytes().Real(v).str());
    ReadRealField(s.in(), nullptr, 0.0);
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
      Streams s((isReal ? real : word).substr(0, len));
      const double got = isReal ? ReadRealField(s.in(), s.out(), 100.0)
                                : static_cast<double>(ReadLongField(s.in(), s.out(), 100, 1, 0));
      EXPECT_EQ(got, 0.0) << len;
      EXPECT_EQ(s.Written(), (isReal ? real : word).substr(0, len)) << len;
      EXPECT_EQ(console.Text(), isReal ? " 0.000000" : " 0") << len;
    }
  }
  CaptureConsole console;
  EXPECT_EQ(ReadRealField(nullptr, nullptr, 0.0) + ReadLongField(nullptr, nullptr, 0, 1, 1), 0.0);
}

}  // namespace
}  // namespace ostrand
