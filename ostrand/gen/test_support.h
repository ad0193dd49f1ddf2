// Test support of the generation tests (header-only): small networks
// written as network files or built in working units, the pieces filed in
// the tile grid with the checks every test of the grid makes, expected texts
// kept in testdata/, and the program's listings as they are compared.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ostrand/bgr/bgr_file.h"
#include "ostrand/frame/report.h"
#include "ostrand/frame/test_support.h"
#include "ostrand/gen/bgr_tms.h"
#include "ostrand/gen/generation_run.h"
#include "ostrand/gen/taxiway_list.h"
#include "ostrand/gen/tile_clipping.h"
#include "ostrand/gen/tile_grid.h"
#include "ostrand/surface/texture.h"

namespace ostrand::testing {
struct FiledPiece {
  int32_t column = 0, row = 0, attribute = 0;
  std::vector<PlanePoint> corners;
};

// Signed shoelace area in square working units.
inline double SignedArea(const std::vector<PlanePoint>& corners) {
  double sum = 0;
  for (size_t i = 0; i < corners.size(); ++i) {
    const PlanePoint &a = corners[i], &b = corners[(i + 1) % corners.size()];
    sum += static_cast<double>(a.x) * b.z - static_cast<double>(b.x) * a.z;
  }
  return sum / 2;
}

inline double TotalArea(const std::vector<FiledPiece>& pieces) {
  double sum = 0;
  for (const auto& p : pieces) sum += std::fabs(SignedArea(p.corners));
  return sum;
}

// Base of the generation tests: a scratch folder as working directory, the
// report reset, and a fresh run, whose grid the checks below read.
class GenerationTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetReportState(), NewRun(); }
  // A fresh run, for the next case of a table; it keeps its grid after
  // writing, for the checks below.
  GenerationRun& NewRun() {
    run = GenerationRun();
    run.keepGridAfterWriting = true;
    return run;
  }

  // Every polygon of one layer over the whole grid, in tile order (column
  // outer, row inner) and, within a tile, in the order they were filed.
  std::vector<FiledPiece> FiledPieces(int layer) {
    std::vector<FiledPiece> out;
    for (int32_t c = 0; c < kTilesPerSide; ++c) {
      for (int32_t r = 0; r < kTilesPerSide; ++r) {
        TileLayer& tileLayer = run.grid.Layer(c, r, layer);
        for (int32_t s = 0; s < tileLayer.SectionCount(); ++s) {
          TileSection& l = tileLayer.Section(s);
          const size_t first = out.size();
          for (TEXTURE* t = l.polygons.First(); t != nullptr; t = l.polygons.Next()) {
            FiledPiece p{c, r, t->header.attribute, {}};
            for (int32_t i = 0; i < t->vertexCount(); ++i) {
              const IntPoint& q = l.points[t->vertices[static_cast<size_t>(i)].point];
              p.corners.push_back({q.x, q.z});
            }
            // The list yields the last first.
            out.insert(out.begin() + static_cast<long>(first), p);
          }
        }
      }
    }
    return out;
  }

  // True when every corner lies in the closed square of the piece's tile,
  // widened by `slack` units: the clipping lets a piece reach a few units
  // over a border (it tests columns at min + 1 and max - 1, and cuts a lone
  // corner again only when it lies 5 units beyond the next border).
  bool InsideItsTile(const FiledPiece& p, int32_t slack = 5) const {
    const int64_t x0 = run.grid.OriginX() + int64_t{p.column} * run.grid.TileSize() - slack;
    const int64_t z0 = run.grid.OriginZ() + int64_t{p.row} * run.grid.TileSize() - slack;
    const int64_t size = run.grid.TileSize() + 2 * slack;
    for (const auto& q : p.corners)
      if (q.x < x0 || q.x > x0 + size || q.z < z0 || q.z > z0 + size) return false;
    return true;
  }

  // True when every piece of every layer lies in its tile.
  bool EveryPieceInsideItsTile() {
    for (int layer = 0; layer < kLayersPerTile; ++layer)
      for (const FiledPiece& p : FiledPieces(layer))
        if (!InsideItsTile(p)) return false;
    return true;
  }

  // Every piece of every layer filed in the grid, one line each: layer,
  // tile, attribute and corners.
  std::string FiledPiecesText() {
    std::string text;
    for (int layer = 0; layer < kLayersPerTile; ++layer) {
      for (const FiledPiece& p : FiledPieces(layer)) {
        text += std::to_string(layer) + " " + std::to_string(p.column) + "," +
                std::to_string(p.row) + " " + std::to_string(p.attribute) + ":";
        for (const auto& q : p.corners)
          text += " " + std::to_string(q.x) + " " + std::to_string(q.z);
        text += "\n";
      }
    }
    return text;
  }

  ScratchDir dir;
  GenerationRun run;
};

// How often `needle` occurs in `text` (overlapping matches counted).
inline int Occurrences(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

// How often the tag (with its NUL) occurs in the file: the vertices or the
// edges of a network file, the sections of a surface file.
inline int Tags(const std::string& file, const char* tag) {
  return Occurrences(ReadFileBytes(file), std::string(tag) + std::string(1, '\0'));
}

struct FixtureEdge { int32_t from = 0, to = 0, width = 50, type = 1, flags = 0; };

struct FixtureNetwork {
  double lat = 180000.0, lon = -300000.0;
  std::vector<std::pair<double, double>> vertices;  // x, z
  std::vector<FixtureEdge> edges;

  void Vertex(double x, double z) { vertices.emplace_back(x, z); }
  void Add(int32_t from, int32_t to, int32_t width = 50, int32_t type = 1, int32_t flags = 0) {
    edges.push_back({from, to, width, type, flags});
  }
  // Edge between two new vertices.
  void Line(double x1, double z1, double x2, double z2, int32_t width = 50, int32_t type = 1,
            int32_t flags = 0) {
    const auto a = static_cast<int32_t>(vertices.size());
    Vertex(x1, z1), Vertex(x2, z2), Add(a, a + 1, width, type, flags);
  }

  void Write(const std::string& name) const {
    BgrFile file;
    ASSERT_EQ(file.OpenWrite(name), 1);
    file.WriteOrigin(lat, lon, 0.0);
    for (const auto& [x, z] : vertices) file.WriteNode(x, 0.0, z);
    for (const auto& e : edges) {
      // Types the writer refuses are written by hand.
      if (e.type == 0 || e.type == 1) {
        file.WriteEdge(e.from, e.to, e.width, e.type, 0, e.flags);
      } else {
        file.WriteTag("<edge>"), file.WriteInt(e.from), file.WriteInt(e.to);
        file.WriteTag("<bgno>"), file.WriteTag("<thck>");
        file.WriteInt(WidthCodeOf(e.width) * 65536 + e.flags);
        file.WriteTag("<type>"), file.WriteInt(e.type), file.WriteTag("<endo>");
      }
    }
    file.Close();
  }
};

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
  void Prepare(GenerationRun& run) {
    PrepareEdges(net), CountDegreesAndRunways(run, net), MarkIsolatedStubs(run, net);
  }
};

// Compares `got` with the file of that name in testdata/; with
// OSTRAND_WRITE_EXPECTED set in the environment the file is written instead.
inline void ExpectMatchesFile(const std::string& got, const std::string& name) {
  const std::string path = OSTRAND_SOURCE_DIR "/ostrand/gen/testdata/" + name;
  if (std::getenv("OSTRAND_WRITE_EXPECTED") != nullptr) WriteFileBytes(path, got);
  EXPECT_EQ(got, ReadFileBytes(path)) << "differs from " << path;
}

// Standard output of a program run as compared: without the banner, the
// timing and blank lines.
inline std::string Tidy(const std::string& output) {
  std::istringstream in(output);
  std::string out;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line.rfind("TIME=", 0) != 0 && line.rfind(" ostrand - ", 0) != 0)
      out += line + "\n";
  return out;
}

// The tidied output of a program run.
inline std::string Output(const std::vector<std::string>& args) {
  return Tidy(RunOstrand(args).output);
}

}  // namespace ostrand::testing
