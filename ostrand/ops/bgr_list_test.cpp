// The listing of network files and the record scanner it reads them with.
#include "ostrand/ops/bgr_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "ostrand/bgr/test_bytes.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/ops/record_scanner.h"

namespace ostrand {
namespace {

using namespace testing;

// An expected listing of testdata/list/.
std::string Golden(const std::string& name) {
  return ReadFileBytes(OSTRAND_SOURCE_DIR "/ostrand/ops/testdata/list/" + name + ".txt");
}

class BgrListTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }

  // Lists the bytes as "n.bgr" and returns the console text.
  std::string List(const std::string& bytes, unsigned printFlag, long vmin, long vmax) {
    WriteFileBytes("n.bgr", bytes);
    Options().printFlag = printFlag;
    CaptureConsole console;
    EXPECT_EQ(BgrList("n.bgr", vmin, vmax), 1);
    return console.Text();
  }

  ScratchDir dir_;
};

// The rows of testdata/listings.txt (its head describes them): network
// files of testdata/list/ and their exact listings.
TEST_F(BgrListTest, ExactListings) {
  for (const auto& row : ReadTable(TestData("ostrand/ops", "listings.txt"))) {
    long vmin = 0, vmax = 0;
    std::istringstream(row[3]) >> vmin >> vmax;
    const std::string bytes = ReadFileBytes(TestData("ostrand/ops", ("list/" + row[1]).c_str()));
    EXPECT_EQ(List(bytes, std::stoul(row[2]), vmin, vmax), Golden(row[0])) << row[0] << " " << row[1];
  }
}

// "All vertices" means all: a network holds up to 12000, beyond number
// 9999. An explicit range up to 9999 stops there but lists every tag.
TEST_F(BgrListTest, AllVerticesBeyond9999) {
  Bytes b = Bytes().Tag("<bgno>");
  for (int i = 0; i < 10002; ++i) b.Node(i, 0, -i);
  const std::string all = List(b.Tag("<endo>").str(), 1, -1, -1);
  EXPECT_NE(all.find("<node>\n<bgno>\n<vloc> (10001) 10001.000000 0.000000 -10001.000000\n<endo>\n"
                     "<endo>\nWS= 0.000000 -10001.000000, EN= 10001.000000 0.000000\n"),
            std::string::npos);
  const std::string upTo9999 = List(b.str(), 1, 9998, 9999);
  EXPECT_NE(upTo9999.find("<node>\n<bgno>\n<vloc> (9999)"), std::string::npos);
  EXPECT_EQ(upTo9999.find("<vloc> (10000)"), std::string::npos);
}

// A "tms" name goes to the surface dump, whatever its case: no listing
// text, and no listing error for a missing file.
TEST_F(BgrListTest, SurfaceFilesAreNotListedHere) {
  WriteFileBytes("n.tms", ExampleNetworkBytes());
  for (const char* name : {"MISSING.TMS", "n.Tms"}) {
    CaptureConsole console;
    EXPECT_EQ(BgrList(name, -1, -1), 1) << name;
    const std::string text = console.Text();
    EXPECT_EQ(text.find("WS="), std::string::npos) << text;
    EXPECT_EQ(text.find("BgrList"), std::string::npos) << text;
  }
}

// A file cut anywhere lists its whole records and ends with the extents
// line; every complete line before the cut is the whole listing's own.
TEST_F(BgrListTest, TruncatedAtEveryLength) {
  const std::string full = ExampleNetworkBytes(), whole = Golden("example");
  for (size_t len = 0; len <= full.size(); ++len) {
    const std::string text = List(full.substr(0, len), 1, -1, -1);
    const size_t ws = text.rfind("WS=");
    ASSERT_NE(ws, std::string::npos) << len;
    EXPECT_EQ(text.back(), '\n');
    const size_t lastLine = ws < 2 ? std::string::npos : text.rfind('\n', ws - 2);
    const std::string complete = text.substr(0, lastLine == std::string::npos ? 0 : lastLine + 1);
    EXPECT_EQ(whole.compare(0, complete.size(), complete), 0) << len << "\n" << text;
  }
}

// Streams around a field read: the input holds the bytes, the output
// collects what is copied.
struct Streams {
  explicit Streams(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), in);
    std::rewind(in);
  }
  ~Streams() {
    std::fclose(in);
    std::fclose(out);
    std::free(copied);
  }
  std::string Written() { return std::fflush(out) == 0 ? std::string(copied, size) : ""; }
  std::FILE* in = std::tmpfile();
  char* copied = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&copied, &size);
};

// An integer field read, the addend added, what is copied and what is
// printed: divided toward zero (a divisor of 0 prints the value as it is),
// wrapped at 32 bits as it is stored. Without a stream nothing is read.
TEST_F(BgrListTest, ReadLongField) {
  struct Long { unsigned flag; int32_t stored; long addend, divisor; int quiet; int32_t result;
                const char* printed; };
  const Long longs[] = {
      {1, 7, 0, 1, 0, 7, " 7"},   {1, 16968 * 65536, 0, 65536, 0, 16968 * 65536, " 16968"},
      {1, 16968 * 65536, 0, 65536, 1, 16968 * 65536, ""}, {1, -7, 0, 2, 0, -7, " -3"},
      {1, 5, 0, 0, 0, 5, " 5"},   {0, 5, 10, 1, 0, 15, ""},
      {1, INT32_MAX, 1, 1, 0, INT32_MIN, " -2147483648"}};
  for (const Long& r : longs) {
    Options().printFlag = r.flag;
    CaptureConsole console;
    Streams s(Bytes().Int(r.stored).str());
    EXPECT_EQ(ReadLongField(s.in, s.out, r.addend, r.divisor, r.quiet), r.result) << r.stored;
    EXPECT_EQ(console.Text(), r.printed) << r.stored;
    EXPECT_EQ(s.Written(), Bytes().Int(r.result).str()) << r.stored;
  }
  EXPECT_EQ(ReadLongField(nullptr, nullptr, 0, 1, 1), 0);  // no stream: nothing read
  EXPECT_EQ(ReadRealField(nullptr, nullptr, 0.0), 0.0);
}

// Printed reals are exactly what " %lf" prints, for every kind of value.
TEST_F(BgrListTest, PrintedRealsMatchPrintf) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> values = {0.0,    -0.0,     2560.0, -99999999.0, 0.0078125, 0.0234375,
                                -5e-7, 1e-300, 4.9e-324, 1e22, -1.7976931348623157e308,
                                inf,    -inf,     nan,    -nan};
  for (int i = 0; i < 40; ++i) values.push_back(std::ldexp(i * 2654435761.0 - 5e10, -i));
  Options().printFlag = 1;
  for (double v : values) {
    CaptureConsole console;
    Streams s(Bytes().Real(v).str());
    ReadRealField(s.in, nullptr, 0.0);
    char expected[400];
    std::snprintf(expected, sizeof expected, " %lf", v + 0.0);  // the addend is added
    ASSERT_EQ(console.Text(), expected);
  }
}

}  // namespace
}  // namespace ostrand
