// The whole content of an input file, or an ImportError naming the file.
#pragma once

#include <string>

namespace airportimport {

std::string ReadFileText(const std::string& path);

}  // namespace airportimport
