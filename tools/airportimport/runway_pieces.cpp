#include "tools/airportimport/runway_pieces.h"

#include <cmath>

namespace airportimport {

namespace {

constexpr double kReplaceDistance = 1000.0;

bool Near(Feet a, Feet b) {
  return std::fabs(a.x - b.x) <= kReplaceDistance + 1 && std::fabs(a.z - b.z) <= kReplaceDistance + 1;
}

bool Replaces(const RunwayPiece& later, const RunwayPiece& earlier) {
  return (Near(later.from, earlier.from) && Near(later.to, earlier.to)) ||
         (Near(later.from, earlier.to) && Near(later.to, earlier.from));
}

double Length(Feet a, Feet b) { return std::hypot(b.x - a.x, b.z - a.z); }

Feet Along(Feet a, Feet b, double t) { return {a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t}; }

// End 1 nearer the reference point.
RunwayPiece Oriented(Feet a, Feet b, size_t runway) {
  if (std::hypot(b.x, b.z) < std::hypot(a.x, a.z)) return {b, a, runway};
  return {a, b, runway};
}

}  // namespace

std::vector<RunwayPiece> PlanRunwayPieces(const std::vector<std::pair<Feet, Feet>>& runways,
                                          double shortest) {
  static const std::vector<std::vector<double>> kJoints = {
      {},         {0.5},      {0.4},      {0.6},      {0.3},       {0.7},
      {0.35, 0.7}, {0.3, 0.65}, {0.25, 0.55}, {0.45, 0.75}, {0.2, 0.5}, {0.5, 0.8}};
  std::vector<RunwayPiece> pieces;
  for (size_t r = 0; r < runways.size(); ++r) {
    const Feet a = runways[r].first, b = runways[r].second;
    const double length = Length(a, b);
    if (length < shortest) continue;
    std::vector<RunwayPiece> chosen;
    for (const auto& joints : kJoints) {
      std::vector<RunwayPiece> trial;
      double previous = 0.0;
      bool fits = true;
      for (size_t j = 0; j <= joints.size(); ++j) {
        const double t = j < joints.size() ? joints[j] : 1.0;
        if ((t - previous) * length < shortest) fits = false;
        trial.push_back(Oriented(Along(a, b, previous), Along(a, b, t), r));
        previous = t;
      }
      for (size_t i = 0; fits && i < trial.size(); ++i) {
        for (const RunwayPiece& earlier : pieces) fits = fits && !Replaces(trial[i], earlier);
        for (size_t k = 0; k < i; ++k) fits = fits && !Replaces(trial[i], trial[k]);
      }
      if (fits) {
        chosen = trial;
        break;
      }
      if (chosen.empty() && &joints == &kJoints.front()) chosen = trial;  // fallback: whole
    }
    pieces.insert(pieces.end(), chosen.begin(), chosen.end());
  }
  return pieces;
}

}  // namespace airportimport
