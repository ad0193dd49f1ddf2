// The validation report of an imported airport, in the manner of airport
// editors' validators. Each finding has a kind, a position and a text:
//   unused node      a node that no edge uses
//   duplicate edge   the same directed edge given again
//   short edge       an edge shorter than 1 ft
//   crossing         two taxiway edges that cross without a shared node
//   disconnected     a connected part of the network that reaches no runway
//                    (no node within half the runway's width of its centre
//                    line, nor marked as on a runway)
//   lonely stand     a stand with no taxiway edge within 300 ft
//   self-crossing    an outline whose sides cross each other
#pragma once

#include <string>
#include <vector>

#include "tools/airportimport/airport_model.h"

namespace airportimport {

enum class FindingKind { UnusedNode, DuplicateEdge, ShortEdge, Crossing, Disconnected, LonelyStand, SelfCrossing };

struct Finding {
  FindingKind kind;
  LatLon at;
  std::string text;
};

const char* KindName(FindingKind kind);

std::vector<Finding> CheckAirport(const Airport& airport);

// "N53.630389 E9.988228 (x -120 ft, z 430 ft): text"
std::string FindingLine(const Airport& airport, const Finding& finding);

// One line per kind that was found, e.g. "  3 crossing".
std::string FindingSummary(const std::vector<Finding>& findings);

}  // namespace airportimport
