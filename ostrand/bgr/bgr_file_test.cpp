#include "ostrand/bgr/bgr_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <memory>
#include <vector>

#include "ostrand/bgr/test_bytes.h"
#include "ostrand/frame/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

struct Point { int32_t x, y, z; };

// Reads a whole file in record order: lat lon elev, then x y z per vertex,
// then from to width type code sp per edge. Fields never read keep -7.
std::vector<double> ReadAll(BgrFile& f) {
  double lat = -7, lon = -7, elev = -7;
  f.ReadOrigin(lat, lon, elev);
  std::vector<double> v = {lat, lon, elev};
  for (double x = -7, y = -7, z = -7; f.ReadNode(x, y, z); x = y = z = -7) {
    v.insert(v.end(), {x, y, z});
  }
  for (BgrEdge e{-7, -7, -7, -7, -7, -7}; f.ReadEdge(e); e = {-7, -7, -7, -7, -7, -7}) {
    for (int32_t field : {e.from, e.to, e.width, e.type, e.code, e.sp}) v.push_back(field);
  }
  return v;
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
  const std::vector<double> expected = {184827, 3600, 0,  0, 0, 0,     2560, 0,
                                        5120,   0,    1, 50, 0, 16968, 0};
  // The stream starts past bytes of its own: positions stay the stream's.
  std::string prefixed = "abc" + bytes;
  for (bool stream : {false, true}) {
    BgrFile f;
    std::FILE* in = stream ? fmemopen(prefixed.data(), prefixed.size(), "rb") : nullptr;
    if (stream) std::fseek(in, 3, SEEK_SET);
    ASSERT_EQ(stream ? f.OpenReadStream(in) : f.OpenRead("ex.bgr"), 1);
    EXPECT_EQ(f.Tell(), (stream ? 3 : 0) + 7);
    EXPECT_EQ(ReadAll(f), expected) << stream;
    EXPECT_EQ(f.FindTag("<endo>"), 1);  // the file end is all that is left
    EXPECT_EQ(f.Length(), f.Tell());
    EXPECT_EQ(f.Seek(f.Tell() + 1) + f.Seek(-1), 0);  // outside the file: the position stays
    EXPECT_EQ(f.Seek(f.Tell() - 7), 1);              // reading goes on where it was moved
    EXPECT_EQ(f.FindTag("<endo>"), 1);
    EXPECT_EQ(f.Close(), 1);
  }
}

TEST(BgrFileTest, WidthCodes) {
  const int32_t codes[][2] = {{10, 16904},  {25, 16904},  {50, 16968}, {75, 17032}, {100, 17096},
                              {500, 18120}, {600, 18120}, {-5, 16904}, {INT32_MIN, 16904},
                              {INT32_MAX, 18120}};
  for (const auto& c : codes) EXPECT_EQ(WidthCodeOf(c[0]), c[1]) << c[0];
  // Rounded up above the base (16993 is 153.6 written as 153: 60 feet),
  // toward zero below it; no overflow at the ends of the range.
  const int32_t feet[][2] = {{16904, 25}, {16968, 50}, {18120, 500},           {16993, 60},
                             {16840, 0},  {16841, 1},  {16839, 0},             {0, -6578},
                             {INT32_MIN, -838867378},  {INT32_MAX, 838854222}};
  for (const auto& f : feet) EXPECT_EQ(WidthFeetOf(f[0]), f[1]) << f[0];
  // Every width in range survives code and back, so saves never narrow edges.
  for (int32_t w = 25; w <= 500; ++w) EXPECT_EQ(WidthFeetOf(WidthCodeOf(w)), w) << w;
}

// The bytes of each written edge and what reading them back gives. A code
// of 0 comes from the width; sp keeps its low 16 bits; the word is split
// toward zero; types other than 0 and 1 write nothing.
TEST(BgrFileTest, EdgesWrittenAndReadBack) {
  struct Row { int32_t width, code, sp, type; uint32_t word; int32_t readCode, readSp; };
  const Row rows[] = {
      {10, 0, 0, 1, 16904u << 16, 16904, 0},  {600, 0, 0, 1, 18120u << 16, 18120, 0},
      {50, 0, 0x0F, 0, (16968u << 16) | 0x0F, 16968, 0x0F},
      {999, 17000, 0x12345, 1, (17000u << 16) | 0x2345, 17000, 0x2345},
      {0, 32767, 0x8000, 1, 0x7FFF8000u, 32767, 0x8000}, {0, 0xFFFF, -1, 1, 0xFFFFFFFFu, 0, 0xFFFF},
      {50, 0, 0, 2, 0, 0, 0},                 {50, 0, 0, -1, 0, 0, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.word);
    ScratchDir dir;
    BgrFile f;
    ASSERT_EQ(f.OpenWrite("e.bgr"), 1);
    const bool written = r.type == 0 || r.type == 1;
    ASSERT_EQ(f.WriteEdge(BgrEdge{4, 7, r.width, r.type, r.code, r.sp}), written ? 1 : 0);
    f.Close();
    const int32_t word = static_cast<int32_t>(r.word);
    const std::string edge = written ? Bytes().Edge(4, 7, word, r.type).str() : "";
    EXPECT_EQ(ReadFileBytes("e.bgr"), Bytes().Tag("<bgno>").Raw(edge).Tag("<endo>").str());
    ASSERT_EQ(f.OpenRead("e.bgr"), 1);
    std::vector<double> back = {-7, -7, -7};
    const double width = WidthFeetOf(r.readCode);
    if (written) back = {-7, -7, -7, 4, 7, width, 1.0 * r.type, 1.0 * r.readCode, 1.0 * r.readSp};
    EXPECT_EQ(ReadAll(f), back);
  }
}

// Optional tags of an edge, flow marks of a vertex, a negative width word
// (-131077 / 65536 is -2): each record twice, read in full.
TEST(BgrFileTest, RecordVariantsRead) {
  const auto edge = [] { return Bytes().Tag("<edge>").Int(3).Int(9); };
  const std::string thck = Bytes().Tag("<thck>").Int(17096 * 65536 + 5).Tag("<type>").Int(1).str();
  const std::vector<double> e100 = {3, 9, 100, 1, 17096, 5};
  struct Row { const char* name; std::string record; std::vector<double> values; };
  const Row rows[] = {
      {"nply", edge().Tag("<bgno>").Raw(thck).Tag("<nply>").Tag("<endo>").str(), e100},
      {"no optional tags", edge().Int(17096 * 65536 + 5).Int(1).str(), e100},
      {"no bgno", edge().Raw(thck).Tag("<endo>").str(), e100},
      {"negative word", Bytes().Edge(3, 9, -65536 * 2 - 5, 1).str(),
       {3, 9, double(WidthFeetOf(-2)), 1, -2, 0xFFFB}},
      {"flow marks", Bytes().Node(1, 2, 3, {1, 2}).Node(4, 5, 6, {2}).Node(7, 8, 9).str(),
       {1, 2, 3, 4, 5, 6, 7, 8, 9}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ScratchDir dir;
    WriteFileBytes("r.bgr", Bytes().Tag("<bgno>").Raw(r.record).Raw(r.record).Tag("<endo>").str());
    BgrFile f;
    ASSERT_EQ(f.OpenRead("r.bgr"), 1);
    std::vector<double> expected = {-7, -7, -7};
    for (int i = 0; i < 2; ++i) expected.insert(expected.end(), r.values.begin(), r.values.end());
    EXPECT_EQ(ReadAll(f), expected);
  }
}

// Close puts a written file in place once; a file whose writes failed (a
// full device) closes with 0; one never closed is never put in place. A
// missing file is not opened.
TEST(BgrFileTest, Close) {
  ScratchDir dir;
  BgrFile w;
  ASSERT_EQ(w.OpenWrite("w.bgr"), 1);
  EXPECT_EQ(w.Close() + w.Close(), 2);
  EXPECT_EQ(ReadFileBytes("w.bgr"), Bytes().Tag("<bgno>").Tag("<endo>").str());
  ASSERT_EQ(std::make_unique<BgrFile>()->OpenWrite("s.bgr"), 1);  // destroyed unclosed
  EXPECT_FALSE(std::filesystem::exists("s.bgr"));
  EXPECT_EQ(w.FindTag("<bgno>") + w.WriteTag("<bgno>"), 0);  // nothing open
  EXPECT_EQ(w.OpenRead("missing.bgr"), 0);
  EXPECT_EQ(w.IsOpen(), 0);
  if (!std::filesystem::exists("/dev/full")) return;
  ASSERT_EQ(w.OpenWrite("/dev/full"), 1);
  w.WriteOrigin(1.0, 2.0, 0.0);
  EXPECT_EQ(w.Close(), 0);
  EXPECT_EQ(w.IsOpen(), 0);
}

// A cut file reads the records wholly inside the cut exactly as the whole
// file, an origin as far as its fields go (the rest keep the caller's
// values), and no vertex or edge made up from a cut record, which marks the
// file damaged.
TEST(BgrFileTest, TruncatedAtEveryLength) {
  ScratchDir dir;
  const std::string full = ExampleNetworkBytes();
  WriteFileBytes("full.bgr", full);
  BgrFile whole;
  ASSERT_EQ(whole.OpenRead("full.bgr"), 1);
  const std::vector<double> fullValues = ReadAll(whole);
  // Where the origin and the last field of each vertex and of the edge
  // end, and how many values are read by then.
  const std::pair<size_t, size_t> ends[] = {{42, 3}, {87, 6}, {139, 9}, {190, 15}};
  for (size_t len = 0; len <= full.size(); ++len) {
    WriteFileBytes("cut.bgr", full.substr(0, len));
    BgrFile f;
    ASSERT_EQ(f.OpenRead("cut.bgr"), len >= 7 ? 1 : 0) << len;
    if (len < 7) continue;
    size_t exact = 0;
    for (const auto& e : ends) exact = len >= e.first ? e.second : exact;
    std::vector<double> expected(fullValues.begin(), fullValues.begin() + exact);
    for (size_t i = 0; len < 42 && i < 3; ++i) {
      expected.push_back(len >= 22 + 8 * i ? fullValues[i] : -7);
    }
    // Cut inside the optional "<type>" tag, the edge is read positionally
    // with the tag's first four bytes as its type.
    const bool typeCut = len >= 183 && len < 186;
    if (typeCut) expected = fullValues, expected[12] = 0x7079743C;
    EXPECT_EQ(ReadAll(f), expected) << len;
    const bool cutRecord = (len >= 49 && len < 87) || (len >= 101 && len < 139) ||
                           (len >= 153 && len < 190 && !typeCut);
    EXPECT_EQ(f.Damaged(), cutRecord ? 1 : 0) << len;
  }
}

}  // namespace
}  // namespace ostrand
