#include "ostrand/gen/bgr_tms.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/groundnet_converter.h"
#include "ostrand/gen/segment_list.h"
#include "ostrand/gen/test_support.h"

namespace ostrand {
namespace {

using testing::FixtureNetwork;
using testing::Occurrences;
using testing::Output;
using testing::ReadFileBytes;
using testing::RunOstrand;
using testing::Tags;
using testing::WriteFileBytes;

class BgrTmsTest : public testing::GenerationTest {
 protected:
  testing::CaptureConsole console;
};

// Area of the pieces of a layer filed in the grid, square units.
double FiledArea(int layer) { return testing::TotalArea(testing::FiledPieces(layer)); }

// A small airport: a runway, a taxiway ending 100 ft short of it, two
// crossing taxiways, a centre-line-only edge, a short isolated stub.
FixtureNetwork SmallAirport() {
  FixtureNetwork n;
  n.Line(0, 0, 8000, 0, 150, 0);
  n.Line(3000, -100, 3000, -3000, 75);
  n.Line(1000, -2000, 6000, -2000, 75, 1, 0x0F);
  n.Line(1000, -2600, 2000, -2600, 50, 1, 0x12);  // only the low four bits count: centre line only
  n.Line(5000, -2800, 5400, -2800);               // isolated and short
  return n;
}

// An apron and light strings: type 1 cut at the column borders, and a
// single light of type 2.
constexpr const char* kSmallAirportPolygons =
    "ORG 1 2\n"
    "POI 6500 -3000\nPOI 7500 -3000\nPOI 7500 -2000\nPOI 6500 -2000\nPLY \"apron\"\n"
    "LGT 1 0 -500 8000 -500 81\n"
    "LGT 2 7000 -1000\n";

// The whole generation by the program, against texts in testdata/: its
// console, the listing of the surface file written, and the listing of the
// network saved back. A second run leaves the saved network as it is.
TEST_F(BgrTmsTest, GenerationMatchesExpectedListings) {
  FixtureNetwork straight, broken, empty;
  straight.Line(100, 50, 1100, 50, 60);  // a 60-ft width keeps its odd width across saves
  for (double x : {0, 1000, 1000}) broken.Vertex(x, 0);
  // (1, 2) has zero length; 77, -5 and 100000 name missing vertices.
  broken.Add(0, 1), broken.Add(1, 2), broken.Add(0, 77), broken.Add(-5, 1, 150, 0);
  broken.Add(1, 100000, 150, 0), broken.Add(2, 0, 50, 1, 0x0F);
  // A type no stage knows: nothing is drawn, and nothing widens the
  // bounding box from its start values: the smallest tiles, the lower-left
  // corner where the empty box leaves it.
  empty.lat = 10.5, empty.lon = -20.25;
  empty.Line(0, 0, 0, 0, 50, 5);
  const FixtureNetwork smallAirport = SmallAirport();
  // With `tiles` every polygon and light of the surface file is listed.
  const struct { const char* name; const FixtureNetwork* network; const char* ply; int status;
    bool tiles; } cases[] = {
      {"straight", &straight, "", 1, true}, {"empty", &empty, "", 1, true},
      {"missing", nullptr, "", 0, true}, {"broken", &broken, "", 1, false},
      {"small_airport", &smallAirport, kSmallAirportPolygons, 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bgr = std::string(c.name) + ".BGR", tms = std::string(c.name) + ".TMS";
    if (c.network) c.network->Write(bgr);
    if (*c.ply != '\0') WriteFileBytes(std::string(c.name) + ".PLY", c.ply);
    const auto run = RunOstrand({"-tm", bgr});
    EXPECT_EQ(run.status, c.status);
    const std::string got =
        testing::Tidy(run.output) + Output({"-ls", tms}, c.tiles) + Output({"-ls", bgr});
    const std::string saved = ReadFileBytes(bgr);
    RunOstrand({"-tm", bgr});
    EXPECT_TRUE(ReadFileBytes(bgr) == saved);
    testing::ExpectMatchesFile(got, std::string("generation_") + c.name + ".txt");
    EXPECT_EQ(Tags(tms, "<edmk>"), 64);
  }
  EXPECT_FALSE(std::filesystem::exists("missing.BGR"));
}

// A layer that holds points but no polygons still opens its section; a
// tile filled to several times what one point table holds goes on in
// further sections of its kind, and every piece is written.
TEST_F(BgrTmsTest, SectionsOfEveryLayerAreWritten) {
  for (int layer = 0; layer < 4; ++layer)
    Grid().Layer(3, 5, layer).Current().points.Add(256, 0, 512, 0);
  const double lowLeft[3] = {0.0, 0.0, 0.0};
  WriteSurfaceFile(TaxiwayList(), "P.TMS", 500.0f, lowLeft);
  for (const char* tag : {"<pave>", "<edmk>", "<cntr>", "<lite>"})
    EXPECT_EQ(Tags("P.TMS", tag), 64);

  const struct { int layer; int32_t pieces, size, sections; const char *tag, *listed; } cases[] = {
      {kPavementLayer, 2500, 10, 5, "<pave>", "<pave> 4\n"},  // 10000 separate corners
      {kCentreLayer, 3600, 15, 2, "<cntr>", "<cntr> 4\n"},    // a mesh of 3721 corners
      {kLightsLayer, 3000, 10, 3, "<lite>", "<lite> 2,"},     // 6000 light ends
  };
  for (const auto& c : cases) {
    ResetGenerationState();
    Grid().tileSize = 128000;
    for (int32_t i = 0, e = c.size; i < c.pieces; ++i) {
      const int32_t x = 1000 + i % 60 * 15, z = 1000 + i / 60 * 15;
      if (c.layer == kLightsLayer) AddLightLine(c.layer, x, z, x + e, z, 356);
      else AddQuad(c.layer, {x, z}, {x + e, z}, {x + e, z + e}, {x, z + e});
    }
    EXPECT_EQ(Grid().Layer(0, 0, c.layer).SectionCount(), c.sections) << c.tag;
    WriteSurfaceFile(TaxiwayList(), "F.TMS", 500.0f, lowLeft);
    EXPECT_EQ(Tags("F.TMS", c.tag), 63 + c.sections) << c.tag;
    EXPECT_EQ(Occurrences(Output({"-ls", "F.TMS"}), c.listed), c.pieces) << c.tag;
  }
  EXPECT_EQ(Occurrences(ReadFileBytes("report.txt"), "table full"), 0);
}

// A full runway list reports once (the taxiway list shares the report),
// and its surplus still sizes the grid.
TEST_F(BgrTmsTest, FullSegmentListReportsOnce) {
  SegmentList& runways = RunwaySegments();
  for (int32_t i = 0; i < kMaxRunwaySegments + 2; ++i)
    EXPECT_EQ(runways.Add(i, {i * 10, 0, 0}, {i * 10, 0, 500}), i < kMaxRunwaySegments ? 1 : 0);
  TaxiwaySegments().count = TaxiwaySegments().capacity;
  EXPECT_EQ(TaxiwaySegments().Add(7, {0, 0, 0}, {1, 0, 1}), 0);
  EXPECT_EQ(std::pair(runways.count, runways.entries[5].edge), std::pair(kMaxRunwaySegments, 5));
  EXPECT_EQ(runways.entries[5].line.length, 500.0);
  EXPECT_EQ(std::pair(GenerationBox().maxX, GenerationBox().maxZ),
            std::pair((kMaxRunwaySegments + 1) * 10.0, 500.0));
  EXPECT_EQ(console.Text(), "ERROR: SegmentList::Add - too many edges\n");
  ResetGenerationState();
}

TEST_F(BgrTmsTest, CentreLineOnlyEdges) {
  // Up to 99 centre-line-only edges are saved back as taxiways; each is
  // drawn as a 1-ft strip: a centre marking of about 1000 sq ft.
  for (int count : {99, 100}) {
    FixtureNetwork n;
    for (int i = 0; i < count; ++i) n.Line(i * 100.0, 0, i * 100.0, 1000, 50, 1, 2);
    n.Line(0, 5000, 1000, 5000, 50, 1, 0);
    n.Write("Y.BGR");
    ASSERT_EQ(BgrTms("Y.BGR"), 1);
    EXPECT_NEAR(FiledArea(kCentreLayer) / 65536.0, count * 1000.0 + 1000.0, count * 10.0 + 10)
        << count;
    EXPECT_EQ(Tags("Y.BGR", "<edge>"), count < 100 ? count + 1 : 1) << count;
  }
}

// Whatever the stages generate lies in its own tile, also beyond the
// taxiways and aprons, or far from the network's origin; the pavement and
// centre marking handed to the clipping are filed; no piece is a sliver.
// The same holds for the public ground networks of real airports, stands
// as small aprons (skipped without them).
TEST_F(BgrTmsTest, EverythingGeneratedLiesInItsTile) {
  const auto check = [](const std::string& name, double tolerance) {
    EXPECT_TRUE(testing::EveryPieceInsideItsTile()) << name;
    for (int layer : {kPavementLayer, kCentreLayer})
      for (const auto& p : testing::FiledPieces(layer)) EXPECT_NE(testing::SignedArea(p.corners), 0)
          << name;
    // Crossing points are rounded to whole units.
    const double handed = Grid().handedArea[kPavementLayer] + Grid().handedArea[kCentreLayer];
    EXPECT_NEAR(FiledArea(kPavementLayer) + FiledArea(kCentreLayer), handed, tolerance * handed)
        << name;
  };
  // Lines: x1 z1 x2 z2 flags; where the grid starts, in feet.
  const struct { const char* name; std::vector<std::array<double, 5>> lines; const char* ply;
    int32_t originX; } cases[] = {
      {"light string", {{5000, 5000, 6000, 5000, 15}}, "LGT 3 0 0 1000 0 11\n", -500},
      {"centre-line-only strip", {{0, 0, 1000, 0, 15}, {0, 8000, 3000, 8000, 2}}, "", -500},
      {"far from the origin", {{50000, 50000, 51000, 50000, 15}}, "", 49500},
      {"45-degree edge", {{0, 0, 14142, 14142, 15}}, "", -500}};
  for (const auto& c : cases) {
    FixtureNetwork n;
    for (const auto& l : c.lines) n.Line(l[0], l[1], l[2], l[3], 50, 1, static_cast<int32_t>(l[4]));
    n.Write("G.BGR");
    WriteFileBytes("G.PLY", c.ply);
    ASSERT_EQ(BgrTms("G.BGR"), 1) << c.name;
    EXPECT_EQ(Grid().originX, c.originX * 256) << c.name;
    check(c.name, 1e-4);
  }
  // The small airport: its apron (1000 x 1000 ft) is paved, the light
  // strings of its polygon file are filed, type 1 cut at the column
  // borders, and the single light of type 2.
  SmallAirport().Write("G.BGR");
  WriteFileBytes("G.PLY", kSmallAirportPolygons);
  ASSERT_EQ(BgrTms("G.BGR"), 1);
  check("small airport", 1e-4);
  EXPECT_GT(FiledArea(kPavementLayer) / 65536.0, 1000.0 * 1000.0);
  int typeOne = 0, typeTwo = 0;
  for (const auto& p : testing::FiledPieces(kLightsLayer)) {
    typeOne += p.attribute == 256 + 100 ? 1 : 0;
    typeTwo += p.attribute == 512 + 100 && p.corners.size() == 2 ? 1 : 0;
  }
  EXPECT_GE(typeOne, 6);
  EXPECT_EQ(typeTwo, 1);
  const std::string realData = testing::RealDataDir();
  if (realData.empty()) GTEST_SKIP() << "no real airport data";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(realData + "/groundnet", ec)) {
    const std::string icao = entry.path().filename().string().substr(0, 4);
    if (bench::ConvertGroundnet(entry.path().string(), "R.BGR", "R.PLY").vertices == 0) continue;
    ASSERT_EQ(BgrTms("R.BGR"), 1) << icao;
    check(icao, 2e-5);
  }
  EXPECT_EQ(Occurrences(ReadFileBytes("report.txt"), "table full"), 0);
}

// Damaged polygon files and the largest network run to the end.
TEST_F(BgrTmsTest, DamagedAndLargestInputsRunToTheEnd) {
  const std::string whole = std::string(kSmallAirportPolygons) + std::string(300, 'P') + "\r\n" +
                            "POI 99999999999999999999 -99999999999999999999\nPLY x\n" +
                            "LGT 1 -99999999999 0 99999999999 0 5\nLGT x\n";
  FixtureNetwork one;
  one.Line(0, 0, 1000, 0);
  for (size_t cut = 0; cut <= whole.size(); cut += 7) {
    one.Write("D.BGR");
    WriteFileBytes("D.PLY", whole.substr(0, cut));
    ASSERT_EQ(BgrTms("D.BGR"), 1) << cut;
    EXPECT_EQ(Tags("D.TMS", "<tile>"), 64) << cut;
  }
  // 12000 vertices on a grid 120 ft apart and 6000 edges between
  // neighbours, every fifth a dead-end spur; more than the tile tables hold.
  FixtureNetwork n;
  const int columns = 110;
  for (int i = 0; i < kMaxVertices; ++i) n.Vertex((i % columns) * 120.0, (i / columns) * 120.0);
  for (int i = 0; static_cast<int>(n.edges.size()) < kMaxEdges; ++i)
    if ((i + 1) % columns != 0) n.Add(i, i + 1, i % 7 == 0 ? 150 : 50, i < columns ? 0 : 1, i % 16);
  n.Write("BIG.BGR");
  ASSERT_EQ(BgrTms("BIG.BGR"), 1);
  EXPECT_NE(console.Text().find("Load(BIG.BGR) points=12000 edges=6000\n"), std::string::npos);
  EXPECT_EQ(Tags("BIG.TMS", "<tile>"), 64);
  EXPECT_EQ(Tags("BIG.BGR", "<node>"), kMaxVertices);
}

}  // namespace
}  // namespace ostrand
