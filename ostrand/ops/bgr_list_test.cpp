#include "ostrand/ops/bgr_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
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
using testing::ExampleNetworkBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

const char kStartExtents[] =
    "WS= 99999999.000000 99999999.000000, EN= -99999999.000000 -99999999.000000\n";

// The worked example listed with "-ls": 17 lines.
const char kExampleListing[] =
    "<bgno>\n"
    "<orgn>  184827.000000 3600.000000 0.000000 1 (51 20'27.0000\"N 1 0'00.0000\"E)\n"
    "<node>\n"
    "<bgno>\n"
    "<vloc> (0) 0.000000 0.000000 0.000000\n"
    "<endo>\n"
    "<node>\n"
    "<bgno>\n"
    "<vloc> (1) 2560.000000 0.000000 5120.000000\n"
    "<endo>\n"
    "<edge>  0 1\n"
    "<bgno>\n"
    "<thck> 16968 50ft sp=00\n"
    "<type>  0\n"
    "<endo>\n"
    "<endo>\n"
    "WS= 0.000000 0.000000, EN= 2560.000000 5120.000000\n";

// The same without values (the default mode, print flag 0).
const char kExampleQuietListing[] =
    "<bgno>\n"
    "<orgn>  (51 20'27.0000\"N 1 0'00.0000\"E)\n"
    "<node>\n"
    "<bgno>\n"
    "<vloc> (0)\n"
    "<endo>\n"
    "<node>\n"
    "<bgno>\n"
    "<vloc> (1)\n"
    "<endo>\n"
    "<edge> \n"
    "<bgno>\n"
    "<thck> 16968 50ft sp=00\n"
    "<type> \n"
    "<endo>\n"
    "<endo>\n"
    "WS= 0.000000 0.000000, EN= 2560.000000 5120.000000\n";

class BgrListTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOptions(); }
  void TearDown() override { ResetOptions(); }

  // Lists the bytes as "n.bgr" and returns the console text.
  std::string List(const std::string& bytes, unsigned printFlag, long vmin, long vmax,
                   int expectedResult = 1) {
    WriteFileBytes("n.bgr", bytes);
    Options().printFlag = printFlag;
    CaptureConsole console;
    EXPECT_EQ(BgrList("n.bgr", vmin, vmax), expectedResult);
    return console.Text();
  }

  ScratchDir dir_;
};

// " %02X" of each byte.
std::string Hex(const std::string& bytes) {
  std::string text;
  char buf[8];
  for (unsigned char c : bytes) {
    std::snprintf(buf, sizeof buf, " %02X", c);
    text += buf;
  }
  return text;
}

// The example listed with "-ls1": vertex 1 alone.
std::string OneVertexListing() {
  return "<orgn>  184827.000000 3600.000000 0.000000 1 (51 20'27.0000\"N 1 0'00.0000\"E)\n" +
         Hex(Bytes().Real(0).Real(0).Real(0).str()) +
         "<vloc> (1) 2560.000000 0.000000 5120.000000\n<edge>  0 1\n"
         "<thck> 16968 50ft sp=00\n<type>  0\n"
         "WS= 2560.000000 5120.000000, EN= 2560.000000 5120.000000\n";
}

// Six vertices, the fourth with two flow marks, then two edges.
std::string SixVertices() {
  Bytes b;
  b.Tag("<bgno>").Origin(-1800.5, -3600.0, 12.0);
  for (int i = 0; i < 6; ++i) i == 3 ? b.Node(30, 1, -30, {1, 2}) : b.Node(10.0 * i, 0, 100.0 - i);
  b.Edge(0, 5, 16993 * 65536 + 0x0F, 1).Edge(3, 4, 18120 * 65536 + 0x1A5, 0).Tag("<endo>");
  return b.str();
}

// Exact listings: the worked example (17 lines) with and without values;
// all vertices with flow marks; one vertex, whose neighbours' coordinates
// are skipped bytes; files without tags; a vertex cut inside its
// coordinates, which does not move the extents; damaged tags, which end the
// listing. A byte 0x3C in the payload of a record the listing does not read
// starts a false tag that closes at the record's "<endo>" and prints up to
// its first NUL; a vertex outside the range whose coordinates hold 0x3C
// (28.0 is 40 3C 00 .. 00) is skipped whole and the listing goes on.
TEST_F(BgrListTest, ExactListings) {
  const std::string flows =
      "<bgno>\n"
      "<orgn>  -1800.500000 -3600.000000 12.000000 1 (0 30'00.5000\"S 0 59'59.9999\"W)\n"
      "<node>\n<bgno>\n<vloc> (0) 0.000000 0.000000 100.000000\n<endo>\n"
      "<node>\n<bgno>\n<vloc> (1) 10.000000 0.000000 99.000000\n<endo>\n"
      "<node>\n<bgno>\n<vloc> (2) 20.000000 0.000000 98.000000\n<endo>\n"
      "<node>\n<bgno>\n<vloc> (3) 30.000000 1.000000 -30.000000\n"
      "<flow>\n 01 00 00 00<flow>\n 02 00 00 00<endo>\n"
      "<node>\n<bgno>\n<vloc> (4) 40.000000 0.000000 96.000000\n<endo>\n"
      "<node>\n<bgno>\n<vloc> (5) 50.000000 0.000000 95.000000\n<endo>\n"
      "<edge>  0 5\n<bgno>\n<thck> 16993 60ft sp=0F\n<type>  1\n<endo>\n"
      "<edge>  3 4\n<bgno>\n<thck> 18120 500ft sp=1A5\n<type>  0\n<endo>\n"
      "<endo>\n"
      "WS= 0.000000 -30.000000, EN= 50.000000 100.000000\n";
  const std::string oneExtents = "WS= 2560.000000 5120.000000, EN= 2560.000000 5120.000000\n";
  const std::string start(kStartExtents);
  const auto bgno = [] { return Bytes().Tag("<bgno>"); };
  struct Case {
    const char* what;
    std::string bytes;
    unsigned flag;
    long vmin, vmax;
    std::string listing;
  } const cases[] = {
      {"example", ExampleNetworkBytes(), 1, -1, -1, kExampleListing},
      {"example quiet", ExampleNetworkBytes(), 0, -1, -1, kExampleQuietListing},
      {"flow marks", SixVertices(), 1, -1, -1, flows},
      {"one vertex", ExampleNetworkBytes(), 1, 1, -1, OneVertexListing()},
      {"one vertex quiet", ExampleNetworkBytes(), 0, 1, -1,
       "<orgn>  (51 20'27.0000\"N 1 0'00.0000\"E)\n"
       "<vloc> (1)\n<edge> \n<thck> 16968 50ft sp=00\n<type> \n" + oneExtents},
      {"empty", "", 1, -1, -1, start},
      {"empty quiet", "", 0, -1, -1, start},
      {"no tag", "abc", 1, -1, -1, " 61 62 63" + start},
      {"no tag quiet", "abc", 0, -1, -1, start},
      {"cut vertex", bgno().Node(5, 0, 6).Tag("<vloc>").Real(-100).str(), 1, -1, -1,
       "<bgno>\n<node>\n<bgno>\n<vloc> (0) 5.000000 0.000000 6.000000\n<endo>\n"
       "<vloc> (1) -100.000000 0.000000 0.000000\n"
       "WS= 5.000000 6.000000, EN= 5.000000 6.000000\n"},
      {"vertex ending the file", Bytes().Tag("<vloc>").Real(7).Real(0).Real(8).str(), 0, -1, -1,
       "<vloc> (0)\nWS= 7.000000 8.000000, EN= 7.000000 8.000000\n"},
      {"false tag", bgno().Tag("<unkn>").Int(0x4142433C).Int(0).Real(0).Real(0).str() +
           Bytes().Tag("<endo>").Node(1, 2, 3).str(), 0, 0, 9999,
       "<bgno>\n<unkn>\n<CBA\n<node>\n<bgno>\n<vloc> (0)\n<endo>\n"
       "WS= 1.000000 3.000000, EN= 1.000000 3.000000\n"},
      {"skipped vertex holding 0x3C",
       bgno().Node(28, 0, 28).Node(1, 0, 2).Tag("<edge>").Int(0).Int(1).Tag("<endo>").str(), 1, 1,
       -1,
       Hex(Bytes().Real(28).Real(0).Real(28).str()) +
           "<vloc> (1) 1.000000 0.000000 2.000000\n<edge>  0 1\n"
           "WS= 1.000000 2.000000, EN= 1.000000 2.000000\n"},
      {"tag longer than 62", bgno().Raw("<" + std::string(70, 'a') + ">").Tag("").Node(1, 2, 3).str(),
       0, -1, -1, "<bgno>\n" + start},
      {"no NUL after '>'", bgno().Raw("<edge>X").Node(1, 2, 3).str(), 0, -1, -1, "<bgno>\n" + start},
      {"0x3C payload without '>'",
       bgno().Tag("<xxxx>").Raw("<" + std::string(80, 'b')).Node(1, 2, 3).str(), 0, -1, -1,
       "<bgno>\n<xxxx>\n" + start},
  };
  for (const auto& c : cases) EXPECT_EQ(List(c.bytes, c.flag, c.vmin, c.vmax), c.listing) << c.what;
}

TEST_F(BgrListTest, Ranges) {
  struct Case {
    long vmin, vmax;
    const char* vertices;  // the vloc lines, without values
    const char* extents;
  } const cases[] = {
      {5, -1, "<vloc> (5)\n", "WS= 50.000000 95.000000, EN= 50.000000 95.000000\n"},
      {1, 2, "<vloc> (1)\n<vloc> (2)\n", "WS= 10.000000 98.000000, EN= 20.000000 99.000000\n"},
      {3, 100, "<vloc> (3)\n<vloc> (4)\n<vloc> (5)\n",
       "WS= 30.000000 -30.000000, EN= 50.000000 96.000000\n"},
      {6, -1, "", kStartExtents},
      {-5, -2, "", kStartExtents},
      {4, 2, "", kStartExtents},
  };
  for (const auto& c : cases) {
    const std::string text = List(SixVertices(), 0, c.vmin, c.vmax);
    std::string vertices;
    for (size_t at = text.find("<vloc>"); at != std::string::npos; at = text.find("<vloc>", at + 1))
      vertices += text.substr(at, text.find('\n', at) + 1 - at);
    EXPECT_EQ(vertices, c.vertices) << c.vmin << ":" << c.vmax;
    EXPECT_EQ(text.substr(text.rfind("WS=")), c.extents) << c.vmin << ":" << c.vmax;
    // Other tags are listed only when all vertices are.
    EXPECT_EQ(text.find("<node>"), std::string::npos);
  }
  // An explicit upper end of 9999 lists the other tags too.
  EXPECT_NE(List(SixVertices(), 0, 2, 9999).find("<node>\n<bgno>\n<vloc> (2)\n"),
            std::string::npos);
}

// "All vertices" means all: a network holds up to 12000, beyond number 9999.
TEST_F(BgrListTest, AllVerticesBeyond9999) {
  Bytes b;
  b.Tag("<bgno>");
  for (int i = 0; i < 10002; ++i) b.Node(i, 0, -i);
  const std::string text = List(b.Tag("<endo>").str(), 1, -1, -1);
  EXPECT_NE(text.find("<node>\n<bgno>\n<vloc> (10001) 10001.000000 0.000000 -10001.000000\n<endo>\n"
                      "<endo>\nWS= 0.000000 -10001.000000, EN= 10001.000000 0.000000\n"),
            std::string::npos);
  // An explicit range up to 9999 stops there but lists every tag.
  const std::string upTo9999 = List(b.str(), 1, 9998, 9999);
  EXPECT_NE(upTo9999.find("<node>\n<bgno>\n<vloc> (9999)"), std::string::npos);
  EXPECT_EQ(upTo9999.find("<vloc> (10000)"), std::string::npos);
}

TEST_F(BgrListTest, MissingFile) {
  Options().printFlag = 1;
  CaptureConsole console;
  EXPECT_EQ(BgrList("nope.bgr", -1, -1), 0);
  EXPECT_EQ(console.Text(),
            std::string("ERROR: BgrList source file 'nope.bgr' not found\n") + kStartExtents);
  const std::string log = testing::ReadFileBytes("report.txt");
  EXPECT_NE(log.find("ERROR: BgrList source file 'nope.bgr' not found\n"), std::string::npos);
}

// A "tms" name goes to the surface dump, whatever its case: no listing
// text, and no listing error for a missing file.
TEST_F(BgrListTest, SurfaceFilesAreNotListedHere) {
  for (const char* name : {"missing.tms", "MISSING.TMS", "n.Tms"}) {
    WriteFileBytes("n.tms", ExampleNetworkBytes());
    CaptureConsole console;
    EXPECT_EQ(BgrList(name, -1, -1), 1) << name;
    EXPECT_EQ(console.Text().find("WS="), std::string::npos) << name;
    EXPECT_EQ(console.Text().find("BgrList"), std::string::npos) << name;
  }
}

// A file cut anywhere lists its whole records and always ends with the
// extents line; the text is a prefix of the whole listing up to the record
// that is cut.
TEST_F(BgrListTest, TruncatedAtEveryLength) {
  const std::string full = ExampleNetworkBytes();
  const std::string whole(kExampleListing);
  const std::string wholeBody = whole.substr(0, whole.rfind("WS="));
  for (size_t len = 0; len <= full.size(); ++len) {
    for (unsigned flag : {0u, 1u}) {
      const std::string text = List(full.substr(0, len), flag, -1, -1);
      ASSERT_GE(text.size(), 1u);
      EXPECT_EQ(text.back(), '\n');
      const size_t ws = text.rfind("WS=");
      ASSERT_NE(ws, std::string::npos) << len;
      if (flag == 1) {
        // Every complete line before the cut is the example's own.
        const std::string body = text.substr(0, ws);
        const size_t lastLine = body.rfind('\n', body.size() >= 2 ? body.size() - 2 : 0);
        const std::string complete =
            lastLine == std::string::npos ? "" : body.substr(0, lastLine + 1);
        EXPECT_EQ(wholeBody.compare(0, complete.size(), complete), 0) << len << "\n" << text;
      }
    }
  }
}

// Random bytes and randomly damaged networks list without crashing and
// always end with the extents line.
TEST_F(BgrListTest, RandomBytes) {
  std::mt19937 random(12345);
  const std::string base = SixVertices();
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    if (round % 2 == 0) {
      bytes.resize(random() % 400);
      for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? '<' : random() % 256);
    } else {
      bytes = base;
      for (int k = 0; k < 5; ++k)
        bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
      bytes.resize(random() % (bytes.size() + 1));
    }
    const std::string text = List(bytes, round % 3 == 0 ? 0 : 1, round % 5 == 0 ? 2 : -1, -1);
    ASSERT_NE(text.rfind("WS="), std::string::npos) << round;
    EXPECT_EQ(text.back(), '\n') << round;
  }
}

// The whole program: header lines, the listing, the elapsed time.
TEST_F(BgrListTest, EndToEnd) {
  WriteFileBytes("ex.bgr", ExampleNetworkBytes());
  struct Case {
    std::vector<std::string> args;
    std::string listing;
    int status;
  } const cases[] = {
      {{"-ls", "ex.bgr"}, kExampleListing, 1},
      {{"ex.bgr"}, kExampleQuietListing, 1},
      {{"-ls", "EX.BGR"}, kExampleListing, 1},  // names resolve without regard to case
      {{"-ls1", "ex.bgr"}, OneVertexListing(), 1},
      {{"-ls", "missing.bgr"},
       std::string("ERROR: BgrList source file 'missing.bgr' not found\n") + kStartExtents,
       0},
  };
  for (const auto& c : cases) {
    const testing::RunResult r = testing::RunOstrand(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0];
    // Two header lines first, the time line last.
    const size_t bodyStart = r.output.find('\n', r.output.find('\n') + 1) + 1;
    const size_t timeLine = r.output.rfind("TIME= ");
    ASSERT_NE(timeLine, std::string::npos) << r.output;
    const std::string body = r.output.substr(bodyStart, timeLine - bodyStart);
    EXPECT_EQ(body, c.listing) << c.args[0];
  }
}

}  // namespace
}  // namespace ostrand
