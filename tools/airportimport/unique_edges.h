// The edges of an imported network as the scenery text draws them: an edge
// given in both directions (or two-way) is one edge; the same directed edge
// given again is a duplicate. Edges keep the order of their first mention.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/airportimport/airport_model.h"

namespace airportimport {

struct UniqueEdges {
  std::vector<Edge> edges;          // one per node pair, the widest width
  std::vector<size_t> duplicates;   // indices into Airport::edges
};

UniqueEdges FoldEdges(const Airport& airport);

}  // namespace airportimport
