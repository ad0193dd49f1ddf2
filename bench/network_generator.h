// Synthetic airport networks for the benchmarks and the output checks: a
// grid-like network of whole-foot vertices and runway and taxiway edges,
// written through BgrFile exactly as the program writes its own networks,
// and a polygon file of aprons and light strings to go with the largest.
// Deterministic, so every run measures the same file.
#pragma once

#include <cstdint>
#include <string>

#include "ostrand/bgr/bgr_file.h"

namespace ostrand::bench {

// The largest network the program's tables hold.
inline constexpr int32_t kLargestVertices = 12000;
inline constexpr int32_t kLargestEdges = 6000;

// Writes a network of `vertices` vertices on a square grid 120 feet apart
// (with a few feet of deterministic jitter) and `edges` edges between grid
// neighbours: the first rows are runways 150 feet wide, the rest taxiways
// of 50 to 100 feet with pavement, centre-line and light flags. Edges run
// along the rows first, then along the columns; when the grid has fewer
// neighbour pairs than asked for, every pair gets an edge. True when the
// file was written.
inline bool WriteGridNetwork(const std::string& path, int32_t vertices = kLargestVertices,
                             int32_t edges = kLargestEdges) {
  BgrFile file;
  if (!file.OpenWrite(path)) return false;
  file.WriteOrigin(170828.5, -441515.25, 0.0);  // 47°27'08.5"N 122°38'35.25"W

  int32_t columns = 1;
  while (static_cast<int64_t>(columns) * columns < vertices) ++columns;
  uint32_t seed = 2463534242u;
  auto jitter = [&seed]() {  // xorshift32: -3..3 feet
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return static_cast<int32_t>(seed % 7) - 3;
  };
  for (int32_t i = 0; i < vertices; ++i) {
    const int32_t x = (i % columns) * 120 + jitter();
    const int32_t z = (i / columns) * 120 + jitter();
    file.WriteNode(static_cast<double>(x), 0.0, static_cast<double>(z));
  }

  const int32_t runwayRows = 2;
  int32_t written = 0;
  // Pass 0 joins each vertex to its right neighbour, pass 1 to the one above.
  for (int32_t pass = 0; pass < 2 && written < edges; ++pass) {
    for (int32_t i = 0; i < vertices && written < edges; ++i) {
      const int32_t next = pass == 0 ? i + 1 : i + columns;
      if (next >= vertices || (pass == 0 && next % columns == 0)) continue;
      const bool runway = pass == 0 && i / columns < runwayRows;
      const int32_t width = runway ? 150 : 50 + (i % 3) * 25;
      const int32_t sp = runway ? 0x9 : (i % 4 == 0 ? 0x7 : 0x3);
      file.WriteEdge(i, next, width, runway ? 0 : 1, 0, sp);
      ++written;
    }
  }
  return file.Close() == 1;
}

// The polygon file that goes with the largest network: 100 square aprons
// of 200 ft in a row south of the grid, and 500 light strings across it.
inline std::string LargestPolygonText() {
  std::string text = "ORG 170828.5 -441515.25\n";
  for (int i = 0; i < 100; ++i) {
    const int x = i * 130, z = -400;
    text += "POI " + std::to_string(x) + " " + std::to_string(z) + "\n";
    text += "POI " + std::to_string(x + 100) + " " + std::to_string(z) + "\n";
    text += "POI " + std::to_string(x + 100) + " " + std::to_string(z - 200) + "\n";
    text += "POI " + std::to_string(x + 50) + " " + std::to_string(z - 120) + "\n";
    text += "POI " + std::to_string(x) + " " + std::to_string(z - 200) + "\n";
    text += "PLY \"apron" + std::to_string(i) + "\"\n";
  }
  for (int i = 0; i < 500; ++i) {
    const int z = (i * 26) % 13000;
    text += "LGT " + std::to_string(i % 3) + " -100 " + std::to_string(z) + " 13200 " +
            std::to_string(13000 - z) + " 60\n";
  }
  return text;
}

}  // namespace ostrand::bench
