// The whole chain from an airport source to a surface file, as a user runs
// it: airportimport, airportdb, "ostrand -te", "ostrand -tm", each as its own
// process in one folder; then the saved network and the pavement of the
// surface file read back from ostrand's listings. The acceptance test and
// the benchmark run it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/airportimport/local_frame.h"

namespace airportimport {

struct ChainPrograms {
  std::string airportimport;
  std::string airportdb;
  std::string ostrandDir;  // ostrand is run by its bare name, so its run log stays in the folder
};

struct ChainResult {
  std::string failure;  // empty when every step succeeded
  std::string fileCode;  // the code that names DATA/<code>.BGR (a leading K dropped)
  std::string output;    // what the steps printed
  bool tableFull = false;
  std::vector<Feet> vertices;
  std::vector<std::pair<int, int>> edges;
  std::vector<std::vector<Feet>> pavement;  // polygons of the surface file, feet
};

// Runs the chain in `folder` (created, and emptied first) on the import
// arguments; `code` is the airport's code. With `readBack` false only the
// programs are run.
ChainResult RunChain(const ChainPrograms& programs, const std::string& folder,
                     const std::vector<std::string>& importArgs, const std::string& code,
                     bool readBack = true);

// Whether a point lies inside (or within `slack` feet of) a polygon.
bool Covers(const std::vector<Feet>& polygon, Feet p, double slack);

}  // namespace airportimport
