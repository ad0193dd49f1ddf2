#include "tools/airportimport/unique_edges.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace airportimport {

UniqueEdges FoldEdges(const Airport& airport) {
  UniqueEdges result;
  std::set<std::pair<int32_t, int32_t>> directed;
  std::map<std::pair<int32_t, int32_t>, size_t> pairIndex;
  for (size_t i = 0; i < airport.edges.size(); ++i) {
    const Edge& e = airport.edges[i];
    bool repeated = !directed.insert({e.from, e.to}).second;
    if (e.twoWay) repeated = !directed.insert({e.to, e.from}).second || repeated;
    if (repeated) result.duplicates.push_back(i);
    const std::pair<int32_t, int32_t> key{std::min(e.from, e.to), std::max(e.from, e.to)};
    const auto found = pairIndex.find(key);
    if (found == pairIndex.end()) {
      pairIndex.emplace(key, result.edges.size());
      result.edges.push_back(e);
    } else {
      Edge& kept = result.edges[found->second];
      kept.widthFeet = std::max(kept.widthFeet, e.widthFeet);
      kept.twoWay = true;
    }
  }
  return result;
}

}  // namespace airportimport
