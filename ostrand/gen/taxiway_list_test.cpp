#include "ostrand/gen/taxiway_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <utility>
#include <vector>

#include "ostrand/gen/network_files.h"
#include "ostrand/gen/polygon_file.h"
#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

using namespace testing;

// Two vertices 10 ft apart, and a taxiway between them.
void TwoVertices(TaxiwayList& list) {
  list.points.Add(0, 0, 0, -1), list.points.Add(10, 0, 0, -1);
  list.edges[0] = {0, 1, 50, 1, 0}, list.edgeCount = 1;
}

using TaxiwayListTest = GenerationTest;

TEST_F(TaxiwayListTest, LoadAppendsOriginVerticesAndEdges) {
  FixtureNetwork n;
  n.Vertex(10.9, -20.9), n.Vertex(-300.5, 400.2);
  n.Vertex(1e30, -1e300), n.Vertex(std::nan(""), 2e6);  // 1e30: beyond the range, held at its edge
  n.Add(0, 1, 75, 1, 0x0B), n.Add(1, 0, 150, 0, 0);
  n.Write("A.BGR");

  TaxiwayList list;
  list.points.Add(5, 0, 5, -1);  // held already: the file's vertices follow it
  EXPECT_EQ(list.Load("A.BGR"), 1);
  EXPECT_EQ(std::pair(list.loaded, list.keepFile), std::pair(1, 1));  // the file is not replaced
  EXPECT_EQ(std::pair(list.originLat, list.originLon), std::pair(n.lat, n.lon));
  const int32_t most = kMaxWorkingFeet;  // truncated toward zero
  std::vector<std::pair<int32_t, int32_t>> xz;
  for (int32_t i = 0; i < list.points.count; ++i)
    xz.emplace_back(list.points[i].x, list.points[i].z);
  EXPECT_EQ(xz, (decltype(xz){{5, 5}, {10, -20}, {-300, 400}, {most, -most}, {0, 2000000}}));
  ASSERT_EQ(list.edgeCount, 2);
  const Edge& e = list.edges[0];
  EXPECT_EQ(std::vector<int32_t>({e.from, e.to, e.type, e.flags, list.edges[1].from,
                                  list.edges[1].type, list.edges[1].width}),
            (std::vector<int32_t>{1, 2, 1, 0x0B, 2, 0, WidthFeetOf(WidthCodeOf(150))}));
}

TEST_F(TaxiwayListTest, MissingUntaggedAndCutFilesLoadWithoutHarm) {
  WriteFileBytes("B.BGR", std::string("<orgn>\0", 7));  // no start tag
  TaxiwayList untagged;
  EXPECT_EQ(untagged.Load("B.BGR") + untagged.loaded, 0);
  TaxiwayList list;
  PolygonFile polygons;
  EXPECT_EQ(LoadNetworkFiles(list, polygons, "NOPE.BGR", 0), 0);
  EXPECT_EQ(list.points.count + list.edgeCount + polygons.IsOpen(), 0);
  EXPECT_EQ(Occurrences(ReadFileBytes("report.txt"),
                        "WARNING: TaxiwayList::OpenPly() polygon file 'NOPE.PLY' not open\n"), 1);

  // A record cut short: what was read is kept, and the file is not saved back.
  FixtureNetwork n;
  n.Line(0, 0, 100, 0), n.Line(5, 5, 300, 300, 75, 0, 9);
  n.Write("W.BGR");
  std::string cut = ReadFileBytes("W.BGR");
  cut.resize(cut.size() - 16);  // into the last edge's type
  WriteFileBytes("W.BGR", cut);
  TaxiwayList part;
  ASSERT_EQ(part.Load("W.BGR"), 1);
  EXPECT_EQ(std::vector({part.points.count, part.keepFile, part.Save("W.BGR")}),
            std::vector({4, 1, 0}));
  EXPECT_TRUE(ReadFileBytes("W.BGR") == cut);
  EXPECT_EQ(Occurrences(ReadFileBytes("report.txt"), "has a damaged record"), 1);
}

TEST_F(TaxiwayListTest, SaveWritesOnlySoundRunwayAndTaxiwayEdges) {
  TaxiwayList list;
  list.originLat = 1.5, list.originLon = -2.5;
  for (const auto& p : std::vector<std::pair<int, int>>{{0, 0}, {100, 0}, {100, 0}, {100, 7}})
    list.points.Add(p.first, p.second, 0, -1);
  // Written (widths clamped to 25 and 500); removed; of zero length, and
  // not (heights differ); connector, stub, centre line only; naming
  // missing vertices.
  const Edge edges[] = {{0, 1, 75, 1, 3},   {1, 0, 10, 0, 0},   {0, 1, 600, 1, 0},
                        {-1, 1, 50, 1, 0},  {1, 2, 50, 1, 0},   {1, 3, 50, 1, 0},
                        {0, 1, 50, 100, 0}, {0, 1, 50, 101, 0}, {0, 1, 50, 102, 0},
                        {0, 4, 50, 1, 0},   {-7, 1, 50, 1, 0},  {2, 99999, 50, 1, 0}};
  for (const Edge& e : edges) list.edges[static_cast<size_t>(list.edgeCount++)] = e;
  EXPECT_EQ(list.Save("OUT.BGR"), 1);
  EXPECT_EQ(list.points.count + list.edgeCount, 0);
  EXPECT_FALSE(StagedFileLeft());

  // The sound edges, as listed.
  ExpectMatchesFile(Output({"-ls", "OUT.BGR"}), "taxiway_list_save.txt");
}

TEST_F(TaxiwayListTest, SaveSkipsTheNoneNameEmptyNetworksAndFailures) {
  std::filesystem::create_directory("DATA");
  const struct {
    const char *name, *path;
    int vertices, edges, type, expected, failures;
  } cases[] = {
      {"DATA\\NONE.BGR", "DATA/NONE.BGR", 2, 1, 1, 0, 0},
      {"DATA\\none.bgr", "DATA/none.bgr", 2, 1, 1, 1, 0},  // compared byte for byte
      {"E.BGR", "E.BGR", 0, 1, 1, 0, 0}, {"F.BGR", "F.BGR", 2, 0, 1, 0, 0},
      {"S.BGR", "S.BGR", 2, 1, kStub, 1, 0},  // no edge written, the vertices are
      {"NOFOLDER/X.BGR", "NOFOLDER/X.BGR", 2, 1, 1, 0, 1}};
  for (const auto& c : cases) {
    TaxiwayList list;
    for (int i = 0; i < c.vertices; ++i) list.points.Add(i, 0, 0, -1);
    list.edges[0] = {0, 1, 50, c.type, 0}, list.edgeCount = c.edges;
    EXPECT_EQ(list.Save(c.name), c.expected) << c.name;
    EXPECT_EQ(std::vector({list.points.count, list.edgeCount, list.saveFailures}),
              std::vector({0, 0, c.failures})) << c.name;
  }
  for (const auto& c : cases) EXPECT_EQ(std::filesystem::exists(c.path), c.expected == 1) << c.path;
  EXPECT_EQ(std::pair(Tags("S.BGR", "<node>"), Tags("S.BGR", "<edge>")), std::pair(2, 0));

  // The backslash name resolves to the existing file whatever its case,
  // which is replaced whole.
  WriteFileBytes("DATA/xyz.bgr", "old contents that are not a network");
  TaxiwayList list;
  TwoVertices(list);
  ASSERT_EQ(list.Save("DATA\\XYZ.BGR"), 1);
  EXPECT_EQ(Tags("DATA/xyz.bgr", "<edge>"), 1);
  EXPECT_FALSE(std::filesystem::exists("DATA/XYZ.BGR") || StagedFileLeft("DATA"));
}

TEST_F(TaxiwayListTest, LoadForWritingCreatesOrAppendsThePolygonFile) {
  FixtureNetwork n;
  n.lat = 12.25, n.lon = -3.5;
  n.Line(0, 0, 10, 0);
  n.Write("P.BGR");
  // The third is dropped with its stream; the fourth appends to a file
  // whose last block of 4096 bytes is one byte.
  const std::string big = std::string(4096, '#') + "\n";
  for (int pass = 0; pass < 4; ++pass) {
    if (pass == 3) {
      EXPECT_EQ(ReadFileBytes("P.PLY"), "ORG 12.250000 -3.500000\nPOI 1 2\nPLY \"x\"\n");
      WriteFileBytes("P.PLY", big);
    }
    TaxiwayList list;
    PolygonFile polygons;
    ASSERT_EQ(LoadNetworkFiles(list, polygons, "P.BGR", 1), 1);
    pass == 0 ? polygons.WritePoint(1, 2) : polygons.WritePolygonEnd("x");
    EXPECT_EQ(pass != 2 ? polygons.Commit() : 1, 1);
  }
  EXPECT_EQ(ReadFileBytes("P.PLY"), big + "PLY \"x\"\n");
}

}  // namespace
}  // namespace ostrand
