#include "ostrand/gen/bgr_tms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/groundnet_converter.h"
#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/grid_inspection.h"
#include "ostrand/gen/tile_clipping.h"
#include "ostrand/gen/network_fixture.h"
#include "ostrand/gen/tile_grid.h"
#include "ostrand/surface/surface_file.h"

namespace ostrand {
namespace {

using testing::CaptureConsole;
using testing::FixtureNetwork;
using testing::ReadFileBytes;
using testing::ReadNetwork;
using testing::ScratchDir;
using testing::WriteFileBytes;

// Everything a surface file holds, read back tile by tile.
using Outlines = std::vector<std::vector<PlanePoint>>;
struct SurfaceTile {
  int32_t x = 0, z = 0;
  Outlines pave, centre, lights;
  std::vector<int32_t> lightTypes;
};

struct SurfaceRead {
  double lat = 0, lon = 0, elev = 0;
  float tileFeet = 0;
  double lowLeft[3] = {0, 0, 0};
  std::vector<SurfaceTile> tiles;
};

// A corner outside its section's table (a table the reader refused, or
// one cut short) fails the test.
std::vector<PlanePoint> PolygonCorners(const SurfaceFile& f) {
  std::vector<PlanePoint> out;
  for (int32_t i = 0; i < f.polygon.vertexCount(); ++i) {
    const int32_t index = f.polygon.vertices[static_cast<size_t>(i)].point;
    EXPECT_TRUE(f.points.Holds(index)) << "corner outside the section's table";
    const IntPoint& p = f.points.Holds(index) ? f.points[index] : IntPoint();
    out.push_back({p.x, p.z});
  }
  return out;
}

SurfaceRead ReadSurface(const std::string& name) {
  SurfaceRead r;
  SurfaceFile f;
  if (!f.Open(name)) return r;
  f.ReadOrigin(r.lat, r.lon, r.elev);
  f.ReadGrid();
  r.tileFeet = f.tileFeet;
  for (int k = 0; k < 3; ++k) r.lowLeft[k] = f.lowLeft[k];
  while (f.ReadTile()) {
    SurfaceTile t;
    t.x = f.tileX;
    t.z = f.tileZ;
    for (int guard = 0; guard < 100000; ++guard) {
      // As the dump does: a pass that moved without a record (it ended a
      // section) is followed by another, for further sections of a kind.
      const long start = f.Tell();
      if (f.ReadPave()) {
        t.pave.push_back(PolygonCorners(f));
      } else if (f.ReadEdgeMark()) {
        ADD_FAILURE() << "edge marking polygon";
      } else if (f.ReadCentre()) {
        t.centre.push_back(PolygonCorners(f));
      } else if (f.ReadLights()) {
        t.lights.emplace_back();
        for (int32_t i = 0; i < f.points.count; ++i) {
          t.lights.back().push_back({f.points[i].x, f.points[i].z});
        }
        t.lightTypes.push_back(f.lightType);
      } else if (f.Tell() == start) {
        break;
      }
    }
    if (!f.ReadTileEnd()) break;
    r.tiles.push_back(t);
  }
  return r;
}

// Every one of the 64 tiles of the file opens all four sections.
void ExpectFourSectionsPerTile(const std::string& name) {
  const std::string bytes = ReadFileBytes(name);
  for (std::string tag : {"<pave>", "<edmk>", "<cntr>", "<lite>"}) {
    EXPECT_EQ(testing::Occurrences(bytes, tag + '\0'), 64) << tag;
  }
}

class BgrTmsTest : public testing::GenerationTest {
 protected:
  CaptureConsole console;
};

// Area of the pavement (or centre) polygons of every tile, square units.
double AreaOf(const SurfaceRead& s, Outlines SurfaceTile::*layer = &SurfaceTile::pave) {
  double area = 0;
  for (const auto& t : s.tiles) {
    for (const auto& p : t.*layer) area += std::fabs(testing::SignedArea(p));
  }
  return area;
}

TEST_F(BgrTmsTest, StraightTaxiwayEndToEnd) {
  FixtureNetwork n;
  n.Line(0, 0, 1000, 0, 50);
  n.Write("ONE.BGR");
  EXPECT_EQ(BgrTms("ONE.BGR"), 1);
  EXPECT_EQ(console.Text(),
            "Load(ONE.BGR) points=2 edges=1\n"
            "SnapEndPointsToRunways()\n"
            "MakeTaxiwayTaxiwayIntersections() edges=1\n"
            "SnapEndPointsToTaxiways()\n"
            "GenerateApron(0)\n"
            "GenerateTaxiPolygons()\n"
            "GenerateIsYellow()\n"
            "GenerateApron(1)\n"
            "GeneratePlyLights()\n"
            "GenerateOutputFile(ONE.TMS)\n");
  const SurfaceRead s = ReadSurface("ONE.TMS");
  EXPECT_DOUBLE_EQ(s.lat, n.lat);
  EXPECT_DOUBLE_EQ(s.lon, n.lon);
  ASSERT_EQ(s.tiles.size(), 64u);
  for (size_t i = 0; i < 64; ++i) EXPECT_EQ(s.tiles[i].x * 8 + s.tiles[i].z, static_cast<int>(i));
  // 2000 ft of network and margins: the smallest tiles, 500 ft.
  EXPECT_EQ(s.tileFeet, 500.0f);
  EXPECT_EQ(s.lowLeft[0], -500.0);
  EXPECT_EQ(s.lowLeft[2], -500.0);
  EXPECT_NEAR(AreaOf(s) / 65536.0, 1000.0 * 50.0, 5.0);
  EXPECT_TRUE(testing::EveryPieceInsideItsTile());
  ExpectFourSectionsPerTile("ONE.TMS");
}

TEST_F(BgrTmsTest, MissingNetworkStillWritesEmptyTiles) {
  EXPECT_EQ(BgrTms("GONE.BGR"), 0);
  EXPECT_EQ(console.Text().rfind("ERROR: BgrTms source file 'GONE.BGR' not found\n"
                                 "Load(GONE.BGR) points=0 edges=0\n",
                                 0),
            0u);
  ExpectFourSectionsPerTile("GONE.TMS");
  const SurfaceRead s = ReadSurface("GONE.TMS");
  ASSERT_EQ(s.tiles.size(), 64u);
  for (const auto& t : s.tiles) EXPECT_TRUE(t.pave.empty() && t.centre.empty() && t.lights.empty());
  EXPECT_FALSE(std::filesystem::exists("GONE.BGR"));
}

// A small airport: a runway, a taxiway ending 100 ft short of it, two
// crossing taxiways, a centre-line-only edge, a short isolated stub, an
// apron and light strings.
FixtureNetwork SmallAirport() {
  FixtureNetwork n;
  n.Line(0, 0, 8000, 0, 150, 0);
  n.Line(3000, -100, 3000, -3000, 75);
  n.Line(1000, -2000, 6000, -2000, 75, 1, 0x0F);
  n.Line(1000, -2600, 2000, -2600, 50, 1, 0x12);  // only the low four bits count: centre line only
  n.Line(5000, -2800, 5400, -2800);               // isolated and short
  return n;
}

constexpr const char* kSmallAirportPolygons =
    "ORG 1 2\n"
    "POI 6500 -3000\nPOI 7500 -3000\nPOI 7500 -2000\nPOI 6500 -2000\nPLY \"apron\"\n"
    "LGT 1 0 -500 8000 -500 81\n"
    "LGT 2 7000 -1000\n";

TEST_F(BgrTmsTest, SmallAirportEndToEnd) {
  SmallAirport().Write("AP.BGR");
  WriteFileBytes("AP.PLY", kSmallAirportPolygons);
  ASSERT_EQ(BgrTms("AP.BGR"), 1);
  const std::string saved = ReadFileBytes("AP.BGR");
  // The stub and the centre-line-only edge are no longer plain taxiways.
  EXPECT_NE(console.Text().find("MakeTaxiwayTaxiwayIntersections() edges=2\n"), std::string::npos);

  // Every piece of pavement handed to the clipping is written.
  const SurfaceRead s = ReadSurface("AP.TMS");
  ASSERT_EQ(s.tiles.size(), 64u);
  EXPECT_EQ(s.tileFeet, 1125.0f);  // (8000 ft + two margins of 500 ft) / 8
  EXPECT_TRUE(testing::EveryPieceInsideItsTile());
  size_t pieces = 0;
  for (const auto& t : s.tiles) pieces += t.pave.size();
  EXPECT_NEAR(AreaOf(s), Grid().handedArea[kPavementLayer], 0.5 * Grid().tileSize * pieces);
  // The apron (1000 x 1000 ft) is there, with the taxiways around it.
  EXPECT_GT(AreaOf(s) / 65536.0, 1000.0 * 1000.0);

  // Light strings of the polygon file: type 1 cut at the column borders,
  // and one single light of type 2.
  int typeOne = 0, typeTwo = 0;
  for (const auto& t : s.tiles) {
    for (size_t i = 0; i < t.lights.size(); ++i) {
      if (t.lightTypes[i] == 1) ++typeOne;
      if (t.lightTypes[i] == 2) {
        ++typeTwo;
        EXPECT_EQ(t.lights[i].size(), 2u);
      }
    }
  }
  EXPECT_GE(typeOne, 6);
  EXPECT_EQ(typeTwo, 1);

  // The saved network: snapped, split, stub and connectors left out, the
  // centre-line-only edge back as a 100-ft taxiway, flags cleared.
  const auto back = ReadNetwork("AP.BGR");
  EXPECT_DOUBLE_EQ(back.lat, 180000.0);
  // Two connector ends 200 ft either side on the runway, then the crossing.
  ASSERT_EQ(back.vertices.size(), 13u);
  const auto xz = [&](size_t i) { return std::pair(back.vertices[i].x, back.vertices[i].z); };
  EXPECT_EQ(xz(2), std::pair(3000.0, 0.0));  // the dead end now lies on the runway
  EXPECT_EQ(xz(10), std::pair(2800.0, 0.0));
  EXPECT_EQ(xz(11), std::pair(3200.0, 0.0));
  EXPECT_EQ(xz(12), std::pair(3000.0, -2000.0));
  ASSERT_EQ(back.edges.size(), 6u);
  for (const auto& e : back.edges) {
    EXPECT_EQ(e.sp, 0);
    EXPECT_TRUE(e.type == 0 || e.type == 1);
  }
  EXPECT_EQ(back.edges[3].width, 100);  // the centre-line-only edge
  EXPECT_EQ(back.edges[3].from, 6);

  // A second run leaves the saved network unchanged.
  ASSERT_EQ(BgrTms("AP.BGR"), 1);
  EXPECT_EQ(ReadFileBytes("AP.BGR"), saved);
}

// Widths that are no multiple of 25 ft keep their width across saves: a
// 60-ft taxiway stays 60 ft however often the generation rewrites it.
TEST_F(BgrTmsTest, RepeatedRunsKeepOddWidths) {
  FixtureNetwork n;
  n.Line(0, 0, 1000, 0, 60);
  n.Write("W.BGR");
  for (int run = 0; run < 3; ++run) {
    ASSERT_EQ(BgrTms("W.BGR"), 1);
    const auto back = ReadNetwork("W.BGR");
    ASSERT_EQ(back.edges.size(), 1u);
    EXPECT_EQ(back.edges[0].width, 60) << "run " << run;
  }
}

TEST_F(BgrTmsTest, ManyCentreLineOnlyEdgesAreLeftOutOfTheSave) {
  for (int count : {99, 100}) {
    FixtureNetwork n;
    for (int i = 0; i < count; ++i) n.Line(i * 100.0, 0, i * 100.0, 1000, 50, 1, 2);
    n.Line(0, 5000, 1000, 5000, 50, 1, 0);
    n.Write("Y.BGR");
    ASSERT_EQ(BgrTms("Y.BGR"), 1);
    const auto back = ReadNetwork("Y.BGR");
    EXPECT_EQ(back.edges.size(), count < 100 ? static_cast<size_t>(count) + 1 : 1u) << count;
    // Each is drawn as a 1-ft strip: centre marking of about 1000 sq ft.
    const double centre = AreaOf(ReadSurface("Y.TMS"), &SurfaceTile::centre);
    EXPECT_NEAR(centre / 65536.0, count * 1000.0 + 1000.0, count * 10.0 + 10) << count;
  }
}

TEST_F(BgrTmsTest, StubLimitIs500FeetInclusive) {
  for (int32_t extra : {0, 1}) {
    ResetGenerationState();
    testing::WorkingNetwork w;
    w.E(w.V(0, 0), w.V(500, 0, extra));
    w.Prepare();
    EXPECT_EQ(w.net.edges[0].type, extra == 0 ? kStub : kTaxiway) << extra;
  }
}

// Little-endian encodings of the file layout.
std::string Tag(const char* text) { return std::string(text) + std::string(1, '\0'); }
std::string I32(int32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[static_cast<size_t>(i)] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 255);
  return b;
}
template <typename T>
std::string Real(T v) {
  std::string b(sizeof v, '\0');
  std::memcpy(b.data(), &v, sizeof v);
  return b;
}

TEST_F(BgrTmsTest, EmptyGenerationBytes) {
  FixtureNetwork n;
  n.lat = 10.5;
  n.lon = -20.25;
  n.Vertex(0, 0);
  n.Vertex(0, 0);
  n.Add(0, 1, 50, 5, 0);  // a type no stage knows: nothing is drawn
  n.Write("E.BGR");
  ASSERT_EQ(BgrTms("E.BGR"), 1);
  // Nothing widens the bounding box from its start values: the smallest
  // tiles, and the lower-left corner where the empty box leaves it.
  const double corner = (9999999.0 - 128000.0) / 256.0;
  std::string expected = Tag("<bgno>") + Tag("<orgn>") + Real(10.5) + Real(-20.25) + Real(0.0) +
                         I32(1) + Tag("<tlxz>") + I32(8) + I32(8) + Tag("<feet>") + Real(500.0f) +
                         Tag("<lowl>") + Real(corner) + Real(0.0) + Real(corner);
  const std::string emptyPolygons = I32(24) + I32(20) + I32(65536) + I32(2) + I32(0) + I32(0) + I32(0);
  for (int32_t x = 0; x < 8; ++x) {
    for (int32_t z = 0; z < 8; ++z) {
      expected += Tag("<tile>") + Tag("<bgno>") + Tag("<indx>") + I32(x) + I32(z);
      expected += Tag("<pave>") + emptyPolygons + Tag("<edmk>") + emptyPolygons;
      expected += Tag("<cntr>") + emptyPolygons + Tag("<lite>") + I32(4) + I32(0);
      expected += Tag("<endo>");
    }
  }
  expected += Tag("<endo>");
  const std::string got = ReadFileBytes("E.TMS");
  EXPECT_EQ(got.size(), expected.size());
  const auto diff = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
  EXPECT_TRUE(diff.first == got.end()) << "first difference at byte " << (diff.first - got.begin());
}

// A layer that holds points but no polygons still opens its section: every
// tile keeps all four.
TEST_F(BgrTmsTest, LayersWithPointsButNoPolygonsKeepTheirSections) {
  for (int layer = 0; layer < 4; ++layer) Grid().Layer(3, 5, layer).Current().points.Add(256, 0, 512, 0);
  const double lowLeft[3] = {0.0, 0.0, 0.0};
  TaxiwayList net;
  WriteSurfaceFile(net, "P.TMS", 500.0f, lowLeft);
  ExpectFourSectionsPerTile("P.TMS");
}

// A tile filled to several times what one point table holds goes on in
// further sections of its kind: every piece is filed and written whole, and
// the reader takes every section (no corner outside its table).
TEST_F(BgrTmsTest, FullTablesGoOnInFurtherSections) {
  struct Case { int layer; int32_t pieces, size, sections; Outlines SurfaceTile::*read; } cases[] = {
      {kPavementLayer, 2500, 10, 5, &SurfaceTile::pave},   // 10000 separate corners
      {kCentreLayer, 3600, 15, 2, &SurfaceTile::centre},  // a mesh of 3721 corners
      {kLightsLayer, 3000, 10, 3, &SurfaceTile::lights},  // 6000 light ends
  };
  const char* tags[] = {"<pave>", "<edmk>", "<cntr>", "<lite>"};
  for (const Case& c : cases) {
    ResetGenerationState();
    Grid().tileSize = 128000;
    for (int32_t i = 0, e = c.size; i < c.pieces; ++i) {
      const int32_t x = 1000 + i % 60 * 15, z = 1000 + i / 60 * 15;
      if (c.layer == kLightsLayer) AddLightLine(c.layer, x, z, x + e, z, 356);
      else AddQuad(c.layer, {x, z}, {x + e, z}, {x + e, z + e}, {x, z + e});
    }
    EXPECT_EQ(Grid().Layer(0, 0, c.layer).SectionCount(), c.sections) << c.layer;
    const double lowLeft[3] = {0.0, 0.0, 0.0};
    WriteSurfaceFile(TaxiwayList(), "F.TMS", 500.0f, lowLeft);
    EXPECT_EQ(testing::Occurrences(ReadFileBytes("F.TMS"), Tag(tags[c.layer])), 63 + c.sections);
    const SurfaceRead s = ReadSurface("F.TMS");
    ASSERT_EQ(s.tiles.size(), 64u) << c.layer;
    EXPECT_EQ((s.tiles[0].*c.read).size(), static_cast<size_t>(c.pieces)) << c.layer;
    EXPECT_EQ(AreaOf(s, c.read), c.layer == kLightsLayer ? 0.0 : 1.0 * c.pieces * c.size * c.size) << c.layer;
  }
  EXPECT_EQ(testing::Occurrences(ReadFileBytes("report.txt"), "table full"), 0);
}

// Whatever the stages generate lies in its own tile, also beyond the
// taxiways and aprons, or far from the network's origin; the pavement and
// centre marking handed to the clipping are written; no piece is a sliver.
TEST_F(BgrTmsTest, EverythingGeneratedLiesInItsTile) {
  struct Case { const char* name; std::vector<std::array<double, 5>> lines; const char* ply; double lowX; };
  const Case cases[] = {  // lines: x1 z1 x2 z2 flags
      {"light string", {{5000, 5000, 6000, 5000, 15}}, "LGT 3 0 0 1000 0 11\n", -500},
      {"centre-line-only strip", {{0, 0, 1000, 0, 15}, {0, 8000, 3000, 8000, 2}}, "", -500},
      {"far from the origin", {{50000, 50000, 51000, 50000, 15}}, "", 49500},
      {"45-degree edge", {{0, 0, 14142, 14142, 15}}, "", -500},
  };
  for (const Case& c : cases) {
    FixtureNetwork n;
    for (const auto& l : c.lines) n.Line(l[0], l[1], l[2], l[3], 50, 1, static_cast<int32_t>(l[4]));
    n.Write("G.BGR");
    WriteFileBytes("G.PLY", c.ply);
    ASSERT_EQ(BgrTms("G.BGR"), 1) << c.name;
    const SurfaceRead s = ReadSurface("G.TMS");
    EXPECT_TRUE(testing::EveryPieceInsideItsTile()) << c.name;
    EXPECT_EQ(s.lowLeft[0], c.lowX) << c.name;
    size_t slivers = 0;
    for (const auto& t : s.tiles)
      for (const Outlines* group : {&t.pave, &t.centre})
        for (const auto& p : *group) slivers += testing::SignedArea(p) == 0 ? 1 : 0;
    EXPECT_EQ(slivers, 0u) << c.name;
    const double handed = Grid().handedArea[kPavementLayer] + Grid().handedArea[kCentreLayer];
    // Crossing points are rounded to whole units.
    EXPECT_NEAR(AreaOf(s) + AreaOf(s, &SurfaceTile::centre), handed, 1e-4 * handed) << c.name;
  }
}

// The public ground networks of real airports, stands as small aprons
// (skipped without them): no table reports full, every piece lies in its
// tile, and the file holds the pavement handed to the clipping (but for the
// rounding of crossing points to whole units: a few square feet).
TEST_F(BgrTmsTest, RealAirportsKeepEveryPiece) {
  const std::string realData = testing::RealDataDir();
  if (realData.empty()) GTEST_SKIP() << "no real airport data";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(realData + "/groundnet", ec)) {
    const std::string icao = entry.path().filename().string().substr(0, 4);
    if (bench::ConvertGroundnet(entry.path().string(), "R.BGR", "R.PLY").vertices == 0) continue;
    ASSERT_EQ(BgrTms("R.BGR"), 1) << icao;
    EXPECT_TRUE(testing::EveryPieceInsideItsTile()) << icao;
    const double handed = Grid().handedArea[kPavementLayer];
    EXPECT_NEAR(AreaOf(ReadSurface("R.TMS")), handed, 2e-5 * handed) << icao;
  }
  EXPECT_EQ(testing::Occurrences(ReadFileBytes("report.txt"), "table full"), 0);
}

TEST_F(BgrTmsTest, BrokenNetworksRunToTheEnd) {
  FixtureNetwork n;
  const int32_t a = n.Vertex(0, 0), b = n.Vertex(1000, 0), c = n.Vertex(1000, 0);
  n.Add(a, b);
  n.Add(b, c);        // zero length
  n.Add(a, 77);       // names a missing vertex
  n.Add(-5, b, 150, 0);
  n.Add(b, 100000, 150, 0);
  n.Add(c, a, 50, 1, 0x0F);
  n.Write("BR.BGR");
  ASSERT_EQ(BgrTms("BR.BGR"), 1);
  const auto back = ReadNetwork("BR.BGR");
  EXPECT_EQ(back.vertices.size(), 3u);
  EXPECT_EQ(back.edges.size(), 2u);  // the two sound ones
  for (const auto& e : back.edges) {
    EXPECT_LT(e.from, 3);
    EXPECT_LT(e.to, 3);
  }
}

TEST_F(BgrTmsTest, DamagedPolygonFilesRunToTheEnd) {
  const std::string whole = std::string(kSmallAirportPolygons) + std::string(300, 'P') + "\r\n" +
                            "POI 99999999999999999999 -99999999999999999999\nPLY x\n" +
                            "LGT 1 -99999999999 0 99999999999 0 5\nLGT x\n";
  for (size_t cut = 0; cut <= whole.size(); cut += 7) {
    FixtureNetwork n;
    n.Line(0, 0, 1000, 0);
    n.Write("D.BGR");
    WriteFileBytes("D.PLY", whole.substr(0, cut));
    ASSERT_EQ(BgrTms("D.BGR"), 1) << cut;
    EXPECT_EQ(ReadSurface("D.TMS").tiles.size(), 64u) << cut;
  }
}

TEST_F(BgrTmsTest, LargestNetworkRunsToTheEnd) {
  // 12000 vertices on a grid 120 ft apart and 6000 edges between
  // neighbours, every fifth a dead-end spur; more than the tile tables hold.
  FixtureNetwork n;
  const int columns = 110;
  for (int i = 0; i < kMaxVertices; ++i) n.Vertex((i % columns) * 120.0, (i / columns) * 120.0);
  for (int i = 0; static_cast<int>(n.edges.size()) < kMaxEdges; ++i) {
    if ((i + 1) % columns != 0) n.Add(i, i + 1, i % 7 == 0 ? 150 : 50, i < columns ? 0 : 1, i % 16);
  }
  n.Write("BIG.BGR");
  ASSERT_EQ(BgrTms("BIG.BGR"), 1);
  EXPECT_NE(console.Text().find("Load(BIG.BGR) points=12000 edges=6000\n"), std::string::npos);
  EXPECT_EQ(ReadSurface("BIG.TMS").tiles.size(), 64u);
  EXPECT_EQ(ReadNetwork("BIG.BGR").vertices.size(), static_cast<size_t>(kMaxVertices));
}

TEST_F(BgrTmsTest, ProgramRunsTheGeneration) {
  FixtureNetwork n;
  n.Line(0, 0, 1000, 0, 50);
  n.Write("P.BGR");
  const auto ok = testing::RunOstrand({"-tm", "P.BGR"});
  EXPECT_EQ(ok.status, 1);
  EXPECT_NE(ok.output.find("GenerateOutputFile(P.TMS)\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists("P.TMS"));
  const auto missing = testing::RunOstrand({"-tm", "Q.BGR"});
  EXPECT_EQ(missing.status, 0);
  EXPECT_NE(missing.output.find("ERROR: BgrTms source file 'Q.BGR' not found"), std::string::npos);
}

}  // namespace
}  // namespace ostrand
