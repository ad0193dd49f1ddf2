#include "ostrand/text/text_interpreter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/taxiway_list.h"
#include "ostrand/text/airport_database.h"
#include "ostrand/text/airport_db_builder.h"
#include "ostrand/text/geo_tile.h"
#include "ostrand/text/string_list.h"

namespace ostrand {
namespace {

using testing::FileExistsOnDisk;
using testing::ReadFileBytes;
using testing::ScratchDir;
using testing::WriteFileBytes;

// Airports of the test database (seconds of arc).
constexpr double kTestLat = 180000;  // TEST: 50 N 10 E
constexpr double kTestLon = 36000;
constexpr double kNearLat = 180000 + 197.5;  // NEAR: about 20000 ft north of TEST

struct Network {
  bool ok = false;
  double lat = 0;
  double lon = 0;
  std::vector<IntPoint> nodes;
  std::vector<BgrEdge> edges;
};

Network ReadNetwork(const std::string& path) {
  Network n;
  BgrFile f;
  if (!f.OpenRead(path)) return n;
  double elevation = 0;
  n.ok = f.ReadOrigin(n.lat, n.lon, elevation) == 1;
  double x, y, z;
  while (f.ReadNode(x, y, z)) n.nodes.push_back({static_cast<int32_t>(x), static_cast<int32_t>(y),
                                                  static_cast<int32_t>(z)});
  BgrEdge e;
  while (f.ReadEdge(e)) n.edges.push_back(e);
  return n;
}

// "from>to:width:type" for each edge, with the end points' x,z.
std::string Describe(const Network& n) {
  std::ostringstream out;
  for (const BgrEdge& e : n.edges) {
    const IntPoint& a = n.nodes.at(static_cast<size_t>(e.from));
    const IntPoint& b = n.nodes.at(static_cast<size_t>(e.to));
    out << "(" << a.x << "," << a.z << ")>(" << b.x << "," << b.z << "):" << e.width << ":" << e.type << " ";
  }
  return out.str();
}

class TextInterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetOptions();
    std::filesystem::create_directories("DATABASE");
    const std::vector<AirportEntry> airports = {
        {"TEST", kTestLat, kTestLon},
        {"KABC", kTestLat, 43200},  // 50 N 12 E
        {"NEAR", kNearLat, kTestLon},
        {"WEST", 144000, -300000},  // 40 N 83 20' W
    };
    const std::vector<uint8_t> image = DatabaseImage(airports);
    WriteFileBytes("DATABASE/AIRPORT.DBD", std::string(image.begin(), image.end()));
    WriteFileBytes("DATABASE/AIRPORT.dbt", FieldListText());
    ResetAirportDatabase();
  }
  void TearDown() override {
    ResetOptions();
    ResetAirportDatabase();
    LoadExclusionList("no-such-list.txt");
  }

  int Run(const std::string& text, const std::string& exclusions = "") {
    WriteFileBytes("scenery.txt", text);
    if (!exclusions.empty()) WriteFileBytes("excllist.txt", exclusions);
    return InterpretText("scenery.txt");
  }

  ScratchDir dir_;
};

TEST_F(TextInterpreterTest, PolylineMergeAndWidening) {
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\n"
                "MOV 0 0 0 0 0\n"
                "LIN 500 0 0 50 1\n"
                "LIN 500 0 500 50 1\n"
                "LIN 502 0 503 50 1\n"  // within 5 ft: no edge
                "MOV 0 0 0 0 0\n"
                "LIN 500 0 0 100 1\n"   // the same edge again: wider
                "LIN 0 0 0 25 1\n"),    // the other direction: a new edge
            1);
  EXPECT_TRUE(std::filesystem::is_directory("DATA"));
  const Network n = ReadNetwork("DATA/TEST.BGR");
  ASSERT_TRUE(n.ok);
  EXPECT_EQ(n.lat, kTestLat);
  EXPECT_EQ(n.lon, kTestLon);
  EXPECT_EQ(n.nodes.size(), 3u);
  EXPECT_EQ(Describe(n), "(0,0)>(500,0):100:1 (500,0)>(500,500):50:1 (500,0)>(0,0):25:1 ");
  EXPECT_EQ(ReadFileBytes("DATA/TEST.PLY"), "ORG 180000.000000 36000.000000\n");
}

TEST_F(TextInterpreterTest, OffsetsFromTheReferencePoint) {
  // 10 seconds north and east of the airport: 1012.78 ft north, 652.12 ft
  // east (cos 50 degrees), truncated.
  ASSERT_EQ(Run("REF N50:0:10 E10:0:10\nMOV 0 0 0 0 0\nLIN -100 7 -100.9 50 1\n"), 1);
  const Network n = ReadNetwork("DATA/TEST.BGR");
  ASSERT_EQ(n.nodes.size(), 2u);
  EXPECT_EQ(n.nodes[0].x, 652);
  EXPECT_EQ(n.nodes[0].z, 1012);
  EXPECT_EQ(n.nodes[1].x, 552);
  EXPECT_EQ(n.nodes[1].y, 7);
  EXPECT_EQ(n.nodes[1].z, 911);
}

TEST_F(TextInterpreterTest, PolygonFileLines) {
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\n"
                "PLY \"nothing\"\n"  // no POI before it
                "POI 0 0 0\n"
                "POI 100.7 5 -0.9\n"
                "POI 100 0 100\n"
                "PLY \"apron one\"\n"
                "PLY again\n"
                "LGT 3 10 0 20 110 0 120 5\n"
                "LGT 1 10 0 20 0 0 0 1\n"
                "LGT 1 10.5 9 20.5\n"
                "LGT 2 1 1 1 1 1 1 0\n"
                "EXI\n"
                "POI 1 1 1\n"),
            1);
  EXPECT_EQ(ReadFileBytes("DATA/TEST.PLY"),
            "ORG 180000.000000 36000.000000\n"
            "POI 0 0\nPOI 100 0\nPOI 100 100\nPLY \"apron one\"\n"
            "LGT 3 10 20 110 120 5\nLGT 1 10 20\nLGT 1 10 20\n");
  EXPECT_FALSE(FileExistsOnDisk("DATA/TEST.BGR"));  // no edges: no network
}

TEST_F(TextInterpreterTest, TwoAirportsAndTheKPrefix) {
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 1000 0 0 50 1\nPOI 1 0 1\nPLY a\n"
                "REF N50:0:0 E12:0:0\nMOV 0 0 0 0 0\nLIN 0 0 1000 100 1\nPOI 2 0 2\nPLY b\n"),
            1);
  EXPECT_EQ(Describe(ReadNetwork("DATA/TEST.BGR")), "(0,0)>(1000,0):50:1 ");
  const Network abc = ReadNetwork("DATA/ABC.BGR");
  EXPECT_EQ(abc.lon, 43200);
  EXPECT_EQ(Describe(abc), "(0,0)>(0,1000):100:1 ");
  EXPECT_EQ(ReadFileBytes("DATA/TEST.PLY"), "ORG 180000.000000 36000.000000\nPOI 1 1\nPLY \"a\"\n");
  EXPECT_EQ(ReadFileBytes("DATA/ABC.PLY"), "ORG 180000.000000 43200.000000\nPOI 2 2\nPLY \"b\"\n");
}

TEST_F(TextInterpreterTest, FarReferenceSavesAndOpensTheNearestAirport) {
  // 197.5 seconds north: about 20000 ft from TEST, nearest to NEAR.
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"
                "REF N50:3:17.5 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 100 50 1\n"
                "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 -100 50 1\n"),
            1);
  // TEST was saved, then opened again and extended.
  EXPECT_EQ(Describe(ReadNetwork("DATA/TEST.BGR")), "(0,0)>(100,0):50:1 (0,0)>(0,-100):50:1 ");
  const Network near = ReadNetwork("DATA/NEAR.BGR");
  EXPECT_EQ(near.lat, kNearLat);
  EXPECT_EQ(Describe(near), "(0,0)>(0,100):50:1 ");
}

TEST_F(TextInterpreterTest, ExistingAirportIsExtended) {
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\nPOI 0 0 0\nPLY a\n"), 1);
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\nLIN 100 0 100 50 1\nPOI 5 0 5\nPLY b\n"),
            1);
  const Network n = ReadNetwork("DATA/TEST.BGR");
  EXPECT_EQ(n.nodes.size(), 3u);
  EXPECT_EQ(Describe(n), "(0,0)>(100,0):50:1 (100,0)>(100,100):50:1 ");
  EXPECT_EQ(ReadFileBytes("DATA/TEST.PLY"),
            "ORG 180000.000000 36000.000000\nPOI 0 0\nPLY \"a\"\nPOI 5 5\nPLY \"b\"\n");
  EXPECT_FALSE(FileExistsOnDisk("DATA/TEST.BGR.tmp"));
}

TEST_F(TextInterpreterTest, ExcludedRegionSkipsLinesAndItsExi) {
  const std::string exclusions =
      "ARE 10 \"C:\\SCENERY\\\"\n"
      "XCL 100 179900 42990 180100 43210 1\n";  // around ABC
  ASSERT_EQ(Run("SRC \"C:\\SCENERY\\WORLD\\x.bgl\"\n"
                "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"
                "REF N50:0:0 E12:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\nPOI 1 1 1\nPLY x\n"
                "RWY 1 2 3 4 5000 150 N50:0:0 E12:0:0 N50:0:30 E12:0:0\n"  // inside the box too
                "EXI\n"
                "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 100 50 1\n"
                "RWY 1 2 3 4 5000 150 N50:0:0 E10:0:0 N50:0:30 E10:0:0\n"
                "EXI\n"
                "LIN 0 0 900 50 1\n",
                exclusions),
            1);
  EXPECT_EQ(Describe(ReadNetwork("DATA/TEST.BGR")),
            "(0,0)>(100,0):50:1 (0,0)>(0,100):50:1 (0,0)>(0,3038):150:0 ");
  EXPECT_FALSE(FileExistsOnDisk("DATA/ABC.BGR"));
  EXPECT_EQ(ReadFileBytes("DATA/ABC.PLY"), "ORG 180000.000000 43200.000000\n");
}

TEST_F(TextInterpreterTest, TileFilter) {
  GeoTile tile;
  ASSERT_EQ(GeoTileOfSeconds(kTestLat, kTestLon, tile), 1);
  const std::string text =
      "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"
      "REF N50:0:0 E12:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n";
  Options().tileColumn = tile.column;
  Options().tileRow = tile.row;
  ASSERT_EQ(Run(text), 1);
  EXPECT_TRUE(FileExistsOnDisk("DATA/TEST.BGR"));
  EXPECT_FALSE(FileExistsOnDisk("DATA/ABC.BGR"));  // column 8, outside
  EXPECT_FALSE(FileExistsOnDisk("DATA/ABC.PLY"));

  std::filesystem::remove_all("DATA");
  Options().tileRow = tile.row + 1;
  ASSERT_EQ(Run(text), 1);
  EXPECT_FALSE(FileExistsOnDisk("DATA"));

  Options().tileColumn = -1;  // no filter
  ASSERT_EQ(Run(text), 1);
  EXPECT_TRUE(FileExistsOnDisk("DATA/TEST.BGR"));
  EXPECT_TRUE(FileExistsOnDisk("DATA/ABC.BGR"));
}

TEST_F(TextInterpreterTest, Runways) {
  ASSERT_EQ(Run("REF N50:0:10 E10:0:0\n"
                // Too short: nothing, and the reference point stays.
                "RWY a b c d 749 150 N50:0:0 E10:0:0 N50:0:7 E10:0:0\n"
                "MOV 0 0 0 0 0\nLIN 0 0 10 50 1\n"
                // Too few fields: nothing.
                "RWY a b c d\n"
                "RWY a b c d 5000 150\n"
                "RWY a b c d 5000 150 N50:0:0 E10:0:0 N50:0:30\n"
                "RWY a b c d 5000 150 N50:0:0 E10:0:0 N50:0:30 E10:0:0\n"
                // Described again, reversed and a little shifted: replaces it.
                "RWY a b c d 5000 200 N50:0:30 E10:0:1 N50:0:0.5 E10:0:0\n"
                "MOV 0 0 0 0 0\nLIN 500 0 0 50 1\n"
                // The same again after a taxiway: kept once, wider.
                "RWY a b c d 5000 250 N50:0:30 E10:0:1 N50:0:0.5 E10:0:0\n"
                // A crossing runway stays.
                "RWY a b c d 5000 150 N50:0:15 E10:0:0 N50:0:15 E10:0:40\n"),
            1);
  const Network n = ReadNetwork("DATA/TEST.BGR");
  EXPECT_EQ(Describe(n),
            "(0,1012)>(0,1022):50:1 (65,3038)>(0,50):250:0 (65,3038)>(565,3038):50:1 "
            "(0,1519)>(2608,1519):150:0 ");
}

TEST_F(TextInterpreterTest, EdgeLimit) {
  std::string text = "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\n";
  for (int i = 1; i <= 6100; ++i) text += "LIN " + std::to_string(i * 10) + " 0 0 50 1\n";
  ASSERT_EQ(Run(text), 1);
  const Network n = ReadNetwork("DATA/TEST.BGR");
  EXPECT_EQ(n.edges.size(), static_cast<size_t>(kInterpreterEdgeLimit));
}

TEST_F(TextInterpreterTest, WesternAirport) {
  // Stored west-negative; the reference point is taken east of 0 to 360
  // degrees. Offsets go the short way round.
  ASSERT_EQ(Run("REF N40:0:0 W83:20:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"), 1);
  const Network n = ReadNetwork("DATA/WEST.BGR");
  EXPECT_EQ(n.lon, -300000);
  EXPECT_EQ(Describe(n), "(0,0)>(100,0):50:1 ");
}

TEST_F(TextInterpreterTest, LinesThatDrawNothingForTheAirport) {
  ASSERT_EQ(Run("MOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"            // before any REF
                "REF N50:0:0 E10:0:0\nLIN 0 0 100 50 1\n"       // no MOV in this airport
                "LIN 0 0 200 50 1\n"                            // but now a line is drawn
                "REF N50:0:0 E12:0:0\nLIN 0 0 100 50 1\n"       // start is in TEST
                "REF N10:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 1 0 100 50 1\n"  // no airport
                "UNKNOWN line\nmov 1 1 1\n\n"),
            1);
  EXPECT_EQ(Describe(ReadNetwork("DATA/TEST.BGR")), "(0,100)>(0,200):50:1 ");
  EXPECT_FALSE(FileExistsOnDisk("DATA/ABC.BGR"));
  EXPECT_FALSE(FileExistsOnDisk("DATA/NONE.BGR"));
  EXPECT_FALSE(FileExistsOnDisk("DATA/NONE.PLY"));
}

TEST_F(TextInterpreterTest, CrLfMalformedNumbersAndMissingFiles) {
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\r\nMOV 0 0 0 0 0\r\nLIN 100 0 0 50 1\r\n"
                "LIN 200 x 0 0 1\r\n"  // y and the rest keep the values before
                "LIN nan 0 inf 50 1\r\nEXI\r\n"),
            1);
  EXPECT_EQ(Describe(ReadNetwork("DATA/TEST.BGR")), "(0,0)>(100,0):50:1 (100,0)>(200,0):50:1 ");
  EXPECT_EQ(InterpretText("missing.txt"), 0);
  EXPECT_EQ(InterpretText(nullptr), 0);
}

TEST_F(TextInterpreterTest, NoDatabaseWritesNothing) {
  std::filesystem::remove_all("DATABASE");
  ResetAirportDatabase();
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\nPOI 0 0 0\nPLY a\n"), 1);
  EXPECT_FALSE(FileExistsOnDisk("DATA"));
}

TEST_F(TextInterpreterTest, DataFolderThatCannotBeMade) {
  WriteFileBytes("DATA", "a file where the folder should be");
  testing::CaptureConsole console;
  ASSERT_EQ(Run("REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"), 1);
  EXPECT_NE(console.Text().find("ERROR: SetReference folder 'DATA' cannot be created"), std::string::npos)
      << console.Text();
  EXPECT_EQ(ReadFileBytes("DATA"), "a file where the folder should be");
}

TEST_F(TextInterpreterTest, WholeProgram) {
  WriteFileBytes("scenery.txt", "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n");
  const testing::RunResult r = testing::RunOstrand({"-tescenery.txt"});
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(Describe(ReadNetwork("DATA/TEST.BGR")), "(0,0)>(100,0):50:1 ");
  EXPECT_EQ(testing::RunOstrand({"-temissing.txt"}).status, 0);
}

// The exclusion list's areas and boxes.
class ExclusionTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    WriteFileBytes("excllist.txt", text);
    LoadExclusionList();
  }
  void TearDown() override { LoadExclusionList("no-such-list.txt"); }
  ScratchDir dir_;
};

TEST_F(ExclusionTest, FindArea) {
  Load("ARE 10 \"C:\\FS\\SCENERY\\\"\n"
       "ARE x \"C:\\FS\\\"\n"  // no number: ignored
       "ARE 20 \"C:\\FS\\SCENERY\\EUROPE\\\"\n"
       "ARE 30 \"ADDON\\\"\n"
       "ARE 40 \"\\AAA\\\"\n"
       "ARE 41 \"\\BBB\\\"\n"
       "XCL 1 0 0 0 0 1\n");
  struct Case {
    const char* directory;
    int32_t area;
  } cases[] = {
      {"C:\\FS\\SCENERY\\EUROPE\\HAMBURG\\SCENERY", 20},
      {"c:\\fs\\scenery\\europe\\x", 20},
      {"C:\\FS\\SCENERY\\AMERICA", 10},
      {"X:\\BBB\\AAA\\Y", 40},  // two of equal length: the first
      {"\\\\SERVER\\C:\\FS\\SCENERY\\", 10},
      {"/FS/SCENERY", kNoArea},
      {"D:\\OTHER", kNoArea},
      {"ADDON", 30},
      {"addon", 30},
      {"ADD", 30},
      {"", 10},  // an empty directory matches the first path
      {"XYZ", kNoArea},
      {"ADDON\\MORE", kNoArea},
  };
  for (const Case& c : cases) EXPECT_EQ(FindArea(c.directory), c.area) << c.directory;
}

TEST_F(ExclusionTest, IsExcluded) {
  Load("ARE 1 \"A\\\"\n"
       "XCL 100 1000 2000 1100 2100 1\n"
       "XCL 100 5000 5000 5100 5100 2\n"    // not a box exclusion
       "XCL 100 5000 5000 5100 5100 3\n"    // is one
       "XCL 50 6000 6000 6100 6100 1\n"
       "XCL 100 7000 7000 7100\n"           // too few values
       "XCL 100 -100 -648100 100 -647900 1\n");
  // Line indices: the ARE line is 0.
  struct Case {
    int32_t area;
    double latitude;
    double longitude;
    int32_t line;
  } cases[] = {
      {5, 1050, 2050, 1},
      {5, 1000, 2000, 1},   // corners are inside
      {5, 1100, 2100, 1},
      {5, 999.9, 2050, -1},
      {99, 1050, 2050, 1},
      {100, 1050, 2050, -1},  // area not below the limit
      {kNoArea, 1050, 2050, 1},
      {5, 1050, 2050 + 1296000, 1},  // brought into range
      {5, 5050, 5050, 3},
      {49, 6050, 6050, 4},
      {50, 6050, 6050, -1},
      {5, 7050, 7050, -1},
      {5, 0, 648000 + 50, 6},  // east of 180 degrees is west
      {5, 0, -648000 - 50, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsExcluded(c.area, c.latitude, c.longitude), c.line)
        << c.area << " " << c.latitude << " " << c.longitude;
}

TEST_F(ExclusionTest, MissingListExcludesNothing) {
  EXPECT_EQ(LoadExclusionList("missing.txt"), -1);
  EXPECT_EQ(FindArea("C:\\X"), kNoArea);
  EXPECT_EQ(FindArea(""), kNoArea);
  EXPECT_EQ(IsExcluded(kNoArea, 0, 0), -1);
}

}  // namespace
}  // namespace ostrand
