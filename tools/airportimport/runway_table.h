// Runway widths from a runways CSV in the public airport-list form: a
// header line naming the columns (airport_ident, width_ft, le_ident,
// he_ident among others), then one quoted-or-plain comma-separated row per
// runway.
#pragma once

#include <map>
#include <string>

namespace airportimport {

class RunwayTable {
 public:
  // Reads the rows of airport `code`; throws ImportError when the file
  // cannot be read or has no such columns.
  void Load(const std::string& path, const std::string& code);
  // Width in feet of the runway with these two end names (either order),
  // or 0 when the table does not know it.
  double WidthFeet(const std::string& end1, const std::string& end2) const;

 private:
  std::map<std::string, double> widths_;  // "05/23" -> feet
};

}  // namespace airportimport
