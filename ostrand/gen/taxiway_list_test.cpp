#include "ostrand/gen/taxiway_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <utility>
#include <vector>

#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/network_fixture.h"

namespace ostrand {
namespace {

using testing::FixtureNetwork;
using testing::ReadBackNetwork;
using testing::ReadFileBytes;
using testing::ReadNetwork;
using testing::ScratchDir;
using testing::WriteFileBytes;

// One edge of the given type between two vertices 10 ft apart.
void AddOneEdge(TaxiwayList& list, int32_t type = 1) {
  list.points.Add(0, 0, 0, -1);
  list.points.Add(10, 0, 0, -1);
  list.edges[0] = {0, 1, 50, type, 0};
  list.edgeCount = 1;
}

using XZ = std::vector<std::pair<int32_t, int32_t>>;

XZ PlanePoints(const TaxiwayList& list) {
  XZ out;
  for (int32_t i = 0; i < list.points.count; ++i) {
    out.emplace_back(list.points[i].x, list.points[i].z);
  }
  return out;
}

using TaxiwayListTest = testing::GenerationTest;

TEST_F(TaxiwayListTest, LoadReadsOriginVerticesAndEdges) {
  FixtureNetwork n;
  n.Vertex(10.9, -20.9);
  n.Vertex(-300.5, 400.2);
  n.Vertex(1e30, -1e300);  // beyond the working range: held at its edge

  n.Vertex(std::nan(""), 2e6);
  n.Add(0, 1, 75, 1, 0x0B);
  n.Add(1, 0, 150, 0, 0);
  n.Write("A.BGR");

  TaxiwayList list;
  EXPECT_EQ(list.Load("A.BGR", 0), 1);
  EXPECT_EQ(list.loaded, 1);
  EXPECT_DOUBLE_EQ(list.originLat, n.lat);
  EXPECT_DOUBLE_EQ(list.originLon, n.lon);
  const int32_t most = kMaxWorkingFeet;  // truncated toward zero
  EXPECT_EQ(PlanePoints(list), (XZ{{10, -20}, {-300, 400}, {most, -most}, {0, 2000000}}));
  EXPECT_EQ(list.keepFile, 1);  // and the file is not replaced
  ASSERT_EQ(list.edgeCount, 2);
  const Edge& e = list.edges[0];
  EXPECT_EQ(std::vector<int32_t>({e.from, e.to, e.type, e.flags}),
            (std::vector<int32_t>{0, 1, 1, 0x0B}));
  EXPECT_EQ(list.edges[1].type, 0);
  EXPECT_EQ(list.edges[1].width, WidthFeetOf(WidthCodeOf(150)));
  EXPECT_EQ(list.plyPath, "A.PLY");
}

TEST_F(TaxiwayListTest, MissingOrUntaggedFileIsNotRead) {
  WriteFileBytes("B.BGR", std::string("<orgn>\0", 7));  // no start tag
  TaxiwayList untagged;
  EXPECT_EQ(untagged.Load("B.BGR", 0), 0);
  EXPECT_EQ(untagged.loaded, 0);
  TaxiwayList list;
  EXPECT_EQ(list.Load("NOPE.BGR", 0), 0);
  EXPECT_EQ(list.points.count, 0);
  EXPECT_EQ(list.edgeCount, 0);
  EXPECT_EQ(list.plyFile, nullptr);
  const std::string log = ReadFileBytes("report.txt");
  EXPECT_NE(log.find("WARNING: TaxiwayList::OpenPly() polygon file 'NOPE.PLY' not open\n"),
            std::string::npos)
      << log;
}

TEST_F(TaxiwayListTest, LoadAppendsAfterVerticesAlreadyHeld) {
  FixtureNetwork n;
  n.Line(0, 0, 100, 0);
  n.Write("C.BGR");
  TaxiwayList list;
  list.points.Add(5, 0, 5, -1);
  ASSERT_EQ(list.Load("C.BGR", 0), 1);
  ASSERT_EQ(list.points.count, 3);
  EXPECT_EQ(list.edges[0].from, 1);
  EXPECT_EQ(list.edges[0].to, 2);
}

TEST_F(TaxiwayListTest, ReadingStopsAtTheTableLimits) {
  FixtureNetwork n;
  for (int i = 0; i < kMaxVertices + 5; ++i) n.Vertex(i, 0);
  for (int i = 0; i < kMaxEdges + 5; ++i) n.Add(i, i + 1);
  n.Write("BIG.BGR");
  TaxiwayList list;
  ASSERT_EQ(list.Load("BIG.BGR", 0), 1);
  EXPECT_EQ(list.points.count, kMaxVertices);
  // The edges behind the surplus vertices are still read.
  EXPECT_EQ(list.edgeCount, kMaxEdges);
  EXPECT_EQ(list.edges[kMaxEdges - 1].from, kMaxEdges - 1);
}

TEST_F(TaxiwayListTest, SaveWritesOnlySoundRunwayAndTaxiwayEdges) {
  TaxiwayList list;
  list.originLat = 1.5;
  list.originLon = -2.5;
  list.points.Add(0, 0, 0, -1);
  list.points.Add(100, 0, 0, -1);
  list.points.Add(100, 0, 0, -1);  // the same point as vertex 1
  list.points.Add(100, 7, 0, -1);  // differs only in height
  const Edge edges[] = {
      {0, 1, 75, 1, 3},      // written
      {1, 0, 10, 0, 0},      // written, width clamped to 25
      {0, 1, 600, 1, 0},     // written, width clamped to 500
      {-1, 1, 50, 1, 0},     // removed
      {1, 2, 50, 1, 0},      // zero length
      {1, 3, 50, 1, 0},      // not zero length: heights differ
      {0, 1, 50, 100, 0},    // connector
      {0, 1, 50, 101, 0},    // stub
      {0, 1, 50, 102, 0},    // centre line only
      {0, 4, 50, 1, 0},      // names a missing vertex
      {-7, 1, 50, 1, 0},     // names a missing vertex
      {2, 99999, 50, 1, 0},  // names a missing vertex
  };
  for (const Edge& e : edges) list.edges[static_cast<size_t>(list.edgeCount++)] = e;

  EXPECT_EQ(list.Save("OUT.BGR"), 1);
  EXPECT_EQ(list.points.count, 0);
  EXPECT_EQ(list.edgeCount, 0);
  EXPECT_FALSE(testing::StagedFileLeft());

  // Byte for byte what the network writer gives for the sound edges.
  {
    BgrFile expected;
    ASSERT_EQ(expected.OpenWrite("EXPECTED.BGR"), 1);
    expected.WriteOrigin(1.5, -2.5, 0.0);
    expected.WriteNode(0, 0, 0);
    expected.WriteNode(100, 0, 0);
    expected.WriteNode(100, 0, 0);
    expected.WriteNode(100, 7, 0);
    expected.WriteEdge(0, 1, 75, 1, 0, 3);
    expected.WriteEdge(1, 0, 10, 0, 0, 0);
    expected.WriteEdge(0, 1, 600, 1, 0, 0);
    expected.WriteEdge(1, 3, 50, 1, 0, 0);
    expected.Close();
  }
  EXPECT_EQ(ReadFileBytes("OUT.BGR"), ReadFileBytes("EXPECTED.BGR"));
  const ReadBackNetwork back = ReadNetwork("OUT.BGR");
  ASSERT_EQ(back.edges.size(), 4u);
  EXPECT_EQ(back.edges[1].code, WidthCodeOf(25));
  EXPECT_EQ(back.edges[2].code, WidthCodeOf(500));
}

TEST_F(TaxiwayListTest, SaveOfOnlyUnwrittenTypesKeepsTheVertices) {
  TaxiwayList list;
  AddOneEdge(list, kStub);
  EXPECT_EQ(list.Save("S.BGR"), 1);
  const ReadBackNetwork back = ReadNetwork("S.BGR");
  EXPECT_EQ(back.vertices.size(), 2u);
  EXPECT_EQ(back.edges.size(), 0u);
}

TEST_F(TaxiwayListTest, SaveSkipsTheNoneNameAndEmptyNetworks) {
  std::filesystem::create_directory("DATA");
  struct Case {
    const char *name, *path;
    int vertices, edges, expected;
  } cases[] = {
      {"DATA\\NONE.BGR", "DATA/NONE.BGR", 2, 1, 0},
      {"DATA\\none.bgr", "DATA/none.bgr", 2, 1, 1},  // compared byte for byte
      {"E.BGR", "E.BGR", 0, 1, 0},
      {"F.BGR", "F.BGR", 2, 0, 0},
  };
  for (const Case& c : cases) {
    TaxiwayList list;
    for (int i = 0; i < c.vertices; ++i) list.points.Add(i, 0, 0, -1);
    list.edges[0] = {0, 1, 50, 1, 0};
    list.edgeCount = c.edges;
    list.lineState = 3;
    EXPECT_EQ(list.Save(c.name), c.expected) << c.name;
    EXPECT_EQ(list.points.count, 0);
    EXPECT_EQ(list.edgeCount, 0);
    EXPECT_EQ(list.lineState, 0);
  }
  for (const Case& c : cases) EXPECT_EQ(std::filesystem::exists(c.path), c.expected == 1) << c.path;
}

TEST_F(TaxiwayListTest, SaveReplacesTheTargetWhole) {
  std::filesystem::create_directory("DATA");
  WriteFileBytes("DATA/xyz.bgr", "old contents that are not a network");
  TaxiwayList list;
  AddOneEdge(list);
  // The backslash name resolves to the existing file whatever its case.
  ASSERT_EQ(list.Save("DATA\\XYZ.BGR"), 1);
  EXPECT_EQ(ReadNetwork("DATA/xyz.bgr").edges.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists("DATA/XYZ.BGR"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("DATA"),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(TaxiwayListTest, FailedSaveIsCounted) {
  TaxiwayList list;
  AddOneEdge(list);
  EXPECT_EQ(list.Save("NOFOLDER/X.BGR"), 0);
  EXPECT_EQ(list.edgeCount, 0);
  EXPECT_EQ(list.saveFailures, 1);
}

TEST_F(TaxiwayListTest, DamagedFilesLoadWithoutHarm) {
  FixtureNetwork n;
  n.Line(0, 0, 100, 0);
  n.Line(5, 5, 300, 300, 75, 0, 9);
  n.Write("W.BGR");
  const std::string whole = ReadFileBytes("W.BGR");
  // Cut at every length.
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    WriteFileBytes("CUT.BGR", whole.substr(0, cut));
    TaxiwayList list;
    list.Load("CUT.BGR", 0);
    EXPECT_LE(list.points.count, 4);
    EXPECT_LE(list.edgeCount, 2);
  }
  // Every byte in turn spoilt.
  for (size_t at = 0; at < whole.size(); ++at) {
    std::string bad = whole;
    bad[at] = static_cast<char>(bad[at] ^ 0xA5);
    WriteFileBytes("BAD.BGR", bad);
    TaxiwayList list;
    list.Load("BAD.BGR", 0);
    EXPECT_LE(list.points.count, 4);
    // Vertex numbers may be anything: Save must not trip over them.
    EXPECT_GE(list.Save("BAD_OUT.BGR"), 0);
  }
}

TEST_F(TaxiwayListTest, DestructorSavesToSavePath) {
  {
    TaxiwayList list;
    list.savePath = "D.BGR";
    AddOneEdge(list);
  }
  EXPECT_EQ(ReadNetwork("D.BGR").edges.size(), 1u);
}

TEST_F(TaxiwayListTest, LoadForWritingCreatesOrAppendsThePolygonFile) {
  FixtureNetwork n;
  n.lat = 12.25;
  n.lon = -3.5;
  n.Line(0, 0, 10, 0);
  n.Write("P.BGR");
  {
    TaxiwayList list;
    ASSERT_EQ(list.Load("P.BGR", 1), 1);
    ASSERT_NE(list.plyFile, nullptr);
    std::fputs("POI 1 2\n", list.plyFile);
    list.ClosePly();
  }
  EXPECT_EQ(ReadFileBytes("P.PLY"), "ORG 12.250000 -3.500000\nPOI 1 2\n");
  {
    TaxiwayList list;
    ASSERT_EQ(list.Load("P.BGR", 1), 1);
    std::fputs("PLY \"x\"\n", list.plyFile);
  }
  EXPECT_EQ(ReadFileBytes("P.PLY"), "ORG 12.250000 -3.500000\nPOI 1 2\nPLY \"x\"\n");
}

}  // namespace
}  // namespace ostrand
