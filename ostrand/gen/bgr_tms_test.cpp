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

using namespace testing;

class BgrTmsTest : public GenerationTest {
 protected:
  // Area of the pieces of a layer filed in the grid, square units.
  double FiledArea(int layer) { return TotalArea(FiledPieces(layer)); }
  CaptureConsole console;
};

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
  const struct { const char* name; const FixtureNetwork* network; const char* ply; int status;
  } cases[] = {{"straight", &straight, "", 1}, {"empty", &empty, "", 1},
               {"missing", nullptr, "", 0}, {"broken", &broken, "", 1},
               {"small_airport", &smallAirport, kSmallAirportPolygons, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bgr = std::string(c.name) + ".BGR", tms = std::string(c.name) + ".TMS";
    if (c.network) c.network->Write(bgr);
    if (*c.ply != '\0') WriteFileBytes(std::string(c.name) + ".PLY", c.ply);
    const auto program = RunOstrand({"-tm", bgr});
    EXPECT_EQ(program.status, c.status);
    const std::string got = Tidy(program.output) + Output({"-ls", tms}) + Output({"-ls", bgr});
    const std::string saved = ReadFileBytes(bgr);
    RunOstrand({"-tm", bgr});
    EXPECT_TRUE(ReadFileBytes(bgr) == saved);
    ExpectMatchesFile(got, std::string("generation_") + c.name + ".txt");
    EXPECT_EQ(Tags(tms, "<edmk>"), 64);
  }
  EXPECT_FALSE(std::filesystem::exists("missing.BGR"));
}

// A layer that holds points but no polygons still opens its section; a
// tile filled to several times what one point table holds goes on in
// further sections of its kind, and every piece is written.
TEST_F(BgrTmsTest, SectionsOfEveryLayerAreWritten) {
  for (int layer = 0; layer < 4; ++layer)
    run.grid.Layer(3, 5, layer).Current().points.Add(256, 0, 512, 0);
  const double lowLeft[3] = {0.0, 0.0, 0.0};
  WriteSurfaceFile(run, TaxiwayList(), "P.TMS", 500.0f, lowLeft);
  for (const char* tag : {"<pave>", "<edmk>", "<cntr>", "<lite>"})
    EXPECT_EQ(Tags("P.TMS", tag), 64);

  const struct { int layer; int32_t pieces, size, sections; const char *tag, *listed; } cases[] = {
      {kPavementLayer, 2500, 10, 5, "<pave>", "<pave> 4\n"},  // 10000 separate corners
      {kCentreLayer, 3600, 15, 2, "<cntr>", "<cntr> 4\n"},    // a mesh of 3721 corners
      {kLightsLayer, 3000, 10, 3, "<lite>", "<lite> 2,"},     // 6000 light ends
      {kEdgeMarkLayer, 1, 10, 1, "<edmk>", "<edmk> 4\n"},     // a section of one polygon
  };
  for (const auto& c : cases) {
    NewRun().grid.SetGeometry(0, 0, 128000);
    for (int32_t i = 0, e = c.size; i < c.pieces; ++i) {
      const int32_t x = 1000 + i % 60 * 15, z = 1000 + i / 60 * 15;
      if (c.layer == kLightsLayer) AddLightLine(run, c.layer, x, z, x + e, z, 356);
      else AddQuad(run, c.layer, {x, z}, {x + e, z}, {x + e, z + e}, {x, z + e});
    }
    WriteSurfaceFile(run, TaxiwayList(), "F.TMS", 500.0f, lowLeft);
    EXPECT_EQ(Tags("F.TMS", c.tag), 63 + c.sections) << c.tag;
    EXPECT_EQ(Occurrences(Output({"-ls", "F.TMS"}), c.listed), c.pieces) << c.tag;
  }
  EXPECT_EQ(Occurrences(ReadFileBytes("report.txt"), "table full"), 0);
}

// A full runway list reports once (the taxiway list shares the report),
// and its surplus still sizes the grid.
TEST_F(BgrTmsTest, FullSegmentListReportsOnce) {
  SegmentList& runways = run.runways;
  for (int32_t i = 0; i < kMaxRunwaySegments + 2; ++i)
    EXPECT_EQ(runways.Add(i, {i * 10, 0, 0}, {i * 10, 0, 500}, run.box), i < kMaxRunwaySegments);
  run.taxiways.count = run.taxiways.capacity;
  EXPECT_EQ(run.taxiways.Add(7, {0, 0, 0}, {1, 0, 1}, run.box), 0);
  EXPECT_EQ(std::pair(runways.count, runways.entries[5].edge), std::pair(kMaxRunwaySegments, 5));
  EXPECT_EQ(runways.entries[5].line.length, 500.0);
  EXPECT_EQ(std::pair(run.box.maxX, run.box.maxZ),
            std::pair((kMaxRunwaySegments + 1) * 10.0, 500.0));
  EXPECT_EQ(console.Text(), "ERROR: SegmentList::Add - too many edges\n");
}

TEST_F(BgrTmsTest, CentreLineOnlyEdges) {
  // Up to 99 centre-line-only edges are saved back as taxiways; each is
  // drawn as a 1-ft strip: a centre marking of about 1000 sq ft.
  for (int count : {99, 100}) {
    FixtureNetwork n;
    for (int i = 0; i < count; ++i) n.Line(i * 100.0, 0, i * 100.0, 1000, 50, 1, 2);
    n.Line(0, 5000, 1000, 5000, 50, 1, 0);
    n.Write("Y.BGR");
    ASSERT_EQ(BgrTms("Y.BGR", NewRun()), 1);
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
  const auto check = [this](const std::string& name, double tolerance) {
    EXPECT_TRUE(EveryPieceInsideItsTile()) << name;
    for (int layer : {kPavementLayer, kCentreLayer})
      for (const auto& p : FiledPieces(layer)) EXPECT_NE(SignedArea(p.corners), 0) << name;
    // Crossing points are rounded to whole units.
    const double* area = run.clipping.handedArea;
    const double handed = area[kPavementLayer] + area[kCentreLayer];
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
    ASSERT_EQ(BgrTms("G.BGR", NewRun()), 1) << c.name;
    EXPECT_EQ(run.grid.OriginX(), c.originX * 256) << c.name;
    check(c.name, 1e-4);
  }
  // The small airport (its pieces are listed in its expected text).
  SmallAirport().Write("G.BGR");
  WriteFileBytes("G.PLY", kSmallAirportPolygons);
  ASSERT_EQ(BgrTms("G.BGR", NewRun()), 1);
  check("small airport", 1e-4);
  const std::string realData = RealDataDir();
  if (realData.empty()) GTEST_SKIP() << "no real airport data";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(realData + "/groundnet", ec)) {
    const std::string icao = entry.path().filename().string().substr(0, 4);
    if (bench::ConvertGroundnet(entry.path().string(), "R.BGR", "R.PLY").vertices == 0) continue;
    ASSERT_EQ(BgrTms("R.BGR", NewRun()), 1) << icao;
    check(icao, 2e-5);
  }
  EXPECT_EQ(Occurrences(ReadFileBytes("report.txt"), "table full"), 0);
}

// A network beyond the table limits: 12005 vertices 100 ft apart, back and
// forth along rows of 80, and 6005 edges in one chain (the first 80 a
// runway). Reading stops at the limits, the edges behind the surplus
// vertices are still read, and the largest network runs to the end: more
// than the tile tables hold, with no deep stack on the way. The file is
// left as it was, and the run fails.
TEST_F(BgrTmsTest, NetworkBeyondTheLimitsRunsToTheEnd) {
  FixtureNetwork n;
  for (int i = 0; i < kMaxVertices + 5; ++i)
    n.Vertex((i / 80 % 2 ? 79 - i % 80 : i % 80) * 100.0, i / 80 * 100.0);
  for (int i = 0; i < kMaxEdges + 5; ++i) n.Add(i, i + 1, i % 7 ? 50 : 150, i < 80 ? 0 : 1, i % 16);
  n.Write("BIG.BGR");
  ASSERT_EQ(BgrTms("BIG.BGR"), 0);
  EXPECT_NE(console.Text().find("Load(BIG.BGR) points=12000 edges=6000\n"), std::string::npos);
  EXPECT_EQ(std::pair(Tags("BIG.TMS", "<tile>"), Tags("BIG.BGR", "<node>")),
            std::pair(64, kMaxVertices + 5));
  EXPECT_EQ(Occurrences(ReadFileBytes("report.txt"), "holds more than 6000 edges, left"), 1);
}

}  // namespace
}  // namespace ostrand
