#include "tools/airportimport/file_text.h"

#include <cstdio>

#include "tools/airportimport/import_error.h"

namespace airportimport {

std::string ReadFileText(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) throw ImportError(path, "", "cannot be opened");
  std::string text;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw ImportError(path, "", "cannot be read");
  return text;
}

}  // namespace airportimport
