// What the tests of the text module share (header-only, test programs only):
// the reader of table files, which the import tests use as well.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "ostrand/frame/test_support.h"

namespace ostrand::testing {

// The rows of a table file (its path from the source folder): one row a
// line, its fields separated by '|' and trimmed of blanks; blank lines and
// lines starting with '#' are skipped.
inline std::vector<std::vector<std::string>> TableRows(const std::string& path) {
  std::istringstream in(ReadFileBytes(OSTRAND_SOURCE_DIR "/" + path));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.find_first_not_of(' ') == std::string::npos || line[0] == '#') continue;
    rows.emplace_back();
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '|');) {
      const size_t first = field.find_first_not_of(' ');
      rows.back().push_back(first == std::string::npos ? "" : field.substr(first, field.find_last_not_of(' ') + 1 - first));
    }
    if (line.back() == '|') rows.back().push_back("");
  }
  return rows;
}

}  // namespace ostrand::testing
