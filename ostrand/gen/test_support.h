// Test support of the generation tests: expected texts kept in testdata/,
// and the tile grid written out as text for them.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ostrand/frame/test_support.h"
#include "ostrand/gen/grid_inspection.h"

namespace ostrand::testing {

// Compares `got` with the file of that name in testdata/; with
// OSTRAND_WRITE_EXPECTED set in the environment the file is written instead.
inline void ExpectMatchesFile(const std::string& got, const std::string& name) {
  const std::string path = OSTRAND_SOURCE_DIR "/ostrand/gen/testdata/" + name;
  if (std::getenv("OSTRAND_WRITE_EXPECTED") != nullptr) WriteFileBytes(path, got);
  EXPECT_EQ(got, ReadFileBytes(path)) << "differs from " << path;
}

// Every piece of every layer filed in the grid, one line each: layer,
// tile, attribute and corners.
inline std::string FiledPiecesText() {
  std::string text;
  for (int layer = 0; layer < kLayersPerTile; ++layer) {
    for (const FiledPiece& p : FiledPieces(layer)) {
      text += std::to_string(layer) + " " + std::to_string(p.column) + "," + std::to_string(p.row) +
              " " + std::to_string(p.attribute) + ":";
      for (const auto& q : p.corners) text += " " + std::to_string(q.x) + " " + std::to_string(q.z);
      text += "\n";
    }
  }
  return text;
}

}  // namespace ostrand::testing
