#include "ostrand/text/text_interpreter.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <sstream>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/options.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/ops/network_fixtures.h"
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

// "lat lon nodes: (x,z)>(x,z):width:type ..." of a network file, the end
// points' y shown only when it is not 0; "unreadable" when it cannot be read.
std::string Describe(const std::string& path) {
  BgrFile f;
  double lat = 0, lon = 0, elevation = 0, x, y, z;
  if (!f.OpenRead(path) || f.ReadOrigin(lat, lon, elevation) != 1) return "unreadable";
  std::vector<std::string> nodes;
  while (f.ReadNode(x, y, z)) {
    const auto i = [](double v) { return std::to_string(static_cast<int32_t>(v)); };
    nodes.push_back("(" + i(x) + "," + (static_cast<int32_t>(y) != 0 ? i(y) + "," : "") + i(z) +
                    ")");
  }
  std::ostringstream out;
  out.precision(12);
  out << lat << " " << lon << " " << nodes.size() << ":";
  BgrEdge e;
  while (f.ReadEdge(e)) {
    out << " " << nodes.at(static_cast<size_t>(e.from)) << ">"
        << nodes.at(static_cast<size_t>(e.to)) << ":" << e.width << ":" << e.type;
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
        {"KABC", kTestLat, 43200},             // 50 N 12 E
        {"NEAR", kTestLat + 197.5, kTestLon},  // about 20000 ft north of TEST
        {"WEST", 144000, -300000},             // 40 N 83 20' W
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

constexpr const char* kLine = "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n";

// Runs of scenery text and the files they leave in DATA: a network described
// as by Describe, a polygon file byte for byte, or nullptr for no file.
TEST_F(TextInterpreterTest, RunsAndTheFilesTheyWrite) {
  struct Case {
    const char* name;
    std::vector<std::string> runs;
    std::string exclusions;
    std::vector<std::pair<std::string, const char*>> files;
  } cases[] = {
      {"polyline merge and widening",
       {"REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 500 0 0 50 1\nLIN 500 0 500 50 1\n"
        "LIN 502 0 503 50 1\n"                // within 5 ft: no edge
        "MOV 0 0 0 0 0\nLIN 500 0 0 100 1\n"  // the same edge again: wider
        "LIN 0 0 0 25 1\n"},                  // the other direction: a new edge
       "",
       {{"DATA/TEST.BGR",
         "180000 36000 3: (0,0)>(500,0):100:1 (500,0)>(500,500):50:1 (500,0)>(0,0):25:1"},
        {"DATA/TEST.PLY", "ORG 180000.000000 36000.000000\n"}}},
      // 10 seconds north and east of the airport: 1012.78 ft north, 652.12 ft
      // east (cos 50 degrees), truncated.
      {"offsets from the reference point",
       {"REF N50:0:10 E10:0:10\nMOV 0 0 0 0 0\nLIN -100 7 -100.9 50 1\n"},
       "",
       {{"DATA/TEST.BGR", "180000 36000 2: (652,1012)>(552,7,911):50:1"}}},
      {"polygon file lines",
       {"REF N50:0:0 E10:0:0\nPLY \"nothing\"\n"  // no POI before it
        "POI 0 0 0\nPOI 100.7 5 -0.9\nPOI 100 0 100\nPLY \"apron one\"\nPLY again\n"
        "LGT 3 10 0 20 110 0 120 5\nLGT 1 10 0 20 0 0 0 1\nLGT 1 10.5 9 20.5\n"
        "LGT 2 1 1 1 1 1 1 0\nEXI\nPOI 1 1 1\n"},
       "",
       {{"DATA/TEST.PLY",
         "ORG 180000.000000 36000.000000\nPOI 0 0\nPOI 100 0\nPOI 100 100\nPLY \"apron one\"\n"
         "LGT 3 10 20 110 120 5\nLGT 1 10 20\nLGT 1 10 20\n"},
        {"DATA/TEST.BGR", nullptr}}},  // no edges: no network
      {"two airports and the K prefix",
       {"REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 1000 0 0 50 1\nPOI 1 0 1\nPLY a\n"
        "REF N50:0:0 E12:0:0\nMOV 0 0 0 0 0\nLIN 0 0 1000 100 1\nPOI 2 0 2\nPLY b\n"},
       "",
       {{"DATA/TEST.BGR", "180000 36000 2: (0,0)>(1000,0):50:1"},
        {"DATA/ABC.BGR", "180000 43200 2: (0,0)>(0,1000):100:1"},
        {"DATA/TEST.PLY", "ORG 180000.000000 36000.000000\nPOI 1 1\nPLY \"a\"\n"},
        {"DATA/ABC.PLY", "ORG 180000.000000 43200.000000\nPOI 2 2\nPLY \"b\"\n"}}},
      // 197.5 seconds north: about 20000 ft from TEST, nearest to NEAR. TEST is
      // saved, then opened again and extended.
      {"far reference saves and opens the nearest airport",
       {"REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"
        "REF N50:3:17.5 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 100 50 1\n"
        "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 -100 50 1\n"},
       "",
       {{"DATA/TEST.BGR", "180000 36000 3: (0,0)>(100,0):50:1 (0,0)>(0,-100):50:1"},
        {"DATA/NEAR.BGR", "180197.5 36000 2: (0,0)>(0,100):50:1"}}},
      {"existing airport is extended",
       {std::string(kLine) + "POI 0 0 0\nPLY a\n",
        std::string(kLine) + "LIN 100 0 100 50 1\nPOI 5 0 5\nPLY b\n"},
       "",
       {{"DATA/TEST.BGR", "180000 36000 3: (0,0)>(100,0):50:1 (100,0)>(100,100):50:1"},
        {"DATA/TEST.PLY",
         "ORG 180000.000000 36000.000000\nPOI 0 0\nPLY \"a\"\nPOI 5 5\nPLY \"b\"\n"},
        {"DATA/TEST.BGR.tmp", nullptr}}},
      {"excluded region skips lines and its EXI",
       {"SRC \"C:\\SCENERY\\WORLD\\x.bgl\"\n" + std::string(kLine) +
        "REF N50:0:0 E12:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\nPOI 1 1 1\nPLY x\n"
        "RWY 1 2 3 4 5000 150 N50:0:0 E12:0:0 N50:0:30 E12:0:0\n"  // inside the box too
        "EXI\nREF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 100 50 1\n"
        "RWY 1 2 3 4 5000 150 N50:0:0 E10:0:0 N50:0:30 E10:0:0\nEXI\nLIN 0 0 900 50 1\n"},
       "ARE 10 \"C:\\SCENERY\\\"\nXCL 100 179900 42990 180100 43210 1\n",  // around ABC
       {{"DATA/TEST.BGR",
         "180000 36000 4: (0,0)>(100,0):50:1 (0,0)>(0,100):50:1 (0,0)>(0,3038):150:0"},
        {"DATA/ABC.BGR", nullptr},
        {"DATA/ABC.PLY", "ORG 180000.000000 43200.000000\n"}}},
      {"runways",
       {"REF N50:0:10 E10:0:0\n"
        // Too short: nothing, and the reference point stays.
        "RWY a b c d 749 150 N50:0:0 E10:0:0 N50:0:7 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 10 50 1\n"
        // Too few fields: nothing.
        "RWY a b c d\nRWY a b c d 5000 150\nRWY a b c d 5000 150 N50:0:0 E10:0:0 N50:0:30\n"
        "RWY a b c d 5000 150 N50:0:0 E10:0:0 N50:0:30 E10:0:0\n"
        // Described again, reversed and a little shifted: replaces it.
        "RWY a b c d 5000 200 N50:0:30 E10:0:1 N50:0:0.5 E10:0:0\nMOV 0 0 0 0 0\n"
        "LIN 500 0 0 50 1\n"
        // The same again after a taxiway: kept once, wider.
        "RWY a b c d 5000 250 N50:0:30 E10:0:1 N50:0:0.5 E10:0:0\n"
        // A crossing runway stays.
        "RWY a b c d 5000 150 N50:0:15 E10:0:0 N50:0:15 E10:0:40\n"},
       "",
       {{"DATA/TEST.BGR",
         "180000 36000 9: (0,1012)>(0,1022):50:1 (65,3038)>(0,50):250:0 (65,3038)>(565,3038):50:1 "
         "(0,1519)>(2608,1519):150:0"}}},
      // Stored west-negative; the reference point is taken east of 0 to 360
      // degrees. Offsets go the short way round.
      {"western airport",
       {"REF N40:0:0 W83:20:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"},
       "",
       {{"DATA/WEST.BGR", "144000 -300000 2: (0,0)>(100,0):50:1"}}},
      {"lines that draw nothing for the airport",
       {"MOV 0 0 0 0 0\nLIN 100 0 0 50 1\n"                       // before any REF
        "REF N50:0:0 E10:0:0\nLIN 0 0 100 50 1\n"                 // no MOV in this airport
        "LIN 0 0 200 50 1\n"                                      // but now a line is drawn
        "REF N50:0:0 E12:0:0\nLIN 0 0 100 50 1\n"                 // start is in TEST
        "REF N10:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 1 0 100 50 1\n"  // no airport
        "UNKNOWN line\nmov 1 1 1\n\n"},
       "",
       {{"DATA/TEST.BGR", "180000 36000 2: (0,100)>(0,200):50:1"},
        {"DATA/ABC.BGR", nullptr},
        {"DATA/NONE.BGR", nullptr},
        {"DATA/NONE.PLY", nullptr}}},
      {"CR LF and malformed numbers",
       {"REF N50:0:0 E10:0:0\r\nMOV 0 0 0 0 0\r\nLIN 100 0 0 50 1\r\n"
        "LIN 200 x 0 0 1\r\n"  // y and the rest keep the values before
        "LIN nan 0 inf 50 1\r\nEXI\r\n"},
       "",
       {{"DATA/TEST.BGR", "180000 36000 3: (0,0)>(100,0):50:1 (100,0)>(200,0):50:1"}}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all("DATA");
    std::filesystem::remove("excllist.txt");
    for (const std::string& text : c.runs) ASSERT_EQ(Run(text, c.exclusions), 1) << c.name;
    for (const auto& [path, want] : c.files) {
      if (want == nullptr) {
        EXPECT_FALSE(FileExistsOnDisk(path)) << c.name << ": " << path;
      } else {
        EXPECT_EQ(path.ends_with(".BGR") ? Describe(path) : ReadFileBytes(path), want)
            << c.name << ": " << path;
      }
    }
  }
}

TEST_F(TextInterpreterTest, TileFilter) {
  GeoTile tile;
  ASSERT_EQ(GeoTileOfSeconds(kTestLat, kTestLon, tile), 1);
  const std::string text =
      std::string(kLine) + "REF N50:0:0 E12:0:0\nMOV 0 0 0 0 0\nLIN 100 0 0 50 1\n";
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

TEST_F(TextInterpreterTest, EdgeLimit) {
  std::string text = "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\n";
  for (int i = 1; i <= 6100; ++i) text += "LIN " + std::to_string(i * 10) + " 0 0 50 1\n";
  ASSERT_EQ(Run(text), 1);
  const std::string network = Describe("DATA/TEST.BGR");
  EXPECT_EQ(std::count(network.begin(), network.end(), '>'), kInterpreterEdgeLimit);
}

TEST_F(TextInterpreterTest, NoDatabaseWritesNothing) {
  std::filesystem::remove_all("DATABASE");
  ResetAirportDatabase();
  ASSERT_EQ(Run(std::string(kLine) + "POI 0 0 0\nPLY a\n"), 1);
  EXPECT_FALSE(FileExistsOnDisk("DATA"));
}

TEST_F(TextInterpreterTest, DataFolderThatCannotBeMade) {
  WriteFileBytes("DATA", "a file where the folder should be");
  testing::CaptureConsole console;
  ASSERT_EQ(Run(kLine), 0);  // the airport could not be saved
  EXPECT_NE(console.Text().find("ERROR: SetReference folder 'DATA' cannot be created"),
            std::string::npos)
      << console.Text();
  EXPECT_EQ(ReadFileBytes("DATA"), "a file where the folder should be");
}

// An airport file that cannot be extended whole stays as it was (bytes and
// mode), and the run fails; one that can keeps its mode.
TEST_F(TextInterpreterTest, AirportFilesThatCannotBeExtended) {
  const std::string oversized = testing::NetBytes(testing::GridNet(12002));  // 6001 edges
  Run(kLine);
  const std::string network = ReadFileBytes("DATA/TEST.BGR");
  struct Case {
    std::string before;
    int mode, result;
  } const cases[] = {
      {"not a network", 0644, 0}, {network, 0444, 0}, {oversized, 0644, 0},
      {network, 0600, 1},  // extended
  };
  for (const Case& c : cases) {
    testing::CaptureConsole console;
    std::filesystem::remove("DATA/TEST.BGR");
    WriteFileBytes("DATA/TEST.BGR", c.before);
    WriteFileBytes("DATA/TEST.PLY", "ORG 0 0\n");
    std::filesystem::permissions("DATA/TEST.BGR", static_cast<std::filesystem::perms>(c.mode));
    EXPECT_EQ(Run("REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\nLIN 0 0 300 50 1\nPOI 1 0 1\nPLY x\n"),
              c.result);
    EXPECT_EQ(static_cast<int>(std::filesystem::status("DATA/TEST.BGR").permissions()), c.mode);
    EXPECT_EQ(ReadFileBytes("DATA/TEST.BGR") == c.before, c.result == 0);
    EXPECT_EQ(ReadFileBytes("DATA/TEST.PLY") == "ORG 0 0\n", c.result == 0);
  }
}

// Runs killed at random moments leave every file they replace as it was or
// as a whole run makes it, never a part (timing-dependent, so sanitizer
// builds skip it).
TEST_F(TextInterpreterTest, KilledRunsLeaveOldOrNewFiles) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "timing test";
#endif
  std::filesystem::create_directory("DATA");
  std::string text = "REF N50:0:0 E10:0:0\nMOV 0 0 0 0 0\n";
  for (int i = 1; i <= 5000; ++i)
    text += "LIN " + std::to_string(i % 300) + " 0 " + std::to_string(i) + " 50 1\nPOI 1 0 1\n";
  WriteFileBytes("scenery.txt", text + "PLY x\n");
  WriteFileBytes("script.txt", "<bgr-width-edges> 30 40\n");
  const std::vector<std::string> files = {"DATA/TEST.BGR", "DATA/TEST.PLY", "DATA/TEST.TMS"};
  std::mt19937 rng(11);
  for (const char* option : {"-pg", "-rsscript.txt", "-tm", "-tescenery.txt"}) {
    SCOPED_TRACE(option);
    const bool te = std::string(option).starts_with("-te");
    const std::string old = testing::NetBytes(testing::GridNet(te ? 2000 : 12000));
    std::vector<std::string> done;
    long micros = 0;
    for (int run = 0; run <= 50; ++run) {
      for (const std::string& f : files) WriteFileBytes(f, f == files[0] ? old : "old\n");
      const auto start = std::chrono::steady_clock::now();
      const pid_t pid = fork();
      if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        execl(OSTRAND_EXE, OSTRAND_EXE, option, te ? nullptr : "DATA/TEST.BGR", nullptr);
        _exit(127);
      }
      if (run > 0) usleep(static_cast<useconds_t>(rng() % (micros + 1)));
      if (run > 0) kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      if (run == 0)
        micros = std::chrono::duration_cast<std::chrono::microseconds>(
                     std::chrono::steady_clock::now() - start)
                     .count();
      for (size_t k = 0; k < files.size(); ++k) {
        const std::string now = ReadFileBytes(files[k]);
        if (run == 0) done.push_back(now);
        EXPECT_TRUE(now == done[k] || now == (k == 0 ? old : "old\n")) << files[k] << " " << run;
      }
    }
  }
}
TEST_F(TextInterpreterTest, WholeProgramAndMissingFiles) {
  WriteFileBytes("scenery.txt", kLine);
  const testing::RunResult r = testing::RunOstrand({"-tescenery.txt"});
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(Describe("DATA/TEST.BGR"), "180000 36000 2: (0,0)>(100,0):50:1");
  EXPECT_EQ(testing::RunOstrand({"-temissing.txt"}).status, 0);
  EXPECT_EQ(InterpretText("missing.txt"), 0);
  EXPECT_EQ(InterpretText(nullptr), 0);
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
       "XCL 100 5000 5000 5100 5100 2\n"  // not a box exclusion
       "XCL 100 5000 5000 5100 5100 3\n"  // is one
       "XCL 50 6000 6000 6100 6100 1\n"
       "XCL 100 7000 7000 7100\n"  // too few values
       "XCL 100 -100 -648100 100 -647900 1\n");
  // Line indices: the ARE line is 0.
  struct Case {
    int32_t area;
    double latitude;
    double longitude;
    int32_t line;
  } cases[] = {
      {5, 1050, 2050, 1},
      {5, 1000, 2000, 1},  // corners are inside
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
