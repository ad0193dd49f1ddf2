// Writing a file that a user may own: the text goes to a new file beside the
// target, is flushed to the disk and renamed over the target only when all
// of it was written; a target that existed keeps its permission bits. On
// failure the target is left as it was and the staged file removed.
#pragma once

#include <string>

namespace airportimport {

// Empty on success, else what went wrong.
std::string WriteStaged(const std::string& target, const std::string& text);

}  // namespace airportimport
