// Whole-file text input and output for the editor's core.
//
// ReadTextFile loads a file in one piece (the listings and project files are
// read line by line from memory). SaveTextFile writes a file so that a failed
// write never leaves a half-written file behind: the text goes to a temporary
// file in the same folder, which then replaces the target.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace corvane {

// The content of the file, or nothing when it cannot be opened.
std::optional<std::string> ReadTextFile(const std::string& path);

// Writes text as the whole content of path; false when it cannot be created
// or written.
bool SaveTextFile(const std::string& path, const std::string& text);

// How the document writes its files; the windowed program passes its own.
using TextSaver = std::function<bool(const std::string& path, const std::string& text)>;

}  // namespace corvane
