#include "ostrand/bgr/bgr_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <vector>

#include "ostrand/bgr/bgr_test_bytes.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using testing::Bytes;
using testing::ExampleNetworkBytes;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

struct Point {
  int32_t x, y, z;
};

// Reads a whole file in record order: how many records were read, and their
// values (lat lon elev, x y z per vertex, from to width type code sp per
// edge). Fields that lie past the end keep the -7 they start with.
struct ReadCounts {
  int origins = 0, nodes = 0, edges = 0;
};

ReadCounts ReadAll(BgrFile& f, std::vector<double>& values) {
  ReadCounts n;
  double lat = -7, lon = -7, elev = -7;
  if (f.ReadOrigin(lat, lon, elev)) ++n.origins;
  values = {lat, lon, elev};
  for (double x = -7, y = -7, z = -7; f.ReadNode(x, y, z); x = y = z = -7, ++n.nodes)
    values.insert(values.end(), {x, y, z});
  for (BgrEdge e{-7, -7, -7, -7, -7, -7}; f.ReadEdge(e); e = {-7, -7, -7, -7, -7, -7}, ++n.edges) {
    values.insert(values.end(), {double(e.from), double(e.to), double(e.width), double(e.type),
                                 double(e.code), double(e.sp)});
  }
  return n;
}

// The example network written through BgrFile, then read back from the
// file and from a stream the caller opened.
TEST(BgrFileTest, ExampleWrittenByteForByteAndReadBack) {
  ScratchDir dir;
  BgrFile w;
  ASSERT_EQ(w.OpenWrite("ex.bgr"), 1);
  EXPECT_EQ(w.WriteOrigin(184827.0, 3600.0, 0.0), 1);
  w.WriteNodes(std::vector<Point>{{0, 0, 0}, {2560, 0, 5120}});
  EXPECT_EQ(w.WriteEdge(0, 1, 50, 0, 0, 0), 1);
  EXPECT_EQ(w.Close(), 1);
  EXPECT_EQ(w.IsOpen(), 0);
  std::string bytes = ExampleNetworkBytes();
  EXPECT_EQ(ReadFileBytes("ex.bgr"), bytes);

  const std::vector<double> expected = {184827, 3600, 0, 0,  0, 0,     2560, 0,
                                        5120,   0,    1, 50, 0, 16968, 0};
  for (bool stream : {false, true}) {
    BgrFile f;
    ASSERT_EQ(stream ? f.OpenReadStream(fmemopen(bytes.data(), bytes.size(), "rb"))
                     : f.OpenRead("ex.bgr"),
              1);
    std::vector<double> values;
    const ReadCounts n = ReadAll(f, values);
    EXPECT_EQ(n.origins * 100 + n.nodes * 10 + n.edges, 121) << stream;
    EXPECT_EQ(values, expected) << stream;
    EXPECT_EQ(f.FindTag("<endo>"), 1);  // the file end is all that is left
    EXPECT_EQ(std::fgetc(f.Stream()), EOF);
    EXPECT_EQ(f.Close(), 1);
  }
  EXPECT_EQ(ReadFileBytes("ex.bgr"), bytes);  // reading writes nothing
}

TEST(BgrFileTest, WidthCodes) {
  struct Case {
    int32_t feet, code;
  } const cases[] = {
      {10, 16904},  {25, 16904},  {50, 16968}, {75, 17032},        {100, 17096},
      {500, 18120}, {600, 18120}, {-5, 16904}, {INT32_MIN, 16904}, {INT32_MAX, 18120},
  };
  for (const auto& c : cases) EXPECT_EQ(WidthCodeOf(c.feet), c.code) << c.feet;

  // 16993 is 153.6 truncated to 153 on writing: it reads back as 60.
  struct Back {
    int32_t code, feet;
  } const backs[] = {
      {16904, 25},
      {16968, 50},
      {18120, 500},
      {16993, 60},
      {16840, 0},
      {16841, 1},
      {16839, 0},
      {0, -6578},
      {INT32_MIN, -(int32_t)((2147483648LL + 16840) * 50 / 128)},
      {INT32_MAX, (int32_t)(((2147483647LL - 16840) * 50 + 127) / 128)},
  };
  for (const auto& b : backs) EXPECT_EQ(WidthFeetOf(b.code), b.feet) << b.code;

  // Every width in range survives code and back exactly, so repeated saves
  // of a loaded network never narrow its edges.
  for (int32_t w = 25; w <= 500; ++w) EXPECT_EQ(WidthFeetOf(WidthCodeOf(w)), w) << w;
}

// The bytes of each written edge; types other than 0 and 1 write nothing.
TEST(BgrFileTest, WriteEdgeWidthWordsAndTypes) {
  struct Case {
    int32_t width, code, sp, type;
    uint32_t word;
  } const cases[] = {
      {10, 0, 0, 1, 16904u << 16},
      {600, 0, 0, 1, 18120u << 16},
      {50, 0, 0x0F, 0, (16968u << 16) | 0x0F},
      {50, 17000, 3, 1, (17000u << 16) | 3},              // a code is used unchanged
      {999, 17000, 0x12345, 1, (17000u << 16) | 0x2345},  // sp keeps its low 16 bits
      {0, 0xFFFF, -1, 1, 0xFFFFFFFFu},                    // no overflow in the shift
      {50, 0, 0, 2, 0},
      {50, 0, 0, -1, 0},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    BgrFile f;
    ASSERT_EQ(f.OpenWrite("e.bgr"), 1);
    const int written = c.type == 0 || c.type == 1;
    ASSERT_EQ(f.WriteEdge(BgrEdge{4, 7, c.width, c.type, c.code, c.sp}), written);
    f.Close();
    Bytes expected;
    expected.Tag("<bgno>");
    if (written) expected.Edge(4, 7, static_cast<int32_t>(c.word), c.type);
    EXPECT_EQ(ReadFileBytes("e.bgr"), expected.Tag("<endo>").str()) << c.width << " " << c.type;
  }
}

// Reading an edge and writing it with its code and sp gives the same word.
TEST(BgrFileTest, EdgeCopyKeepsTheWidthWord) {
  ScratchDir dir;
  Bytes in;
  in.Tag("<bgno>");
  for (int32_t code : {16904, 16968, 17500, 18120, 32767}) {
    for (int32_t sp : {0, 1, 0xF, 0x8000, 0xFFFF}) in.Edge(1, 2, code * 65536 + sp, 1);
  }
  WriteFileBytes("in.bgr", in.Tag("<endo>").str());
  BgrFile r, w;
  ASSERT_EQ(r.OpenRead("in.bgr") + w.OpenWrite("out.bgr"), 2);
  int edges = 0;
  for (BgrEdge e; r.ReadEdge(e); ++edges) {
    EXPECT_EQ(w.WriteEdge(e.from, e.to, e.width, e.type, e.code, e.sp), 1);
  }
  w.Close();
  EXPECT_EQ(edges, 25);
  EXPECT_EQ(ReadFileBytes("out.bgr"), in.str());
}

TEST(BgrFileTest, FlowMarksAreDropped) {
  ScratchDir dir;
  WriteFileBytes("f.bgr", Bytes()
                              .Tag("<bgno>")
                              .Origin(1, 2, 3)
                              .Node(1, 2, 3, {1, 2})
                              .Node(4, 5, 6, {2})
                              .Node(7, 8, 9)
                              .Tag("<endo>")
                              .str());
  BgrFile f;
  ASSERT_EQ(f.OpenRead("f.bgr"), 1);
  std::vector<double> values;
  const ReadCounts n = ReadAll(f, values);
  EXPECT_EQ(n.nodes, 3);
  EXPECT_EQ(n.edges, 0);
  EXPECT_EQ(values, (std::vector<double>{1, 2, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(f.FindTag("<endo>"), 1);
}

// Optional tags of an edge record, and a negative width word (divided
// toward zero: -131077 / 65536 is -2).
TEST(BgrFileTest, EdgeVariants) {
  const auto head = [] { return Bytes().Tag("<edge>").Int(3).Int(9); };
  const std::string thck = Bytes().Tag("<thck>").Int(17096 * 65536 + 5).Tag("<type>").Int(1).str();
  struct Case {
    const char* what;
    std::string record;
    int32_t code, sp, width;
  } const cases[] = {
      {"nply", head().Tag("<bgno>").Raw(thck).Tag("<nply>").Tag("<endo>").str(), 17096, 5, 100},
      {"no optional tags", head().Int(17096 * 65536 + 5).Int(1).str(), 17096, 5, 100},
      {"no bgno", head().Raw(thck).Tag("<endo>").str(), 17096, 5, 100},
      {"negative word", Bytes().Edge(3, 9, -65536 * 2 - 5, 1).str(), -2, 0xFFFB, WidthFeetOf(-2)},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    WriteFileBytes("e.bgr", Bytes().Tag("<bgno>").Raw(c.record).Raw(c.record).Tag("<endo>").str());
    BgrFile f;
    ASSERT_EQ(f.OpenRead("e.bgr"), 1);
    std::vector<double> values;
    const ReadCounts n = ReadAll(f, values);
    EXPECT_EQ(n.edges, 2) << c.what;
    const std::vector<double> edge = {3, 9, double(c.width), 1, double(c.code), double(c.sp)};
    std::vector<double> expected = {-7, -7, -7};
    for (int i = 0; i < 2; ++i) expected.insert(expected.end(), edge.begin(), edge.end());
    EXPECT_EQ(values, expected) << c.what;
  }
}

TEST(BgrFileTest, OpenReadRefusesOtherStarts) {
  const std::string refused[] = {
      "",
      std::string("<bgno>"),  // no NUL
      std::string("<bgno>X", 7),
      std::string("<BGNO>\0", 7),
      std::string(" <bgno>\0", 8),
      std::string("<orgn>\0", 7),
      std::string("<bgn", 4),
  };
  for (const auto& bytes : refused) {
    ScratchDir dir;
    WriteFileBytes("r.bgr", bytes);
    BgrFile f;
    EXPECT_EQ(f.OpenRead("r.bgr"), 0) << bytes;
    EXPECT_EQ(f.IsOpen(), 1);  // stays open until Close
    EXPECT_EQ(std::ftell(f.Stream()), 0);
    EXPECT_EQ(f.Close(), 1);
    EXPECT_EQ(f.IsOpen(), 0);
  }
  ScratchDir dir;
  BgrFile f;
  EXPECT_EQ(f.OpenRead("missing.bgr"), 0);
  EXPECT_EQ(f.IsOpen(), 0);
  EXPECT_EQ(f.Close(), 1);
}

TEST(BgrFileTest, FindTagRestoresThePosition) {
  ScratchDir dir;
  WriteFileBytes("t.bgr", Bytes().Tag("<bgno>").Tag("<nodX").Tag("<node>").str());
  BgrFile f;
  ASSERT_EQ(f.OpenRead("t.bgr"), 1);
  const long at = std::ftell(f.Stream());
  EXPECT_EQ(f.FindTag("<node>"), 0);  // "<nodX": differs in its fifth byte
  EXPECT_EQ(std::ftell(f.Stream()), at);
  EXPECT_EQ(f.FindTag("<nod"), 0);  // the tag's NUL is missing
  EXPECT_EQ(std::ftell(f.Stream()), at);
  EXPECT_EQ(f.FindTag("<nodX"), 1);
  EXPECT_EQ(f.FindTag("<node>"), 1);
  EXPECT_EQ(f.FindTag("<node>"), 0);  // at the end of the file
  EXPECT_EQ(std::ftell(f.Stream()), at + 13);
  BgrFile closed;
  EXPECT_EQ(closed.FindTag("<node>"), 0);
  EXPECT_EQ(closed.WriteTag("<node>"), 0);
}

// A file whose writes fail (here on a full device) closes with 0.
TEST(BgrFileTest, CloseReportsAFailedWrite) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  BgrFile w;
  ASSERT_EQ(w.OpenWrite("/dev/full"), 1);
  w.WriteOrigin(1.0, 2.0, 0.0);
  EXPECT_EQ(w.Close(), 0);
  EXPECT_EQ(w.IsOpen(), 0);
}

TEST(BgrFileTest, CloseEndsOnlyWrittenFiles) {
  ScratchDir dir;
  BgrFile w;
  ASSERT_EQ(w.OpenWrite("w.bgr"), 1);
  EXPECT_EQ(w.Close(), 1);
  EXPECT_EQ(w.Close(), 1);  // a second Close adds nothing
  EXPECT_EQ(ReadFileBytes("w.bgr"), Bytes().Tag("<bgno>").Tag("<endo>").str());
  {
    BgrFile scoped;
    ASSERT_EQ(scoped.OpenWrite("s.bgr"), 1);
    scoped.WriteNode(1.5, -2, 3);
  }  // without Close nothing is put in place
  EXPECT_FALSE(std::filesystem::exists("s.bgr"));
}

TEST(BgrFileTest, TruncatedAtEveryLength) {
  ScratchDir dir;
  const std::string full = ExampleNetworkBytes();
  BgrFile whole;
  WriteFileBytes("full.bgr", full);
  ASSERT_EQ(whole.OpenRead("full.bgr"), 1);
  std::vector<double> fullValues;
  ReadAll(whole, fullValues);
  // Where each record of the example ends, and how many values it gives.
  const size_t originEnd = 7 + 35, nodeSize = 52, edgeEnd = originEnd + 2 * nodeSize + 51;
  for (size_t len = 0; len <= full.size(); ++len) {
    WriteFileBytes("cut.bgr", full.substr(0, len));
    BgrFile f;
    const int opened = f.OpenRead("cut.bgr");
    EXPECT_EQ(opened, len >= 7 ? 1 : 0) << len;
    if (!opened) continue;
    std::vector<double> values;
    const ReadCounts n = ReadAll(f, values);
    EXPECT_LE(n.nodes, 2) << len;
    EXPECT_LE(n.edges, 1) << len;
    // Records that lie wholly inside the cut read exactly as in the file.
    size_t exact = 0;
    if (len >= originEnd) exact = 3;
    if (len >= originEnd + nodeSize) exact = 6;
    if (len >= originEnd + 2 * nodeSize) exact = 9;
    if (len >= edgeEnd) exact = 15;
    ASSERT_GE(values.size(), exact) << len;
    for (size_t i = 0; i < exact; ++i) EXPECT_EQ(values[i], fullValues[i]) << len << " " << i;
    if (len == full.size()) {
      EXPECT_EQ(values, fullValues);
    }
  }
}

// The origin cut inside its longitude is read, and the fields past the end
// keep the caller's values; an edge cut inside its width word is no edge
// (its values are not made up) and marks the file damaged.
TEST(BgrFileTest, FieldsPastTheEndKeepTheCallersValues) {
  const std::string edge = Bytes().Tag("<bgno>").Edge(2, 3, 16968 * 65536 + 1, 1).str();
  struct Case {
    std::string bytes;
    int origins, edges, damaged;
    std::vector<double> values;
  } const cases[] = {
      {ExampleNetworkBytes().substr(0, 7 + 7 + 8 + 3), 1, 0, 0, {184827, -7, -7}},
      {edge.substr(0, 7 + 7 + 8 + 14 + 2), 0, 0, 1, {-7, -7, -7}},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    WriteFileBytes("cut.bgr", c.bytes);
    BgrFile f;
    ASSERT_EQ(f.OpenRead("cut.bgr"), 1);
    std::vector<double> values;
    const ReadCounts n = ReadAll(f, values);
    EXPECT_EQ(n.origins, c.origins);
    EXPECT_EQ(n.edges, c.edges);
    EXPECT_EQ(f.Damaged(), c.damaged);
    EXPECT_EQ(values, c.values);
  }
}

}  // namespace
}  // namespace ostrand
