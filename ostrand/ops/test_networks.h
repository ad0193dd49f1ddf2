// Test fixtures of the network operations (header-only, test programs
// only): small networks described as tables and turned into the exact bytes
// that BgrFile writes, and a check that a failed in-place operation left
// its target as it was.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ostrand/bgr/test_bytes.h"
#include "ostrand/frame/file_wrappers.h"
#include "ostrand/frame/test_support.h"

namespace ostrand::testing {

struct NetVertex { double x = 0, y = 0, z = 0; };

struct NetEdge {
  int32_t from = 0, to = 0;
  int32_t code = 16968;  // 50 feet
  int32_t sp = 0;
  int32_t type = 1;
};

struct Net {
  double lat = 184827.0, lon = 3600.0, elev = 0.0;
  bool origin = true;
  std::vector<NetVertex> vertices;
  std::vector<NetEdge> edges;
  std::string trailer;  // raw bytes after the edges, before the closing tag
};

inline Net MakeNet(std::vector<NetVertex> v, std::vector<NetEdge> e, std::string trailer = "") {
  return {.vertices = std::move(v), .edges = std::move(e), .trailer = std::move(trailer)};
}

inline std::string NetBytes(const Net& net) {
  Bytes b;
  b.Tag("<bgno>");
  if (net.origin) b.Origin(net.lat, net.lon, net.elev);
  for (const NetVertex& v : net.vertices) b.Node(v.x, v.y, v.z);
  for (const NetEdge& e : net.edges) {  // the width word: code in the high half, flags in the low
    b.Edge(e.from, e.to, static_cast<int32_t>((static_cast<uint32_t>(e.code) << 16) | (e.sp & 0xFFFF)), e.type);
  }
  b.Raw(net.trailer);
  b.Tag("<endo>");
  return b.str();
}

// A network of n vertices on a grid (none at the origin) and a chain of
// edges 0-1, 2-3, ...
inline Net GridNet(int32_t n) {
  Net net;
  for (int32_t i = 0; i < n; ++i) {
    net.vertices.push_back({100.0 + 10.0 * (i % 100), 1.0, 100.0 + 10.0 * (i / 100)});
  }
  for (int32_t i = 0; i + 1 < n; i += 2) net.edges.push_back({i, i + 1});
  return net;
}

// After a failed in-place operation: target unchanged, nothing staged left.
inline void ExpectUntouched(const std::string& name, const std::string& bytes) {
  EXPECT_EQ(ReadFileBytes(name), bytes) << name;
  EXPECT_FALSE(StagedFileLeft());
}

}  // namespace ostrand::testing
