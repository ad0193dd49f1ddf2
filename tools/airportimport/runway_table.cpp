#include "tools/airportimport/runway_table.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "tools/airportimport/import_error.h"

namespace airportimport {

namespace {

std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

int Column(const std::vector<std::string>& header, const char* name) {
  for (size_t i = 0; i < header.size(); ++i)
    if (header[i] == name) return static_cast<int>(i);
  return -1;
}

}  // namespace

void RunwayTable::Load(const std::string& path, const std::string& code) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ImportError(path, "", "cannot be opened");
  std::string line;
  std::getline(in, line);
  const auto header = CsvFields(line);
  const int airport = Column(header, "airport_ident"), width = Column(header, "width_ft");
  const int le = Column(header, "le_ident"), he = Column(header, "he_ident");
  if (airport < 0 || width < 0 || le < 0 || he < 0)
    throw ImportError(path, "1", "no airport_ident, width_ft, le_ident and he_ident columns");
  while (std::getline(in, line)) {
    const auto f = CsvFields(line);
    const size_t need = static_cast<size_t>(std::max(std::max(airport, width), std::max(le, he)));
    if (f.size() <= need || f[static_cast<size_t>(airport)] != code) continue;
    const double feet = std::atof(f[static_cast<size_t>(width)].c_str());
    if (feet <= 0 || feet > 1000) continue;
    widths_[f[static_cast<size_t>(le)] + "/" + f[static_cast<size_t>(he)]] = feet;
  }
}

double RunwayTable::WidthFeet(const std::string& end1, const std::string& end2) const {
  for (const std::string& key : {end1 + "/" + end2, end2 + "/" + end1}) {
    const auto found = widths_.find(key);
    if (found != widths_.end()) return found->second;
  }
  return 0.0;
}

}  // namespace airportimport
