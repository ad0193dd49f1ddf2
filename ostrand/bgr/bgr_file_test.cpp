#include "ostrand/bgr/bgr_file.h"

#include <gtest/gtest.h>

#include <climits>
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

// Writes the example network through BgrFile.
void WriteExample(const char* name) {
  BgrFile f;
  ASSERT_EQ(f.OpenWrite(name), 1);
  EXPECT_EQ(f.WriteOrigin(184827.0, 3600.0, 0.0), 1);
  const std::vector<Point> points = {{0, 0, 0}, {2560, 0, 5120}};
  f.WriteNodes(points);
  EXPECT_EQ(f.WriteEdge(0, 1, 50, 0, 0, 0), 1);
  EXPECT_EQ(f.Close(), 1);
  EXPECT_EQ(f.IsOpen(), 0);
}

TEST(BgrFileTest, WritesTheExampleByteForByte) {
  ScratchDir dir;
  WriteExample("ex.bgr");
  EXPECT_EQ(ReadFileBytes("ex.bgr"), ExampleNetworkBytes());
}

TEST(BgrFileTest, ReadsTheExampleBack) {
  ScratchDir dir;
  WriteFileBytes("ex.bgr", ExampleNetworkBytes());
  BgrFile f;
  ASSERT_EQ(f.OpenRead("ex.bgr"), 1);
  double lat = 0, lon = 0, elev = -1;
  ASSERT_EQ(f.ReadOrigin(lat, lon, elev), 1);
  EXPECT_EQ(lat, 184827.0);
  EXPECT_EQ(lon, 3600.0);
  EXPECT_EQ(elev, 0.0);
  double x = -1, y = -1, z = -1;
  ASSERT_EQ(f.ReadNode(x, y, z), 1);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(z, 0.0);
  ASSERT_EQ(f.ReadNode(x, y, z), 1);
  EXPECT_EQ(x, 2560.0);
  EXPECT_EQ(y, 0.0);
  EXPECT_EQ(z, 5120.0);
  EXPECT_EQ(f.ReadNode(x, y, z), 0);
  BgrEdge e;
  ASSERT_EQ(f.ReadEdge(e), 1);
  EXPECT_EQ(e.from, 0);
  EXPECT_EQ(e.to, 1);
  EXPECT_EQ(e.width, 50);
  EXPECT_EQ(e.code, 16968);
  EXPECT_EQ(e.sp, 0);
  EXPECT_EQ(e.type, 0);
  EXPECT_EQ(f.ReadEdge(e), 0);
  EXPECT_EQ(f.FindTag("<endo>"), 1);  // the file end is all that is left
  EXPECT_EQ(std::fgetc(f.Stream()), EOF);
  EXPECT_EQ(f.Close(), 1);
  EXPECT_EQ(ReadFileBytes("ex.bgr"), ExampleNetworkBytes());  // reading writes nothing
}

TEST(BgrFileTest, WidthCodes) {
  struct Case {
    int32_t feet, code;
  } const cases[] = {
      {10, 16904},  {25, 16904},  {50, 16968}, {75, 17032},        {100, 17096},
      {500, 18120}, {600, 18120}, {-5, 16904}, {INT32_MIN, 16904}, {INT32_MAX, 18120},
  };
  for (const auto& c : cases) EXPECT_EQ(WidthCodeOf(c.feet), c.code) << c.feet;

  struct Back {
    int32_t code, feet;
  } const backs[] = {
      {16904, 25},
      {16968, 50},
      {18120, 500},
      {16993, 60},  // 153.6 truncated to 153 on writing: reads back as 60
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

// The width word of each written edge, read back from the file.
TEST(BgrFileTest, WriteEdgeWidthWords) {
  struct Case {
    int32_t width, code, sp;
    uint32_t word;
  } const cases[] = {
      {10, 0, 0, 16904u << 16},
      {600, 0, 0, 18120u << 16},
      {50, 0, 0x0F, (16968u << 16) | 0x0F},
      {50, 17000, 3, (17000u << 16) | 3},              // a code is used unchanged
      {999, 17000, 0x12345, (17000u << 16) | 0x2345},  // sp keeps its low 16 bits
      {0, 0xFFFF, -1, 0xFFFFFFFFu},                    // no overflow in the shift
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    BgrFile f;
    ASSERT_EQ(f.OpenWrite("e.bgr"), 1);
    ASSERT_EQ(f.WriteEdge(4, 7, c.width, 1, c.code, c.sp), 1);
    f.Close();
    const std::string expected =
        Bytes().Tag("<bgno>").Edge(4, 7, static_cast<int32_t>(c.word), 1).Tag("<endo>").str();
    EXPECT_EQ(ReadFileBytes("e.bgr"), expected) << c.width << " " << c.code;
  }
}

TEST(BgrFileTest, WriteEdgeRefusesOtherTypes) {
  ScratchDir dir;
  BgrFile f;
  ASSERT_EQ(f.OpenWrite("e.bgr"), 1);
  EXPECT_EQ(f.WriteEdge(0, 1, 50, 2, 0, 0), 0);
  EXPECT_EQ(f.WriteEdge(0, 1, 50, -1, 0, 0), 0);
  EXPECT_EQ(f.WriteEdge(BgrEdge{0, 1, 50, 1, 0, 0}), 1);
  f.Close();
  EXPECT_EQ(ReadFileBytes("e.bgr"),
            Bytes().Tag("<bgno>").Edge(0, 1, 16968 * 65536, 1).Tag("<endo>").str());
}

// Reading an edge and writing it with its code and sp gives the same word.
TEST(BgrFileTest, EdgeCopyKeepsTheWidthWord) {
  ScratchDir dir;
  std::vector<int32_t> words;
  for (int32_t code : {16904, 16968, 17500, 18120, 32767})
    for (int32_t sp : {0, 1, 0xF, 0x8000, 0xFFFF}) words.push_back(code * 65536 + sp);
  Bytes in;
  in.Tag("<bgno>").Origin(0, 0, 0);
  for (int32_t w : words) in.Edge(1, 2, w, 1);
  WriteFileBytes("in.bgr", in.str());

  BgrFile r, w;
  ASSERT_EQ(r.OpenRead("in.bgr"), 1);
  ASSERT_EQ(w.OpenWrite("out.bgr"), 1);
  double a, b, c;
  ASSERT_EQ(r.ReadOrigin(a, b, c), 1);
  w.WriteOrigin(a, b, c);
  BgrEdge e;
  int edges = 0;
  while (r.ReadEdge(e)) {
    EXPECT_EQ(w.WriteEdge(e.from, e.to, e.width, e.type, e.code, e.sp), 1);
    ++edges;
  }
  w.Close();
  EXPECT_EQ(edges, static_cast<int>(words.size()));
  EXPECT_EQ(ReadFileBytes("out.bgr"), in.Tag("<endo>").str());
}

TEST(BgrFileTest, FlowMarksAreDropped) {
  ScratchDir dir;
  const std::string bytes = Bytes()
                                .Tag("<bgno>")
                                .Origin(1, 2, 3)
                                .Tag("<node>")
                                .Tag("<bgno>")
                                .Tag("<vloc>")
                                .Real(1)
                                .Real(2)
                                .Real(3)
                                .Tag("<flow>")
                                .Int(1)
                                .Tag("<flow>")
                                .Int(2)
                                .Tag("<endo>")
                                .Tag("<node>")
                                .Tag("<bgno>")
                                .Tag("<vloc>")
                                .Real(4)
                                .Real(5)
                                .Real(6)
                                .Tag("<flow>")
                                .Int(2)
                                .Tag("<endo>")
                                .Node(7, 8, 9)
                                .Tag("<endo>")
                                .str();
  WriteFileBytes("f.bgr", bytes);
  BgrFile f;
  ASSERT_EQ(f.OpenRead("f.bgr"), 1);
  double a, b, c;
  ASSERT_EQ(f.ReadOrigin(a, b, c), 1);
  const double expected[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  for (const auto& v : expected) {
    double x = 0, y = 0, z = 0;
    ASSERT_EQ(f.ReadNode(x, y, z), 1);
    EXPECT_EQ(x, v[0]);
    EXPECT_EQ(y, v[1]);
    EXPECT_EQ(z, v[2]);
  }
  BgrEdge e;
  EXPECT_EQ(f.ReadEdge(e), 0);
  EXPECT_EQ(f.FindTag("<endo>"), 1);
}

TEST(BgrFileTest, EdgeVariants) {
  struct Case {
    const char* what;
    std::string record;
  } const cases[] = {
      {"nply", Bytes()
                   .Tag("<edge>")
                   .Int(3)
                   .Int(9)
                   .Tag("<bgno>")
                   .Tag("<thck>")
                   .Int(17096 * 65536 + 5)
                   .Tag("<type>")
                   .Int(1)
                   .Tag("<nply>")
                   .Tag("<endo>")
                   .str()},
      {"no optional tags", Bytes().Tag("<edge>").Int(3).Int(9).Int(17096 * 65536 + 5).Int(1).str()},
      {"no bgno", Bytes()
                      .Tag("<edge>")
                      .Int(3)
                      .Int(9)
                      .Tag("<thck>")
                      .Int(17096 * 65536 + 5)
                      .Tag("<type>")
                      .Int(1)
                      .Tag("<endo>")
                      .str()},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    WriteFileBytes("e.bgr", Bytes().Tag("<bgno>").Raw(c.record).Raw(c.record).Tag("<endo>").str());
    BgrFile f;
    ASSERT_EQ(f.OpenRead("e.bgr"), 1);
    for (int i = 0; i < 2; ++i) {
      BgrEdge e;
      ASSERT_EQ(f.ReadEdge(e), 1) << c.what;
      EXPECT_EQ(e.from, 3) << c.what;
      EXPECT_EQ(e.to, 9) << c.what;
      EXPECT_EQ(e.code, 17096) << c.what;
      EXPECT_EQ(e.width, 100) << c.what;
      EXPECT_EQ(e.sp, 5) << c.what;
      EXPECT_EQ(e.type, 1) << c.what;
    }
    BgrEdge none;
    EXPECT_EQ(f.ReadEdge(none), 0) << c.what;
  }
}

TEST(BgrFileTest, NegativeWidthWordDividesTowardZero) {
  ScratchDir dir;
  WriteFileBytes("e.bgr", Bytes().Tag("<bgno>").Edge(0, 1, -65536 * 2 - 5, 0).str());
  BgrFile f;
  ASSERT_EQ(f.OpenRead("e.bgr"), 1);
  BgrEdge e;
  ASSERT_EQ(f.ReadEdge(e), 1);
  EXPECT_EQ(e.code, -2);  // -131077 / 65536 toward zero
  EXPECT_EQ(e.sp, 0xFFFB);
  EXPECT_EQ(e.width, WidthFeetOf(-2));
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
  }  // the destructor closes the file
  EXPECT_EQ(ReadFileBytes("s.bgr"), Bytes().Tag("<bgno>").Node(1.5, -2, 3).Tag("<endo>").str());
}

// Reads a whole file in record order and returns how many vertices and
// edges were read; the caller's values must stay untouched by fields that
// lie past the end.
struct ReadCounts {
  int origins = 0, nodes = 0, edges = 0;
};

ReadCounts ReadAll(BgrFile& f, std::vector<double>& values) {
  ReadCounts n;
  double lat = -7, lon = -7, elev = -7;
  if (f.ReadOrigin(lat, lon, elev)) ++n.origins;
  values = {lat, lon, elev};
  for (;;) {
    double x = -7, y = -7, z = -7;
    if (!f.ReadNode(x, y, z)) break;
    values.insert(values.end(), {x, y, z});
    ++n.nodes;
  }
  for (;;) {
    BgrEdge e{-7, -7, -7, -7, -7, -7};
    if (!f.ReadEdge(e)) break;
    values.insert(values.end(), {double(e.from), double(e.to), double(e.width), double(e.type)});
    ++n.edges;
  }
  return n;
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
    if (len >= edgeEnd) exact = 13;
    ASSERT_GE(values.size(), exact) << len;
    for (size_t i = 0; i < exact; ++i) EXPECT_EQ(values[i], fullValues[i]) << len << " " << i;
    if (len == full.size()) {
      EXPECT_EQ(values, fullValues);
    }
  }
}

// Fields past the end of the file keep the caller's values.
TEST(BgrFileTest, FieldsPastTheEndKeepTheCallersValues) {
  ScratchDir dir;
  const std::string full = ExampleNetworkBytes();
  WriteFileBytes("cut.bgr", full.substr(0, 7 + 7 + 8 + 3));  // inside the longitude
  BgrFile f;
  ASSERT_EQ(f.OpenRead("cut.bgr"), 1);
  double lat = -7, lon = -7, elev = -7;
  EXPECT_EQ(f.ReadOrigin(lat, lon, elev), 1);
  EXPECT_EQ(lat, 184827.0);
  EXPECT_EQ(lon, -7);
  EXPECT_EQ(elev, -7);

  // The edge's width word cut in half: code, sp and width stay as they were.
  const std::string edge = Bytes().Tag("<bgno>").Edge(2, 3, 16968 * 65536 + 1, 1).str();
  WriteFileBytes("e.bgr", edge.substr(0, 7 + 7 + 8 + 14 + 2));
  ASSERT_EQ(f.OpenRead("e.bgr"), 1);
  BgrEdge e{-7, -7, -7, -7, -7, -7};
  EXPECT_EQ(f.ReadEdge(e), 1);
  EXPECT_EQ(e.from, 2);
  EXPECT_EQ(e.to, 3);
  EXPECT_EQ(e.width, -7);
  EXPECT_EQ(e.code, -7);
  EXPECT_EQ(e.sp, -7);
  EXPECT_EQ(e.type, -7);
}

TEST(BgrFileTest, ReadsFromAStreamTheCallerOpened) {
  std::string bytes = ExampleNetworkBytes();
  std::FILE* stream = fmemopen(bytes.data(), bytes.size(), "rb");
  ASSERT_NE(stream, nullptr);
  BgrFile f;
  ASSERT_EQ(f.OpenReadStream(stream), 1);
  std::vector<double> values;
  const ReadCounts n = ReadAll(f, values);
  EXPECT_EQ(n.origins, 1);
  EXPECT_EQ(n.nodes, 2);
  EXPECT_EQ(n.edges, 1);
  EXPECT_EQ(f.Close(), 1);
}

}  // namespace
}  // namespace ostrand
