#include "ostrand/gen/bgr_tms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/grid_inspection.h"
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
struct SurfaceTile {
  int32_t x = 0, z = 0;
  std::vector<std::string> sections;  // tags in file order
  std::vector<std::vector<PlanePoint>> pave, centre;
  std::vector<std::vector<PlanePoint>> lights;
  std::vector<int32_t> lightTypes;
};

struct SurfaceRead {
  double lat = 0, lon = 0, elev = 0;
  float tileFeet = 0;
  double lowLeft[3] = {0, 0, 0};
  std::vector<SurfaceTile> tiles;
};

std::vector<PlanePoint> PolygonCorners(const SurfaceFile& f) {
  std::vector<PlanePoint> out;
  for (int32_t i = 0; i < f.polygon.vertexCount(); ++i) {
    const IntPoint& p = f.points[f.polygon.vertices[static_cast<size_t>(i)].point];
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
      if (f.ReadPave()) {
        t.pave.push_back(PolygonCorners(f));
      } else if (f.ReadEdgeMark()) {
        ADD_FAILURE() << "edge marking polygon";
      } else if (f.ReadCentre()) {
        t.centre.push_back(PolygonCorners(f));
      } else if (f.ReadLights()) {
        std::vector<PlanePoint> l;
        for (int32_t i = 0; i < f.points.count; ++i) l.push_back({f.points[i].x, f.points[i].z});
        t.lights.push_back(l);
        t.lightTypes.push_back(f.lightType);
      } else {
        break;
      }
    }
    if (!f.ReadTileEnd()) break;
    r.tiles.push_back(t);
  }
  return r;
}

class BgrTmsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetReportState(); }
  ScratchDir dir;
};

TEST_F(BgrTmsTest, StraightTaxiwayEndToEnd) {
  FixtureNetwork n;
  n.Line(0, 0, 1000, 0, 50);
  n.Write("ONE.BGR");
  CaptureConsole console;
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
  EXPECT_EQ(s.tiles.size(), 64u);
  double area = 0;
  for (const auto& t : s.tiles) {
    for (const auto& p : t.pave) area += std::fabs(testing::SignedArea(p));
  }
  EXPECT_NEAR(area / 65536.0, 1000.0 * 50.0, 5.0);
}

}  // namespace
}  // namespace ostrand
