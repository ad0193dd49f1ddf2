// Helpers for the tests of the network operations (header-only, test
// programs only).
#pragma once

#include <cstdint>
#include <vector>

#include "ostrand/ops/bgr_merge.h"
#include "ostrand/ops/test_networks.h"

namespace ostrand::testing {

// The network as a purge must leave it, found with the plain search of
// FindOrAddPoint: vertex 0 at the origin, then the ends of the edges in
// order, folded within 5 feet.
inline Net PlainPurge(const Net& net) {
  std::vector<DoublePoint> source, kept(kMaxDoublePoints);
  for (const NetVertex& v : net.vertices) source.push_back({v.x, v.y, v.z});
  const int32_t n = static_cast<int32_t>(source.size());
  int32_t count = 1;
  Net purged = net;
  for (NetEdge& e : purged.edges) {
    e.from = FindOrAddPoint(e.from, source.data(), n, kept.data(), count, 5.0);
    e.to = FindOrAddPoint(e.to, source.data(), n, kept.data(), count, 5.0);
  }
  purged.vertices.clear();
  for (int32_t k = 0; k < count; ++k) purged.vertices.push_back({kept[k].x, kept[k].y, kept[k].z});
  return purged;
}

}  // namespace ostrand::testing
