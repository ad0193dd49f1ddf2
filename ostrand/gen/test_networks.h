// Test support of the generation tests (header-only): small networks
// written as network files, and polygon files written from lines.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/bgr_tms.h"
#include "ostrand/gen/taxiway_list.h"
#include "ostrand/gen/tile_grid.h"

namespace ostrand::testing {

// Base of the generation tests: a scratch folder as working directory, the
// report and the generation state reset.
class GenerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetReportState();
    ResetGenerationState();
  }
  ScratchDir dir;
};

// How often `needle` occurs in `text` (overlapping matches counted).
inline int Occurrences(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

struct FixtureVertex {
  double x = 0, y = 0, z = 0;
};

struct FixtureEdge {
  int32_t from = 0, to = 0, width = 50, type = 1, flags = 0;
};

struct FixtureNetwork {
  double lat = 180000.0;
  double lon = -300000.0;
  std::vector<FixtureVertex> vertices;
  std::vector<FixtureEdge> edges;

  int32_t Vertex(double x, double z) {
    vertices.push_back({x, 0.0, z});
    return static_cast<int32_t>(vertices.size()) - 1;
  }
  void Add(int32_t from, int32_t to, int32_t width = 50, int32_t type = 1, int32_t flags = 0) {
    edges.push_back({from, to, width, type, flags});
  }
  // Edge between two new vertices.
  void Line(double x1, double z1, double x2, double z2, int32_t width = 50, int32_t type = 1,
            int32_t flags = 0) {
    const int32_t a = Vertex(x1, z1);
    Add(a, Vertex(x2, z2), width, type, flags);
  }

  void Write(const std::string& name) const {
    BgrFile file;
    ASSERT_EQ(file.OpenWrite(name), 1);
    file.WriteOrigin(lat, lon, 0.0);
    for (const auto& v : vertices) file.WriteNode(v.x, v.y, v.z);
    for (const auto& e : edges) {
      // Types the writer refuses are written by hand.
      if (e.type == 0 || e.type == 1) {
        file.WriteEdge(e.from, e.to, e.width, e.type, 0, e.flags);
      } else {
        file.WriteTag("<edge>");
        file.WriteInt(e.from);
        file.WriteInt(e.to);
        file.WriteTag("<bgno>");
        file.WriteTag("<thck>");
        file.WriteInt(WidthCodeOf(e.width) * 65536 + e.flags);
        file.WriteTag("<type>");
        file.WriteInt(e.type);
        file.WriteTag("<endo>");
      }
    }
    file.Close();
  }
};

// Everything a network file holds, read back.
struct ReadBackNetwork {
  double lat = 0, lon = 0, elev = 0;
  std::vector<FixtureVertex> vertices;
  std::vector<BgrEdge> edges;
};

inline ReadBackNetwork ReadNetwork(const std::string& name) {
  ReadBackNetwork out;
  BgrFile file;
  if (!file.OpenRead(name)) return out;
  file.ReadOrigin(out.lat, out.lon, out.elev);
  FixtureVertex v;
  while (file.ReadNode(v.x, v.y, v.z)) out.vertices.push_back(v);
  for (;;) {
    BgrEdge e;
    if (!file.ReadEdge(e)) break;
    out.edges.push_back(e);
  }
  file.Close();
  return out;
}

// A network built directly in working units (1/256 ft) and made ready for
// the generation stages as the pipeline does: edge pre-pass (widths given
// in feet), degrees and runways, short isolated stubs.
struct WorkingNetwork {
  static constexpr int32_t kFt = 256;
  TaxiwayList net;

  // A vertex at (x, z) feet plus extra units.
  int32_t V(double xFt, double zFt, int32_t extraX = 0, int32_t extraZ = 0) {
    return net.points.Add(static_cast<int32_t>(std::lround(xFt * kFt)) + extraX, 0,
                          static_cast<int32_t>(std::lround(zFt * kFt)) + extraZ, -1);
  }
  void E(int32_t from, int32_t to, int32_t type = 1, int32_t widthFt = 50, int32_t flags = 0) {
    net.edges[static_cast<size_t>(net.edgeCount++)] = {from, to, widthFt, type, flags};
  }
  void Prepare() {
    PrepareEdges(net);
    CountDegreesAndRunways(net);
    MarkIsolatedStubs(net);
  }
};

}  // namespace ostrand::testing
