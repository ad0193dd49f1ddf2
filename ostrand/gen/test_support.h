// Test support of the generation tests: expected texts kept in testdata/,
// the tile grid written out as text for them, and the program's listings
// as they are compared.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"
#include "ostrand/gen/test_grid.h"

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

// Standard output of a program run as compared: without the banner, the
// timing and blank lines, nor tiles that hold nothing; with `tiles` false
// without any tile.
inline std::string Tidy(const std::string& output, bool tiles = true) {
  std::istringstream in(output);
  std::vector<std::string> lines;
  bool inTiles = false;
  for (std::string line; std::getline(in, line);) {
    const auto starts = [&line](const char* text) { return line.rfind(text, 0) == 0; };
    inTiles = (inTiles || starts("<indx>")) && !starts("Range");
    if (line.empty() || starts("TIME=") || starts(" ostrand - ") || (inTiles && !tiles)) continue;
    if (!lines.empty() && lines.back().rfind("<indx>", 0) == 0 &&
        (starts("<indx>") || starts("Range")))
      lines.pop_back();
    lines.push_back(line);
  }
  std::string out;
  for (const auto& line : lines) out += line + "\n";
  return out;
}

// The tidied output of a program run.
inline std::string Output(const std::vector<std::string>& args, bool tiles = true) {
  return Tidy(RunOstrand(args).output, tiles);
}

}  // namespace ostrand::testing
