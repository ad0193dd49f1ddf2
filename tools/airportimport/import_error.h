// The error an importer raises when its input cannot be read: the file, the
// place in it (a line number or an element id) and what is wrong.
#pragma once

#include <stdexcept>
#include <string>

namespace airportimport {

class ImportError : public std::runtime_error {
 public:
  ImportError(const std::string& file, const std::string& where, const std::string& what)
      : std::runtime_error(file + (where.empty() ? "" : ":" + where) + ": " + what) {}
};

}  // namespace airportimport
