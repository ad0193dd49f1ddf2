#include "ostrand/gen/polygon_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/network_fixture.h"
#include "ostrand/gen/taxiway_list.h"
#include "ostrand/surface/texture.h"

namespace ostrand {
namespace {

using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

using Outline = std::vector<std::pair<int32_t, int32_t>>;

class PolygonFileTest : public testing::GenerationTest {
 protected:
  void SetUp() override {
    GenerationTest::SetUp();
    ResetReportOnce();
  }
  void Open(const std::string& text) {
    WriteFileBytes("T.PLY", text);
    list.plyPath = "T.PLY";
    ASSERT_EQ(list.OpenPly("r"), 1);
  }
  // Every polygon ReadPly yields, as (x, z) lists; the table is emptied
  // before each, as the apron stage does.
  std::vector<Outline> Polygons(int shiftMode) {
    std::vector<Outline> out;
    TEXPOINTS table;
    TEXTURE polygon;
    for (int guard = 0; guard < 100; ++guard) {
      table.count = 0;
      if (!list.ReadPly(table, polygon, shiftMode)) break;
      Outline o;
      for (int32_t i = 0; i < polygon.vertexCount(); ++i) {
        const IntPoint& p = table[polygon.vertices[static_cast<size_t>(i)].point];
        o.emplace_back(p.x, p.z);
      }
      out.push_back(o);
    }
    return out;
  }
  TaxiwayList list;
};

TEST_F(PolygonFileTest, ReadsPolygons) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<Outline> expected;
  } cases[] = {
      {"triangle", "ORG 1.0 2.0\nPOI 0 0\nPOI 100 0\nPOI 100 100\nPLY \"a\"\n",
       {{{0, 0}, {100, 0}, {100, 100}}}},
      {"crlf", "POI 0 0\r\nPOI 100 0\r\nPOI 100 100\r\nPLY \"a\"\r\n",
       {{{0, 0}, {100, 0}, {100, 100}}}},
      {"two", "POI 1 1\nPLY \"a\"\nPOI 2 2\nPOI 3 3\nPLY \"b\"\n", {{{1, 1}}, {{2, 2}, {3, 3}}}},
      {"no end line", "POI 1 1\nPLY \"a\"\nPOI 2 2\n", {{{1, 1}}}},
      {"stop line", "POI 1 1\nPLY \"a\"\nPOI 2 2\nEXIT\nPOI 3 3\nPLY \"b\"\n", {{{1, 1}}}},
      {"lights and junk skipped", "LGT 1 2 3 4 5 6\nPOI 5 6\nfoo\n\nPOI 7 8\nPLY \"x\"\n",
       {{{5, 6}, {7, 8}}}},
      {"PLY needs its blank", "POI 5 6\nPLYX\nply \"a\"\nPOI 7 8\nPLY \"x\"\n", {{{5, 6}, {7, 8}}}},
      {"no blank needed after POI", "POI5 6\nPOI  -7   -8\nPLY \"x\"\n", {{{5, 6}, {-7, -8}}}},
      {"one value is not a vertex", "POI 5\nPOI 1 2\nPLY \"x\"\n", {{{1, 2}}}},
      {"garbage numbers clamp", "POI 99999999999999999999999 -99999999999\nPLY \"x\"\n",
       {{{kMaxCoordinateFeet, -kMaxCoordinateFeet}}}},
      {"end line without newline", "POI 1 2\nPLY \"x\"", {{{1, 2}}}},
      {"empty", "", {}},
      // 254 characters are read; the rest of the line is read as the next line.
      {"overlong line", "POI 1 2" + std::string(247, ' ') + "POI 3 4\nPLY \"a\"\n",
       {{{1, 2}, {3, 4}}}},
      // A repeated vertex is shifted a unit, first in x ...
      {"repeated vertex", "POI 0 0\nPOI 10 0\nPOI 10 10\nPOI 0 0\nPLY \"a\"\n",
       {{{0, 0}, {10, 0}, {10, 10}, {1, 0}}}},
      // ... then in z, alternately, until it finds a free place.
      {"shifts alternate", "POI 0 0\nPOI 1 0\nPOI 1 1\nPOI 0 0\nPLY \"a\"\n",
       {{{0, 0}, {1, 0}, {1, 1}, {2, 1}}}},
  };
  for (const Case& c : cases) {
    Open(c.text);
    EXPECT_EQ(Polygons(-1), c.expected) << c.name;
    list.ClosePly();
  }
  // The shifting is logged once for each of the two files that needed it.
  const std::string log = ReadFileBytes("report.txt");
  const std::string warning = "WARNING:TaxiwayList::ReadPly() shifting points\n";
  EXPECT_EQ(testing::Occurrences(log, warning), 2) << log;
}

TEST_F(PolygonFileTest, WithoutShiftingARepeatedVertexReusesItsPoint) {
  Open("POI 0 0\nPOI 10 0\nPOI 0 0\nPLY \"a\"\n");
  TEXPOINTS table;
  TEXTURE polygon;
  ASSERT_EQ(list.ReadPly(table, polygon, 0), 1);
  EXPECT_EQ(polygon.vertexCount(), 3);
  EXPECT_EQ(table.count, 2);
  EXPECT_EQ(polygon.vertices[2].point, 0);
}

TEST_F(PolygonFileTest, LongPolygonIsCutInto255VertexPieces) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "POI " + std::to_string(i) + " 0\n";
  text += "PLY \"long\"\n";
  Open(text);
  const auto polygons = Polygons(-1);
  ASSERT_EQ(polygons.size(), 2u);
  EXPECT_EQ(polygons[0].size(), 255u);
  EXPECT_EQ(polygons[1].size(), 45u);
  EXPECT_EQ(polygons[1].front().first, 255);
  // Reported once, as an error.
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_NE(log.find("ERROR: TaxiwayList::ReadPly - too many points 0 0\n"), std::string::npos);
}

TEST_F(PolygonFileTest, ReadsLights) {
  Open(
      "ORG 1 2\nPOI 1 1\nLGT 1 10 20\nLGT 2 1 2 3\nPLY \"a\"\nLGT 3 -1 -2 -3 -4 7\n"
      "LGT 4 1 2 3 4 5 6 7\nEXI\nLGT 5 1 1\n");
  struct Light {
    int32_t type, x1, z1, x2, z2, count;
    bool operator==(const Light&) const = default;
  };
  std::vector<Light> got;
  Light l{};
  while (list.ReadLgt(l.type, l.x1, l.z1, l.x2, l.z2, l.count)) got.push_back(l);
  const std::vector<Light> expected = {
      {1, 10, 20, 10, 20, 1}, {3, -1, -2, -3, -4, 7}, {4, 1, 2, 3, 4, 5}};
  EXPECT_TRUE(got == expected) << got.size();
  // Rewinding starts the file again.
  ASSERT_EQ(list.Rewind(), 1);
  ASSERT_EQ(list.ReadLgt(l.type, l.x1, l.z1, l.x2, l.z2, l.count), 1);
  EXPECT_EQ(l.type, 1);
}

TEST_F(PolygonFileTest, NoFileReadsNothing) {
  TEXPOINTS table;
  TEXTURE polygon;
  int32_t a, b, c, d, e, f;
  EXPECT_EQ(list.Rewind(), 0);
  EXPECT_EQ(list.ReadPly(table, polygon, -1), 0);
  EXPECT_EQ(list.ReadLgt(a, b, c, d, e, f), 0);
  list.plyPath = "MISSING.PLY";
  EXPECT_EQ(list.OpenPly("r"), 0);
}

}  // namespace
}  // namespace ostrand
