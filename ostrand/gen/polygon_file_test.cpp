#include "ostrand/gen/polygon_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

using Outline = std::vector<std::pair<int32_t, int32_t>>;

class PolygonFileTest : public GenerationTest {
 protected:
  void SetUp() override { GenerationTest::SetUp(), ResetReportOnce(); }
  void Open(const std::string& text) {
    WriteFileBytes("T.PLY", text);
    ASSERT_EQ(ply.OpenForReading("T.PLY"), 1);
  }
  // Every polygon ReadPly yields, as (x, z) lists; the table is emptied
  // before each, as the apron stage does.
  std::vector<Outline> Polygons(int shiftMode) {
    std::vector<Outline> out;
    TEXPOINTS table;
    TEXTURE polygon;
    for (int guard = 0; guard < 100; ++guard) {
      table.count = 0;
      if (!ply.ReadPly(table, polygon, shiftMode)) break;
      Outline o;
      for (int32_t i = 0; i < polygon.vertexCount(); ++i) {
        const IntPoint& p = table[polygon.vertices[static_cast<size_t>(i)].point];
        o.emplace_back(p.x, p.z);
      }
      out.push_back(o);
    }
    return out;
  }
  PolygonFile ply;
};

// The polygons read from small files, against the expected text: line
// ends, lines that are skipped or end the file, clamped numbers, overlong
// lines (254 characters are read, the rest is the next line), a repeated
// vertex shifted a unit, first in x, then in z, alternately, until it finds
// a free place (without shifting it reuses its point), a long polygon
// cut into pieces of 255 vertices, and a NUL byte, which ends the text of
// its line.
TEST_F(PolygonFileTest, ReadsPolygons) {
  std::string longPolygon;
  for (int i = 0; i < 300; ++i) longPolygon += "POI " + std::to_string(i) + " 0\n";
  const std::pair<int, std::string> cases[] = {
      {-1, "ORG 1.0 2.0\nPOI 0 0\nPOI 100 0\nPOI 100 100\nPLY \"a\"\n"},
      {-1, "POI 0 0\r\nPOI 100 0\r\nPLY \"a\"\r\n"},
      {-1, "POI 1 1\nPLY \"a\"\nPOI 2 2\nPOI 3 3\nPLY \"b\"\n"},
      {-1, "POI 1 1\nPLY \"a\"\nPOI 2 2\n"},
      {-1, "POI 1 1\nPLY \"a\"\nPOI 2 2\nEXIT\nPOI 3 3\nPLY \"b\"\n"},
      {-1, "LGT 1 2 3 4 5 6\nPOI 5 6\nfoo\n\nPOI 7 8\nPLY \"x\"\n"},
      {-1, "POI 5 6\nPLYX\nply \"a\"\nPOI 7 8\nPLY \"x\"\n"},
      {-1, "POI5 6\nPOI  -7   -8\nPLY \"x\"\n"}, {-1, "POI 5\nPOI 1 2\nPLY \"x\"\n"},
      {-1, "POI 99999999999999999999999 -99999999999\nPLY \"x\"\n"}, {-1, "POI 1 2\nPLY \"x\""},
      {-1, ""}, {-1, "POI 1 2" + std::string(247, ' ') + "POI 3 4\nPLY \"a\"\n"},
      {-1, "POI 0 0\nPOI 10 0\nPOI 10 10\nPOI 0 0\nPLY \"a\"\n"},
      {-1, "POI 0 0\nPOI 1 0\nPOI 1 1\nPOI 0 0\nPLY \"a\"\n"},
      {0, "POI 0 0\nPOI 10 0\nPOI 0 0\nPLY \"a\"\n"}, {-1, longPolygon + "PLY \"long\"\n"},
      {-1, "ORG 1 2\nPOI 1 1\nLGT 1 10 20\nLGT 2 1 2 3\nPLY \"a\"\nLGT 3 -1 -2 -3 -4 7\n"
           "LGT 4 1 2 3 4 5 6 7\nEXI\nLGT 5 1 1\n"},
      {-1, std::string("POI 1 2\0POI 9 9\nPOI 3 4\nLGT 1 2 3\0\nPLY \"a\"\n", 43)},
  };
  std::string text;
  for (const auto& [shiftMode, file] : cases) {
    Open(file);
    std::string head = "==";  // the start of the file, its line ends as '|'
    for (char c : file.substr(0, 60)) head += c == '\n' ? '|' : c == '\r' ? '^' : c ? c : '@';
    text += head + "\n";
    const std::vector<Outline> polygons = Polygons(shiftMode);
    for (const Outline& o : polygons) {
      for (const auto& p : o)
        text += " " + std::to_string(p.first) + " " + std::to_string(p.second);
      text += "\n";
    }
    // Then, from the start again, the light strings: L and their six numbers.
    ASSERT_EQ(ply.Rewind(), 1);
    for (int32_t l[6]; ply.ReadLgt(l[0], l[1], l[2], l[3], l[4], l[5]);) {
      text += "L";
      for (int32_t v : l) text += " " + std::to_string(v);
      text += "\n";
    }
    // And the polygons once more, as the aprons read them a second time.
    ASSERT_EQ(ply.Rewind(), 1);
    EXPECT_EQ(Polygons(shiftMode), polygons) << head;
    ply.Discard();
  }
  ExpectMatchesFile(text, "polygon_file.txt");
  // A file opened for writing has nothing to read, not even the lines of the
  // file read before.
  Open("POI 1 2\nPLY \"a\"\n");
  ASSERT_EQ(ply.OpenForWriting("T.PLY", 0.0, 0.0), 1);
  EXPECT_TRUE(Polygons(-1).empty());
  // The shifting is logged at each of the two reads of the two files that
  // needed it; the long polygon once, as an error.
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_EQ(Occurrences(log, "WARNING:TaxiwayList::ReadPly() shifting points\n"), 4) << log;
  EXPECT_EQ(Occurrences(log, "ERROR: TaxiwayList::ReadPly - too many points 0 0\n"), 1) << log;
}

}  // namespace
}  // namespace ostrand
