// Helpers for the tests of the network operations (header-only, test
// programs only).
#pragma once

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "ostrand/frame/options.h"
#include "ostrand/ops/bgr_export.h"
#include "ostrand/ops/bgr_merge.h"
#include "ostrand/ops/bgr_move.h"
#include "ostrand/ops/bgr_script.h"
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

// The text printed that a field of a table row gives (';' ending a line),
// or nothing when the row has no such field.
inline std::string Printed(const std::vector<std::string>& row, size_t field) {
  std::string text = field < row.size() ? row[field] : "";
  return std::replace(text.begin(), text.end(), ';', '\n'), text;
}

// Runs the operation written as words, its name and then its arguments
// ("move a.bgr b.bgr 1.5 -512 0 -1"); a leading "print" sets the print flag.
inline int RunOperation(const std::string& words) {
  std::istringstream in(words);
  std::string op, a, b;
  if (in >> op && op == "print") Options().printFlag = 1, in >> op;
  in >> a;
  if (op == "merge" || op == "script" || op == "move" || op == "delete") in >> b;
  double v[4] = {0, 0, 0, 0};
  for (double& x : v) in >> x;
  const auto n = [&](int k) { return static_cast<int32_t>(v[k]); };
  if (op == "merge") return BgrMerge(a.c_str(), b.c_str());
  if (op == "purge") return BgrPurge(a.c_str());
  if (op == "replace") return BgrReplaceEdges(a.c_str(), n(0), n(1), n(2));
  if (op == "align") return BgrAlignNodes(a.c_str(), n(0), n(1), n(2));
  if (op == "width") return BgrWidthEdges(a.c_str(), n(0), n(1));
  if (op == "script") return BgrScript(a.c_str(), b.c_str());
  if (op == "move") return BgrMove(a.c_str(), b.c_str(), v[0], v[1], n(2), n(3));
  if (op == "delete") return BgrDeleteEdges(a.c_str(), b.c_str(), n(0), n(1));
  if (op == "txd") return BgrTxd(a.c_str());
  return op == "txp" ? BgrTxp(a.c_str(), n(0)) : -1;
}

}  // namespace ostrand::testing
